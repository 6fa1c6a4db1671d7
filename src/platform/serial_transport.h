// The scanner's serial line on QSerialPort: a device path (USB adapter, /dev/serial/by-id name,
// pseudo-terminal) at the chosen baud rate, 8N1, no flow control.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <memory>
#include <string>

#include "link/transport.h"
#include "settings/options.h"
#include "settings/serial_ports.h"

namespace vex {

class SerialTransport : public QObject, public Transport {
    Q_OBJECT
  public:
    SerialTransport(QString device, qint32 baud, QObject* parent = nullptr);
    ~SerialTransport() override;

    TransportStatus open() override;
    void close() override;
    bool isOpen() const override { return d_port.isOpen(); }
    void write(std::string_view bytes) override;

    const QString& device() const { return d_device; }

  private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort d_port;
    QString d_device;
    qint32 d_baud;
    bool d_faulted = false;
};

// How a failed open is reported: a device that does not exist or is held by another program
// gives the fixed "in use or not available" message; one the user may not open names the fix.
struct PortFileState {
    bool exists = false;
    bool readable = false;
    bool writable = false;
};
TransportStatus ClassifyOpenFailure(QSerialPort::SerialPortError error, const std::string& device,
                                    const std::string& errorText, PortFileState file);

// A transport for the configured port at the configured speed.
std::unique_ptr<Transport> MakeSerialTransport(const ComSettings& com);

// The text shown when the user may not open the device, naming the fix.
std::string PermissionMessage(const std::string& device);

}  // namespace vex
