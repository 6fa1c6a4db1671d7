#include "gui/comsetup.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/prompter.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_ports.h"
#include "platform/serial_transport.h"
#include "settings/state_files.h"

namespace vex::gui {

ComSetup::ComSetup(const ComSettings& current, std::filesystem::path programFolder,
                   Prompter& prompter, QWidget* parent)
    : ComSetup(current, std::move(programFolder), prompter, systemSerialPorts(), parent) {}

ComSetup::ComSetup(const ComSettings& current, std::filesystem::path programFolder,
                   Prompter& prompter, std::vector<SerialPortEntry> ports, QWidget* parent)
    : QDialog(parent),
      d_current(current),
      d_folder(std::move(programFolder)),
      d_prompter(prompter),
      d_ports(std::move(ports)),
      d_factory([](const std::string& device, long baud) {
          return MakeSerialTransport(ComSettings{1, baud, device});
      }) {
    build();
    showSettings(d_current);
}

ComSetup::~ComSetup() {
    // The search's line and timers go before the scheduler they run on.
    d_detect.reset();
}

bool ComSetup::searching() const {
    return d_detect && d_detect->running();
}

void ComSetup::build() {
    setObjectName(QStringLiteral("comsetup"));
    setWindowTitle(tr("Communication Setup"));
    auto* layout = new QVBoxLayout(this);

    auto* portBox = new QGroupBox(tr("Port"), this);
    auto* portLayout = new QVBoxLayout(portBox);
    auto* scroll = new QScrollArea(portBox);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* list = new QWidget(scroll);
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    d_portGroup = new QButtonGroup(this);
    for (std::size_t i = 0; i < d_ports.size(); ++i) {
        const SerialPortEntry& port = d_ports[i];
        const QString path = QString::fromStdString(port.path);
        QString caption = QString::fromStdString(port.systemPath);
        if (!port.description.empty())
            caption += QStringLiteral(" \u2014 ") + QString::fromStdString(port.description);
        if (!port.permitted) caption += tr(" (no permission \u2014 see README)");
        auto* button = new QRadioButton(caption, list);
        button->setObjectName(QStringLiteral("port_%1").arg(i + 1));
        button->setToolTip(path);
        d_portGroup->addButton(button, static_cast<int>(i));
        d_portButtons.push_back(button);
        listLayout->addWidget(button);
        if (port.path != port.systemPath) {
            // The stable name is the one remembered: it survives re-plugging the adapter.
            auto* stable = new QLabel(path, list);
            stable->setObjectName(QStringLiteral("portId_%1").arg(i + 1));
            stable->setIndent(24);
            stable->setEnabled(false);
            stable->setTextInteractionFlags(Qt::TextSelectableByMouse);
            listLayout->addWidget(stable);
        }
    }
    if (d_ports.empty()) {
        auto* none = new QLabel(tr("No serial ports found on this system."), list);
        none->setObjectName(QStringLiteral("noPorts"));
        listLayout->addWidget(none);
    }
    listLayout->addStretch();
    scroll->setWidget(list);
    portLayout->addWidget(scroll);

    auto* otherRow = new QHBoxLayout;
    d_other = new QRadioButton(tr("other:"), portBox);
    d_other->setObjectName(QStringLiteral("otherOption"));
    d_portGroup->addButton(d_other, -2);
    d_otherText = new QLineEdit(portBox);
    d_otherText->setObjectName(QStringLiteral("otherText"));
    d_otherText->setPlaceholderText(tr("enter device path or comport number 1 - 19"));
    d_otherText->setEnabled(false);
    d_otherText->installEventFilter(this);
    otherRow->addWidget(d_other);
    otherRow->addWidget(d_otherText, 1);
    portLayout->addLayout(otherRow);
    layout->addWidget(portBox, 1);
    connect(d_other, &QRadioButton::toggled, d_otherText, [this](bool on) {
        d_otherText->setEnabled(on);
        if (on) d_otherText->setFocus();
    });

    auto* baudRow = new QHBoxLayout;
    auto* baudLabel = new QLabel(tr("&Baudrate:"), this);
    d_baudList = new QComboBox(this);
    d_baudList->setObjectName(QStringLiteral("baudList"));
    for (long baud : kBaudRates) d_baudList->addItem(QString::number(baud), qlonglong(baud));
    baudLabel->setBuddy(d_baudList);
    baudRow->addWidget(baudLabel);
    baudRow->addWidget(d_baudList);
    baudRow->addStretch();
    layout->addLayout(baudRow);

    d_status = new QLabel(this);
    d_status->setObjectName(QStringLiteral("statusText"));
    d_status->setWordWrap(true);
    layout->addWidget(d_status);
    d_progress = new QProgressBar(this);
    d_progress->setObjectName(QStringLiteral("progress"));
    d_progress->setVisible(false);
    layout->addWidget(d_progress);

    auto* buttons = new QDialogButtonBox(this);
    d_ok = buttons->addButton(QDialogButtonBox::Ok);
    d_ok->setObjectName(QStringLiteral("okButton"));
    d_ok->setDefault(true);
    d_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    d_cancel->setObjectName(QStringLiteral("cancelButton"));
    d_autodetect = buttons->addButton(tr("&AutoDetect"), QDialogButtonBox::ActionRole);
    d_autodetect->setObjectName(QStringLiteral("autodetectButton"));
    d_autodetect->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(d_ok, &QPushButton::clicked, this, &ComSetup::accept);
    connect(d_cancel, &QPushButton::clicked, this, &ComSetup::reject);
    connect(d_autodetect, &QPushButton::clicked, this, [this] {
        if (searching())
            d_detect->stop();
        else
            autodetect();
    });
    resize(sizeHint().expandedTo(QSize(460, 320)));
}

void ComSetup::showSettings(const ComSettings& com) {
    // A remembered device, or the device its port number stands for.
    const std::string device = DevicePathFor(com);
    const int listed = listedPortIndex(d_ports, device);
    if (listed >= 0) {
        d_portButtons[static_cast<std::size_t>(listed)]->setChecked(true);
    } else {
        d_other->setChecked(true);
        d_otherText->setText(com.device.empty() ? QString::number(com.port)
                                                : QString::fromStdString(device));
    }
    int row = d_baudList->findData(qlonglong(com.baud));
    if (row < 0) {
        // A speed set elsewhere stays choosable rather than being changed behind the user.
        d_baudList->addItem(QString::number(com.baud), qlonglong(com.baud));
        row = d_baudList->count() - 1;
    }
    d_baudList->setCurrentIndex(row);
}

long ComSetup::chosenBaud() const {
    return static_cast<long>(d_baudList->currentData().toLongLong());
}

bool ComSetup::eventFilter(QObject* watched, QEvent* event) {
    // A carriage return in the text field is dropped: Enter there must not close the dialog.
    if (watched == d_otherText && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ComSetup::tell(const QString& text, bool warning) {
    d_prompter.tell(this, tr("Communication Setup"), text,
                    warning ? NoticeIcon::Warning : NoticeIcon::Information);
}

void ComSetup::accept() {
    if (searching()) return;
    const int id = d_portGroup->checkedId();
    ComSettings chosen;
    if (id >= 0)
        chosen = listedPortChoice(d_ports, id, chosenBaud());
    else if (d_other->isChecked())
        chosen = typedPortChoice(d_ports, ToL1(d_otherText->text()), chosenBaud());
    else
        chosen = ComSettings{d_current.port, chosenBaud(), d_current.device};
    const WriteResult written = WriteComSettings(chosen, d_folder);
    if (!written) {
        // The choice still holds for this run; the user learns it will not survive a restart.
        tell(tr("com250.ini could not be written: %1\nThe new settings are used until the "
                "program ends.")
                 .arg(QString::fromStdString(written.error)),
             true);
    }
    d_current = chosen;
    QDialog::accept();
}

void ComSetup::done(int result) {
    // Closing by any way ends a running search and releases its port.
    if (searching()) {
        d_detect->onFinished = nullptr;
        d_detect.reset();
        setSearching(false);
    }
    QDialog::done(result);
}

void ComSetup::autodetect() {
    tell(L1(kAutodetectInstructions), false);
    if (!isVisible()) return;  // closed while the instructions were shown

    std::vector<std::string> devices;
    for (std::size_t i = 0; i < d_ports.size(); ++i) {
        d_portButtons[i]->setText(d_portButtons[i]->text().remove(tr(" (not available)")));
        devices.push_back(d_ports[i].path);
    }
    // Whatever is typed into "other:" (a simulator's pseudo-terminal, an unlisted adapter) is
    // tried too.
    if (!d_otherText->text().trimmed().isEmpty()) {
        const ComSettings typed =
            typedPortChoice(d_ports, ToL1(d_otherText->text()), kBaudRates.front());
        if (listedPortIndex(d_ports, typed.device) < 0) devices.push_back(typed.device);
    }

    if (!d_scheduler) d_scheduler = std::make_unique<QtScheduler>();
    d_detect = std::make_unique<Autodetect>(*d_scheduler, d_factory);
    d_detect->onProgress = [this](const AutodetectProgress& p) { onProgress(p); };
    d_detect->onFinished = [this](const AutodetectResult& r) { onFinished(r); };
    setSearching(true);
    d_detect->start(std::move(devices));
}

void ComSetup::setScheduler(std::unique_ptr<Scheduler> scheduler) {
    d_scheduler = std::move(scheduler);
}

void ComSetup::setSearching(bool on) {
    d_autodetect->setText(on ? tr("&Stop") : tr("&AutoDetect"));
    d_ok->setEnabled(!on);
    d_baudList->setEnabled(!on);
    for (QAbstractButton* b : d_portGroup->buttons()) b->setEnabled(!on);
    d_otherText->setEnabled(!on && d_other->isChecked());
    d_progress->setVisible(on);
    if (on) {
        d_progress->setRange(0, 0);
        d_status->clear();
    }
}

void ComSetup::onProgress(const AutodetectProgress& progress) {
    d_status->setText(QString::fromStdString(progress.text));
    d_progress->setRange(0, std::max(progress.total, 1));
    d_progress->setValue(progress.done);
}

void ComSetup::onFinished(const AutodetectResult& result) {
    setSearching(false);
    if (result.stopped) {
        d_status->setText(tr("Autodetect stopped; the settings are unchanged."));
        return;
    }
    // Ports that could not be opened are marked, so the user sees why they were passed over.
    for (std::size_t i = 0; i < d_ports.size(); ++i) {
        const std::string& path = d_ports[i].path;
        if (std::find(result.available.begin(), result.available.end(), path) ==
            result.available.end())
            d_portButtons[i]->setText(d_portButtons[i]->text() + tr(" (not available)"));
    }
    if (result.found) {
        const QString device = QString::fromStdString(result.device);
        const int listed = listedPortIndex(d_ports, result.device);
        d_current = listed >= 0 ? listedPortChoice(d_ports, listed, result.baud)
                                : typedPortChoice(d_ports, result.device, result.baud);
        d_autodetected = true;
        showSettings(d_current);
        d_status->setText(tr("Scanner found on %1 at %2 baud.").arg(device).arg(result.baud));
        tell(L1(kAutodetectFound), false);
    } else {
        d_status->setText(tr("No scanner found; the settings are unchanged."));
        tell(L1(kAutodetectNotFound), true);
    }
}

}  // namespace vex::gui
