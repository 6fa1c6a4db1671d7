#include "gui/bankimport.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/iomenu.h"
#include "gui/memtab.h"
#include "io/input_file.h"
#include "io/sibling_import.h"

namespace vex::gui {
namespace {

constexpr std::uintmax_t kMaxIcfFile = 1u << 20;

QString KindCaption(BankImport::Kind kind) {
    switch (kind) {
        case BankImport::Kind::Icf:
            return QObject::tr("Import data from ICF files");
        case BankImport::Kind::SiblingChannels:
            return QObject::tr("Import frequency data from MEM files");
        case BankImport::Kind::SiblingTrunkIds:
            return QObject::tr("Import trunk data from MEM files");
    }
    return {};
}

}  // namespace

void BankImport::run(MemTab& main, Kind kind) {
    const QString title = KindCaption(kind);
    Prompter& prompter = main.prompter();
    const bool icf = kind == Kind::Icf;
    const QString path = prompter.openFileName(
        &main, title, L1(DialogFilter(icf ? kIcfOpenFilter : kSiblingOpenFilter)));
    if (path.isEmpty()) return;
    std::unique_ptr<IcfFile> icfFile;
    std::unique_ptr<TenBankFile> tenBank;
    if (icf) {
        const InputFile file = LoadInputFile(path.toStdString(), kMaxIcfFile);
        if (!file.ok) {
            prompter.tell(&main, title, QString::fromStdString(file.error), NoticeIcon::Warning);
            return;
        }
        icfFile = std::make_unique<IcfFile>(ParseIcf(file.content));
        if (!icfFile->ok) {
            prompter.tell(&main, title, L1(icfFile->message), NoticeIcon::Warning);
            return;
        }
        if (!icfFile->problems.empty()) {
            QString lines;
            for (const Diagnostic& d : icfFile->problems) lines += L1(d.text) + '\n';
            prompter.tell(&main, title, lines.trimmed(), NoticeIcon::Warning);
        }
    } else {
        tenBank = std::make_unique<TenBankFile>();
        const MemReadResult read = ReadTenBankFile(path.toStdString(), *tenBank);
        if (!read.ok) {
            prompter.tell(&main, title, L1(read.message), NoticeIcon::Warning);
            return;
        }
        if (kind == Kind::SiblingTrunkIds && !tenBank->hasTrunkIds) {
            prompter.tell(&main, title, tr("This file holds no trunk IDs."), NoticeIcon::Warning);
            return;
        }
    }
    BankImport dialog(main, kind, std::move(icfFile), std::move(tenBank), &main);
    main.dialogs().exec(dialog);
}

BankImport::BankImport(MemTab& main, Kind kind, std::unique_ptr<IcfFile> icf,
                       std::unique_ptr<TenBankFile> tenBank, QWidget* parent)
    : QDialog(parent),
      d_main(main),
      d_kind(kind),
      d_icf(std::move(icf)),
      d_tenBank(std::move(tenBank)) {
    const bool isIcf = kind == Kind::Icf;
    setObjectName(isIcf                           ? "importicf"
                  : kind == Kind::SiblingChannels ? "importmem"
                                                  : "importtrunk");
    setWindowTitle(KindCaption(kind));
    d_source = new QComboBox;
    d_source->setObjectName("source");
    d_destination = new QComboBox;
    d_destination->setObjectName("destination");
    d_viewer = new QTableWidget;
    d_viewer->setObjectName("viewer");
    d_viewer->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d_viewer->verticalHeader()->setDefaultSectionSize(20);

    auto* grid = new QGridLayout;
    const QString sourceLabel = isIcf                           ? tr("Import ICF File:")
                                : kind == Kind::SiblingChannels ? tr("Import MEM File:")
                                                                : tr("Import trunk id's:");
    grid->addWidget(new QLabel(sourceLabel), 0, 0);
    grid->addWidget(d_source, 0, 1);
    grid->addWidget(new QLabel(tr("Into bank:")), 1, 0);
    grid->addWidget(d_destination, 1, 1);
    grid->addWidget(new QLabel(tr("Memory banks in red are not empty.")), 2, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& text, const char* name, void (BankImport::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(tr("Apply"), "apply", &BankImport::apply);
    button(tr("Import All banks"), "importAll", &BankImport::importAll);
    if (isIcf)
        button(tr("Percon Clean"), "perconClean", &BankImport::perconClean);
    else
        d_namesButton = button(tr("Names"), "names", &BankImport::toggleNames);
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setObjectName("cancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(isIcf ? tr("ICF File Viewer:") : tr("Selected MEM File Viewer:")));
    layout->addWidget(d_viewer);
    layout->addWidget(new QLabel(
        isIcf ? tr("If you want to import more then one bank, use the apply button and then "
                   "select the next bank.")
              : tr("If you want to import more then one bank, use the APPLY button and then "
                   "select the next bank.")));
    layout->addLayout(buttons);
    resize(560, 520);

    fillSources();
    d_destination->addItem(QString());
    const int banks = kind == Kind::SiblingTrunkIds ? kScannerBanks : kBankCount;
    for (int b = 0; b < banks; ++b) d_destination->addItem(L1(DestinationName(b)));
    markDestinations();
    connect(d_source, &QComboBox::currentIndexChanged, this, &BankImport::showSource);
    showSource();
}

BankImport::~BankImport() = default;

QString BankImport::caption() const {
    return KindCaption(d_kind);
}

void BankImport::fillSources() {
    const int current = std::max(d_source->currentIndex(), 0);
    d_source->blockSignals(true);
    d_source->clear();
    if (d_icf) {
        for (int b = 0; b < kIcfBanks; ++b) d_source->addItem(L1(IcfBankName(b)));
    } else {
        for (int b = 0; b < TenBankFile::kBanks; ++b)
            d_source->addItem(L1(SiblingBankCaption(*d_tenBank, b, d_names)));
    }
    d_source->setCurrentIndex(current);
    d_source->blockSignals(false);
}

bool BankImport::destinationFilled(int bank) const {
    const Image& image = d_main.state().image;
    return d_kind == Kind::SiblingTrunkIds ? BankHasTrunkIds(image, bank)
                                           : BankHasChannels(image, bank);
}

void BankImport::markDestinations() {
    d_main.storeGrid();
    for (int i = 1; i < d_destination->count(); ++i)
        d_destination->setItemData(i, destinationFilled(i - 1) ? QColor(Qt::red) : QVariant(),
                                   Qt::ForegroundRole);
}

void BankImport::showSource() {
    const int source = d_source->currentIndex();
    d_viewer->clear();
    if (d_kind == Kind::SiblingTrunkIds) {
        d_viewer->setColumnCount(2);
        d_viewer->setHorizontalHeaderLabels({tr("ID"), tr("Tag")});
        d_viewer->setRowCount(TenBankFile::kIdRows);
        for (int r = 0; r < TenBankFile::kIdRows; ++r)
            for (int f = 0; f < 2; ++f)
                d_viewer->setItem(r, f,
                                  new QTableWidgetItem(L1(d_tenBank->trunkIds[source][r][f])));
        return;
    }
    d_viewer->setColumnCount(d_icf ? 3 : 5);
    if (d_icf)
        d_viewer->setHorizontalHeaderLabels({tr("Freq. (MHz)"), tr("Name"), tr("Mode")});
    else
        d_viewer->setHorizontalHeaderLabels(
            {tr("Freq. (MHz)"), tr("Tag"), tr("Trunk"), tr("Delay"), tr("Lock Out")});
    d_viewer->setRowCount(ChannelsPerBank);
    for (int s = 1; s <= ChannelsPerBank; ++s) {
        QStringList cells;
        if (d_icf) {
            const IcfChannel& c = d_icf->banks[source][s - 1];
            cells << L1(c.frequency) << L1(c.name) << L1(c.mode);
        } else {
            const Channel& c = d_tenBank->channels[source][s];
            cells << L1(c[kFieldFrequency]) << L1(c[kFieldTag]);
            for (int f = kFieldTrunk; f <= kFieldLockout; ++f)
                cells << (c[f] == "1" ? tr("On") : c[f] == "0" ? tr("Off") : QString());
        }
        for (int f = 0; f < cells.size(); ++f)
            d_viewer->setItem(s - 1, f, new QTableWidgetItem(cells[f]));
    }
}

ImportPlan BankImport::planFor(int source, int bank) const {
    switch (d_kind) {
        case Kind::Icf:
            return PlanIcfBank(*d_icf, source, bank);
        case Kind::SiblingChannels:
            return PlanSiblingChannels(*d_tenBank, source, bank);
        case Kind::SiblingTrunkIds:
            return PlanSiblingTrunkIds(*d_tenBank, source, bank);
    }
    return {};
}

bool BankImport::askOverride() {
    Question q;
    q.title = std::string(kOverrideTitle);
    q.text = "\n" + std::string(kMsgBankNotEmpty) + "\n" + std::string(kMsgOverride);
    return d_main.prompter().ask(this, q) == Answer::Yes;
}

void BankImport::apply() {
    const int bank = d_destination->currentIndex() - 1;
    if (bank < 0) {
        d_main.prompter().tell(this, caption(), L1(kMsgSelectDestination), NoticeIcon::Warning);
        return;
    }
    d_main.storeGrid();
    if (destinationFilled(bank) && !askOverride()) return;
    const bool channels = d_kind != Kind::SiblingTrunkIds;
    ApplyPlan(d_main, caption(), planFor(d_source->currentIndex(), bank), channels ? bank : -1);
    markDestinations();
}

void BankImport::importAll() {
    ImportPlan plan;
    switch (d_kind) {
        case Kind::Icf:
            plan = PlanIcfAll(*d_icf);
            break;
        case Kind::SiblingChannels:
            plan = PlanSiblingChannelsAll(*d_tenBank);
            break;
        case Kind::SiblingTrunkIds:
            plan = PlanSiblingTrunkIdsAll(*d_tenBank);
            break;
    }
    d_main.storeGrid();
    // One question for all the banks that hold data.
    if (!FilledDestinations(d_main.state().image, plan).empty() && !askOverride()) return;
    ApplyPlan(d_main, caption(), plan, d_kind != Kind::SiblingTrunkIds ? 0 : -1);
    markDestinations();
}

void BankImport::toggleNames() {
    d_names = !d_names;
    d_namesButton->setText(d_names ? tr("Default") : tr("Names"));
    fillSources();
}

void BankImport::perconClean() {
    Question q;
    q.title = caption().toStdString();
    q.text = std::string(kMsgPerconQuestion);
    if (d_main.prompter().ask(this, q) != Answer::Yes) return;
    const int removed = PerconClean(*d_icf);
    showSource();
    d_main.prompter().tell(this, caption(), tr("%1 duplicate frequencies removed.").arg(removed),
                           NoticeIcon::Information);
}

}  // namespace vex::gui
