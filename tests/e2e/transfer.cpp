// The real link over the real serial port against bct8sim: channels read back field by field
// from replies in pieces at the slowest speed, a wrong speed and STOP in real time (a pulled
// cable is the command line's). What the link says and when, for every other fault, is proven on
// the fake clock.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "e2e/link_fixture.h"
#include "e2e/netdb_server.h"
#include "link/session.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace {

using vex::TransferOutcome;

// The simulator, the serial port on its device and a session over it.
struct Transfer : ::testing::Test {
    void SetUp() override { netdbtest::EnsureApp(); }

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
        netdbtest::RunUntilDone(
            [&](auto done) {
                session->open([&, done](const vex::OpenResult& r) {
                    result = r;
                    done();
                });
            },
            10000);
        return result;
    }

    // Runs one transfer to its end; nullopt when it did not end within the time.
    std::optional<vex::TransferResult> Run(std::function<void()> start, int timeoutMs = 20000) {
        std::optional<vex::TransferResult> result;
        netdbtest::RunUntilDone(
            [&](auto done) {
                vex::LinkEvents events;
                events.finished = [&, done](const vex::TransferResult& r) {
                    result = r;
                    done();
                };
                session->setEvents(events);
                start();
            },
            timeoutMs);
        session->setEvents({});
        return result;
    }

    simtest::TempFolder folder;
    simtest::SimProcess sim;
    vex::QtScheduler scheduler;
    std::unique_ptr<vex::Transport> transport;
    std::unique_ptr<vex::LinkSession> session;
};

TEST_F(Transfer, SlowestSpeedRepliesArriveInPiecesAndAreJoined) {
    const vex::Image scanner = e2e::FullImage();
    e2e::WriteSimMemory(scanner, folder / "scanner.mem");
    // At 4800 baud a reply takes about 50 ms on the wire and reaches the port a few bytes at a
    // time; the identification needs more than the least settle wait.
    StartAndOpen({"--memory", (folder / "scanner.mem").string(), "--latency-ms", "5"}, 4800, 100);
    vex::ReadRequest request;  // channels 1..8, frequencies only
    request.items.frequencies = true;
    request.area = vex::TransferArea::ChannelRange;
    request.rangeStart = 1;
    request.rangeEnd = 8;
    const auto read = Run([&] { session->startRead(e2e::EmptyImage(), request); });
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
    const auto differences = e2e::WireDifferences(scanner, read->image, 1, 8);
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
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
}

TEST_F(Transfer, PortThatCannotBeOpenedSaysWhyAndTheFix) {
    vex::SerialTransport missing("/dev/vexatron-no-such-port", 19200);
    EXPECT_EQ(missing.open().message, vex::kPortUnavailableMessage);
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
