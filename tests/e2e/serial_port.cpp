// The serial transport on real devices: how open failures are reported, and bytes both ways
// over the simulator's pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "e2e/sim_process.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace {

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "e2e_serial_port";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(SerialPort, OpenFailuresAreReportedWithTheirFix) {
    using vex::TransportFault;
    const auto busy = vex::ClassifyOpenFailure(QSerialPort::PermissionError, "/dev/ttyUSB0",
                                               "Permission denied", {true, true, true});
    EXPECT_EQ(busy.fault, TransportFault::Busy);
    EXPECT_EQ(busy.message, vex::kPortUnavailableMessage);
    const auto denied = vex::ClassifyOpenFailure(QSerialPort::PermissionError, "/dev/ttyUSB0",
                                                 "Permission denied", {true, false, false});
    EXPECT_EQ(denied.fault, TransportFault::Permission);
    EXPECT_NE(denied.message.find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_NE(denied.message.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(denied.message.find("log out and in again"), std::string::npos);
    const auto missing = vex::ClassifyOpenFailure(QSerialPort::DeviceNotFoundError, "/dev/ttyUSB7",
                                                  "No such file or directory", {});
    EXPECT_EQ(missing.fault, TransportFault::NotFound);
    EXPECT_EQ(missing.message, vex::kPortUnavailableMessage);
    EXPECT_EQ(missing.detail, "/dev/ttyUSB7: No such file or directory");
}

TEST(SerialPort, MissingDeviceIsUnavailable) {
    App();
    vex::SerialTransport port("/dev/vexatron-no-such-port", 19200);
    const vex::TransportStatus status = port.open();
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.message, vex::kPortUnavailableMessage);
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, DevicePathOfTheConfiguredPort) {
    vex::ComSettings com;
    com.device = "/dev/serial/by-id/usb-Vexlink_Serial_Cable-if00-port0";
    EXPECT_EQ(vex::DevicePathFor(com), com.device);
    com.device.clear();
    com.port = 3;
    const std::string path = vex::DevicePathFor(com);
    EXPECT_TRUE(path == "/dev/ttyUSB2" || path == "/dev/ttyS2") << path;
}

TEST(SerialPort, BytesBothWaysAndAFaultWhenTheLineGoes) {
    App();
    simtest::SimProcess sim;
    ASSERT_TRUE(sim.Start({"--latency-ms", "1"}));
    vex::SerialTransport port(QString::fromStdString(sim.device()), 19200);
    ASSERT_TRUE(port.open().ok());
    std::string received;
    std::optional<vex::TransportStatus> fault;
    QEventLoop loop;
    port.setDataHandler([&](std::string_view bytes) {
        received.append(bytes);
        if (!received.empty() && received.back() == '\r') loop.quit();
    });
    port.setFaultHandler([&](const vex::TransportStatus& s) {
        fault = s;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    port.write("SI\r\n");
    loop.exec();
    EXPECT_NE(received.find("BCT8"), std::string::npos) << received;
    EXPECT_FALSE(fault);

    sim.Stop();
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    port.write("SI\r\n");
    if (!fault) loop.exec();
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->fault, vex::TransportFault::Disconnected);
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPort, QtSchedulerKeepsTimeAndCancels) {
    App();
    vex::QtScheduler scheduler;
    QEventLoop loop;
    bool cancelledFired = false;
    std::int64_t firedAt = -1;
    const std::int64_t start = scheduler.now();
    const auto id = scheduler.startTimer(10, [&] { cancelledFired = true; });
    scheduler.startTimer(50, [&] {
        firedAt = scheduler.now();
        loop.quit();
    });
    scheduler.cancelTimer(id);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(cancelledFired);
    EXPECT_GE(firedAt - start, 50);
}

}  // namespace
