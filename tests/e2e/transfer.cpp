// The real link over the real serial port against bct8sim: channels sent and read back field by
// field, replies in pieces at the slowest speed, a pulled cable, a wrong speed and STOP in real
// time. What the link says and when, for every other fault, is proven on the fake clock.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "e2e/link_fixture.h"
#include "link/session.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace {

using vex::TransferOutcome;

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "e2e_transfer";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs `loop` until it is quit or the time is up, unless it is `done` already.
void RunUntil(bool done, int timeoutMs, QEventLoop& loop) {
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done) loop.exec();
}

// The simulator, the serial port on its device and a session over it.
struct Transfer : ::testing::Test {
    void SetUp() override { App(); }

    void StartAndOpen(std::vector<std::string> simArgs = {}, long baud = 115200, int delay1 = 25) {
        simArgs.insert(simArgs.begin(), {"--baud", std::to_string(baud)});
        ASSERT_TRUE(sim.StartQuick(simArgs));
        Connect(baud, delay1);
        const auto opened = Open();
        ASSERT_TRUE(opened.has_value());
        ASSERT_TRUE(opened->port.ok()) << opened->port.message << " " << opened->port.detail;
        ASSERT_TRUE(opened->detected) << opened->identification;
    }

    // The shortest settle waits the link allows, and no confirmations.
    void Connect(long baud, int delay1 = 25) {
        vex::LinkConfig config;
        config.baud = baud;
        config.options.delay1 = delay1;
        config.options.delay2 = config.options.delay3 = 25;
        config.options.expert = 1;
        config.folder = folder.path();
        session.reset();  // the session holds the old transport; it must go first
        transport = vex::MakeSerialTransport({0, baud, sim.device()});
        session = std::make_unique<vex::LinkSession>(*transport, scheduler, config);
    }

    std::optional<vex::OpenResult> Open() {
        std::optional<vex::OpenResult> result;
        QEventLoop loop;
        session->open([&](const vex::OpenResult& r) {
            result = r;
            loop.quit();
        });
        RunUntil(result.has_value(), 10000, loop);
        return result;
    }

    // Runs one transfer to its end; nullopt when it did not end within the time.
    std::optional<vex::TransferResult> Run(std::function<void()> start, int timeoutMs = 20000) {
        std::optional<vex::TransferResult> result;
        QEventLoop loop;
        vex::LinkEvents events;
        events.finished = [&](const vex::TransferResult& r) {
            result = r;
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        };
        session->setEvents(events);
        QElapsedTimer clock;
        clock.start();
        start();
        RunUntil(result.has_value(), timeoutMs, loop);
        seconds = clock.elapsed() / 1000.0;
        session->setEvents({});
        return result;
    }

    // Channels `first`..`last`, frequencies only.
    template <typename Request>
    static Request Range(int first, int last) {
        Request request;
        request.items.frequencies = true;
        request.area = vex::TransferArea::ChannelRange;
        request.rangeStart = first;
        request.rangeEnd = last;
        return request;
    }
    std::optional<vex::TransferResult> ReadRange(const vex::Image& image, int first, int last) {
        return Run([&] { session->startRead(image, Range<vex::ReadRequest>(first, last)); });
    }

    // Reads channels `first`..`last` into an empty image and checks them against `expected`.
    void ExpectReadBack(const vex::Image& expected, int first, int last) {
        const auto read = ReadRange(e2e::EmptyImage(), first, last);
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
        const auto differences = e2e::WireDifferences(expected, read->image, first, last);
        EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
    }

    simtest::TempFolder folder;
    simtest::SimProcess sim;
    vex::QtScheduler scheduler;
    std::unique_ptr<vex::Transport> transport;
    std::unique_ptr<vex::LinkSession> session;
    double seconds = 0;
};

TEST_F(Transfer, ChannelsSentAndReadBackFieldByField) {
    StartAndOpen();
    // Channels 1..15 hold every mix of the flags and an empty channel.
    const vex::Image image = e2e::FullImage();
    const auto sent = Run([&] { session->startSend(image, Range<vex::SendRequest>(1, 15)); });
    ASSERT_TRUE(sent.has_value()) << "the send did not end";
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    EXPECT_TRUE(sent->warnings.empty()) << sent->warnings.front();
    ExpectReadBack(image, 1, 15);
    // Logs of the transfer are in the program folder.
    EXPECT_TRUE(std::filesystem::exists(folder / "txlog.txt"));
    EXPECT_TRUE(std::filesystem::exists(folder / "rxdat.txt"));
    EXPECT_NE(simtest::ReadFile(folder / "version.ini").find("BCT8"), std::string::npos);
}

TEST_F(Transfer, SlowestSpeedRepliesArriveInPiecesAndAreJoined) {
    const vex::Image scanner = e2e::FullImage();
    e2e::WriteSimMemory(scanner, folder / "scanner.mem");
    // At 4800 baud a reply takes about 50 ms on the wire and reaches the port a few bytes at a
    // time; the identification needs more than the least settle wait.
    StartAndOpen({"--memory", (folder / "scanner.mem").string(), "--latency-ms", "5"}, 4800, 100);
    ExpectReadBack(scanner, 1, 8);
}

TEST_F(Transfer, PulledCableEndsTheReadAtOnceNamingTheChannel) {
    StartAndOpen({"--fault", "disconnect@ch7"});
    const auto read = ReadRange(e2e::FullImage(), 1, 20);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Failed);
    EXPECT_NE(read->message.find("007"), std::string::npos) << read->message;
    EXPECT_LT(seconds, 5.0);
}

TEST_F(Transfer, StopEndsAReadWithinASecond) {
    StartAndOpen({"--latency-ms", "20"});
    vex::ReadRequest all;
    all.items = {true, true, true};
    all.area = vex::TransferArea::AllBanks;
    QElapsedTimer clock;
    qint64 stoppedAt = 0;
    clock.start();
    QTimer::singleShot(500, [&] {
        stoppedAt = clock.elapsed();
        session->stop();
    });
    const auto read = Run([&] { session->startRead(e2e::EmptyImage(), all); }, 30000);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Stopped);
    EXPECT_LT(clock.elapsed() - stoppedAt, 1000);
}

TEST_F(Transfer, WrongBaudRateFindsNoScanner) {
    ASSERT_TRUE(sim.StartQuick({"--baud", "9600"}));
    Connect(19200);
    const auto opened = Open();
    ASSERT_TRUE(opened.has_value());
    EXPECT_TRUE(opened->port.ok());
    EXPECT_FALSE(opened->detected);
    const auto read = ReadRange(e2e::EmptyImage(), 1, 5);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Refused);
}

// The serial transport alone: bytes both ways, then a fault when the line goes.
TEST_F(Transfer, PortCarriesBytesAndReportsTheLineGoing) {
    ASSERT_TRUE(sim.StartQuick({"--latency-ms", "1", "--baud", "19200"}));
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
    port.write("SI\r\n");
    RunUntil(false, 5000, loop);  // the reply's end or a fault ends the loop
    EXPECT_NE(received.find("BCT8"), std::string::npos) << received;
    EXPECT_FALSE(fault);

    sim.Stop();
    port.write("SI\r\n");
    RunUntil(fault.has_value(), 5000, loop);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->fault, vex::TransportFault::Disconnected);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(Transfer, PortThatCannotBeOpenedSaysWhyAndTheFix) {
    vex::SerialTransport missing("/dev/vexatron-no-such-port", 19200);
    EXPECT_EQ(missing.open().message, vex::kPortUnavailableMessage);
    EXPECT_FALSE(missing.isOpen());
    // A port held by another program reads as a permission error too; the device's own rights
    // tell the two apart, and only a real lack of rights names the fix.
    const auto busy = vex::ClassifyOpenFailure(QSerialPort::PermissionError, "/dev/ttyUSB0",
                                               "Refused", {true, true, true});
    EXPECT_EQ(busy.fault, vex::TransportFault::Busy);
    EXPECT_EQ(busy.message, vex::kPortUnavailableMessage);
    const auto denied = vex::ClassifyOpenFailure(QSerialPort::PermissionError, "/dev/ttyUSB0",
                                                 "Refused", {true, false, false});
    EXPECT_EQ(denied.fault, vex::TransportFault::Permission);
    EXPECT_NE(denied.message.find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_EQ(denied.detail, "/dev/ttyUSB0: Refused");
}

}  // namespace
