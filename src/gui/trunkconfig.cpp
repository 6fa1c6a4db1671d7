#include "gui/trunkconfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QVBoxLayout>

#include "gui/trunkwidgets.h"
#include "trunk/trunk_window_flag.h"

namespace vex::gui {
namespace {

template <std::size_t N>
QComboBox* MakeList(const std::array<std::string, N>& entries, const char* name) {
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    for (const std::string& entry : entries) list->addItem(L1(entry));
    list->setCurrentIndex(-1);
    return list;
}

QPushButton* MakeButton(const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

bool IsDigitKey(unsigned char key) {
    return key >= '0' && key <= '9';
}

QLineEdit* MakeField(const QString& name, int maxLength, std::function<bool(unsigned char)> keys) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setMaxLength(maxLength);
    KeepOnlyAccepted(field, std::move(keys));
    return field;
}

void SetText(QLineEdit* field, const std::string& text) {
    const QString value = L1(text);
    if (field->text() != value) field->setText(value);
}

}  // namespace

TrunkConfig::TrunkConfig(Image& image, QWidget* parent) : QDialog(parent), d_image(image) {
    setObjectName("trunkconfig");
    setWindowTitle(tr("Trunk Configuration"));
    buildWindow();
    // Frames differ in size; the window grows to hold whichever is shown.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);
    activate();
}

void TrunkConfig::buildWindow() {
    auto* layout = new QVBoxLayout(this);

    d_tabs = new QTabBar;
    d_tabs->setObjectName("tabs");
    for (int b = 0; b < kScannerBanks; ++b) d_tabs->addTab(tr("Bank %1").arg(b + 1));
    layout->addWidget(d_tabs);

    auto* typeRow = new QHBoxLayout;
    auto* typeLabel = new QLabel(tr("Trunk Type:"));
    d_type = MakeList(TrunkTypeNames(), "typeList");
    typeLabel->setBuddy(d_type);
    typeRow->addWidget(typeLabel);
    typeRow->addWidget(d_type, 1);
    layout->addLayout(typeRow);

    const auto delayAll = [this](QComboBox* delay, const QString& name) {
        QPushButton* all = MakeButton(tr("All"), name);
        connect(all, &QPushButton::clicked, this,
                [this, delay] { ApplyDelayToAll(d_image, delay->currentIndex()); });
        return all;
    };
    const auto endCodeAll = [this](QComboBox* endCode, const QString& name) {
        QPushButton* all = MakeButton(tr("All"), name);
        connect(all, &QPushButton::clicked, this,
                [this, endCode] { ApplyEndCodeToAll(d_image, endCode->currentIndex()); });
        return all;
    };

    // Frame 1: Motorola 800.
    d_frame800 = new QGroupBox(tr("Settings (T1 T2-800 T2-900):"));
    d_frame800->setObjectName("frame800");
    {
        auto* grid = new QGridLayout(d_frame800);
        d_delay800 = MakeList(DelayEntries(), "delay800");
        d_endCode800 = MakeList(EndCodeEntries(), "endCode800");
        d_status800 = new QCheckBox(tr("Status Bit ON"));
        d_status800->setObjectName("status800");
        d_controlLabel = new QLabel(tr("Control Channel:"));
        d_control = MakeList(ControlChannelEntries(), "controlChannel");
        d_controlAll = MakeButton(tr("All"), "controlChannelAll");
        connect(d_controlAll, &QPushButton::clicked, this, [this] {
            if (d_control->isVisible())
                ApplyControlChannelToAll(d_image, d_control->currentIndex());
        });
        d_fleetLabel = new QLabel(tr("Fleetmap:"));
        d_fleetMap = MakeList(FleetMapEntries(), "fleetMap");
        d_customLabel = new QLabel(tr("Custom:"));
        d_clearBlocks = MakeButton(tr("clr"), "clr");
        connect(d_clearBlocks, &QPushButton::clicked, this, [this] {
            for (QLineEdit* block : d_blocks) block->clear();
        });

        grid->addWidget(new QLabel(tr("Delay:")), 0, 0);
        grid->addWidget(d_delay800, 0, 1);
        grid->addWidget(delayAll(d_delay800, "delay800All"), 0, 2);
        grid->addWidget(new QLabel(tr("End Code:")), 1, 0);
        grid->addWidget(d_endCode800, 1, 1);
        grid->addWidget(endCodeAll(d_endCode800, "endCode800All"), 1, 2);
        grid->addWidget(d_status800, 2, 0, 1, 3);
        grid->addWidget(d_controlLabel, 3, 0);
        grid->addWidget(d_control, 3, 1);
        grid->addWidget(d_controlAll, 3, 2);
        grid->addWidget(d_fleetLabel, 4, 0);
        grid->addWidget(d_fleetMap, 4, 1, 1, 2);

        auto* blocks = new QGridLayout;
        blocks->addWidget(d_customLabel, 1, 0);
        for (int i = 0; i < kFleetMapBlocks; ++i) {
            d_blockLabels[i] = new QLabel(QString::number(i));
            d_blockLabels[i]->setAlignment(Qt::AlignCenter);
            d_blocks[i] = MakeField(QStringLiteral("block%1").arg(i), 2,
                                    [](unsigned char key) { return key < 11 || IsDigitKey(key); });
            d_blocks[i]->setMaximumWidth(40);
            d_blocks[i]->setToolTip(tr("Double click to clear this block"));
            d_blocks[i]->installEventFilter(this);
            blocks->addWidget(d_blockLabels[i], 0, i + 1);
            blocks->addWidget(d_blocks[i], 1, i + 1);
        }
        blocks->addWidget(d_clearBlocks, 1, kFleetMapBlocks + 1);
        grid->addLayout(blocks, 5, 0, 1, 3);
    }

    // Frame 2: Motorola VHF/UHF band plan.
    d_frameVhf = new QGroupBox(tr("Settings (T2 VHF T2-UHF)::"));
    d_frameVhf->setObjectName("frameVhf");
    {
        auto* grid = new QGridLayout(d_frameVhf);
        d_delayVhf = MakeList(DelayEntries(), "delayVhf");
        d_endCodeVhf = MakeList(EndCodeEntries(), "endCodeVhf");
        d_statusVhf = new QCheckBox(tr("Status Bit ON"));
        d_statusVhf->setObjectName("statusVhf");
        grid->addWidget(new QLabel(tr("Delay:")), 0, 0);
        grid->addWidget(d_delayVhf, 0, 1);
        grid->addWidget(delayAll(d_delayVhf, "delayVhfAll"), 0, 2);
        grid->addWidget(new QLabel(tr("End Code:")), 1, 0);
        grid->addWidget(d_endCodeVhf, 1, 1);
        grid->addWidget(endCodeAll(d_endCodeVhf, "endCodeVhfAll"), 1, 2);
        grid->addWidget(d_statusVhf, 2, 0, 1, 3);

        const auto numberKeys = [](unsigned char key) {
            return key < 26 || key == '-' || key == '.' || IsDigitKey(key);
        };
        auto* rows = new QGridLayout;
        for (int r = 0; r < kTrunkBaseRows; ++r) {
            d_base[r][kTbFrequency] =
                MakeField(QStringLiteral("frequency%1").arg(r), 9, numberKeys);
            d_base[r][kTbStep] = MakeField(QStringLiteral("step%1").arg(r), 6, numberKeys);
            d_base[r][kTbOffset] =
                MakeField(QStringLiteral("offset%1").arg(r), 3,
                          [](unsigned char k) { return k < 26 || IsDigitKey(k); });
            const QFontMetrics metrics(d_base[r][kTbFrequency]->font());
            d_base[r][kTbFrequency]->setMinimumWidth(metrics.horizontalAdvance("0000.00000"));
            d_base[r][kTbStep]->setMinimumWidth(metrics.horizontalAdvance("000.000"));
            d_base[r][kTbOffset]->setMinimumWidth(metrics.horizontalAdvance("0000"));
            rows->addWidget(new QLabel(tr("Base Config %1:").arg(r + 1)), r, 0);
            rows->addWidget(new QLabel(tr("Frequency:")), r, 1);
            rows->addWidget(d_base[r][kTbFrequency], r, 2);
            rows->addWidget(new QLabel(tr("Step:")), r, 3);
            rows->addWidget(d_base[r][kTbStep], r, 4);
            rows->addWidget(new QLabel(tr("Offset CH.")), r, 5);
            rows->addWidget(d_base[r][kTbOffset], r, 6);
        }
        grid->addLayout(rows, 3, 0, 1, 3);
    }

    // Frame 3: EDACS.
    d_frameEdacs = new QGroupBox(tr("EDACS:"));
    d_frameEdacs->setObjectName("frameEdacs");
    {
        auto* grid = new QGridLayout(d_frameEdacs);
        d_delayEdacs = MakeList(DelayEntries(), "delayEdacs");
        d_idFormat = MakeList(IdFormatEntries(), "idFormat");
        QPushButton* idFormatAll = MakeButton(tr("All"), "idFormatAll");
        connect(idFormatAll, &QPushButton::clicked, this,
                [this] { ApplyIdFormatToAll(d_image, d_idFormat->currentIndex()); });
        grid->addWidget(new QLabel(tr("Delay:")), 0, 0);
        grid->addWidget(d_delayEdacs, 0, 1);
        grid->addWidget(delayAll(d_delayEdacs, "delayEdacsAll"), 0, 2);
        grid->addWidget(new QLabel(tr("ID Format:")), 1, 0);
        grid->addWidget(d_idFormat, 1, 1);
        grid->addWidget(idFormatAll, 1, 2);
    }

    // Frame 4: LTR.
    d_frameLtr = new QGroupBox(tr("LT:"));
    d_frameLtr->setObjectName("frameLtr");
    {
        auto* grid = new QGridLayout(d_frameLtr);
        d_delayLtr = MakeList(DelayEntries(), "delayLtr");
        grid->addWidget(new QLabel(tr("Delay:")), 0, 0);
        grid->addWidget(d_delayLtr, 0, 1);
        grid->addWidget(delayAll(d_delayLtr, "delayLtrAll"), 0, 2);
    }

    // The frames share one place; at most one is visible.
    auto* frames = new QGridLayout;
    for (QGroupBox* frame : {d_frame800, d_frameVhf, d_frameEdacs, d_frameLtr}) {
        frames->addWidget(frame, 0, 0);
        frame->hide();
    }
    layout->addLayout(frames);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    QPushButton* clear = MakeButton(tr("Clear This Bank"), "clearBank");
    d_bankManager = MakeButton(tr("Copy/Move/Swap Banks"), "copyMoveSwapBanks");
    d_bankManager->hide();
    QPushButton* close = MakeButton(tr("Close"), "close");
    buttons->addWidget(clear);
    buttons->addWidget(d_bankManager);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(clear, &QPushButton::clicked, this, &TrunkConfig::clearThisBank);
    connect(d_bankManager, &QPushButton::clicked, this, &TrunkConfig::copyMoveSwapBanks);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(d_tabs, &QTabBar::currentChanged, this, &TrunkConfig::selectBank);
    // Ctrl+PgDown / Ctrl+PgUp step through the banks, as in tabbed windows elsewhere.
    for (const auto& [key, step] :
         {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] {
            d_tabs->setCurrentIndex((d_tabs->currentIndex() + step + kScannerBanks) %
                                    kScannerBanks);
        });
    }
    connect(d_type, &QComboBox::activated, this, &TrunkConfig::typeChosen);
    connect(d_fleetMap, &QComboBox::activated, this, &TrunkConfig::fleetMapChosen);
}

void TrunkConfig::setBankManager(std::function<void()> open) {
    d_openBankManager = std::move(open);
    d_bankManager->setVisible(static_cast<bool>(d_openBankManager));
}

void TrunkConfig::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SetTrunkWindowOpen(true);
}

void TrunkConfig::hideEvent(QHideEvent* event) {
    SetTrunkWindowOpen(false);
    QDialog::hideEvent(event);
}

void TrunkConfig::activate() {
    const int code = TrunkTypeOf(d_image.TrunkType[d_bank]);
    if (code >= 0) showType(code < kTrunkTypeListSize ? code : -1);
    showBank();
}

void TrunkConfig::selectBank(int bank) {
    if (bank < 0 || bank >= kScannerBanks || bank == d_bank) return;
    if (TrunkTypeOf(d_image.TrunkType[bank]) < 0) {
        const QSignalBlocker block(d_tabs);
        d_tabs->setCurrentIndex(d_bank);
        return;
    }
    storeBank();
    d_bank = bank;
    if (d_tabs->currentIndex() != bank) {
        const QSignalBlocker block(d_tabs);
        d_tabs->setCurrentIndex(bank);
    }
    const int code = TrunkTypeOf(d_image.TrunkType[bank]);
    showType(code < kTrunkTypeListSize ? code : -1);
    showBank();
}

void TrunkConfig::typeChosen(int position) {
    readControls();
    if (position >= 0) SelectTrunkType(d_image, d_bank, position, d_form);
    showType(position);
}

void TrunkConfig::showType(int position) {
    {
        const QSignalBlocker block(d_type);
        d_type->setCurrentIndex(position);
    }
    updateVisibility();
}

void TrunkConfig::fleetMapChosen(int position) {
    readControls();
    SelectFleetMap(position, d_form);
    writeControls();
    updateVisibility();
}

void TrunkConfig::showBank() {
    ShowTrunkBank(d_image, d_bank, d_form);
    writeControls();
    updateVisibility();
    // What the controls hold now, read back the way a store reads them.
    readControls();
    d_shown = d_form;
}

void TrunkConfig::storeBank() {
    readControls();
    if (d_form == d_shown) return;
    StoreTrunkBank(d_form, d_image, d_bank);
    writeControls();
    readControls();
    d_shown = d_form;
}

void TrunkConfig::clearThisBank() {
    ClearTrunkBank(d_image, d_bank);
    showBank();
}

void TrunkConfig::copyMoveSwapBanks() {
    if (!d_openBankManager) return;
    storeBank();
    d_openBankManager();
    const int code = TrunkTypeOf(d_image.TrunkType[d_bank]);
    showType(code >= 0 && code < kTrunkTypeListSize ? code : -1);
    showBank();
}

void TrunkConfig::done(int result) {
    if (isVisible()) storeBank();
    SetTrunkWindowOpen(false);
    QDialog::done(result);
}

bool TrunkConfig::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (QLineEdit* block : d_blocks) {
            if (watched == block) {
                block->clear();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TrunkConfig::readControls() {
    d_form.delay800 = d_delay800->currentIndex();
    d_form.endCode800 = d_endCode800->currentIndex();
    d_form.status800 = d_status800->isChecked();
    d_form.controlChannel = d_control->currentIndex();
    d_form.fleetMap = d_fleetMap->currentIndex();
    for (int i = 0; i < kFleetMapBlocks; ++i) d_form.blocks[i] = ToL1(d_blocks[i]->text());
    d_form.delayVhf = d_delayVhf->currentIndex();
    d_form.endCodeVhf = d_endCodeVhf->currentIndex();
    d_form.statusVhf = d_statusVhf->isChecked();
    for (int r = 0; r < kTrunkBaseRows; ++r) {
        for (int f = 0; f < 3; ++f) d_form.base[r][f] = ToL1(d_base[r][f]->text());
    }
    d_form.delayEdacs = d_delayEdacs->currentIndex();
    d_form.idFormat = d_idFormat->currentIndex();
    d_form.delayLtr = d_delayLtr->currentIndex();
}

void TrunkConfig::writeControls() {
    const auto select = [](QComboBox* list, int position) {
        const QSignalBlocker block(list);
        list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
    };
    select(d_delay800, d_form.delay800);
    select(d_endCode800, d_form.endCode800);
    d_status800->setChecked(d_form.status800);
    select(d_control, d_form.controlChannel);
    select(d_fleetMap, d_form.fleetMap);
    for (int i = 0; i < kFleetMapBlocks; ++i) SetText(d_blocks[i], d_form.blocks[i]);
    select(d_delayVhf, d_form.delayVhf);
    select(d_endCodeVhf, d_form.endCodeVhf);
    d_statusVhf->setChecked(d_form.statusVhf);
    for (int r = 0; r < kTrunkBaseRows; ++r) {
        for (int f = 0; f < 3; ++f) SetText(d_base[r][f], d_form.base[r][f]);
    }
    select(d_delayEdacs, d_form.delayEdacs);
    select(d_idFormat, d_form.idFormat);
    select(d_delayLtr, d_form.delayLtr);
}

void TrunkConfig::updateVisibility() {
    const int code = d_type->currentIndex();
    const TrunkFrame frame = FrameOfType(code);
    d_frame800->setVisible(frame == TrunkFrame::Motorola800);
    d_frameVhf->setVisible(frame == TrunkFrame::MotorolaVhfUhf);
    d_frameEdacs->setVisible(frame == TrunkFrame::Edacs);
    d_frameLtr->setVisible(frame == TrunkFrame::Ltr);

    const bool fleetList = FleetMapListVisible(code);
    d_fleetLabel->setVisible(fleetList);
    d_fleetMap->setVisible(fleetList);
    // A preset shows its blocks for reference; only Custom (or no choice) offers them for editing.
    const bool custom = CustomBlocksVisible(code, d_fleetMap->currentIndex());
    d_customLabel->setVisible(custom);
    d_clearBlocks->setVisible(custom);
    for (int i = 0; i < kFleetMapBlocks; ++i) {
        d_blocks[i]->setVisible(fleetList);
        d_blockLabels[i]->setVisible(fleetList);
        d_blocks[i]->setReadOnly(!custom);
    }
}

}  // namespace vex::gui
