#include "link/session.h"

#include <algorithm>

#include "core/atomic_file.h"
#include "core/numeric.h"
#include "link/job_context.h"
#include "link/link.h"
#include "link/protocol.h"
#include "link/session_jobs.h"

namespace vex {

namespace {

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
    enum class Kind { None, Open, Read, Send, Delete, Names, Types, Tags };

    Impl(Transport& transport, Scheduler& scheduler, const LinkConfig& config)
        : d_link(transport, scheduler), d_context(d_link, config) {
        d_link.setStatus([this](std::string_view text) { d_context.status(text); });
        d_link.setTrace([this](std::string_view line) {
            if (d_context.events.trace) d_context.events.trace(line);
        });
    }
    // The job's frame refers to the context: it ends here, before the context goes.
    ~Impl() {
        d_link.scheduler().cancelTimer(d_refusalTimer);
        d_link.drop();
    }

    Link d_link;
    JobContext d_context;
    Kind d_kind = Kind::None;
    std::function<void(const OpenResult&)> d_openDone;
    Scheduler::TimerId d_refusalTimer = 0;

    bool busy() const { return d_link.running(); }

    void begin(Kind kind, Task<void> job) {
        d_kind = kind;
        d_context.beginJob();
        d_link.run(std::move(job), [this] { onJobDone(); });
    }

    void onJobDone() {
        JobContext& cx = d_context;
        cx.rxLog.close();
        cx.txLog.close();
        cx.trunkLog.close();
        const Kind kind = std::exchange(d_kind, Kind::None);
        const LinkStop& stop = d_link.stopReason();
        if (kind == Kind::Open) {
            if (stop.kind == LinkStopKind::Disconnected && cx.open.port.ok()) {
                cx.open.port.fault = TransportFault::Disconnected;
                cx.open.port.message = stop.message;
            }
            auto done = std::move(d_openDone);
            OpenResult result = std::move(cx.open);
            if (done) done(result);
            return;
        }
        for (LogFile* log : {&cx.rxLog, &cx.txLog, &cx.trunkLog})
            if (std::string problem = log->takeProblem(); !problem.empty())
                cx.warn(std::move(problem));
        TransferResult result = std::move(cx.result);
        if (stop.kind != LinkStopKind::None) {
            result.outcome = stop.kind == LinkStopKind::Stopped ? TransferOutcome::Stopped
                                                                : TransferOutcome::Failed;
            result.message = stop.message;
            result.title = stop.title;
            if (stop.kind == LinkStopKind::Disconnected) {
                result.message = "The connection to the scanner was lost";
                if (!cx.where.empty()) result.message += " at " + cx.where;
                result.message += ": " + stop.message;
            }
        }
        if (kind == Kind::Send && !cx.mixNote.empty() &&
            (result.outcome == TransferOutcome::Stopped ||
             result.outcome == TransferOutcome::Failed))
            result.message += (result.message.empty() ? "" : "\n") + cx.mixNote;
        // After a failure the scanner may have been reset or exchanged, and a send stopped
        // half way may have changed a type unnoticed: read the types afresh next time.
        if (result.outcome == TransferOutcome::Failed ||
            (result.outcome == TransferOutcome::Stopped && kind == Kind::Send))
            cx.scanner.valid = false;
        result.channelReached = cx.channel;
        result.namesRead = cx.namesRead;
        if (kind == Kind::Read || kind == Kind::Types || kind == Kind::Tags) {
            result.hasData = cx.readSomething;
            result.image = std::move(cx.work);
        }
        if (result.outcome != TransferOutcome::Completed &&
            result.outcome != TransferOutcome::Refused)
            cx.status(result.message);
        // The receiver may destroy the session: nothing is touched after the call.
        if (cx.events.finished) cx.events.finished(result);
    }

    void refuseLater(std::string message) {
        d_link.scheduler().cancelTimer(d_refusalTimer);
        d_refusalTimer = d_link.scheduler().startTimer(0, [this, message] {
            d_refusalTimer = 0;
            TransferResult result;
            result.outcome = TransferOutcome::Refused;
            result.message = message;
            result.namesRead = d_context.namesRead;
            if (d_context.events.finished) d_context.events.finished(result);
        });
    }
};

// The start-up sequence ("KEY07", "MA001", "VR", "SI") and version.ini.
Task<void> openJob(JobContext& cx) {
    Link& link = cx.link;
    co_await link.wait(0);
    if (!link.transport().isOpen()) {
        cx.open.port = link.transport().open();
        if (!cx.open.port.ok()) co_return;
    }
    link.discardInput();
    link.send("KEY07");
    co_await link.wait(cx.delay1());
    link.send("MA001");
    co_await link.wait(cx.delay1());
    link.discardInput();
    link.send("VR");
    co_await link.wait(cx.delay1());
    link.send("SI");
    co_await link.wait(cx.delay1());
    // A scanner slower than the settle wait gets up to the reply time-out for its answer.
    constexpr int kStepMs = 25;
    for (std::int64_t waited = 0;
         waited < kReplyTimeoutMs &&
         !(IsBct8Identification(link.input()) && link.input().back() == kReplyEnd);
         waited += kStepMs)
        co_await link.wait(kStepMs);
    std::string ident = link.takeInput();
    std::replace(ident.begin(), ident.end(), '\r', ' ');
    std::replace(ident.begin(), ident.end(), '\n', ' ');
    while (!ident.empty() && ident.back() == ' ') ident.pop_back();
    while (!ident.empty() && ident.front() == ' ') ident.erase(0, 1);
    cx.open.identification = ident;
    cx.open.detected = IsBct8Identification(ident);
    if (const WriteResult written = WriteFileAtomically(cx.file("version.ini"), ident + "\r\n");
        !written)
        cx.open.warnings.push_back("version.ini could not be written: " + written.error + ".");
}

LinkSession::LinkSession(Transport& transport, Scheduler& scheduler, LinkConfig config)
    : d_config(std::move(config)), d_impl(std::make_unique<Impl>(transport, scheduler, d_config)) {}

LinkSession::~LinkSession() = default;

void LinkSession::setEvents(LinkEvents events) {
    d_impl->d_context.events = std::move(events);
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
    JobContext& cx = d_impl->d_context;
    cx.open = {};
    cx.namesRead = false;
    cx.scanner.valid = false;
    d_impl->d_openDone = std::move(done);
    d_impl->begin(Impl::Kind::Open, openJob(cx));
}

bool LinkSession::isOpen() const {
    return d_impl->d_link.transport().isOpen();
}

void LinkSession::close() {
    d_impl->d_link.close();
}

void LinkSession::startRead(const Image& image, const ReadRequest& request) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_context.work = image;
    d_impl->begin(Impl::Kind::Read, readJob(d_impl->d_context, request));
}

void LinkSession::startSend(const Image& image, const SendRequest& request) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_context.work = image;
    d_impl->begin(Impl::Kind::Send, sendJob(d_impl->d_context, request));
}

void LinkSession::startReadBankNames() {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->begin(Impl::Kind::Names, bankNamesJob(d_impl->d_context));
}

void LinkSession::startReadTrunkTypes(const Image& image) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_context.work = image;
    d_impl->begin(Impl::Kind::Types, trunkTypesJob(d_impl->d_context));
}

void LinkSession::startReadIdListTags(const Image& image) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->d_context.work = image;
    d_impl->begin(Impl::Kind::Tags, idListTagsJob(d_impl->d_context));
}

void LinkSession::startDeleteBank(int bank) {
    if (busy()) return d_impl->refuseLater("A transfer is already running.");
    d_impl->begin(Impl::Kind::Delete, deleteBankJob(d_impl->d_context, bank));
}

bool LinkSession::busy() const {
    return d_impl->busy();
}

void LinkSession::stop() {
    d_impl->d_link.abort({LinkStopKind::Stopped, "Transfer stopped.", {}});
}

const std::array<std::string, kTrunkTypeCount>& LinkSession::scannerTrunkTypes() const {
    return d_impl->d_context.scanner.codes;
}

bool LinkSession::scannerTrunkTypesKnown() const {
    return d_impl->d_context.scanner.valid;
}

bool LinkSession::namesRead() const {
    return d_impl->d_context.namesRead;
}

}  // namespace vex
