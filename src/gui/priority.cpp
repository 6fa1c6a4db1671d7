#include "gui/priority.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

#include "core/numeric.h"
#include "gui/memtab.h"
#include "gui/prompter.h"

namespace vex::gui {

PriorityDialog::PriorityDialog(const std::array<std::int16_t, 5>& channels, const Options& options,
                               long baud, std::unique_ptr<Transport> transport, Prompter& prompter,
                               QWidget* parent, std::unique_ptr<Scheduler> scheduler)
    : ScannerDialog(tr("Priority Channels"), options, baud, std::move(transport),
                    std::move(scheduler), prompter, false, parent) {
    setObjectName(QStringLiteral("prioch"));
    auto* form = new QFormLayout;
    for (int b = 0; b < 5; ++b) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("bank%1").arg(b + 1));
        field->setValidator(new QIntValidator(0, 250, field));
        field->setMaxLength(3);
        field->setToolTip(tr("Channel %1 to %2").arg(b * 50 + 1).arg(b * 50 + 50));
        form->addRow(tr("Bank %1:").arg(b + 1), field);
        d_fields[static_cast<std::size_t>(b)] = field;
    }
    body()->addLayout(form);
    std::array<int, 5> shown{};
    for (int b = 0; b < 5; ++b)
        shown[static_cast<std::size_t>(b)] = channels[static_cast<std::size_t>(b)];
    showChannels(shown);

    auto* buttons = new QHBoxLayout;
    auto* read = new QPushButton(tr("Read"), this);
    auto* send = new QPushButton(tr("Send"), this);
    auto* close = new QPushButton(tr("Close"), this);
    read->setObjectName(QStringLiteral("read"));
    send->setObjectName(QStringLiteral("send"));
    close->setObjectName(QStringLiteral("close"));
    buttons->addWidget(read);
    buttons->addWidget(send);
    buttons->addStretch();
    buttons->addWidget(close);
    body()->addLayout(buttons);
    addScannerControl(read);
    addScannerControl(send);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(read, &QPushButton::clicked, this, [this] {
        auto read = std::make_shared<std::array<int, 5>>();
        runJob(
            tr("Reading priority channels"),
            [read](ScannerJobs& jobs) { return jobs.readPriorities(*read); },
            [this, read](const ScannerJobResult& r) {
                if (!r.ok) return;
                showChannels(*read);
                setStatus(tr("Priority channels read."));
            });
    });
    connect(send, &QPushButton::clicked, this, [this] {
        const std::array<int, 5> values = this->channels();
        showChannels(values);
        runJob(
            tr("Sending priority channels"),
            [values](ScannerJobs& jobs) { return jobs.sendPriorities(values); },
            [this](const ScannerJobResult& r) {
                if (r.ok) setStatus(tr("Priority channels sent."));
            });
    });
}

void PriorityDialog::showChannels(const std::array<int, 5>& channels) {
    for (int b = 0; b < 5; ++b)
        d_fields[static_cast<std::size_t>(b)]->setText(QStringLiteral("%1").arg(
            channels[static_cast<std::size_t>(b)], 3, 10, QLatin1Char('0')));
}

std::array<int, 5> PriorityDialog::channels() const {
    std::array<int, 5> out{};
    for (int b = 0; b < 5; ++b) {
        const int n = IntegerValue(ToL1(d_fields[static_cast<std::size_t>(b)]->text()));
        out[static_cast<std::size_t>(b)] = static_cast<int>(std::clamp(n, 0, 250));
    }
    return out;
}

void OpenPriorityChannels(MemTab& main) {
    if (!MayOpenScannerDialog(main)) return;
    AppState& state = main.state();
    PriorityDialog dialog(state.image.PriorityChannel, state.options, state.com.baud,
                          ScannerDialogTransport(state.com), main.prompter(), &main);
    main.dialogs().exec(dialog);
    const std::array<int, 5> channels = dialog.channels();
    main.applyImageChange(QObject::tr("Priority channels"), [&](Image& image) {
        bool changed = false;
        for (int b = 0; b < 5; ++b) {
            const auto value = static_cast<std::int16_t>(channels[static_cast<std::size_t>(b)]);
            changed = changed || image.PriorityChannel[static_cast<std::size_t>(b)] != value;
            image.PriorityChannel[static_cast<std::size_t>(b)] = value;
        }
        return changed;
    });
}

}  // namespace vex::gui
