// The real link over the real serial port against bct8sim: channels sent and read back field by
// field, replies in pieces at the slowest speed, a pulled cable, a wrong speed and STOP in real
// time. What the link says and when, for every other fault, is proven on the fake clock.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/memfile.h"
#include "e2e/link_fixture.h"
#include "link/link.h"

namespace {

using e2e::Line;
using vex::TransferOutcome;

int g_argc = 1;
char g_name[] = "e2e_transfer";
char* g_argv[] = {g_name, nullptr};

struct Transfer : ::testing::Test {
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) new QCoreApplication(g_argc, g_argv);
    }
    Line line;

    void StartAndOpen(std::vector<std::string> simArgs = {}, long baud = 115200,
                      vex::Options options = e2e::FastOptions()) {
        ASSERT_TRUE(line.Start(std::move(simArgs), baud, options));
        const auto opened = line.open();
        ASSERT_TRUE(opened.has_value());
        ASSERT_TRUE(opened->port.ok()) << opened->port.message << " " << opened->port.detail;
        ASSERT_TRUE(opened->detected) << opened->identification;
    }

    // Reads channels `first`..`last` with "Channel Range:".
    std::optional<vex::TransferResult> ReadRange(const vex::Image& image, int first, int last,
                                                 int timeoutMs = 20000) {
        vex::ReadRequest request;
        request.items.frequencies = true;
        request.area = vex::TransferArea::ChannelRange;
        request.rangeStart = first;
        request.rangeEnd = last;
        return line.Read(image, request, timeoutMs);
    }
    std::optional<vex::TransferResult> SendRange(const vex::Image& image, int first, int last,
                                                 int timeoutMs = 20000) {
        vex::SendRequest request;
        request.items.frequencies = true;
        request.area = vex::TransferArea::ChannelRange;
        request.rangeStart = first;
        request.rangeEnd = last;
        return line.Send(image, request, timeoutMs);
    }

    // Gives the simulator a memory file holding `scanner`; returns its path.
    std::filesystem::path SeedMemory(const vex::Image& scanner);

    // Reads channels `first`..`last` into an empty image and checks them against `expected`
    // as the wire carries them.
    void ExpectReadBack(const vex::Image& expected, int first, int last) {
        const auto read = ReadRange(e2e::EmptyImage(), first, last);
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
        const auto differences = e2e::WireDifferences(expected, read->image, first, last, false);
        EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
    }
};

// A memory file for the simulator holding channels 1..250 of the image.
std::string SimMemory(const vex::Image& image) {
    std::string text = "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= 250; ++n) {
        const vex::Channel& c = image.channel((n - 1) / 50, n - 50 * ((n - 1) / 50));
        const std::string& f = c[vex::kFieldFrequency];
        const std::string wire = vex::IsEmptyChannel(image, (n - 1) / 50, n - 50 * ((n - 1) / 50))
                                     ? "00000000"
                                     : f.substr(0, 4) + f.substr(5, 4);
        char line[64];
        std::snprintf(line, sizeof line, "CH %03d %s T%c D%c L%c\n", n, wire.c_str(),
                      c[vex::kFieldTrunk] == "1" ? 'N' : 'F',
                      c[vex::kFieldDelay] == "1" ? 'N' : 'F',
                      c[vex::kFieldLockout] == "1" ? 'N' : 'F');
        text += line;
    }
    return text;
}

std::filesystem::path Transfer::SeedMemory(const vex::Image& scanner) {
    const auto memory = line.folder / "scanner.mem";
    std::ofstream(memory) << SimMemory(scanner);
    return memory;
}

TEST_F(Transfer, ChannelsSentAndReadBackFieldByField) {
    StartAndOpen();
    // Channels 1..15 hold every mix of the flags and an empty channel.
    const vex::Image image = e2e::FullImage();
    const auto sent = SendRange(image, 1, 15);
    ASSERT_TRUE(sent.has_value()) << "the send did not end";
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    EXPECT_TRUE(sent->warnings.empty()) << sent->warnings.front();
    ExpectReadBack(image, 1, 15);
    // Logs of the transfer are in the program folder.
    EXPECT_TRUE(std::filesystem::exists(line.folder / "txlog.txt"));
    EXPECT_TRUE(std::filesystem::exists(line.folder / "rxdat.txt"));
    EXPECT_NE(simtest::ReadFile(line.folder / "version.ini").find("BCT8"), std::string::npos);
}

TEST_F(Transfer, SlowestSpeedRepliesArriveInPiecesAndAreJoined) {
    const vex::Image scanner = e2e::FullImage();
    const auto memory = SeedMemory(scanner);
    // At 4800 baud a reply takes about 50 ms on the wire and reaches the port a few bytes at a
    // time. The start-up sequence waits delay1 for the identification, which at this speed
    // needs more than the least delay.
    vex::Options options = e2e::FastOptions();
    options.delay1 = 100;
    StartAndOpen({"--memory", memory.string(), "--latency-ms", "5"}, 4800, options);
    ExpectReadBack(scanner, 1, 8);
}

TEST_F(Transfer, PulledCableEndsTheReadAtOnceNamingTheChannel) {
    StartAndOpen({"--fault", "disconnect@ch7"});
    const vex::Image mine = e2e::FullImage();
    const auto read = ReadRange(mine, 1, 20);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Failed);
    EXPECT_NE(read->message.find("007"), std::string::npos) << read->message;
    EXPECT_LT(line.seconds, 5.0);
}

TEST_F(Transfer, StopEndsAReadWithinASecond) {
    StartAndOpen({"--latency-ms", "20"});
    QElapsedTimer clock;
    qint64 stoppedAt = 0;
    clock.start();
    const auto read =
        line.run([&] { line.session->startRead(e2e::EmptyImage(), e2e::ReadAll()); }, 30000,
                 [&] {
                     stoppedAt = clock.elapsed();
                     line.session->stop();
                 },
                 500);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Stopped);
    EXPECT_LT(clock.elapsed() - stoppedAt, 1000);
}

TEST_F(Transfer, WrongBaudRateFindsNoScanner) {
    ASSERT_TRUE(line.Start({}, 9600));
    ASSERT_TRUE(line.Connect(line.sim.device(), 19200));
    const auto opened = line.open();
    ASSERT_TRUE(opened.has_value());
    EXPECT_TRUE(opened->port.ok());
    EXPECT_FALSE(opened->detected);
    const auto read = ReadRange(e2e::EmptyImage(), 1, 5);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Refused);
}

}  // namespace
