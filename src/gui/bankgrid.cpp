#include "gui/bankgrid.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "gui/prompter.h"

namespace vex::gui {

namespace {

bool IsFlagField(int field) {
    return field == kGridTrunk || field == kGridDelay || field == kGridLockout;
}

// Text the user could have typed into a cell of `field` (before Enter).
bool Typable(int field, const std::string& text) {
    if (field == kGridFrequency) {
        for (char c : text)
            if (c != ' ' && !AcceptsFrequencyChar(c)) return false;
        return true;
    }
    if (field == kGridTag) {
        for (char c : text)
            if (!AcceptsTagChar(c, 1)) return false;
        return true;
    }
    return text.empty() || text == "On" || text == "Off";
}

QList<int> Pack(const Selection& s) {
    return {s.firstRow, s.lastRow, s.firstField, s.lastField, s.currentRow, s.currentField};
}

Selection Unpack(const QList<int>& v) {
    Selection s;
    if (v.size() != 6) return s;
    s.firstRow = v[0];
    s.lastRow = v[1];
    s.firstField = v[2];
    s.lastField = v[3];
    s.currentRow = v[4];
    s.currentField = v[5];
    return s;
}

}  // namespace

// --- Model ----------------------------------------------------------------------------------

BankGridModel::BankGridModel(TableEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), d_editor(editor) {}

int BankGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ChannelsPerBank;
}

int BankGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant BankGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !checkIndex(index)) return {};
    const int field = fieldOf(index.column());
    if (field == 0) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return L1(d_editor.grid().cell(index.row() + 1, field));
    if (role == Qt::TextAlignmentRole) return static_cast<int>(d_alignment);
    return {};
}

QVariant BankGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= kGridColumns) return {};
        return L1(kColumnCaptions[section + 1]);
    }
    if (section < 0 || section >= ChannelsPerBank) return {};
    return d_editor.currentBank() * ChannelsPerBank + section + 1;
}

Qt::ItemFlags BankGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !checkIndex(index)) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    // Flag cells change by keys and double clicks, not through the edit box.
    const int field = fieldOf(index.column());
    if (field == kGridFrequency || field == kGridTag) f |= Qt::ItemIsEditable;
    return f;
}

bool BankGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index)) return false;
    const int field = fieldOf(index.column());
    const QString text = value.toString();
    if (QString::fromLatin1(text.toLatin1()) != text) return false;  // outside Latin-1
    const std::string typed = ToL1(text);
    if (field == 0 || !Typable(field, typed)) return false;
    const Selection cell = Selection::cell(index.row() + 1, field);
    if (IsFlagField(field) && d_editor.grid().cell(cell.currentRow, field) == typed) return true;
    enterTyped(cell, text);
    return true;
}

void BankGridModel::enterTyped(const Selection& selection, const QString& typed) {
    // Each entry is an undo step of its own.
    const std::string note = d_editor.enterText(selection, ToL1(typed));
    refresh();
    emit edited();
    if (!note.empty()) emit noted(L1(note));
}

int BankGridModel::fieldOf(int column) const {
    if (column < 0 || column >= kGridColumns) return 0;
    return FieldIdForCaption(kColumnCaptions[column + 1]);
}

void BankGridModel::refresh() {
    emit dataChanged(index(0, 0), index(ChannelsPerBank - 1, kGridColumns - 1),
                     {Qt::DisplayRole, Qt::EditRole});
    emit headerDataChanged(Qt::Vertical, 0, ChannelsPerBank - 1);
}

void BankGridModel::setAlignment(int align) {
    const Qt::Alignment h = align == 1   ? Qt::AlignHCenter
                            : align == 2 ? Qt::AlignRight
                                         : Qt::AlignLeft;
    d_alignment = h | Qt::AlignVCenter;
    emit dataChanged(index(0, 0), index(ChannelsPerBank - 1, kGridColumns - 1),
                     {Qt::TextAlignmentRole});
}

// --- Delegate -------------------------------------------------------------------------------

BankGridDelegate::BankGridDelegate(BankGridView* view) : QStyledItemDelegate(view), d_view(view) {}

QWidget* BankGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setFrame(false);
    const int field = d_view->gridModel() ? d_view->gridModel()->fieldOf(index.column()) : 0;
    edit->setProperty("vexField", field);
    // The value goes to the cells selected when typing began, whatever is clicked afterwards.
    Selection s = d_view->selection();
    s.currentRow = index.row() + 1;
    s.currentField = field;
    edit->setProperty("vexSelection", QVariant::fromValue(Pack(s)));
    edit->installEventFilter(const_cast<BankGridDelegate*>(this));
    d_view->d_openEditor = edit;
    return edit;
}

void BankGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    if (d_view->d_hasPendingText) {
        edit->setText(d_view->d_pendingText);
        d_view->d_hasPendingText = false;
        return;
    }
    edit->setText(index.data(Qt::EditRole).toString());
}

void BankGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    auto* grid = qobject_cast<BankGridModel*>(model);
    if (!grid) {
        model->setData(index, edit->text());
        return;
    }
    const Selection s = Unpack(edit->property("vexSelection").value<QList<int>>());
    // Text from outside Latin-1 cannot be stored; such characters become "?".
    grid->enterTyped(s, QString::fromLatin1(edit->text().toLatin1()));
}

bool BankGridDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(object);
    if (edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit commitData(edit);
            emit closeEditor(edit, QAbstractItemDelegate::NoHint);
            emit enterPressed();
            return true;
        }
        const QString text = key->text();
        const bool printable = text.size() == 1 && text[0].unicode() >= 32 &&
                               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (printable) {
            const int field = edit->property("vexField").toInt();
            const QChar ch = text[0];
            const char c = ch.unicode() < 256 ? static_cast<char>(ch.unicode()) : '\x01';
            const std::size_t after =
                static_cast<std::size_t>(edit->text().size() - edit->selectedText().size() + 1);
            const bool ok = field == kGridFrequency ? AcceptsFrequencyChar(c)
                            : field == kGridTag     ? AcceptsTagChar(c, after)
                                                    : true;
            if (!ok) return true;  // swallowed, as the column refuses it
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

// --- View -----------------------------------------------------------------------------------

BankGridView::BankGridView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new BankGridDelegate(this));
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(true);
    // The grid widens with the window; the other columns keep their widths.
    horizontalHeader()->setStretchLastSection(true);
    connect(static_cast<BankGridDelegate*>(itemDelegate()), &BankGridDelegate::enterPressed, this,
            &BankGridView::moveToNextRow);
}

void BankGridView::setGridModel(BankGridModel* model) {
    d_model = model;
    setModel(model);
}

Selection BankGridView::selection() const {
    Selection s;
    const QModelIndex current = currentIndex();
    const int curRow = current.isValid() ? current.row() + 1 : 1;
    const int curField = current.isValid() && d_model ? d_model->fieldOf(current.column()) : 1;
    const QModelIndexList indexes =
        selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList{};
    if (indexes.isEmpty()) {
        s = Selection::cell(curRow, curField);
        return s;
    }
    int r0 = ChannelsPerBank, r1 = 1, f0 = kGridColumns, f1 = 1;
    for (const QModelIndex& i : indexes) {
        const int field = d_model ? d_model->fieldOf(i.column()) : i.column() + 1;
        r0 = std::min(r0, i.row() + 1);
        r1 = std::max(r1, i.row() + 1);
        f0 = std::min(f0, field);
        f1 = std::max(f1, field);
    }
    s.firstRow = r0;
    s.lastRow = r1;
    s.firstField = f0;
    s.lastField = f1;
    s.currentRow = curRow;
    s.currentField = curField;
    return s;
}

void BankGridView::selectBlock(const Selection& selection) {
    if (!d_model) return;
    const Selection s = selection.normalised();
    const QModelIndex current =
        d_model->index(s.currentRow - 1, BankGridModel::columnOf(s.currentField));
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    const QItemSelection block(
        d_model->index(s.firstRow - 1, BankGridModel::columnOf(s.firstField)),
        d_model->index(s.lastRow - 1, BankGridModel::columnOf(s.lastField)));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    scrollTo(current);
}

void BankGridView::editCurrentWith(const QString& text) {
    d_pendingText = text;
    d_hasPendingText = true;
    if (!edit(currentIndex(), QAbstractItemView::EditKeyPressed, nullptr)) d_hasPendingText = false;
}

void BankGridView::commitEdit() {
    if (state() != QAbstractItemView::EditingState || !d_openEditor) return;
    QWidget* edit = d_openEditor;
    QAbstractItemDelegate* delegate = itemDelegate();
    emit delegate->commitData(edit);
    emit delegate->closeEditor(edit, QAbstractItemDelegate::NoHint);
}

QModelIndex BankGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    if (d_model && current.isValid() && (modifiers & Qt::ControlModifier) &&
        (action == MoveDown || action == MoveUp)) {
        return d_model->index(action == MoveDown ? ChannelsPerBank - 1 : 0, current.column());
    }
    return QTableView::moveCursor(action, modifiers);
}

QItemSelectionModel::SelectionFlags BankGridView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const {
    if (event && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
        const bool navigation = key->key() == Qt::Key_Down || key->key() == Qt::Key_Up ||
                                key->key() == Qt::Key_End || key->key() == Qt::Key_Home ||
                                key->key() == Qt::Key_Left || key->key() == Qt::Key_Right;
        // The item views take Ctrl as "move without selecting"; here it only moves further.
        if (navigation && (key->modifiers() & both) == both)
            return QItemSelectionModel::SelectCurrent;
    }
    return QTableView::selectionCommand(index, event);
}

void BankGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == d_openEditor) d_openEditor = nullptr;
    QTableView::closeEditor(editor, hint);
}

void BankGridView::moveToNextRow() {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() + 1 >= model()->rowCount()) return;
    setCurrentIndex(model()->index(current.row() + 1, current.column()));
}

void BankGridView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const int field = d_model && current.isValid() ? d_model->fieldOf(current.column()) : 0;
    if (state() != QAbstractItemView::EditingState && field != 0 &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (IsFlagField(field)) {
            const QString text = event->text().toUpper();
            if (text == "0" || text == "1" || text == "F" || text == "N" || text == " ") {
                emit flagKey(text[0].toLatin1());
                return;
            }
            if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
                moveToNextRow();
                return;
            }
        } else {
            if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
                // Without an open edit box Enter only goes on to the next channel: entering
                // the shown frequency again would put the default flags over the channel's.
                moveToNextRow();
                return;
            }
            if (event->key() == Qt::Key_Backspace) {
                QString text = current.data().toString();
                text.chop(1);
                editCurrentWith(text);
                return;
            }
        }
    }
    QTableView::keyPressEvent(event);
}

void BankGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && d_model && IsFlagField(d_model->fieldOf(index.column()))) {
        emit flagDoubleClicked(index.row() + 1, d_model->fieldOf(index.column()));
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void BankGridView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && d_model && event->button() == Qt::LeftButton)
        emit cellClicked(d_model->fieldOf(index.column()));
}

void BankGridView::contextMenuEvent(QContextMenuEvent* event) {
    emit contextMenuWanted(event->globalPos());
}

}  // namespace vex::gui
