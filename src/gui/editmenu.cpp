#include "gui/editmenu.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/prompter.h"

namespace vex::gui {

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

EditMenu::EditMenu(const Image& image, int currentBank, bool copyTags, ImageChange apply,
                   QWidget* parent)
    : QDialog(parent),
      d_image(image),
      d_currentBank(currentBank),
      d_bankMode(MemoryManagerBankMode()),
      d_apply(std::move(apply)) {
    setObjectName("editmenu");
    setWindowTitle(d_bankMode ? tr("Edit Memory Banks") : tr("Edit Memory Data"));

    auto* option = new QGroupBox(tr("Option:"));
    auto* optionLayout = new QHBoxLayout(option);
    d_copy = Named(new QRadioButton(tr("Copy")), "optCopy");
    d_move = Named(new QRadioButton(tr("Move")), "optMove");
    d_swap = Named(new QRadioButton(tr("Swap")), "optSwap");
    for (QRadioButton* b : {d_copy, d_move, d_swap}) optionLayout->addWidget(b);
    (d_bankMode ? d_swap : d_copy)->setChecked(true);

    d_from = Named(new QListWidget, "fromList");
    d_to = Named(new QListWidget, "toList");
    auto* lists = new QGridLayout;
    auto* fromLabel = new QLabel(d_bankMode ? tr("From bank") : tr("From"));
    auto* toLabel = new QLabel(d_bankMode ? tr("To bank") : tr("To"));
    fromLabel->setBuddy(d_from);
    toLabel->setBuddy(d_to);
    lists->addWidget(fromLabel, 0, 0);
    lists->addWidget(toLabel, 0, 1);
    lists->addWidget(d_from, 1, 0);
    lists->addWidget(d_to, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(option);
    if (d_bankMode) {
        auto* data = new QGroupBox(tr("Data:"));
        auto* dataLayout = new QHBoxLayout(data);
        d_frequencies = Named(new QCheckBox(tr("Frequencies")), "dataFrequencies");
        d_trunkIds = Named(new QCheckBox(tr("Trunk id's")), "dataTrunkIds");
        d_trunkSettings = Named(new QCheckBox(tr("Trunk sett.")), "dataTrunkSettings");
        for (QCheckBox* b : {d_frequencies, d_trunkIds, d_trunkSettings}) {
            b->setChecked(true);
            dataLayout->addWidget(b);
            connect(b, &QCheckBox::toggled, this, &EditMenu::choicesChanged);
        }
        d_bankTag = Named(new QCheckBox(tr("Include Bank Tag")), "includeBankTag");
        d_bankTag->setChecked(copyTags);
        connect(d_bankTag, &QCheckBox::toggled, this, &EditMenu::choicesChanged);
        layout->addWidget(data);
        layout->addWidget(d_bankTag);
    } else {
        auto* scope = new QHBoxLayout;
        auto* current = Named(new QRadioButton(tr("Current Bank")), "currentBank");
        d_allBanks = Named(new QRadioButton(tr("All Banks")), "allBanks");
        current->setChecked(true);
        scope->addWidget(current);
        scope->addWidget(d_allBanks);
        scope->addStretch(1);
        layout->addLayout(scope);
        connect(d_allBanks, &QRadioButton::toggled, this, [this] {
            fillLists();
            d_from->setCurrentRow(0);
            d_to->setCurrentRow(0);
            choicesChanged();
        });
    }
    layout->addLayout(lists, 1);
    d_status = Named(new QLabel, "status");
    d_status->setWordWrap(true);
    layout->addWidget(d_status);

    d_applyButton = Named(new QPushButton(tr("&Apply")), "apply");
    auto* ok = Named(new QPushButton(tr("Ok")), "ok");
    auto* cancel = Named(new QPushButton(tr("Cancel")), "cancel");
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {d_applyButton, ok, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    for (QRadioButton* b : {d_copy, d_move, d_swap})
        connect(b, &QRadioButton::toggled, this, &EditMenu::choicesChanged);
    connect(d_from, &QListWidget::currentRowChanged, this, &EditMenu::choicesChanged);
    connect(d_to, &QListWidget::currentRowChanged, this, &EditMenu::choicesChanged);
    connect(d_applyButton, &QPushButton::clicked, this, &EditMenu::perform);
    connect(ok, &QPushButton::clicked, this, [this] {
        // What Apply already did is not done again: a second move would empty the target.
        if (!d_applyButton->isEnabled() || perform()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    fillLists();
    d_from->setCurrentRow(0);
    d_to->setCurrentRow(0);
    d_applyButton->setEnabled(true);
    resize(d_bankMode ? 460 : 560, 480);
}

void EditMenu::fillLists() {
    const std::vector<std::string> entries =
        d_bankMode ? BankListEntries(d_image)
                   : ChannelListEntries(d_image, d_allBanks->isChecked(), d_currentBank);
    for (QListWidget* list : {d_from, d_to}) {
        const QSignalBlocker block(list);
        const int row = list->currentRow();
        list->clear();
        for (const std::string& e : entries) list->addItem(L1(e));
        if (row >= 0 && row < list->count()) list->setCurrentRow(row);
    }
}

TransferOp EditMenu::operation() const {
    if (d_move->isChecked()) return TransferOp::Move;
    if (d_swap->isChecked()) return TransferOp::Swap;
    return TransferOp::Copy;
}

void EditMenu::choicesChanged() {
    d_applyButton->setEnabled(true);
    d_status->clear();
}

bool EditMenu::perform() {
    const int from = d_from->currentRow();
    const int to = d_to->currentRow();
    if (from < 0 || to < 0) {
        d_status->setText(tr("Choose what to take and where it goes."));
        return false;
    }
    const TransferOp op = operation();
    bool done = false;
    if (d_bankMode) {
        BankParts parts;
        parts.frequencies = d_frequencies->isChecked();
        parts.trunkIds = d_trunkIds->isChecked();
        parts.trunkSettings = d_trunkSettings->isChecked();
        parts.bankTag = d_bankTag->isChecked();
        BankTransferResult result;
        done = d_apply(L1(BankStepName(op, from, to, parts)), [&](Image& image) {
            result = TransferBank(image, op, from, to, parts);
            return result.changed;
        });
        if (done && result.settingsLeftOut)
            d_status->setText(
                tr("The Dummy bank holds no trunk settings: they were left where "
                   "they are."));
    } else {
        const bool all = d_allBanks->isChecked();
        const ChannelPlace source = ChannelAtPosition(from, all, d_currentBank);
        const ChannelPlace target = ChannelAtPosition(to, all, d_currentBank);
        done = d_apply(L1(ChannelStepName(op, source, target)),
                       [&](Image& image) { return TransferChannel(image, op, source, target); });
    }
    if (!done) return false;
    fillLists();
    d_applyButton->setEnabled(false);
    return true;
}

}  // namespace vex::gui
