// The trunk ID window `trtags` ("Trunk Id's:"): the talk-group IDs and tags of the five banks.
// It edits a working copy of the ID table and writes it back on "Ok"; "Cancel" drops it.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "core/image.h"
#include "gui/dialog_runner.h"
#include "trunk/trunk_idtable.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;
class QTableWidget;

namespace vex::gui {

class Prompter;

class TrTags : public QDialog {
    Q_OBJECT
  public:
    // Questions go through `prompter`.
    TrTags(Image& image, Prompter& prompter, QWidget* parent = nullptr);

    // The Memory Manager in bank mode with "Trunk id's" ticked; its button is shown once set.
    void setBankManager(std::function<void()> open);
    // The ID, list-tag and replace dialogs run through `runner` (a test's own, or the caller's).
    void setDialogRunner(DialogRunner& runner) { d_dialogs = &runner; }

    int currentBank() const { return d_bank; }
    const TrunkIdWorkingCopy& workingCopy() const { return d_copy; }
    QAction* action(const char* name) const;

    void selectBank(int bank);
    void enterId();
    void enterTag();
    void copyMoveSwapIds();
    void editScanListTags();
    void copyMoveSwapBanks();
    void replaceTagText();

  public slots:
    // Closing by Escape or the close box asks before edits are dropped; "Cancel" does not.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildWindow();
    QAction* makeAction(const QString& text, const QString& tip, const char* name,
                        std::function<void()> run, const QKeySequence& key = {});
    void showBank();
    void showRow(int row);
    void updateHeading();
    void updateActions();
    int bankType() const;
    int singleSelectedRow() const;
    TrunkIdCellRange selectedRange() const;
    TrunkIdBankRows& rows() { return d_copy[d_bank]; }
    // Every change to the rows goes through here so that it can be undone.
    void change(const std::function<void(TrunkIdBankRows&)>& edit);
    void undo();
    void sort(TrunkSortKey key, bool ascending);
    void rowCommand(bool (*command)(TrunkIdBankRows&, int), int moveSelectionBy);
    void cut();
    void copy();
    void paste();
    void deleteCells();
    // Stores the typed ID into the current row and says what the rules made of it.
    void storeId();
    void storeTag();
    // Text typed into an entry field and left without Enter (Tab, a click elsewhere, Ok).
    void storePendingEntries();
    // Writes the working copy back when it differs from the table: a window that changed
    // nothing changes nothing.
    void writeBack();
    void reload();

    Image& d_image;
    Prompter& d_prompter;
    DialogRunner d_ownDialogs;
    DialogRunner* d_dialogs = &d_ownDialogs;
    TrunkIdWorkingCopy d_copy;
    TrunkIdUndo d_undo;
    int d_bank = 0;
    // Banks edited since the copy was loaded: only these are normalised when left.
    std::array<bool, kTrunkIdBanks> d_edited{};
    bool d_cancelled = false;
    std::function<void()> d_openBankManager;

    QTabBar* d_tabs = nullptr;
    QLabel* d_heading = nullptr;
    QLabel* d_hint = nullptr;
    QTableWidget* d_grid = nullptr;
    QLineEdit* d_idEntry = nullptr;
    QLineEdit* d_tagEntry = nullptr;
    QLabel* d_status = nullptr;
    QPushButton* d_bankManager = nullptr;
    QMenu* d_context = nullptr;
};

}  // namespace vex::gui
