// The control panel's conversation with the scanner: every 100 ms one poll ("LCD", "MD", "SQ"
// in turn) or a key the user pressed, never more than one command waiting for its answer, so a
// slow or absent scanner never makes commands pile up. Polls that go unanswered put the panel
// into the "no scanner" state, where it only probes once a second (reopening the port when it
// was lost) and resumes polling by itself as soon as the scanner answers. Every 500 ms the
// receptions seen since the last tick are logged.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/panel_display.h"
#include "link/panel_log.h"
#include "link/scheduler.h"
#include "link/transport.h"

namespace vex {

// A key of the panel: its caption, its command and the command of its held form (right click).
struct PanelKey {
    std::string_view caption;
    std::string_view command;
    std::string_view held;  // empty: no held form
};
inline constexpr PanelKey kFunctionKeys[] = {
    {"DELAY", "KEY12", ""},     {"L/O", "KEY06", "KEY06H"}, {"DATA", "KEY11", ""},
    {"PRI", "KEY05", "KEY05H"}, {"STATE", "KEY14", ""},     {"PVT", "KEY01", ""},
    {"SVC", "KEY10", ""},       {"SRCH", "KEY09", ""},      {"TRUNK", "KEY13", "KEY13H"},
    {"UP", "KEY07", ""},        {"DOWN", "KEY08", ""},      {"HLD/RES", "KEY00", ""},
};
inline constexpr PanelKey kPointKey{".", "KEY03", ""};
inline constexpr PanelKey kEnterKey{"ENTER", "KEY04", "KEY04H"};
std::string DigitKeyCommand(int digit);  // "KEY02 7"

inline constexpr std::string_view kNoScannerStatus =
    "No communication, check baudrate, comsettings. Press HOLD to try again.";
inline constexpr std::string_view kPanelPortBusy =
    "WARNING: Comport is already used by another application.";

enum class PanelState { Closed, Polling, NoScanner, PortUnavailable };

struct PanelTiming {
    std::int64_t pollMs = 100;
    std::int64_t replyTimeoutMs = 500;  // a poll unanswered this long counts as missed
    int missesForNoScanner = 3;
    std::int64_t probeMs = 1000;  // probing while no scanner answers
    std::int64_t logMs = 500;
};

class PanelPoller {
  public:
    PanelPoller(Transport& transport, Scheduler& scheduler, PanelTiming timing = {});
    ~PanelPoller();
    PanelPoller(const PanelPoller&) = delete;
    PanelPoller& operator=(const PanelPoller&) = delete;

    // The display changed (called once per change, never for a reply that changed nothing).
    std::function<void(const PanelDisplay&)> onDisplay;
    std::function<void(PanelState)> onState;
    // Receptions of the last log tick, already appended to the log file.
    std::function<void(const std::vector<Reception>&)> onLogged;
    // The log file could not be written (told once per failure run).
    std::function<void(const std::string& error)> onLogError;
    // Time and date texts of a reception; the clock of the system unless a test sets them.
    std::function<std::pair<std::string, std::string>()> timeAndDate;

    // Receptions go to this file too (idlog.txt); empty: no file.
    void setLogFile(std::filesystem::path path) { d_logPath = std::move(path); }

    // Opens the port and starts polling. PortUnavailable when the port cannot be opened.
    TransportStatus start();
    // Stops the timers and closes the port.
    void stop();
    PanelState state() const { return d_state; }

    // Queues a key command; it goes out before the next poll. False when it was not taken (no
    // scanner, closed, or a few keys already wait). In the "no scanner" state the HOLD key
    // probes at once instead.
    bool pressKey(std::string_view command);
    // Probes at once (the HOLD key while no scanner answers).
    void retryNow();

    const PanelDisplay& display() const { return d_display; }
    bool commandInFlight() const { return !d_inFlight.empty(); }
    std::size_t queuedKeys() const { return d_keys.size(); }
    // Commands written since start() (for tests and the benchmark).
    long commandsSent() const { return d_sent; }

    static constexpr std::size_t kMaxQueuedKeys = 4;

  private:
    void setState(PanelState state);
    void armTick();
    void onTick();
    void armProbe(std::int64_t ms);
    void onProbe();
    void sendNext(std::string command, std::string_view end);
    void onData(std::string_view bytes);
    void onReplyTimeout();
    void onFault();
    void handleReply(const std::string& command, std::string_view reply);
    void onLogTick();
    void cancelTimers();

    Transport& d_transport;
    Scheduler& d_scheduler;
    PanelTiming d_timing;
    PanelState d_state = PanelState::Closed;
    PanelDisplay d_display;
    std::deque<std::string> d_keys;
    std::string d_inFlight;  // the command waiting for its answer
    std::string d_input;
    int d_phase = 0;
    int d_misses = 0;
    long d_sent = 0;
    Scheduler::TimerId d_tick = 0;
    Scheduler::TimerId d_replyTimer = 0;
    Scheduler::TimerId d_probe = 0;
    Scheduler::TimerId d_logTimer = 0;
    ReceptionWatch d_watch;
    std::vector<Reception> d_pending;
    std::filesystem::path d_logPath;
    bool d_logFailing = false;
};

}  // namespace vex
