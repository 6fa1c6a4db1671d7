// The framing and timing layer of the scanner conversation: one command at a time, the reply
// collected up to its carriage return, the one-second reply time-out with its port reset and
// retry count, the two-second limit for a reply's line end, and the waits between commands.
// Transfers are coroutines (Task) run on the link; every wait is a timer of the scheduler.
#pragma once

#include <coroutine>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/protocol.h"
#include "link/scheduler.h"
#include "link/task.h"
#include "link/transport.h"

namespace vex {

inline constexpr std::int64_t kReplyTimeoutMs = 1000;
inline constexpr std::int64_t kLineEndTimeoutMs = 2000;
inline constexpr int kMaxTimeouts = 10;
inline constexpr std::string_view kCrlfTimeoutMessage =
    "CRLF timeout _ check baudrate / comport settings.";
inline constexpr std::string_view kCommunicationTimeoutMessage =
    "Communication Timeout. Please check if scanner is switched on/connected/in remote mode.";

// Why a job ended before its end.
enum class LinkStopKind { None, Stopped, Disconnected, LineEndTimeout, Failed };

struct LinkStop {
    LinkStopKind kind = LinkStopKind::None;
    std::string message;
    std::string title;
};

struct Reply {
    bool timedOut = false;
    std::string text;  // the whole reply including its carriage return
};

class Link {
  public:
    Link(Transport& transport, Scheduler& scheduler);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    Transport& transport() { return d_transport; }
    Scheduler& scheduler() { return d_scheduler; }

    // Receivers of the serial trace and of the link's own status texts ("Error: retrycount: 3").
    void setTrace(std::function<void(std::string_view)> trace) { d_trace = std::move(trace); }
    void setStatus(std::function<void(std::string_view)> status) { d_status = std::move(status); }

    // --- Running a job ---------------------------------------------------------------------
    // Starts the job; `done` is called once when it has ended, normally or by abort().
    void run(Task<void> job, std::function<void()> done);
    bool running() const { return d_job.valid(); }
    // Ends the running job at once (when called from inside it: as soon as it next waits).
    // The first reason given is kept.
    void abort(LinkStop stop);
    const LinkStop& stopReason() const { return d_stop; }
    // Ends the running job without reporting it: for an owner about to destroy what the job
    // refers to.
    void drop();
    // Resumes a suspended job; for awaiters only.
    void resume(std::coroutine_handle<> handle);

    // --- What jobs use ---------------------------------------------------------------------
    // Writes the command followed by carriage return and line feed (or the given end).
    void send(std::string_view command, std::string_view end = kCommandEnd);
    void send(const WireLine& line) { send(line.text, line.end); }
    // Empties the input ("read and discard").
    void discardInput() { d_input.clear(); }
    // Everything that has arrived and not been taken yet, emptied.
    std::string takeInput();
    const std::string& input() const { return d_input; }

    class WaitAwaiter;
    class RequestAwaiter;
    class LineAwaiter;

    // co_await link.wait(ms): a pause that keeps the event loop running.
    WaitAwaiter wait(std::int64_t ms);
    // co_await link.request(cmd): sends the command with the receive event on and gives the
    // reply joined up to its carriage return, or timedOut after `timeoutMs` without any byte.
    // A reply whose carriage return does not come within two seconds aborts the job.
    RequestAwaiter request(std::string command, std::int64_t timeoutMs = kReplyTimeoutMs);
    RequestAwaiter request(const WireLine& line, std::int64_t timeoutMs = kReplyTimeoutMs);
    // co_await link.poll(ms): waits `ms` with the receive event off, then takes the input.
    // When an answer has begun but its carriage return is not in yet, waits up to the reply
    // time-out for it; an empty result means nothing came.
    Task<std::string> poll(std::int64_t waitMs);

    // The retry counter of the reply time-out.
    int retries() const { return d_retries; }
    void resetRetries() { d_retries = 0; }
    // After a time-out (or a reply that could not be used): counts the retry, and while fewer
    // than ten: closes and reopens the port, sends two empty lines 0.2 s apart and discards the
    // input, then gives true. Gives false when the count reaches ten, or when the port could
    // not be reopened (the job is then aborted as Disconnected).
    Task<bool> recover();

    // Closes the port (and ends a job first).
    void close();

  private:
    friend class WaitAwaiter;
    friend class RequestAwaiter;
    friend class LineAwaiter;

    void onData(std::string_view bytes);
    void onFault(const TransportStatus& status);
    void onReplyTimeout();
    void onLineEndTimeout();
    void completeRequest(Reply reply);
    void cancelRequest(RequestAwaiter* awaiter);
    void settle();
    void finishJob();
    void trace(std::string_view prefix, std::string_view text);

    Transport& d_transport;
    Scheduler& d_scheduler;
    std::function<void(std::string_view)> d_trace;
    std::function<void(std::string_view)> d_status;

    Task<void> d_job;
    std::function<void()> d_done;
    LinkStop d_stop;
    int d_depth = 0;
    bool d_abortPending = false;

    std::string d_input;
    RequestAwaiter* d_request = nullptr;
    LineAwaiter* d_lineWaiter = nullptr;
    bool d_collecting = false;
    Scheduler::TimerId d_replyTimer = 0;
    Scheduler::TimerId d_lineEndTimer = 0;
    int d_retries = 0;
};

class Link::WaitAwaiter {
  public:
    WaitAwaiter(Link& link, std::int64_t ms) : d_link(link), d_ms(ms) {}
    WaitAwaiter(const WaitAwaiter&) = delete;
    WaitAwaiter& operator=(const WaitAwaiter&) = delete;
    ~WaitAwaiter();
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle);
    void await_resume() noexcept {}

  private:
    Link& d_link;
    std::int64_t d_ms;
    Scheduler::TimerId d_timer = 0;
};

class Link::RequestAwaiter {
  public:
    RequestAwaiter(Link& link, std::string command, std::int64_t timeoutMs,
                   std::string_view end = kCommandEnd)
        : d_link(link), d_command(std::move(command)), d_end(end), d_timeoutMs(timeoutMs) {}
    RequestAwaiter(const RequestAwaiter&) = delete;
    RequestAwaiter& operator=(const RequestAwaiter&) = delete;
    ~RequestAwaiter();
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle);
    Reply await_resume() { return std::move(d_reply); }

  private:
    friend class Link;
    Link& d_link;
    std::string d_command;
    std::string_view d_end;
    std::int64_t d_timeoutMs;
    std::coroutine_handle<> d_handle;
    Reply d_reply;
};

class Link::LineAwaiter {
  public:
    LineAwaiter(Link& link, std::int64_t timeoutMs) : d_link(link), d_timeoutMs(timeoutMs) {}
    LineAwaiter(const LineAwaiter&) = delete;
    LineAwaiter& operator=(const LineAwaiter&) = delete;
    ~LineAwaiter();
    bool await_ready() const noexcept;
    void await_suspend(std::coroutine_handle<> handle);
    void await_resume() noexcept {}

  private:
    friend class Link;
    void wake();
    Link& d_link;
    std::int64_t d_timeoutMs;
    std::coroutine_handle<> d_handle;
    Scheduler::TimerId d_timer = 0;
};

}  // namespace vex
