#include "link/link.h"

namespace vex {

namespace {

// The trace shows line ends as visible marks and every other control byte by its value, so
// no byte that went over the line is lost from it.
std::string Visible(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "<CR>";
        } else if (c == '\n') {
            out += "<LF>";
        } else if (byte < 0x20 || byte == 0x7f) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "<x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0f];
            out += '>';
        } else {
            out += c;
        }
    }
    return out;
}

// The trace names what happened to the port, not the device or the system's words: those may
// hold paths and names that a trace handed on should not carry.
std::string_view FaultName(TransportFault fault) {
    switch (fault) {
        case TransportFault::None:
            return "none";
        case TransportFault::Busy:
            return "busy or not available";
        case TransportFault::Permission:
            return "permission denied";
        case TransportFault::NotFound:
            return "no such device";
        case TransportFault::Disconnected:
            return "disconnected";
        case TransportFault::Other:
            break;
    }
    return "input/output error";
}

}  // namespace

Link::Link(Transport& transport, Scheduler& scheduler)
    : d_transport(transport), d_scheduler(scheduler) {
    d_input.reserve(256);
    d_transport.setDataHandler([this](std::string_view bytes) { onData(bytes); });
    d_transport.setFaultHandler([this](const TransportStatus& status) { onFault(status); });
}

Link::~Link() {
    d_done = nullptr;
    d_job.reset();
    d_scheduler.cancelTimer(d_replyTimer);
    d_scheduler.cancelTimer(d_lineEndTimer);
    d_transport.setDataHandler({});
    d_transport.setFaultHandler({});
}

void Link::trace(std::string_view prefix, std::string_view text) {
    if (!d_trace) return;
    std::string line(prefix);
    line += Visible(text);
    d_trace(line);
}

// --- jobs ------------------------------------------------------------------------------------

void Link::run(Task<void> job, std::function<void()> done) {
    d_job = std::move(job);
    d_done = std::move(done);
    d_stop = {};
    d_abortPending = false;
    resume(d_job.handle());
}

void Link::resume(std::coroutine_handle<> handle) {
    ++d_depth;
    handle.resume();
    --d_depth;
    if (d_depth == 0) settle();
}

void Link::settle() {
    if (!d_job.valid()) return;
    if (d_abortPending || d_job.done()) finishJob();
}

void Link::abort(LinkStop stop) {
    if (!d_job.valid()) return;
    if (d_stop.kind == LinkStopKind::None) d_stop = std::move(stop);
    if (d_depth > 0) {
        d_abortPending = true;
        return;
    }
    finishJob();
}

void Link::drop() {
    d_done = nullptr;
    if (d_job.valid()) finishJob();
}

void Link::finishJob() {
    d_abortPending = false;
    // Destroying the frames cancels the timers and the request their awaiters hold.
    Task<void> job = std::move(d_job);
    job.reset();
    d_scheduler.cancelTimer(std::exchange(d_replyTimer, 0));
    d_scheduler.cancelTimer(std::exchange(d_lineEndTimer, 0));
    d_request = nullptr;
    d_lineWaiter = nullptr;
    d_collecting = false;
    // The receiver may destroy this link; nothing is touched after the call.
    if (auto done = std::move(d_done)) done();
}

void Link::close() {
    abort({LinkStopKind::Stopped, {}, {}});
    d_transport.close();
}

// --- sending and receiving -------------------------------------------------------------------

void Link::send(std::string_view command, std::string_view end) {
    std::string bytes;
    bytes.reserve(command.size() + end.size());
    bytes.append(command);
    bytes.append(end);
    trace(">> ", bytes);
    d_transport.write(bytes);
}

std::string Link::takeInput() {
    std::string taken;
    taken.swap(d_input);
    d_input.reserve(256);
    return taken;
}

void Link::onData(std::string_view bytes) {
    trace("<< ", bytes);
    d_input.append(bytes);
    if (d_request) {
        if (!d_collecting) {
            // The first byte of the answer: the reply time-out gives way to the line-end limit.
            d_collecting = true;
            d_scheduler.cancelTimer(std::exchange(d_replyTimer, 0));
            d_lineEndTimer =
                d_scheduler.startTimer(kLineEndTimeoutMs, [this] { onLineEndTimeout(); });
        }
        if (!d_input.empty() && d_input.back() == kReplyEnd) {
            d_scheduler.cancelTimer(std::exchange(d_lineEndTimer, 0));
            completeRequest({false, takeInput()});
        }
        return;
    }
    if (d_lineWaiter && !d_input.empty() && d_input.back() == kReplyEnd) d_lineWaiter->wake();
}

void Link::onFault(const TransportStatus& status) {
    trace("-- ", "port fault: " + std::string(FaultName(status.fault)));
    LinkStop stop;
    stop.kind = LinkStopKind::Disconnected;
    stop.message = status.message;
    if (!status.detail.empty()) stop.message += " (" + status.detail + ")";
    stop.title = "Error";
    abort(std::move(stop));
}

void Link::onReplyTimeout() {
    d_replyTimer = 0;
    trace("-- ", "reply time-out");
    completeRequest({true, {}});
}

void Link::onLineEndTimeout() {
    d_lineEndTimer = 0;
    trace("-- ", "line end time-out");
    abort({LinkStopKind::LineEndTimeout, std::string(kCrlfTimeoutMessage), "Error"});
}

void Link::completeRequest(Reply reply) {
    RequestAwaiter* awaiter = d_request;
    d_request = nullptr;
    d_collecting = false;
    if (!awaiter) return;
    awaiter->d_reply = std::move(reply);
    resume(awaiter->d_handle);
}

void Link::cancelRequest(RequestAwaiter* awaiter) {
    if (d_request != awaiter) return;
    d_request = nullptr;
    d_collecting = false;
    d_scheduler.cancelTimer(std::exchange(d_replyTimer, 0));
    d_scheduler.cancelTimer(std::exchange(d_lineEndTimer, 0));
}

Link::WaitAwaiter Link::wait(std::int64_t ms) {
    return WaitAwaiter(*this, ms);
}

Link::RequestAwaiter Link::request(std::string command, std::int64_t timeoutMs) {
    return RequestAwaiter(*this, std::move(command), timeoutMs);
}

Link::RequestAwaiter Link::request(const WireLine& line, std::int64_t timeoutMs) {
    return RequestAwaiter(*this, line.text, timeoutMs, line.end);
}

Task<std::string> Link::poll(std::int64_t waitMs) {
    co_await wait(waitMs);
    if (!d_input.empty() && d_input.back() != kReplyEnd)
        co_await LineAwaiter(*this, kReplyTimeoutMs);
    co_return takeInput();
}

Task<bool> Link::recover() {
    ++d_retries;
    if (d_retries > 2 && d_status) d_status("Error: retrycount: " + std::to_string(d_retries));
    if (d_retries >= kMaxTimeouts) {
        trace("-- ", "giving up after " + std::to_string(d_retries) + " time-outs");
        co_return false;
    }
    trace("-- ", "resetting the port, retry " + std::to_string(d_retries));
    d_transport.close();
    const TransportStatus reopened = d_transport.open();
    if (!reopened.ok()) {
        onFault(reopened);
        co_return false;
    }
    send("");
    co_await wait(200);
    send("");
    co_await wait(200);
    discardInput();
    co_return true;
}

// --- awaiters --------------------------------------------------------------------------------

Link::WaitAwaiter::~WaitAwaiter() {
    if (d_timer) d_link.d_scheduler.cancelTimer(d_timer);
}

void Link::WaitAwaiter::await_suspend(std::coroutine_handle<> handle) {
    d_timer = d_link.d_scheduler.startTimer(d_ms, [this, handle] {
        d_timer = 0;
        d_link.resume(handle);
    });
}

Link::RequestAwaiter::~RequestAwaiter() {
    d_link.cancelRequest(this);
}

void Link::RequestAwaiter::await_suspend(std::coroutine_handle<> handle) {
    d_handle = handle;
    Link& link = d_link;
    link.cancelRequest(link.d_request);
    link.d_request = this;
    link.d_collecting = false;
    link.d_replyTimer =
        link.d_scheduler.startTimer(d_timeoutMs, [&link] { link.onReplyTimeout(); });
    link.send(d_command, d_end);
}

Link::LineAwaiter::~LineAwaiter() {
    if (d_timer) d_link.d_scheduler.cancelTimer(d_timer);
    if (d_link.d_lineWaiter == this) d_link.d_lineWaiter = nullptr;
}

bool Link::LineAwaiter::await_ready() const noexcept {
    return !d_link.d_input.empty() && d_link.d_input.back() == kReplyEnd;
}

void Link::LineAwaiter::await_suspend(std::coroutine_handle<> handle) {
    d_handle = handle;
    d_link.d_lineWaiter = this;
    d_timer = d_link.d_scheduler.startTimer(d_timeoutMs, [this] {
        d_timer = 0;
        d_link.trace("-- ", "reply end time-out");
        wake();
    });
}

void Link::LineAwaiter::wake() {
    if (d_link.d_lineWaiter != this) return;
    d_link.d_lineWaiter = nullptr;
    if (d_timer) d_link.d_scheduler.cancelTimer(std::exchange(d_timer, 0));
    d_link.resume(d_handle);
}

}  // namespace vex
