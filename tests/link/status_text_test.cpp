// The texts the window shows while each procedure runs, when one is refused and when it asks:
// the user reads them, so each must come exactly as written.
#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

StartFn Read(TransferItems items, TransferArea area = TransferArea::AllBanks, int bank = -1) {
    return StartRead({.items = items, .area = area, .bank = bank});
}
StartFn Send(TransferItems items, TransferArea area = TransferArea::AllBanks, int bank = -1,
             bool singleBankFlag = false) {
    SendRequest r = SendAll(items, area, bank);
    r.singleBankFlag = singleBankFlag;
    return StartSend(r);
}
const TransferItems kChannels{true, false, false};
const TransferItems kIds{false, true, false};
const TransferItems kSettings{false, false, true};
const TransferItems kNothing{};

class Texts : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        config.options.expert = 1;
        // Bank 1 Motorola Type 1, bank 2 Type 2 UHF, bank 3 LTR; all hold something to send.
        scanner.setTypeNames({"TYPE I", "E2-UHF", "LTR", "", ""});
        for (int b = 0; b < kScannerBanks; ++b) {
            image.channel(b, 1)[kFieldFrequency] = "0851.0250";
            image.channel(b, 1)[kFieldTrunk] = b < 3 ? "1" : "0";
        }
        image.TrunkType[0] = "2";
        image.TrunkType[1] = "4";
        image.TrunkType[2] = "8";
        image.TrunkSetting[0][7] = "0";  // a custom fleet map
        image.TrunkId[0][0][0] = "100-12";
    }
};

struct Procedure {
    const char* name;
    StartFn start;
    Strings statuses;         // each must be shown, in this order
    bool otherTypes = false;  // the scanner's bank 1 holds no trunk system yet
};

class StatusTexts : public Texts, public ::testing::WithParamInterface<Procedure> {};

TEST_P(StatusTexts, AreShownInOrder) {
    const Procedure& p = GetParam();
    if (p.otherTypes) scanner.model.trunk(0).typeName = "";
    const TransferResult r = run(p.start);
    EXPECT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    auto at = statuses.begin();
    for (const std::string& expected : p.statuses) {
        at = std::find(at, statuses.end(), expected);
        ASSERT_NE(at, statuses.end()) << "\"" << expected << "\" missing or out of order";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Procedures, StatusTexts,
    ::testing::Values(
        Procedure{
            "ReadOneBank",
            Read(kChannels, TransferArea::SingleBank, 1),
            {"Reading trunk type", "Read trunktype/1", "Read trunktype/5", "Trunk type read Ok",
             "Reading priority channel", "Reading Prio Channels", "Reading data Ok"}},
        Procedure{"ReadIds",
                  Read(kIds),
                  {"Read ID list / 0", "Read ID list / 49", "Read ID list / 50",
                   "Read ID list / 149", "ID read Ok"}},
        Procedure{"ReadSettings",
                  Read(kSettings),
                  {"Reading Trunk Settings Bank:1", "Reading Trunk Settings Bank:5",
                   "Reading Trunk Settings Ok", "Reading Base/Offset: 2", "Reading fleetmap: 1",
                   "Reading Prio Channels"}},
        Procedure{"ReadBankNames",
                  kReadBankNames,
                  {"Read Bank Names/ 1", "Read Bank Names/ 5", "Names Read Ok",
                   "Reading trunk type", "Trunk type read Ok"}},
        Procedure{"ReadIdListTags",
                  kReadIdListTags,
                  {"Read ID list tags/ 1", "Read ID list tags/ 100", "ID tags read Ok"}},
        Procedure{
            "SendChannels",
            Send(kChannels, TransferArea::SingleBank, 0),
            {"Reading trunk type", "setting trunktype required.. please wait..", "Sending data Ok"},
            true},
        Procedure{"SendSettings",
                  Send(kSettings),
                  {" Sending Trunk settings bank: 1", " Sending Trunk settings bank: 5"}},
        Procedure{
            "SendIds",
            Send(kIds, TransferArea::SingleBank, 0),
            {"setting trunktype required.. please wait..", "Sending trunkdata ", "Delete ID:"},
            true},
        Procedure{
            "DeleteBank", StartDeleteBank(2), {"Delete Channel 101", "Delete Channel 150", ""}}),
    RowName<Procedure>);

struct Refusal {
    const char* name;
    StartFn start;
    const char* message;
    const char* identification = nullptr;  // another device answers "SI"
};

class RefusalTexts : public Texts, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTexts, AreGivenBeforeAnythingIsWritten) {
    const Refusal& c = GetParam();
    if (c.identification) scanner.identifyAs(c.identification);
    EmptyChannel(image.channel(3, 1));  // bank 4 holds nothing to send
    const TransferResult r = run(c.start);
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_EQ(r.message, c.message);
    if (c.identification) {
        EXPECT_EQ(r.title, "Error");
        EXPECT_EQ(scanner.texts(), (Strings{"SI", "SI"})) << "nothing else is sent";
    } else {
        EXPECT_TRUE(scanner.sent.empty());
    }
}

constexpr const char* kNoScanner =
    "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode";

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusalTexts,
    ::testing::Values(
        Refusal{"ReadNothing", Read(kNothing), "Please select which data you want to download."},
        Refusal{"ReadNoArea", Read(kChannels, TransferArea::None),
                "Please select All Banks or Single Bank."},
        Refusal{"ReadNoBank", Read(kChannels, TransferArea::SingleBank),
                "Please select which bank you want to download."},
        Refusal{"SendNothing", Send(kNothing), "Please select which data you want to upload."},
        Refusal{"SendNoArea", Send(kChannels, TransferArea::None),
                "Please select All Banks or Single Bank."},
        Refusal{"SendNoBank", Send(kChannels, TransferArea::SingleBank),
                "Please select which bank you want to upload."},
        Refusal{"SendEmptyBank", Send(kChannels, TransferArea::SingleBank, 3),
                "There is nothing to send!"},
        Refusal{"DeleteNoBank", StartDeleteBank(-1),
                "Please select which bank you want to delete."},
        Refusal{"ReadUnknownScanner", Read(kChannels), kNoScanner, "ABC123"},
        Refusal{"SendUnknownScanner", StartSend(SendRange(1, 1)),
                "No scanner detected at comport. Check baudrate/comport/scanner is in remote "
                "mode.",
                "ABC123"},
        Refusal{"DeleteUnknownScanner", StartDeleteBank(0),
                "No scanner detected at comport. Check baudrate/comport is in remote mode",
                "ABC123"}),
    RowName<Refusal>);

struct Confirmation {
    const char* name;
    StartFn start;
    std::size_t asked;  // the last one is answered No, those before Yes
    const char* text;
    bool warning;
    bool singleBankFlag = false;
};

class QuestionTexts : public Texts, public ::testing::WithParamInterface<Confirmation> {};

TEST_P(QuestionTexts, AnsweredNoSendNothing) {
    const Confirmation& c = GetParam();
    config.options.expert = 0;
    deferAnswers = true;
    make();
    c.start(*session, image);
    clock.runUntilIdle();
    while (pendingAnswer && questions.size() < c.asked) {
        std::exchange(pendingAnswer, nullptr)(true);
        clock.runUntilIdle();
    }
    ASSERT_EQ(questions.size(), c.asked);
    EXPECT_EQ(questions.back().text, c.text);
    EXPECT_EQ(questions.back().warning, c.warning);
    std::exchange(pendingAnswer, nullptr)(false);
    const TransferResult r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(r.singleBankFlag, c.singleBankFlag) << "No keeps the flag";
    EXPECT_TRUE(scanner.sent.empty()) << "the questions come before the first command";
}

INSTANTIATE_TEST_SUITE_P(
    Questions, QuestionTexts,
    ::testing::Values(
        Confirmation{"AllBanksAfterOne", Send(kChannels, TransferArea::AllBanks, -1, true), 2,
                     "WARNING: Please re-confirm data upload.\nYou previously downloaded 1 bank "
                     "and now you want to upload all banks.\nAll remaining channels will be "
                     "cleared!\nAre you sure?",
                     true, true},
        Confirmation{"IdsOfAllBanksAfterOne", Send(kIds, TransferArea::AllBanks, -1, true), 1,
                     "WARNING: Please re-confirm data upload.\nYou previously downloaded trunk "
                     "data from one bank and now you want to upload all banks.\nAll remaining "
                     "trunk id's will be cleared!\nAre you sure?",
                     true, true},
        Confirmation{"DeleteBank", StartDeleteBank(2), 1,
                     "You selected to delete all data in bank 3.\n101 / 150\nAre you sure?", true}),
    RowName<Confirmation>);

}  // namespace
}  // namespace vex::test
