#include "link/panel_poller.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <utility>

namespace vex {
namespace {

constexpr std::string_view kPolls[] = {"LCD", "MD", "SQ"};
constexpr std::string_view kPollEnd = "\r";
constexpr std::string_view kKeyEnd = "\r\n";

std::pair<std::string, std::string> SystemTimeAndDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char time[16], date[16];
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    return {time, date};
}

}  // namespace

std::string DigitKeyCommand(int digit) {
    return "KEY02 " + std::to_string(digit % 10);
}

PanelPoller::PanelPoller(Transport& transport, Scheduler& scheduler, PanelTiming timing)
    : d_transport(transport), d_scheduler(scheduler), d_timing(timing) {
    timeAndDate = SystemTimeAndDate;
    d_transport.setDataHandler([this](std::string_view bytes) { onData(bytes); });
    d_transport.setFaultHandler([this](const TransportStatus&) { onFault(); });
}

PanelPoller::~PanelPoller() {
    cancelTimers();
    d_transport.setDataHandler({});
    d_transport.setFaultHandler({});
}

void PanelPoller::cancelTimers() {
    for (Scheduler::TimerId* t : {&d_tick, &d_replyTimer, &d_probe, &d_logTimer}) {
        d_scheduler.cancelTimer(*t);
        *t = 0;
    }
}

void PanelPoller::setState(PanelState state) {
    if (state == d_state) return;
    d_state = state;
    if (onState) onState(state);
}

TransportStatus PanelPoller::start() {
    stop();
    const TransportStatus status = d_transport.open();
    if (!status.ok()) {
        setState(PanelState::PortUnavailable);
        return status;
    }
    d_misses = 0;
    d_phase = 0;
    d_sent = 0;
    setState(PanelState::Polling);
    armTick();
    d_logTimer = d_scheduler.startTimer(d_timing.logMs, [this] { onLogTick(); });
    return status;
}

void PanelPoller::stop() {
    cancelTimers();
    d_inFlight.clear();
    d_keys.clear();
    d_input.clear();
    d_transport.close();
    setState(PanelState::Closed);
}

void PanelPoller::armTick() {
    d_scheduler.cancelTimer(d_tick);
    d_tick = d_scheduler.startTimer(d_timing.pollMs, [this] { onTick(); });
}

void PanelPoller::onTick() {
    d_tick = 0;
    armTick();
    // A command still waiting for its answer: this tick is skipped, nothing piles up.
    if (!d_inFlight.empty()) return;
    if (!d_keys.empty()) {
        std::string key = std::move(d_keys.front());
        d_keys.pop_front();
        sendNext(std::move(key), kKeyEnd);
        return;
    }
    sendNext(std::string(kPolls[d_phase]), kPollEnd);
    d_phase = (d_phase + 1) % 3;
}

void PanelPoller::sendNext(std::string command, std::string_view end) {
    d_input.clear();
    d_inFlight = std::move(command);
    ++d_sent;
    d_replyTimer = d_scheduler.startTimer(d_timing.replyTimeoutMs, [this] { onReplyTimeout(); });
    // The write may report a fault at once; the command then counts as unanswered.
    d_transport.write(d_inFlight + std::string(end));
}

void PanelPoller::onData(std::string_view bytes) {
    if (d_inFlight.empty()) return;  // nothing asked: noise or a late answer
    d_input.append(bytes);
    const std::size_t end = d_input.find('\r');
    if (end == std::string::npos) {
        if (d_input.size() > 4096) d_input.clear();
        return;
    }
    d_scheduler.cancelTimer(std::exchange(d_replyTimer, 0));
    const std::string command = std::exchange(d_inFlight, {});
    const std::string reply = d_input.substr(0, end);
    d_input.clear();
    d_misses = 0;
    if (d_state == PanelState::NoScanner) {
        d_scheduler.cancelTimer(std::exchange(d_probe, 0));
        setState(PanelState::Polling);
        armTick();
    }
    handleReply(command, reply);
    // A key pressed while the scanner was busy goes out without waiting for the next tick.
    if (d_state == PanelState::Polling && d_inFlight.empty() && !d_keys.empty()) {
        std::string key = std::move(d_keys.front());
        d_keys.pop_front();
        sendNext(std::move(key), kKeyEnd);
    }
}

void PanelPoller::handleReply(const std::string& command, std::string_view reply) {
    PanelDisplay next = d_display;
    bool taken = false;
    if (command == "LCD") taken = ApplyDisplayReply(reply, next);
    if (command == "MD") taken = ApplyModeReply(reply, next);
    if (command == "SQ") taken = ApplySquelchReply(reply, next);
    if (!taken || next == d_display) return;
    d_display = std::move(next);
    if (command == "LCD") {
        Reception reception;
        if (d_watch.observe(d_display, reception)) {
            auto [time, date] = timeAndDate ? timeAndDate() : SystemTimeAndDate();
            reception.time = time;
            reception.date = date;
            d_pending.push_back(std::move(reception));
        }
    }
    if (onDisplay) onDisplay(d_display);
}

void PanelPoller::onReplyTimeout() {
    d_replyTimer = 0;
    d_inFlight.clear();
    d_input.clear();
    ++d_misses;
    if (d_state == PanelState::Polling && d_misses >= d_timing.missesForNoScanner) {
        d_scheduler.cancelTimer(std::exchange(d_tick, 0));
        d_keys.clear();
        setState(PanelState::NoScanner);
        armProbe(d_timing.probeMs);
    } else if (d_state == PanelState::NoScanner) {
        // One probe a second, counted from when it was sent.
        armProbe(std::max<std::int64_t>(0, d_timing.probeMs - d_timing.replyTimeoutMs));
    }
}

void PanelPoller::onFault() {
    // The port is gone (cable pulled, device removed): no answer will come.
    if (d_state == PanelState::Closed) return;
    d_scheduler.cancelTimer(std::exchange(d_replyTimer, 0));
    d_scheduler.cancelTimer(std::exchange(d_tick, 0));
    d_inFlight.clear();
    d_input.clear();
    d_keys.clear();
    d_transport.close();
    setState(PanelState::NoScanner);
    armProbe(d_timing.probeMs);
}

void PanelPoller::armProbe(std::int64_t ms) {
    d_scheduler.cancelTimer(d_probe);
    d_probe = d_scheduler.startTimer(ms, [this] { onProbe(); });
}

void PanelPoller::onProbe() {
    d_probe = 0;
    if (d_state != PanelState::NoScanner || !d_inFlight.empty()) return;
    if (!d_transport.isOpen()) {
        const TransportStatus status = d_transport.open();
        if (!status.ok()) {
            armProbe(d_timing.probeMs);
            return;
        }
    }
    // The answer (onData) resumes polling; its time-out (onReplyTimeout) probes again.
    sendNext("LCD", kPollEnd);
}

bool PanelPoller::pressKey(std::string_view command) {
    if (d_state == PanelState::NoScanner) {
        if (command == "KEY00") retryNow();
        return false;
    }
    if (d_state != PanelState::Polling || d_keys.size() >= kMaxQueuedKeys) return false;
    d_keys.emplace_back(command);
    if (d_inFlight.empty()) {
        std::string key = std::move(d_keys.front());
        d_keys.pop_front();
        sendNext(std::move(key), kKeyEnd);
    }
    return true;
}

void PanelPoller::retryNow() {
    if (d_state != PanelState::NoScanner) return;
    // A probe sent while the scanner was away will not be answered: this one replaces it.
    d_scheduler.cancelTimer(std::exchange(d_replyTimer, 0));
    d_inFlight.clear();
    armProbe(0);
}

void PanelPoller::onLogTick() {
    d_logTimer = d_scheduler.startTimer(d_timing.logMs, [this] { onLogTick(); });
    if (d_pending.empty()) return;
    std::vector<Reception> taken = std::move(d_pending);
    d_pending.clear();
    if (!d_logPath.empty()) {
        std::vector<std::string> lines;
        for (const Reception& r : taken) lines.push_back(LogLine(r));
        std::string error;
        if (!AppendLogLines(d_logPath, lines, error)) {
            if (!d_logFailing && onLogError) onLogError(d_logPath.string() + ": " + error);
            d_logFailing = true;
        } else {
            d_logFailing = false;
        }
    }
    if (onLogged) onLogged(taken);
}

}  // namespace vex
