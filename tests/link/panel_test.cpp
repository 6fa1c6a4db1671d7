// The control panel's poll cycle, display parsing and reception log, on the fake clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/temp_folder.h"
#include "link/fake_scheduler.h"
#include "link/panel_poller.h"

namespace vex {
namespace {

constexpr std::string_view kDisplay =
    "LCD TRUNK + M - LOUT + DOWN - FIRE + MLOCK - FLASH + BNK *-*-* CHN [010] "
    "FRQ [0851.0250] LCD1 [PRIVATE SCAN +  ] LCD2 [ID:001234       ]\r";

TEST(PanelDisplayTest, DisplayReplySwitchesNamedIndicatorsAndFillsTheFields) {
    PanelDisplay d;
    d.indicators[static_cast<std::size_t>(IndicatorIndex("HOLD"))] = true;  // not named: kept
    d.indicators[static_cast<std::size_t>(IndicatorIndex("DWN"))] = true;
    ASSERT_TRUE(ApplyDisplayReply(kDisplay, d));
    for (const char* on : {"TRUNK", "L/O", "FIRE/EMS", "FLASH", "HOLD"})
        EXPECT_TRUE(d.on(on)) << on;
    for (const char* off : {"DWN", "M", "M-LOCK"}) EXPECT_FALSE(d.on(off)) << off;
    EXPECT_EQ(d.banks, "*-*-*");
    EXPECT_EQ(d.channel, "010");
    EXPECT_EQ(d.frequency, "851.0250");
    EXPECT_EQ(d.status, "PRIVATE SCAN +");
    EXPECT_EQ(d.tag, "ID:001234");

    // Replies that are not the answer change nothing.
    const PanelDisplay before = d;
    for (std::string_view reply : {"ERR", "OK", "MD 01", "LCD garbage", "%$#@!"}) {
        EXPECT_FALSE(ApplyDisplayReply(reply, d)) << reply;
        EXPECT_FALSE(ApplySquelchReply(reply, d)) << reply;
    }
    EXPECT_FALSE(ApplyModeReply("MD 99", d));
    EXPECT_EQ(d, before);
}

TEST(PanelDisplayTest, ModeSquelchAndEmptyFrequency) {
    const std::pair<const char*, const char*> modes[] = {{"MD 11", "Trunk - Motorola ID Search"},
                                                         {"MD 23", "Manual Frequency Mode"},
                                                         {"MD 25", "Remote Control Menu"},
                                                         {"MD MENU", "Menu mode"}};
    for (const auto& [reply, mode] : modes) {
        PanelDisplay d;
        ASSERT_TRUE(ApplyModeReply(reply, d)) << reply;
        EXPECT_EQ(d.mode, mode);
    }
    PanelDisplay d;
    ASSERT_TRUE(ApplySquelchReply("SQ 1\r", d));
    EXPECT_TRUE(d.squelchOpen);
    EXPECT_TRUE(d.on("BUSY"));
    ASSERT_TRUE(ApplyDisplayReply("LCD BNK + CHN [---] FRQ [-- ---]", d));
    EXPECT_EQ(d.frequency, "");
    EXPECT_TRUE(d.on("BANK"));
}

// A scanner front on the fake clock: answers polls and keys after a latency, or not at all.
class FakeFront : public Transport {
  public:
    explicit FakeFront(FakeScheduler& clock) : d_clock(clock) {}
    TransportStatus open() override {
        d_open = true;
        return {};
    }
    void close() override { d_open = false; }
    bool isOpen() const override { return d_open; }
    void write(std::string_view bytes) override {
        writes.push_back({d_clock.now(), std::string(bytes)});
        if (!answering || !d_open) return;
        std::string command(bytes.substr(0, bytes.find('\r')));
        std::string reply = "OK";
        if (command == "LCD") reply = display;
        if (command == "MD") reply = "MD 00";
        if (command == "SQ") reply = "SQ 0";
        d_clock.startTimer(latencyMs, [this, reply] {
            if (d_open) deliver(reply + "\r");
        });
    }
    std::vector<std::pair<std::int64_t, std::string>> writes;
    std::string display = "LCD HOLD - FLASH - CHN [001] FRQ [0162.5500] LCD1 [PRIVATE SCAN    ]";
    std::int64_t latencyMs = 10;
    bool answering = true;

  private:
    FakeScheduler& d_clock;
    bool d_open = false;
};

class PanelPollerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        poller.onDisplay = [this](const PanelDisplay&) { ++redraws; };
        poller.onState = [this](PanelState s) { states.push_back(s); };
        poller.onLogged = [this](const std::vector<Reception>& r) {
            logged.insert(logged.end(), r.begin(), r.end());
        };
        poller.timeAndDate = [] {
            return std::pair<std::string, std::string>{"12:00:00", "2026-12-07"};
        };
    }
    std::vector<std::string> sentSince(std::size_t from) const {
        std::vector<std::string> out;
        for (std::size_t i = from; i < front.writes.size(); ++i)
            out.push_back(front.writes[i].second);
        return out;
    }

    FakeScheduler clock;
    FakeFront front{clock};
    PanelPoller poller{front, clock};
    int redraws = 0;
    std::vector<PanelState> states;
    std::vector<Reception> logged;
};

TEST_F(PanelPollerTest, PollsLcdMdSqInTurnEveryHundredMillisecondsAndRedrawsOnlyOnChange) {
    ASSERT_TRUE(poller.start().ok());
    clock.advance(600);
    EXPECT_EQ(sentSince(0),
              (std::vector<std::string>{"LCD\r", "MD\r", "SQ\r", "LCD\r", "MD\r", "SQ\r"}));
    EXPECT_EQ(front.writes[1].first - front.writes[0].first, 100);
    EXPECT_EQ(poller.display().channel, "001");
    // First display, first mode; the same replies again redraw nothing.
    EXPECT_EQ(redraws, 2);
    front.display = "LCD HOLD - CHN [002] FRQ [0162.5500]";
    clock.advance(300);
    EXPECT_EQ(redraws, 3);
    EXPECT_EQ(poller.display().channel, "002");
}

TEST_F(PanelPollerTest, ASlowScannerNeverHasTwoCommandsWaiting) {
    front.latencyMs = 350;
    ASSERT_TRUE(poller.start().ok());
    int taken = 0;
    for (int i = 0; i < 6; ++i) taken += poller.pressKey("KEY07") ? 1 : 0;
    // The first goes out at once, four wait, the sixth is refused.
    EXPECT_EQ(taken, 5);
    clock.advance(5000);
    // Commands written less than the latency apart would have overlapped.
    for (std::size_t i = 1; i < front.writes.size(); ++i)
        EXPECT_GE(front.writes[i].first - front.writes[i - 1].first, 350) << i;
    EXPECT_LE(poller.queuedKeys(), PanelPoller::kMaxQueuedKeys);
    EXPECT_EQ(std::count_if(front.writes.begin(), front.writes.end(),
                            [](const auto& w) { return w.second == "KEY07\r\n"; }),
              5);
}

TEST_F(PanelPollerTest, ASilentScannerGivesNoScannerWithinTwoSecondsThenOnlyProbes) {
    ASSERT_TRUE(poller.start().ok());
    clock.advance(150);  // LCD at 100 answered at 110
    const std::size_t keyAt = front.writes.size();
    ASSERT_TRUE(poller.pressKey("KEY02 5"));
    EXPECT_EQ(sentSince(keyAt), std::vector<std::string>{"KEY02 5\r\n"}) << "at once, CR LF";
    clock.advance(850);
    front.answering = false;
    const std::int64_t silentAt = clock.now();
    while (poller.state() == PanelState::Polling && clock.now() < silentAt + 5000)
        clock.advance(10);
    EXPECT_EQ(poller.state(), PanelState::NoScanner);
    EXPECT_LE(clock.now() - silentAt, 2000);
    EXPECT_FALSE(poller.pressKey("KEY07"));
    const std::size_t before = front.writes.size();
    clock.advance(10000);
    // One probe a second, no more.
    EXPECT_LE(front.writes.size() - before, 10u);
    EXPECT_GE(front.writes.size() - before, 9u);
    front.answering = true;
    EXPECT_FALSE(poller.pressKey("KEY00"));  // HOLD: try again now
    clock.advance(50);
    EXPECT_EQ(states.back(), PanelState::Polling) << "within 0.1 s, not at the next probe";
}

TEST_F(PanelPollerTest, AReceptionIsLoggedOnceAtTheLogTickIntoGridAndFile) {
    test::TempFolder folder;
    poller.setLogFile(folder.path() / "idlog.txt");
    ASSERT_TRUE(poller.start().ok());
    front.display = "LCD FLASH + CHN [060] FRQ [0462.5000] LCD2 [ID:4711          ]";
    clock.advance(1000);  // the same reception seen on several polls
    front.display = "LCD FLASH - CHN [061] FRQ [0462.5250] LCD2 [                ]";
    clock.advance(1000);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(LogLine(logged[0]), "2 , 060 , 462.5000 , 4711 , 12:00:00 , 2026-12-07");
    std::ifstream in(folder.path() / "idlog.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "2 , 060 , 462.5000 , 4711 , 12:00:00 , 2026-12-07\r\n");
}

}  // namespace
}  // namespace vex
