#include "link/kept_image.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <system_error>
#include <vector>

#include "core/memfile.h"
#include "link/protocol.h"
#include "trunk/trunk_types.h"

namespace vex {
namespace {

constexpr std::size_t kNameLength = 40;

std::uint32_t Checksum(std::string_view text) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

bool IsPlain(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The channels and banks a send covers, as the send itself computes them.
struct SendSpan {
    int firstChannel = 1;
    int lastChannel = kTotalChannels;
    int firstBank = 0;
    int lastBank = kScannerBanks - 1;
};

SendSpan SpanOf(const SendRequest& rq) {
    SendSpan span;
    if (rq.area == TransferArea::SingleBank) {
        span.firstChannel = rq.bank * ChannelsPerBank + 1;
        span.lastChannel = span.firstChannel + ChannelsPerBank - 1;
        span.firstBank = span.lastBank = rq.bank;
    } else if (rq.area == TransferArea::ChannelRange) {
        const int start = std::clamp(rq.rangeStart, 1, 1000);
        const int end = std::clamp(rq.rangeEnd, 1, 1000);
        span.firstChannel = std::min(std::min(start, end), kTotalChannels);
        span.lastChannel = std::min(std::max(start, end), kTotalChannels);
        span.firstBank = BankOfChannel(span.firstChannel);
        span.lastBank = BankOfChannel(span.lastChannel);
    }
    return span;
}

bool CoversEverything(const SendRequest& rq) {
    const SendSpan span = SpanOf(rq);
    return rq.items.frequencies && rq.items.trunkIds && rq.items.trunkSettings &&
           span.firstChannel == 1 && span.lastChannel == kTotalChannels;
}

bool ReadCoversEverything(const TransferResult& result) {
    const ReadCoverage& read = result.read;
    for (int ch = 1; ch <= kTotalChannels; ++ch)
        if (!read.channels[static_cast<std::size_t>(ch)]) return false;
    // A bank without a trunk system has no IDs to read.
    for (int b = 0; b < kScannerBanks; ++b)
        for (int row = 0; row < kTrunkIdUsedRows; ++row)
            if (!read.trunkIds[static_cast<std::size_t>(b * kTrunkIdUsedRows + row)] &&
                TrunkTypeOf(result.image.TrunkType[static_cast<std::size_t>(b)]) != 0)
                return false;
    return read.trunkTypes && std::all_of(read.trunkSettings.begin(), read.trunkSettings.end(),
                                          [](bool b) { return b; });
}

}  // namespace

std::string KeptImageFileName(std::string_view identification) {
    std::string name;
    for (unsigned char c : identification) {
        if (name.size() >= kNameLength) break;
        if (IsPlain(c)) {
            name += static_cast<char>(c);
        } else if (!name.empty() && name.back() != '-') {
            name += '-';
        }
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    if (name.empty()) name = "unnamed";
    char sum[9];
    std::snprintf(sum, sizeof sum, "%08x", static_cast<unsigned>(Checksum(identification)));
    return "scanner-" + name + "-" + sum + ".mem";
}

std::filesystem::path KeptImagePath(const std::filesystem::path& folder,
                                    std::string_view identification) {
    return folder / KeptImageFileName(identification);
}

KeptImage LoadKeptImage(const std::filesystem::path& folder, std::string_view identification) {
    KeptImage kept;
    Image image;
    ClearForStartup(image);
    SetStartupBankTags(image);
    const MemReadResult read = ReadMemFile(image, KeptImagePath(folder, identification), {});
    if (read.fileMissing) return kept;
    // A damaged file is no record of the scanner at all.
    if (!read.ok) {
        kept.problem = KeptImageFileName(identification) + ": " + read.message;
        return kept;
    }
    kept.image = std::move(image);
    return kept;
}

WriteResult KeepImage(const std::filesystem::path& folder, std::string_view identification,
                      const Image& image) {
    const MemWriteResult written = WriteMemFile(image, KeptImagePath(folder, identification), {});
    return {written.ok, written.error};
}

bool ForgetKeptImage(const std::filesystem::path& folder, std::string_view identification) {
    std::error_code ec;
    std::filesystem::remove(KeptImagePath(folder, identification), ec);
    return !ec;
}

void ForgetAllKeptImages(const std::filesystem::path& folder) {
    std::error_code ec;
    std::vector<std::filesystem::path> kept;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("scanner-", 0) == 0 && name.size() > 4 &&
            name.compare(name.size() - 4, 4, ".mem") == 0)
            kept.push_back(it->path());
    }
    for (const auto& path : kept) std::filesystem::remove(path, ec);
}

std::optional<Image> HeldAfterRead(const std::optional<Image>& kept, const TransferResult& read) {
    if (kept) {
        Image held = *kept;
        TakeReadPart(read, held);
        return held;
    }
    if (ReadCoversEverything(read)) return read.image;
    return std::nullopt;
}

std::optional<Image> HeldAfterSend(const std::optional<Image>& kept, const Image& sent,
                                   const SendRequest& rq, const Options& options) {
    if (!kept && !CoversEverything(rq)) return std::nullopt;
    Image held = kept ? *kept : sent;
    const SendSpan span = SpanOf(rq);
    const SendPlan* plan = rq.plan ? &*rq.plan : nullptr;
    if (rq.items.frequencies)
        for (int ch = span.firstChannel; ch <= span.lastChannel; ++ch) {
            if (plan && !plan->channels[static_cast<std::size_t>(ch)]) continue;
            held.channel(BankOfChannel(ch), SlotOfChannel(ch)) =
                sent.channel(BankOfChannel(ch), SlotOfChannel(ch));
        }
    for (int b = span.firstBank; b <= span.lastBank; ++b) {
        const auto bank = static_cast<std::size_t>(b);
        // Every phase sets the bank's trunk type where the scanner's differs.
        held.TrunkType[bank] = sent.TrunkType[bank];
        if (rq.items.trunkSettings && (!plan || plan->bankSettings[bank])) {
            held.TrunkSetting[bank] = sent.TrunkSetting[bank];
            held.TrunkBase[bank] = sent.TrunkBase[bank];
        }
        if (!rq.items.trunkIds) continue;
        for (int row = 0; row < kTrunkIdUsedRows; ++row) {
            if (plan && !plan->hasTrunkId(b, row)) continue;
            const auto r = static_cast<std::size_t>(row);
            // Without "delid" an empty row leaves the scanner's ID as it was.
            if (IsEmptyTrunkId(sent.TrunkId[bank][r][0]) && options.delid != 1) continue;
            held.TrunkId[bank][r] = sent.TrunkId[bank][r];
        }
    }
    return held;
}

std::string RecordRead(const std::filesystem::path& folder, std::string_view identification,
                       const TransferResult& read) {
    const std::optional<Image> held =
        HeldAfterRead(LoadKeptImage(folder, identification).image, read);
    if (!held) return {};
    if (const WriteResult written = KeepImage(folder, identification, *held); !written)
        return "The copy of the scanner's memory for Send Changes could not be written (" +
               KeptImageFileName(identification) + ": " + written.error + ").";
    return {};
}

std::string RecordSend(const std::filesystem::path& folder, std::string_view identification,
                       const Image& sent, const SendRequest& request, const Options& options,
                       TransferOutcome outcome) {
    if (outcome == TransferOutcome::Refused) return {};
    const std::string name = KeptImageFileName(identification);
    if (outcome != TransferOutcome::Completed) {
        if (ForgetKeptImage(folder, identification)) return {};
        return "The copy of the scanner's memory (" + name +
               ") could not be removed; delete it before using Send Changes.";
    }
    const std::optional<Image> held =
        HeldAfterSend(LoadKeptImage(folder, identification).image, sent, request, options);
    if (!held) return {};
    if (const WriteResult written = KeepImage(folder, identification, *held); !written) {
        // An older copy left in place would no longer match the scanner.
        ForgetKeptImage(folder, identification);
        return "The copy of the scanner's memory for Send Changes could not be written (" + name +
               ": " + written.error + ").";
    }
    return {};
}

}  // namespace vex
