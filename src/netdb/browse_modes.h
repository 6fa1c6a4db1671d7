// What the browser lists in each of its four modes, the ZIP-code entry, and the log-in retry
// count.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "netdb/records.h"

namespace vex::netdb {

enum class BrowseMode { TrunkSystems, Conventional, Agencies, NationWide };

// The option captions, in BrowseMode order.
const std::vector<std::string_view>& BrowseModeCaptions();

// The selection lists a mode offers below the country. Trunk Systems: state, county (narrowing
// the systems to the county's) and system. Conventional Frequencies: state and county, whose
// frequencies are listed. Agencies: state and the state's agencies. NationWide: the country-wide
// agencies, no state.
struct BrowseLists {
    bool state = false, county = false, agency = false, system = false;
};
BrowseLists ListsFor(BrowseMode mode);

// The agencies the agency list offers: the country's own in NationWide, else the state's.
const std::vector<AgencyRef>& AgenciesFor(BrowseMode mode, const CountryInfo& country,
                                          const StateInfo& state);

// A typed ZIP code: five digits, optionally followed by "-" and four more (ignored). nullopt
// for anything else.
std::optional<std::int32_t> ParseZipCode(std::string_view typed);
// "City: ...   Latitude: ...   Longitude: ..." for the window.
std::string ZipSummary(const ZipInfo& zip);
// ZIP codes exist only in the United States (the first country).
inline constexpr std::int32_t kZipCountry = 1;

// The failed log-in is tried again on a timer. Each tick counts one attempt; from
// kRetryWarnAfter attempts on the status says that there is still no response; at kRetryLimit
// the retrying stops. A log-in the service refused (wrong password, lapsed subscription) is not
// retried: the same request would be refused again and could lock the account.
inline constexpr int kRetryIntervalMs = 10000;
inline constexpr int kRetryWarnAfter = 10;
inline constexpr int kRetryLimit = 100;

class LoginRetry {
  public:
    // After a failed log-in: whether to (go on) retrying, and the status to show.
    bool failed(bool refused, const std::string& message);
    // A timer tick: counts the attempt; false when the limit is reached and nothing is tried.
    bool tick();
    void reset() { d_attempts = 0; }
    int attempts() const { return d_attempts; }
    const std::string& status() const { return d_status; }

  private:
    int d_attempts = 0;
    std::string d_status;
};

}  // namespace vex::netdb
