// The records the database calls return, read by element name, and the fixed name tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace vex::netdb {

struct UserData {
    std::string username, subExpireDate;
};
struct Flavor {
    int sType = 0, sFlavor = 0;
    std::string descr;
};
struct TypeName {
    int sType = 0;
    std::string descr;
};
struct Voice {
    int sType = 0, sVoice = 0;
    std::string descr;
};
struct Mode {
    int mode = 0;
    std::string name;
};
struct TagName {
    std::int32_t tagId = 0;
    std::string descr;
};
struct Metro {
    std::int32_t mid = 0;
    std::string name;
};

struct StateRef {
    std::int32_t stid = 0;
    std::string code, name;
};
struct AgencyRef {
    std::int32_t aid = 0;
    std::string name;
    int aType = 0;
};
struct CountyRef {
    std::int32_t ctid = 0;
    std::string name, header;
};
struct SystemRef {
    std::int32_t sid = 0;
    std::string name;
    int sType = 0, sFlavor = 0, sVoice = 0;
    std::string city, lastUpdated;
};
struct Subcat {
    std::int32_t scid = 0;
    std::string name;
    double lat = 0, lon = 0, range = 0;
};
struct Category {
    std::int32_t cid = 0;
    std::string name;
    std::vector<Subcat> subcats;
};

struct CountryInfo {
    std::vector<StateRef> states;
    std::vector<AgencyRef> agencies;
};
struct StateInfo {
    std::int32_t stid = 0;
    std::string name, entityType;
    std::vector<SystemRef> systems;
    std::vector<AgencyRef> agencies;
    std::vector<CountyRef> counties;
};
// A county or an agency: its categories and subcategories (and, for a county, its systems and
// agencies).
struct PlaceInfo {
    std::int32_t id = 0;  // ctid or aid
    std::string name, header, type;
    std::int32_t ctid = 0, stid = 0;
    double lat = 0, lon = 0, range = 0;
    std::string lastUpdated;
    std::vector<Category> cats;
    std::vector<SystemRef> systems;
    std::vector<AgencyRef> agencies;
};
struct ZipInfo {
    std::int32_t zipCode = 0;
    std::string lat, lon, city;
    std::int32_t stid = 0, ctid = 0;
};

struct Frequency {
    std::int32_t fid = 0;
    std::string out, in, callsign, descr, alpha, tone, mode, freqClass;
    std::vector<std::int32_t> tags;
    int sort = 0;
    std::string lastUpdated;
};

struct BandPlanRow {
    std::string base, offset, spacing;
};
struct SystemId {
    std::string sysid, wacn, ct;
};
struct SystemDetails {
    std::string name;
    int sType = 0, sFlavor = 0, sVoice = 0;
    std::string city, country, lastUpdated;
    std::vector<std::int32_t> counties, states;
    double lat = 0, lon = 0, range = 0;
    std::vector<SystemId> sysids;
    std::vector<BandPlanRow> bandplan;
    std::vector<std::string> fleetmap;  // b0..b7, empty when the service sends none
};
struct SiteFrequency {
    int lcn = 0;
    std::string freq, use;
};
struct Site {
    int siteId = 0;
    std::int32_t sid = 0, siteNumber = 0;
    std::string descr, neighbors, location, ctid, ct, modulation, notes;
    double lat = 0, lon = 0, range = 0;
    std::int32_t rebanded = 0, splinter = 0;
    std::vector<std::string> licenses;
    std::vector<BandPlanRow> bandplan;
    std::vector<SiteFrequency> freqs;
};
struct TalkgroupCat {
    std::int32_t tgCid = 0, sid = 0;
    std::string name;
    int sort = 0, sortBy = 0;
    std::string lastUpdated;
};
struct Talkgroup {
    std::int32_t tgId = 0, tgDec = 0;
    std::string subfleet;
    bool ltr = false;
    std::string descr, alpha, mode;
    std::vector<std::int32_t> tags;
    std::int32_t tgCid = 0;
    int sort = 0;
    std::string date;
};

// The element children of a returned array (its items).
std::vector<pugi::xml_node> Items(const pugi::xml_node& array);

// Readers of one record from its node. Absent fields keep their defaults; texts come out in
// Latin-1; fields that end up in comma-separated text have "," replaced by ";".
UserData ReadUserData(const pugi::xml_node& node);
Flavor ReadFlavor(const pugi::xml_node& node);
TypeName ReadTypeName(const pugi::xml_node& node);
Voice ReadVoice(const pugi::xml_node& node);
Mode ReadMode(const pugi::xml_node& node);
TagName ReadTagName(const pugi::xml_node& node);
Metro ReadMetro(const pugi::xml_node& node);
CountryInfo ReadCountryInfo(const pugi::xml_node& node);
StateInfo ReadStateInfo(const pugi::xml_node& node);
PlaceInfo ReadCountyInfo(const pugi::xml_node& node);
PlaceInfo ReadAgencyInfo(const pugi::xml_node& node);
ZipInfo ReadZipInfo(const pugi::xml_node& node);
Frequency ReadFrequency(const pugi::xml_node& node);
SystemDetails ReadSystemDetails(const pugi::xml_node& node);
Site ReadSite(const pugi::xml_node& node);
TalkgroupCat ReadTalkgroupCat(const pugi::xml_node& node);
Talkgroup ReadTalkgroup(const pugi::xml_node& node);

// Fixed name tables.
std::string CategoryName(int tag);      // 1..217, "" elsewhere
std::string SystemTypeName(int sType);  // "" for an unknown number
std::string FlavorName(int sFlavor);    // 0..29, "" elsewhere
// The category names in alphabetical order (39 entries).
const std::vector<std::string>& SortedCategoryNames();

}  // namespace vex::netdb
