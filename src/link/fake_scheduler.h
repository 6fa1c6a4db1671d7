// A scheduler whose clock moves only when told to: the link's tests (and window tests that
// drive a transfer) use it to check every wait and time-out to the millisecond without sleeping.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "link/scheduler.h"

namespace vex {

class FakeScheduler : public Scheduler {
  public:
    TimerId startTimer(std::int64_t ms, std::function<void()> callback) override;
    void cancelTimer(TimerId id) override;
    std::int64_t now() const override { return d_now; }

    // Moves the clock forward by `ms`, firing every timer that falls due on the way, in order
    // of due time (and of starting for equal times); timers started by callbacks take part.
    void advance(std::int64_t ms);
    // Fires the timers that are due now (including 0 ms timers started by them).
    void runDue() { advance(0); }
    // Moves to each next timer until none is left or `limitMs` has passed; returns true when
    // nothing was left pending.
    bool runUntilIdle(std::int64_t limitMs = 24LL * 3600 * 1000);

    std::size_t pendingTimers() const { return d_timers.size(); }
    // Due time of the earliest pending timer, or -1.
    std::int64_t nextDue() const;

  private:
    struct Key {
        std::int64_t due;
        TimerId id;
        bool operator<(const Key& o) const { return due != o.due ? due < o.due : id < o.id; }
    };
    std::map<Key, std::function<void()>> d_timers;
    std::map<TimerId, std::int64_t> d_dueById;
    std::int64_t d_now = 0;
    TimerId d_nextId = 1;
};

}  // namespace vex
