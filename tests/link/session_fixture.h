// Shared set-up for the transfer tests: a session over the simulated scanner on a fake clock,
// recording everything the session reports.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>

#include "core/image.h"
#include "link/session.h"
#include "simulated_scanner.h"

namespace vex::test {

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("vex_link_test_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder);
        config.folder = folder;
        ClearForStartup(image);
        for (int b = 0; b < kScannerBanks; ++b) image.TrunkType[static_cast<std::size_t>(b)] = "0";
    }
    void TearDown() override {
        session.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }

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

    // Runs the clock until the transfer has finished (or a day has passed).
    TransferResult runToEnd() {
        while (!result && clock.nextDue() >= 0) clock.advance(clock.nextDue() - clock.now());
        EXPECT_TRUE(result.has_value());
        return result.value_or(TransferResult{});
    }

    TransferResult read(const ReadRequest& request) {
        if (!session) make();
        session->startRead(image, request);
        return runToEnd();
    }
    TransferResult send(const SendRequest& request) {
        if (!session) make();
        session->startSend(image, request);
        return runToEnd();
    }

    bool hasStatus(std::string_view text) const {
        for (const std::string& s : statuses)
            if (s == text) return true;
        return false;
    }
    std::string fileText(const char* name) const {
        std::string content;
        std::ifstream in(folder / name, std::ios::binary);
        content.assign(std::istreambuf_iterator<char>(in), {});
        return content;
    }

    FakeScheduler clock;
    SimulatedScanner scanner{clock};
    std::filesystem::path folder;
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
    ReadRequest r;
    r.items = items;
    r.area = TransferArea::AllBanks;
    return r;
}

inline SendRequest SendRange(int start, int end) {
    SendRequest r;
    r.items.frequencies = true;
    r.area = TransferArea::ChannelRange;
    r.rangeStart = start;
    r.rangeEnd = end;
    return r;
}

}  // namespace vex::test
