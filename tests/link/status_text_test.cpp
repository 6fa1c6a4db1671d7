// The texts the window shows while each procedure runs and when one is refused: the user
// reads them, so each must come exactly as written.
#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

using Strings = std::vector<std::string>;

class StatusTexts : public SessionTest {
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
    std::function<void(LinkSession&, const Image&)> start;
    Strings statuses;         // each must be shown, in this order
    bool otherTypes = false;  // the scanner's bank 1 holds no trunk system yet
};

TEST_F(StatusTexts, EachProcedureShowsItsStatusTexts) {
    auto read = [](TransferItems items, TransferArea area = TransferArea::AllBanks, int bank = -1) {
        return [=](LinkSession& s, const Image& image) {
            ReadRequest r;
            r.items = items;
            r.area = area;
            r.bank = bank;
            s.startRead(image, r);
        };
    };
    auto send = [](TransferItems items, TransferArea area = TransferArea::AllBanks, int bank = -1) {
        return [=](LinkSession& s, const Image& image) {
            SendRequest r;
            r.items = items;
            r.area = area;
            r.bank = bank;
            s.startSend(image, r);
        };
    };
    const Procedure procedures[] = {
        {"Read F Data, one bank",
         read({true, false, false}, TransferArea::SingleBank, 1),
         {"Reading trunk type", "Read trunktype/1", "Read trunktype/5", "Trunk type read Ok",
          "Reading priority channel", "Reading Prio Channels", "Reading data Ok"}},
        {"read ID",
         read({false, true, false}),
         {"Read ID list / 0", "Read ID list / 49", "Read ID list / 50", "Read ID list / 149",
          "ID read Ok"}},
        {"get trunksettings",
         read({false, false, true}),
         {"Reading Trunk Settings Bank:1", "Reading Trunk Settings Bank:5",
          "Reading Trunk Settings Ok", "Reading Base/Offset: 2", "Reading fleetmap: 1",
          "Reading Prio Channels"}},
        {"&Get trunktype",
         [](LinkSession& s, const Image& image) { s.startReadTrunkTypes(image); },
         {"Reading trunk type", "Read trunktype/5", "Trunk type read Ok"}},
        {"&Get names",
         [](LinkSession& s, const Image&) { s.startReadBankNames(); },
         {"Read Bank Names/ 1", "Read Bank Names/ 5", "Names Read Ok", "Reading trunk type",
          "Trunk type read Ok"}},
        {"read ID lists tag",
         [](LinkSession& s, const Image& image) { s.startReadIdListTags(image); },
         {"Read ID list tags/ 1", "Read ID list tags/ 100", "ID tags read Ok"}},
        {"Send Data, channels",
         send({true, false, false}, TransferArea::SingleBank, 0),
         {"Reading trunk type", "setting trunktype required.. please wait..", "Sending data Ok"},
         true},
        {"send trunksettings",
         send({false, false, true}),
         {" Sending Trunk settings bank: 1", " Sending Trunk settings bank: 5"}},
        {"Send TRUNK ID'S",
         send({false, true, false}, TransferArea::SingleBank, 0),
         {"setting trunktype required.. please wait..", "Sending trunkdata ", "Delete ID:"},
         true},
        {"&Delete Bank",
         [](LinkSession& s, const Image&) { s.startDeleteBank(2); },
         {"Delete Channel 101", "Delete Channel 150", ""}},
    };
    for (const Procedure& p : procedures) {
        scanner.setTypeNames({p.otherTypes ? "" : "TYPE I", "E2-UHF", "LTR", "", ""});
        statuses.clear();
        result.reset();
        make();
        p.start(*session, image);
        const TransferResult r = runToEnd();
        EXPECT_EQ(r.outcome, TransferOutcome::Completed) << p.name << ": " << r.message;
        auto at = statuses.begin();
        for (const std::string& expected : p.statuses) {
            at = std::find(at, statuses.end(), expected);
            EXPECT_NE(at, statuses.end())
                << p.name << ": \"" << expected << "\" missing or out of order";
            if (at == statuses.end()) break;
        }
    }
}

TEST_F(StatusTexts, AnUnknownScannerIsNamedInEachProceduresOwnWords) {
    scanner.identifyAs("ABC123");
    struct Case {
        const char* name;
        std::function<void(LinkSession&)> start;
        const char* message;
    };
    const Case cases[] = {
        {"read", [this](LinkSession& s) { s.startRead(image, ReadAll()); },
         "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode"},
        {"send", [this](LinkSession& s) { s.startSend(image, SendRange(1, 1)); },
         "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode."},
        {"delete", [](LinkSession& s) { s.startDeleteBank(0); },
         "No scanner detected at comport. Check baudrate/comport is in remote mode"},
    };
    for (const Case& c : cases) {
        scanner.sent.clear();
        result.reset();
        make();
        c.start(*session);
        const TransferResult r = runToEnd();
        EXPECT_EQ(r.outcome, TransferOutcome::Refused) << c.name;
        EXPECT_EQ(r.message, c.message) << c.name;
        EXPECT_EQ(r.title, "Error") << c.name;
        EXPECT_EQ(scanner.texts(), (Strings{"SI", "SI"})) << c.name << ": nothing else is sent";
    }
}

TEST_F(StatusTexts, TrunkIdsForAllBanksAfterOneBanksDownloadAreConfirmedAgain) {
    config.options.expert = 0;
    SendRequest request;
    request.items.trunkIds = true;
    request.area = TransferArea::AllBanks;
    request.singleBankFlag = true;
    answer = false;
    make();
    session->startSend(image, request);
    const TransferResult r = runToEnd();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text,
              "WARNING: Please re-confirm data upload.\nYou previously downloaded trunk data from "
              "one bank and now you want to upload all banks.\nAll remaining trunk id's will be "
              "cleared!\nAre you sure?");
    EXPECT_TRUE(questions[0].warning);
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_TRUE(r.singleBankFlag) << "No keeps the flag";
    EXPECT_TRUE(scanner.sent.empty());
}

}  // namespace
}  // namespace vex::test
