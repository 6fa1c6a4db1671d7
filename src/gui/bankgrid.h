// The grid of the main window: a table model over the editor's working copy of one bank, and
// the view that turns the grid's keys (flag keys, Enter, Backspace) into editor calls.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

#include "mainwin/editor.h"

namespace vex::gui {

// Rows 0..49 are slots 1..50; columns 0..4 are the field ids 1..5. The vertical header shows
// the absolute channel number, the grid's fixed first column.
class BankGridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit BankGridModel(TableEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // One cell, as if typed and entered. Returns false, changing nothing, for text the editor
    // would not have let the user type (a double quote in a tag, letters in a frequency, a
    // flag cell that is neither On, Off nor blank).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Enter pressed with `typed` over `selection`: written into every selected cell of the
    // current cell's column by the editor's entry rules.
    void enterTyped(const Selection& selection, const QString& typed);

    // The field id (1..5) of a column, found from its header caption.
    int fieldOf(int column) const;
    static int columnOf(int field) { return field - 1; }

    // The editor's grid changed as a whole (bank switch, command, undo).
    void refresh();
    // Alignment of the cells, by the `align` setting: 0 left, 1 centre, 2 right.
    void setAlignment(int align);

  signals:
    // Something the user typed changed the grid.
    void edited();
    // The entry rules stored something else than was typed; `text` says what.
    void noted(const QString& text);

  private:
    TableEditor& d_editor;
    Qt::Alignment d_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class BankGridView;

// The cell edit box: a line edit that refuses, key by key, what the column does not accept.
class BankGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit BankGridDelegate(BankGridView* view);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    bool eventFilter(QObject* object, QEvent* event) override;

  signals:
    void enterPressed();

  private:
    BankGridView* d_view;
};

class BankGridView : public QTableView {
    Q_OBJECT
  public:
    explicit BankGridView(QWidget* parent = nullptr);
    void setGridModel(BankGridModel* model);
    BankGridModel* gridModel() const { return d_model; }

    // The selected block (its bounding rectangle) with the current cell, in grid terms.
    Selection selection() const;
    void selectBlock(const Selection& selection);
    // Opens the edit box on the current cell with `text` in it.
    void editCurrentWith(const QString& text);
    // Takes what is in an open edit box as if Enter had been pressed (before a command, a
    // bank switch or closing), so that typed text is never dropped.
    void commitEdit();

  signals:
    // A flag key (0, 1, F, N or space, upper case) pressed over a flag cell.
    void flagKey(char key);
    void flagDoubleClicked(int row, int field);
    void cellClicked(int field);
    void contextMenuWanted(const QPoint& globalPos);

  protected:
    // Ctrl+Down / Ctrl+Up go to the last / first channel; with Shift, Ctrl and the arrow, End
    // or Home keys extend the selection as they do in spreadsheets.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void moveToNextRow();

    BankGridModel* d_model = nullptr;
    QString d_pendingText;  // the text an edit box opened by editCurrentWith starts with
    bool d_hasPendingText = false;
    QPointer<QWidget> d_openEditor;  // the edit box now open, if any
    friend class BankGridDelegate;
};

}  // namespace vex::gui
