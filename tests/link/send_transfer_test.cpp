#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

class SendTransfer : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        config.options.expert = 1;  // the questions have their own tests
        image.channel(0, 1) = {"1", "0851.0250", "", "0", "1", "0", ""};
        image.channel(0, 2)[kFieldFrequency] = "0000.0000";
    }
    void setTypeOneBank() {
        image.TrunkType[0] = "2";
        image.TrunkSetting[0][0] = "3";
        image.TrunkSetting[0][1] = "1";
        image.TrunkSetting[0][2] = "0";
    }
};

TEST_F(SendTransfer, SmallRangeWireSequenceAndTiming) {
    const TransferResult r = send(SendRange(1, 2));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(scanner.texts(),
              (Strings{"SI", "SI", "TB A", "TB B", "TB C", "TB D", "TB E", "KEY07", "KEY07",
                       "MA001", "PM001 08510250", "LOF", "DLN", "PM002 00000000"}));
    const std::int64_t t = timeOf("KEY07");
    EXPECT_EQ(timeOf("KEY07", 2), t + 100);
    EXPECT_EQ(timeOf("MA001"), t + 200);
    EXPECT_EQ(timeOf("PM001 08510250"), t + 400);
    EXPECT_EQ(timeOf("LOF"), t + 405);
    EXPECT_EQ(timeOf("DLN"), t + 410);
    // The pause after a channel is the delay rounded to whole seconds: 0 s at 100 ms.
    EXPECT_EQ(timeOf("PM002 00000000"), t + 415 + 200);
    EXPECT_THAT(fileText("txlog.txt"),
                HasSubstr("PM001 08510250 ts:0 chanid:1 bank:0 ch:1 tyes:0 ttype:0 ttyper:0\r\n"));

    // DLN answered 5 ms after it went out, then 1 s pause, then 2 x 600 ms before the write.
    // Normalisation writes bare band edges; they must not erase the channel.
    image.channel(0, 1)[kFieldFrequency] = "25";
    image.channel(0, 1)[kFieldTrunk] = "1";
    image.channel(0, 2)[kFieldFrequency] = " 162.55";
    config.options.delay1 = 600;
    make();
    ASSERT_EQ(send(SendRange(1, 2)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(timeOf("PM002 01625500"), timeOf("DLN") + 5 + 1000 + 1200);
    EXPECT_THAT(scanner.texts(), Contains("PM001T00250000")) << "a trunked channel";
}

TEST_F(SendTransfer, FrequenciesThatCannotBeSentAreRefusedInOneMessageBeforeAnythingGoesOut) {
    image.channel(0, 2)[kFieldFrequency] = "abc";
    image.channel(0, 40)[kFieldFrequency] = "162,55";
    image.channel(1, 1)[kFieldFrequency] = "600";
    const TransferResult r = send(SendRange(1, 60));
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_THAT(r.message, HasSubstr("3 channels"));
    for (const char* part : {"002 (bank 1 line 2: \"abc\")", "040 (bank 1 line 40: \"162,55\")",
                             "051 (bank 2 line 1: \"600\")"})
        EXPECT_THAT(r.message, HasSubstr(part));
    EXPECT_TRUE(scanner.sent.empty());

    // A band plan that cannot be written is checked the same way.
    image.channel(0, 2)[kFieldFrequency] = image.channel(0, 40)[kFieldFrequency] = "";
    image.channel(1, 1)[kFieldFrequency] = "";
    image.TrunkType[0] = "4";
    image.TrunkBase[0][1][0] = "41x";
    const TransferResult plan = send(SendRange(1, 60));
    EXPECT_EQ(plan.outcome, TransferOutcome::Refused);
    EXPECT_THAT(plan.message, HasSubstr("bank 1 Base Config 2: \"41x\""));
    EXPECT_TRUE(scanner.sent.empty());
}

// A Yes given later from the event loop is the window's test.
TEST_F(SendTransfer, StopWhileTheQuestionIsOpenCountsAsNoEvenIfTheAnswerComesLater) {
    config.options.expert = 0;
    deferAnswers = true;
    make();
    session->startSend(image, SendRange(1, 2));
    clock.runUntilIdle();
    ASSERT_TRUE(pendingAnswer);
    EXPECT_FALSE(result);
    session->stop();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, TransferOutcome::Stopped);
    pendingAnswer(true);
    clock.runUntilIdle();
    EXPECT_TRUE(scanner.sent.empty());
    EXPECT_EQ(finishedCount, 1);
}

TEST_F(SendTransfer, AllBanksAfterASingleBankDownloadAskedTwiceAndAnsweredYesClearsTheFlag) {
    config.options.expert = 0;
    SendRequest request = SendAll({true, false, false});
    request.singleBankFlag = true;
    const TransferResult r = send(request);
    EXPECT_EQ(r.outcome, TransferOutcome::Completed);
    EXPECT_FALSE(r.singleBankFlag);
}

TEST_F(SendTransfer, UnansweredLockoutWritesTheChannelAgain) {
    scanner.inject("no-reply@LOF");
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed) << result->message;
    EXPECT_EQ(scanner.textsFrom("MA001"), (Strings{"MA001", "PM001 08510250", "LOF", "", "",
                                                   "MA001", "PM001 08510250", "LOF", "DLN"}));
    EXPECT_EQ(timeOf(""), timeOf("LOF") + 1000);
}

TEST_F(SendTransfer, ASendEndedHalfWaySaysTheScannerHoldsAMixFromWhichChannelOn) {
    enum class End { Pulled, Stopped, Silent };
    for (int s = 1; s <= 50; ++s) image.channel(0, s)[kFieldFrequency] = "0851.0250";
    for (End end : {End::Pulled, End::Stopped, End::Silent}) {
        forget();
        scanner.faults.clear();
        make();
        session->startSend(image, SendRange(1, 50));
        runUntilSent("PM020");
        if (end == End::Pulled) scanner.pullAtNextCommand();
        if (end == End::Stopped) session->stop();
        if (end == End::Silent) scanner.inject("no-reply:always");
        const TransferResult r = runToEnd();
        EXPECT_EQ(r.outcome,
                  end == End::Stopped ? TransferOutcome::Stopped : TransferOutcome::Failed);
        EXPECT_THAT(r.message, HasSubstr("The scanner now holds a mix of old and new channels: "
                                         "channels 001 to 019 are new, from channel 020 on it "
                                         "holds its old channels"));
        EXPECT_THAT(r.message, HasSubstr(end == End::Pulled   ? "lost at channel 020"
                                         : end == End::Silent ? "No answer to \"PM020 08510250\" "
                                                                "at channel 020"
                                                              : "Transfer stopped."));
    }
}

TEST_F(SendTransfer, TrunkTypeIsSetOnlyWhenTheScannerHoldsAnother) {
    image.channel(0, 1)[kFieldTrunk] = "1";
    image.TrunkType[0] = "6";
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "TR A 6");

    scanner.model.trunk(0).typeName = "EDCS WIDE";
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "MA001");

    scanner.model.trunk(0).typeName = "";
    config.options.option[8] = 1;
    make();
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.texts().at(2), "KEY07") << "no type read either";
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "MA001");
}

TEST_F(SendTransfer, AFailedTrunkTypeReadDoesNotBlockTheChannels) {
    scanner.inject("err@TB C:always");
    image.channel(0, 1)[kFieldTrunk] = "1";
    image.TrunkType[0] = "6";
    ASSERT_EQ(send(SendRange(1, 2)).outcome, TransferOutcome::Completed) << result->message;
    EXPECT_EQ(scanner.model.channel(1).frequency, "08510250");
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "TR A 6") << "an unknown type counts as another";
}

TEST_F(SendTransfer, ActiveBanksAreSentWithLinkbank) {
    config.options.linkbank = 1;
    image.ActiveBank[1] = 1;
    image.ActiveBank[3] = 1;
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.texts().at(2), "SB BD");
    EXPECT_EQ(scanner.model.activeBanks(), "BD");
    image.ActiveBank.fill(0);
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(sentCount("SB"), 0) << "no bank active: nothing to send";
}

TEST_F(SendTransfer, TrunkIdsWithAndWithoutDelid) {
    image.TrunkType[0] = "1";
    image.TrunkId[0][0][0] = "012345";
    image.TrunkId[0][3][0] = "------";
    ASSERT_EQ(send(SendBank({false, true, false}, 0)).outcome, TransferOutcome::Completed);
    for (const char* sent : {"TG A A0 012345", "TG A A3 0", "TG A E9 0"})
        EXPECT_THAT(scanner.texts(), Contains(sent));
    const std::string log = fileText("TRUNCK8.TXT");
    EXPECT_THAT(log, StartsWith("start: 0\r\nend: 49\r\n"));
    EXPECT_THAT(log, HasSubstr("TG A A0 012345 OK\r\nDATA id: OK\r\n"));

    config.options.delid = 0;
    make();
    ASSERT_EQ(send(SendBank({false, true, false}, 0)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(sentCount("TG A "), 2) << "the opening TG A A0 and the one ID";
}

TEST_F(SendTransfer, RejectedTrunkIdsAreReportedNotHidden) {
    image.TrunkType[0] = "1";
    image.TrunkId[0][0][0] = "012345";
    scanner.inject("err@TG A A0 012345:always");
    const TransferResult r = send(SendBank({false, true, false}, 0));
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_THAT(r.message, HasSubstr("did not confirm 1 commands"));
    EXPECT_THAT(r.message, HasSubstr("\"TG A A0 012345\" (refused)"));
    EXPECT_THAT(fileText("TRUNCK8.TXT"), HasSubstr("TG A A0 012345 ERR"));
}

TEST_F(SendTransfer, TrunkSettingsSurviveUploadAndDownload) {
    // Bank 2: Type 2 UHF with base lines; bank 3: type 6; bank 4: Type 2 800 with its
    // control channel off. A Type 1 bank with its fleet map crosses in vexa's round trip.
    image.TrunkType[1] = "4";
    image.TrunkSetting[1][1] = "0";
    image.TrunkSetting[1][2] = "1";
    image.TrunkBase[1][0] = {"0416.0000", "012.50", "381", "", "", "", "", ""};
    image.TrunkBase[1][1] = {"0450.1250", "025.00", "400", "", "", "", "", ""};
    image.TrunkType[2] = "6";
    image.TrunkSetting[2][1] = "1";
    image.TrunkType[3] = "1";
    image.TrunkSetting[3][0] = "0";
    image.TrunkSetting[3][1] = "0";
    image.TrunkSetting[3][2] = "1";
    const TransferResult sent = send(SendAll({false, false, true}));
    ASSERT_EQ(sent.outcome, TransferOutcome::Completed) << sent.message;
    for (const char* line : {"TR B 4 04160000 0125 381 1", "TCF D", "AFN"})
        EXPECT_THAT(scanner.texts(), Contains(line));

    // The scanner now holds those types; read everything back into an empty image.
    const Image sentImage = image;
    ClearForStartup(image);
    const TransferResult r = read(ReadAll({false, false, true}));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(r.warnings, Strings{});
    for (std::size_t b : {1u, 2u, 3u})
        for (std::size_t f : {0u, 1u, 2u})
            if (const std::string& want = sentImage.TrunkSetting[b][f]; !want.empty()) {
                EXPECT_EQ(r.image.TrunkSetting[b][f], want) << b << " " << f;
            }
    EXPECT_EQ(r.image.TrunkBase[1][0], sentImage.TrunkBase[1][0]);
    EXPECT_EQ(r.image.TrunkBase[1][1][0], "0450.1250");
    EXPECT_EQ(r.image.TrunkBase[1][2][0], "");
}

TEST_F(SendTransfer, EveryPhaseLeavesTheScannerWithTheImagesBandPlanAndTypes) {
    // Bank 2: Type 2 UHF with the user's own plan and a trunked channel, so that the channel,
    // settings and ID phases each have a reason to set its type. Bank 3: type Unknown while
    // the scanner holds a Type 2 800 system there.
    image.TrunkType[1] = "4";
    image.TrunkBase[1][0] = {"0450.1250", "025.00", "400", "", "", "", "", ""};
    image.channel(1, 1) = {"51", "0450.5000", "", "1", "0", "0", ""};
    image.channel(2, 1) = {"101", "0851.5000", "", "1", "0", "0", ""};
    scanner.model.trunk(2).typeName = "E2-800";
    ASSERT_EQ(send(SendAll({true, true, true})).outcome, TransferOutcome::Completed)
        << result->message;
    Strings typeLines;
    for (const std::string& t : scanner.texts())
        if (t.rfind("TR B", 0) == 0 || t.rfind("TR C", 0) == 0) typeLines.push_back(t);
    ASSERT_FALSE(typeLines.empty());
    for (const std::string& t : typeLines)
        EXPECT_THAT(t, ::testing::AnyOf("TR B 4 04501250 0250 400 1", "TR B 4 00000000 0000 000 2",
                                        "TR B 4 00000000 0000 000 3"));
    EXPECT_EQ(typeLines.back(), "TR B 4 00000000 0000 000 3");
}

TEST_F(SendTransfer, ACommandTheScannerDidNotConfirmFailsTheSendNamingIt) {
    setTypeOneBank();
    const std::tuple<const char*, SendRequest, const char*> cases[] = {
        {"err@TR A 1:always", SendBank({false, false, true}, 0), "\"TR A 1\" of bank 1 (refused)"},
        {"no-reply@TCN A P3:always", SendBank({false, false, true}, 0),
         "\"TCN A P3\" of bank 1 (no answer)"},
        {"err@PM001 :always", SendRange(1, 2), "refused the command for channel 001"},
    };
    for (const auto& [fault, request, named] : cases) {
        scanner.faults.clear();
        scanner.inject(fault);
        const TransferResult r = send(request);
        EXPECT_EQ(r.outcome, TransferOutcome::Failed) << fault;
        EXPECT_THAT(r.message, HasSubstr(named));
    }
}

TEST_F(SendTransfer, DeleteBankClearsItsFiftyChannels) {
    const TransferResult r = run(StartDeleteBank(2));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    Strings expected{"SI", "SI"};
    for (int ch = 101; ch <= 150; ++ch) expected.push_back("PM" + std::to_string(ch) + " 00000000");
    EXPECT_EQ(scanner.texts(), expected);
    EXPECT_EQ(timeOf("PM102 00000000") - timeOf("PM101 00000000"), 100);
}

}  // namespace
}  // namespace vex::test
