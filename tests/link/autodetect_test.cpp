// The scanner search on the fake clock: devices that cannot be opened drop out, every other one
// is tried at each speed with two identification commands 0.2 s apart and read 0.2 s later, and
// the last match in the search order wins.
#include "link/autodetect.h"

#include <gtest/gtest.h>

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
        ASSERT_TRUE(bench.clock.runUntilIdle(60'000));
        ASSERT_TRUE(result.has_value());
        EXPECT_FALSE(detect.running());
    }

    std::vector<Event> eventsOf(const std::string& device) const {
        std::vector<Event> out;
        for (const Event& e : bench.events)
            if (e.device == device) out.push_back(e);
        return out;
    }
};

TEST_F(AutodetectTest, FindsTheScannerAtItsSpeed) {
    bench.scannerSpeeds["/dev/ttyUSB0"] = {19200};
    run({"/dev/ttyUSB0"});
    EXPECT_TRUE(result->found);
    EXPECT_FALSE(result->stopped);
    EXPECT_EQ(result->device, "/dev/ttyUSB0");
    EXPECT_EQ(result->baud, 19200);
    EXPECT_EQ(result->available, std::vector<std::string>{"/dev/ttyUSB0"});
}

TEST_F(AutodetectTest, EachSpeedIsTwoIdentificationsTwoTenthsApartThenARead) {
    run({"/dev/ttyUSB0"});
    const std::vector<Event> got = eventsOf("/dev/ttyUSB0");
    // The availability pass opens and closes at once.
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0].what, "open");
    EXPECT_EQ(got[1].what, "close");
    EXPECT_EQ(got[1].at, got[0].at);
    // Then, per speed in list order: open, SI, SI 200 ms later, close 200 ms after that.
    ASSERT_EQ(got.size(), 2u + 4u * kBaudRates.size());
    std::int64_t previousClose = got[1].at;
    for (std::size_t i = 0; i < kBaudRates.size(); ++i) {
        const Event* step = &got[2 + 4 * i];
        const long baud = kBaudRates[i];
        EXPECT_EQ(step[0], (Event{step[0].at, "/dev/ttyUSB0", baud, "open"}));
        EXPECT_GE(step[0].at, previousClose);
        EXPECT_EQ(step[1], (Event{step[0].at, "/dev/ttyUSB0", baud, "write SI\r\n"}));
        EXPECT_EQ(step[2], (Event{step[0].at + 200, "/dev/ttyUSB0", baud, "write SI\r\n"}));
        EXPECT_EQ(step[3], (Event{step[0].at + 400, "/dev/ttyUSB0", baud, "close"}));
        previousClose = step[3].at;
    }
    EXPECT_FALSE(result->found);
    EXPECT_EQ(result->baud, 0);
    // Nothing else holds the clock: five speeds take two seconds.
    EXPECT_EQ(bench.clock.now(), 5 * 400);
}

TEST_F(AutodetectTest, AReplyAfterTheReadCountsForNothing) {
    // The second wait ends at 400 ms; a reply due later is not seen.
    bench.scannerSpeeds["/dev/ttyUSB0"] = {4800};
    bench.latencyMs = 201;  // the second SI's reply would land at 401 ms
    bench.identification = "SI BCT8\r";
    run({"/dev/ttyUSB0"});
    // The first SI's reply (at 201 ms) was in time.
    EXPECT_TRUE(result->found);

    Bench late;
    late.scannerSpeeds["/dev/ttyUSB0"] = {4800};
    late.latencyMs = 401;
    Autodetect slow(late.clock, [&late](const std::string& device, long baud) {
        return std::make_unique<FakeLine>(late, device, baud);
    });
    std::optional<AutodetectResult> slowResult;
    slow.onFinished = [&](const AutodetectResult& r) { slowResult = r; };
    slow.start({"/dev/ttyUSB0"});
    ASSERT_TRUE(late.clock.runUntilIdle(60'000));
    ASSERT_TRUE(slowResult);
    EXPECT_FALSE(slowResult->found);
}

TEST_F(AutodetectTest, TheLastMatchInSearchOrderWins) {
    struct Case {
        const char* name;
        std::map<std::string, std::set<long>> speeds;
        std::string device;
        long baud;
    };
    const std::vector<Case> cases{
        {"two speeds on one device", {{"/dev/ttyS0", {9600, 38400}}}, "/dev/ttyS0", 38400},
        {"two devices", {{"/dev/ttyS0", {57600}}, {"/dev/ttyUSB0", {4800}}}, "/dev/ttyUSB0", 4800},
        {"first of three only", {{"/dev/ttyS0", {4800}}}, "/dev/ttyS0", 4800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.scannerSpeeds = c.speeds;
        Autodetect d(b.clock, [&b](const std::string& device, long baud) {
            return std::make_unique<FakeLine>(b, device, baud);
        });
        std::optional<AutodetectResult> r;
        d.onFinished = [&](const AutodetectResult& got) { r = got; };
        d.start({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/pts/7"});
        ASSERT_TRUE(b.clock.runUntilIdle(60'000));
        ASSERT_TRUE(r);
        EXPECT_TRUE(r->found);
        EXPECT_EQ(r->device, c.device);
        EXPECT_EQ(r->baud, c.baud);
        // The search never stops at the first match: every device and speed is tried.
        int identifications = 0;
        for (const Event& e : b.events) identifications += e.what == "write SI\r\n";
        EXPECT_EQ(identifications, 3 * 5 * 2);
    }
}

TEST_F(AutodetectTest, UnopenableDevicesAreSkippedSilently) {
    bench.unopenable = {"/dev/ttyS0", "/dev/ttyS1"};
    bench.scannerSpeeds["/dev/ttyS1"] = {19200};  // would answer, but cannot be opened
    bench.scannerSpeeds["/dev/ttyUSB0"] = {9600};
    run({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1"});
    EXPECT_EQ(result->available, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_TRUE(result->found);
    EXPECT_EQ(result->device, "/dev/ttyUSB0");
    EXPECT_EQ(result->baud, 9600);
    // Tried once in the availability pass, never in the search.
    EXPECT_EQ(bench.opens["/dev/ttyS0"], 1);
    EXPECT_EQ(bench.opens["/dev/ttyS1"], 1);
    EXPECT_EQ(bench.clock.now(), 5 * 400);
}

TEST_F(AutodetectTest, ADeviceThatFailsDuringTheSearchIsSkipped) {
    bench.failsLater = {"/dev/ttyUSB0"};
    bench.scannerSpeeds["/dev/ttyUSB0"] = {19200};
    run({"/dev/ttyUSB0"});
    EXPECT_EQ(result->available, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_FALSE(result->found);
    for (const Event& e : bench.events) EXPECT_EQ(e.what.find("write"), std::string::npos);
}

TEST_F(AutodetectTest, NoneFound) {
    struct Case {
        const char* name;
        std::vector<std::string> devices;
        std::set<std::string> unopenable;
        std::string identification;
    };
    const std::vector<Case> cases{
        {"no devices at all", {}, {}, "SI BCT8\r"},
        {"every device unopenable",
         {"/dev/ttyS0", "/dev/ttyS1"},
         {"/dev/ttyS0", "/dev/ttyS1"},
         "SI BCT8\r"},
        {"another scanner answers", {"/dev/ttyUSB0"}, {}, "SI QX770\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench b;
        b.unopenable = c.unopenable;
        b.identification = c.identification;
        for (const auto& device : c.devices) b.scannerSpeeds[device] = {4800, 19200};
        Autodetect d(b.clock, [&b](const std::string& device, long baud) {
            return std::make_unique<FakeLine>(b, device, baud);
        });
        std::optional<AutodetectResult> r;
        d.onFinished = [&](const AutodetectResult& got) { r = got; };
        d.start(c.devices);
        EXPECT_FALSE(r) << "reported from inside start()";
        ASSERT_TRUE(b.clock.runUntilIdle(60'000));
        ASSERT_TRUE(r);
        EXPECT_FALSE(r->found);
        EXPECT_FALSE(r->stopped);
        EXPECT_TRUE(r->device.empty());
    }
}

TEST_F(AutodetectTest, DuplicateAndEmptyDevicesAreTriedOnce) {
    run({"/dev/ttyUSB0", "", "/dev/ttyUSB0"});
    EXPECT_EQ(result->available, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_EQ(bench.opens["/dev/ttyUSB0"], 1 + 5);
}

TEST_F(AutodetectTest, StopClosesTheLineAndTakesNothing) {
    bench.scannerSpeeds["/dev/ttyUSB0"] = {4800};
    bench.scannerSpeeds["/dev/ttyUSB1"] = {4800};
    detect.start({"/dev/ttyUSB0", "/dev/ttyUSB1"});
    // Past the first device's match, in the middle of the second device's first speed.
    bench.clock.advance(5 * 400 + 100);
    ASSERT_TRUE(detect.running());
    ASSERT_EQ(bench.events.back().what, "write SI\r\n");
    ASSERT_EQ(bench.events.back().device, "/dev/ttyUSB1");
    detect.stop();
    EXPECT_EQ(bench.events.back().what, "close");
    EXPECT_FALSE(result) << "reported from inside stop()";
    ASSERT_TRUE(bench.clock.runUntilIdle(60'000));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->stopped);
    EXPECT_FALSE(result->found);
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_FALSE(detect.running());
    // Nothing more was sent after the stop.
    EXPECT_EQ(bench.events.back().what, "close");

    // A new search can start afterwards.
    result.reset();
    run({"/dev/ttyUSB1"});
    EXPECT_TRUE(result->found);
    EXPECT_EQ(result->device, "/dev/ttyUSB1");
}

TEST_F(AutodetectTest, StopIsHarmlessWhenIdleOrTwice) {
    detect.stop();
    EXPECT_EQ(bench.clock.pendingTimers(), 0u);
    EXPECT_FALSE(detect.running());
    detect.start({"/dev/ttyUSB0"});
    bench.clock.advance(50);
    detect.stop();
    detect.stop();
    ASSERT_TRUE(bench.clock.runUntilIdle(60'000));
    EXPECT_EQ(finishedCalls, 1);
}

TEST_F(AutodetectTest, StopFromAProgressReportLeavesNoLineOpen) {
    detect.onProgress = [this](const AutodetectProgress& p) {
        if (p.text.rfind("Trying", 0) == 0) detect.stop();
    };
    detect.start({"/dev/ttyUSB0"});
    ASSERT_TRUE(bench.clock.runUntilIdle(60'000));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->stopped);
    int open = 0;
    for (const Event& e : bench.events) open += e.what == "open" ? 1 : e.what == "close" ? -1 : 0;
    EXPECT_EQ(open, 0);
}

TEST_F(AutodetectTest, DestroyedMidSearchLeavesNoTimerBehind) {
    Bench b;
    b.scannerSpeeds["/dev/ttyUSB0"] = {4800};
    {
        Autodetect d(b.clock, [&b](const std::string& device, long baud) {
            return std::make_unique<FakeLine>(b, device, baud);
        });
        d.onFinished = [](const AutodetectResult&) { FAIL() << "no report after destruction"; };
        d.start({"/dev/ttyUSB0"});
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
    for (std::size_t i = 1; i < progress.size(); ++i)
        EXPECT_GE(progress[i].done, progress[i - 1].done);
    // Once the available devices are known the total is exact and the last step reaches it.
    EXPECT_EQ(progress.back().total, 2 + 5);
    EXPECT_EQ(progress.back().done, progress.back().total);
    EXPECT_EQ(progress[2].total, 2 + 5);
}

}  // namespace
}  // namespace vex
