// The link's commands against the simulated scanner: what the link writes, the scanner keeps and
// answers in a form the link reads back to the same values.
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "sim/scanner.h"

namespace vex {
namespace {

class ScannerAgreement : public ::testing::Test {
  protected:
    void write(const std::string& command) { EXPECT_EQ(scanner.handle(command), "OK") << command; }
    std::string ask(const std::string& command) {
        return scanner.handle(command).value_or("") + "\r";
    }
    bct8sim::Scanner scanner;
};

TEST_F(ScannerAgreement, ChannelsKeepTheirFrequencyAndFlags) {
    struct Case {
        int channel;
        const char* memory;
        bool trunked;
        const char *lockout, *delay;
        char trunk, delayFlag, lockoutFlag;
    };
    const Case cases[] = {
        {1, "0851.0250", false, "0", "1", 'F', 'N', 'F'},
        {250, "0025.0000", true, "1", "0", 'N', 'F', 'N'},
        {51, "1300.0000", false, "", "x", 'F', 'F', 'F'},
    };
    for (const Case& c : cases) {
        write(ChannelWriteCommand(c.channel, *WireFrequency(c.memory), c.trunked));
        write(LockoutCommand(c.lockout));
        write(DelayCommand(c.delay));
        ChannelReply reply;
        ASSERT_EQ(ParseChannelReply(ask(ChannelReadCommand(c.channel)), c.channel, reply),
                  ReplyStatus::Ok);
        EXPECT_EQ(reply.frequency, c.memory);
        EXPECT_EQ(reply.trunk, c.trunk) << c.channel;
        EXPECT_EQ(reply.delay, c.delayFlag) << c.channel;
        EXPECT_EQ(reply.lockout, c.lockoutFlag) << c.channel;
        ASSERT_EQ(ParseChannelReply(ask(ChannelFirstReadCommand(c.channel)), c.channel, reply),
                  ReplyStatus::Ok);
        EXPECT_EQ(reply.frequency, c.memory);

        write(ChannelClearCommand(c.channel));
        ASSERT_EQ(ParseChannelReply(ask(ChannelReadCommand(c.channel)), c.channel, reply),
                  ReplyStatus::Ok);
        EXPECT_EQ(reply.frequency, "0000.0000");
    }
}

TEST_F(ScannerAgreement, EveryTrunkTypeReadsBackAsTheCodeSent) {
    for (int code = 1; code <= 11; ++code) {
        const int bank = code % 5;
        for (const WireLine& line : TrunkTypeCommands(bank, code, code == 4 || code == 5))
            write(line.text);
        const auto name = ParseTrunkTypeReply(ask(TrunkTypeReadCommand(bank)), bank);
        ASSERT_TRUE(name) << code;
        EXPECT_EQ(TrunkTypeCodeForName(*name), std::to_string(code)) << *name;
    }
}

TEST_F(ScannerAgreement, BaseLinesReadBackAsStored) {
    std::array<std::array<std::string, kTrunkBaseFields>, kTrunkBaseRows> base{};
    base[0] = {"0416.0000", "012.50", "381", "", "", "", "", ""};
    base[1] = {"0450.5000", "025.00", "400", "", "", "", "", ""};
    for (const WireLine& line : TrunkTypeCommands(2, 4, false, &base)) write(line.text);
    for (int n = 1; n <= kTrunkBaseRows; ++n) {
        std::array<std::string, kTrunkBaseFields> row{};
        row[0] = "stale";
        ASSERT_TRUE(ParseBaseLineReply(ask(BaseLineReadCommand(2, n)), row)) << n;
        for (int f = 0; f < 3; ++f)
            EXPECT_EQ(row[static_cast<std::size_t>(f)],
                      base[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(f)])
                << n;
    }
}

TEST_F(ScannerAgreement, BankSettingsFollowTheSelectedBank) {
    for (const char* plan : {"0", "1", "2", "3", "4"}) {
        write(*ControlChannelCommand(3, plan));
        EXPECT_EQ(ParseControlChannelReply(ask(ControlChannelReadCommand(3))), plan);
    }
    write(BankSelectCommand(1));
    for (const char* command : {"BT", "TD", "AF"}) {
        for (const char* field : {"1", "0"}) {
            write(*FlagCommand(command, field));
            EXPECT_EQ(ParseFlagReply(ask(command), command), field) << command << field;
        }
    }
    write(*FlagCommand("BT", "1"));
    write(BankSelectCommand(2));
    EXPECT_EQ(ParseFlagReply(ask("BT"), "BT"), "0") << "another bank keeps its own";
}

TEST_F(ScannerAgreement, FleetMapsAnswerOnSeveralLines) {
    const std::array<int, 8> codes{3, 10, 4, 4, 12, 12, 0, 14};
    for (int k = 0; k < 8; ++k)
        write(FleetMapBlockCommand(4, k, codes[static_cast<std::size_t>(k)]));
    std::array<std::string, 8> blocks{};
    ASSERT_TRUE(ParseFleetMapReply(ask(FleetMapReadCommand(4)), 4, blocks));
    EXPECT_EQ(blocks, (std::array<std::string, 8>{"3", "10", "4", "4", "12", "12", "0", "14"}));
}

TEST_F(ScannerAgreement, TrunkIdsAreWrittenClearedAndDeleted) {
    write(TrunkIdWriteCommand(1, 13, "01-05"));
    EXPECT_EQ(ParseTrunkIdReply(ask(TrunkIdReadCommand(1, 13)), 1, 13), "01-05");
    write(TrunkIdWriteCommand(1, 13, ""));
    EXPECT_EQ(ParseTrunkIdReply(ask(TrunkIdReadCommand(1, 13)), 1, 13), "");
    write(TrunkIdWriteCommand(4, 49, "65535"));
    write(TrunkIdDeleteCommand(4, 49));
    EXPECT_EQ(ParseTrunkIdReply(ask(TrunkIdReadCommand(4, 49)), 4, 49), "");
}

TEST_F(ScannerAgreement, NamesTagsAndPriorities) {
    scanner.bankName(2) = "FERRY";
    scanner.listTag(9, 9) = "Last list";
    scanner.searchName(8) = "Airband";
    EXPECT_EQ(ParseBankNameReply(ask(BankNameReadCommand(2)), 2), "FERRY");
    EXPECT_EQ(ParseListTagReply(ask(ListTagReadCommand(9, 9)), 9, 9), "Last list");
    EXPECT_EQ(ParseListTagReply(ask(ListTagReadCommand(0, 0)), 0, 0), "") << "answered \"-\"";
    EXPECT_EQ(ParseSearchRangeNameReply(ask(SearchRangeNameReadCommand(8)), 8), "Airband");
    EXPECT_EQ(ParsePriorityReply(ask(PriorityReadCommand(4)), 4), 201);
    EXPECT_TRUE(IsBct8Identification(ask("SI")));
}

TEST_F(ScannerAgreement, ActiveBanks) {
    Image image{};
    EXPECT_EQ(ActiveBanksCommand(image), std::nullopt) << "no bank active: nothing to send";
    image.ActiveBank[0] = image.ActiveBank[2] = image.ActiveBank[4] = 1;
    write(*ActiveBanksCommand(image));
    EXPECT_EQ(scanner.activeBanks(), "ACE");
}

}  // namespace
}  // namespace vex
