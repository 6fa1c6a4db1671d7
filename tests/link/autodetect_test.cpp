// The scanner search on the fake clock: devices that cannot be opened drop out, every other one
// is tried at each speed with two identification commands 0.2 s apart and read 0.2 s later, and
// the last match in the search order wins.
#include "link/autodetect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "link/fake_scheduler.h"

namespace vex {
namespace {

struct Event {
    std::int64_t at;
    std::string device;
    long baud;
    std::string what;  // "open", "open failed", "write SI\r\n", "close"
    bool operator==(const Event&) const = default;
};

// The machine's serial devices: which open, and at which speeds a scanner answers.
struct Bench {
    FakeScheduler clock;
    std::set<std::string> unopenable;
    // Opens in the availability pass, then fails (device unplugged in between).
    std::set<std::string> failsLater;
    std::map<std::string, std::set<long>> scannerSpeeds;
    std::string identification = "SI BCT8,1.04\r";
    std::int64_t latencyMs = 20;
    std::vector<Event> events;
    std::map<std::string, int> opens;
};

class FakeLine : public Transport {
  public:
    FakeLine(Bench& bench, std::string device, long baud)
        : d_bench(bench), d_device(std::move(device)), d_baud(baud) {}
    ~FakeLine() override { *d_alive = false; }

    TransportStatus open() override {
        const int count = ++d_bench.opens[d_device];
        if (d_bench.unopenable.count(d_device) ||
            (d_bench.failsLater.count(d_device) && count > 1)) {
            d_bench.events.push_back({d_bench.clock.now(), d_device, d_baud, "open failed"});
            return {TransportFault::Busy, std::string(kPortUnavailableMessage), ""};
        }
        d_open = true;
        d_bench.events.push_back({d_bench.clock.now(), d_device, d_baud, "open"});
        return {};
    }
    void close() override {
        if (!d_open) return;
        d_open = false;
        d_bench.events.push_back({d_bench.clock.now(), d_device, d_baud, "close"});
    }
    bool isOpen() const override { return d_open; }
    void write(std::string_view bytes) override {
        d_bench.events.push_back(
            {d_bench.clock.now(), d_device, d_baud, "write " + std::string(bytes)});
        auto it = d_bench.scannerSpeeds.find(d_device);
        if (it == d_bench.scannerSpeeds.end() || !it->second.count(d_baud)) return;
        if (bytes != "SI\r\n") return;
        d_bench.clock.startTimer(d_bench.latencyMs, [this, alive = d_alive] {
            if (*alive && d_open) deliver(d_bench.identification);
        });
    }

  private:
    Bench& d_bench;
    std::string d_device;
    long d_baud;
    bool d_open = false;
    std::shared_ptr<bool> d_alive = std::make_shared<bool>(true);
};

class AutodetectTest : public ::testing::Test {
  protected:
    Bench bench;
    Autodetect detect{bench.clock, [this](const std::string& device, long baud) {
                          return std::make_unique<FakeLine>(bench, device, baud);
                      }};
    std::optional<AutodetectResult> result;
    std::vector<AutodetectProgress> progress;
    int finishedCalls = 0;

    void SetUp() override {
        detect.onFinished = [this](const AutodetectResult& r) {
            result = r;
            ++finishedCalls;
        };
        detect.onProgress = [this](const AutodetectProgress& p) { progress.push_back(p); };
    }

    void run(std::vector<std::string> devices) {
        detect.start(std::move(devices));
        EXPECT_FALSE(result) << "reported from inside start()";
        ASSERT_TRUE(bench.clock.runUntilIdle(60'000));
        ASSERT_TRUE(result.has_value());
        EXPECT_FALSE(detect.running());
    }
    long count(const std::string& what) const {
        return std::count_if(bench.events.begin(), bench.events.end(),
                             [&](const Event& e) { return e.what == what; });
    }
};

struct Search {
    const char* name;
    std::vector<std::string> devices = {};
    std::map<std::string, std::set<long>> speeds = {};  // where and at which speeds one answers
    std::vector<std::string> available = {};
    std::string device = {};  // the match; empty: none
    long baud = 0;
    int searched = 1;  // devices tried at every speed
    std::int64_t latencyMs = 20;
    std::set<std::string> unopenable = {};
    std::set<std::string> failsLater = {};
    std::string identification = "SI BCT8,1.04\r";
};

class AutodetectSearch : public AutodetectTest, public ::testing::WithParamInterface<Search> {};

// Every device and speed is tried, even after a match; the last match in search order wins.
TEST_P(AutodetectSearch, FindsTheLastMatch) {
    const Search& c = GetParam();
    bench.scannerSpeeds = c.speeds;
    bench.unopenable = c.unopenable;
    bench.failsLater = c.failsLater;
    bench.identification = c.identification;
    bench.latencyMs = c.latencyMs;
    run(c.devices);
    EXPECT_EQ(result->found, !c.device.empty());
    EXPECT_EQ(result->device, c.device);
    EXPECT_EQ(result->baud, c.baud);
    EXPECT_EQ(result->available, c.available);
    const long tries = c.failsLater.empty() ? 5 * c.searched : 0;
    EXPECT_EQ(count("write SI\r\n"), 2 * tries);
    EXPECT_EQ(bench.clock.now(), 400 * tries) << "unopenable devices take no time";
    // Unopenable devices are tried once in the availability pass, never in the search.
    for (const std::string& d : c.unopenable) EXPECT_EQ(bench.opens[d], 1) << d;
    for (const std::string& d : c.available) EXPECT_EQ(bench.opens[d], 1 + 5) << d;
}

const std::string kS0 = "/dev/ttyS0", kS1 = "/dev/ttyS1", kUsb = "/dev/ttyUSB0";
const std::vector<std::string> kThree{kS0, kUsb, "/dev/pts/7"};
const std::vector<std::string> kUsb0{kUsb};

INSTANTIATE_TEST_SUITE_P(
    Devices, AutodetectSearch,
    ::testing::Values(
        Search{"AtItsSpeed", kUsb0, {{kUsb, {19200}}}, kUsb0, kUsb, 19200},
        // The second wait ends at 400 ms: the first SI's reply (at 201 ms) is in time, the
        // second one's (at 401 ms) would not be.
        Search{"ReplyJustInTime", kUsb0, {{kUsb, {4800}}}, kUsb0, kUsb, 4800, 1, 201},
        Search{"ReplyAfterTheRead", kUsb0, {{kUsb, {4800}}}, kUsb0, "", 0, 1, 401},
        Search{"TwoSpeedsOnOneDevice", kThree, {{kS0, {9600, 38400}}}, kThree, kS0, 38400, 3},
        Search{"TwoDevices", kThree, {{kS0, {57600}}, {kUsb, {4800}}}, kThree, kUsb, 4800, 3},
        Search{.name = "UnopenableAreSkippedSilently",
               .devices = {kS0, kUsb, kS1},
               .speeds = {{kS1, {19200}}, {kUsb, {9600}}},
               .available = kUsb0,
               .device = kUsb,
               .baud = 9600,
               .unopenable = {kS0, kS1}},
        Search{.name = "FailsDuringTheSearch",
               .devices = kUsb0,
               .speeds = {{kUsb, {19200}}},
               .available = kUsb0,
               .failsLater = {kUsb}},
        Search{"NoDevices", {}, {}, {}, "", 0, 0},
        Search{.name = "AllUnopenable",
               .devices = {kS0, kS1},
               .searched = 0,
               .unopenable = {kS0, kS1}},
        Search{.name = "AnotherDeviceAnswers",
               .devices = kUsb0,
               .speeds = {{kUsb, {4800, 19200}}},
               .available = kUsb0,
               .identification = "SI ZQ-5000X\r"},
        Search{"DuplicateAndEmptyTriedOnce", {kUsb, "", kUsb}, {}, kUsb0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutodetectTest, EachSpeedIsTwoIdentificationsTwoTenthsApartThenARead) {
    run(kUsb0);
    // The availability pass opens and closes at once; then, per speed in list order: open, SI,
    // SI 200 ms later, close 200 ms after that.
    ASSERT_EQ(bench.events.size(), 2u + 4u * kBaudRates.size());
    EXPECT_EQ(bench.events[1], (Event{0, kUsb, kBaudRates[0], "close"}));
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        const Event* step = &bench.events[2 + 4 * i];
        const std::int64_t t = 400 * static_cast<std::int64_t>(i);
        const long baud = kBaudRates[i];
        EXPECT_EQ(step[0], (Event{t, kUsb, baud, "open"}));
        EXPECT_EQ(step[1], (Event{t, kUsb, baud, "write SI\r\n"}));
        EXPECT_EQ(step[2], (Event{t + 200, kUsb, baud, "write SI\r\n"}));
        EXPECT_EQ(step[3], (Event{t + 400, kUsb, baud, "close"}));
    }
}

TEST_F(AutodetectTest, StopClosesTheLineAndTakesNothing) {
    detect.stop();  // idle: harmless
    EXPECT_EQ(bench.clock.pendingTimers(), 0u);
    bench.scannerSpeeds["/dev/ttyUSB0"] = {4800};
    bench.scannerSpeeds["/dev/ttyUSB1"] = {4800};
    detect.start({"/dev/ttyUSB0", "/dev/ttyUSB1"});
    // Past the first device's match, in the middle of the second device's first speed.
    bench.clock.advance(5 * 400 + 100);
    ASSERT_EQ(bench.events.back().device, "/dev/ttyUSB1");
    detect.stop();
    detect.stop();
    EXPECT_EQ(bench.events.back().what, "close");
    EXPECT_FALSE(result) << "reported from inside stop()";
    ASSERT_TRUE(bench.clock.runUntilIdle(60'000));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->stopped);
    EXPECT_FALSE(result->found);
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_EQ(bench.events.back().what, "close") << "nothing more was sent after the stop";
}

TEST_F(AutodetectTest, StopFromAProgressReportLeavesNoLineOpen) {
    detect.onProgress = [this](const AutodetectProgress& p) {
        if (p.text.rfind("Trying", 0) == 0) detect.stop();
    };
    run(kUsb0);
    EXPECT_TRUE(result->stopped);
    EXPECT_EQ(count("open"), count("close"));
}

TEST_F(AutodetectTest, DestroyedMidSearchLeavesNoTimerBehind) {
    Bench b;
    b.scannerSpeeds["/dev/ttyUSB0"] = {4800};
    {
        Autodetect d(b.clock, [&b](const std::string& device, long baud) {
            return std::make_unique<FakeLine>(b, device, baud);
        });
        d.onFinished = [](const AutodetectResult&) { FAIL() << "no report after destruction"; };
        d.start(kUsb0);
        b.clock.advance(250);
    }
    EXPECT_EQ(b.events.back().what, "close");
    // Only the scanner's own pending reply may be left; it finds the line gone.
    EXPECT_TRUE(b.clock.runUntilIdle(60'000));
}

TEST_F(AutodetectTest, ProgressNamesEachDeviceAndSpeedAndCountsUp) {
    bench.unopenable = {"/dev/ttyS0"};
    run({"/dev/ttyS0", "/dev/ttyUSB0"});
    std::vector<std::string> texts;
    for (const auto& p : progress) texts.push_back(p.text);
    const std::vector<std::string> expected{
        "Checking /dev/ttyS0...",          "Checking /dev/ttyUSB0...",
        "Trying /dev/ttyUSB0 at 4800...",  "Trying /dev/ttyUSB0 at 9600...",
        "Trying /dev/ttyUSB0 at 19200...", "Trying /dev/ttyUSB0 at 38400...",
        "Trying /dev/ttyUSB0 at 57600...", "No scanner found."};
    EXPECT_EQ(texts, expected);
    // Once the available devices are known the total is exact and the last step reaches it.
    EXPECT_EQ(progress.back().total, 2 + 5);
    EXPECT_EQ(progress.back().done, progress.back().total);
    EXPECT_EQ(progress[2].total, 2 + 5);
}

}  // namespace
}  // namespace vex
