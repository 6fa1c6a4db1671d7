#include "netdb/browse_modes.h"

#include <cctype>
#include <cstdio>

#include "netdb/messages.h"

namespace vex::netdb {

const std::vector<std::string_view>& BrowseModeCaptions() {
    static const std::vector<std::string_view> captions = {
        "Trunk Systems", "Conventional Frequencies", "Agencies", "NationWide"};
    return captions;
}

BrowseLists ListsFor(BrowseMode mode) {
    switch (mode) {
        case BrowseMode::TrunkSystems:
            return {true, true, false, true};
        case BrowseMode::Conventional:
            return {true, true, false, false};
        case BrowseMode::Agencies:
            return {true, false, true, false};
        case BrowseMode::NationWide:
            return {false, false, true, false};
    }
    return {};
}

const std::vector<AgencyRef>& AgenciesFor(BrowseMode mode, const CountryInfo& country,
                                          const StateInfo& state) {
    return mode == BrowseMode::NationWide ? country.agencies : state.agencies;
}

std::optional<std::int32_t> ParseZipCode(std::string_view typed) {
    while (!typed.empty() && typed.front() == ' ') typed.remove_prefix(1);
    while (!typed.empty() && typed.back() == ' ') typed.remove_suffix(1);
    const auto digits = [](std::string_view t) {
        for (const char c : t)
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        return true;
    };
    if (typed.size() == 10 && typed[5] == '-' && digits(typed.substr(6)))
        typed = typed.substr(0, 5);
    if (typed.size() != 5 || !digits(typed)) return std::nullopt;
    std::int32_t zip = 0;
    for (const char c : typed) zip = zip * 10 + (c - '0');
    return zip;
}

std::string ZipSummary(const ZipInfo& zip) {
    return "City: " + zip.city + "   Latitude: " + zip.lat + "   Longitude: " + zip.lon;
}

bool LoginRetry::failed(bool refused, const std::string& message) {
    if (refused) {
        d_status = message;
        return false;
    }
    d_status = d_attempts >= kRetryWarnAfter ? std::string(kMsgNoResponseRepeated)
                                             : message + "\n" + std::string(kMsgNoResponse);
    return d_attempts < kRetryLimit;
}

bool LoginRetry::tick() {
    if (d_attempts >= kRetryLimit) return false;
    ++d_attempts;
    return true;
}

}  // namespace vex::netdb
