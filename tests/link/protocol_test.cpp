#include "link/protocol.h"

#include <gtest/gtest.h>

#include "link/session.h"
#include "sim/scanner.h"

namespace vex {
namespace {

TEST(LinkProtocol, WireFrequencyNeverErasesAChannelBecauseOfHowItIsWritten) {
    // Empty forms, the bare band edges normalisation writes, loose spacing and zeros.
    const std::pair<const char*, const char*> sent[] = {
        {"0851.0250", "08510250"}, {"0000.0000", "00000000"}, {"", "00000000"},
        {"0", "00000000"},         {"25", "00250000"},        {"512", "05120000"},
        {"956", "09560000"},       {"1300", "13000000"},      {"  162.55 ", "01625500"},
        {"162.550000", "01625500"}};
    for (const auto& [stored, wire] : sent) EXPECT_EQ(WireFrequency(stored), wire) << stored;
    // Texts that would reach the scanner as another channel must not be sent at all.
    for (const char* stored :
         {".5", "162.55abc", "162,55", "abc", "162.55555", "600", "10", "-5", "12000"})
        EXPECT_EQ(WireFrequency(stored), std::nullopt) << stored;
}

TEST(LinkProtocol, ChannelReplies) {
    struct Case {
        const char* reply;
        int channel;
        ReplyStatus status;
        const char* frequency;
        char trunk, delay, lockout;
    };
    const Case cases[] = {
        {"C250 F08510250 TN DF LN\r", 250, ReplyStatus::Ok, "0851.0250", 'N', 'F', 'N'},
        {"MA001 C001 F01625500 TF DN LF\r", 1, ReplyStatus::Ok, "0162.5500", 'F', 'N', 'F'},
        {"C001 F01625500\r", 1, ReplyStatus::Ok, "0162.5500", 0, 0, 0},
        {"C001 F01625500 TX DN LF\r", 1, ReplyStatus::Ok, "0162.5500", 0, 'N', 'F'},
        {"C000 F01625500 TF DF LF\r", 1000, ReplyStatus::Ok, "0162.5500", 'F', 'F', 'F'},
        // The marker alone is an answer that carries nothing, not a reason to ask again.
        {"MA001 C001\r", 1, ReplyStatus::Ok, "", 0, 0, 0},
        {"C001 F0162550\r", 1, ReplyStatus::Malformed, "", 0, 0, 0},
        {"C001 F0162x500 TF\r", 1, ReplyStatus::Malformed, "", 0, 0, 0},
        {"", 1, ReplyStatus::Malformed, "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        ChannelReply parsed;
        ASSERT_EQ(ParseChannelReply(c.reply, c.channel, parsed), c.status) << c.reply;
        if (c.status != ReplyStatus::Ok) continue;
        EXPECT_EQ(parsed.frequency, c.frequency) << c.reply;
        EXPECT_EQ(parsed.trunk, c.trunk) << c.reply;
        EXPECT_EQ(parsed.delay, c.delay) << c.reply;
        EXPECT_EQ(parsed.lockout, c.lockout) << c.reply;
    }
}

TEST(LinkProtocol, ApplyingAChannelReplyKeepsFlagsWithoutAToken) {
    Channel channel{"", "0000.0000", "Tag", "1", "1", "1", "note"};
    ChannelReply reply;
    ASSERT_EQ(ParseChannelReply("C001 F08510250 TF\r", 1, reply), ReplyStatus::Ok);
    ApplyChannelReply(reply, channel);
    EXPECT_EQ(channel[kFieldFrequency], "0851.0250");
    EXPECT_EQ(channel[kFieldTrunk], "0");
    EXPECT_EQ(channel[kFieldDelay], "1");
    EXPECT_EQ(channel[kFieldLockout], "1");
    EXPECT_EQ(channel[kFieldTag], "Tag");
}

// Every trunk type written to the simulated scanner is named back in a form read as its code.
TEST(LinkProtocol, EveryTrunkTypeReadsBackFromTheScannerAsTheCodeSent) {
    bct8sim::Scanner scanner;
    for (int code = 1; code <= 11; ++code) {
        const int bank = code % 5;
        for (const WireLine& line : TrunkTypeCommands(bank, code, code == 4 || code == 5))
            EXPECT_EQ(scanner.handle(line.text), "OK") << line.text;
        const auto name = ParseTrunkTypeReply(
            scanner.handle(TrunkTypeReadCommand(bank)).value_or("") + "\r", bank);
        ASSERT_TRUE(name) << code;
        EXPECT_EQ(TrunkTypeCodeForName(*name), std::to_string(code)) << *name;
    }
}

TEST(LinkProtocol, TrunkTypeNames) {
    EXPECT_EQ(TrunkTypeCodeForName("XYZ"), std::nullopt);
    EXPECT_EQ(ParseTrunkTypeReply("TB A EDCS SCT  \r", 0), "EDCS SCT");
    EXPECT_EQ(ParseTrunkTypeReply("TB B \r", 1), "");
    EXPECT_EQ(ParseTrunkTypeReply("TB B\r", 1), "");
    EXPECT_EQ(ParseTrunkTypeReply("TB A E2-8\r", 1), std::nullopt);
}

TEST(LinkProtocol, TrunkTypeCommands) {
    using Lines = std::vector<WireLine>;
    EXPECT_EQ(TrunkTypeCommands(0, 0, false), Lines{});
    EXPECT_EQ(TrunkTypeCommands(0, 4, true), (Lines{{"TR A 4 04160000 0125 381"}}));
    EXPECT_EQ(TrunkTypeCommands(2, 5, true), (Lines{{"TR C 5 01360000 0125 381"}}));
    EXPECT_EQ(TrunkTypeCommands(0, 10, false),
              (Lines{{"TR A 2"},
                     {"CP A A 1 08510250 08540000 0250 0440 +", "\r"},
                     {"CP A A 2 08510125 08689875 0250 0000 +", "\r"}}));
    EXPECT_EQ(TrunkTypeCommands(3, 11, false),
              (Lines{{"TR D 1"},
                     {"CP D B 1 08510250 08540000 0250 0440 +", "\r"},
                     {"CP D B 2 08510125 08689875 0250 0000 +", "\r"}}));
}

TEST(LinkProtocol, FleetMaps) {
    std::array<std::string, 8> blocks{};
    ASSERT_TRUE(ParseFleetMapReply("FB A A 0 03 A 1 10 A 2 04 A 3 04 A 4 12 A 5 12 A 6 12 A 7 12\r",
                                   0, blocks));
    EXPECT_EQ(blocks, (std::array<std::string, 8>{"3", "10", "4", "4", "12", "12", "12", "12"}));
    ASSERT_TRUE(ParseFleetMapReply(
        "FB B 0 11\rB 1 11\rB 2 11\rB 3 11\rB 4 11\rB 5 11\rB 6 11\rB 7 11\r", 1, blocks));
    EXPECT_EQ(blocks[7], "11");
    EXPECT_FALSE(ParseFleetMapReply("FB A A 0 03 A 1 10\r", 0, blocks));
    EXPECT_FALSE(ParseFleetMapReply(
        "FB A A 0 15 A 1 10 A 2 04 A 3 04 A 4 12 A 5 12 A 6 12 A 7 12\r", 0, blocks));
}

TEST(LinkProtocol, BankSettings) {
    EXPECT_EQ(ParseControlChannelReply("TCN\r"), "1");
    EXPECT_EQ(ParseControlChannelReply("TCN P3\r"), "3");
    EXPECT_EQ(ParseControlChannelReply("ERR\r"), std::nullopt);
    EXPECT_EQ(ControlChannelCommand(1, "-1"), std::nullopt);
    EXPECT_EQ(ParseFlagReply("BTN\r", "BT"), "1");
    EXPECT_EQ(ParseFlagReply("TDF\r", "TD"), "0");
    EXPECT_EQ(ParseFlagReply("TDF\r", "BT"), std::nullopt);
    EXPECT_EQ(FlagCommand("BT", ""), std::nullopt);
    std::array<std::string, kTrunkBaseFields> row{};
    EXPECT_FALSE(ParseBaseLineReply("BC A1 0416 0125\r", row)) << "all three fields or none";
    EXPECT_FALSE(ParseBaseLineReply("ERR\r", row));
}

TEST(LinkProtocol, PriorityReplies) {
    EXPECT_EQ(ParsePriorityReply("PC A051\r", 0), 51);
    EXPECT_EQ(ParsePriorityReply("PC B 060\r", 1), 60);
    EXPECT_EQ(ParsePriorityReply("PC B 060\r", 0), std::nullopt);
    EXPECT_EQ(ParsePriorityReply("PC A 000\r", 0), std::nullopt);
    EXPECT_EQ(ParsePriorityReply("PC A 999\r", 0), std::nullopt);
    EXPECT_EQ(ParsePriorityReply("PC A\r", 0), std::nullopt);
    EXPECT_EQ(ParsePriorityReply("ERR\r", 0), std::nullopt);
}

TEST(LinkProtocol, TrunkIds) {
    EXPECT_EQ(ParseTrunkIdReply("TG A B3 12345  \r", 0, 13), "12345");
    EXPECT_EQ(ParseTrunkIdReply("TG A B3 ------\r", 0, 13), "");
    EXPECT_EQ(ParseTrunkIdReply("TG A B3\r", 0, 13), "");
    EXPECT_EQ(ParseTrunkIdReply("TG A B4 12345\r", 0, 13), std::nullopt);
    EXPECT_EQ(ParseTrunkIdReply("TG A B3 ERR\r", 0, 13), std::nullopt);
    EXPECT_TRUE(IsEmptyTrunkId(" "));
    EXPECT_FALSE(IsEmptyTrunkId("100-12"));
}

TEST(LinkProtocol, ListTags) {
    struct Case {
        const char* reply;
        int list, index;
        std::optional<std::string> tag;
    };
    const Case cases[] = {
        {"TA L A 0 Fleet ops  \r", 0, 0, "Fleet ops"},
        {"TA L A 0 - x\r", 0, 0, "- x"},
        {"TA L A 0\r", 0, 0, ""},
        {"TA L C0 Joined\r", 2, 0, "Joined"},  // the key without its inner blank
        {"TA L A 0 FERRY\r", 0, 0, "FERRY"},   // "ERR" inside a tag is still a tag
        {"TA L A 1 one\rTA L A 0 zero\r", 0, 0, "zero"},
        {"TA L B 0 other bank\r", 0, 0, std::nullopt},
        {"", 0, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseListTagReply(c.reply, c.list, c.index), c.tag) << c.reply;
}

TEST(LinkProtocol, SearchRangeNames) {
    // Names themselves, at most sixteen characters, are read in the ID list tag read.
    EXPECT_EQ(ParseSearchRangeNameReply("TA S I \r", 8), "");
    EXPECT_EQ(ParseSearchRangeNameReply("TA S I\r", 8), "");
    EXPECT_EQ(ParseSearchRangeNameReply("TA S B Marine\r", 0), std::nullopt);
    EXPECT_EQ(ParseSearchRangeNameReply("ERR\r", 0), std::nullopt);
}

TEST(LinkProtocol, RangeFieldsAndSettleWaits) {
    EXPECT_EQ(ClampRangeField("abc", 250), "1");
    EXPECT_EQ(ClampRangeField("1200", 1000), "1000");
    Options options;
    options.delay1 = 10;
    EXPECT_EQ(SettleWaitMs(options, 19200), 25);
    EXPECT_EQ(SettleWaitMs(options, 9600), 200);
    EXPECT_EQ(SettleWaitMs(options, 4800), 400);
}

}  // namespace
}  // namespace vex
