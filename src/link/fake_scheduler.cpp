#include "link/fake_scheduler.h"

namespace vex {

Scheduler::TimerId FakeScheduler::startTimer(std::int64_t ms, std::function<void()> callback) {
    const TimerId id = d_nextId++;
    const std::int64_t due = d_now + (ms < 0 ? 0 : ms);
    d_timers.emplace(Key{due, id}, std::move(callback));
    d_dueById.emplace(id, due);
    return id;
}

void FakeScheduler::cancelTimer(TimerId id) {
    auto it = d_dueById.find(id);
    if (it == d_dueById.end()) return;
    d_timers.erase(Key{it->second, id});
    d_dueById.erase(it);
}

void FakeScheduler::advance(std::int64_t ms) {
    const std::int64_t target = d_now + (ms < 0 ? 0 : ms);
    while (!d_timers.empty() && d_timers.begin()->first.due <= target) {
        auto node = d_timers.extract(d_timers.begin());
        d_dueById.erase(node.key().id);
        d_now = node.key().due;
        node.mapped()();
    }
    d_now = target;
}

bool FakeScheduler::runUntilIdle(std::int64_t limitMs) {
    const std::int64_t end = d_now + limitMs;
    while (!d_timers.empty()) {
        const std::int64_t due = d_timers.begin()->first.due;
        if (due > end) {
            d_now = end;
            return false;
        }
        advance(due - d_now);
    }
    return true;
}

std::int64_t FakeScheduler::nextDue() const {
    return d_timers.empty() ? -1 : d_timers.begin()->first.due;
}

}  // namespace vex
