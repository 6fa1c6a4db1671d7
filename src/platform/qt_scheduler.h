// The link's timers on the Qt event loop: one-shot precise QTimers and a monotonic clock.
#pragma once

#include <QElapsedTimer>
#include <unordered_map>

#include "link/scheduler.h"

class QTimer;

namespace vex {

class QtScheduler : public Scheduler {
  public:
    QtScheduler();
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    TimerId startTimer(std::int64_t ms, std::function<void()> callback) override;
    void cancelTimer(TimerId id) override;
    std::int64_t now() const override { return d_clock.elapsed(); }

  private:
    QElapsedTimer d_clock;
    std::unordered_map<TimerId, QTimer*> d_timers;
    TimerId d_nextId = 1;
};

}  // namespace vex
