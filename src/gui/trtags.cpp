#include "gui/trtags.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/editrunk.h"
#include "gui/icons.h"
#include "gui/listtags.h"
#include "gui/prompter.h"
#include "gui/trunkwidgets.h"
#include "gui/vervangtrunk.h"
#include "trunk/trunk_id.h"
#include "trunk/trunk_types.h"
#include "trunk/trunk_window_flag.h"

namespace vex::gui {

TrTags::TrTags(Image& image, Prompter& prompter, QWidget* parent)
    : QDialog(parent), d_image(image), d_prompter(prompter), d_copy(LoadTrunkIdCopy(image)) {
    setObjectName("trtags");
    setWindowTitle(tr("Trunk Id's:"));
    buildWindow();
    showBank();
    updateHeading();
    updateActions();
    d_grid->setCurrentCell(0, 0);
}

QAction* TrTags::makeAction(const QString& text, const QString& tip, const char* name,
                            std::function<void()> run, const QKeySequence& key) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        // Shortcuts act on the grid only, so the entry fields keep their own editing keys.
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        d_grid->addAction(action);
    }
    if (!tip.isEmpty()) setShortcutToolTip(action, action, tip);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

QAction* TrTags::action(const char* name) const {
    return findChild<QAction*>(QString::fromLatin1(name));
}

void TrTags::buildWindow() {
    auto* layout = new QVBoxLayout(this);

    d_grid = new QTableWidget(kTrunkIdUsedRows, kTrunkIdGridColumns);
    d_grid->setObjectName("grid");
    d_grid->setHorizontalHeaderLabels({tr("ID"), tr("Tag")});
    QStringList labels;
    for (int r = 0; r < kTrunkIdUsedRows; ++r) labels << L1(TrunkRowLabel(r));
    d_grid->setVerticalHeaderLabels(labels);
    d_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Centred tags only line up in a fixed-width font.
    d_grid->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    d_grid->horizontalHeader()->setStretchLastSection(true);
    d_grid->setColumnWidth(0,
                           d_grid->fontMetrics().horizontalAdvance(QStringLiteral(" 0000000000 ")));
    // Every other list of ten rows is shaded so the lists stand apart.
    const QBrush shade = d_grid->palette().alternateBase();
    for (int r = 0; r < kTrunkIdUsedRows; ++r) {
        for (int c = 0; c < kTrunkIdGridColumns; ++c) {
            auto* item = new QTableWidgetItem;
            if ((r / 10) % 2 == 1) item->setBackground(shade);
            d_grid->setItem(r, c, item);
        }
    }
    d_grid->setContextMenuPolicy(Qt::CustomContextMenu);

    // Toolbar and menus.
    // Two rows of tools: sorting and tags above, rows and clipboard below.
    auto* toolbar = new QToolBar;
    toolbar->setObjectName("toolbar");
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* rowTools = new QToolBar;
    rowTools->setObjectName("rowToolbar");
    rowTools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* undoAction = makeAction(
        tr("Undo"), tr("Undo last Sort Operation"), "undoSort", [this] { undo(); },
        QKeySequence::Undo);
    toolbar->addAction(undoAction);
    toolbar->addSeparator();
    toolbar->addAction(makeAction(tr("ID \u25B2"), tr("Sort Trunk Id's"), "sortIdsUp",
                                  [this] { sort(TrunkSortKey::Id, true); }));
    toolbar->addAction(makeAction(tr("ID \u25BC"), tr("Sort Trunk Id's"), "sortIdsDown",
                                  [this] { sort(TrunkSortKey::Id, false); }));
    toolbar->addAction(makeAction(tr("Tag \u25B2"), tr("Sort Trunk Tags"), "sortTagsUp",
                                  [this] { sort(TrunkSortKey::Tag, true); }));
    toolbar->addAction(makeAction(tr("Tag \u25BC"), tr("Sort Trunk Tags"), "sortTagsDown",
                                  [this] { sort(TrunkSortKey::Tag, false); }));
    toolbar->addSeparator();
    toolbar->addAction(makeAction(
        tr("Replace"), tr("Find and Replace Tag Text"), "replaceTags", [this] { replaceTagText(); },
        QKeySequence::Replace));
    rowTools->addAction(makeAction(tr("Remove"), tr("Remove single id"), "removeId",
                                   [this] { rowCommand(&RemoveTrunkIdRow, 0); }));
    rowTools->addAction(makeAction(
        tr("Insert"), tr("Insert single id"), "insertId",
        [this] { rowCommand(&InsertTrunkIdRow, 0); }, QKeySequence(Qt::Key_Insert)));
    rowTools->addAction(makeAction(tr("Clear"), tr("delete selected area"), "deleteArea",
                                   [this] { deleteCells(); }));
    rowTools->addAction(makeAction(tr("Cut"), tr("Cut"), "cutTool", [this] { cut(); }));
    rowTools->addAction(makeAction(tr("Copy"), tr("Copy"), "copyTool", [this] { copy(); }));
    rowTools->addAction(makeAction(tr("Paste"), tr("Paste"), "pasteTool", [this] { paste(); }));
    rowTools->addSeparator();
    rowTools->addAction(makeAction(
        tr("Up"), tr("Move single line up"), "moveUp",
        [this] { rowCommand(&MoveTrunkIdRowUp, -1); }, QKeySequence(Qt::CTRL | Qt::Key_Up)));
    rowTools->addAction(makeAction(
        tr("Down"), tr("Move single line down"), "moveDown",
        [this] { rowCommand(&MoveTrunkIdRowDown, 1); }, QKeySequence(Qt::CTRL | Qt::Key_Down)));
    toolbar->addAction(makeAction(tr("Left"), tr("Align Left"), "alignLeft",
                                  [this] { change(&AlignTrunkTagsLeft); }));
    toolbar->addAction(makeAction(tr("Center"), tr("Center Tags"), "centerTags",
                                  [this] { change(&CenterTrunkTags); }));

    auto* menuBar = new QMenuBar;
    QMenu* edit = menuBar->addMenu(tr("Edit"));
    edit->setObjectName("menuEdit");
    QAction* cutAction = makeAction(
        tr("Cut"), {}, "cut", [this] { cut(); }, QKeySequence::Cut);
    QAction* copyAction = makeAction(
        tr("Copy"), {}, "copy", [this] { copy(); }, QKeySequence::Copy);
    QAction* pasteAction = makeAction(
        tr("Paste"), {}, "paste", [this] { paste(); }, QKeySequence::Paste);
    QAction* deleteAction = makeAction(
        tr("Delete"), {}, "delete", [this] { deleteCells(); }, QKeySequence::Delete);
    cutAction->setIcon(themedIcon(QStringLiteral("edit-cut")));
    copyAction->setIcon(themedIcon(QStringLiteral("edit-copy")));
    pasteAction->setIcon(themedIcon(QStringLiteral("edit-paste")));
    deleteAction->setIcon(themedIcon(QStringLiteral("edit-delete")));
    edit->addActions({cutAction, copyAction, pasteAction, deleteAction});
    layout->setMenuBar(menuBar);

    d_context = new QMenu(this);
    d_context->setObjectName("contextMenu");
    d_context->addActions({copyAction, pasteAction});
    connect(d_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { d_context->popup(d_grid->viewport()->mapToGlobal(at)); });

    d_tabs = new QTabBar;
    d_tabs->setObjectName("tabs");
    for (int b = 0; b < kScannerBanks; ++b) {
        d_tabs->addTab(QStringLiteral("%1: %2").arg(b + 1).arg(L1(d_image.BankTag[b])));
    }

    d_heading = new QLabel;
    d_heading->setObjectName("heading");
    QFont headingFont = d_heading->font();
    headingFont.setBold(true);
    d_heading->setFont(headingFont);
    d_hint = new QLabel;
    d_hint->setObjectName("hint");
    d_hint->setWordWrap(true);

    d_idEntry = new QLineEdit;
    d_idEntry->setObjectName("idEntry");
    KeepOnlyAccepted(d_idEntry,
                     [this](unsigned char key) { return IdKeyAccepted(bankType(), key); });
    d_tagEntry = new QLineEdit;
    d_tagEntry->setObjectName("tagEntry");
    KeepOnlyAccepted(d_tagEntry, &TagKeyAccepted);
    auto* idLabel = new QLabel(tr("ID:"));
    idLabel->setBuddy(d_idEntry);
    auto* tagLabel = new QLabel(tr("Tag:"));
    tagLabel->setBuddy(d_tagEntry);
    auto* entries = new QHBoxLayout;
    entries->addWidget(idLabel);
    entries->addWidget(d_idEntry);
    entries->addWidget(tagLabel);
    entries->addWidget(d_tagEntry, 1);
    // Says what the ID rules stored when it is not what was typed.
    d_status = new QLabel;
    d_status->setObjectName("status");
    d_status->setWordWrap(true);

    const auto button = [](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* ok = button(tr("Ok"), "ok");
    QPushButton* cancel = button(tr("Cancel"), "cancel");
    QPushButton* ids = button(tr("Copy/Move/Swap ID's"), "copyMoveSwapIds");
    d_bankManager = button(tr("Copy/Move/Swap Banks"), "copyMoveSwapBanks");
    d_bankManager->hide();
    QPushButton* listTags = button(tr("Edit ScanList Tags"), "editScanListTags");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ids);
    buttons->addWidget(d_bankManager);
    buttons->addWidget(listTags);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    layout->addWidget(toolbar);
    layout->addWidget(rowTools);
    layout->addWidget(d_tabs);
    layout->addWidget(d_heading);
    layout->addWidget(d_hint);
    layout->addWidget(d_grid, 1);
    layout->addLayout(entries);
    layout->addWidget(d_status);
    layout->addLayout(buttons);
    resize(560, 640);

    connect(d_tabs, &QTabBar::currentChanged, this, &TrTags::selectBank);
    for (const auto& [key, step] :
         {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            d_tabs->setCurrentIndex((d_tabs->currentIndex() + step + kScannerBanks) %
                                    kScannerBanks);
        });
    }
    connect(d_grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (row != previousRow && row >= 0) {
                    d_idEntry->setText(L1(rows()[row][kTidId]));
                    d_tagEntry->setText(L1(rows()[row][kTidTag]));
                }
            });
    connect(d_grid, &QTableWidget::itemSelectionChanged, this, &TrTags::updateActions);
    connect(d_idEntry, &QLineEdit::returnPressed, this, &TrTags::enterId);
    connect(d_tagEntry, &QLineEdit::returnPressed, this, &TrTags::enterTag);
    // Leaving a field by Tab or a click keeps what was typed, as Enter would.
    connect(d_idEntry, &QLineEdit::editingFinished, this, [this] {
        if (d_idEntry->isModified()) storeId();
    });
    connect(d_tagEntry, &QLineEdit::editingFinished, this, [this] {
        if (d_tagEntry->isModified()) storeTag();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        storePendingEntries();
        writeBack();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        d_cancelled = true;
        reject();
    });
    connect(ids, &QPushButton::clicked, this, &TrTags::copyMoveSwapIds);
    connect(d_bankManager, &QPushButton::clicked, this, &TrTags::copyMoveSwapBanks);
    connect(listTags, &QPushButton::clicked, this, &TrTags::editScanListTags);
}

void TrTags::setBankManager(std::function<void()> open) {
    d_openBankManager = std::move(open);
    d_bankManager->setVisible(static_cast<bool>(d_openBankManager));
}

void TrTags::showEvent(QShowEvent* event) {
    SetTrunkWindowOpen(true);
    QDialog::showEvent(event);
}

void TrTags::hideEvent(QHideEvent* event) {
    SetTrunkWindowOpen(false);
    QDialog::hideEvent(event);
}

void TrTags::reject() {
    // Escape or the close box would drop every edit at once; "Cancel" is meant to.
    if (!d_cancelled && !(d_copy == LoadTrunkIdCopy(d_image))) {
        Question question;
        question.title = ToL1(windowTitle());
        question.text = "Discard the changes to the trunk ID's?";
        question.warning = false;
        if (d_prompter.ask(this, question) != Answer::Yes) return;
    }
    d_cancelled = false;
    QDialog::reject();
}

int TrTags::bankType() const {
    return TrunkTypeOf(d_image.TrunkType[d_bank]);
}

void TrTags::selectBank(int bank) {
    if (bank < 0 || bank >= kScannerBanks || bank == d_bank) return;
    storePendingEntries();
    if (d_edited[d_bank]) NormaliseTrunkIdBank(rows(), bankType());
    d_bank = bank;
    if (d_tabs->currentIndex() != bank) {
        const QSignalBlocker block(d_tabs);
        d_tabs->setCurrentIndex(bank);
    }
    d_undo.clear();
    showBank();
    updateHeading();
    updateActions();
    const int row = std::max(d_grid->currentRow(), 0);
    d_idEntry->setText(L1(rows()[row][kTidId]));
    d_tagEntry->setText(L1(rows()[row][kTidTag]));
}

void TrTags::showBank() {
    for (int r = 0; r < kTrunkIdUsedRows; ++r) showRow(r);
}

void TrTags::showRow(int row) {
    const QString id = L1(rows()[row][kTidId]);
    const QString tag = L1(rows()[row][kTidTag]);
    if (d_grid->item(row, 0)->text() != id) d_grid->item(row, 0)->setText(id);
    if (d_grid->item(row, 1)->text() != tag) d_grid->item(row, 1)->setText(tag);
}

void TrTags::updateHeading() {
    const IdFormat format = IdFormatOfType(bankType());
    d_heading->setText(L1(format.heading));
    if (!format.hint.empty()) d_hint->setText(L1(format.hint));
}

void TrTags::updateActions() {
    action("undoSort")->setEnabled(d_undo.available() && d_undo.bank() == d_bank);
    const bool one = singleSelectedRow() >= 0;
    for (const char* name : {"removeId", "insertId", "moveUp", "moveDown"}) {
        action(name)->setEnabled(one);
    }
}

int TrTags::singleSelectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = d_grid->selectedRanges();
    if (ranges.size() != 1 || ranges[0].topRow() != ranges[0].bottomRow()) return -1;
    return ranges[0].topRow();
}

TrunkIdCellRange TrTags::selectedRange() const {
    const QList<QTableWidgetSelectionRange> ranges = d_grid->selectedRanges();
    if (ranges.isEmpty()) {
        const int row = d_grid->currentRow();
        const int column = d_grid->currentColumn();
        return {row, column, row, column};
    }
    const QTableWidgetSelectionRange& r = ranges.first();
    return {r.topRow(), r.leftColumn(), r.bottomRow(), r.rightColumn()};
}

void TrTags::change(const std::function<void(TrunkIdBankRows&)>& edit) {
    const TrunkIdBankRows before = rows();
    edit(rows());
    if (rows() == before) return;
    d_edited[d_bank] = true;
    d_undo.save(d_bank, before);
    showBank();
    updateActions();
}

void TrTags::undo() {
    if (d_undo.bank() != d_bank || !d_undo.restore(d_copy)) return;
    showBank();
    updateActions();
}

void TrTags::sort(TrunkSortKey key, bool ascending) {
    change([&](TrunkIdBankRows& r) { SortTrunkIdRows(r, key, ascending); });
}

void TrTags::rowCommand(bool (*command)(TrunkIdBankRows&, int), int moveSelectionBy) {
    const int row = singleSelectedRow();
    if (row < 0) return;
    bool done = false;
    change([&](TrunkIdBankRows& r) { done = command(r, row); });
    if (done && moveSelectionBy != 0) {
        const int column = std::max(d_grid->currentColumn(), 0);
        d_grid->setCurrentCell(row + moveSelectionBy, column);
    }
}

void TrTags::storeId() {
    int row = d_grid->currentRow();
    if (row < 0) row = 0;
    const std::string typed = ToL1(d_idEntry->text());
    const std::string id = NormaliseTrunkId(bankType(), typed);
    d_idEntry->setText(L1(id));
    change([&](TrunkIdBankRows& r) { r[row][kTidId] = id; });
    d_status->setText(L1(TrunkIdEntryNote(typed, id)));
    d_grid->setCurrentCell(row, 0);
}

void TrTags::storeTag() {
    int row = d_grid->currentRow();
    if (row < 0) row = 0;
    const std::string tag = CutTag(ToL1(d_tagEntry->text()));
    d_tagEntry->setText(L1(tag));
    change([&](TrunkIdBankRows& r) { r[row][kTidTag] = tag; });
}

void TrTags::storePendingEntries() {
    if (d_idEntry->isModified()) storeId();
    if (d_tagEntry->isModified()) storeTag();
}

void TrTags::enterId() {
    storeId();
    d_tagEntry->setFocus();
    d_tagEntry->selectAll();
}

void TrTags::enterTag() {
    // An ID typed and left without Enter belongs to the same row.
    if (d_idEntry->isModified()) storeId();
    const int row = std::max(d_grid->currentRow(), 0);
    storeTag();
    // On to the next row, ready for its ID.
    if (row + 1 < kTrunkIdUsedRows) d_grid->setCurrentCell(row + 1, 0);
    d_idEntry->setFocus();
    d_idEntry->selectAll();
}

void TrTags::copy() {
    const std::string text = CopyTrunkIdCells(rows(), selectedRange());
    QApplication::clipboard()->setText(L1(text));
}

void TrTags::cut() {
    copy();
    deleteCells();
}

void TrTags::deleteCells() {
    const TrunkIdCellRange range = selectedRange();
    change([&](TrunkIdBankRows& r) { ClearTrunkIdCells(r, range); });
}

void TrTags::paste() {
    const std::string text = ToL1(QApplication::clipboard()->text());
    const int row = std::max(d_grid->currentRow(), 0);
    const int column = std::max(d_grid->currentColumn(), 0);
    std::optional<TrunkIdCellRange> written;
    change(
        [&](TrunkIdBankRows& r) { written = PasteTrunkIdCells(r, bankType(), row, column, text); });
    if (written) {
        d_grid->clearSelection();
        d_grid->setRangeSelected(QTableWidgetSelectionRange(written->top, written->left,
                                                            written->bottom, written->right),
                                 true);
    }
}

void TrTags::writeBack() {
    if (!(d_copy == LoadTrunkIdCopy(d_image))) WriteBackTrunkIdCopy(d_copy, d_image);
}

void TrTags::reload() {
    d_copy = LoadTrunkIdCopy(d_image);
    d_edited.fill(false);
    d_undo.clear();
    showBank();
    updateHeading();
    updateActions();
}

void TrTags::copyMoveSwapIds() {
    storePendingEntries();
    if (d_edited[d_bank]) NormaliseTrunkIdBank(rows(), bankType());
    writeBack();
    EditTrunk dialog(d_image, d_bank, this);
    d_dialogs->exec(dialog);
    reload();
}

void TrTags::editScanListTags() {
    ListTags dialog(d_image, d_bank, this);
    d_dialogs->exec(dialog);
    showBank();
}

void TrTags::copyMoveSwapBanks() {
    if (!d_openBankManager) return;
    storePendingEntries();
    writeBack();
    d_openBankManager();
    reload();
}

void TrTags::replaceTagText() {
    VervangTrunk dialog(
        [this](const std::string& find, const std::string& replacement) {
            int changed = 0;
            change([&](TrunkIdBankRows& r) { changed = ReplaceInTrunkTags(r, find, replacement); });
            return changed;
        },
        this);
    d_dialogs->exec(dialog);
}

}  // namespace vex::gui
