// The scanner's own tables: bank names, trunk types and ID list tags.
#include <array>
#include <optional>

#include "link/protocol.h"
#include "link/session_jobs.h"

namespace vex {

namespace {

constexpr int kTrunkTypeMaxSteps = 7;
constexpr int kBankNameMaxSteps = 11;
constexpr int kListTagMaxSteps = 102;
// The ID list tag walk starts again after a time-out; a scanner that keeps failing it would
// otherwise hold the window for ever.
constexpr int kListTagMaxPasses = 3;
constexpr std::string_view kListTagTimeout = "ID list tag time-out!";

using ListTags =
    std::array<std::array<std::optional<std::string>, kListTagIndexes>, kListTagLetters>;

// The search-range names; nothing of this program uses them, so a silent scanner only ends
// their read.
Task<void> readSearchRangeNames(JobContext& cx) {
    for (int r = 0; r < kSearchRangeNames; ++r) {
        Reply reply = co_await cx.link.request(SearchRangeNameReadCommand(r));
        if (reply.timedOut) {
            cx.link.discardInput();
            break;
        }
        cx.showReply(reply.text, false);
        co_await cx.link.wait(cx.delay1());
        if (const auto name = ParseSearchRangeNameReply(reply.text, r))
            cx.result.searchRangeNames[static_cast<std::size_t>(r)] = *name;
    }
}

}  // namespace

Task<bool> readTrunkTypes(JobContext& cx) {
    cx.status("Reading trunk type");
    ScannerTypes& scanner = cx.scanner;
    scanner.valid = false;
    scanner.known.fill(false);
    scanner.codes.fill("");
    int steps = 0;
    int bank = 0;
    while (bank < kScannerBanks) {
        Reply reply = co_await cx.askBankStep(TrunkTypeReadCommand(bank));
        ++steps;
        cx.status("Read trunktype/" + std::to_string(steps));
        if (steps > kTrunkTypeMaxSteps) {
            cx.status(kTrunkTypeFailed);
            co_return false;
        }
        if (reply.timedOut) continue;
        const std::optional<std::string> name = ParseTrunkTypeReply(reply.text, bank);
        if (!name) continue;  // asked again at the next step
        if (const std::optional<std::string> code = TrunkTypeCodeForName(*name)) {
            scanner.codes[static_cast<std::size_t>(bank)] = *code;
            scanner.known[static_cast<std::size_t>(bank)] = true;
        }
        ++bank;
    }
    // Banks the scanner does not have count as having no trunk system.
    for (int b = kScannerBanks; b < kTrunkTypeCount; ++b) {
        scanner.codes[static_cast<std::size_t>(b)] = "0";
        scanner.known[static_cast<std::size_t>(b)] = true;
    }
    cx.status("Trunk type read Ok");
    scanner.valid = true;
    co_return true;
}

void takeScannerTypes(JobContext& cx) {
    cx.result.read.trunkTypes = true;
    for (int b = 0; b < kTrunkTypeCount; ++b)
        if (cx.scanner.known[static_cast<std::size_t>(b)])
            cx.work.TrunkType[static_cast<std::size_t>(b)] =
                cx.scanner.codes[static_cast<std::size_t>(b)];
}

// "&Get trunktype".
Task<void> trunkTypesJob(JobContext& cx) {
    co_await cx.link.wait(0);
    if (!cx.ensureOpen()) co_return;
    const bool typesRead = co_await readTrunkTypes(cx);
    if (!typesRead) {
        cx.fail(std::string(kTrunkTypeFailed), {});
        co_return;
    }
    takeScannerTypes(cx);
    cx.readSomething = true;
    cx.result.outcome = TransferOutcome::Completed;
}

Task<bool> readIdListTags(JobContext& cx) {
    constexpr int total = kListTagLetters * kListTagIndexes;
    int silent = 0;  // time-outs in a row, over restarts too
    for (int pass = 1;; ++pass) {
        ListTags tags{};
        int steps = 0;
        int repeats = 0;
        int refused = 0;
        int key = 0;
        while (key < total && steps < kListTagMaxSteps) {
            const int list = key / kListTagIndexes;
            const int index = key % kListTagIndexes;
            ++steps;
            cx.status("Read ID list tags/ " + std::to_string(steps));
            cx.showCount(key, total, "Reading ID list tags");
            Reply reply = co_await cx.link.request(ListTagReadCommand(list, index));
            if (reply.timedOut) {
                cx.link.discardInput();
                if (++silent >= kMaxTimeouts) {
                    cx.link.transport().close();
                    cx.fail(std::string(kCommunicationTimeoutMessage));
                    co_return false;
                }
            } else {
                silent = 0;
                cx.showReply(reply.text, false);
                co_await cx.link.wait(cx.delay1());
                const std::optional<std::string> tag = ParseListTagReply(reply.text, list, index);
                if (tag) {
                    tags[static_cast<std::size_t>(list)][static_cast<std::size_t>(index)] = *tag;
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
            cx.status("ID list read retry: " + std::to_string(repeats));
        }
        if (key == total) {
            cx.status("ID tags read Ok");
            for (int l = 0; l < kListTagLetters; ++l)
                for (int i = 0; i < kListTagIndexes; ++i)
                    if (const auto& tag =
                            tags[static_cast<std::size_t>(l)][static_cast<std::size_t>(i)])
                        cx.work
                            .ScanListTag[static_cast<std::size_t>(l)][static_cast<std::size_t>(i)] =
                            *tag;
            cx.result.read.listTags = true;
            if (refused > 0)
                cx.warn("The scanner refused " + std::to_string(refused) +
                        " ID list tags of banks 1 to 5; they keep their old text.");
            break;
        }
        cx.status(kListTagTimeout);
        if (pass == kListTagMaxPasses) {
            cx.fail(std::string(kListTagTimeout) +
                        " The scanner did not give all ID list tags in " +
                        std::to_string(kListTagMaxPasses) + " attempts.",
                    {});
            co_return false;
        }
    }
    cx.namesRead = true;
    cx.progress.done = cx.progress.total;
    cx.emitProgress();
    co_await readSearchRangeNames(cx);
    co_return true;
}

// "read ID lists tag".
Task<void> idListTagsJob(JobContext& cx) {
    co_await cx.link.wait(0);
    if (!cx.ensureOpen()) co_return;
    const bool ok = co_await readIdListTags(cx);
    if (!ok) co_return;
    cx.readSomething = true;
    cx.result.outcome = TransferOutcome::Completed;
}

// "&Get names": the names, then the trunk types, one bank at a time.
Task<void> bankNamesJob(JobContext& cx) {
    co_await cx.link.wait(0);
    if (!cx.ensureOpen()) co_return;
    int steps = 0;
    int bank = 0;
    while (bank < kScannerBanks) {
        Reply reply = co_await cx.askBankStep(BankNameReadCommand(bank));
        ++steps;
        cx.status("Read Bank Names/ " + std::to_string(steps));
        if (steps > kBankNameMaxSteps) {
            cx.fail("Reading banknames failed.", {});
            co_return;
        }
        if (reply.timedOut) continue;
        const std::optional<std::string> name = ParseBankNameReply(reply.text, bank);
        if (!name) continue;
        cx.result.bankNames[static_cast<std::size_t>(bank)] = *name;
        ++bank;
    }
    cx.status("Names Read Ok");
    cx.namesRead = true;
    const bool typesRead = co_await readTrunkTypes(cx);
    if (!typesRead) {
        cx.fail(std::string(kTrunkTypeFailed), {});
        co_return;
    }
    cx.result.outcome = TransferOutcome::Completed;
}

}  // namespace vex
