// The scanner windows' line in tests: the simulator's scanner behind a fake clock, handed to the
// window, which owns both; the test keeps plain pointers to drive and inspect them.
#pragma once

#include <QCoreApplication>
#include <algorithm>
#include <functional>
#include <memory>

#include "link/fake_scheduler.h"
#include "link/simulated_scanner.h"

namespace vex::gui::test {

struct SimLine {
    std::unique_ptr<FakeScheduler> ownedClock = std::make_unique<FakeScheduler>();
    std::unique_ptr<vex::test::SimulatedScanner> ownedScanner =
        std::make_unique<vex::test::SimulatedScanner>(*ownedClock);
    FakeScheduler& clock = *ownedClock;
    vex::test::SimulatedScanner& scanner = *ownedScanner;
};

// Turns the event loop and moves the clock to each next timer until `done` holds or `limitMs`
// of clock time have passed.
inline bool runUntil(FakeScheduler& clock, const std::function<bool()>& done,
                     std::int64_t limitMs = 120000) {
    const std::int64_t end = clock.now() + limitMs;
    for (;;) {
        QCoreApplication::processEvents();
        if (done()) return true;
        if (clock.now() >= end) return false;
        const std::int64_t next = clock.nextDue();
        const std::int64_t step = next < 0 ? 1 : std::max<std::int64_t>(0, next - clock.now());
        clock.advance(std::min(step, end - clock.now()));
    }
}

// Lets `ms` of clock time pass with the event loop turning.
inline void runFor(FakeScheduler& clock, std::int64_t ms) {
    runUntil(
        clock, [] { return false; }, ms);
}

}  // namespace vex::gui::test
