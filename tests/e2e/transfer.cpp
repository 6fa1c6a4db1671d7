// The real link over the real serial port against bct8sim: a full image sent and read back
// field by field, and each fault the scanner can show, recovered from or ended with the
// message the user is meant to see, without damage to the image.
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
        const auto opened = line.Open();
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

    // Gives the simulator a memory file holding `scanner` and then `extra`; returns its path.
    std::filesystem::path SeedMemory(const vex::Image& scanner, const std::string& extra = "");

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

std::filesystem::path Transfer::SeedMemory(const vex::Image& scanner, const std::string& extra) {
    const auto memory = line.folder / "scanner.mem";
    std::ofstream(memory) << SimMemory(scanner) << extra;
    return memory;
}

TEST_F(Transfer, FullImageSentAndReadBackFieldByField) {
    const auto memory = line.folder / "scanner.mem";
    StartAndOpen({"--memory", memory.string()});
    const vex::Image image = e2e::FullImage();

    const auto sent = line.Send(image, e2e::SendAll(), 120000);
    ASSERT_TRUE(sent.has_value()) << "the send did not end";
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    EXPECT_TRUE(sent->warnings.empty()) << sent->warnings.front();
    const double sendSeconds = line.seconds;

    const vex::Image before = e2e::EmptyImage();
    const auto read = line.Read(before, e2e::ReadAll(), 120000);
    ASSERT_TRUE(read.has_value()) << "the read did not end";
    ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
    EXPECT_TRUE(read->warnings.empty()) << read->warnings.front();
    const auto differences = e2e::WireDifferences(image, read->image);
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
    // Priority channels are not part of an upload: the scanner's own come back.
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        EXPECT_EQ(read->image.PriorityChannel[b], b * 50 + 1);
    }
    // Logs of the transfer are in the program folder.
    EXPECT_TRUE(std::filesystem::exists(line.folder / "txlog.txt"));
    EXPECT_TRUE(std::filesystem::exists(line.folder / "rxdat.txt"));
    EXPECT_TRUE(std::filesystem::exists(line.folder / "TRUNCK8.TXT"));
    EXPECT_NE(simtest::ReadFile(line.folder / "version.ini").find("BCT8"), std::string::npos);
    std::printf("full send %.1f s, full read %.1f s\n", sendSeconds, line.seconds);
}

TEST_F(Transfer, SingleBankReadTakesThatBankAndItsPriorityChannelOnly) {
    const vex::Image scanner = e2e::FullImage();
    const auto memory = SeedMemory(scanner, "PRIO B 077\n");
    StartAndOpen({"--memory", memory.string(), "--trace", (line.folder / "trace.txt").string()});
    vex::Image mine = e2e::EmptyImage();
    mine.channel(0, 1)[vex::kFieldFrequency] = "0162.5500";  // outside the bank: kept
    mine.channel(1, 1)[vex::kFieldFrequency] = "0155.5500";  // inside: replaced
    vex::ReadRequest request;
    request.items.frequencies = true;
    request.area = vex::TransferArea::SingleBank;
    request.bank = 1;
    const auto read = line.Read(mine, request, 20000);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
    EXPECT_TRUE(read->singleBankFlag);
    EXPECT_EQ(read->image.PriorityChannel[1], 77);
    EXPECT_EQ(read->image.channel(0, 1)[vex::kFieldFrequency], "0162.5500");
    const auto differences = e2e::WireDifferences(scanner, read->image, 51, 100, false);
    EXPECT_TRUE(differences.empty()) << e2e::Joined(differences);
    // The run asks for channel 50 with "PM" first, then 51..100 with "MA".
    const std::string trace = simtest::ReadFile(line.folder / "trace.txt");
    const std::size_t pm = trace.find("< PM050");
    ASSERT_NE(pm, std::string::npos) << trace;
    EXPECT_NE(trace.find("< MA051", pm), std::string::npos);
    EXPECT_NE(trace.find("< MA100", pm), std::string::npos);
    EXPECT_EQ(trace.find("< MA101", pm), std::string::npos);
}

TEST_F(Transfer, FrequenciesNotInTheCanonicalFormAreSentAsTheirValueNotErased) {
    StartAndOpen();
    vex::Image image = e2e::EmptyImage();
    // Band edges as normalisation writes them, and numbers with blanks around them.
    const char* stored[] = {"512", "25", "956", "1300", " 162.55 ", " 0851.0125"};
    const char* expected[] = {"0512.0000", "0025.0000", "0956.0000",
                              "1300.0000", "0162.5500", "0851.0125"};
    for (int s = 1; s <= 6; ++s) {
        vex::Channel& c = image.channel(0, s);
        c[vex::kFieldFrequency] = stored[s - 1];
        c[vex::kFieldTrunk] = c[vex::kFieldDelay] = c[vex::kFieldLockout] = "0";
    }
    const auto sent = SendRange(image, 1, 6);
    ASSERT_TRUE(sent.has_value());
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    const auto read = ReadRange(e2e::EmptyImage(), 1, 6);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
    for (int s = 1; s <= 6; ++s) {
        EXPECT_EQ(read->image.channel(0, s)[vex::kFieldFrequency], expected[s - 1]) << s;
    }
}

TEST_F(Transfer, SlowestSpeedRepliesArriveInPiecesAndAreJoined) {
    const vex::Image scanner = e2e::FullImage();
    const auto memory = SeedMemory(scanner);
    // At 4800 baud a reply takes about 50 ms on the wire and reaches the port a few bytes at a
    // time.
    // The start-up sequence waits delay1 for the identification, which at this speed needs
    // more than the least delay.
    vex::Options options = e2e::FastOptions();
    options.delay1 = 100;
    StartAndOpen({"--memory", memory.string(), "--latency-ms", "5"}, 4800, options);
    ExpectReadBack(scanner, 1, 8);
}

TEST_F(Transfer, ChannelRangeSendWritesExactlyThoseChannels) {
    const auto trace = line.folder / "trace.txt";
    StartAndOpen({"--trace", trace.string()});
    const vex::Image image = e2e::FullImage();
    const auto sent = SendRange(image, 10, 12);
    ASSERT_TRUE(sent.has_value());
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    const std::string text = simtest::ReadFile(trace);
    for (int n = 1; n <= 250; ++n) {
        char write[16];
        std::snprintf(write, sizeof write, "< PM%03d", n);
        const bool written = text.find(std::string(write) + " ") != std::string::npos ||
                             text.find(std::string(write) + "T") != std::string::npos;
        EXPECT_EQ(written, n >= 10 && n <= 12) << n;
    }
}

// --- faults while reading ------------------------------------------------------------------

TEST_F(Transfer, ReadRecoversFromUnansweredRequests) {
    const vex::Image scanner = e2e::FullImage();
    const auto memory = SeedMemory(scanner);
    StartAndOpen({"--memory", memory.string(), "--fault", "no-reply@ch5:3"});
    ASSERT_NO_FATAL_FAILURE(ExpectReadBack(scanner, 1, 10));
    // Three one-second time-outs and their port resets.
    EXPECT_GE(line.seconds, 3.0);
}

TEST_F(Transfer, ReadRecoversFromRefusedAndGarbledReplies) {
    const vex::Image scanner = e2e::FullImage();
    const auto memory = SeedMemory(scanner);
    StartAndOpen({"--memory", memory.string(), "--fault", "err@ch3", "--fault", "garbage@ch8:2"});
    ASSERT_NO_FATAL_FAILURE(ExpectReadBack(scanner, 1, 10));
}

TEST_F(Transfer, ReadGivesUpAfterTenTimeOutsWithTheMessage) {
    StartAndOpen({"--fault", "no-reply@ch4:always"});
    const vex::Image mine = e2e::FullImage();
    const auto read = ReadRange(mine, 1, 10, 40000);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Failed);
    EXPECT_EQ(read->message, std::string(vex::kCommunicationTimeoutMessage) +
                                 " No answer to \"MA004\" at channel 004.");
    EXPECT_EQ(read->title, "Error");
    EXPECT_EQ(read->channelReached, 4);
    // Ten time-outs of a second each, and not much more.
    EXPECT_GE(line.seconds, 10.0);
    EXPECT_LT(line.seconds, 25.0);
}

TEST_F(Transfer, ReplyWithoutItsLineEndEndsTheReadAfterTwoSeconds) {
    StartAndOpen({"--fault", "cut-reply@ch6"});
    const auto read = ReadRange(e2e::FullImage(), 1, 10);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Failed);
    EXPECT_EQ(read->message, vex::kCrlfTimeoutMessage);
    EXPECT_GE(line.seconds, 2.0);
    EXPECT_LT(line.seconds, 6.0);
}

TEST_F(Transfer, PulledCableEndsTheReadAtOnceNamingTheChannel) {
    StartAndOpen({"--fault", "disconnect@ch7"});
    const auto read = ReadRange(e2e::FullImage(), 1, 20);
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
        line.Run([&] { line.session->startRead(e2e::EmptyImage(), e2e::ReadAll()); }, 30000,
                 [&] {
                     stoppedAt = clock.elapsed();
                     line.session->stop();
                 },
                 1500);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Stopped);
    EXPECT_LT(clock.elapsed() - stoppedAt, 1000);
}

TEST_F(Transfer, ScannerThatDoesNotIdentifyGetsNothing) {
    const auto trace = line.folder / "trace.txt";
    StartAndOpen({"--trace", trace.string()});
    ASSERT_EQ(line.sim.Control("fault err@SI:always"), "ok");
    const auto sent = SendRange(e2e::FullImage(), 1, 5);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->outcome, TransferOutcome::Refused);
    EXPECT_EQ(sent->message,
              "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode.");
    EXPECT_EQ(simtest::ReadFile(trace).find("< PM"), std::string::npos);
}

TEST_F(Transfer, WrongBaudRateFindsNoScanner) {
    ASSERT_TRUE(line.Start({}, 9600));
    ASSERT_TRUE(line.Connect(line.sim.device(), 19200));
    const auto opened = line.Open();
    ASSERT_TRUE(opened.has_value());
    EXPECT_TRUE(opened->port.ok());
    EXPECT_FALSE(opened->detected);
    const auto read = ReadRange(e2e::EmptyImage(), 1, 5);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->outcome, TransferOutcome::Refused);
    EXPECT_EQ(read->message,
              "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode");
}

TEST_F(Transfer, MissingPortIsReportedAsUnavailable) {
    ASSERT_TRUE(line.Connect((line.folder / "no-such-port").string(), 19200));
    const auto opened = line.Open();
    ASSERT_TRUE(opened.has_value());
    EXPECT_FALSE(opened->port.ok());
    EXPECT_EQ(opened->port.message, vex::kPortUnavailableMessage);
}

// --- faults while sending ------------------------------------------------------------------

TEST_F(Transfer, SendRecoversFromALostWriteAndWritesTheChannel) {
    const auto memory = line.folder / "scanner.mem";
    StartAndOpen({"--memory", memory.string(), "--fault", "no-reply@ch3:2"});
    const vex::Image image = e2e::FullImage();
    const auto sent = SendRange(image, 1, 6);
    ASSERT_TRUE(sent.has_value());
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    ExpectReadBack(image, 1, 6);
}

TEST_F(Transfer, SendRecoversFromARefusedLockoutCommand) {
    StartAndOpen({"--fault", "err@LO"});
    const vex::Image image = e2e::FullImage();
    const auto sent = SendRange(image, 1, 3);
    ASSERT_TRUE(sent.has_value());
    ASSERT_EQ(sent->outcome, TransferOutcome::Completed) << sent->message;
    ExpectReadBack(image, 1, 3);
}

TEST_F(Transfer, PulledCableDuringASendLeavesTheScannerMemoryWhole) {
    const auto memory = line.folder / "scanner.mem";
    StartAndOpen({"--memory", memory.string(), "--fault", "disconnect@ch20"});
    const vex::Image image = e2e::FullImage();
    const vex::Image copy = image;
    const auto sent = SendRange(image, 1, 40);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->outcome, TransferOutcome::Failed);
    EXPECT_NE(sent->message.find("020"), std::string::npos) << sent->message;
    EXPECT_TRUE(image == copy);
    EXPECT_EQ(line.sim.Wait(3000), 0);
    // The scanner kept channels 1..19 as sent and nothing of 20 on.
    const std::string saved = simtest::ReadFile(memory);
    EXPECT_NE(saved.find("CH 019 "), std::string::npos);
    EXPECT_NE(saved.find("CH 020 00000000"), std::string::npos);
}

TEST_F(Transfer, RefusedTrunkIdsAreReportedNotHidden) {
    StartAndOpen({"--fault", "err@TG A A:always"});
    vex::Image image = e2e::FullImage();
    vex::SendRequest request;
    request.items.trunkIds = true;
    request.area = vex::TransferArea::SingleBank;
    request.bank = 0;
    const auto sent = line.Send(image, request, 30000);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->outcome, TransferOutcome::Failed);
    EXPECT_NE(sent->message.find("did not confirm 10 commands"), std::string::npos)
        << sent->message;
}

TEST_F(Transfer, SendAskingConfirmationSendsNothingOnNo) {
    vex::Options options = e2e::FastOptions();
    options.expert = 0;
    const auto trace = line.folder / "trace.txt";
    StartAndOpen({"--trace", trace.string()}, 115200, options);
    line.answer = false;
    const auto sent = SendRange(e2e::FullImage(), 10, 12);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->outcome, TransferOutcome::Refused);
    ASSERT_EQ(line.questions.size(), 1u);
    EXPECT_EQ(line.questions[0], "Please confirm data upload.\nChannels: 10 / 12\nAre you sure?");
    EXPECT_EQ(simtest::ReadFile(trace).find("< PM"), std::string::npos);
}

TEST_F(Transfer, DeleteBankClearsItsFiftyChannels) {
    const vex::Image scanner = e2e::FullImage();
    const auto memory = SeedMemory(scanner);
    StartAndOpen({"--memory", memory.string()});
    const auto deleted = line.Run([&] { line.session->startDeleteBank(2); }, 20000);
    ASSERT_TRUE(deleted.has_value());
    ASSERT_EQ(deleted->outcome, TransferOutcome::Completed) << deleted->message;
    const auto read = ReadRange(e2e::EmptyImage(), 99, 152);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->outcome, TransferOutcome::Completed) << read->message;
    for (int n = 99; n <= 152; ++n) {
        const int b = (n - 1) / 50, s = n - 50 * b;
        EXPECT_EQ(vex::IsEmptyChannel(read->image, b, s),
                  n >= 101 && n <= 150 ? true : vex::IsEmptyChannel(scanner, b, s))
            << n;
    }
}

}  // namespace
