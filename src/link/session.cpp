#include "link/session.h"

#include <algorithm>
#include <cmath>

#include "core/atomic_file.h"
#include "core/numeric.h"
#include "link/bank_settings.h"
#include "link/link.h"
#include "link/log_file.h"
#include "link/protocol.h"
#include "trunk/trunk_types.h"

namespace vex {

namespace {

constexpr std::string_view kNoScannerRead =
    "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode";
constexpr std::string_view kNoScannerSend =
    "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode.";
constexpr std::string_view kNoScannerDelete =
    "No scanner detected at comport. Check baudrate/comport is in remote mode";
constexpr std::string_view kSelectDownloadData = "Please select which data you want to download.";
constexpr std::string_view kSelectUploadData = "Please select which data you want to upload.";
constexpr std::string_view kSelectArea = "Please select All Banks or Single Bank.";
constexpr std::string_view kSelectDownloadBank = "Please select which bank you want to download.";
constexpr std::string_view kSelectUploadBank = "Please select which bank you want to upload.";
constexpr std::string_view kSelectDeleteBank = "Please select which bank you want to delete.";
constexpr std::string_view kNothingToSend = "There is nothing to send!";
constexpr std::string_view kTrunkTypeFailed = "Reading trunktype failed.";
constexpr std::string_view kSettingTrunkType = "setting trunktype required.. please wait..";
constexpr int kTrunkTypeMaxSteps = 7;
constexpr int kBankNameMaxSteps = 11;
constexpr int kListTagMaxSteps = 102;
// The ID list tag walk starts again after a time-out; a scanner that keeps failing it would
// otherwise hold the window for ever.
constexpr int kListTagMaxPasses = 3;
constexpr std::string_view kListTagTimeout = "ID list tag time-out!";

std::string ThreeDigits(int n) {
    return ChannelDigits(n);
}

// "trunk ID B3 of bank 1".
std::string IdName(int bank, int row) {
    return "trunk ID " + TrunkIdKey(bank, row).substr(5) + " of bank " + std::to_string(bank + 1);
}

// "Ok" lines of the channel log and the reply field hold the reply without its line end.
std::string WithoutLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

void ClearChannelForRead(Channel& channel) {
    channel[kFieldNumber].clear();
    EmptyChannel(channel);
}

int TypeOf(const Image& image, int bank) {
    return TrunkTypeOf(image.TrunkType[static_cast<std::size_t>(bank)]);
}

bool IsMotorola800(int type) {
    return type == 1 || type == 2 || type == 3 || type == 10 || type == 11;
}
bool IsMotorolaType1(int type) {
    return type == 2 || type == 11;
}
bool IsEdacs(int type) {
    return type == 6 || type == 7 || type == 9;
}

// The banks a transfer covers.
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

// The channels a read's "Frequencies" covers, first..last.
std::pair<int, int> ReadChannelsOf(const ReadRequest& rq) {
    if (rq.area == TransferArea::SingleBank)
        return {rq.bank * ChannelsPerBank + 1, rq.bank * ChannelsPerBank + ChannelsPerBank};
    if (rq.area == TransferArea::ChannelRange) {
        const int start = std::clamp(rq.rangeStart, 1, kTotalChannels);
        const int end = std::clamp(rq.rangeEnd, 1, kTotalChannels);
        return {std::min(start, end), std::max(start, end)};
    }
    return {1, kTotalChannels};
}

// Lists at most a dozen items, then how many more.
std::string ListOf(const std::vector<std::string>& items) {
    constexpr std::size_t kShown = 12;
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < kShown; ++i) text += (i ? ", " : "") + items[i];
    if (items.size() > kShown) text += " and " + std::to_string(items.size() - kShown) + " more";
    return text;
}

}  // namespace

void TakeReadPart(const TransferResult& result, Image& image) {
    const ReadCoverage& read = result.read;
    for (int ch = 1; ch <= kTotalChannels; ++ch)
        if (read.channels[static_cast<std::size_t>(ch)])
            image.channel(BankOfChannel(ch), SlotOfChannel(ch)) =
                result.image.channel(BankOfChannel(ch), SlotOfChannel(ch));
    if (read.trunkTypes) image.TrunkType = result.image.TrunkType;
    for (int b = 0; b < kScannerBanks; ++b) {
        const auto bank = static_cast<std::size_t>(b);
        for (int row = 0; row < kTrunkIdUsedRows; ++row)
            if (read.trunkIds[bank * kTrunkIdUsedRows + static_cast<std::size_t>(row)])
                image.TrunkId[bank][static_cast<std::size_t>(row)] =
                    result.image.TrunkId[bank][static_cast<std::size_t>(row)];
        if (read.trunkSettings[bank]) {
            image.TrunkSetting[bank] = result.image.TrunkSetting[bank];
            image.TrunkBase[bank] = result.image.TrunkBase[bank];
        }
        if (read.priorities[bank]) image.PriorityChannel[bank] = result.image.PriorityChannel[bank];
    }
    if (read.listTags) image.ScanListTag = result.image.ScanListTag;
}

ReadLosses CountReadLosses(const Image& image, const ReadRequest& rq) {
    auto hasText = [](const std::string& text) {
        return text.find_first_not_of(' ') != std::string::npos;
    };
    ReadLosses losses;
    if (rq.merge ||
        (rq.area == TransferArea::SingleBank && (rq.bank < 0 || rq.bank >= kScannerBanks)))
        return losses;
    if (rq.items.frequencies && rq.area != TransferArea::None) {
        const auto [first, last] = ReadChannelsOf(rq);
        for (int ch = first; ch <= last; ++ch)
            if (hasText(image.channel(BankOfChannel(ch), SlotOfChannel(ch))[kFieldTag]))
                ++losses.channelTags;
    }
    if (rq.items.trunkIds && rq.area != TransferArea::None) {
        const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
        for (int b = std::max(firstBank, 0); b <= lastBank && b < kScannerBanks; ++b)
            for (int row = 0; row < kTrunkIdUsedRows; ++row)
                if (hasText(image.TrunkId[static_cast<std::size_t>(b)]
                                         [static_cast<std::size_t>(row)][1]))
                    ++losses.idTags;
    }
    return losses;
}

std::string ClampRangeField(std::string_view text, int max) {
    const double value = NumericValue(text);
    if (value < 1) return "1";
    if (value > max) return std::to_string(max);
    return std::to_string(static_cast<int>(value));
}

int SettleWaitMs(const Options& options, long baud) {
    if (baud == 4800) return options.delay3;
    if (baud == 9600) return options.delay2;
    return std::max(25, options.delay1);
}

// --- the session -------------------------------------------------------------------------------

class LinkSession::Impl {
  public:
    Impl(LinkSession& owner, Transport& transport, Scheduler& scheduler)
        : d_owner(owner), d_link(transport, scheduler) {
        d_link.setStatus([this](std::string_view text) { status(text); });
        d_link.setTrace([this](std::string_view line) {
            if (d_events.trace) d_events.trace(line);
        });
    }
    ~Impl() { d_link.scheduler().cancelTimer(d_refusalTimer); }

    LinkSession& d_owner;
    Link d_link;
    LinkEvents d_events;
    std::array<std::string, kTrunkTypeCount> d_scannerTypes{};
    std::array<bool, kTrunkTypeCount> d_scannerTypeKnown{};
    // d_scannerTypes hold a complete read that later transfers may take.
    bool d_scannerTypesValid = false;
    Scheduler::TimerId d_refusalTimer = 0;

    // State of the running transfer; kept here, not in the coroutine, so that a stopped
    // transfer can still report what it had done.
    enum class Kind { None, Open, Read, Send, Delete, Names, Types, Tags } d_kind = Kind::None;
    Image d_work;
    TransferResult d_result;
    OpenResult d_open;
    std::function<void(const OpenResult&)> d_openDone;
    int d_channel = 0;
    // What the transfer was at when it ended, for the messages: "channel 020", "trunk ID B3
    // of bank 1".
    std::string d_where;
    // Commands the scanner did not confirm (refused or unanswered), each named; a transfer
    // with any of them fails.
    std::vector<std::string> d_lost;
    // A send: what the scanner holds if it ends now (empty until the first change is sent).
    std::string d_mixNote;
    bool d_readSomething = false;
    // The names-read flag; kept from transfer to transfer until the port is opened again.
    bool d_namesRead = false;
    LogFile d_rxLog;
    LogFile d_txLog;
    LogFile d_trunkLog;

    const Options& options() const { return d_owner.d_config.options; }
    long baud() const { return d_owner.d_config.baud; }
    int delay1() const { return std::max(25, options().delay1); }
    int settle() const { return SettleWaitMs(options(), baud()); }
    std::filesystem::path file(std::string_view name) const {
        return d_owner.d_config.folder / std::string(name);
    }

    // --- reporting -----------------------------------------------------------------------
    LinkProgress d_progress;
    void status(std::string_view text) {
        d_progress.status = std::string(text);
        emitProgress();
    }
    void showChannel(int channel, int done, int total) {
        d_channel = channel;
        d_where = "channel " + ThreeDigits(channel);
        d_progress.phase = d_kind == Kind::Send     ? "Sending channels"
                           : d_kind == Kind::Delete ? "Clearing channels"
                                                    : "Reading channels";
        d_progress.channel = channel;
        d_progress.done = done;
        d_progress.total = total;
        emitProgress();
    }
    void emitProgress() {
        if (d_events.progress) d_events.progress(d_progress);
    }
    // The reply field; a refusal shows as "???" except for the replies the scanner answers
    // after a channel is written (lockout, delay) and those of the keyed table reads.
    void showReply(std::string_view reply, bool markRefusal = true) {
        if (!d_events.reply) return;
        d_events.reply(markRefusal && IsRefusal(reply) ? "???" : WithoutLineEnds(reply));
    }
    void refuse(std::string_view message, std::string title = {}) {
        d_result.outcome = TransferOutcome::Refused;
        d_result.message = std::string(message);
        d_result.title = std::move(title);
    }
    void fail(std::string message, std::string title = "Error") {
        d_result.outcome = TransferOutcome::Failed;
        d_result.message = std::move(message);
        d_result.title = std::move(title);
    }
    void warn(std::string text) { d_result.warnings.push_back(std::move(text)); }

    // Sends a command the scanner answers and gives it delay1 to settle. False, with `what`
    // noted as lost, when the scanner refused it or stayed silent twice.
    Task<bool> confirmed(WireLine line, std::string what) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            d_link.discardInput();
            Reply reply = co_await d_link.request(line);
            if (reply.timedOut) continue;
            showReply(reply.text);
            co_await d_link.wait(delay1());
            d_link.discardInput();
            if (!IsRefusal(reply.text)) co_return true;
            d_lost.push_back(what + " (refused)");
            co_return false;
        }
        d_link.discardInput();
        d_lost.push_back(what + " (no answer)");
        co_return false;
    }
    // The answer to a command, waited for up to the reply time-out (a busy scanner or machine
    // may be slower than the settle wait), then the settle wait; lines that follow within it
    // (a fleet map's blocks) belong to the answer. Empty when nothing came.
    Task<std::string> answerOf(std::string command) {
        d_link.discardInput();
        Reply reply = co_await d_link.request(command);
        co_await d_link.wait(settle());
        if (reply.timedOut) {
            d_link.discardInput();
            co_return std::string();
        }
        co_return reply.text + d_link.takeInput();
    }

    // Ends the transfer as failed when any command went unconfirmed.
    bool failIfLost(std::string_view what) {
        if (d_lost.empty()) return false;
        fail("The scanner did not confirm " + std::to_string(d_lost.size()) + " " +
             std::string(what) + ": " + ListOf(d_lost) + ".");
        return true;
    }

    // --- questions -----------------------------------------------------------------------
    struct AskState {
        std::coroutine_handle<> handle;
        bool answered = false;
        bool yes = false;
        bool inSuspend = false;
        bool cancelled = false;
    };
    class AskAwaiter {
      public:
        AskAwaiter(Impl& impl, LinkQuestion question)
            : d_impl(impl), d_question(std::move(question)) {}
        AskAwaiter(const AskAwaiter&) = delete;
        AskAwaiter& operator=(const AskAwaiter&) = delete;
        ~AskAwaiter() {
            if (d_state) d_state->cancelled = true;
        }
        bool await_ready() const noexcept { return !d_impl.d_events.ask; }
        bool await_suspend(std::coroutine_handle<> handle) {
            d_state = std::make_shared<AskState>();
            d_state->handle = handle;
            d_state->inSuspend = true;
            std::shared_ptr<AskState> state = d_state;
            Link* link = &d_impl.d_link;
            d_impl.d_events.ask(d_question, [state, link](bool yes) {
                if (state->cancelled || state->answered) return;
                state->answered = true;
                state->yes = yes;
                if (!state->inSuspend) link->resume(state->handle);
            });
            d_state->inSuspend = false;
            return !d_state->answered;
        }
        // Without anyone to ask, the answer is No: nothing is confirmed that nobody saw.
        bool await_resume() const { return d_state && d_state->yes; }

      private:
        Impl& d_impl;
        LinkQuestion d_question;
        std::shared_ptr<AskState> d_state;
    };
    AskAwaiter ask(std::string title, std::string text, bool warning) {
        return AskAwaiter(*this, LinkQuestion{std::move(title), std::move(text), warning});
    }

    // --- running -------------------------------------------------------------------------
    void begin(Kind kind, Task<void> job) {
        d_kind = kind;
        d_result = {};
        d_channel = 0;
        d_where.clear();
        d_lost.clear();
        d_mixNote.clear();
        d_readSomething = false;
        d_progress = {};
        d_link.run(std::move(job), [this] { onJobDone(); });
    }

    void onJobDone() {
        d_rxLog.close();
        d_txLog.close();
        d_trunkLog.close();
        const Kind kind = std::exchange(d_kind, Kind::None);
        const LinkStop& stop = d_link.stopReason();
        if (kind == Kind::Open) {
            if (stop.kind == LinkStopKind::Disconnected && d_open.port.ok()) {
                d_open.port.fault = TransportFault::Disconnected;
                d_open.port.message = stop.message;
            }
            auto done = std::move(d_openDone);
            OpenResult result = std::move(d_open);
            if (done) done(result);
            return;
        }
        for (LogFile* log : {&d_rxLog, &d_txLog, &d_trunkLog})
            if (std::string problem = log->takeProblem(); !problem.empty())
                warn(std::move(problem));
        TransferResult result = std::move(d_result);
        if (stop.kind != LinkStopKind::None) {
            result.outcome = stop.kind == LinkStopKind::Stopped ? TransferOutcome::Stopped
                                                                : TransferOutcome::Failed;
            result.message = stop.message;
            result.title = stop.title;
            if (stop.kind == LinkStopKind::Disconnected) {
                result.message = "The connection to the scanner was lost";
                if (!d_where.empty()) result.message += " at " + d_where;
                result.message += ": " + stop.message;
            }
        }
        if (kind == Kind::Send && !d_mixNote.empty() &&
            (result.outcome == TransferOutcome::Stopped ||
             result.outcome == TransferOutcome::Failed))
            result.message += (result.message.empty() ? "" : "\n") + d_mixNote;
        // After a failure the scanner may have been reset or exchanged, and a send stopped
        // half way may have changed a type unnoticed: read the types afresh next time.
        if (result.outcome == TransferOutcome::Failed ||
            (result.outcome == TransferOutcome::Stopped && kind == Kind::Send))
            d_scannerTypesValid = false;
        result.channelReached = d_channel;
        result.namesRead = d_namesRead;
        if (kind == Kind::Read || kind == Kind::Types || kind == Kind::Tags) {
            result.hasData = d_readSomething;
            result.image = std::move(d_work);
        }
        if (result.outcome != TransferOutcome::Completed &&
            result.outcome != TransferOutcome::Refused)
            status(result.message);
        // The receiver may destroy the session: nothing is touched after the call.
        if (d_events.finished) d_events.finished(result);
    }

    void refuseLater(std::string message) {
        d_link.scheduler().cancelTimer(d_refusalTimer);
        d_refusalTimer = d_link.scheduler().startTimer(0, [this, message] {
            d_refusalTimer = 0;
            TransferResult result;
            result.outcome = TransferOutcome::Refused;
            result.message = message;
            result.namesRead = d_namesRead;
            if (d_events.finished) d_events.finished(result);
        });
    }

    bool ensureOpen() {
        if (d_link.transport().isOpen()) return true;
        const TransportStatus status = d_link.transport().open();
        if (status.ok()) return true;
        refuse(status.message, "Error");
        return false;
    }

    // --- the start-up sequence -----------------------------------------------------------
    Task<void> openJob() {
        co_await d_link.wait(0);
        if (!d_link.transport().isOpen()) {
            d_open.port = d_link.transport().open();
            if (!d_open.port.ok()) co_return;
        }
        d_link.discardInput();
        d_link.send("KEY07");
        co_await d_link.wait(delay1());
        d_link.send("MA001");
        co_await d_link.wait(delay1());
        d_link.discardInput();
        d_link.send("VR");
        co_await d_link.wait(delay1());
        d_link.send("SI");
        co_await d_link.wait(delay1());
        // A scanner slower than the settle wait gets up to the reply time-out for its answer.
        constexpr int kStepMs = 25;
        for (std::int64_t waited = 0;
             waited < kReplyTimeoutMs &&
             !(IsBct8Identification(d_link.input()) && d_link.input().back() == kReplyEnd);
             waited += kStepMs)
            co_await d_link.wait(kStepMs);
        std::string ident = d_link.takeInput();
        std::replace(ident.begin(), ident.end(), '\r', ' ');
        std::replace(ident.begin(), ident.end(), '\n', ' ');
        while (!ident.empty() && ident.back() == ' ') ident.pop_back();
        while (!ident.empty() && ident.front() == ' ') ident.erase(0, 1);
        d_open.identification = ident;
        d_open.detected = IsBct8Identification(ident);
        if (const WriteResult written = WriteFileAtomically(file("version.ini"), ident + "\r\n");
            !written)
            d_open.warnings.push_back("version.ini could not be written: " + written.error + ".");
    }

    // The identification handshake before every transfer.
    Task<bool> checkScanner() {
        d_link.discardInput();
        d_link.send("SI");
        co_await d_link.wait(300);
        d_link.send("SI");
        co_await d_link.wait(300);
        co_return IsBct8Identification(d_link.takeInput());
    }

    // One step of a bank-by-bank walk: an answer is shown and given delay1 to settle, a
    // silence leaves nothing behind in the input for the next ask.
    Task<Reply> askBankStep(std::string command) {
        Reply reply = co_await d_link.request(command);
        if (!reply.timedOut) {
            showReply(reply.text, false);
            co_await d_link.wait(delay1());
        } else {
            d_link.discardInput();
        }
        co_return reply;
    }

    // The scanner's trunk type of each bank ("TB A" .. "TB E").
    Task<bool> readTrunkTypes() {
        status("Reading trunk type");
        d_scannerTypesValid = false;
        d_scannerTypeKnown.fill(false);
        d_scannerTypes.fill("");
        int steps = 0;
        int bank = 0;
        while (bank < kScannerBanks) {
            Reply reply = co_await askBankStep(TrunkTypeReadCommand(bank));
            ++steps;
            status("Read trunktype/" + std::to_string(steps));
            if (steps > kTrunkTypeMaxSteps) {
                status(kTrunkTypeFailed);
                co_return false;
            }
            if (reply.timedOut) continue;
            const std::optional<std::string> name = ParseTrunkTypeReply(reply.text, bank);
            if (!name) continue;  // asked again at the next step
            if (const std::optional<std::string> code = TrunkTypeCodeForName(*name)) {
                d_scannerTypes[static_cast<std::size_t>(bank)] = *code;
                d_scannerTypeKnown[static_cast<std::size_t>(bank)] = true;
            }
            ++bank;
        }
        // Banks the scanner does not have count as having no trunk system.
        for (int b = kScannerBanks; b < kTrunkTypeCount; ++b) {
            d_scannerTypes[static_cast<std::size_t>(b)] = "0";
            d_scannerTypeKnown[static_cast<std::size_t>(b)] = true;
        }
        status("Trunk type read Ok");
        d_scannerTypesValid = true;
        co_return true;
    }

    // "Read Data" takes the scanner's types as the image's; a name the table does not know
    // leaves the bank's type as it was.
    void takeScannerTypes() {
        d_result.read.trunkTypes = true;
        for (int b = 0; b < kTrunkTypeCount; ++b)
            if (d_scannerTypeKnown[static_cast<std::size_t>(b)])
                d_work.TrunkType[static_cast<std::size_t>(b)] =
                    d_scannerTypes[static_cast<std::size_t>(b)];
    }

    // "&Get trunktype".
    Task<void> trunkTypesJob() {
        co_await d_link.wait(0);
        if (!ensureOpen()) co_return;
        const bool typesRead = co_await readTrunkTypes();
        if (!typesRead) {
            fail(std::string(kTrunkTypeFailed), {});
            co_return;
        }
        takeScannerTypes();
        d_readSomething = true;
        d_result.outcome = TransferOutcome::Completed;
    }

    // The ID list tags "TA L A 0" .. "TA L J 9" into d_work.ScanListTag, stored only once the
    // walk has come to its end; then the search-range names. False when the read had to end
    // (the result says why).
    Task<bool> readIdListTags() {
        constexpr int total = kListTagLetters * kListTagIndexes;
        int silent = 0;  // time-outs in a row, over restarts too
        for (int pass = 1;; ++pass) {
            std::array<std::array<std::optional<std::string>, kListTagIndexes>, kListTagLetters>
                tags{};
            int steps = 0;
            int repeats = 0;
            int refused = 0;
            int key = 0;
            while (key < total && steps < kListTagMaxSteps) {
                const int list = key / kListTagIndexes;
                const int index = key % kListTagIndexes;
                ++steps;
                status("Read ID list tags/ " + std::to_string(steps));
                d_progress.done = key;
                d_progress.total = total;
                d_progress.phase = "Reading ID list tags";
                emitProgress();
                Reply reply = co_await d_link.request(ListTagReadCommand(list, index));
                if (reply.timedOut) {
                    d_link.discardInput();
                    if (++silent >= kMaxTimeouts) {
                        d_link.transport().close();
                        fail(std::string(kCommunicationTimeoutMessage));
                        co_return false;
                    }
                } else {
                    silent = 0;
                    showReply(reply.text, false);
                    co_await d_link.wait(delay1());
                    const std::optional<std::string> tag =
                        ParseListTagReply(reply.text, list, index);
                    if (tag) {
                        tags[static_cast<std::size_t>(list)][static_cast<std::size_t>(index)] =
                            *tag;
                        ++key;
                        continue;
                    }
                    if (IsRefusal(reply.text)) {
                        // A definite answer: the scanner has no such list. Asking again would
                        // only end in the time-out.
                        if (list < kScannerBanks) ++refused;
                        ++key;
                        continue;
                    }
                }
                ++repeats;
                status("ID list read retry: " + std::to_string(repeats));
            }
            if (key == total) {
                status("ID tags read Ok");
                for (int l = 0; l < kListTagLetters; ++l)
                    for (int i = 0; i < kListTagIndexes; ++i)
                        if (const auto& tag =
                                tags[static_cast<std::size_t>(l)][static_cast<std::size_t>(i)])
                            d_work.ScanListTag[static_cast<std::size_t>(l)]
                                              [static_cast<std::size_t>(i)] = *tag;
                d_result.read.listTags = true;
                if (refused > 0)
                    warn("The scanner refused " + std::to_string(refused) +
                         " ID list tags of banks 1 to 5; they keep their old text.");
                break;
            }
            status(kListTagTimeout);
            if (pass == kListTagMaxPasses) {
                fail(std::string(kListTagTimeout) +
                         " The scanner did not give all ID list tags in " +
                         std::to_string(kListTagMaxPasses) + " attempts.",
                     {});
                co_return false;
            }
        }
        d_namesRead = true;
        d_progress.done = d_progress.total;
        emitProgress();

        // The search-range names; nothing of this program uses them, so a silent scanner only
        // ends their read.
        for (int r = 0; r < kSearchRangeNames; ++r) {
            Reply reply = co_await d_link.request(SearchRangeNameReadCommand(r));
            if (reply.timedOut) {
                d_link.discardInput();
                break;
            }
            showReply(reply.text, false);
            co_await d_link.wait(delay1());
            if (const auto name = ParseSearchRangeNameReply(reply.text, r))
                d_result.searchRangeNames[static_cast<std::size_t>(r)] = *name;
        }
        co_return true;
    }

    // "read ID lists tag".
    Task<void> idListTagsJob() {
        co_await d_link.wait(0);
        if (!ensureOpen()) co_return;
        const bool ok = co_await readIdListTags();
        if (!ok) co_return;
        d_readSomething = true;
        d_result.outcome = TransferOutcome::Completed;
    }

    // A retry after a time-out or an unusable reply; false when the transfer must end (the
    // result says why).
    Task<bool> retry(std::string command, std::string lastReply, bool timedOut) {
        const bool recovered = co_await d_link.recover();
        if (recovered) co_return true;
        if (d_link.stopReason().kind != LinkStopKind::None) co_return false;
        d_link.transport().close();
        if (timedOut) {
            fail(std::string(kCommunicationTimeoutMessage) + " No answer to \"" + command +
                 "\" at " + d_where + ".");
        } else if (IsRefusal(lastReply)) {
            fail("The scanner refused the command for channel " + ThreeDigits(d_channel) +
                 " (it answered \"" + WithoutLineEnds(lastReply) + "\").");
        } else {
            fail("The scanner's reply for channel " + ThreeDigits(d_channel) +
                 " could not be read: \"" + WithoutLineEnds(lastReply) +
                 "\". Check the baud rate.");
        }
        co_return false;
    }

    // "&Get names": the names, then the trunk types, one bank at a time.
    Task<void> bankNamesJob() {
        co_await d_link.wait(0);
        if (!ensureOpen()) co_return;
        int steps = 0;
        int bank = 0;
        while (bank < kScannerBanks) {
            Reply reply = co_await askBankStep(BankNameReadCommand(bank));
            ++steps;
            status("Read Bank Names/ " + std::to_string(steps));
            if (steps > kBankNameMaxSteps) {
                fail("Reading banknames failed.", {});
                co_return;
            }
            if (reply.timedOut) continue;
            const std::optional<std::string> name = ParseBankNameReply(reply.text, bank);
            if (!name) continue;
            d_result.bankNames[static_cast<std::size_t>(bank)] = *name;
            ++bank;
        }
        status("Names Read Ok");
        d_namesRead = true;
        const bool typesRead = co_await readTrunkTypes();
        if (!typesRead) {
            fail(std::string(kTrunkTypeFailed), {});
            co_return;
        }
        d_result.outcome = TransferOutcome::Completed;
    }

    // ===== Reading ==========================================================================

    ReadRequest d_read;

    Task<void> readJob() {
        // Whatever the outcome, the result carries the flag as it then stands.
        d_result.singleBankFlag = d_read.singleBankFlag;
        co_await d_link.wait(0);
        const ReadRequest& rq = d_read;
        const TransferItems& items = rq.items;
        if (!items.frequencies && !items.trunkIds && !items.trunkSettings) {
            refuse(kSelectDownloadData);
            co_return;
        }
        if ((items.frequencies || items.trunkIds) && rq.area == TransferArea::None) {
            refuse(kSelectArea);
            co_return;
        }
        if ((items.frequencies || items.trunkIds) && rq.area == TransferArea::SingleBank &&
            (rq.bank < 0 || rq.bank >= kScannerBanks)) {
            refuse(kSelectDownloadBank);
            co_return;
        }
        if (!ensureOpen()) co_return;

        const bool detected = co_await checkScanner();
        if (!detected && options().option[7] != 1) {
            refuse(kNoScannerRead, "Error");
            co_return;
        }
        bool typesKnown = rq.reuseTrunkTypes && d_scannerTypesValid;
        if (!typesKnown) typesKnown = co_await readTrunkTypes();
        if (typesKnown) takeScannerTypes();

        // Only the trunk steps need the scanner's types; the channels are read without them.
        if (items.frequencies) {
            const bool ok = co_await readChannels();
            if (!ok) co_return;
        }
        if (!typesKnown) {
            if (items.trunkIds || items.trunkSettings) {
                fail(std::string(kTrunkTypeFailed) +
                     " The trunk IDs and trunk settings need the scanner's trunk types; they "
                     "were not read.");
                co_return;
            }
            warn(std::string(kTrunkTypeFailed) + " The image keeps its own trunk types.");
        }
        if (items.trunkIds) {
            const bool ok = co_await readTrunkIds();
            if (!ok) co_return;
        }
        if (rq.idListTags) {
            const bool ok = co_await readIdListTags();
            if (!ok) co_return;
        }
        if (items.trunkSettings) co_await readTrunkSettings();
        co_await readPriorities();
        d_link.discardInput();
        d_readSomething = true;
        if (failIfLost("reads; these settings were not read")) co_return;
        d_result.outcome = TransferOutcome::Completed;
        status("Reading data Ok");
    }

    Task<bool> readChannels() {
        const ReadRequest& rq = d_read;
        int first = 1, storeFrom = 1, last = kTotalChannels;
        if (rq.area == TransferArea::AllBanks) {
            d_result.singleBankFlag = false;
            if (!rq.merge)
                for (int b = 0; b < kScannerBanks; ++b)
                    for (int s = 1; s <= ChannelsPerBank; ++s)
                        ClearChannelForRead(d_work.channel(b, s));
        } else if (rq.area == TransferArea::SingleBank) {
            d_result.singleBankFlag = true;
            const int b = rq.bank;
            status("Reading priority channel");
            d_link.discardInput();
            d_link.send(PriorityReadCommand(b));
            co_await d_link.wait(100);
            if (const auto pc = ParsePriorityReply(d_link.takeInput(), b)) {
                d_work.PriorityChannel[static_cast<std::size_t>(b)] =
                    static_cast<std::int16_t>(*pc);
                d_result.read.priorities[static_cast<std::size_t>(b)] = true;
            }
            if (!rq.merge)
                for (int s = 1; s <= ChannelsPerBank; ++s)
                    ClearChannelForRead(d_work.channel(b, s));
            // The run starts with the last channel of the bank before (as a first request that
            // is not stored), then reads the bank's own fifty.
            storeFrom = b * ChannelsPerBank + 1;
            first = b == 0 ? 1 : b * ChannelsPerBank;
            last = b * ChannelsPerBank + ChannelsPerBank;
        } else {
            d_result.singleBankFlag = false;
            int start = std::clamp(rq.rangeStart, 1, kTotalChannels);
            int end = std::clamp(rq.rangeEnd, 1, kTotalChannels);
            if (start > end) std::swap(start, end);
            first = storeFrom = start;
            last = end;
        }

        d_link.resetRetries();
        d_link.discardInput();
        d_rxLog.start(file("rxdat.txt"));
        const int total = last - first + 1;
        int channel = first;
        bool firstRequest = true;
        while (channel <= last) {
            showChannel(channel, channel - first, total);
            std::string command;
            if (firstRequest) {
                command = ChannelFirstReadCommand(channel);
            } else {
                command = ChannelReadCommand(channel);
                d_rxLog.line(command + " " + std::to_string(BankOfChannel(channel)));
            }
            Reply reply = co_await d_link.request(command);
            if (reply.timedOut) {
                firstRequest = false;
                const bool again = co_await retry(command, std::string(), true);
                if (!again) co_return false;
                continue;
            }
            showReply(reply.text);
            const int bank = BankOfChannel(channel);
            const int slot = SlotOfChannel(channel);
            d_rxLog.line("FD:1 " + std::to_string(bank) + " " + std::to_string(slot) + " " +
                         WithoutLineEnds(reply.text));
            ChannelReply parsed;
            const ReplyStatus parse = ParseChannelReply(reply.text, channel, parsed);
            if (parse != ReplyStatus::Ok) {
                d_rxLog.line("channelmarker not found ");
                firstRequest = false;
                const bool again = co_await retry(command, reply.text, false);
                if (!again) co_return false;
                continue;
            }
            d_rxLog.line("channelmarker found ");
            if (channel >= storeFrom) {
                ApplyChannelReply(parsed, d_work.channel(bank, slot));
                d_result.read.channels.set(static_cast<std::size_t>(channel));
                d_readSomething = true;
            }
            d_link.resetRetries();
            firstRequest = false;
            ++channel;
        }
        showChannel(last, total, total);
        d_rxLog.close();
        co_return true;
    }

    Task<bool> readTrunkIds() {
        const ReadRequest& rq = d_read;
        const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
        if (!rq.merge)
            for (int b = firstBank; b <= lastBank; ++b)
                for (auto& row : d_work.TrunkId[static_cast<std::size_t>(b)])
                    for (auto& field : row) field.clear();
        if (rq.area == TransferArea::SingleBank)
            d_result.singleBankFlag = true;
        else if (rq.area == TransferArea::AllBanks || rq.area == TransferArea::ChannelRange)
            d_result.singleBankFlag = false;

        // A first command to wake the ID table; its answer is not used.
        Reply wake = co_await d_link.request("TG A Q0");
        if (!wake.timedOut) showReply(wake.text, false);
        co_await d_link.wait(settle());
        d_link.discardInput();
        d_link.resetRetries();

        const int firstSlot = firstBank * kTrunkIdUsedRows;
        const int lastSlot = lastBank * kTrunkIdUsedRows + kTrunkIdUsedRows - 1;
        int slot = firstSlot;
        while (slot <= lastSlot) {
            const int bank = slot / kTrunkIdUsedRows;
            const int row = slot % kTrunkIdUsedRows;
            if (TypeOf(d_work, bank) == 0) {
                slot = (bank + 1) * kTrunkIdUsedRows;
                continue;
            }
            status("Read ID list / " + std::to_string(slot));
            d_where = IdName(bank, row);
            d_progress.done = slot - firstSlot;
            d_progress.total = lastSlot - firstSlot + 1;
            d_progress.phase = "Reading trunk IDs";
            emitProgress();
            Reply reply = co_await d_link.request(TrunkIdReadCommand(bank, row));
            if (reply.timedOut) {
                const bool again = co_await retryId(bank, row, std::string(), true);
                if (!again) co_return false;
                continue;
            }
            showReply(reply.text, false);
            const std::optional<std::string> id = ParseTrunkIdReply(reply.text, bank, row);
            if (!id) {
                const bool again = co_await retryId(bank, row, reply.text, false);
                if (!again) co_return false;
                continue;
            }
            d_work.TrunkId[static_cast<std::size_t>(bank)][static_cast<std::size_t>(row)][0] = *id;
            d_result.read.trunkIds.set(static_cast<std::size_t>(slot));
            d_readSomething = true;
            d_link.resetRetries();
            co_await d_link.wait(delay1());
            ++slot;
        }
        status("ID read Ok");
        d_namesRead = true;
        co_return true;
    }

    Task<bool> retryId(int bank, int row, std::string lastReply, bool timedOut) {
        const bool recovered = co_await d_link.recover();
        if (recovered) co_return true;
        if (d_link.stopReason().kind != LinkStopKind::None) co_return false;
        d_link.transport().close();
        const std::string where = IdName(bank, row);
        if (timedOut)
            fail(std::string(kCommunicationTimeoutMessage) + " No answer to \"" +
                 TrunkIdReadCommand(bank, row) + "\" at " + where + ".");
        else
            fail("The scanner's reply for " + where + " could not be read: \"" +
                 WithoutLineEnds(lastReply) + "\".");
        co_return false;
    }

    // A polled answer; one more try when it is not usable. nullopt after the second failure.
    template <typename Parse>
    Task<bool> pollSetting(std::string command, Parse parse) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::string reply = co_await answerOf(command);
            if (!reply.empty()) showReply(reply);
            if (parse(reply)) co_return true;
        }
        co_return false;
    }

    Task<void> readTrunkSettings() {
        const ReadRequest& rq = d_read;
        const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
        std::array<bool, kScannerBanks> complete{};
        auto lost = [this, &complete](int b, const std::string& command) {
            complete[static_cast<std::size_t>(b)] = false;
            d_lost.push_back("\"" + command + "\" of bank " + std::to_string(b + 1) +
                             " (no usable answer)");
        };
        for (int b = firstBank; b <= lastBank; ++b) complete[static_cast<std::size_t>(b)] = true;
        for (int b = firstBank; b <= lastBank; ++b) {
            d_where = "the trunk settings of bank " + std::to_string(b + 1);
            auto& setting = d_work.TrunkSetting[static_cast<std::size_t>(b)];
            d_link.discardInput();
            d_link.send(ChannelReadCommand(b * ChannelsPerBank + 1));
            co_await d_link.poll(settle());
            d_link.send(BankSelectCommand(b));
            co_await d_link.poll(settle());
            status("Reading Trunk Settings Bank:" + std::to_string(b + 1));
            const int type = TypeOf(d_work, b);
            auto field = [&](int index, auto parser) {
                return [&setting, index, parser](const std::string& reply) {
                    const std::optional<std::string> value = parser(reply);
                    if (value) setting[static_cast<std::size_t>(index)] = *value;
                    return value.has_value();
                };
            };
            auto flag = [](std::string_view command) {
                return
                    [command](const std::string& reply) { return ParseFlagReply(reply, command); };
            };
            std::vector<std::pair<std::string, std::function<bool(const std::string&)>>> reads;
            if (IsMotorola800(type))
                reads.emplace_back(ControlChannelReadCommand(b), field(0, [](const std::string& r) {
                                       return ParseControlChannelReply(r);
                                   }));
            if (IsMotorola800(type) || type == 4 || type == 5) {
                reads.emplace_back("BT", field(1, flag("BT")));
                reads.emplace_back("TD", field(2, flag("TD")));
            }
            if (IsEdacs(type)) reads.emplace_back("AF", field(1, flag("AF")));
            for (std::size_t i = 0; i < reads.size(); ++i) {
                const bool ok = co_await pollSetting(reads[i].first, reads[i].second);
                if (ok)
                    d_readSomething = true;
                else
                    lost(b, reads[i].first);
            }
        }
        status("Reading Trunk Settings Ok");
        for (int b = firstBank; b <= lastBank; ++b) {
            const int type = TypeOf(d_work, b);
            if (type != 4 && type != 5) continue;  // only Type 2 VHF/UHF banks keep base lines
            status("Reading Base/Offset: " + std::to_string(b + 1));
            auto& rows = d_work.TrunkBase[static_cast<std::size_t>(b)];
            for (int n = 1; n <= kTrunkBaseRows; ++n) {
                auto& row = rows[static_cast<std::size_t>(n - 1)];
                const bool ok = co_await pollSetting(
                    BaseLineReadCommand(b, n),
                    [&row](const std::string& r) { return ParseBaseLineReply(r, row); });
                if (!ok) lost(b, BaseLineReadCommand(b, n));
            }
        }
        for (int b = firstBank; b <= lastBank; ++b) {
            if (!IsMotorolaType1(TypeOf(d_work, b))) continue;  // fleet maps are Type 1 only
            status("Reading fleetmap: " + std::to_string(b + 1));
            auto& setting = d_work.TrunkSetting[static_cast<std::size_t>(b)];
            auto& blocks = d_work.TrunkBase[static_cast<std::size_t>(b)][0];
            const int preset = setting[7].empty() ? -1 : IntegerValue(setting[7]);
            if (preset >= 1 && preset <= kFleetMapPresets) {
                const FleetMapBlocks& codes = FleetMapPreset(preset);
                for (int k = 0; k < kFleetMapBlocks; ++k)
                    blocks[static_cast<std::size_t>(k)] =
                        std::to_string(codes[static_cast<std::size_t>(k)]);
                continue;
            }
            std::array<std::string, 8> read;
            const bool ok = co_await pollSetting(
                FleetMapReadCommand(b),
                [&read, b](const std::string& r) { return ParseFleetMapReply(r, b, read); });
            if (ok) {
                for (int k = 0; k < kFleetMapBlocks; ++k)
                    blocks[static_cast<std::size_t>(k)] = read[static_cast<std::size_t>(k)];
            } else {
                lost(b, FleetMapReadCommand(b));
            }
        }
        d_result.read.trunkSettings = complete;
        d_link.discardInput();
    }

    Task<void> readPriorities() {
        status("Reading Prio Channels");
        for (int b = 0; b < kScannerBanks; ++b) {
            std::optional<int> channel;
            const bool ok =
                co_await pollSetting(PriorityReadCommand(b), [&channel, b](const std::string& r) {
                    channel = ParsePriorityReply(r, b);
                    return channel.has_value();
                });
            if (ok) {
                d_work.PriorityChannel[static_cast<std::size_t>(b)] =
                    static_cast<std::int16_t>(*channel);
                d_result.read.priorities[static_cast<std::size_t>(b)] = true;
            } else {
                d_lost.push_back("\"" + PriorityReadCommand(b) +
                                 "\" (the priority channel of bank " + std::to_string(b + 1) + ")");
            }
        }
    }

    // ===== Sending ==========================================================================

    SendRequest d_send;
    int d_sendFirst = 0;  // channels d_sendFirst + 1 .. d_sendLast are written
    int d_sendLast = 0;
    std::array<bool, kScannerBanks> d_hasTrunkChannels{};

    // Checks the choices; an empty text when the upload may go ahead.
    std::string checkSend() {
        const SendRequest& rq = d_send;
        const TransferItems& items = rq.items;
        if (!items.frequencies && !items.trunkIds && !items.trunkSettings)
            return std::string(kSelectUploadData);
        if ((items.frequencies || items.trunkIds) && rq.area == TransferArea::None)
            return std::string(kSelectArea);
        if (rq.area == TransferArea::SingleBank && (rq.bank < 0 || rq.bank >= kScannerBanks))
            return std::string(kSelectUploadBank);
        if (rq.area == TransferArea::SingleBank) {
            d_sendFirst = ChannelsPerBank * rq.bank;
            d_sendLast = d_sendFirst + ChannelsPerBank;
        } else if (rq.area == TransferArea::ChannelRange) {
            int start = std::clamp(rq.rangeStart, 1, 1000);
            int end = std::clamp(rq.rangeEnd, 1, 1000);
            int first = start - 1, last = end;
            if (first > last) {
                // Swapped limits still cover the same channels.
                first = end - 1;
                last = start;
            }
            d_sendFirst = std::min(first, kTotalChannels);
            d_sendLast = std::min(last, kTotalChannels);
        } else {
            d_sendFirst = 0;
            d_sendLast = kTotalChannels;
        }
        if (items.frequencies) {
            if (rq.area == TransferArea::SingleBank) {
                bool any = false;
                for (int s = 1; s <= ChannelsPerBank; ++s)
                    any = any || !IsEmptyChannel(d_work, rq.bank, s);
                if (!any) return std::string(kNothingToSend);
            }
            // The whole run is checked before the first command: a frequency the scanner
            // cannot be given as it stands would otherwise erase or change the channel, or stop
            // the send half way with the scanner half programmed.
            std::vector<std::string> bad;
            for (int ch = d_sendFirst + 1; ch <= d_sendLast; ++ch) {
                const Channel& c = d_work.channel(BankOfChannel(ch), SlotOfChannel(ch));
                if (!WireFrequency(c[kFieldFrequency]))
                    bad.push_back(ThreeDigits(ch) + " (bank " +
                                  std::to_string(BankOfChannel(ch) + 1) + " line " +
                                  std::to_string(SlotOfChannel(ch)) + ": \"" + c[kFieldFrequency] +
                                  "\")");
            }
            if (!bad.empty())
                return "Nothing was sent: " + std::to_string(bad.size()) +
                       (bad.size() == 1 ? " channel holds" : " channels hold") +
                       " a frequency the scanner cannot take as it is written (not a plain "
                       "number in MHz with at most four decimals, or outside the scanner's "
                       "bands): channel " +
                       ListOf(bad) + ". Please correct " + (bad.size() == 1 ? "it" : "them") +
                       " first.";
        }
        // A band plan goes out with the bank's type in any phase; one that cannot be written
        // would reach the scanner as an empty plan.
        std::vector<std::string> badPlans;
        const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
        for (int b = firstBank; b <= lastBank; ++b) {
            const int type = TypeOf(d_work, b);
            if (type != kTrunkMotorola2_Uhf && type != kTrunkMotorola2_Vhf) continue;
            const auto& rows = d_work.TrunkBase[static_cast<std::size_t>(b)];
            for (int r = 0; r < kTrunkBaseRows; ++r) {
                const std::string& base = rows[static_cast<std::size_t>(r)][0];
                if (NumericValue(base) > 0 && !WireFrequency(base))
                    badPlans.push_back("bank " + std::to_string(b + 1) + " Base Config " +
                                       std::to_string(r + 1) + ": \"" + base + "\"");
            }
        }
        if (!badPlans.empty())
            return "Nothing was sent: the band plan holds a base frequency the scanner cannot "
                   "take as it is written: " +
                   ListOf(badPlans) + ". Please correct it in the trunk settings first.";
        return {};
    }

    Task<void> sendJob() {
        d_result.singleBankFlag = d_send.singleBankFlag;
        co_await d_link.wait(0);
        const SendRequest& rq = d_send;
        if (std::string problem = checkSend(); !problem.empty()) {
            refuse(problem);
            co_return;
        }
        // Every question comes before the first command, so that No leaves the scanner as it was.
        if (rq.items.frequencies) {
            if (options().expert != 1) {
                // Built before the co_await: a conditional's temporaries inside one are not safe
                // with every compiler.
                std::string question;
                if (rq.plan)
                    question = "Please confirm sending the changes: " + DescribePlan(*rq.plan) +
                               ".\nAre you sure?";
                else
                    question = "Please confirm data upload.\nChannels: " +
                               std::to_string(d_sendFirst + 1) + " / " +
                               std::to_string(d_sendLast) + "\nAre you sure?";
                const bool yes = co_await ask("Send Data", std::move(question), false);
                if (!yes) {
                    refuse({});
                    co_return;
                }
            }
            // Changes clear nothing else, so the warning of a whole send does not apply.
            if (rq.area == TransferArea::AllBanks && d_result.singleBankFlag && !rq.plan) {
                const bool yes = co_await ask("Send Data",
                                              "WARNING: Please re-confirm data upload.\nYou "
                                              "previously downloaded 1 bank and now "
                                              "you want to upload all banks.\nAll remaining "
                                              "channels will be cleared!\nAre you "
                                              "sure?",
                                              true);
                if (!yes) {
                    refuse({});
                    co_return;
                }
                d_result.singleBankFlag = false;
            }
        } else if (rq.items.trunkIds && rq.area == TransferArea::AllBanks &&
                   d_result.singleBankFlag && !rq.plan) {
            const bool yes = co_await ask(
                "Send Data",
                "WARNING: Please re-confirm data upload.\nYou previously downloaded trunk data "
                "from "
                "one bank and now you want to upload all banks.\nAll remaining trunk id's will be "
                "cleared!\nAre you sure?",
                true);
            if (!yes) {
                refuse({});
                co_return;
            }
            d_result.singleBankFlag = false;
        }
        if (!ensureOpen()) co_return;
        const bool detected = co_await checkScanner();
        if (!detected) {
            refuse(kNoScannerSend, "Error");
            co_return;
        }
        if (options().linkbank == 1) {
            if (const std::optional<std::string> sb = ActiveBanksCommand(d_work)) {
                const std::string reply = co_await answerOf(*sb);
                if (reply.empty() || IsRefusal(reply))
                    d_lost.push_back("\"" + *sb + "\" (the active banks, " +
                                     (reply.empty() ? "no answer)" : "refused)"));
            }
        }
        // A type that could not be read counts as differing: the bank's own type is sent.
        if (options().option[8] != 1 && (!rq.reuseTrunkTypes || !d_scannerTypesValid))
            co_await readTrunkTypes();
        if (rq.items.frequencies) {
            const bool ok = co_await sendChannels();
            if (!ok) co_return;
        }
        if (rq.items.trunkSettings) co_await sendTrunkSettings();
        if (rq.items.trunkIds) co_await sendTrunkIds();
        d_link.discardInput();
        d_mixNote.clear();
        d_where.clear();
        if (failIfLost("commands; what they carry is not in the scanner")) co_return;
        d_result.outcome = TransferOutcome::Completed;
        status("Sending data Ok");
    }

    bool scannerTypeDiffers(int bank) const {
        const auto b = static_cast<std::size_t>(bank);
        if (!d_scannerTypeKnown[b]) return true;
        return TrunkTypeOf(d_scannerTypes[b]) != TypeOf(d_work, bank);
    }

    // The type commands of a bank: always with the bank's own band plan, so that no phase
    // sends a plan over the one the user set.
    std::vector<WireLine> typeCommands(int bank) const {
        return TrunkTypeCommands(bank, TypeOf(d_work, bank), false,
                                 &d_work.TrunkBase[static_cast<std::size_t>(bank)]);
    }

    // Notes what the scanner holds for the bank's type after its type commands were sent.
    void noteTypeSent(int bank, bool confirmed) {
        const auto b = static_cast<std::size_t>(bank);
        d_scannerTypes[b] = confirmed ? d_work.TrunkType[b] : std::string();
        d_scannerTypeKnown[b] = confirmed;
    }

    Task<void> sendTrunkTypeIfNeeded(int bank) {
        if (options().option[8] == 1 || !scannerTypeDiffers(bank)) co_return;
        const std::vector<WireLine> lines = typeCommands(bank);
        if (lines.empty()) co_return;
        status(kSettingTrunkType);
        bool all = true;
        for (const WireLine& line : lines)
            all = co_await confirmed(line, "\"" + line.text + "\" (the trunk type of bank " +
                                               std::to_string(bank + 1) + ")") &&
                  all;
        co_await d_link.wait(settle());
        noteTypeSent(bank, all);
    }

    // What the scanner holds should the send end before `channel` is written in full.
    void noteChannelMix(int channel) {
        const int first = d_sendFirst + 1;
        d_mixNote = "The scanner now holds a mix of old and new channels: ";
        if (d_send.plan) {
            d_mixNote += "the changed channels before channel " + ThreeDigits(channel) +
                         " are new, from channel " + ThreeDigits(channel) +
                         " on it holds its old channels (channel " + ThreeDigits(channel) +
                         " may be half written).";
            return;
        }
        if (channel > first)
            d_mixNote +=
                "channels " + ThreeDigits(first) + " to " + ThreeDigits(channel - 1) + " are new, ";
        d_mixNote += "from channel " + ThreeDigits(channel) +
                     " on it holds its old channels (channel " + ThreeDigits(channel) +
                     " may be half written).";
    }
    std::string sentBefore() const {
        return d_send.items.frequencies ? "All channels were sent. " : std::string();
    }

    // Whether a channel goes out: every one of the run, or the planned ones of a send of changes.
    bool planned(int channel) const {
        return !d_send.plan || d_send.plan->channels[static_cast<std::size_t>(channel)];
    }
    // How many channels of first..end-1 go out.
    int planned(int first, int end) const {
        int n = 0;
        for (int ch = first; ch < end; ++ch) n += planned(ch) ? 1 : 0;
        return n;
    }

    Task<bool> sendChannels() {
        for (int b = 0; b < kScannerBanks; ++b) {
            bool any = false;
            for (int s = 1; s <= ChannelsPerBank; ++s)
                any = any || d_work.channel(b, s)[kFieldTrunk] == "1";
            d_hasTrunkChannels[static_cast<std::size_t>(b)] = any;
        }
        d_link.discardInput();
        d_link.send("KEY07");
        co_await d_link.wait(delay1());
        d_link.send("KEY07");
        co_await d_link.wait(delay1());
        d_link.discardInput();
        d_txLog.start(file("txlog.txt"));
        d_link.resetRetries();
        const int total = planned(d_sendFirst + 1, d_sendLast + 1);
        const long pauseMs = std::lround(settle() / 1000.0) * 1000;
        int channel = d_sendFirst + 1;
        while (channel <= d_sendLast) {
            if (!planned(channel)) {
                ++channel;
                continue;
            }
            const int bank = BankOfChannel(channel);
            const int slot = SlotOfChannel(channel);
            const Channel& c = d_work.channel(bank, slot);
            const int done = planned(d_sendFirst + 1, channel);
            // A send of changes starts each bank at its first changed channel.
            const bool firstOfBank = d_send.plan ? planned(bank * ChannelsPerBank + 1, channel) == 0
                                                 : (channel - 1) % ChannelsPerBank == 0;
            d_where = "channel " + ThreeDigits(channel);
            noteChannelMix(channel);
            if (firstOfBank && d_hasTrunkChannels[static_cast<std::size_t>(bank)])
                co_await sendTrunkTypeIfNeeded(bank);
            if (firstOfBank) d_link.send(ChannelReadCommand(channel));
            co_await d_link.wait(delay1());
            d_link.discardInput();

            const std::string wire =
                WireFrequency(c[kFieldFrequency]).value_or(std::string(kEmptyWireFrequency));
            const bool trunked = c[kFieldTrunk] == "1";
            const std::string command = ChannelWriteCommand(channel, wire, trunked);
            const bool empty = wire == kEmptyWireFrequency;
            d_txLog.line(
                command + " ts:" + c[kFieldTrunk] + " chanid:" + std::to_string(channel) +
                " bank:" + std::to_string(bank) + " ch:" + std::to_string(slot) +
                " tyes:" + (d_hasTrunkChannels[static_cast<std::size_t>(bank)] ? "1" : "0") +
                " ttype:" + d_work.TrunkType[static_cast<std::size_t>(bank)] +
                " ttyper:" + d_scannerTypes[static_cast<std::size_t>(bank)]);
            co_await d_link.wait(delay1());
            showChannel(channel, done, total);

            // The write, then lockout and delay; any of them unanswered or refused writes the
            // channel again from the start.
            std::vector<std::string> steps{command};
            if (!empty) {
                steps.push_back(LockoutCommand(c[kFieldLockout]));
                steps.push_back(DelayCommand(c[kFieldDelay]));
            }
            bool again = false;
            for (std::size_t i = 0; i < steps.size(); ++i) {
                const std::string& step = steps[i];
                Reply reply = co_await d_link.request(step);
                if (!reply.timedOut && !IsRefusal(reply.text)) {
                    showReply(reply.text, i == 0);
                    continue;
                }
                if (!reply.timedOut) {
                    showReply(reply.text, i == 0);
                    d_txLog.line("ERR reply to " + step + ": " + WithoutLineEnds(reply.text));
                }
                const bool retried = co_await retry(step, reply.text, reply.timedOut);
                if (!retried) co_return false;
                again = true;
                break;
            }
            if (again) continue;
            co_await d_link.wait(pauseMs);
            d_link.discardInput();
            d_link.resetRetries();
            ++channel;
        }
        showChannel(d_sendLast, total, total);
        d_txLog.close();
        co_return true;
    }

    std::vector<WireLine> bankSettingCommands(int b) const {
        return BankSettingCommands(d_work, b);
    }

    Task<void> sendTrunkSettings() {
        const SendRequest& rq = d_send;
        const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
        for (int b = firstBank; b <= lastBank; ++b) {
            if (rq.plan && !rq.plan->bankSettings[static_cast<std::size_t>(b)]) continue;
            status(" Sending Trunk settings bank: " + std::to_string(b + 1));
            d_where = "the trunk settings of bank " + std::to_string(b + 1);
            d_mixNote = sentBefore() +
                        "The scanner now holds a mix of old and new trunk settings from bank " +
                        std::to_string(b + 1) + " on.";
            const std::size_t lostBefore = d_lost.size();
            for (const WireLine& line : bankSettingCommands(b))
                co_await confirmed(line, "\"" + line.text + "\" of bank " + std::to_string(b + 1));
            // The type went out with the bank's own plan: later phases need not send it again.
            if (!typeCommands(b).empty()) noteTypeSent(b, d_lost.size() == lostBefore);
        }
    }

    Task<void> sendTrunkIds() {
        const SendRequest& rq = d_send;
        auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
        // A send of changes walks only the banks whose IDs changed.
        if (rq.plan) {
            while (firstBank <= lastBank && !rq.plan->hasTrunkIdsIn(firstBank)) ++firstBank;
            while (lastBank >= firstBank && !rq.plan->hasTrunkIdsIn(lastBank)) --lastBank;
            if (firstBank > lastBank) co_return;
        }
        const int firstSlot = firstBank * kTrunkIdUsedRows;
        const int lastSlot = lastBank * kTrunkIdUsedRows + kTrunkIdUsedRows - 1;
        d_link.discardInput();
        d_link.send("MA001");
        co_await d_link.wait(settle());
        d_trunkLog.start(file("TRUNCK8.TXT"));
        d_trunkLog.line("start: " + std::to_string(firstSlot));
        d_trunkLog.line("end: " + std::to_string(lastSlot));
        d_trunkLog.line("bank_ida: " + std::to_string(firstBank));
        d_trunkLog.line("bank_id: " + std::to_string(lastBank));
        d_trunkLog.line("idtje: " + std::to_string(lastSlot - firstSlot + 1));
        for (int b = firstBank; b <= lastBank; ++b)
            if (!rq.plan || rq.plan->hasTrunkIdsIn(b)) co_await sendTrunkTypeIfNeeded(b);
        d_link.discardInput();
        d_link.send("TG " + std::string(1, BankLetter(firstBank)) + " A0");
        co_await d_link.wait(settle());
        d_link.discardInput();

        const int total = lastSlot - firstSlot + 1;
        for (int slot = firstSlot; slot <= lastSlot; ++slot) {
            const int bank = slot / kTrunkIdUsedRows;
            const int row = slot % kTrunkIdUsedRows;
            if (rq.plan && !rq.plan->hasTrunkId(bank, row)) continue;
            d_where = IdName(bank, row);
            const std::string& id =
                d_work.TrunkId[static_cast<std::size_t>(bank)][static_cast<std::size_t>(row)][0];
            std::string command;
            if (IsEmptyTrunkId(id)) {
                // Without "delid" an empty row leaves the scanner's ID alone.
                if (options().delid != 1) continue;
                status("Delete ID:");
                command = TrunkIdDeleteCommand(bank, row);
            } else {
                status("Sending trunkdata ");
                command = TrunkIdWriteCommand(bank, row, id);
            }
            d_progress.done = slot - firstSlot;
            d_progress.total = total;
            d_progress.phase = "Sending trunk IDs";
            emitProgress();
            d_mixNote = sentBefore() +
                        "The scanner now holds a mix of old and new trunk IDs from " +
                        IdName(bank, row) + " on.";
            std::string outcome;
            if (options().option[10] == 1) {
                d_link.discardInput();
                d_link.send(command);
                // Replies are not waited for; a refusal that came in the meantime still counts.
                co_await d_link.wait(settle());
                outcome = IsRefusal(d_link.takeInput()) ? "ERR" : "sent";
                if (outcome == "ERR") d_lost.push_back("\"" + command + "\" (refused)");
            } else {
                const std::string reply = co_await answerOf(command);
                if (!reply.empty()) showReply(reply);
                if (reply.empty()) {
                    outcome = "timeout";
                } else if (IsRefusal(reply)) {
                    outcome = "ERR";
                } else if (reply.find("OK") != std::string::npos) {
                    outcome = "OK";
                } else {
                    outcome = WithoutLineEnds(reply);
                }
                if (reply.empty() || IsRefusal(reply))
                    d_lost.push_back("\"" + command + "\" (" +
                                     (reply.empty() ? "no answer" : "refused") + ")");
            }
            d_trunkLog.line(command + " " + outcome);
            d_trunkLog.line("DATA id: " + outcome);
        }
        d_trunkLog.close();
    }

    // ===== Delete bank ======================================================================

    int d_deleteBank = -1;

    Task<void> deleteJob() {
        co_await d_link.wait(0);
        const int b = d_deleteBank;
        if (b < 0 || b >= kScannerBanks) {
            refuse(kSelectDeleteBank);
            co_return;
        }
        const int first = ChannelsPerBank * b + 1;
        const int last = first + ChannelsPerBank - 1;
        if (options().expert != 1) {
            const bool yes = co_await ask(
                "Delete Bank",
                "You selected to delete all data in bank " + std::to_string(b + 1) + ".\n" +
                    std::to_string(first) + " / " + std::to_string(last) + "\nAre you sure?",
                true);
            if (!yes) {
                refuse({});
                co_return;
            }
        }
        if (!ensureOpen()) co_return;
        const bool detected = co_await checkScanner();
        if (!detected) {
            refuse(kNoScannerDelete, "Error");
            co_return;
        }
        d_link.discardInput();
        for (int ch = first; ch <= last; ++ch) {
            co_await d_link.wait(settle());
            showChannel(ch, ch - first, last - first + 1);
            status("Delete Channel " + std::to_string(ch));
            d_link.send(ChannelClearCommand(ch));
        }
        co_await d_link.wait(settle());
        const bool refused = IsRefusal(d_link.input());
        d_link.discardInput();
        status("");
        if (refused) {
            fail("The scanner refused to clear some channels of bank " + std::to_string(b + 1) +
                 ": they may still hold their old frequencies.");
            co_return;
        }
        d_result.outcome = TransferOutcome::Completed;
    }
};

LinkSession::LinkSession(Transport& transport, Scheduler& scheduler, LinkConfig config)
    : d_config(std::move(config)), d_impl(std::make_unique<Impl>(*this, transport, scheduler)) {}

LinkSession::~LinkSession() = default;

void LinkSession::setEvents(LinkEvents events) {
    d_impl->d_events = std::move(events);
}

void LinkSession::setDelay1(int ms) {
    d_config.options.delay1 = std::clamp(ms, 25, 1000);
}

void LinkSession::open(std::function<void(const OpenResult&)> done) {
    if (busy()) {
        OpenResult result;
        result.port = {TransportFault::Busy, std::string(kPortUnavailableMessage),
                       "a transfer is running"};
        d_impl->d_link.scheduler().startTimer(0, [done, result] {
            if (done) done(result);
        });
        return;
    }
    d_impl->d_open = {};
    d_impl->d_namesRead = false;
    d_impl->d_scannerTypesValid = false;
    d_impl->d_openDone = std::move(done);
    d_impl->begin(Impl::Kind::Open, d_impl->openJob());
}

bool LinkSession::isOpen() const {
    return d_impl->d_link.transport().isOpen();
}

void LinkSession::close() {
    d_impl->d_link.close();
}

void LinkSession::startRead(const Image& image, const ReadRequest& request) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_work = image;
    d_impl->d_read = request;
    d_impl->begin(Impl::Kind::Read, d_impl->readJob());
}

void LinkSession::startSend(const Image& image, const SendRequest& request) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_work = image;
    d_impl->d_send = request;
    d_impl->begin(Impl::Kind::Send, d_impl->sendJob());
}

void LinkSession::startReadBankNames() {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->begin(Impl::Kind::Names, d_impl->bankNamesJob());
}

void LinkSession::startReadTrunkTypes(const Image& image) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_work = image;
    d_impl->begin(Impl::Kind::Types, d_impl->trunkTypesJob());
}

void LinkSession::startReadIdListTags(const Image& image) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_work = image;
    d_impl->begin(Impl::Kind::Tags, d_impl->idListTagsJob());
}

void LinkSession::startDeleteBank(int bank) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_deleteBank = bank;
    d_impl->begin(Impl::Kind::Delete, d_impl->deleteJob());
}

bool LinkSession::busy() const {
    return d_impl->d_link.running();
}

void LinkSession::stop() {
    d_impl->d_link.abort({LinkStopKind::Stopped, "Transfer stopped.", {}});
}

const std::array<std::string, kTrunkTypeCount>& LinkSession::scannerTrunkTypes() const {
    return d_impl->d_scannerTypes;
}

bool LinkSession::scannerTrunkTypesKnown() const {
    return d_impl->d_scannerTypesValid;
}

bool LinkSession::namesRead() const {
    return d_impl->d_namesRead;
}

}  // namespace vex
