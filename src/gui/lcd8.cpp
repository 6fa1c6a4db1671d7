#include "gui/lcd8.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/memtab.h"
#include "gui/prompter.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace vex::gui {
namespace {

QPointer<Lcd8> g_panel;

constexpr int kLogRows = 2000;  // the grid keeps the latest receptions; idlog.txt keeps all
const QColor kLcdBack(0xb8, 0xc8, 0x8c);
const QColor kLcdInk(0x10, 0x18, 0x10);
const QColor kLcdFaint(0xa4, 0xb4, 0x7c);

struct Shortcut {
    std::string_view caption;
    bool held;
    QKeySequence key;
};
const Shortcut kShortcuts[] = {
    {"DELAY", false, QKeySequence(Qt::Key_D)},
    {"L/O", false, QKeySequence(Qt::Key_L)},
    {"L/O", true, QKeySequence(Qt::SHIFT | Qt::Key_L)},
    {"DATA", false, QKeySequence(Qt::Key_A)},
    {"PRI", false, QKeySequence(Qt::Key_P)},
    {"PRI", true, QKeySequence(Qt::SHIFT | Qt::Key_P)},
    {"STATE", false, QKeySequence(Qt::Key_E)},
    {"PVT", false, QKeySequence(Qt::Key_R)},
    {"SVC", false, QKeySequence(Qt::Key_V)},
    {"SRCH", false, QKeySequence(Qt::Key_S)},
    {"TRUNK", false, QKeySequence(Qt::Key_T)},
    {"TRUNK", true, QKeySequence(Qt::SHIFT | Qt::Key_T)},
    {"UP", false, QKeySequence(Qt::Key_Up)},
    {"DOWN", false, QKeySequence(Qt::Key_Down)},
    {"HLD/RES", false, QKeySequence(Qt::Key_H)},
    {"HLD/RES", false, QKeySequence(Qt::Key_Space)},
    {".", false, QKeySequence(Qt::Key_Period)},
    {"ENTER", false, QKeySequence(Qt::Key_Return)},
    {"ENTER", false, QKeySequence(Qt::Key_Enter)},
    {"ENTER", true, QKeySequence(Qt::SHIFT | Qt::Key_Return)},
};

const PanelKey* FindKey(std::string_view caption, PanelKey& digit) {
    for (const PanelKey& k : kFunctionKeys)
        if (k.caption == caption) return &k;
    if (caption == kPointKey.caption) return &kPointKey;
    if (caption == kEnterKey.caption) return &kEnterKey;
    if (caption.size() == 1 && caption[0] >= '0' && caption[0] <= '9') {
        digit = {caption, {}, {}};
        return &digit;
    }
    return nullptr;
}

}  // namespace

// --- the display ---------------------------------------------------------------------------

LcdView::LcdView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("lcd"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize LcdView::sizeHint() const {
    return {460, 224};
}

void LcdView::setDisplay(const PanelDisplay& display) {
    if (display == d_display && d_notice.isEmpty()) return;
    d_display = display;
    d_notice.clear();
    update();
}

void LcdView::setNoScanner(const QString& text) {
    if (text == d_notice) return;
    d_notice = text;
    update();
}

void LcdView::paintEvent(QPaintEvent*) {
    ++d_paints;
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF glass = QRectF(rect()).adjusted(4, 4, -4, -4);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kLcdInk, 2));
    p.setBrush(kLcdBack);
    p.drawRoundedRect(glass, 8, 8);

    QFont small = font();
    small.setPixelSize(10);
    small.setBold(true);
    QFont big = font();
    big.setPixelSize(34);
    big.setFamily(QStringLiteral("Monospace"));
    big.setStyleHint(QFont::Monospace);
    big.setBold(true);
    QFont text = big;
    text.setPixelSize(15);

    const bool live = d_notice.isEmpty();
    // Indicators: three rows of ten across the top.
    const double cellW = (glass.width() - 16) / 10.0;
    for (int i = 0; i < kIndicatorCount; ++i) {
        const bool on = live && d_display.indicators[static_cast<std::size_t>(i)];
        const QRectF cell(glass.left() + 8 + (i % 10) * cellW, glass.top() + 6 + (i / 10) * 14,
                          cellW, 14);
        p.setFont(small);
        p.setPen(on ? kLcdInk : kLcdFaint);
        p.drawText(cell, Qt::AlignCenter,
                   QString::fromLatin1(kIndicatorLabels[static_cast<std::size_t>(i)].data(),
                                       static_cast<qsizetype>(
                                           kIndicatorLabels[static_cast<std::size_t>(i)].size())));
    }
    // Bank digits, channel and frequency.
    const double row = glass.top() + 56;
    p.setFont(text);
    for (int b = 0; b < 5; ++b) {
        const bool on = live && b < static_cast<int>(d_display.banks.size()) &&
                        d_display.banks[static_cast<std::size_t>(b)] == '*';
        p.setPen(on ? kLcdInk : kLcdFaint);
        p.drawText(QRectF(glass.left() + 10 + b * 16, row, 16, 20), Qt::AlignCenter,
                   QString::number(b + 1));
    }
    p.setFont(big);
    p.setPen(kLcdInk);
    const QString channel = live ? L1(d_display.channel) : QStringLiteral("---");
    p.drawText(QRectF(glass.left() + 96, row - 6, 100, 40), Qt::AlignLeft | Qt::AlignVCenter,
               channel);
    const QString frequency =
        live && !d_display.frequency.empty() ? L1(d_display.frequency) : QStringLiteral("---.----");
    p.drawText(QRectF(glass.left() + 190, row - 6, glass.width() - 200, 40),
               Qt::AlignRight | Qt::AlignVCenter, frequency);
    // STATUS, TAG and the mode line.
    p.setFont(text);
    const double lines = row + 44;
    p.drawText(QRectF(glass.left() + 10, lines, 80, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("STATUS:"));
    p.drawText(QRectF(glass.left() + 10, lines + 24, 80, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("TAG:"));
    p.drawText(QRectF(glass.left() + 90, lines, glass.width() - 100, 22),
               Qt::AlignLeft | Qt::AlignVCenter, live ? L1(d_display.status) : QString());
    p.drawText(QRectF(glass.left() + 90, lines + 24, glass.width() - 100, 22),
               Qt::AlignLeft | Qt::AlignVCenter, live ? L1(d_display.tag) : QString());
    p.setFont(small);
    p.drawText(QRectF(glass.left() + 10, glass.bottom() - 22, glass.width() - 20, 18),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               live ? L1(d_display.mode) : d_notice);
}

// --- the window ----------------------------------------------------------------------------

Lcd8::Lcd8(const Options& options, const ComSettings& com, std::filesystem::path programFolder,
           Prompter& prompter, QWidget* parent)
    : Lcd8(options, MakeSerialTransport(com), std::make_unique<QtScheduler>(),
           std::move(programFolder), prompter, parent) {}

Lcd8::Lcd8(const Options& options, std::unique_ptr<Transport> transport,
           std::unique_ptr<Scheduler> scheduler, std::filesystem::path programFolder,
           Prompter& prompter, QWidget* parent, PanelTiming timing)
    : QWidget(parent, Qt::Window),
      d_options(options),
      d_folder(std::move(programFolder)),
      d_prompter(prompter),
      d_scheduler(std::move(scheduler)),
      d_transport(std::move(transport)) {
    setObjectName(QStringLiteral("lcd8"));
    setWindowTitle(tr("Virtual Control"));
    if (d_options.qview == 1) setWindowFlag(Qt::WindowStaysOnTopHint);
    d_poller = std::make_unique<PanelPoller>(*d_transport, *d_scheduler, timing);
    d_poller->setLogFile(d_folder / "idlog.txt");
    d_poller->onDisplay = [this](const PanelDisplay& display) { d_view->setDisplay(display); };
    d_poller->onState = [this](PanelState state) { onState(state); };
    d_poller->onLogged = [this](const std::vector<Reception>& r) { onLogged(r); };
    d_poller->onLogError = [this](const std::string& error) {
        d_prompter.tell(
            this, windowTitle(),
            tr("The reception log could not be written:\n%1").arg(QString::fromStdString(error)),
            NoticeIcon::Warning);
    };
    build();
    startPolling();
}

Lcd8::~Lcd8() {
    d_poller.reset();  // timers and port go before the line and the clock
}

void Lcd8::startPolling() {
    const TransportStatus status = d_poller->start();
    if (status.ok()) d_status->clear();
    if (!status.ok()) {
        QString text = L1(kPanelPortBusy);
        if (status.fault == TransportFault::Permission) text = L1(status.message);
        d_status->setText(
            text + (status.detail.empty()
                        ? QString()
                        : QStringLiteral(" (%1)").arg(QString::fromStdString(status.detail))));
        d_view->setNoScanner(text);
    }
}

void Lcd8::build() {
    auto* layout = new QVBoxLayout(this);
    d_view = new LcdView(this);
    layout->addWidget(d_view);

    auto* keys = new QHBoxLayout;
    auto* functions = new QGridLayout;
    int i = 0;
    for (const PanelKey& key : kFunctionKeys) {
        functions->addWidget(addKey(key, this), i / 3, i % 3);
        ++i;
    }
    keys->addLayout(functions, 3);
    keys->addSpacing(12);
    auto* pad = new QGridLayout;
    static const char* const kDigits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int d = 0; d < 9; ++d) {
        const PanelKey key{kDigits[d], {}, {}};
        pad->addWidget(addKey(key, this), d / 3, d % 3);
    }
    pad->addWidget(addKey(kPointKey, this), 3, 0);
    pad->addWidget(addKey(PanelKey{"0", {}, {}}, this), 3, 1);
    pad->addWidget(addKey(kEnterKey, this), 3, 2);
    keys->addLayout(pad, 2);
    layout->addLayout(keys);

    d_status = new QLabel(this);
    d_status->setObjectName(QStringLiteral("status"));
    d_status->setWordWrap(true);
    layout->addWidget(d_status);

    d_log = new QTableWidget(0, 7, this);
    d_log->setObjectName(QStringLiteral("log"));
    d_log->setHorizontalHeaderLabels({QStringLiteral("-"), QStringLiteral("Bank"),
                                      QStringLiteral("Channel"), QStringLiteral("Frequency"),
                                      QStringLiteral("ID"), QStringLiteral("Time"),
                                      QStringLiteral("Date")});
    d_log->verticalHeader()->hide();
    d_log->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d_log->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    d_log->setMinimumHeight(120);
    layout->addWidget(d_log, 1);

    for (const Shortcut& s : kShortcuts) {
        auto* shortcut = new QShortcut(s.key, this);
        const std::string_view caption = s.caption;
        const bool held = s.held;
        connect(shortcut, &QShortcut::activated, this,
                [this, caption, held] { clickKey(caption, held); });
    }
    for (int d = 0; d <= 9; ++d) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::Key(Qt::Key_0 + d)), this);
        connect(shortcut, &QShortcut::activated, this, [this, d] {
            const std::string caption(1, static_cast<char>('0' + d));
            clickKey(caption);
        });
    }
}

QPushButton* Lcd8::addKey(const PanelKey& key, QWidget* parent) {
    const QString caption = L1(key.caption);
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QStringLiteral("key_") + caption);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(56);
    button->setStyleSheet(QStringLiteral("QPushButton:pressed { color: #c00000; }"));
    QString tip = key.held.empty() ? QString() : tr("Right click: %1 held").arg(caption);
    for (const Shortcut& s : kShortcuts) {
        if (s.caption != key.caption) continue;
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) +
               s.key.toString(QKeySequence::NativeText) + (s.held ? tr(" (held)") : QString());
    }
    if (key.caption.size() == 1 && key.caption[0] >= '0' && key.caption[0] <= '9') tip = caption;
    button->setToolTip(tip);
    const std::string name(key.caption);
    connect(button, &QPushButton::clicked, this, [this, name] { clickKey(name); });
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QPushButton::customContextMenuRequested, this,
            [this, name] { clickKey(name, true); });
    return button;
}

void Lcd8::clickKey(std::string_view caption, bool held) {
    PanelKey digit;
    const PanelKey* key = FindKey(caption, digit);
    if (key) sendKey(*key, held);
}

void Lcd8::sendKey(const PanelKey& key, bool held) {
    std::string command;
    if (key.command.empty()) {
        if (held) return;  // the digits have no held form
        command = DigitKeyCommand(key.caption[0] - '0');
    } else if (held) {
        if (key.held.empty()) return;  // only L/O, PRI, TRUNK and ENTER have one
        command = std::string(key.held);
    } else {
        command = std::string(key.command);
    }
    // HOLD also tries a port that could not be opened again.
    if (d_poller->state() == PanelState::PortUnavailable) {
        if (command == "KEY00") startPolling();
        return;
    }
    d_poller->pressKey(command);
}

void Lcd8::onState(PanelState state) {
    switch (state) {
        case PanelState::Polling:
            d_status->clear();
            d_view->setDisplay(d_poller->display());
            break;
        case PanelState::NoScanner:
            d_status->setText(L1(kNoScannerStatus));
            d_view->setNoScanner(tr("No scanner answers. Press HOLD to try again."));
            break;
        case PanelState::PortUnavailable:
        case PanelState::Closed:
            break;
    }
}

void Lcd8::onLogged(const std::vector<Reception>& receptions) {
    for (const Reception& r : receptions) {
        const int row = d_log->rowCount();
        d_log->insertRow(row);
        const std::string* fields[] = {&r.bank, &r.channel, &r.frequency, &r.id, &r.time, &r.date};
        d_log->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
        for (int c = 0; c < 6; ++c)
            d_log->setItem(row, c + 1, new QTableWidgetItem(L1(*fields[c])));
    }
    while (d_log->rowCount() > kLogRows) d_log->removeRow(0);
    d_log->scrollToBottom();
}

void Lcd8::closeEvent(QCloseEvent* event) {
    if (!d_closed) {
        d_closed = true;
        d_poller->stop();
        emit closed();
    }
    QWidget::closeEvent(event);
}

// --- the main window's command ---------------------------------------------------------------

Lcd8* OpenPanel() {
    return g_panel.data();
}

void OpenVirtualControl(MemTab& main) {
    if (g_panel) {
        main.dialogs().show(*g_panel);
        return;
    }
    // The panel takes the port Direct Tune may hold.
    main.setDirectTune(false);
    AppState& state = main.state();
    auto* panel = new Lcd8(state.options, state.com, state.folder, main.prompter(), &main);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    g_panel = panel;
    // With the editor kept open (vcm 1) the main window leaves the port to the panel.
    const bool refuse = state.options.vcm == 1;
    main.virtualControlRunning = [refuse] { return refuse && !g_panel.isNull(); };
    main.dialogs().show(*panel);
}

}  // namespace vex::gui
