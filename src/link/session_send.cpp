// Sending the image to the scanner: channels, trunk settings and trunk IDs; and clearing a bank.
#include <algorithm>
#include <cmath>

#include "core/numeric.h"
#include "link/bank_settings.h"
#include "link/protocol.h"
#include "link/session_jobs.h"
#include "link/trunk_groups.h"
#include "trunk/trunk_types.h"

namespace vex {

namespace {

constexpr std::string_view kNoScannerSend =
    "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode.";
constexpr std::string_view kNoScannerDelete =
    "No scanner detected at comport. Check baudrate/comport is in remote mode";
constexpr std::string_view kSelectUploadData = "Please select which data you want to upload.";
constexpr std::string_view kSelectUploadBank = "Please select which bank you want to upload.";
constexpr std::string_view kSelectDeleteBank = "Please select which bank you want to delete.";
constexpr std::string_view kNothingToSend = "There is nothing to send!";
constexpr std::string_view kSettingTrunkType = "setting trunktype required.. please wait..";

// What one send covers: channels first + 1 .. last are written.
struct SendRun {
    SendRequest request;
    int first = 0;
    int last = 0;
    std::array<bool, kScannerBanks> hasTrunkChannels{};
    std::pair<int, int> banks() const {
        return BanksOf(request.area, request.bank, request.rangeStart, request.rangeEnd);
    }
};

// The channels the request covers.
void planChannels(SendRun& run) {
    const SendRequest& rq = run.request;
    if (rq.area == TransferArea::SingleBank) {
        run.first = ChannelsPerBank * rq.bank;
        run.last = run.first + ChannelsPerBank;
    } else if (rq.area == TransferArea::ChannelRange) {
        int start = std::clamp(rq.rangeStart, 1, 1000);
        int end = std::clamp(rq.rangeEnd, 1, 1000);
        int first = start - 1, last = end;
        if (first > last) {
            // Swapped limits still cover the same channels.
            first = end - 1;
            last = start;
        }
        run.first = std::min(first, kTotalChannels);
        run.last = std::min(last, kTotalChannels);
    } else {
        run.first = 0;
        run.last = kTotalChannels;
    }
}

// The whole run is checked before the first command: a frequency the scanner cannot be given
// as it stands would otherwise erase or change the channel, or stop the send half way with the
// scanner half programmed.
std::string checkFrequencies(const Image& work, const SendRun& run) {
    const SendRequest& rq = run.request;
    if (rq.area == TransferArea::SingleBank) {
        bool any = false;
        for (int s = 1; s <= ChannelsPerBank; ++s) any = any || !IsEmptyChannel(work, rq.bank, s);
        if (!any) return std::string(kNothingToSend);
    }
    std::vector<std::string> bad;
    for (int ch = run.first + 1; ch <= run.last; ++ch) {
        const Channel& c = work.channel(BankOfChannel(ch), SlotOfChannel(ch));
        if (!WireFrequency(c[kFieldFrequency]))
            bad.push_back(ChannelDigits(ch) + " (bank " + std::to_string(BankOfChannel(ch) + 1) +
                          " line " + std::to_string(SlotOfChannel(ch)) + ": \"" +
                          c[kFieldFrequency] + "\")");
    }
    if (bad.empty()) return {};
    return "Nothing was sent: " + std::to_string(bad.size()) +
           (bad.size() == 1 ? " channel holds" : " channels hold") +
           " a frequency the scanner cannot take as it is written (not a plain number in MHz "
           "with at most four decimals, or outside the scanner's bands): channel " +
           ListOf(bad) + ". Please correct " + (bad.size() == 1 ? "it" : "them") + " first.";
}

// A band plan goes out with the bank's type in any phase; one that cannot be written would
// reach the scanner as an empty plan.
std::string checkBandPlans(const Image& work, const SendRun& run) {
    std::vector<std::string> badPlans;
    const auto [firstBank, lastBank] = run.banks();
    for (int b = firstBank; b <= lastBank; ++b) {
        if (!HasBaseLines(TypeOf(work, b))) continue;
        const auto& rows = work.TrunkBase[static_cast<std::size_t>(b)];
        for (int r = 0; r < kTrunkBaseRows; ++r) {
            const std::string& base = rows[static_cast<std::size_t>(r)][0];
            if (NumericValue(base) > 0 && !WireFrequency(base))
                badPlans.push_back("bank " + std::to_string(b + 1) + " Base Config " +
                                   std::to_string(r + 1) + ": \"" + base + "\"");
        }
    }
    if (badPlans.empty()) return {};
    return "Nothing was sent: the band plan holds a base frequency the scanner cannot take as it "
           "is written: " +
           ListOf(badPlans) + ". Please correct it in the trunk settings first.";
}

// Checks the choices and plans the run; an empty text when the upload may go ahead.
std::string checkSend(const Image& work, SendRun& run) {
    const SendRequest& rq = run.request;
    const TransferItems& items = rq.items;
    if (!items.frequencies && !items.trunkIds && !items.trunkSettings)
        return std::string(kSelectUploadData);
    if ((items.frequencies || items.trunkIds) && rq.area == TransferArea::None)
        return std::string(kSelectArea);
    if (rq.area == TransferArea::SingleBank && (rq.bank < 0 || rq.bank >= kScannerBanks))
        return std::string(kSelectUploadBank);
    planChannels(run);
    if (items.frequencies)
        if (std::string problem = checkFrequencies(work, run); !problem.empty()) return problem;
    return checkBandPlans(work, run);
}

// Every question comes before the first command, so that No leaves the scanner as it was.
Task<bool> confirmSend(JobContext& cx, const SendRun& run) {
    const SendRequest& rq = run.request;
    if (rq.items.frequencies) {
        if (cx.options().expert != 1) {
            // Built before the co_await: a conditional's temporaries inside one are not safe
            // with every compiler.
            std::string question;
            if (rq.plan)
                question = "Please confirm sending the changes: " + DescribePlan(*rq.plan) +
                           ".\nAre you sure?";
            else
                question = "Please confirm data upload.\nChannels: " +
                           std::to_string(run.first + 1) + " / " + std::to_string(run.last) +
                           "\nAre you sure?";
            const bool yes = co_await cx.ask("Send Data", std::move(question), false);
            if (!yes) co_return false;
        }
        // Changes clear nothing else, so the warning of a whole send does not apply.
        if (rq.area == TransferArea::AllBanks && cx.result.singleBankFlag && !rq.plan) {
            const bool yes = co_await cx.ask("Send Data",
                                             "WARNING: Please re-confirm data upload.\nYou "
                                             "previously downloaded 1 bank and now "
                                             "you want to upload all banks.\nAll remaining "
                                             "channels will be cleared!\nAre you "
                                             "sure?",
                                             true);
            if (!yes) co_return false;
            cx.result.singleBankFlag = false;
        }
    } else if (rq.items.trunkIds && rq.area == TransferArea::AllBanks && cx.result.singleBankFlag &&
               !rq.plan) {
        const bool yes = co_await cx.ask(
            "Send Data",
            "WARNING: Please re-confirm data upload.\nYou previously downloaded trunk data "
            "from "
            "one bank and now you want to upload all banks.\nAll remaining trunk id's will be "
            "cleared!\nAre you sure?",
            true);
        if (!yes) co_return false;
        cx.result.singleBankFlag = false;
    }
    co_return true;
}

bool scannerTypeDiffers(const JobContext& cx, int bank) {
    const auto b = static_cast<std::size_t>(bank);
    if (!cx.scanner.known[b]) return true;
    return TrunkTypeOf(cx.scanner.codes[b]) != TypeOf(cx.work, bank);
}

// The type commands of a bank: always with the bank's own band plan, so that no phase sends a
// plan over the one the user set.
std::vector<WireLine> typeCommands(const Image& work, int bank) {
    return TrunkTypeCommands(bank, TypeOf(work, bank), false,
                             &work.TrunkBase[static_cast<std::size_t>(bank)]);
}

// Notes what the scanner holds for the bank's type after its type commands were sent.
void noteTypeSent(JobContext& cx, int bank, bool confirmed) {
    const auto b = static_cast<std::size_t>(bank);
    cx.scanner.codes[b] = confirmed ? cx.work.TrunkType[b] : std::string();
    cx.scanner.known[b] = confirmed;
}

Task<void> sendTrunkTypeIfNeeded(JobContext& cx, int bank) {
    if (cx.options().option[8] == 1 || !scannerTypeDiffers(cx, bank)) co_return;
    const std::vector<WireLine> lines = typeCommands(cx.work, bank);
    if (lines.empty()) co_return;
    cx.status(kSettingTrunkType);
    bool all = true;
    for (const WireLine& line : lines) {
        const bool ok =
            co_await cx.confirmed(line, "\"" + line.text + "\" (the trunk type of bank " +
                                            std::to_string(bank + 1) + ")");
        all = ok && all;
    }
    co_await cx.link.wait(cx.settle());
    noteTypeSent(cx, bank, all);
}

// What the scanner holds should the send end before `channel` is written in full.
std::string channelMix(const SendRun& run, int channel) {
    const int first = run.first + 1;
    std::string note = "The scanner now holds a mix of old and new channels: ";
    if (run.request.plan)
        return note + "the changed channels before channel " + ChannelDigits(channel) +
               " are new, from channel " + ChannelDigits(channel) +
               " on it holds its old channels (channel " + ChannelDigits(channel) +
               " may be half written).";
    if (channel > first)
        note +=
            "channels " + ChannelDigits(first) + " to " + ChannelDigits(channel - 1) + " are new, ";
    note += "from channel " + ChannelDigits(channel) + " on it holds its old channels (channel " +
            ChannelDigits(channel) + " may be half written).";
    return note;
}

std::string sentBefore(const SendRun& run) {
    return run.request.items.frequencies ? "All channels were sent. " : std::string();
}

// Whether a channel goes out: every one of the run, or the planned ones of a send of changes.
bool planned(const SendRun& run, int channel) {
    return !run.request.plan || run.request.plan->channels[static_cast<std::size_t>(channel)];
}
// How many channels of first..end-1 go out.
int planned(const SendRun& run, int first, int end) {
    int n = 0;
    for (int ch = first; ch < end; ++ch) n += planned(run, ch) ? 1 : 0;
    return n;
}

Task<bool> sendChannels(JobContext& cx, SendRun& run) {
    constexpr std::string_view kPhase = "Sending channels";
    for (int b = 0; b < kScannerBanks; ++b) {
        bool any = false;
        for (int s = 1; s <= ChannelsPerBank; ++s)
            any = any || cx.work.channel(b, s)[kFieldTrunk] == "1";
        run.hasTrunkChannels[static_cast<std::size_t>(b)] = any;
    }
    cx.link.discardInput();
    cx.link.send("KEY07");
    co_await cx.link.wait(cx.delay1());
    cx.link.send("KEY07");
    co_await cx.link.wait(cx.delay1());
    cx.link.discardInput();
    cx.txLog.start(cx.file("txlog.txt"));
    cx.link.resetRetries();
    const int total = planned(run, run.first + 1, run.last + 1);
    const long pauseMs = std::lround(cx.settle() / 1000.0) * 1000;
    int channel = run.first + 1;
    while (channel <= run.last) {
        if (!planned(run, channel)) {
            ++channel;
            continue;
        }
        const int bank = BankOfChannel(channel);
        const int slot = SlotOfChannel(channel);
        const Channel& c = cx.work.channel(bank, slot);
        const int done = planned(run, run.first + 1, channel);
        // A send of changes starts each bank at its first changed channel.
        const bool firstOfBank = run.request.plan
                                     ? planned(run, bank * ChannelsPerBank + 1, channel) == 0
                                     : (channel - 1) % ChannelsPerBank == 0;
        const bool bankTrunked = run.hasTrunkChannels[static_cast<std::size_t>(bank)];
        cx.where = channelName(channel);
        cx.mixNote = channelMix(run, channel);
        if (firstOfBank && bankTrunked) co_await sendTrunkTypeIfNeeded(cx, bank);
        if (firstOfBank) cx.link.send(ChannelReadCommand(channel));
        co_await cx.link.wait(cx.delay1());
        cx.link.discardInput();

        const std::string wire =
            WireFrequency(c[kFieldFrequency]).value_or(std::string(kEmptyWireFrequency));
        const std::string command = ChannelWriteCommand(channel, wire, c[kFieldTrunk] == "1");
        cx.txLog.line(command + " ts:" + c[kFieldTrunk] + " chanid:" + std::to_string(channel) +
                      " bank:" + std::to_string(bank) + " ch:" + std::to_string(slot) +
                      " tyes:" + (bankTrunked ? "1" : "0") +
                      " ttype:" + cx.work.TrunkType[static_cast<std::size_t>(bank)] +
                      " ttyper:" + cx.scanner.codes[static_cast<std::size_t>(bank)]);
        co_await cx.link.wait(cx.delay1());
        cx.showChannel(channel, done, total, kPhase);

        // The write, then lockout and delay; any of them unanswered or refused writes the
        // channel again from the start.
        std::vector<std::string> steps{command};
        if (wire != kEmptyWireFrequency) {
            steps.push_back(LockoutCommand(c[kFieldLockout]));
            steps.push_back(DelayCommand(c[kFieldDelay]));
        }
        bool again = false;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string& step = steps[i];
            Reply reply = co_await cx.link.request(step);
            if (!reply.timedOut) cx.showReply(reply.text, i == 0);
            if (!reply.timedOut && !IsRefusal(reply.text)) continue;
            if (!reply.timedOut)
                cx.txLog.line("ERR reply to " + step + ": " + WithoutLineEnds(reply.text));
            const bool retried = co_await cx.retryOrGiveUp(
                step, reply.timedOut, channelReplyProblem(cx.channel, reply.text));
            if (!retried) co_return false;
            again = true;
            break;
        }
        if (again) continue;
        co_await cx.link.wait(pauseMs);
        cx.link.discardInput();
        cx.link.resetRetries();
        ++channel;
    }
    cx.showChannel(run.last, total, total, kPhase);
    cx.txLog.close();
    co_return true;
}

Task<void> sendTrunkSettings(JobContext& cx, const SendRun& run) {
    const auto [firstBank, lastBank] = run.banks();
    for (int b = firstBank; b <= lastBank; ++b) {
        if (run.request.plan && !run.request.plan->bankSettings[static_cast<std::size_t>(b)])
            continue;
        cx.status(" Sending Trunk settings bank: " + std::to_string(b + 1));
        cx.where = "the trunk settings of bank " + std::to_string(b + 1);
        cx.mixNote = sentBefore(run) +
                     "The scanner now holds a mix of old and new trunk settings from bank " +
                     std::to_string(b + 1) + " on.";
        const std::size_t lostBefore = cx.lost.size();
        for (const WireLine& line : BankSettingCommands(cx.work, b))
            co_await cx.confirmed(line, "\"" + line.text + "\" of bank " + std::to_string(b + 1));
        // The type went out with the bank's own plan: later phases need not send it again.
        if (!typeCommands(cx.work, b).empty()) noteTypeSent(cx, b, cx.lost.size() == lostBefore);
    }
}

// Sends one trunk ID command and gives what TRUNCK8.TXT notes of it.
Task<std::string> sendTrunkIdCommand(JobContext& cx, const std::string& command) {
    if (cx.options().option[10] == 1) {
        cx.link.discardInput();
        cx.link.send(command);
        // Replies are not waited for; a refusal that came in the meantime still counts.
        co_await cx.link.wait(cx.settle());
        if (!IsRefusal(cx.link.takeInput())) co_return std::string("sent");
        cx.lost.push_back("\"" + command + "\" (refused)");
        co_return std::string("ERR");
    }
    const std::string reply = co_await cx.answerOf(command);
    if (reply.empty()) {
        cx.lost.push_back("\"" + command + "\" (no answer)");
        co_return std::string("timeout");
    }
    cx.showReply(reply);
    if (IsRefusal(reply)) {
        cx.lost.push_back("\"" + command + "\" (refused)");
        co_return std::string("ERR");
    }
    if (reply.find("OK") != std::string::npos) co_return std::string("OK");
    co_return WithoutLineEnds(reply);
}

Task<void> sendTrunkIds(JobContext& cx, const SendRun& run) {
    const SendRequest& rq = run.request;
    auto [firstBank, lastBank] = run.banks();
    // A send of changes walks only the banks whose IDs changed.
    if (rq.plan) {
        while (firstBank <= lastBank && !rq.plan->hasTrunkIdsIn(firstBank)) ++firstBank;
        while (lastBank >= firstBank && !rq.plan->hasTrunkIdsIn(lastBank)) --lastBank;
        if (firstBank > lastBank) co_return;
    }
    const int firstSlot = firstBank * kTrunkIdUsedRows;
    const int lastSlot = lastBank * kTrunkIdUsedRows + kTrunkIdUsedRows - 1;
    cx.link.discardInput();
    cx.link.send("MA001");
    co_await cx.link.wait(cx.settle());
    cx.trunkLog.start(cx.file("TRUNCK8.TXT"));
    cx.trunkLog.line("start: " + std::to_string(firstSlot));
    cx.trunkLog.line("end: " + std::to_string(lastSlot));
    cx.trunkLog.line("bank_ida: " + std::to_string(firstBank));
    cx.trunkLog.line("bank_id: " + std::to_string(lastBank));
    cx.trunkLog.line("idtje: " + std::to_string(lastSlot - firstSlot + 1));
    for (int b = firstBank; b <= lastBank; ++b)
        if (!rq.plan || rq.plan->hasTrunkIdsIn(b)) co_await sendTrunkTypeIfNeeded(cx, b);
    cx.link.discardInput();
    cx.link.send("TG " + std::string(1, BankLetter(firstBank)) + " A0");
    co_await cx.link.wait(cx.settle());
    cx.link.discardInput();

    const int total = lastSlot - firstSlot + 1;
    for (int slot = firstSlot; slot <= lastSlot; ++slot) {
        const int bank = slot / kTrunkIdUsedRows;
        const int row = slot % kTrunkIdUsedRows;
        if (rq.plan && !rq.plan->hasTrunkId(bank, row)) continue;
        cx.where = IdName(bank, row);
        const std::string& id =
            cx.work.TrunkId[static_cast<std::size_t>(bank)][static_cast<std::size_t>(row)][0];
        std::string command;
        if (IsEmptyTrunkId(id)) {
            // Without "delid" an empty row leaves the scanner's ID alone.
            if (cx.options().delid != 1) continue;
            cx.status("Delete ID:");
            command = TrunkIdDeleteCommand(bank, row);
        } else {
            cx.status("Sending trunkdata ");
            command = TrunkIdWriteCommand(bank, row, id);
        }
        cx.showCount(slot - firstSlot, total, "Sending trunk IDs");
        cx.mixNote = sentBefore(run) +
                     "The scanner now holds a mix of old and new trunk IDs from " +
                     IdName(bank, row) + " on.";
        const std::string outcome = co_await sendTrunkIdCommand(cx, command);
        cx.trunkLog.line(command + " " + outcome);
        cx.trunkLog.line("DATA id: " + outcome);
    }
    cx.trunkLog.close();
}

}  // namespace

Task<void> sendJob(JobContext& cx, SendRequest request) {
    cx.result.singleBankFlag = request.singleBankFlag;
    co_await cx.link.wait(0);
    SendRun run;
    run.request = std::move(request);
    const SendRequest& rq = run.request;
    if (std::string problem = checkSend(cx.work, run); !problem.empty()) {
        cx.refuse(problem);
        co_return;
    }
    const bool go = co_await confirmSend(cx, run);
    if (!go) {
        cx.refuse({});
        co_return;
    }
    if (!cx.ensureOpen()) co_return;
    const bool detected = co_await cx.checkScanner();
    if (!detected) {
        cx.refuse(kNoScannerSend, "Error");
        co_return;
    }
    if (cx.options().linkbank == 1) {
        if (const std::optional<std::string> sb = ActiveBanksCommand(cx.work)) {
            const std::string reply = co_await cx.answerOf(*sb);
            if (reply.empty() || IsRefusal(reply))
                cx.lost.push_back("\"" + *sb + "\" (the active banks, " +
                                  (reply.empty() ? "no answer)" : "refused)"));
        }
    }
    // A type that could not be read counts as differing: the bank's own type is sent.
    if (cx.options().option[8] != 1 && (!rq.reuseTrunkTypes || !cx.scanner.valid))
        co_await readTrunkTypes(cx);
    if (rq.items.frequencies) {
        const bool ok = co_await sendChannels(cx, run);
        if (!ok) co_return;
    }
    if (rq.items.trunkSettings) co_await sendTrunkSettings(cx, run);
    if (rq.items.trunkIds) co_await sendTrunkIds(cx, run);
    cx.link.discardInput();
    cx.mixNote.clear();
    cx.where.clear();
    if (cx.failIfLost("commands; what they carry is not in the scanner")) co_return;
    cx.result.outcome = TransferOutcome::Completed;
    cx.status("Sending data Ok");
}

Task<void> deleteBankJob(JobContext& cx, int b) {
    constexpr std::string_view kPhase = "Clearing channels";
    co_await cx.link.wait(0);
    if (b < 0 || b >= kScannerBanks) {
        cx.refuse(kSelectDeleteBank);
        co_return;
    }
    const int first = ChannelsPerBank * b + 1;
    const int last = first + ChannelsPerBank - 1;
    if (cx.options().expert != 1) {
        const bool yes = co_await cx.ask("Delete Bank",
                                         "You selected to delete all data in bank " +
                                             std::to_string(b + 1) + ".\n" + std::to_string(first) +
                                             " / " + std::to_string(last) + "\nAre you sure?",
                                         true);
        if (!yes) {
            cx.refuse({});
            co_return;
        }
    }
    if (!cx.ensureOpen()) co_return;
    const bool detected = co_await cx.checkScanner();
    if (!detected) {
        cx.refuse(kNoScannerDelete, "Error");
        co_return;
    }
    cx.link.discardInput();
    for (int ch = first; ch <= last; ++ch) {
        co_await cx.link.wait(cx.settle());
        cx.showChannel(ch, ch - first, last - first + 1, kPhase);
        cx.status("Delete Channel " + std::to_string(ch));
        cx.link.send(ChannelClearCommand(ch));
    }
    co_await cx.link.wait(cx.settle());
    const bool refused = IsRefusal(cx.link.input());
    cx.link.discardInput();
    cx.status("");
    if (refused) {
        cx.fail("The scanner refused to clear some channels of bank " + std::to_string(b + 1) +
                ": they may still hold their old frequencies.");
        co_return;
    }
    cx.result.outcome = TransferOutcome::Completed;
}

}  // namespace vex
