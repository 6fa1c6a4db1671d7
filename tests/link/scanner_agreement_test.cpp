// Every trunk type the link writes, the simulated scanner names in a form the link reads back to
// the same code. (The other commands make their round trips through the transfer tests.)
#include <gtest/gtest.h>

#include "link/protocol.h"
#include "sim/scanner.h"

namespace vex {
namespace {

class ScannerAgreement : public ::testing::Test {
  protected:
    void write(const std::string& command) { EXPECT_EQ(scanner.Handle(command), "OK") << command; }
    std::string ask(const std::string& command) {
        return scanner.Handle(command).value_or("") + "\r";
    }
    bct8sim::Scanner scanner;
};

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

}  // namespace
}  // namespace vex
