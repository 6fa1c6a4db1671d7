#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

std::string Wire(int channel) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0%03d%04d", 100 + channel, channel * 10);
    return buffer;
}

// The scanner holds a different frequency in each of its 250 channels.
class ReadTransfer : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        for (int ch = 1; ch <= 250; ++ch) {
            scanner.model.channel(ch) = {Wire(ch), ch % 3 == 0, false, ch % 2 == 1};
        }
    }
    static std::string Memory(int channel) {
        const std::string w = Wire(channel);
        return w.substr(0, 4) + "." + w.substr(4);
    }
    std::string frequencyRead(int bank, int slot) const {
        return result ? result->image.channel(bank, slot)[kFieldFrequency] : "";
    }
};

TEST_F(ReadTransfer, OpeningSendsTheStartUpSequenceAndWritesVersionIni) {
    EXPECT_TRUE(open().detected);
    ASSERT_EQ(scanner.texts(), (Strings{"KEY07", "MA001", "VR", "SI"}));
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(scanner.sent[i].at, 100 * std::int64_t(i));
    // Everything waiting after "SI", the firmware answer included, as one line.
    EXPECT_EQ(fileText("version.ini"), "VR 1.00 SI BCT8,V1.00,SIM\r\n");
}

TEST_F(ReadTransfer, SingleBankWireSequenceAndTiming) {
    image.channel(0, 50)[kFieldFrequency] = "0162.5500";
    const TransferResult r = read(ReadBank({true, false, false}, 1));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;

    Strings expected{"SI", "SI", "TB A", "TB B", "TB C", "TB D", "TB E", "PC B", "PM050"};
    for (int ch = 51; ch <= 100; ++ch) expected.push_back("MA" + ChannelDigits(ch));
    for (const char* pc : {"PC A", "PC B", "PC C", "PC D", "PC E"}) expected.push_back(pc);
    EXPECT_EQ(scanner.texts(), expected);

    // Identification: two "SI" 0.3 s apart; the type reads wait delay1 after each answer.
    EXPECT_EQ(scanner.sent[1].at, 300);
    EXPECT_EQ(scanner.sent[2].at, 600);
    EXPECT_EQ(scanner.sent[3].at, 600 + 5 + 100);
    // "PC B" then 0.1 s before the first channel; channels follow their answers at once.
    const std::int64_t pc = scanner.sent[7].at;
    EXPECT_EQ(scanner.sent[8].at, pc + 100);
    EXPECT_EQ(scanner.sent[9].at, pc + 100 + 5);

    for (int slot = 1; slot <= 50; ++slot) {
        EXPECT_EQ(frequencyRead(1, slot), Memory(50 + slot));
        EXPECT_EQ(r.image.channel(1, slot)[kFieldLockout], (50 + slot) % 2 ? "1" : "0");
    }
    // The first request belongs to the bank before; its channel is not overwritten.
    EXPECT_EQ(frequencyRead(0, 50), "0162.5500");
    EXPECT_EQ(r.image.PriorityChannel[1], 51);
    EXPECT_TRUE(r.singleBankFlag);
    const std::string log = fileText("rxdat.txt");
    EXPECT_THAT(log, HasSubstr("FD:1 1 1 C051 F"));
    EXPECT_THAT(log, HasSubstr("channelmarker found \r\n"));
}

TEST_F(ReadTransfer, AllBanksReadsEveryChannelAndTheCallersImageStaysAsItWas) {
    image.channel(2, 7)[kFieldTag] = "KEEP";
    const Image before = image;
    const TransferResult r = read(ReadAll());
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(image, before);
    for (int ch = 1; ch <= 250; ++ch) {
        const Channel& c = r.image.channel(BankOfChannel(ch), SlotOfChannel(ch));
        ASSERT_EQ(c[kFieldFrequency], Memory(ch)) << ch;
        EXPECT_EQ(c[kFieldTrunk], ch % 3 ? "0" : "1");
    }
    // Without "Merge Data" the banks are cleared first: the scanner holds no tags.
    EXPECT_EQ(r.image.channel(2, 7)[kFieldTag], "");
    EXPECT_EQ(scanner.textsFrom("PM001").size(), 250u + 5u);
    EXPECT_FALSE(r.singleBankFlag);

    ReadRequest merge = ReadAll();
    merge.merge = true;
    ASSERT_EQ(read(merge).outcome, TransferOutcome::Completed);
    EXPECT_EQ(result->image.channel(2, 7)[kFieldTag], "KEEP");
    EXPECT_EQ(frequencyRead(2, 7), Memory(107));
}

TEST_F(ReadTransfer, TenthTimeOutEndsTheReadKeepingOnlyWhatWasRead) {
    image.TrunkId[0][0] = {"777", "Old tag", "", ""};
    scanner.inject("no-reply@MA060:always");
    const TransferResult r = read(ReadAll({true, true, false}));
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, std::string(kCommunicationTimeoutMessage) +
                             " No answer to \"MA060\" at channel 060.");
    EXPECT_EQ(r.channelReached, 60);
    EXPECT_EQ(r.read.channels.count(), 59u);
    EXPECT_TRUE(r.read.trunkIds.none());
    // The taking of the channels read is the window's test; the IDs not reached are kept.
    Image kept = image;
    TakeReadPart(r, kept);
    EXPECT_EQ(kept.TrunkId[0][0][1], "Old tag");
    // Nine port resets, each with two empty lines 0.2 s apart, then the tenth time-out.
    const Strings tail = scanner.textsFrom("MA060");
    ASSERT_EQ(tail.size(), 1u + 9u * 3u);
    EXPECT_EQ(Strings(tail.begin(), tail.begin() + 4), (Strings{"MA060", "", "", "MA060"}));
    EXPECT_EQ(finishedAt, timeOf("MA060") + 9 * 1400 + 1000);
    EXPECT_FALSE(scanner.isOpen()) << "the port is closed after the last time-out";
}

// An unknown scanner is read anyway with option 7; an answered channel resets the retry count.
TEST_F(ReadTransfer, NineTimeOutsPerChannelAreForgiven) {
    scanner.identifyAs("XYZ");
    config.options.option[7] = 1;
    scanner.inject("no-reply@MA010:9");
    scanner.inject("no-reply@MA020:9");
    EXPECT_EQ(read(ReadAll()).outcome, TransferOutcome::Completed) << result->message;
    EXPECT_EQ(frequencyRead(0, 20), Memory(20));
}

struct BadReply {
    const char* name;
    const char* reply;
    int times;  // answered so to the first `times` requests of channel 5
    TransferOutcome outcome;
    const char* messagePart;
    bool stored = true;
};

class ReadBadReply : public ReadTransfer, public ::testing::WithParamInterface<BadReply> {};

TEST_P(ReadBadReply, IsRetriedNeverStored) {
    const BadReply& c = GetParam();
    scanner.intercept = [c](const std::string& command, int count) -> Reply {
        if (command == "MA005" && count <= c.times) return Answer(c.reply);
        return std::nullopt;
    };
    const TransferResult r = read(ReadAll());
    EXPECT_EQ(r.outcome, c.outcome) << r.message;
    EXPECT_THAT(r.message, HasSubstr(c.messagePart));
    const bool stored = c.stored && c.outcome == TransferOutcome::Completed;
    EXPECT_EQ(frequencyRead(0, 5), stored ? Memory(5) : "0000.0000");
    if (std::string_view(c.reply) == "ERR\r") {
        EXPECT_THAT(replies, Contains("???"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReadBadReply,
    ::testing::Values(BadReply{"RefusedOnce", "ERR\r", 1, TransferOutcome::Completed, ""},
                      // The marker alone is a valid answer that changes nothing.
                      BadReply{"MarkerOnly", "C005\r", 100, TransferOutcome::Completed, "", false},
                      BadReply{"RefusedAlways", "ERR\r", 100, TransferOutcome::Failed,
                               "refused the command for channel 005"},
                      BadReply{"GarbageTwice", "\x13#@!garbage\r", 2, TransferOutcome::Completed,
                               ""},
                      BadReply{"GarbageAlways", "\x13#@!garbage\r", 100, TransferOutcome::Failed,
                               "channel 005 could not be read"},
                      // The two seconds' wait for the line end is the link's own test.
                      BadReply{"LineEndMissing", "C005 F0105", 1, TransferOutcome::Failed,
                               "CRLF timeout _ check baudrate / comport settings."},
                      BadReply{"OtherChannel", "C006 F01234567 TF DF LF\r", 100,
                               TransferOutcome::Failed, "could not be read"}),
    RowName<BadReply>);

// The pulled cable in the channels is the serial end-to-end test's; here in the trunk IDs.
TEST_F(ReadTransfer, APulledCableEndsAtOnceNamingWhereItWas) {
    scanner.model.trunk(0).typeName = "E2-800";
    make();
    session->startRead(image, ReadAll({true, true, false}));
    runUntilSent("TG A B3");
    scanner.pullAtNextCommand();
    const std::int64_t pulledAt = clock.now();
    const TransferResult r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_THAT(r.message, HasSubstr("at trunk ID B4 of bank 1"));
    EXPECT_LT(finishedAt - pulledAt, 250);
}

TEST_F(ReadTransfer, StopEndsAtOnceAndLeavesNoTimerRunning) {
    make();
    session->startRead(image, ReadAll());
    runUntilSent("MA100");
    session->stop();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, TransferOutcome::Stopped);
    EXPECT_EQ(result->channelReached, 100);
    const std::size_t sentBefore = scanner.sent.size();
    clock.runUntilIdle();
    EXPECT_EQ(scanner.sent.size(), sentBefore);
    EXPECT_EQ(finishedCount, 1);
    EXPECT_EQ(read(ReadAll()).outcome, TransferOutcome::Completed) << "the link is usable again";
}

// A read and "&Get trunktype" alike take the scanner's types into the image they give.
class TrunkTypeRead : public ReadTransfer, public ::testing::WithParamInterface<bool> {};

TEST_P(TrunkTypeRead, TakesTheScannersTypes) {
    scanner.setTypeNames({"EDCS SCT", "", "TYPE I", "E2-UHF", "SOMETHING"});
    image.TrunkType[4] = "8";
    image.TrunkType[1] = "3";
    const Image before = image;
    const TransferResult r = GetParam() ? run(kReadTrunkTypes) : read(ReadAll());
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(image, before);
    EXPECT_EQ(r.image.TrunkType[0], "9");
    EXPECT_EQ(r.image.TrunkType[1], "0");
    EXPECT_EQ(r.image.TrunkType[4], "8") << "an unknown name stores nothing";
    EXPECT_EQ(r.image.TrunkType[7], "0") << "banks the scanner does not have";
    EXPECT_EQ(session->scannerTrunkTypes()[4], "") << "no stale type for an unknown name";
}

INSTANTIATE_TEST_SUITE_P(ReadOrTypesAlone, TrunkTypeRead, ::testing::Bool());

TEST_F(ReadTransfer, AFailedTrunkTypeReadBlocksOnlyTheTrunkSteps) {
    scanner.inject("err@TB C:always");
    image.TrunkType[2] = "8";
    TransferResult r = read(ReadAll({true, false, false}));
    EXPECT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(hasStatus("Read trunktype/7"));
    EXPECT_EQ(r.warnings,
              Strings{"Reading trunktype failed. The image keeps its own trunk types."});
    EXPECT_EQ(frequencyRead(4, 50), Memory(250));
    EXPECT_EQ(r.image.TrunkType[2], "8");

    r = read(ReadAll({true, true, false}));
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_THAT(r.message, StartsWith("Reading trunktype failed."));
    EXPECT_EQ(r.read.channels.count(), 250u) << "the channels came in first";
}

TEST_F(ReadTransfer, ASettingTheScannerDidNotAnswerFailsTheReadNamingIt) {
    scanner.setTypeNames({"E2-800", "", "", "", ""});
    for (const char* silent : {"TC A", "TD"}) {
        scanner.inject(std::string("no-reply@") + silent + ":always");
        const TransferResult r = read(ReadAll({false, false, true}));
        EXPECT_EQ(r.outcome, TransferOutcome::Failed) << silent;
        EXPECT_THAT(r.message, HasSubstr("\"" + std::string(silent) + "\" of bank 1"));
        EXPECT_FALSE(r.read.trunkSettings[0]);
        EXPECT_TRUE(r.read.trunkSettings[1]);
    }
}

TEST(ReadLossCount, TagsTheReadWouldDrop) {
    Image image;
    ClearForStartup(image);
    image.channel(0, 1)[kFieldTag] = "Tower";
    image.channel(1, 5)[kFieldTag] = "Depot";
    image.TrunkId[1][3][1] = "Dispatch";
    ReadRequest merged = ReadAll({true, true, true});
    merged.merge = true;
    const std::tuple<const char*, ReadRequest, int, int> cases[] = {
        {"all", ReadAll({true, true, false}), 2, 1},
        {"bank 2", ReadBank({true, false, false}, 1), 1, 0},
        {"IDs of bank 1", ReadBank({false, true, false}, 0), 0, 0},
        {"merged", merged, 0, 0},
        {"no bank chosen", ReadBank({true, false, false}, -1), 0, 0},
    };
    for (const auto& [name, request, channelTags, idTags] : cases) {
        const ReadLosses losses = CountReadLosses(image, request);
        EXPECT_EQ(losses.channelTags, channelTags) << name;
        EXPECT_EQ(losses.idTags, idTags) << name;
    }
}

TEST_F(ReadTransfer, BankNamesAndTypesWithoutTouchingTheImage) {
    const char* names[] = {"POLICE", "", "FERRY, PORT", "D", "E"};
    for (int b = 0; b < 5; ++b) scanner.model.bankName(b) = names[b];
    scanner.setTypeNames({"LTR", "", "", "", ""});
    const TransferResult r = run(kReadBankNames);
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.bankNames, (std::array<std::string, 5>{"POLICE", "_", "FERRY; PORT", "D", "E"}));
    EXPECT_EQ(session->scannerTrunkTypes()[0], "8");
    // "FERRY" holds ERR, yet it is a name: no "???".
    EXPECT_THAT(replies, Not(Contains("???")));
    EXPECT_EQ(scanner.texts(), (Strings{"TA B A", "TA B B", "TA B C", "TA B D", "TA B E", "TB A",
                                        "TB B", "TB C", "TB D", "TB E"}));

    make();
    scanner.inject("no-reply@TA B B:always");
    const TransferResult failed = run(kReadBankNames);
    EXPECT_EQ(failed.outcome, TransferOutcome::Failed);
    EXPECT_EQ(failed.message, "Reading banknames failed.");
    EXPECT_TRUE(hasStatus("Read Bank Names/ 11")) << "gives up after eleven steps";
    EXPECT_FALSE(failed.namesRead);
    EXPECT_FALSE(session->namesRead());
}

}  // namespace
}  // namespace vex::test
