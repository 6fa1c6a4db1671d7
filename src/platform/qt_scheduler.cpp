#include "platform/qt_scheduler.h"

#include <QTimer>

namespace vex {

QtScheduler::QtScheduler() {
    d_clock.start();
}

QtScheduler::~QtScheduler() {
    for (auto& [id, timer] : d_timers) delete timer;
}

Scheduler::TimerId QtScheduler::startTimer(std::int64_t ms, std::function<void()> callback) {
    const TimerId id = d_nextId++;
    auto* timer = new QTimer;
    timer->setSingleShot(true);
    // The link's waits are short and counted in milliseconds; coarse timers would stretch them.
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [this, id, callback = std::move(callback)] {
        auto it = d_timers.find(id);
        if (it == d_timers.end()) return;
        QTimer* fired = it->second;
        d_timers.erase(it);
        fired->deleteLater();
        // The callback may destroy this scheduler; a copy keeps it alive while it runs.
        const std::function<void()> run = callback;
        run();
    });
    d_timers.emplace(id, timer);
    timer->start(static_cast<int>(std::max<std::int64_t>(0, ms)));
    return id;
}

void QtScheduler::cancelTimer(TimerId id) {
    auto it = d_timers.find(id);
    if (it == d_timers.end()) return;
    it->second->stop();
    it->second->deleteLater();
    d_timers.erase(it);
}

}  // namespace vex
