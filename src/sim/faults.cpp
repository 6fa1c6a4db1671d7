#include "faults.h"

#include <algorithm>
#include <cctype>

namespace bct8sim {
namespace {

bool ParseCount(std::string_view text, int& value) {
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        })) {
        return false;
    }
    value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return true;
}

}  // namespace

const char* FaultName(FaultKind kind) {
    switch (kind) {
        case FaultKind::kNoReply:
            return "no-reply";
        case FaultKind::kCutReply:
            return "cut-reply";
        case FaultKind::kErr:
            return "err";
        case FaultKind::kGarbage:
            return "garbage";
        case FaultKind::kDisconnect:
            return "disconnect";
    }
    return "?";
}

std::optional<Fault> ParseFault(std::string_view text, std::string& error) {
    Fault fault;
    const std::size_t at = text.find('@');
    std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos && at != std::string_view::npos && colon < at) {
        colon = std::string_view::npos;
    }
    const std::string_view kind = text.substr(0, std::min(at, colon));
    bool known = false;
    for (FaultKind k : {FaultKind::kNoReply, FaultKind::kCutReply, FaultKind::kErr,
                        FaultKind::kGarbage, FaultKind::kDisconnect}) {
        if (kind == FaultName(k)) {
            fault.kind = k;
            known = true;
        }
    }
    if (!known) {
        error = "unknown fault \"" + std::string(kind) +
                "\" (use no-reply, cut-reply, err, garbage or disconnect)";
        return std::nullopt;
    }
    if (colon != std::string_view::npos) {
        const std::string_view count = text.substr(colon + 1);
        if (count == "always" || count == "every") {
            fault.remaining = -1;
        } else if (count == "once") {
            fault.remaining = 1;
        } else if (!ParseCount(count, fault.remaining) || fault.remaining == 0) {
            error = "bad fault count \"" + std::string(count) + "\"";
            return std::nullopt;
        }
    }
    if (at != std::string_view::npos) {
        std::string_view where = text.substr(
            at + 1, colon == std::string_view::npos ? std::string_view::npos : colon - at - 1);
        int number = 0;
        auto channelNumber = [&](std::string_view prefix) {
            if (where.substr(0, prefix.size()) != prefix) return false;
            std::string_view digits = where.substr(prefix.size());
            while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
            return ParseCount(digits, number);
        };
        if (ParseCount(where, number)) {
            if (number == 0) {
                error = "commands are counted from 1";
                return std::nullopt;
            }
            fault.where = Fault::Where::kIndex;
            fault.number = number;
        } else if (channelNumber("channel") || channelNumber("ch")) {
            if (number < 1 || number > 250) {
                error = "channel must be 1..250";
                return std::nullopt;
            }
            fault.where = Fault::Where::kChannel;
            fault.number = number;
        } else if (!where.empty()) {
            fault.where = Fault::Where::kPrefix;
            fault.prefix = std::string(where);
        } else {
            error = "nothing after @";
            return std::nullopt;
        }
    }
    return fault;
}

std::optional<FaultKind> FaultPlan::take(int index, std::string_view command, int channel) {
    for (auto it = d_faults.begin(); it != d_faults.end(); ++it) {
        bool hit = false;
        switch (it->where) {
            case Fault::Where::kAny:
                hit = true;
                break;
            case Fault::Where::kIndex:
                hit = index == it->number;
                break;
            case Fault::Where::kChannel:
                hit = channel == it->number;
                break;
            case Fault::Where::kPrefix:
                hit = command.substr(0, it->prefix.size()) == it->prefix;
                break;
        }
        if (!hit) continue;
        const FaultKind kind = it->kind;
        if (it->remaining > 0 && --it->remaining == 0) d_faults.erase(it);
        return kind;
    }
    return std::nullopt;
}

}  // namespace bct8sim
