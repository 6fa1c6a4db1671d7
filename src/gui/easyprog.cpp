#include "gui/easyprog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/numeric.h"
#include "gui/memtab.h"
#include "gui/prompter.h"
#include "link/kept_image.h"

namespace vex::gui {
namespace {

enum Attribute { kTrunk, kDelay, kRecord, kBeep, kLockout, kAttenuator };
constexpr const char* kCaptions[] = {
    "Trunk:", "Delay:", "Record/Line out:", "Beep AL:", "Lock Out:", "Attenuator:"};
constexpr const char* kNames[] = {"trunk", "delay", "record", "beep", "lockout", "attenuator"};

}  // namespace

EasyProgramDialog::EasyProgramDialog(const Options& options, long baud,
                                     std::unique_ptr<Transport> transport, Prompter& prompter,
                                     QWidget* parent, std::unique_ptr<Scheduler> scheduler)
    : ScannerDialog(tr("Easy program"), options, baud, std::move(transport), std::move(scheduler),
                    prompter, true, parent) {
    setObjectName(QStringLiteral("setdelay"));
    auto* range = new QHBoxLayout;
    d_start = new QLineEdit(QStringLiteral("1"), this);
    d_end = new QLineEdit(QStringLiteral("250"), this);
    d_start->setObjectName(QStringLiteral("start"));
    d_end->setObjectName(QStringLiteral("end"));
    for (QLineEdit* f : {d_start, d_end}) {
        f->setValidator(new QIntValidator(1, 250, f));
        f->setMaximumWidth(60);
    }
    auto* all = new QPushButton(tr("All Banks"), this);
    all->setObjectName(QStringLiteral("allBanks"));
    all->setAutoDefault(false);
    auto* bank = new QComboBox(this);
    bank->setObjectName(QStringLiteral("bank"));
    bank->addItem(tr("Bank"));
    for (int b = 1; b <= 5; ++b) bank->addItem(QString::number(b));
    range->addWidget(new QLabel(tr("Start:"), this));
    range->addWidget(d_start);
    range->addWidget(new QLabel(tr("End:"), this));
    range->addWidget(d_end);
    range->addWidget(all);
    range->addWidget(bank);
    body()->addLayout(range);
    // The scanner has 250 channels: "All Banks" is 1 to 250.
    connect(all, &QPushButton::clicked, this, [this] {
        d_start->setText(QStringLiteral("1"));
        d_end->setText(QStringLiteral("250"));
    });
    connect(bank, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (index < 1) return;
        d_start->setText(QString::number((index - 1) * 50 + 1));
        d_end->setText(QString::number(index * 50));
    });

    auto* grid = new QGridLayout;
    for (int a = 0; a < 6; ++a) {
        auto* tick = new QCheckBox(QString::fromLatin1(kCaptions[a]), this);
        auto* value = new QComboBox(this);
        tick->setObjectName(QString::fromLatin1(kNames[a]));
        value->setObjectName(QString::fromLatin1(kNames[a]) + QStringLiteral("Value"));
        if (a == kDelay) {
            for (std::string_view c : kDelayChoices) value->addItem(L1(c));
        } else {
            value->addItems({tr("Off"), tr("On")});
        }
        value->setEnabled(false);
        connect(tick, &QCheckBox::toggled, value, &QWidget::setEnabled);
        grid->addWidget(tick, a, 0);
        grid->addWidget(value, a, 1);
        d_ticks[static_cast<std::size_t>(a)] = tick;
        d_values[static_cast<std::size_t>(a)] = value;
    }
    d_values[kTrunk]->setToolTip(tr("On makes the channels trunked, Off conventional"));
    body()->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto* go = new QPushButton(tr("Start"), this);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    go->setObjectName(QStringLiteral("startButton"));
    cancel->setObjectName(QStringLiteral("cancel"));
    buttons->addWidget(go);
    buttons->addStretch();
    buttons->addWidget(cancel);
    body()->addLayout(buttons);
    addScannerControl(go);
    connect(go, &QPushButton::clicked, this, [this] { start(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

EasyProgramRequest EasyProgramDialog::request() const {
    EasyProgramRequest r;
    r.start = std::clamp(IntegerValue(ToL1(d_start->text())), 1, 250);
    r.end = std::clamp(IntegerValue(ToL1(d_end->text())), 1, 250);
    auto chosen = [this](int a) { return d_ticks[static_cast<std::size_t>(a)]->isChecked(); };
    auto on = [this](int a) { return d_values[static_cast<std::size_t>(a)]->currentIndex() == 1; };
    if (chosen(kTrunk)) r.trunk = on(kTrunk);
    if (chosen(kDelay)) r.delay = std::max(0, d_values[kDelay]->currentIndex());
    if (chosen(kRecord)) r.record = on(kRecord);
    if (chosen(kBeep)) r.beepAlert = on(kBeep);
    if (chosen(kLockout)) r.lockout = on(kLockout);
    if (chosen(kAttenuator)) r.attenuator = on(kAttenuator);
    return r;
}

void EasyProgramDialog::start() {
    const EasyProgramRequest r = request();
    d_start->setText(QString::number(r.start));
    d_end->setText(QString::number(r.end));
    const int total = std::abs(r.end - r.start) + 1;
    const int first = std::min(r.start, r.end);
    runJob(
        tr("Programming"),
        [this, r, total, first](ScannerJobs& jobs) {
            return jobs.easyProgram(r, [this, total, first](int channel) {
                setStatus(tr("Programming channel %1 (%2 of %3)...")
                              .arg(channel, 3, 10, QLatin1Char('0'))
                              .arg(channel - first + 1)
                              .arg(total));
            });
        },
        [this, total](const ScannerJobResult& result) {
            if (result.ok) setStatus(tr("%1 channels programmed.").arg(total));
        });
}

void OpenEasyProgram(MemTab& main) {
    if (!MayOpenScannerDialog(main)) return;
    AppState& state = main.state();
    EasyProgramDialog dialog(state.options, state.com.baud, ScannerDialogTransport(state.com),
                             main.prompter(), &main);
    main.dialogs().exec(dialog);
    // The channels it set are in no kept image: Send Changes must not trust those any more.
    ForgetAllKeptImages(state.folder);
}

}  // namespace vex::gui
