#include "gui/scannerdialog.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/memtab.h"
#include "gui/prompter.h"
#include "link/session.h"
#include "mainwin/cellentry.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace vex::gui {
namespace {

Task<void> Collect(Task<ScannerJobResult> job, std::shared_ptr<ScannerJobResult> out) {
    const ScannerJobResult result = co_await job;
    *out = result;
}

}  // namespace

std::function<std::unique_ptr<Transport>(const ComSettings&)> g_scannerDialogTransport;

bool MayOpenScannerDialog(MemTab& main) {
    if (main.virtualControlRunning()) {
        main.prompter().tell(&main, QObject::tr("Vexatron"), L1(kVirtualControlRunning),
                             NoticeIcon::Warning);
        return false;
    }
    main.setDirectTune(false);
    return true;
}

std::unique_ptr<Transport> ScannerDialogTransport(const ComSettings& com) {
    if (g_scannerDialogTransport) return g_scannerDialogTransport(com);
    return MakeSerialTransport(com);
}

ScannerDialog::ScannerDialog(const QString& title, const Options& options, long baud,
                             std::unique_ptr<Transport> transport,
                             std::unique_ptr<Scheduler> scheduler, Prompter& prompter,
                             bool privateKeyTwice, QWidget* parent)
    : QDialog(parent),
      d_prompter(prompter),
      d_scheduler(scheduler ? std::move(scheduler) : std::make_unique<QtScheduler>()),
      d_transport(std::move(transport)),
      d_privateKeyTwice(privateKeyTwice) {
    setWindowTitle(title);
    d_link = std::make_unique<Link>(*d_transport, *d_scheduler);
    d_jobs = std::make_unique<ScannerJobs>(*d_link, SettleWaitMs(options, baud));
    auto* layout = new QVBoxLayout(this);
    d_body = new QVBoxLayout;
    layout->addLayout(d_body, 1);
    d_status = new QLabel(tr("Opening port..."), this);
    d_status->setObjectName(QStringLiteral("status"));
    d_status->setWordWrap(true);
    layout->addWidget(d_status);
    QTimer::singleShot(0, this, [this] { openPort(); });
}

ScannerDialog::~ScannerDialog() {
    d_closing = true;
    if (d_link) d_link->close();
    d_jobs.reset();
    d_link.reset();
}

QString ScannerDialog::statusText() const {
    return d_status->text();
}

void ScannerDialog::setStatus(const QString& text) {
    d_status->setText(text);
}

void ScannerDialog::addScannerControl(QWidget* widget) {
    d_controls.push_back(widget);
    updateControls();
}

void ScannerDialog::updateControls() {
    for (QWidget* w : d_controls) w->setEnabled(d_ready && d_portOpen && !d_busy);
    if (d_busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void ScannerDialog::openPort() {
    if (d_closing) return;
    const TransportStatus status = d_transport->open();
    if (!status.ok()) {
        d_ready = true;
        QString text = L1(status.message);
        if (!status.detail.empty())
            text += QStringLiteral("\n") + QString::fromStdString(status.detail);
        setStatus(text);
        updateControls();
        emit readied();
        return;
    }
    d_portOpen = true;
    runJob(
        tr("Connecting"), [this](ScannerJobs& jobs) { return jobs.handshake(d_privateKeyTwice); },
        [this](const ScannerJobResult& r) {
            d_ready = true;
            if (r.ok) setStatus(tr("Scanner ready."));
            updateControls();
            emit readied();
        });
}

void ScannerDialog::runJob(const QString& what, JobMaker make,
                           std::function<void(const ScannerJobResult&)> done) {
    if (d_busy || d_closing || !d_portOpen) return;
    d_busy = true;
    updateControls();
    setStatus(what + QStringLiteral("..."));
    auto out = std::make_shared<ScannerJobResult>();
    out->message = "The job was stopped.";
    d_link->run(Collect(make(*d_jobs), out), [this, out, done = std::move(done)] {
        // Called from inside the link: the outcome is handled on the next turn.
        QTimer::singleShot(0, this, [this, out, done] {
            if (d_closing) return;
            d_busy = false;
            ScannerJobResult result = *out;
            const LinkStop& stop = d_link->stopReason();
            if (stop.kind != LinkStopKind::None && !stop.message.empty()) {
                result = {false, stop.message};
            }
            if (!result.ok) setStatus(L1(result.message));
            updateControls();
            if (done) done(result);
            emit jobFinished(result.ok);
        });
    });
}

void ScannerDialog::done(int result) {
    // Closing ends a running job and lets go of the port at once.
    d_closing = true;
    if (d_link) d_link->close();
    QDialog::done(result);
}

}  // namespace vex::gui
