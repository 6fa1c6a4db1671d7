#include "gui/editrunk.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/trunkwidgets.h"

namespace vex::gui {
namespace {

QRadioButton* Option(const QString& caption, const char* name, QLayout* layout) {
    auto* option = new QRadioButton(caption);
    option->setObjectName(QString::fromLatin1(name));
    layout->addWidget(option);
    return option;
}

QGroupBox* Choice(const QString& title, QButtonGroup* group, QList<QRadioButton*> options) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    for (QRadioButton* option : options) {
        layout->addWidget(option);
        group->addButton(option);
    }
    options.first()->setChecked(true);
    return box;
}

}  // namespace

EditTrunk::EditTrunk(Image& image, int activeBank, QWidget* parent)
    : QDialog(parent), d_image(image), d_activeBank(activeBank) {
    setObjectName("editrunk");
    setWindowTitle(tr("Edit Trunk ID's"));

    auto* scratch = new QHBoxLayout;  // only parents the options until they find their box
    d_activeScope = Option(tr("Active Bank"), "activeBank", scratch);
    d_allScope = Option(tr("All Banks"), "allBanks", scratch);
    d_ids = Option(tr("ID's"), "ids", scratch);
    d_lists = Option(tr("Lists"), "lists", scratch);
    d_copy = Option(tr("&Copy"), "copy", scratch);
    d_move = Option(tr("&Move"), "move", scratch);
    d_swap = Option(tr("&Swap"), "swap", scratch);
    delete scratch;

    auto* choices = new QHBoxLayout;
    choices->addWidget(Choice(tr("Banks"), new QButtonGroup(this), {d_activeScope, d_allScope}));
    choices->addWidget(Choice(tr("Edit"), new QButtonGroup(this), {d_ids, d_lists}));
    choices->addWidget(Choice(tr("Operation"), new QButtonGroup(this), {d_copy, d_move, d_swap}));

    d_from = new QListWidget;
    d_from->setObjectName("from");
    d_to = new QListWidget;
    d_to->setObjectName("to");
    auto* lists = new QGridLayout;
    auto* fromLabel = new QLabel(tr("From:"));
    fromLabel->setBuddy(d_from);
    auto* toLabel = new QLabel(tr("To:"));
    toLabel->setBuddy(d_to);
    lists->addWidget(fromLabel, 0, 0);
    lists->addWidget(toLabel, 0, 1);
    lists->addWidget(d_from, 1, 0);
    lists->addWidget(d_to, 1, 1);

    d_apply = new QPushButton(tr("&Apply"));
    d_apply->setObjectName("apply");
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName("cancel");
    auto* ok = new QPushButton(tr("Ok"));
    ok->setObjectName("ok");
    for (QPushButton* b : {d_apply, cancel, ok}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(d_apply);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(720, 480);

    for (QRadioButton* option : {d_activeScope, d_allScope, d_ids, d_lists}) {
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) refill(false);
        });
    }
    connect(d_apply, &QPushButton::clicked, this, &EditTrunk::apply);
    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    refill(false);
}

TrunkEditScope EditTrunk::scope() const {
    return d_allScope->isChecked() ? TrunkEditScope::AllBanks : TrunkEditScope::ActiveBank;
}

TrunkEditUnit EditTrunk::unit() const {
    return d_lists->isChecked() ? TrunkEditUnit::Lists : TrunkEditUnit::Ids;
}

TrunkEditOp EditTrunk::operation() const {
    if (d_move->isChecked()) return TrunkEditOp::Move;
    if (d_swap->isChecked()) return TrunkEditOp::Swap;
    return TrunkEditOp::Copy;
}

void EditTrunk::refill(bool keepSelection) {
    const int from = keepSelection ? d_from->currentRow() : 0;
    const int to = keepSelection ? d_to->currentRow() : 0;
    QStringList entries;
    for (const std::string& entry : TrunkEditEntries(d_image, d_activeBank, scope(), unit())) {
        entries << L1(entry);
    }
    for (QListWidget* list : {d_from, d_to}) {
        list->clear();
        list->addItems(entries);
    }
    d_from->setCurrentRow(std::min<int>(std::max(from, 0), d_from->count() - 1));
    d_to->setCurrentRow(std::min<int>(std::max(to, 0), d_to->count() - 1));
}

void EditTrunk::apply() {
    const int from = d_from->currentRow();
    const int to = d_to->currentRow();
    if (from < 0 || to < 0) return;
    ApplyTrunkEdit(d_image, unit(), operation(),
                   TrunkEditTargetAt(d_activeBank, scope(), unit(), from),
                   TrunkEditTargetAt(d_activeBank, scope(), unit(), to));
    refill(true);
}

}  // namespace vex::gui
