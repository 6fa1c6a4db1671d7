#include "link/send_plan.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

Image Held() {
    Image image;
    ClearForStartup(image);
    for (int b = 0; b < kScannerBanks; ++b) image.TrunkType[static_cast<std::size_t>(b)] = "0";
    image.channel(0, 3) = {"3", "0154.3850", "ENGINE 7", "0", "1", "0", ""};
    image.channel(1, 10) = {"60", "0851.0125", "", "1", "0", "1", ""};
    image.TrunkType[1] = "1";
    image.TrunkType[3] = "4";
    image.TrunkId[1][4] = {"000712", "DISPATCH", "", ""};
    return image;
}

struct PlanCase {
    const char* name;
    const char* planned;  // "channels | banks | trunk IDs as bank/row"
    std::function<void(Image&)> edit;
};

// The plan written out as "channels | banks | trunk IDs as bank/row".
std::string Listed(const SendPlan& plan) {
    std::string text;
    for (int ch = 1; ch <= kTotalChannels; ++ch)
        if (plan.channels[static_cast<std::size_t>(ch)]) text += std::to_string(ch) + " ";
    text += "|";
    for (int b = 0; b < kScannerBanks; ++b)
        if (plan.bankSettings[static_cast<std::size_t>(b)]) text += " " + std::to_string(b);
    text += " |";
    for (int b = 0; b < kScannerBanks; ++b)
        for (int r = 0; r < kTrunkIdUsedRows; ++r)
            if (plan.hasTrunkId(b, r)) text += " " + std::to_string(b) + "/" + std::to_string(r);
    return text;
}

class PlanChangesTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanChangesTest, PlansWhatTheScannerWouldHoldDifferently) {
    const Image held = Held();
    Image image = held;
    GetParam().edit(image);
    const SendPlan plan = PlanChanges(held, image);
    EXPECT_EQ(Listed(plan), GetParam().planned);
    EXPECT_EQ(plan.empty(), std::string_view(GetParam().planned) == "| |");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PlanChangesTest,
    ::testing::Values(PlanCase{"nothing", "| |", [](Image&) {}},
                      PlanCase{"tags, comments and names stay in the file", "| |",
                               [](Image& i) {
                                   i.channel(0, 3)[kFieldTag] = "ENGINE 8";
                                   i.channel(0, 3)[kFieldComment] = "moved";
                                   i.BankTag[0] = "Fire";
                                   i.TrunkId[1][4][1] = "DISPATCH 2";
                               }},
                      PlanCase{"frequency by its wire form only", "4 | |",
                               [](Image& i) {
                                   i.channel(0, 3)[kFieldFrequency] = "154.385";
                                   i.channel(0, 4)[kFieldFrequency] = "0155.0000";
                               }},
                      PlanCase{"each flag", "3 60 250 | |",
                               [](Image& i) {
                                   i.channel(0, 3)[kFieldTrunk] = "1";
                                   i.channel(1, 10)[kFieldDelay] = "1";
                                   i.channel(4, 50)[kFieldFrequency] = "0460.1000";
                               }},
                      PlanCase{"flags of an empty channel are not sent", "| |",
                               [](Image& i) { i.channel(2, 1)[kFieldLockout] = "1"; }},
                      PlanCase{"cleared channel", "60 | |",
                               [](Image& i) { EmptyChannel(i.channel(1, 10)); }},
                      PlanCase{"unsendable frequency is planned so the check reports it", "3 | |",
                               [](Image& i) { i.channel(0, 3)[kFieldFrequency] = "abc"; }},
                      PlanCase{"what the settings commands carry, per bank", "| 0 1 3 |",
                               [](Image& i) {
                                   i.TrunkType[0] = "2";
                                   i.TrunkSetting[1][0] = "3";          // control channel
                                   i.TrunkSetting[2][5] = "1";          // kept by this program only
                                   i.TrunkBase[3][1][0] = "0851.0000";  // band plan
                               }},
                      PlanCase{"trunk IDs, set and cleared", "| | 1/4 3/49", [](Image& i) {
                                   i.TrunkId[1][4][0] = "";
                                   i.TrunkId[3][49][0] = "001234";
                               }}));

TEST(DescribePlanTest, CountsEachPart) {
    SendPlan plan;
    EXPECT_EQ(DescribePlan(plan), "nothing");
    plan.channels[5] = plan.channels[7] = true;
    plan.bankSettings[1] = true;
    plan.trunkIds[3] = true;
    EXPECT_EQ(DescribePlan(plan), "2 channels, the trunk settings of 1 bank and 1 trunk ID");
}

// The send walks only what the plan names, with the waits and checks of a whole send.
class PlannedSend : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        config.options.expert = 1;
        request.plan.emplace();
    }
    SendRequest request = SendAll({true, true, true});
};

TEST_F(PlannedSend, WritesOnlyThePlannedChannelsAndIds) {
    image.channel(0, 7)[kFieldFrequency] = "0154.3850";
    image.channel(2, 1)[kFieldFrequency] = "0460.1000";
    image.TrunkType[1] = "1";
    image.TrunkId[1][2][0] = "000712";
    request.plan->channels[7] = request.plan->channels[101] = true;
    request.plan->trunkIds[kTrunkIdUsedRows + 2] = true;
    ASSERT_EQ(send(request).outcome, TransferOutcome::Completed) << result->message;
    std::vector<std::string> writes;
    for (const std::string& t : scanner.texts())
        for (const char* kind : {"PM", "TG ", "TI", "MA", "BT"})
            if (t.rfind(kind, 0) == 0) writes.push_back(t);
    EXPECT_EQ(writes,
              (std::vector<std::string>{"MA007", "PM007 01543850", "MA101", "PM101 04601000",
                                        "MA001", "TG B A0", "TG B A2 000712"}));

    // The frequency check still comes first.
    image.channel(0, 7)[kFieldFrequency] = "abc";
    EXPECT_EQ(send(request).outcome, TransferOutcome::Refused);
    EXPECT_TRUE(scanner.texts().empty());
}

}  // namespace
}  // namespace vex::test
