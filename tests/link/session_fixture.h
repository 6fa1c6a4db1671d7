// Shared set-up for the transfer tests: a session over the simulated scanner on a fake clock,
// recording everything the session reports.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "core/image.h"
#include "core/temp_folder.h"
#include "link/session.h"
#include "simulated_scanner.h"

namespace vex::test {

using Strings = std::vector<std::string>;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

using StartFn = std::function<void(LinkSession&, const Image&)>;

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        config.folder = folder;
        ClearForStartup(image);
        for (int b = 0; b < kScannerBanks; ++b) image.TrunkType[static_cast<std::size_t>(b)] = "0";
    }
    void TearDown() override { session.reset(); }

    LinkSession& make() {
        session.reset();  // the old link lets go of the scanner first
        session = std::make_unique<LinkSession>(scanner, clock, config);
        LinkEvents events;
        events.progress = [this](const LinkProgress& p) {
            if (statuses.empty() || statuses.back() != p.status) statuses.push_back(p.status);
        };
        events.ask = [this](const Question& q, std::function<void(bool)> answerFn) {
            questions.push_back(q);
            if (deferAnswers)
                pendingAnswer = std::move(answerFn);
            else
                answerFn(answer);
        };
        events.finished = [this](const TransferResult& r) {
            ++finishedCount;
            result = r;
            finishedAt = clock.now();
        };
        events.reply = [this](std::string_view r) { replies.emplace_back(r); };
        session->setEvents(std::move(events));
        return *session;
    }

    void forget() {
        result.reset();
        scanner.sent.clear();
        statuses.clear();
        questions.clear();
        replies.clear();
    }

    // Runs the clock until the transfer has finished (or a day has passed).
    TransferResult runToEnd() {
        while (!result && clock.nextDue() >= 0) clock.advance(clock.nextDue() - clock.now());
        EXPECT_TRUE(result.has_value());
        return result.value_or(TransferResult{});
    }
    // Starts a job on the session (made if there is none) with a clean record, runs it out.
    TransferResult run(const StartFn& start) {
        if (!session) make();
        forget();
        start(*session, image);
        return runToEnd();
    }
    TransferResult read(const ReadRequest& request);
    TransferResult send(const SendRequest& request);
    OpenResult open() {
        if (!session) make();
        std::optional<OpenResult> opened;
        session->open([&](const OpenResult& r) { opened = r; });
        EXPECT_FALSE(opened) << "never from inside open()";
        clock.runUntilIdle();
        EXPECT_TRUE(opened);
        return opened.value_or(OpenResult{});
    }
    // Advances the clock until the last command sent begins with `prefix`.
    void runUntilSent(std::string_view prefix) {
        while (scanner.sent.empty() || scanner.sent.back().text.rfind(prefix, 0) != 0)
            clock.advance(1);
    }

    bool hasStatus(std::string_view text) const {
        return std::find(statuses.begin(), statuses.end(), text) != statuses.end();
    }
    long sentCount(std::string_view prefix) const {
        return std::count_if(scanner.sent.begin(), scanner.sent.end(),
                             [&](const SentCommand& c) { return c.text.rfind(prefix, 0) == 0; });
    }
    // Fake-clock time of the nth command sent as `text` (-1: not sent).
    std::int64_t timeOf(const std::string& text, int nth = 1) const {
        for (const SentCommand& c : scanner.sent)
            if (c.text == text && --nth == 0) return c.at;
        return -1;
    }
    std::string fileText(const char* name) const {
        std::string content;
        std::ifstream in(folder / name, std::ios::binary);
        content.assign(std::istreambuf_iterator<char>(in), {});
        return content;
    }

    FakeScheduler clock;
    SimulatedScanner scanner{clock};
    TempFolder temp;
    std::filesystem::path folder = temp.path();
    LinkConfig config;
    Image image;
    std::unique_ptr<LinkSession> session;

    std::vector<std::string> statuses;
    std::vector<std::string> replies;
    std::vector<Question> questions;
    bool answer = true;
    bool deferAnswers = false;
    std::function<void(bool)> pendingAnswer;
    std::optional<TransferResult> result;
    int finishedCount = 0;
    std::int64_t finishedAt = -1;
};

inline ReadRequest ReadAll(TransferItems items = {true, false, false}) {
    return {.items = items, .area = TransferArea::AllBanks};
}
inline ReadRequest ReadBank(TransferItems items, int bank) {
    return {.items = items, .area = TransferArea::SingleBank, .bank = bank};
}
inline SendRequest SendAll(TransferItems items, TransferArea area = TransferArea::AllBanks,
                           int bank = -1) {
    SendRequest r;
    r.items = items;
    r.area = area;
    r.bank = bank;
    return r;
}
inline SendRequest SendBank(TransferItems items, int bank) {
    return SendAll(items, TransferArea::SingleBank, bank);
}
inline SendRequest SendRange(int start, int end) {
    SendRequest r = SendAll({true, false, false}, TransferArea::ChannelRange);
    r.rangeStart = start;
    r.rangeEnd = end;
    return r;
}

inline StartFn StartRead(ReadRequest r) {
    return [=](LinkSession& s, const Image& i) { s.startRead(i, r); };
}
inline StartFn StartSend(SendRequest r) {
    return [=](LinkSession& s, const Image& i) { s.startSend(i, r); };
}
inline StartFn StartDeleteBank(int bank) {
    return [=](LinkSession& s, const Image&) { s.startDeleteBank(bank); };
}
inline const StartFn kReadTrunkTypes = [](LinkSession& s, const Image& i) {
    s.startReadTrunkTypes(i);
};
inline const StartFn kReadBankNames = [](LinkSession& s, const Image&) { s.startReadBankNames(); };
inline const StartFn kReadIdListTags = [](LinkSession& s, const Image& i) {
    s.startReadIdListTags(i);
};

inline TransferResult SessionTest::read(const ReadRequest& request) {
    return run(StartRead(request));
}
inline TransferResult SessionTest::send(const SendRequest& request) {
    return run(StartSend(request));
}

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

}  // namespace vex::test
