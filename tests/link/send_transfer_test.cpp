#include <gtest/gtest.h>

#include "link/link.h"
#include "session_fixture.h"

namespace vex::test {
namespace {

using Strings = std::vector<std::string>;

class SendTransfer : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        config.options.expert = 1;  // questions are tested on their own
        Channel& c1 = image.channel(0, 1);
        c1[kFieldFrequency] = "0851.0250";
        c1[kFieldTrunk] = "0";
        c1[kFieldDelay] = "1";
        c1[kFieldLockout] = "0";
        image.channel(0, 2)[kFieldFrequency] = "0000.0000";
    }
    std::int64_t timeOf(const std::string& text, int nth = 1) const {
        for (const SentCommand& c : scanner.sent)
            if (c.text == text && --nth == 0) return c.at;
        return -1;
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
    EXPECT_EQ(scanner.model.channel(1).frequency, "08510250");
    EXPECT_TRUE(scanner.model.channel(1).delay);
    const std::string log = fileText("txlog.txt");
    EXPECT_NE(log.find("PM001 08510250 ts:0 chanid:1 bank:0 ch:1 tyes:0 ttype:0 ttyper:0\r\n"),
              std::string::npos)
        << log;
}

TEST_F(SendTransfer, PauseAfterEachChannelIsTheDelayInWholeSeconds) {
    config.options.delay1 = 600;
    const TransferResult r = send(SendRange(1, 2));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    // DLN answered 5 ms after it went out, then 1 s pause, then 2 x 600 ms before the write.
    EXPECT_EQ(timeOf("PM002 00000000"), timeOf("DLN") + 5 + 1000 + 1200);
}

TEST_F(SendTransfer, FrequencyTextsOutsideTheCanonicalFormAreSentWithTheirValue) {
    // Normalisation writes bare band edges; they must not erase the channel.
    image.channel(0, 1)[kFieldFrequency] = "25";
    image.channel(0, 2)[kFieldFrequency] = " 162.55";
    const TransferResult r = send(SendRange(1, 2));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    const Strings texts = scanner.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "PM001 00250000"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "PM002 01625500"), texts.end());
}

TEST_F(SendTransfer, FrequenciesThatCannotBeSentAreRefusedInOneMessageBeforeAnythingGoesOut) {
    image.channel(0, 2)[kFieldFrequency] = "abc";
    image.channel(0, 40)[kFieldFrequency] = "162,55";
    image.channel(1, 1)[kFieldFrequency] = "600";
    const TransferResult r = send(SendRange(1, 60));
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_NE(r.message.find("3 channels"), std::string::npos) << r.message;
    for (const char* part : {"002 (bank 1 line 2: \"abc\")", "040 (bank 1 line 40: \"162,55\")",
                             "051 (bank 2 line 1: \"600\")"})
        EXPECT_NE(r.message.find(part), std::string::npos) << part << " in " << r.message;
    EXPECT_TRUE(scanner.sent.empty());

    // A band plan that cannot be written is checked the same way.
    result.reset();
    image.channel(0, 2)[kFieldFrequency] = image.channel(0, 40)[kFieldFrequency] = "";
    image.channel(1, 1)[kFieldFrequency] = "";
    image.TrunkType[0] = "4";
    image.TrunkBase[0][1][0] = "41x";
    const TransferResult plan = send(SendRange(1, 60));
    EXPECT_EQ(plan.outcome, TransferOutcome::Refused);
    EXPECT_NE(plan.message.find("bank 1 Base Config 2: \"41x\""), std::string::npos)
        << plan.message;
    EXPECT_TRUE(scanner.sent.empty());
}

TEST_F(SendTransfer, TrunkedChannelsGetTheLetterT) {
    image.channel(0, 1)[kFieldTrunk] = "1";
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_TRUE(scanner.model.channel(1).trunk);
    const Strings texts = scanner.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "PM001T08510250"), texts.end());
}

TEST_F(SendTransfer, ChoicesAndEmptyBanks) {
    SendRequest none;
    EXPECT_EQ(send(none).message, "Please select which data you want to upload.");
    result.reset();
    SendRequest noArea;
    noArea.items.frequencies = true;
    EXPECT_EQ(send(noArea).message, "Please select All Banks or Single Bank.");
    result.reset();
    SendRequest noBank = noArea;
    noBank.area = TransferArea::SingleBank;
    EXPECT_EQ(send(noBank).message, "Please select which bank you want to upload.");
    result.reset();
    SendRequest emptyBank = noBank;
    emptyBank.bank = 3;
    EXPECT_EQ(send(emptyBank).message, "There is nothing to send!");
    EXPECT_TRUE(scanner.sent.empty());
}

TEST_F(SendTransfer, ConfirmationsComeBeforeTheFirstCommand) {
    config.options.expert = 0;
    answer = false;
    TransferResult r = send(SendRange(10, 12));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Please confirm data upload.\nChannels: 10 / 12\nAre you sure?");
    EXPECT_EQ(r.outcome, TransferOutcome::Refused);
    EXPECT_TRUE(r.message.empty());
    EXPECT_TRUE(scanner.sent.empty());

    // Answered later, from the event loop.
    result.reset();
    questions.clear();
    deferAnswers = true;
    make();
    session->startSend(image, SendRange(10, 12));
    clock.runUntilIdle();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_FALSE(result);
    EXPECT_TRUE(scanner.sent.empty());
    pendingAnswer(true);
    r = runToEnd();
    EXPECT_EQ(r.outcome, TransferOutcome::Completed);
    // "Channel Range:" 10 to 12 writes channels 10, 11 and 12.
    const Strings texts = scanner.texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.rfind("PM", 0) == 0; }),
              3);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "PM010 00000000"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "PM012 00000000"), texts.end());
}

TEST_F(SendTransfer, StopWhileAQuestionIsOpenCountsAsNo) {
    config.options.expert = 0;
    deferAnswers = true;
    make();
    session->startSend(image, SendRange(1, 2));
    clock.runUntilIdle();
    ASSERT_TRUE(pendingAnswer);
    session->stop();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->outcome, TransferOutcome::Stopped);
    pendingAnswer(true);  // too late: nothing happens
    clock.runUntilIdle();
    EXPECT_TRUE(scanner.sent.empty());
    EXPECT_EQ(finishedCount, 1);
}

TEST_F(SendTransfer, AllBanksAfterASingleBankDownloadAsksAgain) {
    config.options.expert = 0;
    SendRequest request;
    request.items.frequencies = true;
    request.area = TransferArea::AllBanks;
    request.singleBankFlag = true;
    const TransferResult r = send(request);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(
        questions[1].text,
        "WARNING: Please re-confirm data upload.\nYou previously downloaded 1 bank and now you "
        "want to upload all banks.\nAll remaining channels will be cleared!\nAre you sure?");
    EXPECT_EQ(r.outcome, TransferOutcome::Completed);
    EXPECT_FALSE(r.singleBankFlag);
}

TEST_F(SendTransfer, ExpertSkipsTheQuestions) {
    config.options.expert = 1;
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_TRUE(questions.empty());
}

TEST_F(SendTransfer, UnansweredLockoutWritesTheChannelAgain) {
    scanner.inject("no-reply@LOF");
    const TransferResult r = send(SendRange(1, 1));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    const Strings from = scanner.textsFrom("MA001");
    EXPECT_EQ(from, (Strings{"MA001", "PM001 08510250", "LOF", "", "", "MA001", "PM001 08510250",
                             "LOF", "DLN"}));
    EXPECT_EQ(timeOf("", 1), timeOf("LOF") + 1000);
}

TEST_F(SendTransfer, RefusedWriteIsRetriedAndThenReported) {
    scanner.inject("err@PM001 :always");
    const TransferResult r = send(SendRange(1, 2));
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_NE(r.message.find("refused the command for channel 001"), std::string::npos)
        << r.message;
}

TEST_F(SendTransfer, ASendEndedHalfWaySaysTheScannerHoldsAMixFromWhichChannelOn) {
    enum class End { Pulled, Stopped, Silent };
    for (End end : {End::Pulled, End::Stopped, End::Silent}) {
        result.reset();
        scanner.sent.clear();
        scanner.faults.Clear();
        for (int s = 1; s <= 50; ++s) image.channel(0, s)[kFieldFrequency] = "0851.0250";
        make();
        session->startSend(image, SendRange(1, 50));
        while (scanner.sent.empty() || scanner.sent.back().text.rfind("PM020", 0) != 0)
            clock.advance(1);
        if (end == End::Pulled) scanner.pullAtNextCommand();
        if (end == End::Stopped) session->stop();
        if (end == End::Silent) scanner.inject("no-reply:always");
        const TransferResult r = runToEnd();
        EXPECT_EQ(r.outcome,
                  end == End::Stopped ? TransferOutcome::Stopped : TransferOutcome::Failed)
            << r.message;
        EXPECT_NE(r.message.find("The scanner now holds a mix of old and new channels: channels "
                                 "001 to 019 are new, from channel 020 on it holds its old "
                                 "channels"),
                  std::string::npos)
            << r.message;
        const std::string where = end == End::Pulled   ? "lost at channel 020"
                                  : end == End::Silent ? "No answer to \"PM020 08510250\" at "
                                                         "channel 020"
                                                       : "Transfer stopped.";
        EXPECT_NE(r.message.find(where), std::string::npos) << r.message;
    }
}

TEST_F(SendTransfer, TrunkTypeIsSetOnlyWhenTheScannerHoldsAnother) {
    image.channel(0, 1)[kFieldTrunk] = "1";
    image.TrunkType[0] = "6";
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "TR A 6");
    EXPECT_EQ(scanner.textsFrom("KEY07").at(3), "MA001");

    result.reset();
    scanner.sent.clear();
    scanner.model.trunk(0).typeName = "EDCS WIDE";
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "MA001");

    // option8 switches the type command off.
    result.reset();
    scanner.sent.clear();
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
    const TransferResult r = send(SendRange(1, 2));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_EQ(scanner.model.channel(1).frequency, "08510250");
    EXPECT_EQ(scanner.textsFrom("KEY07").at(2), "TR A 6") << "an unknown type counts as another";
}

TEST_F(SendTransfer, ActiveBanksAreSentWithLinkbank) {
    config.options.linkbank = 1;
    image.ActiveBank[1] = 1;
    image.ActiveBank[3] = 1;
    ASSERT_EQ(send(SendRange(1, 1)).outcome, TransferOutcome::Completed);
    EXPECT_EQ(scanner.texts().at(2), "SB BD");
}

TEST_F(SendTransfer, UploadThenDownloadGivesTheSameChannels) {
    for (int ch = 1; ch <= 250; ++ch) {
        Channel& c = image.channel(BankOfChannel(ch), SlotOfChannel(ch));
        c[kFieldFrequency] =
            ch % 7 == 0 ? "0000.0000" : "0" + std::to_string(150 + ch % 300) + ".1250";
        if (ch % 7 != 0 && 150 + ch % 300 >= 1000) c[kFieldFrequency] = "0851.0125";
        c[kFieldTrunk] = ch % 2 ? "1" : "0";
        c[kFieldDelay] = ch % 3 ? "1" : "0";
        c[kFieldLockout] = ch % 5 ? "0" : "1";
    }
    SendRequest request;
    request.items.frequencies = true;
    request.area = TransferArea::AllBanks;
    ASSERT_EQ(send(request).outcome, TransferOutcome::Completed);
    result.reset();
    const TransferResult r = read(ReadAll());
    ASSERT_EQ(r.outcome, TransferOutcome::Completed);
    for (int ch = 1; ch <= 250; ++ch) {
        if (ch % 7 == 0) continue;  // empty channels keep whatever flags the scanner had
        const Channel& a = image.channel(BankOfChannel(ch), SlotOfChannel(ch));
        const Channel& b = r.image.channel(BankOfChannel(ch), SlotOfChannel(ch));
        for (int f : {kFieldFrequency, kFieldTrunk, kFieldDelay, kFieldLockout})
            ASSERT_EQ(a[static_cast<std::size_t>(f)], b[static_cast<std::size_t>(f)])
                << ch << " field " << f;
    }
}

TEST_F(SendTransfer, TrunkIdsWithAndWithoutDelid) {
    image.TrunkType[0] = "1";
    image.TrunkId[0][0][0] = "012345";
    image.TrunkId[0][3][0] = "------";
    SendRequest request;
    request.items.trunkIds = true;
    request.area = TransferArea::SingleBank;
    request.bank = 0;
    ASSERT_EQ(send(request).outcome, TransferOutcome::Completed);
    Strings texts = scanner.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "TG A A0 012345"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "TG A A3 0"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "TG A E9 0"), texts.end());
    EXPECT_EQ(scanner.model.trunk(0).ids[0], "012345");
    const std::string log = fileText("TRUNCK8.TXT");
    EXPECT_EQ(log.rfind("start: 0\r\nend: 49\r\n", 0), 0u) << log;
    EXPECT_NE(log.find("TG A A0 012345 OK\r\nDATA id: OK\r\n"), std::string::npos);

    result.reset();
    scanner.sent.clear();
    config.options.delid = 0;
    make();
    ASSERT_EQ(send(request).outcome, TransferOutcome::Completed);
    texts = scanner.texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::string& t) { return t.rfind("TG A ", 0) == 0; }),
              2)
        << "the opening TG A A0 and the one ID";
}

TEST_F(SendTransfer, RejectedTrunkIdsAreReportedNotHidden) {
    image.TrunkType[0] = "1";
    image.TrunkId[0][0][0] = "012345";
    scanner.inject("err@TG A A0 012345:always");
    SendRequest request;
    request.items.trunkIds = true;
    request.area = TransferArea::SingleBank;
    request.bank = 0;
    const TransferResult r = send(request);
    EXPECT_EQ(r.outcome, TransferOutcome::Failed);
    EXPECT_NE(r.message.find("did not confirm 1 commands"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("\"TG A A0 012345\" (refused)"), std::string::npos) << r.message;
    EXPECT_NE(fileText("TRUNCK8.TXT").find("TG A A0 012345 ERR"), std::string::npos);
}

TEST_F(SendTransfer, TrunkSettingsSurviveUploadAndDownload) {
    // Bank 1: Motorola Type 1 with a custom fleet map; bank 2: Type 2 UHF with base lines;
    // bank 3: EDACS; bank 4: Motorola Type 2 800 with its control channel off.
    image.TrunkType[0] = "2";
    image.TrunkSetting[0][0] = "3";
    image.TrunkSetting[0][1] = "1";
    image.TrunkSetting[0][2] = "0";
    image.TrunkSetting[0][7] = "0";
    const std::array<std::string, 8> blocks{"3", "10", "4", "4", "12", "12", "12", "12"};
    for (int k = 0; k < 8; ++k)
        image.TrunkBase[0][0][static_cast<std::size_t>(k)] = blocks[static_cast<std::size_t>(k)];
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
    SendRequest request;
    request.items.trunkSettings = true;
    request.area = TransferArea::AllBanks;
    const TransferResult sent = send(request);
    ASSERT_EQ(sent.outcome, TransferOutcome::Completed) << sent.message;
    EXPECT_TRUE(sent.warnings.empty());
    const Strings texts = scanner.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "TR B 4 04160000 0125 381 1"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "TCN A P3"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "FB A 1 10"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "AFN"), texts.end());

    // The scanner now holds those types; read everything back into an empty image.
    Image fresh;
    ClearForStartup(fresh);
    const Image sentImage = image;
    image = fresh;
    result.reset();
    const TransferResult r = read(ReadAll({false, false, true}));
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    EXPECT_TRUE(r.warnings.empty()) << (r.warnings.empty() ? "" : r.warnings.front());
    for (std::size_t b : {0u, 1u, 2u, 3u}) {
        for (std::size_t f : {0u, 1u, 2u}) {
            const std::string& want = sentImage.TrunkSetting[b][f];
            if (want.empty()) continue;
            EXPECT_EQ(r.image.TrunkSetting[b][f], want) << "bank " << b << " field " << f;
        }
    }
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(r.image.TrunkBase[0][0][static_cast<std::size_t>(k)],
                  blocks[static_cast<std::size_t>(k)]);
    EXPECT_EQ(r.image.TrunkBase[1][0][0], "0416.0000");
    EXPECT_EQ(r.image.TrunkBase[1][0][1], "012.50");
    EXPECT_EQ(r.image.TrunkBase[1][0][2], "381");
    EXPECT_EQ(r.image.TrunkBase[1][1][0], "0450.1250");
    EXPECT_EQ(r.image.TrunkBase[1][2][0], "");
    EXPECT_TRUE(hasStatus("Reading Trunk Settings Ok"));
}

TEST_F(SendTransfer, EveryPhaseLeavesTheScannerWithTheImagesBandPlanAndTypes) {
    // Bank 2: Type 2 UHF with the user's own plan and a trunked channel, so that the channel,
    // settings and ID phases each have a reason to set its type. Bank 3: type Unknown while
    // the scanner holds a Type 2 800 system there.
    image.TrunkType[1] = "4";
    image.TrunkBase[1][0] = {"0450.1250", "025.00", "400", "", "", "", "", ""};
    image.channel(1, 1)[kFieldFrequency] = "0450.5000";
    image.channel(1, 1)[kFieldTrunk] = "1";
    image.TrunkType[2] = "0";
    image.channel(2, 1)[kFieldFrequency] = "0851.5000";
    image.channel(2, 1)[kFieldTrunk] = "1";
    scanner.model.trunk(2).typeName = "E2-800";
    SendRequest request;
    request.items = {true, true, true};
    request.area = TransferArea::AllBanks;
    ASSERT_EQ(send(request).outcome, TransferOutcome::Completed) << result->message;
    Strings typeLines;
    for (const std::string& t : scanner.texts())
        if (t.rfind("TR B", 0) == 0 || t.rfind("TR C", 0) == 0) typeLines.push_back(t);
    ASSERT_FALSE(typeLines.empty());
    for (const std::string& t : typeLines)
        EXPECT_TRUE(t == "TR B 4 04501250 0250 400 1" || t == "TR B 4 00000000 0000 000 2" ||
                    t == "TR B 4 00000000 0000 000 3")
            << t;
    EXPECT_EQ(typeLines.back(), "TR B 4 00000000 0000 000 3");
}

TEST_F(SendTransfer, ACommandTheScannerDidNotConfirmFailsTheSendNamingIt) {
    image.TrunkType[0] = "2";
    image.TrunkSetting[0][0] = "3";
    image.TrunkSetting[0][1] = "1";
    image.TrunkSetting[0][2] = "0";
    struct Case {
        const char* fault;
        const char* named;
    };
    const Case cases[] = {
        {"err@TR A 1:always", "\"TR A 1\" of bank 1 (refused)"},
        {"no-reply@TCN A P3:always", "\"TCN A P3\" of bank 1 (no answer)"},
    };
    for (const Case& c : cases) {
        result.reset();
        scanner.faults.Clear();
        scanner.inject(c.fault);
        SendRequest request;
        request.items.trunkSettings = true;
        request.area = TransferArea::SingleBank;
        request.bank = 0;
        const TransferResult r = send(request);
        EXPECT_EQ(r.outcome, TransferOutcome::Failed) << c.fault;
        EXPECT_NE(r.message.find(c.named), std::string::npos) << r.message;
    }
}

TEST_F(SendTransfer, DeleteBankClearsItsFiftyChannels) {
    config.options.expert = 0;
    make();
    session->startDeleteBank(2);
    const TransferResult r = runToEnd();
    ASSERT_EQ(r.outcome, TransferOutcome::Completed) << r.message;
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text,
              "You selected to delete all data in bank 3.\n101 / 150\nAre you sure?");
    Strings expected{"SI", "SI"};
    for (int ch = 101; ch <= 150; ++ch) expected.push_back("PM" + std::to_string(ch) + " 00000000");
    EXPECT_EQ(scanner.texts(), expected);
    EXPECT_EQ(timeOf("PM102 00000000") - timeOf("PM101 00000000"), 100);

    result.reset();
    session->startDeleteBank(-1);
    EXPECT_EQ(runToEnd().message, "Please select which bank you want to delete.");
}

}  // namespace
}  // namespace vex::test
