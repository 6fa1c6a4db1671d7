#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

using Strings = std::vector<std::string>;

std::string Wire(int channel) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0%03d%04d", 100 + channel, channel * 10);
    return buffer;
}

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
};

TEST_F(ReadTransfer, OpeningSendsTheStartUpSequenceAndWritesVersionIni) {
    make();
    std::optional<OpenResult> opened;
    session->open([&](const OpenResult& r) { opened = r; });
    EXPECT_FALSE(opened) << "never from inside open()";
    clock.runUntilIdle();
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->port.ok());
    EXPECT_TRUE(opened->detected);
    ASSERT_EQ(scanner.texts(), (Strings{"KEY07", "MA001", "VR", "SI"}));
    EXPECT_EQ(scanner.sent[0].at, 0);
    EXPECT_EQ(scanner.sent[1].at, 100);
    EXPECT_EQ(scanner.sent[2].at, 200);
    EXPECT_EQ(scanner.sent[3].at, 300);
    const std::string version = fileText("version.ini");
    // Everything waiting after "SI", the firmware answer included, as one line.
    EXPECT_EQ(version, "VR 1.00 SI BCT8,V1.00,SIM\r\n");
}

TEST_F(ReadTransfer, BusyPortIsReportedWithTheFixedMessage) {
    scanner.openStatus = {TransportFault::Busy, std::string(kPortUnavailableMessage), "busy"};
    make();
    std::optional<OpenResult> opened;
    session->open([&](const OpenResult& r) { opened = r; });
    clock.runUntilIdle();
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->port.message, kPortUnavailableMessage);
    EXPECT_TRUE(scanner.sent.empty());
}

TEST_F(ReadTransfer, SingleBankWireSequenceAndTiming) {
    ReadRequest request;
    request.items.frequencies = true;
    request.area = TransferArea::SingleBank;
    request.bank = 1;
    image.channel(0, 50)[kFieldFrequency] = "0162.5500";
    const TransferResult r = read(request);
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;

    Strings expected{"SI", "SI", "TB A", "TB B", "TB C", "TB D", "TB E", "PC B", "PM050"};
    for (int ch = 51; ch <= 100; ++ch)
        expected.push_back("MA" + std::to_string(ch).insert(0, 3 - std::to_string(ch).size(), '0'));
    for (const char* pc : {"PC A", "PC B", "PC C", "PC D", "PC E"}) expected.push_back(pc);
    EXPECT_EQ(scanner.texts(), expected);

    // Identification: two "SI" 0.3 s apart; the type reads wait delay1 after each answer.
    EXPECT_EQ(scanner.sent[0].at, 0);
    EXPECT_EQ(scanner.sent[1].at, 300);
    EXPECT_EQ(scanner.sent[2].at, 600);
    EXPECT_EQ(scanner.sent[3].at, 600 + 5 + 100);
    // "PC B" then 0.1 s before the first channel; channels follow their answers at once.
    const std::int64_t pc = scanner.sent[7].at;
    EXPECT_EQ(scanner.sent[8].at, pc + 100);
    EXPECT_EQ(scanner.sent[9].at, pc + 100 + 5);

    for (int slot = 1; slot <= 50; ++slot) {
        EXPECT_EQ(r.image.channel(1, slot)[kFieldFrequency], Memory(50 + slot));
        EXPECT_EQ(r.image.channel(1, slot)[kFieldLockout], (50 + slot) % 2 ? "1" : "0");
    }
    // The first request belongs to the bank before; its channel is not overwritten.
    EXPECT_EQ(r.image.channel(0, 50)[kFieldFrequency], "0162.5500");
    EXPECT_EQ(r.image.PriorityChannel[1], 51);
    EXPECT_TRUE(r.singleBankFlag);
    EXPECT_TRUE(hasStatus("Trunk type read Ok"));
    EXPECT_TRUE(hasStatus("Reading Prio Channels"));
    const std::string log = fileText("rxdat.txt");
    EXPECT_NE(log.find("FD:1 1 1 C051 F"), std::string::npos);
    EXPECT_NE(log.find("channelmarker found \r\n"), std::string::npos);
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
}

TEST_F(ReadTransfer, MergeKeepsWhatTheScannerDoesNotReport) {
    image.channel(2, 7)[kFieldTag] = "KEEP";
    ReadRequest request = ReadAll();
    request.merge = true;
    const TransferResult r = read(request);
    ASSERT_EQ(r.outcome, TransferOutcome::Completed);
    EXPECT_EQ(r.image.channel(2, 7)[kFieldTag], "KEEP");
    EXPECT_EQ(r.image.channel(2, 7)[kFieldFrequency], Memory(107));
}

TEST_F(ReadTransfer, ChannelRangeReadsExactlyTheChosenChannels) {
    ReadRequest request;
    request.items.frequencies = true;
    request.area = TransferArea::ChannelRange;
    request.rangeStart = 12;
    request.rangeEnd = 10;  // swapped limits
    const TransferResult r = read(request);
    ASSERT_EQ(r.outcome, TransferOutcome::Completed);
    const Strings from = scanner.textsFrom("PM010");
    EXPECT_EQ(Strings(from.begin(), from.begin() + 4),
              (Strings{"PM010", "MA011", "MA012", "PC A"}));
    EXPECT_EQ(r.image.channel(0, 13)[kFieldFrequency], image.channel(0, 13)[kFieldFrequency]);
    EXPECT_EQ(r.image.channel(0, 12)[kFieldFrequency], Memory(12));
}

TEST_F(ReadTransfer, RepliesInPiecesAreJoined) {
    scanner.pieces = 4;
    const TransferResult r = read(ReadAll());
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.channel(4, 50)[kFieldFrequency], Memory(250));
}

TEST_F(ReadTransfer, MissingChoicesAreRefusedBeforeAnythingIsSent) {
    ReadRequest none;
    none.singleBankFlag = true;
    const TransferResult refused = read(none);
    EXPECT_EQ(refused.message, "Please select which data you want to download.");
    EXPECT_TRUE(refused.singleBankFlag) << "a refused read leaves the flag as it was";
    result.reset();
    ReadRequest noArea;
    noArea.items.frequencies = true;
    EXPECT_EQ(read(noArea).message, "Please select All Banks or Single Bank.");
    result.reset();
    ReadRequest noBank = noArea;
    noBank.area = TransferArea::SingleBank;
    EXPECT_EQ(read(noBank).message, "Please select which bank you want to download.");
    EXPECT_TRUE(scanner.sent.empty());
}

TEST_F(ReadTransfer, UnknownScannerIsRefusedUnlessOption7) {
    scanner.identifyAs("XYZ");
    TransferResult r = read(ReadAll());
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_EQ(r.message,
              "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode");
    EXPECT_EQ(scanner.texts(), (Strings{"SI", "SI"}));
    EXPECT_FALSE(r.hasData);

    result.reset();
    config.options.option[7] = 1;
    make();
    r = read(ReadAll());
    EXPECT_EQ(r.outcome, TransferOutcome::Completed);
}

TEST_F(ReadTransfer, TenthTimeOutEndsTheReadAndKeepsWhatWasRead) {
    scanner.inject("no-reply@MA010:always");
    const TransferResult r = read(ReadAll());
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, std::string(kCommunicationTimeoutMessage) +
                             " No answer to \"MA010\" at channel 010.");
    EXPECT_EQ(r.title, "Error");
    EXPECT_EQ(r.channelReached, 10);
    EXPECT_TRUE(r.hasData);
    EXPECT_EQ(r.image.channel(0, 9)[kFieldFrequency], Memory(9));
    EXPECT_EQ(r.image.channel(0, 10)[kFieldFrequency], "0000.0000");
    // Nine port resets, each with two empty lines 0.2 s apart, then the tenth time-out.
    EXPECT_EQ(scanner.opens, 1 + 9);
    const Strings tail = scanner.textsFrom("MA010");
    ASSERT_EQ(tail.size(), 1u + 9u * 3u);
    EXPECT_EQ(tail[1], "");
    EXPECT_EQ(tail[2], "");
    EXPECT_EQ(tail[3], "MA010");
    std::int64_t firstMa010 = -1;
    for (const SentCommand& c : scanner.sent)
        if (c.text == "MA010" && firstMa010 < 0) firstMa010 = c.at;
    EXPECT_EQ(finishedAt, firstMa010 + 9 * 1400 + 1000);
    EXPECT_FALSE(hasStatus("Error: retrycount: 2"));
    EXPECT_TRUE(hasStatus("Error: retrycount: 3"));
    EXPECT_TRUE(hasStatus("Error: retrycount: 10"));
    EXPECT_FALSE(scanner.isOpen()) << "the port is closed after the last time-out";
}

TEST_F(ReadTransfer, AnAnsweredChannelResetsTheRetryCount) {
    scanner.inject("no-reply@MA010:9");
    scanner.inject("no-reply@MA020:9");
    const TransferResult r = read(ReadAll());
    EXPECT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.channel(0, 20)[kFieldFrequency], Memory(20));
}

TEST_F(ReadTransfer, MissingLineEndStopsAfterTwoSeconds) {
    scanner.intercept = [](const std::string& c, int) -> Reply {
        if (c == "MA005") return Answer("C005 F0105");
        return std::nullopt;
    };
    const TransferResult r = read(ReadAll());
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, "CRLF timeout _ check baudrate / comport settings.");
    std::int64_t sentAt = -1;
    for (const SentCommand& c : scanner.sent)
        if (c.text == "MA005") sentAt = c.at;
    EXPECT_EQ(finishedAt, sentAt + 5 + 2000);
    EXPECT_EQ(r.image.channel(0, 4)[kFieldFrequency], Memory(4));
    EXPECT_EQ(r.image.channel(0, 5)[kFieldFrequency], "0000.0000");
}

TEST_F(ReadTransfer, RefusedAndUnreadableRepliesAreRetriedNeverStored) {
    struct Case {
        const char* reply;
        int times;
        TransferOutcome outcome;
        const char* messagePart;
        bool stored = true;
    };
    const Case cases[] = {
        {"ERR\r", 1, TransferOutcome::Completed, ""},
        // The marker alone is a valid answer that changes nothing.
        {"C005\r", 100, TransferOutcome::Completed, "", false},
        {"ERR\r", 100, TransferOutcome::Failed, "refused the command for channel 005"},
        {"\x13#@!garbage\r", 2, TransferOutcome::Completed, ""},
        {"\x13#@!garbage\r", 100, TransferOutcome::Failed, "channel 005 could not be read"},
        {"C006 F01234567 TF DF LF\r", 100, TransferOutcome::Failed, "could not be read"},
    };
    for (const Case& c : cases) {
        SetUp();
        result.reset();
        replies.clear();
        scanner.sent.clear();
        scanner.intercept = [c](const std::string& command, int count) -> Reply {
            if (command == "MA005" && count <= c.times) return Answer(c.reply);
            return std::nullopt;
        };
        make();
        const TransferResult r = read(ReadAll());
        EXPECT_EQ(r.outcome, c.outcome) << c.reply << r.message;
        EXPECT_NE(r.message.find(c.messagePart), std::string::npos) << r.message;
        const std::string expected =
            c.stored && c.outcome == TransferOutcome::Completed ? Memory(5) : "0000.0000";
        EXPECT_EQ(r.image.channel(0, 5)[kFieldFrequency], expected);
        if (std::string_view(c.reply) == "ERR\r") {
            EXPECT_NE(std::find(replies.begin(), replies.end(), "???"), replies.end());
        }
    }
}

TEST_F(ReadTransfer, DisconnectEndsAtOnceNamingWhereItWas) {
    struct Case {
        TransferItems items;
        const char* pullAfter;
        const char* where;
    };
    const Case cases[] = {
        {{true, false, false}, "MA030", "at channel 031"},
        {{true, true, false}, "TG A B3", "at trunk ID B4 of bank 1"},
    };
    for (const Case& c : cases) {
        SetUp();
        result.reset();
        scanner.sent.clear();
        scanner.model.trunk(0).typeName = "E2-800";
        make();
        session->startRead(image, ReadAll(c.items));
        while (scanner.sent.empty() || scanner.sent.back().text != c.pullAfter) clock.advance(1);
        scanner.pullAtNextCommand();
        const std::int64_t pulledAt = clock.now();
        const TransferResult r = runToEnd();
        EXPECT_EQ(r.outcome, TransferOutcome::Failed);
        EXPECT_NE(r.message.find(c.where), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("The scanner is no longer connected."), std::string::npos);
        EXPECT_LT(finishedAt - pulledAt, 250);
        EXPECT_TRUE(r.hasData);
        EXPECT_EQ(r.image.channel(0, 30)[kFieldFrequency], Memory(30));
    }
}

TEST_F(ReadTransfer, AReadThatEndedEarlyReplacesOnlyWhatItRead) {
    for (int s = 1; s <= ChannelsPerBank; ++s) image.channel(1, s)[kFieldFrequency] = "0450.0000";
    image.TrunkId[0][0] = {"777", "Old tag", "", ""};
    scanner.inject("no-reply@MA060:always");
    const TransferResult r = read(ReadAll({true, true, false}));
    ASSERT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.read.channels.count(), 59u);
    EXPECT_TRUE(r.read.trunkIds.none());
    Image kept = image;
    TakeReadPart(r, kept);
    EXPECT_EQ(kept.channel(0, 1)[kFieldFrequency], Memory(1));
    EXPECT_EQ(kept.channel(1, 9)[kFieldFrequency], Memory(59));
    EXPECT_EQ(kept.channel(1, 10)[kFieldFrequency], "0450.0000") << "not reached: kept";
    EXPECT_EQ(kept.TrunkId[0][0][1], "Old tag");
}

TEST_F(ReadTransfer, StopEndsAtOnceAndLeavesNoTimerRunning) {
    make();
    session->startRead(image, ReadAll());
    while (scanner.sent.empty() || scanner.sent.back().text != "MA100") clock.advance(1);
    session->stop();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, TransferOutcome::Stopped);
    EXPECT_EQ(result->channelReached, 100);
    EXPECT_FALSE(session->busy());
    const std::size_t sentBefore = scanner.sent.size();
    clock.runUntilIdle();
    EXPECT_EQ(scanner.sent.size(), sentBefore);
    EXPECT_EQ(finishedCount, 1);
    // The link is usable again.
    result.reset();
    scanner.sent.clear();
    session->startRead(image, ReadAll());
    EXPECT_EQ(runToEnd().outcome, TransferOutcome::Completed);
}

TEST_F(ReadTransfer, TrunkTypesAreReadIntoTheResult) {
    scanner.setTypeNames({"EDCS SCT", "", "TYPE I", "E2-UHF", "SOMETHING"});
    image.TrunkType[4] = "8";
    const TransferResult r = read(ReadAll());
    ASSERT_EQ(r.outcome, TransferOutcome::Completed);
    EXPECT_EQ(r.image.TrunkType[0], "9");
    EXPECT_EQ(r.image.TrunkType[1], "0");
    EXPECT_EQ(r.image.TrunkType[2], "2");
    EXPECT_EQ(r.image.TrunkType[3], "4");
    EXPECT_EQ(r.image.TrunkType[4], "8") << "an unknown name stores nothing";
}

TEST_F(ReadTransfer, AFailedTrunkTypeReadBlocksOnlyTheTrunkSteps) {
    scanner.inject("err@TB C:always");
    image.TrunkType[2] = "8";
    TransferResult r = read(ReadAll({true, false, false}));
    EXPECT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(hasStatus("Read trunktype/7"));
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0], "Reading trunktype failed. The image keeps its own trunk types.");
    EXPECT_EQ(r.image.channel(4, 50)[kFieldFrequency], Memory(250));
    EXPECT_EQ(r.image.TrunkType[2], "8");

    result.reset();
    r = read(ReadAll({true, true, false}));
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message.rfind("Reading trunktype failed.", 0), 0u) << r.message;
    EXPECT_EQ(r.read.channels.count(), 250u) << "the channels came in first";
}

TEST_F(ReadTransfer, ASettingTheScannerDidNotAnswerFailsTheReadNamingIt) {
    scanner.setTypeNames({"E2-800", "", "", "", ""});
    for (const char* silent : {"TC A", "TD"}) {
        result.reset();
        scanner.inject(std::string("no-reply@") + silent + ":always");
        const TransferResult r = read(ReadAll({false, false, true}));
        EXPECT_EQ(r.outcome, TransferOutcome::Failed) << silent;
        EXPECT_NE(r.message.find("\"" + std::string(silent) + "\" of bank 1"), std::string::npos)
            << r.message;
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
    struct Case {
        TransferItems items;
        TransferArea area;
        int bank;
        bool merge;
        int channelTags, idTags;
    };
    const Case cases[] = {
        {{true, true, false}, TransferArea::AllBanks, -1, false, 2, 1},
        {{true, false, false}, TransferArea::SingleBank, 1, false, 1, 0},
        {{false, true, false}, TransferArea::SingleBank, 0, false, 0, 0},
        {{true, true, true}, TransferArea::AllBanks, -1, true, 0, 0},
        {{true, false, false}, TransferArea::SingleBank, -1, false, 0, 0},
    };
    for (const Case& c : cases) {
        ReadRequest request = ReadAll(c.items);
        request.area = c.area;
        request.bank = c.bank;
        request.merge = c.merge;
        const ReadLosses losses = CountReadLosses(image, request);
        EXPECT_EQ(losses.channelTags, c.channelTags) << c.bank;
        EXPECT_EQ(losses.idTags, c.idTags) << c.bank;
    }
}

TEST_F(ReadTransfer, TrunkIdsOfEveryRowAreRead) {
    scanner.setTypeNames({"E2-800", "", "LTR", "", ""});
    scanner.model.trunk(0).ids[0] = "012345";   // A0
    scanner.model.trunk(0).ids[49] = "065535";  // E9
    scanner.model.trunk(2).ids[13] = "001005";  // B3
    image.TrunkId[1][4][0] = "stays";           // a bank of type 0 is skipped
    image.TrunkId[0][7][0] = "goes";            // rows the scanner holds empty come back empty
    const TransferResult r = read(ReadAll({false, true, false}));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.image.TrunkId[0][0][0], "012345");
    EXPECT_EQ(r.image.TrunkId[0][49][0], "065535");
    EXPECT_EQ(r.image.TrunkId[2][13][0], "001005");
    EXPECT_EQ(r.image.TrunkId[0][7][0], "");
    EXPECT_EQ(r.image.TrunkId[1][4][0], "");  // cleared without merge, not read
    const Strings texts = scanner.texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.rfind("TG ", 0) == 0; }),
              1 + 50 + 50);
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "TG B A0"), texts.end());
    EXPECT_TRUE(hasStatus("ID read Ok"));
}

TEST_F(ReadTransfer, BankNamesAndTypesWithoutTouchingTheImage) {
    const char* names[] = {"POLICE", "", "FERRY, PORT", "D", "E"};
    for (int b = 0; b < 5; ++b) scanner.model.bankName(b) = names[b];
    scanner.setTypeNames({"LTR", "", "", "", ""});
    make();
    session->startReadBankNames();
    const TransferResult r = runToEnd();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.bankNames, (std::array<std::string, 5>{"POLICE", "_", "FERRY; PORT", "D", "E"}));
    EXPECT_EQ(session->scannerTrunkTypes()[0], "8");
    EXPECT_FALSE(r.hasData);
    EXPECT_TRUE(hasStatus("Names Read Ok"));
    // "FERRY" holds ERR, yet it is a name: no "???".
    EXPECT_EQ(std::find(replies.begin(), replies.end(), "???"), replies.end());
    EXPECT_EQ(scanner.texts(), (Strings{"TA B A", "TA B B", "TA B C", "TA B D", "TA B E", "TB A",
                                        "TB B", "TB C", "TB D", "TB E"}));
}

TEST_F(ReadTransfer, BankNamesGiveUpAfterElevenSteps) {
    scanner.inject("no-reply@TA B B:always");
    make();
    session->startReadBankNames();
    const TransferResult r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_EQ(r.message, "Reading banknames failed.");
    EXPECT_TRUE(hasStatus("Read Bank Names/ 11"));
}

}  // namespace
}  // namespace vex::test
