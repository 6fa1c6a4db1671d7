#include "gui/other82.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "gui/memtab.h"
#include "gui/prompter.h"

namespace vex::gui {

ScannerSettingsDialog::ScannerSettingsDialog(const Options& options, long baud,
                                             std::unique_ptr<Transport> transport,
                                             Prompter& prompter, QWidget* parent,
                                             std::unique_ptr<Scheduler> scheduler)
    : ScannerDialog(tr("Other Options"), options, baud, std::move(transport), std::move(scheduler),
                    prompter, false, parent) {
    setObjectName(QStringLiteral("other82"));
    auto* form = new QFormLayout;
    for (int i = 0; i < kMenuSettings; ++i) {
        const MenuSettingInfo& s = kMenuSettingInfo[static_cast<std::size_t>(i)];
        auto* list = new QComboBox(this);
        list->setObjectName(QStringLiteral("setting%1").arg(i));
        for (std::string_view c : s.choices)
            if (!c.empty()) list->addItem(L1(c));
        list->setCurrentIndex(-1);
        if (!s.written) list->setToolTip(tr("Read only: the scanner sets it itself"));
        form->addRow(L1(s.caption), list);
        d_lists[static_cast<std::size_t>(i)] = list;
    }
    body()->addLayout(form);

    auto* buttons = new QHBoxLayout;
    auto* read = new QPushButton(tr("Read from scanner"), this);
    auto* send = new QPushButton(tr("Send to scanner"), this);
    read->setObjectName(QStringLiteral("read"));
    send->setObjectName(QStringLiteral("send"));
    buttons->addWidget(read);
    buttons->addWidget(send);
    body()->addLayout(buttons);

    auto* reset = new QHBoxLayout;
    d_resetText = new QLineEdit(this);
    d_resetText->setObjectName(QStringLiteral("resetText"));
    d_resetText->setPlaceholderText(tr("type RESET"));
    auto* resetButton = new QPushButton(tr("Reset BCT8"), this);
    resetButton->setObjectName(QStringLiteral("reset"));
    reset->addWidget(d_resetText);
    reset->addWidget(resetButton);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("close"));
    reset->addStretch();
    reset->addWidget(close);
    body()->addLayout(reset);
    for (QPushButton* b : {read, send, resetButton}) {
        b->setAutoDefault(false);
        addScannerControl(b);
    }
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(read, &QPushButton::clicked, this, [this] {
        auto read = std::make_shared<std::array<int, kMenuSettings>>(choices());
        runJob(
            tr("Reading the settings"),
            [read](ScannerJobs& jobs) { return jobs.readSettings(*read); },
            [this, read](const ScannerJobResult& r) {
                // What was read before a failure is shown too.
                for (int i = 0; i < kMenuSettings; ++i)
                    d_lists[static_cast<std::size_t>(i)]->setCurrentIndex(
                        (*read)[static_cast<std::size_t>(i)]);
                if (r.ok) setStatus(tr("Settings read."));
            });
    });
    connect(send, &QPushButton::clicked, this, [this] {
        const std::array<int, kMenuSettings> chosen = choices();
        runJob(
            tr("Sending the settings"),
            [chosen](ScannerJobs& jobs) { return jobs.sendSettings(chosen); },
            [this](const ScannerJobResult& r) {
                if (r.ok) setStatus(tr("Settings sent."));
            });
    });
    connect(resetButton, &QPushButton::clicked, this, [this] { resetScanner(); });
}

std::array<int, kMenuSettings> ScannerSettingsDialog::choices() const {
    std::array<int, kMenuSettings> out{};
    for (int i = 0; i < kMenuSettings; ++i)
        out[static_cast<std::size_t>(i)] = d_lists[static_cast<std::size_t>(i)]->currentIndex();
    return out;
}

void ScannerSettingsDialog::resetScanner() {
    // Only the word in capitals opens the way.
    if (d_resetText->text() != QStringLiteral("RESET")) return;
    Question q;
    q.title = "Reset BCT8";
    q.text =
        "WARNING: This option will clear the ENTIRE memory of your scanner! Are you sure you "
        "want to continue?\n\nEvery channel, bank name, priority channel, trunk setting and "
        "trunk ID in the scanner is erased and cannot be brought back. Read the scanner into a "
        "file first if you want to keep them.";
    q.buttons = Question::Buttons::YesNo;
    q.warning = true;
    if (prompter().ask(this, q) != Answer::Yes) return;
    d_resetText->clear();
    runJob(
        tr("Clearing the scanner memory"), [](ScannerJobs& jobs) { return jobs.clearMemory(); },
        [this](const ScannerJobResult& r) {
            if (r.ok) setStatus(tr("The scanner memory is cleared."));
        });
}

void OpenScannerSettings(MemTab& main) {
    if (!MayOpenScannerDialog(main)) return;
    AppState& state = main.state();
    ScannerSettingsDialog dialog(state.options, state.com.baud, ScannerDialogTransport(state.com),
                                 main.prompter(), &main);
    main.dialogs().exec(dialog);
}

}  // namespace vex::gui
