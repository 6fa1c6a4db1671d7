// What the four scanner-side dialogs share: their own serial port opened with the configured
// port and speed, the opening handshake, one job at a time on the link with its outcome in the
// status line, and a Close that works at once, also while the scanner is silent.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "link/scanner_jobs.h"
#include "settings/options.h"

class QLabel;
class QVBoxLayout;

namespace vex {
class Scheduler;
class Transport;
}  // namespace vex

namespace vex::gui {

class Prompter;

class ScannerDialog : public QDialog {
    Q_OBJECT
  public:
    using JobMaker = std::function<Task<ScannerJobResult>(ScannerJobs&)>;

    ~ScannerDialog() override;
    bool busy() const { return d_busy; }
    // The port is open and the handshake has ended (well or not).
    bool ready() const { return d_ready; }
    QString statusText() const;

  signals:
    void readied();
    void jobFinished(bool ok);

  public slots:
    void done(int result) override;

  protected:
    // `privateKeyTwice`: the handshake's key is "KEY01" twice instead of "KEY07".
    ScannerDialog(const QString& title, const Options& options, long baud,
                  std::unique_ptr<Transport> transport, std::unique_ptr<Scheduler> scheduler,
                  Prompter& prompter, bool privateKeyTwice, QWidget* parent);

    QVBoxLayout* body() const { return d_body; }
    // Widgets usable only while no job runs and the port is open.
    void addScannerControl(QWidget* widget);
    // Runs a job; `done` gets its outcome (also when the line was lost).
    void runJob(const QString& what, JobMaker make,
                std::function<void(const ScannerJobResult&)> done = {});
    void setStatus(const QString& text);
    Prompter& prompter() { return d_prompter; }

  private:
    void openPort();
    void updateControls();

    Prompter& d_prompter;
    std::unique_ptr<Scheduler> d_scheduler;
    std::unique_ptr<Transport> d_transport;
    std::unique_ptr<Link> d_link;
    std::unique_ptr<ScannerJobs> d_jobs;
    bool d_privateKeyTwice;
    bool d_busy = false;
    bool d_ready = false;
    bool d_portOpen = false;
    bool d_closing = false;
    std::vector<QWidget*> d_controls;
    QVBoxLayout* d_body = nullptr;
    QLabel* d_status = nullptr;
};

class MemTab;
// Refuses (told) while the Virtual Control Panel holds the port with the editor kept open;
// otherwise lets go of the port Direct Tune holds. True when the dialog may open.
bool MayOpenScannerDialog(MemTab& main);

// The transport of the configured port (a test may replace it).
std::unique_ptr<Transport> ScannerDialogTransport(const ComSettings& com);
extern std::function<std::unique_ptr<Transport>(const ComSettings&)> g_scannerDialogTransport;

}  // namespace vex::gui
