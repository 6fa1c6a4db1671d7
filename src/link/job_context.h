// What the jobs of a session share: the link, the window's events, the image a job works on,
// the result it builds, its progress and logs, and what the session knows of the scanner from
// one job to the next. Each job is a coroutine that takes its request by value and this
// context by reference; the session ends a job before it lets go of the context.
#pragma once

#include <array>
#include <coroutine>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/link.h"
#include "link/log_file.h"
#include "link/session.h"
#include "link/task.h"

namespace vex {

// The scanner's trunk type codes of banks A..J as a transfer read them (or sent them).
struct ScannerTypes {
    std::array<std::string, kTrunkTypeCount> codes{};
    std::array<bool, kTrunkTypeCount> known{};
    // The codes hold a complete read that later transfers may take.
    bool valid = false;
};

struct JobContext {
    JobContext(Link& link, const LinkConfig& config) : link(link), config(config) {}
    JobContext(const JobContext&) = delete;
    JobContext& operator=(const JobContext&) = delete;

    Link& link;
    const LinkConfig& config;
    LinkEvents events;

    // --- kept from job to job until the port is opened again ------------------------------
    ScannerTypes scanner;
    bool namesRead = false;

    // --- the running job ------------------------------------------------------------------
    Image work;
    TransferResult result;
    OpenResult open;
    LinkProgress progress;
    int channel = 0;
    // What the job was at when it ended, for the messages: "channel 020", "trunk ID B3 of
    // bank 1".
    std::string where;
    // Commands the scanner did not confirm (refused or unanswered), each named; a job with any
    // of them fails.
    std::vector<std::string> lost;
    // A send: what the scanner holds if it ends now (empty until the first change is sent).
    std::string mixNote;
    bool readSomething = false;
    LogFile rxLog;
    LogFile txLog;
    LogFile trunkLog;

    // Clears what belongs to one job.
    void beginJob();

    const Options& options() const { return config.options; }
    int delay1() const;
    int settle() const;
    std::filesystem::path file(std::string_view name) const {
        return config.folder / std::string(name);
    }

    // --- reporting ------------------------------------------------------------------------
    void status(std::string_view text);
    // The channel field and the bar, counting `phase`.
    void showChannel(int channel, int done, int total, std::string_view phase);
    void showCount(int done, int total, std::string_view phase);
    void emitProgress();
    // The reply field; a refusal shows as "???" except for the replies the scanner answers
    // after a channel is written (lockout, delay) and those of the keyed table reads.
    void showReply(std::string_view reply, bool markRefusal = true);
    void refuse(std::string_view message, std::string title = {});
    void fail(std::string message, std::string title = "Error");
    void warn(std::string text) { result.warnings.push_back(std::move(text)); }
    // Ends the job as failed when any command went unconfirmed.
    bool failIfLost(std::string_view what);

    // --- steps every family uses ----------------------------------------------------------
    // Opens the port when it is not; false (refused with the port's message) when it fails.
    bool ensureOpen();
    // The identification handshake before every transfer.
    Task<bool> checkScanner();
    // Sends a command the scanner answers and gives it delay1 to settle. False, with `what`
    // noted as lost, when the scanner refused it or stayed silent twice.
    Task<bool> confirmed(WireLine line, std::string what);
    // The answer to a command, waited for up to the reply time-out (a busy scanner or machine
    // may be slower than the settle wait), then the settle wait; lines that follow within it
    // (a fleet map's blocks) belong to the answer. Empty when nothing came.
    Task<std::string> answerOf(std::string command);
    // A polled answer; one more try when `parse` finds it unusable. False after the second.
    Task<bool> pollSetting(std::string command, std::function<bool(const std::string&)> parse);
    // One step of a bank-by-bank walk: an answer is shown and given delay1 to settle, a
    // silence leaves nothing behind in the input for the next ask.
    Task<Reply> askBankStep(std::string command);
    // After a time-out or an unusable reply: the link's port reset, then true to ask again;
    // false when the job must end. A time-out then fails naming `command` and where the job
    // was; an unusable reply fails with `unusable`.
    Task<bool> retryOrGiveUp(std::string command, bool timedOut, std::string unusable);

    // --- questions ------------------------------------------------------------------------
    class AskAwaiter;
    // co_await ask(...): the Yes/No of the window; No without anyone to ask.
    AskAwaiter ask(std::string title, std::string text, bool warning);
};

class JobContext::AskAwaiter {
  public:
    AskAwaiter(JobContext& context, Question question)
        : d_context(context), d_question(std::move(question)) {}
    AskAwaiter(const AskAwaiter&) = delete;
    AskAwaiter& operator=(const AskAwaiter&) = delete;
    ~AskAwaiter();
    bool await_ready() const noexcept { return !d_context.events.ask; }
    bool await_suspend(std::coroutine_handle<> handle);
    // Without anyone to ask, the answer is No: nothing is confirmed that nobody saw.
    bool await_resume() const;

  private:
    struct State;
    JobContext& d_context;
    Question d_question;
    std::shared_ptr<State> d_state;
};

// "channel 020".
std::string channelName(int channel);
// Why a channel's reply could not be used (refused, or not a channel's reply).
std::string channelReplyProblem(int channel, std::string_view reply);
// "trunk ID B3 of bank 1".
std::string IdName(int bank, int row);
// The reply without its line ends, as the logs and the reply field show it.
std::string WithoutLineEnds(std::string_view text);
// Lists at most a dozen items, then how many more.
std::string ListOf(const std::vector<std::string>& items);
// The stored trunk type of a bank as its code.
int TypeOf(const Image& image, int bank);
// The banks a transfer covers, first..last.
std::pair<int, int> BanksOf(TransferArea area, int bank, int start, int end);

}  // namespace vex
