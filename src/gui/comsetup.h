// The communication setup dialog `comsetup`: the serial device and speed every scanner window
// uses, chosen from the ports this system has or typed as any device path, or found by
// "AutoDetect". "Ok" writes com250.ini; the caller takes settings() either way, since a scanner
// found by the autodetect is in use for this run even when the dialog is cancelled.
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "link/autodetect.h"
#include "settings/options.h"

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

// One serial port of this system.
struct PortEntry {
    QString path;           // what is stored: the stable /dev/serial/by-id name when there is one
    QString systemPath;     // the device node, e.g. /dev/ttyUSB0
    QString description;    // "FT232R USB UART (FTDI)", empty when the system has none
    bool permitted = true;  // the user may read and write the device node
};

// The ports the system reports, by-id names attached, in a stable order.
std::vector<PortEntry> SystemSerialPorts();

class comsetup : public QDialog {
    Q_OBJECT
  public:
    // Lists the system's ports.
    comsetup(const ComSettings& current, std::filesystem::path programFolder,
             QWidget* parent = nullptr);
    // Lists the given ports instead.
    comsetup(const ComSettings& current, std::filesystem::path programFolder,
             std::vector<PortEntry> ports, QWidget* parent = nullptr);
    ~comsetup() override;

    // The settings to use from now on: the new ones after "Ok", the ones the autodetect found
    // after a cancel that followed a successful search, otherwise the ones the dialog opened with.
    const ComSettings& settings() const { return d_current; }
    // The autodetect found a scanner (and so changed settings()).
    bool autodetected() const { return d_autodetected; }
    bool searching() const;

    // The serial line the autodetect opens; the real port unless a test says otherwise.
    void setTransportFactory(DeviceTransportFactory factory) { d_factory = std::move(factory); }
    // Messages go through this, so tests can read them without a modal loop. Default: message
    // boxes.
    using TellHook = std::function<void(const QString& title, const QString& text, bool warning)>;
    void setTellHook(TellHook hook) { d_tell = std::move(hook); }

    // The com250.ini values for a choice: a listed port is stored by its path with its 1-based
    // position as the port number; "other:" text is a number or a device path.
    static ComSettings ListedChoice(const std::vector<PortEntry>& ports, int index, long baud);
    static ComSettings OtherChoice(const std::vector<PortEntry>& ports, const QString& text,
                                   long baud);

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
    int listedIndexOf(const QString& device) const;
    void tell(const QString& text, bool warning);

    ComSettings d_current;
    std::filesystem::path d_folder;
    std::vector<PortEntry> d_ports;
    bool d_autodetected = false;
    DeviceTransportFactory d_factory;
    TellHook d_tell;
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
