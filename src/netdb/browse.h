// The database calls the browser makes, each a chain of service calls that ends in one callback:
// log-in with the lookup tables, a country, a state, a county or agency with its frequencies, a
// trunked system with its sites and talkgroups. A failed chain stores nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "netdb/records.h"
#include "netdb/session.h"

namespace vex::netdb {

struct Lookups {
    std::vector<Flavor> flavors;
    std::vector<TypeName> types;
    std::vector<Voice> voices;
    std::vector<Mode> modes;
    std::vector<TagName> tags;
    std::vector<Metro> metros;
};

struct LoginResult {
    Outcome outcome;
    std::string expires;  // the subscription's end, kMsgUnknownDate on the local endpoint
    std::string notice;   // something to tell even though the log-in worked
    Lookups lookups;
};

struct SubcatFrequencies {
    Category category;  // without its other subcategories
    Subcat subcat;
    std::vector<Frequency> frequencies;
};

struct PlaceData {
    PlaceInfo info;
    std::vector<SubcatFrequencies> groups;  // in the order of the categories
};

struct TalkgroupGroup {
    TalkgroupCat category;
    std::vector<Talkgroup> talkgroups;
};

struct SystemData {
    std::int32_t sid = 0;
    SystemDetails details;
    std::vector<Site> sites;
    std::vector<TalkgroupGroup> groups;
};

void Login(Session& session, std::function<void(LoginResult)> done);
void LoadCountry(Session& session, std::int32_t coid,
                 std::function<void(Outcome, CountryInfo)> done);
void LoadState(Session& session, std::int32_t stid, std::function<void(Outcome, StateInfo)> done);
void LoadCounty(Session& session, std::int32_t ctid, std::function<void(Outcome, PlaceData)> done);
void LoadAgency(Session& session, std::int32_t aid, std::function<void(Outcome, PlaceData)> done);
// A county's record alone (its systems and agencies), without its frequencies.
void LoadCountyInfo(Session& session, std::int32_t ctid,
                    std::function<void(Outcome, PlaceInfo)> done);
// The state and county of a ZIP code; a code the service does not know fails.
void LoadZip(Session& session, std::int32_t zipcode, std::function<void(Outcome, ZipInfo)> done);
void LoadSystem(Session& session, std::int32_t sid, std::function<void(Outcome, SystemData)> done);

// The countries the browser offers, by their list position + 1 (the country id).
const std::vector<std::string>& CountryNames();

}  // namespace vex::netdb
