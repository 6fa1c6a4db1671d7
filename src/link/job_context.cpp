#include "link/job_context.h"

#include <algorithm>

#include "link/protocol.h"
#include "trunk/trunk_types.h"

namespace vex {

std::string channelName(int channel) {
    return "channel " + ChannelDigits(channel);
}

std::string channelReplyProblem(int channel, std::string_view reply) {
    if (IsRefusal(reply))
        return "The scanner refused the command for channel " + ChannelDigits(channel) +
               " (it answered \"" + WithoutLineEnds(reply) + "\").";
    return "The scanner's reply for channel " + ChannelDigits(channel) + " could not be read: \"" +
           WithoutLineEnds(reply) + "\". Check the baud rate.";
}

std::string IdName(int bank, int row) {
    return "trunk ID " + TrunkIdKey(bank, row).substr(5) + " of bank " + std::to_string(bank + 1);
}

std::string WithoutLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

std::string ListOf(const std::vector<std::string>& items) {
    constexpr std::size_t kShown = 12;
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < kShown; ++i) text += (i ? ", " : "") + items[i];
    if (items.size() > kShown) text += " and " + std::to_string(items.size() - kShown) + " more";
    return text;
}

int TypeOf(const Image& image, int bank) {
    return TrunkTypeOf(image.TrunkType[static_cast<std::size_t>(bank)]);
}

std::pair<int, int> BanksOf(TransferArea area, int bank, int start, int end) {
    switch (area) {
        case TransferArea::SingleBank:
            return {bank, bank};
        case TransferArea::ChannelRange: {
            const int lo = std::clamp(std::min(start, end), 1, kTotalChannels);
            const int hi = std::clamp(std::max(start, end), 1, kTotalChannels);
            return {BankOfChannel(lo), BankOfChannel(hi)};
        }
        default:
            return {0, kScannerBanks - 1};
    }
}

void JobContext::beginJob() {
    result = {};
    channel = 0;
    where.clear();
    lost.clear();
    mixNote.clear();
    readSomething = false;
    progress = {};
}

int JobContext::delay1() const {
    return std::max(25, options().delay1);
}

int JobContext::settle() const {
    return SettleWaitMs(options(), config.baud);
}

// --- reporting -------------------------------------------------------------------------------

void JobContext::status(std::string_view text) {
    progress.status = std::string(text);
    emitProgress();
}

void JobContext::showChannel(int number, int done, int total, std::string_view phase) {
    channel = number;
    where = channelName(number);
    progress.channel = number;
    showCount(done, total, phase);
}

void JobContext::showCount(int done, int total, std::string_view phase) {
    progress.phase = std::string(phase);
    progress.done = done;
    progress.total = total;
    emitProgress();
}

void JobContext::emitProgress() {
    if (events.progress) events.progress(progress);
}

void JobContext::showReply(std::string_view reply, bool markRefusal) {
    if (!events.reply) return;
    events.reply(markRefusal && IsRefusal(reply) ? "???" : WithoutLineEnds(reply));
}

void JobContext::refuse(std::string_view message, std::string title) {
    result.outcome = TransferOutcome::Refused;
    result.message = std::string(message);
    result.title = std::move(title);
}

void JobContext::fail(std::string message, std::string title) {
    result.outcome = TransferOutcome::Failed;
    result.message = std::move(message);
    result.title = std::move(title);
}

bool JobContext::failIfLost(std::string_view what) {
    if (lost.empty()) return false;
    fail("The scanner did not confirm " + std::to_string(lost.size()) + " " + std::string(what) +
         ": " + ListOf(lost) + ".");
    return true;
}

// --- steps -----------------------------------------------------------------------------------

bool JobContext::ensureOpen() {
    if (link.transport().isOpen()) return true;
    const TransportStatus opened = link.transport().open();
    if (opened.ok()) return true;
    refuse(opened.message, "Error");
    return false;
}

Task<bool> JobContext::checkScanner() {
    link.discardInput();
    link.send("SI");
    co_await link.wait(300);
    link.send("SI");
    co_await link.wait(300);
    co_return IsBct8Identification(link.takeInput());
}

Task<bool> JobContext::confirmed(WireLine line, std::string what) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        link.discardInput();
        Reply reply = co_await link.request(line);
        if (reply.timedOut) continue;
        showReply(reply.text);
        co_await link.wait(delay1());
        link.discardInput();
        if (!IsRefusal(reply.text)) co_return true;
        lost.push_back(what + " (refused)");
        co_return false;
    }
    link.discardInput();
    lost.push_back(what + " (no answer)");
    co_return false;
}

Task<std::string> JobContext::answerOf(std::string command) {
    link.discardInput();
    Reply reply = co_await link.request(command);
    co_await link.wait(settle());
    if (reply.timedOut) {
        link.discardInput();
        co_return std::string();
    }
    co_return reply.text + link.takeInput();
}

Task<bool> JobContext::pollSetting(std::string command,
                                   std::function<bool(const std::string&)> parse) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string reply = co_await answerOf(command);
        if (!reply.empty()) showReply(reply);
        if (parse(reply)) co_return true;
    }
    co_return false;
}

Task<Reply> JobContext::askBankStep(std::string command) {
    Reply reply = co_await link.request(command);
    if (!reply.timedOut) {
        showReply(reply.text, false);
        co_await link.wait(delay1());
    } else {
        link.discardInput();
    }
    co_return reply;
}

Task<bool> JobContext::retryOrGiveUp(std::string command, bool timedOut, std::string unusable) {
    const bool recovered = co_await link.recover();
    if (recovered) co_return true;
    if (link.stopReason().kind != LinkStopKind::None) co_return false;
    link.transport().close();
    if (timedOut)
        fail(std::string(kCommunicationTimeoutMessage) + " No answer to \"" + command + "\" at " +
             where + ".");
    else
        fail(std::move(unusable));
    co_return false;
}

// --- questions -------------------------------------------------------------------------------

struct JobContext::AskAwaiter::State {
    std::coroutine_handle<> handle;
    bool answered = false;
    bool yes = false;
    bool inSuspend = false;
    // The job ended (or its session went away) before the answer came.
    bool cancelled = false;
};

JobContext::AskAwaiter JobContext::ask(std::string title, std::string text, bool warning) {
    return AskAwaiter(*this, Question{std::move(title), std::move(text), warning});
}

JobContext::AskAwaiter::~AskAwaiter() {
    if (d_state) d_state->cancelled = true;
}

bool JobContext::AskAwaiter::await_suspend(std::coroutine_handle<> handle) {
    d_state = std::make_shared<State>();
    d_state->handle = handle;
    d_state->inSuspend = true;
    std::shared_ptr<State> state = d_state;
    Link* link = &d_context.link;
    d_context.events.ask(d_question, [state, link](bool yes) {
        if (state->cancelled || state->answered) return;
        state->answered = true;
        state->yes = yes;
        if (!state->inSuspend) link->resume(state->handle);
    });
    d_state->inSuspend = false;
    return !d_state->answered;
}

bool JobContext::AskAwaiter::await_resume() const {
    return d_state && d_state->yes;
}

}  // namespace vex
