// The scanner's serial line on QSerialPort: a device path (USB adapter, /dev/serial/by-id name,
// pseudo-terminal) at the chosen baud rate, 8N1, no flow control.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>

#include "link/transport.h"

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
    TransportStatus describeOpenFailure(QSerialPort::SerialPortError error) const;

    QSerialPort d_port;
    QString d_device;
    qint32 d_baud;
    bool d_faulted = false;
};

// The text shown when the user may not open the device, naming the fix.
std::string PermissionMessage(const std::string& device);

}  // namespace vex
