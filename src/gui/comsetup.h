// The communication setup dialog `comsetup`: the serial device and speed every scanner window
// uses, chosen from the ports this system has or typed as any device path, or found by
// "AutoDetect". "Ok" writes com250.ini; the caller takes settings() either way, since a scanner
// found by the autodetect is in use for this run even when the dialog is cancelled.
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "link/autodetect.h"
#include "settings/options.h"
#include "settings/serial_ports.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vex {
class Scheduler;
}

namespace vex::gui {

class Prompter;

class ComSetup : public QDialog {
    Q_OBJECT
  public:
    // Lists the system's ports. Messages go through `prompter`.
    ComSetup(const ComSettings& current, std::filesystem::path programFolder, Prompter& prompter,
             QWidget* parent = nullptr);
    // Lists the given ports instead.
    ComSetup(const ComSettings& current, std::filesystem::path programFolder, Prompter& prompter,
             std::vector<SerialPortEntry> ports, QWidget* parent = nullptr);
    ~ComSetup() override;

    // The settings to use from now on: the new ones after "Ok", the ones the autodetect found
    // after a cancel that followed a successful search, otherwise the ones the dialog opened with.
    const ComSettings& settings() const { return d_current; }
    // The autodetect found a scanner (and so changed settings()).
    bool autodetected() const { return d_autodetected; }
    bool searching() const;

    // The serial line the autodetect opens; the real port unless a test says otherwise.
    void setTransportFactory(DeviceTransportFactory factory) { d_factory = std::move(factory); }
    // The clock the autodetect waits on; a timer of the event loop unless a test says otherwise.
    // Call it only before a search starts: a search refers to the clock it began with.
    void setScheduler(std::unique_ptr<Scheduler> scheduler);

  public slots:
    void accept() override;
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    void showSettings(const ComSettings& com);
    void autodetect();
    void onProgress(const AutodetectProgress& progress);
    void onFinished(const AutodetectResult& result);
    void setSearching(bool on);
    long chosenBaud() const;
    void tell(const QString& text, bool warning);

    ComSettings d_current;
    std::filesystem::path d_folder;
    Prompter& d_prompter;
    std::vector<SerialPortEntry> d_ports;
    bool d_autodetected = false;
    DeviceTransportFactory d_factory;
    std::unique_ptr<Scheduler> d_scheduler;
    std::unique_ptr<Autodetect> d_detect;

    QButtonGroup* d_portGroup = nullptr;
    std::vector<QRadioButton*> d_portButtons;
    QRadioButton* d_other = nullptr;
    QLineEdit* d_otherText = nullptr;
    QComboBox* d_baudList = nullptr;
    QPushButton* d_ok = nullptr;
    QPushButton* d_cancel = nullptr;
    QPushButton* d_autodetect = nullptr;
    QProgressBar* d_progress = nullptr;
    QLabel* d_status = nullptr;
};

}  // namespace vex::gui
