// One-shot timers and a monotonic clock. Every wait of the link is a timer on this interface,
// so the event loop never blocks and the tests run the link on a clock they move by hand.
#pragma once

#include <cstdint>
#include <functional>

namespace vex {

class Scheduler {
  public:
    using TimerId = std::uint64_t;  // 0 is never a valid id

    virtual ~Scheduler() = default;

    // Calls the callback once, after at least `ms` milliseconds (0 = on the next turn of the
    // event loop, never from inside this call).
    virtual TimerId startTimer(std::int64_t ms, std::function<void()> callback) = 0;
    // Harmless for ids that already fired or were cancelled.
    virtual void cancelTimer(TimerId id) = 0;
    // Milliseconds on a monotonic clock.
    virtual std::int64_t now() const = 0;
};

}  // namespace vex
