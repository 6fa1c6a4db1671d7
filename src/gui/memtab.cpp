#include "gui/memtab.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "mainwin/backup.h"
#include "trunk/trunk_window_flag.h"

namespace vex::gui {

namespace {

// The sample texts the default column widths are measured from (column 0 first).
constexpr std::array<const char*, kGridColumns + 1> kWidthSamples{
    " Channel ", " Frequency     ", " CommentsWWWWWWWWWWW  ",
    "  Trunk  ", "  Delay Time  ",  "  Lock Out  "};

}  // namespace

MemTab::MemTab(AppState& state, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent),
      d_state(state),
      d_prompter(prompter),
      d_editor(state.image, state.options, state.defaults),
      d_fileName(QStringLiteral("Untitled")) {
    setObjectName("memtab");
    buildWindow();
    buildMenus();
    applyIcons();
    buildToolbars();
    buildPopup();

    applyOptions();

    // Placement from window.dat, in twips; otherwise wide enough for the whole grid.
    std::optional<WindowPlacement> placement;
    if (d_state.options.window == 1) placement = ReadWindowPlacement(d_state.folder);
    if (placement) {
        move(placement->left / kTwipsPerPixel, placement->top / kTwipsPerPixel);
        resize(placement->width / kTwipsPerPixel, placement->height / kTwipsPerPixel);
    } else {
        int width = d_grid->verticalHeader()->width() + 2 * d_grid->frameWidth() +
                    d_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 24;
        for (int column = 0; column < kGridColumns; ++column)
            width += d_grid->horizontalHeader()->sectionSize(column);
        resize(std::max(width, 640), 820);
    }
    d_editor.setModified(false);
    selectBank(0);
    d_editor.setModified(false);
    updateTitle();
    updateStatus();

    d_grid->setFocus();
    setAcceptDrops(true);

    d_backupTimer = new QTimer(this);
    d_backupTimer->setInterval(kBackupTickMs);
    connect(d_backupTimer, &QTimer::timeout, this, &MemTab::backupTick);
    d_backupTimer->start();
}

MemTab::~MemTab() {
    setDirectTune(false);
}

void MemTab::buildWindow() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);

    auto* fileRow = new QHBoxLayout;
    auto* fileLabel = new QLabel(tr("File:"), central);
    d_fileBox = new QLineEdit(central);
    d_fileBox->setObjectName("fnaam");
    d_fileBox->setReadOnly(true);
    d_fileBox->setFocusPolicy(Qt::ClickFocus);
    fileLabel->setBuddy(d_fileBox);
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(d_fileBox, 1);
    layout->addLayout(fileRow);

    d_tabs = new QTabBar(central);
    d_tabs->setObjectName("tabbed1");
    d_tabs->setExpanding(false);
    d_tabs->setDocumentMode(true);
    d_tabs->setFocusPolicy(Qt::NoFocus);
    for (int bank = 0; bank < kBankCount; ++bank) d_tabs->addTab(QString());
    connect(d_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index != d_editor.currentBank()) selectBank(index);
    });
    layout->addWidget(d_tabs);

    auto* captionRow = new QHBoxLayout;
    d_bankCaption = new QLabel(central);
    d_bankCaption->setObjectName("bankCaption");
    QFont captionFont = d_bankCaption->font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.2);
    d_bankCaption->setFont(captionFont);
    d_dummyNotice = new QLabel(L1(kDummyNotice), central);
    d_dummyNotice->setObjectName("dummyNotice");
    d_dummyNotice->setWordWrap(true);
    d_dummyNotice->setStyleSheet("color: #b00000; font-weight: bold;");
    captionRow->addWidget(d_bankCaption);
    captionRow->addSpacing(12);
    captionRow->addWidget(d_dummyNotice, 1);
    layout->addLayout(captionRow);

    // The easy-tag pick lists (option9).
    d_tagRow = new QWidget(central);
    auto* tagLayout = new QHBoxLayout(d_tagRow);
    tagLayout->setContentsMargins(0, 0, 0, 0);
    d_allTags = new QComboBox(d_tagRow);
    d_allTags->setObjectName("textcombo");
    d_bankTags = new QComboBox(d_tagRow);
    d_bankTags->setObjectName("bankcombo");
    for (QComboBox* combo : {d_allTags, d_bankTags}) {
        combo->setMinimumContentsLength(18);
        connect(combo, &QComboBox::activated, this,
                [this, combo](int index) { onEasyTagPicked(combo->itemText(index)); });
    }
    auto* allLabel = new QLabel(tr("Tags, all banks:"), d_tagRow);
    allLabel->setBuddy(d_allTags);
    auto* bankLabel = new QLabel(tr("This bank:"), d_tagRow);
    bankLabel->setBuddy(d_bankTags);
    tagLayout->addWidget(allLabel);
    tagLayout->addWidget(d_allTags);
    tagLayout->addSpacing(12);
    tagLayout->addWidget(bankLabel);
    tagLayout->addWidget(d_bankTags);
    tagLayout->addStretch(1);
    layout->addWidget(d_tagRow);

    d_model = new BankGridModel(d_editor, this);
    d_grid = new BankGridView(central);
    d_grid->setObjectName("memtabel");
    d_grid->setGridModel(d_model);
    connect(d_model, &BankGridModel::edited, this, &MemTab::updateStatus);
    connect(d_model, &BankGridModel::noted, this,
            [this](const QString& text) { statusBar()->showMessage(text, 10000); });
    connect(d_grid, &BankGridView::flagKey, this, &MemTab::onFlagKey);
    connect(d_grid, &BankGridView::flagDoubleClicked, this, &MemTab::onFlagDoubleClicked);
    connect(d_grid, &BankGridView::cellClicked, this, &MemTab::updateHelpBar);
    connect(d_grid, &BankGridView::contextMenuWanted, this, [this](const QPoint& pos) {
        if (d_popup) d_popup->popup(pos);
    });
    connect(d_grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        updateStatus();
        tuneToCurrentRow();
    });
    layout->addWidget(d_grid, 1);

    d_helpBar = new QLabel(central);
    d_helpBar->setObjectName("Label4");
    d_helpBar->setWordWrap(true);
    d_helpBar->setFrameShape(QFrame::StyledPanel);
    d_helpBar->setMinimumHeight(d_helpBar->fontMetrics().height() * 2 + 8);
    d_helpBar->setTextFormat(Qt::RichText);
    layout->addWidget(d_helpBar);

    setCentralWidget(central);

    d_statusChannel = new QLabel(this);
    d_statusBank = new QLabel(this);
    d_statusModified = new QLabel(this);
    d_statusModified->setObjectName("statusModified");
    d_progress = new QProgressBar(this);
    d_progress->setObjectName("progress");
    d_progress->setRange(0, 100);
    d_progress->setMaximumWidth(200);
    d_progress->hide();
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addPermanentWidget(d_progress);
    statusBar()->addPermanentWidget(d_statusChannel);
    statusBar()->addPermanentWidget(d_statusBank);
    statusBar()->addPermanentWidget(d_statusModified);
    updateHelpBar(kGridFrequency);
}

QMenu* MemTab::menu(Menu which) const {
    return d_menus[static_cast<std::size_t>(which)];
}

void MemTab::setFileName(const QString& name) {
    d_fileName = name;
    updateTitle();
}

void MemTab::updateTitle() {
    d_fileBox->setText(d_fileName);
    // Paths are not Latin-1 on every system; the caption keeps them as they are.
    setWindowTitle(L1(WindowTitle("%1")).arg(d_fileName));
}

bool MemTab::storeGrid() {
    d_grid->commitEdit();
    const GridResult result = d_editor.store();
    if (!result) {
        QApplication::beep();
        d_prompter.tell(this, tr("Vexatron"), L1(result.message), NoticeIcon::Warning);
    }
    return result.ok;
}

void MemTab::showBank() {
    const GridResult result = d_editor.show();
    if (!result) {
        QApplication::beep();
        d_prompter.tell(this, tr("Vexatron"), L1(result.message), NoticeIcon::Warning);
    }
    refreshGrid();
}

void MemTab::refreshGrid() {
    d_model->refresh();
    refillTagLists();
    updateStatus();
}

void MemTab::selectBank(int bank) {
    d_grid->commitEdit();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const GridResult result = d_editor.selectBank(bank);
    QApplication::restoreOverrideCursor();
    if (!result) {
        QApplication::beep();
        d_prompter.tell(this, tr("Vexatron"), L1(result.message), NoticeIcon::Warning);
    }
    {
        const QSignalBlocker block(d_tabs);
        d_tabs->setCurrentIndex(d_editor.currentBank());
    }
    updateBankLabels();
    refreshGrid();
    // A selection made in the old bank must not reach a command in the new one.
    const QModelIndex current = d_grid->currentIndex();
    if (current.isValid()) {
        d_grid->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    } else {
        d_grid->clearSelection();
    }
    updateHelpBar(d_model->fieldOf(std::max(0, current.column())));
}

void MemTab::updateBankCaptions() {
    for (int bank = 0; bank < kBankCount; ++bank) {
        // A bank tag holding "&" must not turn into a mnemonic.
        d_tabs->setTabText(bank,
                           L1(TabCaption(bank, d_state.image.BankTag[bank])).replace('&', "&&"));
        if (d_bankActions[bank]) {
            QString tag = L1(d_state.image.BankTag[bank]);
            while (tag.startsWith(' ')) tag.remove(0, 1);
            // A bank tag holding "&" must not turn into a mnemonic.
            tag.replace('&', "&&");
            d_bankActions[bank]->setText(tag);
        }
    }
}

void MemTab::updateBankLabels() {
    updateBankCaptions();
    const int bank = d_editor.currentBank();
    d_bankCaption->setText(L1(BankCaption(bank)));
    d_dummyNotice->setVisible(bank == kDummyBank);
    for (int i = 0; i < kBankCount; ++i)
        if (d_bankActions[i]) d_bankActions[i]->setChecked(i == bank);
}

void MemTab::updateStatus() {
    const QModelIndex current = d_grid->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : 1;
    const int bank = d_editor.currentBank();
    d_statusChannel->setText(tr("Channel: %1").arg(bank * ChannelsPerBank + row));
    d_statusBank->setText(L1(BankCaption(bank)));
    d_statusModified->setText(d_editor.modified() ? tr("Modified") : QString());
    updateUndoActions();
}

void MemTab::updateHelpBar(int field) {
    const ColumnHelp help = HelpForField(field);
    if (help.caption.empty()) return;
    d_helpBar->setText(QStringLiteral("<b>%1</b> %2")
                           .arg(L1(help.caption).toHtmlEscaped(), L1(help.text).toHtmlEscaped()));
}

void MemTab::refillTagLists() {
    const bool show = d_state.options.option9() == 1;
    d_tagRow->setVisible(show);
    if (!show) return;
    auto fill = [](QComboBox* combo, const std::vector<std::string>& tags) {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const auto& tag : tags) combo->addItem(L1(tag));
        combo->setCurrentIndex(-1);
    };
    fill(d_allTags, d_editor.tags().all());
    fill(d_bankTags, d_editor.tags().bank(d_editor.currentBank()));
}

void MemTab::onEasyTagPicked(const QString& tag) {
    Selection s = d_grid->selection();
    if (s.currentField != kGridTag) {
        statusBar()->showMessage(tr("Pick a cell in the Tag column first."), 4000);
        return;
    }
    d_model->enterTyped(s, tag);
    d_grid->setFocus();
}

void MemTab::setGridFont() {
    QFont font = QApplication::font();
    if (d_state.options.ffont == 1) {
        const QStringList families = QFontDatabase::families();
        if (families.contains("Lucida Console")) {
            font = QFont("Lucida Console");
        } else if (families.contains("Courier New")) {
            font = QFont("Courier New");
        } else {
            // Neither is installed on most systems here: the system's fixed-width font.
            font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        }
        font.setPointSizeF(QApplication::font().pointSizeF());
    }
    d_grid->setFont(font);
    d_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
}

int MemTab::defaultColumnWidth(int field) const {
    if (field < 0 || field > kGridColumns) return 60;
    return QFontMetrics(d_grid->font())
               .horizontalAdvance(QString::fromLatin1(kWidthSamples[field])) +
           8;
}

void MemTab::applyColumnWidths() {
    QHeaderView* header = d_grid->horizontalHeader();
    d_grid->verticalHeader()->setFixedWidth(defaultColumnWidth(0));
    const bool fromFile = d_state.options.tabwidth == 1;
    for (int field = 1; field <= kGridColumns; ++field) {
        int width = defaultColumnWidth(field);
        const std::size_t i = static_cast<std::size_t>(field - 1);
        if (fromFile && i < d_state.columnWidths.size())
            width = std::max(1, d_state.columnWidths[i] / kTwipsPerPixel);
        header->resizeSection(BankGridModel::columnOf(field), width);
    }
}

void MemTab::applyOptions() {
    const Options& o = d_state.options;
    setGridFont();
    // Widths come from the settings once; afterwards they are the user's, dragged or not.
    if (!d_columnsSized) {
        applyColumnWidths();
        d_columnsSized = true;
    }
    d_model->setAlignment(o.align);
    d_toolbar1->setVisible(o.toolbar == 1);
    d_toolbar2->setVisible(o.toolbar == 1);
    if (d_toolbarToggle) d_toolbarToggle->setChecked(o.toolbar == 1);
    d_helpBar->setVisible(o.helpbar == 1);
    if (d_helpBarToggle) d_helpBarToggle->setChecked(o.helpbar == 1);
    // Ctrl+U and Ctrl+D follow the `shiftdir` setting.
    const bool uMovesUp = ShiftDirectionForKey('U', o) == ShiftDirection::Up;
    d_shiftUp->setShortcut(uMovesUp ? QKeySequence(Qt::CTRL | Qt::Key_U)
                                    : QKeySequence(Qt::CTRL | Qt::Key_D));
    d_shiftDown->setShortcut(uMovesUp ? QKeySequence(Qt::CTRL | Qt::Key_D)
                                      : QKeySequence(Qt::CTRL | Qt::Key_U));
    // The frequency form follows `zero`, the tag lists follow option9.
    showBank();
}

void MemTab::backupTick() {
    const QDateTime now = clock();
    const QLocale locale = QLocale::system();
    const std::string date = ToL1(locale.toString(now.date(), QLocale::ShortFormat));
    const std::string time = ToL1(now.time().toString(QStringLiteral("HH:mm:ss")));
    const auto outcome =
        d_editor.backupTick(d_state.folder, date, time, TrunkWindowOpen(), virtualControlRunning());
    if (!outcome) return;
    // Storing may have taken rows from an image another window changed.
    d_model->refresh();
    if (outcome->written) {
        statusBar()->showMessage(
            tr("Backup written: %1").arg(QString::fromStdString(outcome->path.string())), 10000);
    } else {
        // Not worth a box in the user's way; the status bar says it until the next backup.
        statusBar()->showMessage(
            tr("Automatic backup failed: %1").arg(QString::fromStdString(outcome->error)));
    }
}

void MemTab::closeEvent(QCloseEvent* event) {
    d_grid->commitEdit();
    if (!d_closing && !queryUnload()) {
        event->ignore();
        return;
    }
    d_closing = true;
    formUnload();
    event->accept();
    emit ended();
}

}  // namespace vex::gui
