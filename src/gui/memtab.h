// The main window `memtab`: one bank at a time in the grid, the bank tabs, the file name box,
// menus, toolbars, help bar and status bar. It holds no rules of its own: the editor
// (TableEditor) does every change, the MEM file and settings code does every file.
//
// Adding a window's menu entry: one addCommand(...) line in memtab_menus.cpp, in the menu it
// belongs to (menu(Menu::Trunk) etc.). A menu without entries stays hidden.
#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "core/memfile.h"
#include "gui/bankgrid.h"
#include "gui/dialog_runner.h"
#include "gui/prompter.h"
#include "link/transport.h"
#include "mainwin/editor.h"
#include "mainwin/startup.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QTabBar;
class QTimer;
class QToolBar;

namespace vex::gui {

class VexComm;
class UserGuide;

class MemTab : public QMainWindow {
    Q_OBJECT
  public:
    enum class Menu { File, Import, Edit, View, Options, Bct8, Trunk, Internet, Setup, Help };

    // `prompter` answers every question and picks every file; it must outlive the window.
    MemTab(AppState& state, Prompter& prompter, QWidget* parent = nullptr);
    ~MemTab() override;

    // --- What the rest of the program reaches ---
    AppState& state() { return d_state; }
    TableEditor& editor() { return d_editor; }
    BankGridView* grid() const { return d_grid; }
    QMenu* menu(Menu which) const;
    QToolBar* toolbar(int which) const { return which == 1 ? d_toolbar1 : d_toolbar2; }
    QString fileName() const { return d_fileName; }
    void setFileName(const QString& name);
    // StoreGrid / ShowBank, for windows that read or change the table while this one is open.
    bool storeGrid();
    void showBank();
    // Another window's change to the image as one step: the grid is stored, `change` runs on the
    // image and returns whether it changed anything, then grid, captions and status follow.
    // Returns false when the grid could not be stored (nothing changed).
    bool applyImageChange(const QString& stepName, const std::function<bool(Image&)>& change);
    // Refreshes tab captions and View menu entries after bank tags changed.
    void updateBankCaptions();
    // Shows the bank and selects the channel's row (a find's hit).
    void goToChannel(int bank, int slot);
    // Applies the options again after they changed (alignment, fonts, toolbars, shortcuts).
    void applyOptions();

    // Questions for the table commands go through the prompter.
    Asker asker();
    Prompter& prompter() { return d_prompter; }
    // Runs every child window the menus open; `runner` must outlive the window.
    DialogRunner& dialogs() { return *d_dialogs; }
    void setDialogRunner(DialogRunner& runner) { d_dialogs = &runner; }

    // Adds a command: a menu entry (named `name`, the handler's name) that also runs from the
    // toolbars, the popup menu and its shortcut. The menu is shown once it has an entry.
    QAction* addCommand(QMenu* menu, const QString& caption, const char* name,
                        std::function<void()> run, const QKeySequence& key = {});

    // --- Commands (also run by menus, toolbars and keys) ---
    void selectBank(int bank);
    void fileNew();
    void fileOpen();
    void fileOpenSibling();
    bool fileSave();  // false when nothing was written (cancelled or failed)
    bool fileSaveAs();
    // Reads a MEM file into the image without asking first; false on failure (reported).
    bool openMemFile(const QString& path);
    // The start-up reload of lastfile.ini (the 200 ms one-shot timer runs this).
    void reloadLastFile();
    // Starts that timer when `loadlast` is 1.
    void scheduleStartupReload();
    // Tells, once, which settings or state files could not be used at start-up.
    void tellStartupNotes();
    // One tick of the minute timer of the automatic backup.
    void backupTick();

    // What a read left in the image: nothing new, the scanner's memory as read, or a part of
    // it mixed with what was there (a merge, a single step, a read kept half way).
    enum class ReadOutcome { Nothing, Whole, Part };
    // "Read Data From Scanner" around the communication window: refused while Virtual Control
    // runs; asks to save unsaved data; `readWindow` runs the window modally and says what the
    // read left. After a read the table is "Untitled"; it is unmodified only after a whole read,
    // as a mix is found neither in the scanner nor in a file.
    void readFromScanner(const std::function<ReadOutcome()>& readWindow);
    // The same, `readWindow` returning true when a whole read replaced the image.
    void readFromScanner(const std::function<bool()>& readWindow);
    // "Send Data To Scanner": refused while Virtual Control runs; the table is stored first.
    void sendToScanner(const std::function<void()>& sendWindow);

    // "Direct Tune": while on, selecting a row of a scanner bank tunes the scanner to that
    // channel. Turning it on opens the configured serial port; false (and told why) when it
    // cannot be opened.
    bool setDirectTune(bool on);
    bool directTune() const { return d_tuneLine != nullptr; }

    // Hooks for the parts of the program that live elsewhere.
    std::function<bool()> virtualControlRunning = [] { return false; };
    // Makes the serial line Direct Tune talks over (the real port unless a test says otherwise).
    std::function<std::unique_ptr<Transport>(const ComSettings&)> makeTransport;
    std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };

    // The width the grid columns get by default (from the sample texts), in pixels.
    int defaultColumnWidth(int field) const;

  signals:
    // The window has closed for good (questions answered, state files written): the program
    // ends, whatever other windows are still open.
    void ended();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // A MEM file dropped on the window is opened like File Open.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildWindow();
    void buildMenus();     // memtab_menus.cpp
    void buildToolbars();  // memtab_menus.cpp
    void applyIcons();     // memtab_icons.cpp: after the menus, before the toolbars
    void buildPopup();     // memtab_menus.cpp

    // Window parts.
    void updateTitle();
    void updateBankLabels();
    void updateStatus();
    void updateHelpBar(int field);
    void refreshGrid();
    void refillTagLists();
    void setGridFont();
    void applyColumnWidths();

    // Command plumbing (memtab_cmds.cpp).
    void run(const CommandResult& result, const char* title = nullptr);
    void putOnClipboard(const std::string& text);
    std::string clipboardText() const;
    void cmdUndo();  // memtab_undo.cpp
    void cmdRedo();
    void updateUndoActions();
    void cmdCut();
    void cmdCopy();
    void cmdPaste();
    void cmdDelete();
    void cmdCutLines();
    void cmdCopyLines();
    void cmdPasteLines();
    void cmdShift(ShiftDirection direction);
    void cmdSelectAll();
    void cmdClearBank();
    void cmdClearLines();
    void cmdInsertLine();
    void cmdRemoveEmptyLines();
    void cmdRemoveLines();
    void cmdFillDown();
    void cmdFillSeries();
    void cmdEmptyStatus();
    void cmdDuplicates(DuplicateScope scope);
    void cmdRemoveDuplicates();
    void cmdSort(SortOrder order);
    void cmdCheckData();
    void cmdCheckBandplan(DuplicateScope scope);
    void cmdCenterTags();
    void cmdRemoveLeadingSpaces();
    void cmdReadData();
    void cmdSendData();
    void cmdComSetup();
    void cmdSoftwareOptions();
    void cmdDefaultData();
    void cmdKeyboardShortcuts();
    void cmdAbout();
    void cmdOpenProgramFile(const QString& relative, const QString& what);
    void cmdUserGuide();
    void onFlagKey(char key);
    void onFlagDoubleClicked(int row, int field);
    void onEasyTagPicked(const QString& tag);
    void tuneToCurrentRow();

    // File plumbing (memtab_files.cpp).
    bool askBeforeLoss();  // false: the command stops
    bool queryUnload();    // the exit questions and lastused.sav; false keeps the window
    void formUnload();     // the state files
    std::filesystem::path chooseSavePath();
    bool writeMem(const std::filesystem::path& path);
    // Reads a MEM file with `read` into a copy of the image, which replaces the image when the
    // file was read whole, or, for a damaged file, when the user takes the part before the damage.
    using MemReader = MemReadResult (*)(Image&, const std::filesystem::path&, const ImageOptions&,
                                        const ProgressFn&);
    bool loadImage(const QString& path, MemReader read);

    AppState& d_state;
    Prompter& d_prompter;
    DialogRunner d_defaultDialogs;
    DialogRunner* d_dialogs = &d_defaultDialogs;
    TableEditor d_editor;
    QString d_fileName;
    bool d_closing = false;  // the exit questions were answered; close for good

    // Files the exit step (lastused.sav, lastfile.ini) could not write, told when the window ends.
    FileNotes d_exitProblems;
    bool d_columnsSized = false;

    BankGridModel* d_model = nullptr;
    BankGridView* d_grid = nullptr;
    QTabBar* d_tabs = nullptr;
    QLineEdit* d_fileBox = nullptr;
    QLabel* d_bankCaption = nullptr;
    QLabel* d_dummyNotice = nullptr;
    QLabel* d_helpBar = nullptr;
    QLabel* d_statusChannel = nullptr;
    QLabel* d_statusBank = nullptr;
    QLabel* d_statusModified = nullptr;
    QProgressBar* d_progress = nullptr;
    QWidget* d_tagRow = nullptr;
    QComboBox* d_allTags = nullptr;   // textcombo
    QComboBox* d_bankTags = nullptr;  // bankcombo
    QToolBar* d_toolbar1 = nullptr;
    QToolBar* d_toolbar2 = nullptr;
    QMenu* d_popup = nullptr;
    std::array<QMenu*, 10> d_menus{};
    std::array<QAction*, kBankCount> d_bankActions{};
    QAction* d_toolbarToggle = nullptr;
    QAction* d_helpBarToggle = nullptr;
    QAction* d_undoAction = nullptr;
    QAction* d_redoAction = nullptr;
    QAction* d_shiftUp = nullptr;
    QAction* d_shiftDown = nullptr;
    QTimer* d_backupTimer = nullptr;
    QAction* d_directTuneAction = nullptr;
    std::unique_ptr<Transport> d_tuneLine;  // open while Direct Tune is on
    int d_tunedChannel = 0;
    std::string d_clipboardRaw;    // what the last copy produced, with its own line ends
    QString d_clipboardPublished;  // the same as put on the system clipboard
    QPointer<UserGuide> d_userGuide;
};

}  // namespace vex::gui
