// Reading the scanner into the work image: channels, trunk IDs, trunk settings and the
// priority channels.
#include <algorithm>
#include <utility>

#include "core/numeric.h"
#include "link/protocol.h"
#include "link/session_jobs.h"
#include "link/trunk_groups.h"
#include "trunk/trunk_types.h"

namespace vex {

namespace {

constexpr std::string_view kNoScannerRead =
    "No scanner detected at comport. Check baudrate/comport/scanner is in remote mode";
constexpr std::string_view kSelectDownloadData = "Please select which data you want to download.";
constexpr std::string_view kSelectDownloadBank = "Please select which bank you want to download.";

void clearChannelForRead(Channel& channel) {
    channel[kFieldNumber].clear();
    EmptyChannel(channel);
}

// The run of channels a read covers: `first` is asked first, from `storeFrom` on the answers
// are kept.
struct ChannelRun {
    int first = 1;
    int storeFrom = 1;
    int last = kTotalChannels;
};

Task<void> readSingleBankPriority(JobContext& cx, int b) {
    cx.status("Reading priority channel");
    cx.link.discardInput();
    cx.link.send(PriorityReadCommand(b));
    co_await cx.link.wait(100);
    if (const auto pc = ParsePriorityReply(cx.link.takeInput(), b)) {
        cx.work.PriorityChannel[static_cast<std::size_t>(b)] = static_cast<std::int16_t>(*pc);
        cx.result.read.priorities[static_cast<std::size_t>(b)] = true;
    }
}

// Clears what the read replaces and gives the run of channels.
Task<ChannelRun> prepareChannels(JobContext& cx, const ReadRequest& rq) {
    ChannelRun run;
    if (rq.area == TransferArea::AllBanks) {
        cx.result.singleBankFlag = false;
        if (!rq.merge)
            for (int b = 0; b < kScannerBanks; ++b)
                for (int s = 1; s <= ChannelsPerBank; ++s)
                    clearChannelForRead(cx.work.channel(b, s));
    } else if (rq.area == TransferArea::SingleBank) {
        cx.result.singleBankFlag = true;
        const int b = rq.bank;
        co_await readSingleBankPriority(cx, b);
        if (!rq.merge)
            for (int s = 1; s <= ChannelsPerBank; ++s) clearChannelForRead(cx.work.channel(b, s));
        // The run starts with the last channel of the bank before (as a first request that is
        // not stored), then reads the bank's own fifty.
        run.storeFrom = b * ChannelsPerBank + 1;
        run.first = b == 0 ? 1 : b * ChannelsPerBank;
        run.last = b * ChannelsPerBank + ChannelsPerBank;
    } else {
        cx.result.singleBankFlag = false;
        int start = std::clamp(rq.rangeStart, 1, kTotalChannels);
        int end = std::clamp(rq.rangeEnd, 1, kTotalChannels);
        if (start > end) std::swap(start, end);
        run.first = run.storeFrom = start;
        run.last = end;
    }
    co_return run;
}

Task<bool> readChannels(JobContext& cx, const ReadRequest& rq) {
    constexpr std::string_view kPhase = "Reading channels";
    const ChannelRun run = co_await prepareChannels(cx, rq);
    cx.link.resetRetries();
    cx.link.discardInput();
    cx.rxLog.start(cx.file("rxdat.txt"));
    const int total = run.last - run.first + 1;
    int channel = run.first;
    bool firstRequest = true;
    while (channel <= run.last) {
        cx.showChannel(channel, channel - run.first, total, kPhase);
        std::string command;
        if (firstRequest) {
            command = ChannelFirstReadCommand(channel);
        } else {
            command = ChannelReadCommand(channel);
            cx.rxLog.line(command + " " + std::to_string(BankOfChannel(channel)));
        }
        Reply reply = co_await cx.link.request(command);
        firstRequest = false;
        if (reply.timedOut) {
            const bool again = co_await cx.retryOrGiveUp(command, true, {});
            if (!again) co_return false;
            continue;
        }
        cx.showReply(reply.text);
        const int bank = BankOfChannel(channel);
        const int slot = SlotOfChannel(channel);
        cx.rxLog.line("FD:1 " + std::to_string(bank) + " " + std::to_string(slot) + " " +
                      WithoutLineEnds(reply.text));
        ChannelReply parsed;
        if (ParseChannelReply(reply.text, channel, parsed) != ReplyStatus::Ok) {
            cx.rxLog.line("channelmarker not found ");
            const bool again = co_await cx.retryOrGiveUp(
                command, false, channelReplyProblem(cx.channel, reply.text));
            if (!again) co_return false;
            continue;
        }
        cx.rxLog.line("channelmarker found ");
        if (channel >= run.storeFrom) {
            ApplyChannelReply(parsed, cx.work.channel(bank, slot));
            cx.result.read.channels.set(static_cast<std::size_t>(channel));
            cx.readSomething = true;
        }
        cx.link.resetRetries();
        ++channel;
    }
    cx.showChannel(run.last, total, total, kPhase);
    cx.rxLog.close();
    co_return true;
}

Task<bool> readTrunkIds(JobContext& cx, const ReadRequest& rq) {
    const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
    if (!rq.merge)
        for (int b = firstBank; b <= lastBank; ++b)
            for (auto& row : cx.work.TrunkId[static_cast<std::size_t>(b)])
                for (auto& field : row) field.clear();
    if (rq.area == TransferArea::SingleBank)
        cx.result.singleBankFlag = true;
    else if (rq.area == TransferArea::AllBanks || rq.area == TransferArea::ChannelRange)
        cx.result.singleBankFlag = false;

    // A first command to wake the ID table; its answer is not used.
    Reply wake = co_await cx.link.request("TG A Q0");
    if (!wake.timedOut) cx.showReply(wake.text, false);
    co_await cx.link.wait(cx.settle());
    cx.link.discardInput();
    cx.link.resetRetries();

    const int firstSlot = firstBank * kTrunkIdUsedRows;
    const int lastSlot = lastBank * kTrunkIdUsedRows + kTrunkIdUsedRows - 1;
    int slot = firstSlot;
    while (slot <= lastSlot) {
        const int bank = slot / kTrunkIdUsedRows;
        const int row = slot % kTrunkIdUsedRows;
        if (TypeOf(cx.work, bank) == kTrunkUnknown) {
            slot = (bank + 1) * kTrunkIdUsedRows;
            continue;
        }
        cx.status("Read ID list / " + std::to_string(slot));
        cx.where = IdName(bank, row);
        cx.showCount(slot - firstSlot, lastSlot - firstSlot + 1, "Reading trunk IDs");
        const std::string command = TrunkIdReadCommand(bank, row);
        Reply reply = co_await cx.link.request(command);
        if (reply.timedOut) {
            const bool again = co_await cx.retryOrGiveUp(command, true, {});
            if (!again) co_return false;
            continue;
        }
        cx.showReply(reply.text, false);
        const std::optional<std::string> id = ParseTrunkIdReply(reply.text, bank, row);
        if (!id) {
            const bool again = co_await cx.retryOrGiveUp(command, false,
                                                         "The scanner's reply for " + cx.where +
                                                             " could not be read: \"" +
                                                             WithoutLineEnds(reply.text) + "\".");
            if (!again) co_return false;
            continue;
        }
        cx.work.TrunkId[static_cast<std::size_t>(bank)][static_cast<std::size_t>(row)][0] = *id;
        cx.result.read.trunkIds.set(static_cast<std::size_t>(slot));
        cx.readSomething = true;
        cx.link.resetRetries();
        co_await cx.link.wait(cx.delay1());
        ++slot;
    }
    cx.status("ID read Ok");
    cx.namesRead = true;
    co_return true;
}

using SettingParse = std::function<bool(const std::string&)>;

// The polled reads of one bank's settings that its type carries, each with where its answer
// goes.
std::vector<std::pair<std::string, SettingParse>> settingReads(
    int b, int type, std::array<std::string, kTrunkSettingFields>& setting) {
    auto* target = &setting;
    auto field = [target](int index, auto parser) -> SettingParse {
        return [target, index, parser](const std::string& reply) {
            const std::optional<std::string> value = parser(reply);
            if (value) (*target)[static_cast<std::size_t>(index)] = *value;
            return value.has_value();
        };
    };
    auto flag = [](std::string_view command) {
        return [command](const std::string& reply) { return ParseFlagReply(reply, command); };
    };
    std::vector<std::pair<std::string, SettingParse>> reads;
    if (HasControlChannel(type))
        reads.emplace_back(ControlChannelReadCommand(b), field(0, [](const std::string& r) {
                               return ParseControlChannelReply(r);
                           }));
    if (ReadsMotorolaFlags(type)) {
        reads.emplace_back("BT", field(1, flag("BT")));
        reads.emplace_back("TD", field(2, flag("TD")));
    }
    if (HasAfsFlag(type)) reads.emplace_back("AF", field(1, flag("AF")));
    return reads;
}

Task<void> readTrunkSettings(JobContext& cx, const ReadRequest& rq) {
    const auto [firstBank, lastBank] = BanksOf(rq.area, rq.bank, rq.rangeStart, rq.rangeEnd);
    std::array<bool, kScannerBanks> complete{};
    auto lost = [&cx, &complete](int b, const std::string& command) {
        complete[static_cast<std::size_t>(b)] = false;
        cx.lost.push_back("\"" + command + "\" of bank " + std::to_string(b + 1) +
                          " (no usable answer)");
    };
    for (int b = firstBank; b <= lastBank; ++b) complete[static_cast<std::size_t>(b)] = true;
    for (int b = firstBank; b <= lastBank; ++b) {
        cx.where = "the trunk settings of bank " + std::to_string(b + 1);
        auto& setting = cx.work.TrunkSetting[static_cast<std::size_t>(b)];
        cx.link.discardInput();
        cx.link.send(ChannelReadCommand(b * ChannelsPerBank + 1));
        co_await cx.link.poll(cx.settle());
        cx.link.send(BankSelectCommand(b));
        co_await cx.link.poll(cx.settle());
        cx.status("Reading Trunk Settings Bank:" + std::to_string(b + 1));
        const auto reads = settingReads(b, TypeOf(cx.work, b), setting);
        for (std::size_t i = 0; i < reads.size(); ++i) {
            const bool ok = co_await cx.pollSetting(reads[i].first, reads[i].second);
            if (ok)
                cx.readSomething = true;
            else
                lost(b, reads[i].first);
        }
    }
    cx.status("Reading Trunk Settings Ok");
    for (int b = firstBank; b <= lastBank; ++b) {
        if (!HasBaseLines(TypeOf(cx.work, b))) continue;
        cx.status("Reading Base/Offset: " + std::to_string(b + 1));
        auto& rows = cx.work.TrunkBase[static_cast<std::size_t>(b)];
        for (int n = 1; n <= kTrunkBaseRows; ++n) {
            auto& row = rows[static_cast<std::size_t>(n - 1)];
            const bool ok = co_await cx.pollSetting(
                BaseLineReadCommand(b, n),
                [&row](const std::string& r) { return ParseBaseLineReply(r, row); });
            if (!ok) lost(b, BaseLineReadCommand(b, n));
        }
    }
    for (int b = firstBank; b <= lastBank; ++b) {
        if (!HasFleetMap(TypeOf(cx.work, b))) continue;
        cx.status("Reading fleetmap: " + std::to_string(b + 1));
        auto& setting = cx.work.TrunkSetting[static_cast<std::size_t>(b)];
        auto& blocks = cx.work.TrunkBase[static_cast<std::size_t>(b)][0];
        const int preset = setting[7].empty() ? -1 : IntegerValue(setting[7]);
        if (preset >= 1 && preset <= kFleetMapPresets) {
            const FleetMapBlocks& codes = FleetMapPreset(preset);
            for (int k = 0; k < kFleetMapBlocks; ++k)
                blocks[static_cast<std::size_t>(k)] =
                    std::to_string(codes[static_cast<std::size_t>(k)]);
            continue;
        }
        std::array<std::string, 8> read;
        const bool ok = co_await cx.pollSetting(
            FleetMapReadCommand(b),
            [&read, b](const std::string& r) { return ParseFleetMapReply(r, b, read); });
        if (ok) {
            for (int k = 0; k < kFleetMapBlocks; ++k)
                blocks[static_cast<std::size_t>(k)] = read[static_cast<std::size_t>(k)];
        } else {
            lost(b, FleetMapReadCommand(b));
        }
    }
    cx.result.read.trunkSettings = complete;
    cx.link.discardInput();
}

Task<void> readPriorities(JobContext& cx) {
    cx.status("Reading Prio Channels");
    for (int b = 0; b < kScannerBanks; ++b) {
        std::optional<int> channel;
        const bool ok =
            co_await cx.pollSetting(PriorityReadCommand(b), [&channel, b](const std::string& r) {
                channel = ParsePriorityReply(r, b);
                return channel.has_value();
            });
        if (ok) {
            cx.work.PriorityChannel[static_cast<std::size_t>(b)] =
                static_cast<std::int16_t>(*channel);
            cx.result.read.priorities[static_cast<std::size_t>(b)] = true;
        } else {
            cx.lost.push_back("\"" + PriorityReadCommand(b) + "\" (the priority channel of bank " +
                              std::to_string(b + 1) + ")");
        }
    }
}

// The choices a read needs; an empty text when it may go ahead.
std::string_view checkRead(const ReadRequest& rq) {
    const TransferItems& items = rq.items;
    if (!items.frequencies && !items.trunkIds && !items.trunkSettings) return kSelectDownloadData;
    if ((items.frequencies || items.trunkIds) && rq.area == TransferArea::None) return kSelectArea;
    if ((items.frequencies || items.trunkIds) && rq.area == TransferArea::SingleBank &&
        (rq.bank < 0 || rq.bank >= kScannerBanks))
        return kSelectDownloadBank;
    return {};
}

}  // namespace

Task<void> readJob(JobContext& cx, ReadRequest rq) {
    // Whatever the outcome, the result carries the flag as it then stands.
    cx.result.singleBankFlag = rq.singleBankFlag;
    co_await cx.link.wait(0);
    if (const std::string_view problem = checkRead(rq); !problem.empty()) {
        cx.refuse(problem);
        co_return;
    }
    if (!cx.ensureOpen()) co_return;

    const bool detected = co_await cx.checkScanner();
    if (!detected && cx.options().option[7] != 1) {
        cx.refuse(kNoScannerRead, "Error");
        co_return;
    }
    bool typesKnown = rq.reuseTrunkTypes && cx.scanner.valid;
    if (!typesKnown) typesKnown = co_await readTrunkTypes(cx);
    if (typesKnown) takeScannerTypes(cx);

    // Only the trunk steps need the scanner's types; the channels are read without them.
    if (rq.items.frequencies) {
        const bool ok = co_await readChannels(cx, rq);
        if (!ok) co_return;
    }
    if (!typesKnown) {
        if (rq.items.trunkIds || rq.items.trunkSettings) {
            cx.fail(std::string(kTrunkTypeFailed) +
                    " The trunk IDs and trunk settings need the scanner's trunk types; they "
                    "were not read.");
            co_return;
        }
        cx.warn(std::string(kTrunkTypeFailed) + " The image keeps its own trunk types.");
    }
    if (rq.items.trunkIds) {
        const bool ok = co_await readTrunkIds(cx, rq);
        if (!ok) co_return;
    }
    if (rq.idListTags) {
        const bool ok = co_await readIdListTags(cx);
        if (!ok) co_return;
    }
    if (rq.items.trunkSettings) co_await readTrunkSettings(cx, rq);
    co_await readPriorities(cx);
    cx.link.discardInput();
    cx.readSomething = true;
    if (cx.failIfLost("reads; these settings were not read")) co_return;
    cx.result.outcome = TransferOutcome::Completed;
    cx.status("Reading data Ok");
}

}  // namespace vex
