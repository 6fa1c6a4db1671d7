#include "gui/vexcomm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/numeric.h"
#include "core/version.h"
#include "gui/prompter.h"
#include "link/kept_image.h"
#include "link/serial_trace.h"
#include "link/session.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace vex::gui {
namespace {

QString ThreeDigits(int channel) {
    return QStringLiteral("%1").arg(std::clamp(channel, 0, 999), 3, 10, QLatin1Char('0'));
}

constexpr int kDelayMin = 25;
constexpr int kDelayMax = 1000;
constexpr int kTraceLines = 5000;

}  // namespace

VexComm::VexComm(Mode mode, Image& image, const Options& options, const ComSettings& com,
                 std::filesystem::path programFolder, Prompter& prompter, QWidget* parent)
    : VexComm(mode, image, options, com.baud, MakeSerialTransport(com), std::move(programFolder),
              prompter, parent) {}

VexComm::VexComm(Mode mode, Image& image, const Options& options, long baud,
                 std::unique_ptr<Transport> transport, std::filesystem::path programFolder,
                 Prompter& prompter, QWidget* parent, std::unique_ptr<Scheduler> scheduler)
    : QDialog(parent),
      d_mode(mode),
      d_image(image),
      d_options(options),
      d_baud(baud),
      d_folder(std::move(programFolder)),
      d_scheduler(scheduler ? std::move(scheduler) : std::make_unique<QtScheduler>()),
      d_transport(std::move(transport)),
      d_serialTrace(std::make_unique<SerialTrace>(*d_scheduler)),
      d_choices(ReadTransferChoices(d_folder)),
      d_prompter(prompter) {
    d_serialTrace->setHeading("Vexatron " + std::string(ProgramVersion()) + " serial trace, " +
                              std::to_string(d_baud) + " baud");
    setObjectName(QStringLiteral("vexcomm"));
    setWindowTitle(mode == Mode::Read ? QStringLiteral("Read Data") : QStringLiteral("Send Data"));
    LinkConfig config;
    config.baud = d_baud;
    config.options = d_options;
    config.folder = d_folder;
    d_session = std::make_unique<LinkSession>(*d_transport, *d_scheduler, config);
    build();
    connectSession();
    updateControls();  // nothing to press until the start-up sequence has run
    d_status->setText(QStringLiteral("Opening port..."));
    QTimer::singleShot(0, this, [this] { openPort(); });
}

VexComm::~VexComm() {
    shutDown();
}

void VexComm::shutDown() {
    if (d_closing) return;
    d_closing = true;
    // A send cut short by closing leaves the scanner holding a mix nobody recorded.
    if (busy() && d_mode == Mode::Send && d_lastSend && d_detected)
        ForgetKeptImage(d_folder, d_identification);
    if (d_session) {
        d_session->setEvents({});
        d_session->stop();
        d_session->close();
    }
}

bool VexComm::busy() const {
    return d_session && d_session->busy();
}

void VexComm::build() {
    auto* layout = new QVBoxLayout(this);

    auto* data = new QGroupBox(d_mode == Mode::Read ? tr("Download") : tr("Upload"), this);
    auto* dataLayout = new QVBoxLayout(data);
    d_frequencies = new QCheckBox(QStringLiteral("Frequencies"), data);
    d_trunkIds = new QCheckBox(QStringLiteral("Trunk Id's"), data);
    d_trunkSettings = new QCheckBox(QStringLiteral("Trunk Bank Settings"), data);
    d_frequencies->setObjectName(QStringLiteral("frequencies"));
    d_trunkIds->setObjectName(QStringLiteral("trunkIds"));
    d_trunkSettings->setObjectName(QStringLiteral("trunkSettings"));
    // The last choice of this kind of window.
    const TransferItems& last = d_mode == Mode::Read ? d_choices.read : d_choices.send;
    d_frequencies->setChecked(last.frequencies);
    d_trunkIds->setChecked(last.trunkIds);
    d_trunkSettings->setChecked(last.trunkSettings);
    dataLayout->addWidget(d_frequencies);
    dataLayout->addWidget(d_trunkIds);
    dataLayout->addWidget(d_trunkSettings);
    if (d_mode == Mode::Read) {
        d_merge = new QCheckBox(QStringLiteral("Merge Data"), data);
        d_merge->setObjectName(QStringLiteral("merge"));
        d_merge->setToolTip(tr("Keep what is in memory instead of clearing it first"));
        d_merge->setChecked(d_choices.merge);
        dataLayout->addWidget(d_merge);
        // The names-read flag: shown, not set by the user.
        d_namesReadBox = new QCheckBox(tr("Names read"), data);
        d_namesReadBox->setObjectName(QStringLiteral("namesRead"));
        d_namesReadBox->setToolTip(
            tr("Bank names, trunk IDs or ID list tags have been read completely"));
        d_namesReadBox->setEnabled(false);
        dataLayout->addWidget(d_namesReadBox);
    }

    auto* area = new QGroupBox(tr("Memory"), this);
    auto* areaLayout = new QGridLayout(area);
    d_allBanks = new QRadioButton(QStringLiteral("All Banks"), area);
    d_singleBank = new QRadioButton(QStringLiteral("Single Bank:"), area);
    d_channelRange = new QRadioButton(QStringLiteral("Channel Range:"), area);
    d_allBanks->setObjectName(QStringLiteral("allBanks"));
    d_singleBank->setObjectName(QStringLiteral("singleBank"));
    d_channelRange->setObjectName(QStringLiteral("channelRange"));
    d_allBanks->setChecked(true);
    d_bankList = new QComboBox(area);
    d_bankList->setObjectName(QStringLiteral("bankList"));
    fillBankList();
    d_rangeStart = new QLineEdit(QStringLiteral("1"), area);
    d_rangeEnd = new QLineEdit(QStringLiteral("250"), area);
    d_rangeStart->setObjectName(QStringLiteral("rangeStart"));
    d_rangeEnd->setObjectName(QStringLiteral("rangeEnd"));
    for (QLineEdit* field : {d_rangeStart, d_rangeEnd}) {
        field->setMaxLength(4);
        field->setMaximumWidth(60);
    }
    areaLayout->addWidget(d_allBanks, 0, 0, 1, 2);
    areaLayout->addWidget(d_singleBank, 1, 0);
    areaLayout->addWidget(d_bankList, 1, 1, 1, 3);
    areaLayout->addWidget(d_channelRange, 2, 0);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(QStringLiteral("Start:"), area));
    rangeRow->addWidget(d_rangeStart);
    rangeRow->addWidget(new QLabel(QStringLiteral("End:"), area));
    rangeRow->addWidget(d_rangeEnd);
    rangeRow->addStretch();
    areaLayout->addLayout(rangeRow, 2, 1, 1, 3);
    for (QRadioButton* b : {d_allBanks, d_singleBank, d_channelRange}) {
        connect(b, &QRadioButton::toggled, this, [this] { updateControls(); });
    }
    // Picking a bank or typing a range chooses that option.
    connect(d_bankList, qOverload<int>(&QComboBox::activated), this,
            [this] { d_singleBank->setChecked(true); });
    connect(d_rangeStart, &QLineEdit::textEdited, this,
            [this] { d_channelRange->setChecked(true); });
    connect(d_rangeEnd, &QLineEdit::textEdited, this, [this] { d_channelRange->setChecked(true); });

    auto* top = new QHBoxLayout;
    top->addWidget(data);
    top->addWidget(area, 1);
    layout->addLayout(top);

    // What the main button will do, in words.
    d_plan = new QLabel(this);
    d_plan->setObjectName(QStringLiteral("plan"));
    d_plan->setWordWrap(true);
    layout->addWidget(d_plan);
    for (QCheckBox* box : {d_frequencies, d_trunkIds, d_trunkSettings, d_merge})
        if (box) connect(box, &QCheckBox::toggled, this, [this] { updatePlan(); });
    for (QRadioButton* b : {d_allBanks, d_singleBank, d_channelRange})
        connect(b, &QRadioButton::toggled, this, [this] { updatePlan(); });
    connect(d_bankList, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { updatePlan(); });
    for (QLineEdit* field : {d_rangeStart, d_rangeEnd})
        connect(field, &QLineEdit::textChanged, this, [this] { updatePlan(); });
    updatePlan();

    // The settle delay can be tuned at the fast speeds only.
    auto* delayRow = new QHBoxLayout;
    d_delayLabel = new QLabel(QStringLiteral("Delay:"), this);
    d_delaySlider = new QSlider(Qt::Horizontal, this);
    d_delaySlider->setObjectName(QStringLiteral("delaySlider"));
    d_delaySlider->setRange(kDelayMin, kDelayMax);
    d_delayField = new QLineEdit(this);
    d_delayField->setObjectName(QStringLiteral("delayField"));
    d_delayField->setValidator(new QIntValidator(0, 9999, d_delayField));
    d_delayField->setMaximumWidth(60);
    d_delayUnit = new QLabel(QStringLiteral("mS."), this);
    delayRow->addWidget(d_delayLabel);
    delayRow->addWidget(d_delaySlider, 1);
    delayRow->addWidget(d_delayField);
    delayRow->addWidget(d_delayUnit);
    layout->addLayout(delayRow);
    const bool fast = d_baud >= 19200;
    for (QWidget* w :
         std::initializer_list<QWidget*>{d_delayLabel, d_delaySlider, d_delayField, d_delayUnit}) {
        w->setVisible(fast);
    }
    setDelay(std::max(kDelayMin, d_options.delay1));
    connect(d_delaySlider, &QSlider::valueChanged, this, [this](int ms) { setDelay(ms); });
    connect(d_delayField, &QLineEdit::editingFinished, this,
            [this] { setDelay(IntegerValue(d_delayField->text().toStdString())); });
    // Enter in the delay field sets the delay; it must not also start a transfer.
    d_delayField->installEventFilter(this);

    auto* fields = new QGridLayout;
    d_channel = new QLineEdit(QStringLiteral("000"), this);
    d_status = new QLineEdit(this);
    d_reply = new QLineEdit(this);
    d_channel->setObjectName(QStringLiteral("channel"));
    d_status->setObjectName(QStringLiteral("status"));
    d_reply->setObjectName(QStringLiteral("reply"));
    for (QLineEdit* f : {d_channel, d_status, d_reply}) {
        f->setReadOnly(true);
        f->setFocusPolicy(Qt::NoFocus);
    }
    d_channel->setMaximumWidth(60);
    d_scanner = new QLabel(this);
    d_scanner->setObjectName(QStringLiteral("scanner"));
    d_scanner->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fields->addWidget(new QLabel(tr("Channel:"), this), 0, 0);
    fields->addWidget(d_channel, 0, 1);
    fields->addWidget(new QLabel(tr("Status:"), this), 0, 2);
    fields->addWidget(d_status, 0, 3);
    fields->addWidget(new QLabel(tr("Scanner:"), this), 1, 0);
    fields->addWidget(d_scanner, 1, 1);
    fields->addWidget(new QLabel(tr("Reply:"), this), 1, 2);
    fields->addWidget(d_reply, 1, 3);
    fields->setColumnStretch(3, 1);
    layout->addLayout(fields);

    d_progress = new QProgressBar(this);
    d_progress->setObjectName(QStringLiteral("progress"));
    d_progress->setRange(0, 1);
    d_progress->setValue(0);
    layout->addWidget(d_progress);

    if (d_mode == Mode::Read) {
        // Each part of a download on its own.
        auto* steps = new QHBoxLayout;
        struct StepButton {
            const char* caption;
            const char* name;
            Step step;
            const char* tip;
        };
        const StepButton stepButtons[] = {
            {"Read F Data", "readFrequencies", Step::Frequencies, "Read the channels only"},
            {"Read T Data", "readTrunkData", Step::TrunkData, "Read trunk IDs and bank settings"},
            {"get trunksettings", "readTrunkSettings", Step::TrunkSettings,
             "Read the trunk settings of the banks"},
            {"&Get trunktype", "readTrunkTypes", Step::TrunkTypes,
             "Read the trunk type of each bank"},
            {"&Get names", "readBankNames", Step::BankNames, "Read the scanner's bank names"},
            {"read ID", "readTrunkIds", Step::TrunkIds, "Read the trunk IDs"},
            {"read ID lists tag", "readIdListTags", Step::IdListTags, "Read the ID list tags"},
        };
        for (const StepButton& b : stepButtons) {
            auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
            button->setObjectName(QString::fromLatin1(b.name));
            button->setToolTip(tr(b.tip));
            button->setAutoDefault(false);
            const Step step = b.step;
            connect(button, &QPushButton::clicked, this, [this, step] { runStep(step); });
            steps->addWidget(button);
            d_stepButtons.push_back(button);
        }
        steps->addStretch();
        layout->addLayout(steps);
    }

    // The serial trace: what went out and came back, with times, for a bug report.
    d_traceToggle = new QCheckBox(tr("Show serial &trace"), this);
    d_traceToggle->setObjectName(QStringLiteral("traceToggle"));
    d_trace = new QPlainTextEdit(this);
    d_trace->setObjectName(QStringLiteral("trace"));
    d_trace->setReadOnly(true);
    d_trace->setMaximumBlockCount(kTraceLines);
    d_trace->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    d_trace->setVisible(false);
    connect(d_traceToggle, &QCheckBox::toggled, this, [this](bool on) {
        d_trace->setVisible(on);
        if (on) {
            // The newest lines, as many as the view keeps.
            const auto& lines = d_serialTrace->lines();
            const std::size_t from = lines.size() > static_cast<std::size_t>(kTraceLines)
                                         ? lines.size() - kTraceLines
                                         : 0;
            QStringList shown;
            for (std::size_t i = from; i < lines.size(); ++i) shown << L1(lines[i]);
            d_trace->setPlainText(shown.join(QLatin1Char('\n')));
            d_trace->moveCursor(QTextCursor::End);
        }
    });
    d_saveTrace = new QPushButton(tr("Save T&race..."), this);
    d_saveTrace->setObjectName(QStringLiteral("saveTrace"));
    d_saveTrace->setToolTip(tr("Save the serial trace to a file to attach to a bug report"));
    d_saveTrace->setAutoDefault(false);
    connect(d_saveTrace, &QPushButton::clicked, this, [this] { saveTrace(); });
    auto* traceRow = new QHBoxLayout;
    traceRow->addWidget(d_traceToggle);
    traceRow->addStretch();
    traceRow->addWidget(d_saveTrace);
    layout->addLayout(traceRow);
    layout->addWidget(d_trace, 1);

    auto* buttons = new QHBoxLayout;
    d_start = new QPushButton(
        d_mode == Mode::Read ? QStringLiteral("Read Data") : QStringLiteral("&Send Data"), this);
    d_start->setObjectName(QStringLiteral("start"));
    d_start->setDefault(true);
    buttons->addWidget(d_start);
    if (d_mode == Mode::Send) {
        d_delete = new QPushButton(QStringLiteral("&Delete Bank"), this);
        d_delete->setObjectName(QStringLiteral("deleteBank"));
        buttons->addWidget(d_delete);
        connect(d_delete, &QPushButton::clicked, this, [this] { deleteBank(); });
    }
    d_stop = new QPushButton(QStringLiteral("STOP"), this);
    d_stop->setObjectName(QStringLiteral("stop"));
    d_stop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
    d_stop->setToolTip(tr("Stop the transfer (Ctrl+.)"));
    d_close = new QPushButton(tr("&Close"), this);
    d_close->setObjectName(QStringLiteral("close"));
    buttons->addStretch();
    buttons->addWidget(d_stop);
    buttons->addWidget(d_close);
    layout->addLayout(buttons);

    connect(d_start, &QPushButton::clicked, this, [this] { startTransfer(); });
    connect(d_stop, &QPushButton::clicked, this, [this] { stopTransfer(); });
    connect(d_close, &QPushButton::clicked, this, [this] { reject(); });
}

void VexComm::fillBankList() {
    const int chosen = d_bankList->currentIndex();
    d_bankList->clear();
    for (int b = 0; b < kScannerBanks; ++b) {
        const int first = b * ChannelsPerBank + 1;
        QString text = QStringLiteral("%1 - %2-%3").arg(b + 1).arg(first).arg(first + 49);
        if (!d_scannerNames[b].empty()) text += QStringLiteral("  ") + L1(d_scannerNames[b]);
        if (d_mode == Mode::Send) {
            bool empty = true;
            for (int s = 1; s <= ChannelsPerBank && empty; ++s)
                empty = IsEmptyChannel(d_image, b, s);
            text = QStringLiteral("%1: %2").arg(b + 1).arg(L1(d_image.BankTag[b]).trimmed());
            if (empty) text += QStringLiteral("  -  EMPTY");
        }
        d_bankList->addItem(text);
    }
    d_bankList->setCurrentIndex(chosen);
}

void VexComm::updateControls() {
    const bool running = d_job != Job::None;
    // The choices can be made while the trunk types are being read on opening; the transfers
    // wait for them, as they take those types.
    const bool choices = (d_ready && !running) || d_job == Job::OpenTypes;
    const bool actions = d_ready && !running;
    for (QWidget* w : std::initializer_list<QWidget*>{d_frequencies, d_trunkIds, d_trunkSettings,
                                                      d_allBanks, d_singleBank, d_channelRange,
                                                      d_bankList, d_rangeStart, d_rangeEnd}) {
        w->setEnabled(choices);
    }
    if (d_merge) d_merge->setEnabled(choices);
    d_start->setEnabled(actions);
    if (d_delete) d_delete->setEnabled(actions);
    for (QPushButton* b : d_stepButtons) b->setEnabled(actions);
    d_stop->setEnabled(running);
    // The busy pointer over the window while the scanner is being talked to; STOP still works.
    if (running || !d_ready) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void VexComm::setNamesRead(bool on) {
    d_namesRead = on;
    if (d_namesReadBox) d_namesReadBox->setChecked(on);
}

void VexComm::setDelay(int ms) {
    ms = std::clamp(ms, kDelayMin, kDelayMax);
    d_options.delay1 = ms;
    if (d_session) d_session->setDelay1(ms);
    if (d_delaySlider->value() != ms) d_delaySlider->setValue(ms);
    const QString text = QString::number(ms);
    if (d_delayField->text() != text) d_delayField->setText(text);
}

void VexComm::connectSession() {
    LinkEvents events;
    events.progress = [this](const LinkProgress& p) { onProgress(p); };
    events.reply = [this](std::string_view reply) { d_reply->setText(L1(reply)); };
    events.trace = [this](std::string_view text) {
        const std::string& line = d_serialTrace->record(text);
        if (d_trace->isVisible()) d_trace->appendPlainText(L1(line));
    };
    events.ask = [this](const Question& q, std::function<void(bool)> answer) {
        // Asked from inside the transfer: answer on the next turn of the event loop, so the
        // message box's own loop never runs inside the link.
        QTimer::singleShot(0, this,
                           [this, q, answer] { answer(d_prompter.ask(this, q) == Answer::Yes); });
    };
    events.finished = [this](const TransferResult& result) {
        // What the scanner now holds is noted at once, even when the window closes before the
        // result is shown.
        const QString note = recordTransfer(result, d_job);
        // Finished may come from inside stop(); let the caller return first.
        auto copy = std::make_shared<TransferResult>(result);
        QTimer::singleShot(0, this, [this, copy, note] {
            onFinished(*copy);
            if (!note.isEmpty() && !d_closing) tell(windowTitle(), note, false);
        });
    };
    d_session->setEvents(std::move(events));
}

void VexComm::openPort() {
    if (d_closing) return;
    d_session->open([this](const OpenResult& result) {
        if (!result.port.ok()) {
            // The window stays, so the user can pick another way or try again with Read/Send.
            d_ready = true;
            updateControls();
            d_status->setText(L1(result.port.message));
            d_scanner->setText(tr("port not open"));
            QString text = L1(result.port.message);
            if (!result.port.detail.empty())
                text += QStringLiteral("\n\n") + L1(result.port.detail);
            tell(windowTitle(), text, true);
            emit opened(false);
            emit readied();
            return;
        }
        d_scanner->setText(result.detected ? L1(result.identification) : tr("no BCT8 answered"));
        d_identification = result.identification;
        d_detected = result.detected;
        if (!result.warnings.empty()) {
            QStringList lines;
            for (const std::string& w : result.warnings) lines << L1(w);
            const QString text = lines.join(QLatin1Char('\n'));
            QTimer::singleShot(0, this, [this, text] { tell(windowTitle(), text, false); });
        }
        setNamesRead(false);
        emit opened(true);
        // The scanner's trunk types: what a read takes and what a send compares with. Started
        // on the next turn, once the link has finished with the start-up sequence.
        d_job = Job::OpenTypes;
        updateControls();
        QTimer::singleShot(0, this, [this] {
            if (!d_closing) d_session->startReadTrunkTypes(d_image);
        });
    });
}

bool VexComm::takeRange(int max, int& start, int& end) {
    // Out-of-range fields are rewritten where the user sees them.
    const std::string s = ClampRangeField(d_rangeStart->text().toLatin1().toStdString(), max);
    const std::string e = ClampRangeField(d_rangeEnd->text().toLatin1().toStdString(), max);
    d_rangeStart->setText(L1(s));
    d_rangeEnd->setText(L1(e));
    start = IntegerValue(s);
    end = IntegerValue(e);
    return true;
}

void VexComm::updatePlan() {
    TransferArea area = TransferArea::None;
    if (d_allBanks->isChecked()) area = TransferArea::AllBanks;
    if (d_singleBank->isChecked()) area = TransferArea::SingleBank;
    if (d_channelRange->isChecked()) area = TransferArea::ChannelRange;
    const TransferItems items{d_frequencies->isChecked(), d_trunkIds->isChecked(),
                              d_trunkSettings->isChecked()};
    const std::string what =
        DescribeTransfer(items, area, d_bankList->currentIndex(),
                         IntegerValue(d_rangeStart->text().toLatin1().toStdString()),
                         IntegerValue(d_rangeEnd->text().toLatin1().toStdString()));
    QString text;
    if (what.empty()) {
        text = tr("Nothing chosen: tick what to transfer.");
    } else if (d_mode == Mode::Read) {
        text = tr("Read Data reads %1 from the scanner").arg(L1(what));
        text += d_merge->isChecked() ? tr(", merged into the open table.")
                                     : tr(", replacing them in the open table.");
    } else {
        text = tr("Send Data writes %1 into the scanner.").arg(L1(what));
    }
    d_plan->setText(text);
}

void VexComm::rememberChoices(const TransferItems& items) {
    (d_mode == Mode::Read ? d_choices.read : d_choices.send) = items;
    saveChoices();
}

void VexComm::saveChoices() {
    if (d_merge) d_choices.merge = d_merge->isChecked();
    if (d_choices == ReadTransferChoices(d_folder)) return;
    const WriteResult written = WriteTransferChoices(d_choices, d_folder);
    if (!written.ok)
        tell(windowTitle(),
             tr("Your choices could not be remembered: %1 could not be written (%2).")
                 .arg(L1(kTransferChoicesName), L1(written.error)),
             false);
}

void VexComm::confirmTagLoss(ReadRequest& request) {
    if (request.merge || d_choices.dropTags) return;
    const ReadLosses losses = CountReadLosses(d_image, request);
    if (losses.channelTags == 0 && losses.idTags == 0) return;
    const bool merge =
        ask(windowTitle(),
            tr("The scanner does not store tags: reading without Merge Data replaces %1 channel "
               "tags and %2 ID tags of the open table with empty ones.\n\nMerge the read into the "
               "table instead, keeping the tags? (Yes: Merge Data; No: read and lose the tags. "
               "Your answer is remembered.)")
                .arg(losses.channelTags)
                .arg(losses.idTags),
            true);
    if (merge) {
        d_merge->setChecked(true);
        request.merge = true;
    } else {
        d_choices.dropTags = true;
    }
    saveChoices();
}

void VexComm::startTransfer() {
    TransferItems items;
    items.frequencies = d_frequencies->isChecked();
    items.trunkIds = d_trunkIds->isChecked();
    items.trunkSettings = d_trunkSettings->isChecked();
    startItems(items, Job::Main);
}

void VexComm::startItems(const TransferItems& items, Job job) {
    if (busy() || !d_ready || d_job != Job::None) return;
    TransferArea area = TransferArea::None;
    if (d_allBanks->isChecked()) area = TransferArea::AllBanks;
    if (d_singleBank->isChecked()) area = TransferArea::SingleBank;
    if (d_channelRange->isChecked()) area = TransferArea::ChannelRange;
    int start = 1, end = 250;
    if (area == TransferArea::ChannelRange)
        takeRange(d_mode == Mode::Read ? 250 : 1000, start, end);

    d_reply->clear();
    d_progress->setRange(0, 1);
    d_progress->setValue(0);
    d_progress->setFormat(QStringLiteral("%p%"));
    if (d_mode == Mode::Read) {
        ReadRequest request;
        request.items = items;
        request.reuseTrunkTypes = true;
        request.area = area;
        request.bank = d_bankList->currentIndex();
        request.rangeStart = start;
        request.rangeEnd = end;
        request.merge = d_merge->isChecked();
        // A range read leaves the flag as it was; without it here the flag would drop.
        request.singleBankFlag = d_singleBankFlag;
        confirmTagLoss(request);
        if (job == Job::Main) rememberChoices(items);
        d_job = job;
        d_walk.start(items.frequencies);
        updateControls();
        d_session->startRead(d_image, request);
    } else {
        SendRequest request;
        request.items = items;
        request.area = area;
        request.bank = d_bankList->currentIndex();
        request.rangeStart = start;
        request.rangeEnd = end;
        request.singleBankFlag = d_singleBankFlag;
        request.reuseTrunkTypes = true;
        if (job == Job::Main) rememberChoices(items);
        d_job = job;
        d_walk.start(false);
        updateControls();
        d_lastSend = std::make_unique<SendRequest>(request);
        d_session->startSend(d_image, request);
    }
}

void VexComm::readIntoCopy(Image& copy) {
    d_copy = &copy;
    d_copyRead = false;
    setWindowTitle(tr("Compare With Scanner"));
    d_plan->setText(
        tr("Reads the scanner's memory to compare it with the open table, which "
           "stays as it is."));
    if (d_ready && !busy() && d_job == Job::None) startCopyRead();
}

void VexComm::startCopyRead() {
    if (busy() || d_job != Job::None) return;
    ReadRequest request;
    request.items = {true, true, true};
    request.area = TransferArea::AllBanks;
    request.merge = true;
    request.reuseTrunkTypes = true;
    d_reply->clear();
    d_job = Job::Main;
    d_walk.start(true);
    updateControls();
    d_session->startRead(*d_copy, request);
}

void VexComm::sendChanges() {
    d_changesAsked = true;
    setWindowTitle(tr("Send Changes"));
    d_plan->setText(
        tr("Send Changes writes what differs from the scanner's memory as the last "
           "complete read or send left it. Changes made on the scanner's own keypad "
           "since the last transfer are not seen."));
    if (d_ready && !busy() && d_job == Job::None) startChanges();
}

void VexComm::sendEverything() {
    d_allBanks->setChecked(true);
    d_frequencies->setChecked(true);
    d_trunkIds->setChecked(true);
    d_trunkSettings->setChecked(true);
    updatePlan();
    startTransfer();
}

void VexComm::startChanges() {
    d_changesAsked = false;
    if (busy() || d_job != Job::None) return;
    if (!d_detected) {
        // The whole send says what is wrong with the line in its own words.
        tell(windowTitle(),
             tr("No BCT8 answered when the port opened, so it is not known which scanner's "
                "memory to compare with. Check the port, the speed and remote mode."),
             true);
        return;
    }
    const KeptImage kept = LoadKeptImage(d_folder, d_identification);
    if (!kept.image) {
        QString why = tr("No copy of what the scanner \"%1\" holds is kept: it is made by a "
                         "complete read or send with this scanner.")
                          .arg(L1(d_identification));
        if (!kept.problem.empty()) why += QStringLiteral(" (") + L1(kept.problem) + ')';
        d_status->setText(why);
        if (ask(windowTitle(), why + tr("\n\nSend the whole image instead?"), false))
            sendEverything();
        return;
    }
    SendRequest request;
    request.plan = PlanChanges(*kept.image, d_image);
    if (request.plan->empty()) {
        d_status->setText(tr("Nothing to send: the scanner holds the open table."));
        tell(windowTitle(),
             tr("Nothing has changed since the last transfer with this scanner: there is "
                "nothing to send.\n\nChanges made on the scanner's own keypad since then "
                "are not seen."),
             false);
        return;
    }
    request.items = {request.plan->channelCount() > 0, request.plan->trunkIdCount() > 0,
                     request.plan->bankCount() > 0};
    request.area = TransferArea::AllBanks;
    request.singleBankFlag = d_singleBankFlag;
    request.reuseTrunkTypes = true;
    d_plan->setText(tr("Send Changes writes %1 into the scanner. Changes made on the scanner's "
                       "own keypad since the last transfer are not seen.")
                        .arg(L1(DescribePlan(*request.plan))));
    d_reply->clear();
    d_progress->setRange(0, 1);
    d_progress->setValue(0);
    d_progress->setFormat(QStringLiteral("%p%"));
    d_job = Job::Main;
    d_walk.start(false);
    updateControls();
    d_lastSend = std::make_unique<SendRequest>(request);
    d_session->startSend(d_image, request);
}

QString VexComm::recordTransfer(const TransferResult& result, Job job) {
    if (!d_detected || (job != Job::Main && job != Job::Step && job != Job::Delete)) return {};
    if (job == Job::Delete) {
        // A cleared bank is not in the kept image; a send of changes must not rely on it.
        if (result.outcome != TransferOutcome::Refused) ForgetKeptImage(d_folder, d_identification);
        return {};
    }
    // Only the send that just ended is recorded, once.
    const std::unique_ptr<SendRequest> sent = std::move(d_lastSend);
    std::string note;
    if (d_mode == Mode::Read && result.outcome == TransferOutcome::Completed)
        note = RecordRead(d_folder, d_identification, result);
    if (d_mode == Mode::Send && sent)
        note = RecordSend(d_folder, d_identification, d_image, *sent, d_options, result.outcome);
    return L1(note);
}

void VexComm::deleteBank() {
    if (busy() || !d_ready || d_job != Job::None) return;
    d_job = Job::Delete;
    updateControls();
    d_session->startDeleteBank(d_bankList->currentIndex());
}

void VexComm::runStep(Step step) {
    if (busy() || !d_ready || d_job != Job::None) return;
    switch (step) {
        case Step::Frequencies:
            return startItems({true, false, false}, Job::Step);
        case Step::TrunkData:
            return startItems({false, true, true}, Job::Step);
        case Step::TrunkSettings:
            return startItems({false, false, true}, Job::Step);
        case Step::TrunkIds:
            return startItems({false, true, false}, Job::Step);
        default:
            break;
    }
    d_reply->clear();
    d_job = step == Step::BankNames ? Job::Names : Job::Step;
    d_walk.start(false);
    updateControls();
    if (step == Step::TrunkTypes) d_session->startReadTrunkTypes(d_image);
    if (step == Step::BankNames) d_session->startReadBankNames();
    if (step == Step::IdListTags) d_session->startReadIdListTags(d_image);
}

void VexComm::stopTransfer() {
    if (busy()) d_session->stop();
}

void VexComm::onProgress(const LinkProgress& progress) {
    if (d_closing) return;
    d_status->setText(L1(progress.status));
    d_channel->setText(ThreeDigits(progress.channel));
    d_walk.see(progress);
    if (progress.total > 0) {
        // Each phase has its own count; the bar names the phase it counts.
        d_progress->setFormat(progress.phase.empty() ? QStringLiteral("%p%")
                                                     : L1(progress.phase) + tr(": %p%"));
        d_progress->setRange(0, progress.total);
        d_progress->setValue(std::clamp(progress.done, 0, progress.total));
    }
}

void VexComm::onFinished(const TransferResult& result) {
    if (d_closing) return;
    const Job job = std::exchange(d_job, Job::None);
    updateControls();
    // A completed transfer shows a full bar; one that ended early shows where it ended.
    if (result.outcome == TransferOutcome::Completed) {
        d_progress->setFormat(tr("Done: %p%"));
        d_progress->setRange(0, 1);
        d_progress->setValue(1);
    } else if (result.outcome == TransferOutcome::Refused) {
        d_progress->setFormat(QStringLiteral("%p%"));
        d_progress->setRange(0, 1);
        d_progress->setValue(0);
    }
    setNamesRead(result.namesRead);
    if (job == Job::OpenTypes) {
        onOpenTypesFinished(result);
        return;
    }
    const auto outcome = result.outcome;
    const QString title = result.title.empty() ? windowTitle() : L1(result.title);
    if (job == Job::Main || job == Job::Step) d_singleBankFlag = result.singleBankFlag;
    if (d_copy && job == Job::Main) {
        // A read for comparing: the copy takes it, the open image stays as it is.
        if (outcome == TransferOutcome::Completed) {
            *d_copy = result.image;
            d_copyRead = true;
            emit transferFinished(static_cast<int>(outcome));
            accept();
            return;
        }
        if (!result.message.empty()) {
            d_status->setText(L1(result.message));
            tell(title, L1(result.message),
                 outcome == TransferOutcome::Failed || result.title == "Error");
        }
        emit transferFinished(static_cast<int>(outcome));
        return;
    }
    if (outcome == TransferOutcome::Completed) {
        QStringList warnings;
        for (const std::string& w : result.warnings) warnings << L1(w);
        if (d_mode == Mode::Read && (job == Job::Main || job == Job::Step)) {
            d_image = result.image;
            d_imageReplaced = true;
        }
        if (job == Job::Names) {
            d_scannerNames = result.bankNames;
            fillBankList();
        }
        if (!warnings.isEmpty()) tell(windowTitle(), warnings.join(QLatin1Char('\n')), false);
        emit transferFinished(static_cast<int>(outcome));
        // A completed read is done with this window; the main window shows the new data.
        if (d_mode == Mode::Read && job == Job::Main) accept();
        return;
    }
    const bool halfway = outcome == TransferOutcome::Stopped || outcome == TransferOutcome::Failed;
    if (halfway && result.hasData && d_mode == Mode::Read &&
        (job == Job::Main || job == Job::Step)) {
        if (!result.message.empty()) d_status->setText(L1(result.message));
        const bool kept = offerPartialRead(result);
        emit transferFinished(static_cast<int>(outcome));
        // Kept like a completed read, it ends the window the same way.
        if (kept && job == Job::Main) accept();
        return;
    }
    if (outcome == TransferOutcome::Stopped) {
        d_status->setText(result.message.empty() ? QStringLiteral("Transfer stopped.")
                                                 : L1(result.message));
        // A send stopped half way has changed the scanner: say how.
        if (d_mode == Mode::Send && result.message.find('\n') != std::string::npos)
            tell(title, L1(result.message), false);
    } else if (!result.message.empty()) {
        d_status->setText(L1(result.message));
        tell(title, L1(result.message),
             outcome == TransferOutcome::Failed || result.title == "Error");
    }
    emit transferFinished(static_cast<int>(outcome));
}

void VexComm::onOpenTypesFinished(const TransferResult& result) {
    d_ready = true;
    updateControls();
    // The image is left alone: a read takes these types into what it reads, a send compares
    // with them. A scanner that does not answer is told in the status field only; the
    // transfers read the types again when they start.
    if (result.outcome == TransferOutcome::Completed) {
        d_status->setText(QStringLiteral("Trunk type read Ok"));
    } else if (result.outcome == TransferOutcome::Stopped) {
        d_status->setText(result.message.empty() ? QStringLiteral("Transfer stopped.")
                                                 : L1(result.message));
    } else if (!result.message.empty()) {
        d_status->setText(L1(result.message));
        // The link itself gave up (line lost, no line end): that deserves more than a status.
        if (!result.title.empty()) tell(L1(result.title), L1(result.message), true);
    }
    emit readied();
    // Compare With Scanner and Send Changes start by themselves once the window is ready.
    if (d_copy && !d_copyRead) QTimer::singleShot(0, this, [this] { startCopyRead(); });
    if (d_changesAsked) QTimer::singleShot(0, this, [this] { startChanges(); });
}

bool VexComm::offerPartialRead(const TransferResult& result) {
    // Only what the read covered replaces the table; the rest stays as it is.
    const QString text = L1(partialReadQuestion(result, d_walk.stoppedInWalk(result)));
    if (!ask(windowTitle(), text, true)) {
        d_status->setText(d_status->text() + QStringLiteral(" Nothing was kept."));
        return false;
    }
    TakeReadPart(result, d_image);
    d_imageReplaced = true;
    d_partialKept = true;
    d_status->setText(QStringLiteral("Kept what was read before the read stopped."));
    return true;
}

bool VexComm::ask(const QString& title, const QString& text, bool warning) {
    Question question;
    question.title = ToL1(title);
    question.text = ToL1(text);
    question.warning = warning;
    return d_prompter.ask(this, question) == Answer::Yes;
}

void VexComm::tell(const QString& title, const QString& text, bool error) {
    d_prompter.tell(this, title, text, error ? NoticeIcon::Critical : NoticeIcon::Information);
}

void VexComm::saveTrace() {
    const QString caption = tr("Save Serial Trace");
    const QString filter = tr("Text Files (*.txt);;All Files (*)");
    const QString name =
        d_prompter.suggestSaveFileName(this, caption, filter, QStringLiteral("serial-trace.txt"));
    if (name.isEmpty()) return;
    const std::filesystem::path path(name.toStdString());
    if (const WriteResult written = WriteSerialTrace(*d_serialTrace, path); !written) {
        tell(caption,
             tr("The trace could not be saved to %1:\n%2")
                 .arg(name, QString::fromStdString(written.error)),
             true);
        return;
    }
    d_status->setText(tr("Trace saved to %1").arg(name));
}

bool VexComm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == d_delayField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            setDelay(IntegerValue(d_delayField->text().toStdString()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void VexComm::done(int result) {
    shutDown();
    QDialog::done(result);
}

void VexComm::closeEvent(QCloseEvent* event) {
    shutDown();
    QDialog::closeEvent(event);
}

}  // namespace vex::gui
