#include "platform/serial_transport.h"

#include <QFileInfo>

namespace vex {

std::unique_ptr<Transport> MakeSerialTransport(const ComSettings& com) {
    return std::make_unique<SerialTransport>(QString::fromStdString(DevicePathFor(com)),
                                             static_cast<qint32>(com.baud));
}

std::string PermissionMessage(const std::string& device) {
    return "You may not open " + device +
           ". Add yourself to the dialout group with \"sudo usermod -aG dialout $USER\", then "
           "log out and in again.";
}

SerialTransport::SerialTransport(QString device, qint32 baud, QObject* parent)
    : QObject(parent), d_device(std::move(device)), d_baud(baud) {
    d_port.setPortName(d_device);
    connect(&d_port, &QSerialPort::readyRead, this, &SerialTransport::onReadyRead);
    connect(&d_port, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport() {
    d_port.disconnect(this);
    if (d_port.isOpen()) d_port.close();
}

TransportStatus ClassifyOpenFailure(QSerialPort::SerialPortError error, const std::string& device,
                                    const std::string& errorText, PortFileState file) {
    const std::string detail = device + ": " + errorText;
    switch (error) {
        case QSerialPort::DeviceNotFoundError:
            return {TransportFault::NotFound, std::string(kPortUnavailableMessage), detail};
        case QSerialPort::PermissionError:
            // Qt reports a port held by another program as a permission error too; the device
            // file's own rights tell the two apart.
            if (file.exists && file.readable && file.writable)
                return {TransportFault::Busy, std::string(kPortUnavailableMessage),
                        detail + " (the port is in use by another program, e.g. ModemManager)"};
            if (!file.exists)
                return {TransportFault::NotFound, std::string(kPortUnavailableMessage), detail};
            return {TransportFault::Permission, PermissionMessage(device), detail};
        case QSerialPort::OpenError:
            return {TransportFault::Busy, std::string(kPortUnavailableMessage), detail};
        default:
            return {TransportFault::Other, std::string(kPortUnavailableMessage), detail};
    }
}

TransportStatus SerialTransport::open() {
    if (d_port.isOpen()) return {};
    d_faulted = false;
    d_port.setPortName(d_device);
    if (!d_port.open(QIODevice::ReadWrite)) {
        const QFileInfo file(d_device);
        const TransportStatus status = ClassifyOpenFailure(
            d_port.error(), d_device.toStdString(), d_port.errorString().toStdString(),
            {file.exists(), file.isReadable(), file.isWritable()});
        d_port.clearError();
        return status;
    }
    const bool configured = d_port.setBaudRate(d_baud) && d_port.setDataBits(QSerialPort::Data8) &&
                            d_port.setParity(QSerialPort::NoParity) &&
                            d_port.setStopBits(QSerialPort::OneStop) &&
                            d_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        const std::string detail =
            d_device.toStdString() + ": " + d_port.errorString().toStdString();
        d_port.close();
        return {TransportFault::Other,
                "The port could not be set to " + std::to_string(d_baud) + ",n,8,1.", detail};
    }
    d_port.clear();
    return {};
}

void SerialTransport::close() {
    if (d_port.isOpen()) d_port.close();
}

void SerialTransport::write(std::string_view bytes) {
    if (!d_port.isOpen()) return;
    if (d_port.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) onError(d_port.error());
}

void SerialTransport::onReadyRead() {
    const QByteArray data = d_port.readAll();
    if (!data.isEmpty())
        deliver(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
}

void SerialTransport::onError(QSerialPort::SerialPortError error) {
    // Errors while opening are reported by open(); timeouts are the link's own business.
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !d_port.isOpen() ||
        d_faulted)
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::WriteError &&
        error != QSerialPort::ReadError && error != QSerialPort::UnknownError)
        return;
    d_faulted = true;
    const std::string detail = d_device.toStdString() + ": " + d_port.errorString().toStdString();
    d_port.clearError();
    d_port.close();
    fault({TransportFault::Disconnected, "The scanner is no longer connected.", detail});
}

}  // namespace vex
