#include "netdb/records.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

#include "netdb/xml_load.h"

namespace vex::netdb {

namespace {

pugi::xml_node Field(const pugi::xml_node& node, const char* name) {
    return ChildNamed(node, name);
}

std::string Text(const pugi::xml_node& node, const char* name) {
    return Utf8ToLatin1(Field(node, name).text().get());
}

// A free-text field that ends up in comma-separated text.
std::string SafeText(const pugi::xml_node& node, const char* name) {
    std::string text = Text(node, name);
    std::replace(text.begin(), text.end(), ',', ';');
    return text;
}

std::int32_t Long(const pugi::xml_node& node, const char* name) {
    const char* text = Field(node, name).text().get();
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX || value < INT32_MIN) return 0;
    return static_cast<std::int32_t>(value);
}

int Int(const pugi::xml_node& node, const char* name) {
    const std::int32_t value = Long(node, name);
    return value > INT16_MAX || value < INT16_MIN ? 0 : value;
}

double Real(const pugi::xml_node& node, const char* name) {
    return std::strtod(Field(node, name).text().get(), nullptr);
}

bool Bool(const pugi::xml_node& node, const char* name) {
    const std::string text = Field(node, name).text().get();
    return text == "true" || text == "1";
}

template <typename Fn>
auto List(const pugi::xml_node& node, const char* name, Fn read) {
    std::vector<decltype(read(pugi::xml_node()))> out;
    for (const pugi::xml_node& item : Items(Field(node, name))) out.push_back(read(item));
    return out;
}

std::vector<BandPlanRow> BandPlan(const pugi::xml_node& node) {
    return List(node, "bandplan", [](const pugi::xml_node& n) {
        BandPlanRow row{Text(n, "base"), Text(n, "offset"), Text(n, "spacing")};
        if (row.offset.empty()) row.offset = "0";
        return row;
    });
}

std::vector<SystemRef> Systems(const pugi::xml_node& node) {
    return List(node, "trsList", [](const pugi::xml_node& n) {
        return SystemRef{Long(n, "sid"),        SafeText(n, "sName"), Int(n, "sType"),
                         Int(n, "sFlavor"),     Int(n, "sVoice"),     Text(n, "sCity"),
                         Text(n, "lastUpdated")};
    });
}

std::vector<AgencyRef> Agencies(const pugi::xml_node& node) {
    return List(node, "agencyList", [](const pugi::xml_node& n) {
        return AgencyRef{Long(n, "aid"), SafeText(n, "aName"), Int(n, "aType")};
    });
}

std::vector<Category> Cats(const pugi::xml_node& node) {
    return List(node, "cats", [](const pugi::xml_node& n) {
        Category cat{Long(n, "cid"), SafeText(n, "cName"), {}};
        cat.subcats = List(n, "subcats", [](const pugi::xml_node& s) {
            return Subcat{Long(s, "scid"), SafeText(s, "scName"), Real(s, "lat"), Real(s, "lon"),
                          Real(s, "range")};
        });
        return cat;
    });
}

void ReadPlaceCommon(const pugi::xml_node& node, PlaceInfo& info) {
    info.stid = Long(node, "stid");
    info.lat = Real(node, "lat");
    info.lon = Real(node, "lon");
    info.range = Real(node, "range");
    info.lastUpdated = Text(node, "lastUpdated");
    info.cats = Cats(node);
}

}  // namespace

std::vector<pugi::xml_node> Items(const pugi::xml_node& array) {
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node child = array.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) items.push_back(child);
    return items;
}

UserData ReadUserData(const pugi::xml_node& n) {
    return {Text(n, "username"), Text(n, "subExpireDate")};
}
Flavor ReadFlavor(const pugi::xml_node& n) {
    return {Int(n, "sType"), Int(n, "sFlavor"), Text(n, "sFlavorDescr")};
}
TypeName ReadTypeName(const pugi::xml_node& n) {
    return {Int(n, "sType"), Text(n, "sTypeDescr")};
}
Voice ReadVoice(const pugi::xml_node& n) {
    return {Int(n, "sType"), Int(n, "sVoice"), Text(n, "sVoiceDescr")};
}
Mode ReadMode(const pugi::xml_node& n) {
    return {Int(n, "mode"), Text(n, "modeName")};
}
TagName ReadTagName(const pugi::xml_node& n) {
    return {Long(n, "tagId"), Text(n, "tagDescr")};
}
Metro ReadMetro(const pugi::xml_node& n) {
    return {Long(n, "mid"), Text(n, "metroName")};
}

CountryInfo ReadCountryInfo(const pugi::xml_node& n) {
    CountryInfo info;
    info.states = List(n, "stateList", [](const pugi::xml_node& s) {
        return StateRef{Long(s, "stid"), Text(s, "stateCode"), SafeText(s, "stateName")};
    });
    info.agencies = Agencies(n);
    return info;
}

StateInfo ReadStateInfo(const pugi::xml_node& n) {
    StateInfo info;
    info.stid = Long(n, "stid");
    info.name = SafeText(n, "stateName");
    info.entityType = Text(n, "stateEntityType");
    info.systems = Systems(n);
    info.agencies = Agencies(n);
    info.counties = List(n, "countyList", [](const pugi::xml_node& c) {
        return CountyRef{Long(c, "ctid"), SafeText(c, "countyName"), Text(c, "countyHeader")};
    });
    return info;
}

PlaceInfo ReadCountyInfo(const pugi::xml_node& n) {
    PlaceInfo info;
    info.id = info.ctid = Long(n, "ctid");
    info.name = SafeText(n, "countyName");
    info.header = Text(n, "countyHeader");
    ReadPlaceCommon(n, info);
    info.systems = Systems(n);
    info.agencies = Agencies(n);
    return info;
}

PlaceInfo ReadAgencyInfo(const pugi::xml_node& n) {
    PlaceInfo info;
    info.id = Long(n, "aid");
    info.name = SafeText(n, "agencyName");
    info.type = Text(n, "agencyType");
    info.ctid = Long(n, "ctid");
    ReadPlaceCommon(n, info);
    return info;
}

ZipInfo ReadZipInfo(const pugi::xml_node& n) {
    return {Long(n, "zipCode"), Text(n, "lat"),  Text(n, "lon"),
            Text(n, "city"),    Long(n, "stid"), Long(n, "ctid")};
}

Frequency ReadFrequency(const pugi::xml_node& n) {
    Frequency f;
    f.fid = Long(n, "fid");
    f.out = Text(n, "out");
    f.in = Text(n, "in");
    f.callsign = Text(n, "callsign");
    f.descr = SafeText(n, "descr");
    f.alpha = SafeText(n, "alpha");
    f.tone = Text(n, "tone");
    f.mode = Text(n, "mode");
    f.freqClass = Text(n, "class");
    f.tags = List(n, "tags", [](const pugi::xml_node& t) { return Long(t, "tagId"); });
    f.sort = Int(n, "sort");
    f.lastUpdated = Text(n, "lastUpdated");
    return f;
}

SystemDetails ReadSystemDetails(const pugi::xml_node& n) {
    SystemDetails d;
    d.name = SafeText(n, "sName");
    d.sType = Int(n, "sType");
    d.sFlavor = Int(n, "sFlavor");
    d.sVoice = Int(n, "sVoice");
    d.city = Text(n, "sCity");
    d.counties = List(n, "sCounty", [](const pugi::xml_node& c) { return Long(c, "ctid"); });
    d.states = List(n, "sState", [](const pugi::xml_node& s) { return Long(s, "stid"); });
    d.country = Text(n, "sCountry");
    d.lat = Real(n, "lat");
    d.lon = Real(n, "lon");
    d.range = Real(n, "range");
    d.lastUpdated = Text(n, "lastUpdated");
    d.sysids = List(n, "sysid", [](const pugi::xml_node& s) {
        return SystemId{Text(s, "sysid"), Text(s, "wacn"), Text(s, "ct")};
    });
    d.bandplan = BandPlan(n);
    if (const pugi::xml_node fleet = Field(n, "fleetmap")) {
        static constexpr std::array<const char*, 8> kBlocks = {"b0", "b1", "b2", "b3",
                                                               "b4", "b5", "b6", "b7"};
        for (const char* block : kBlocks) d.fleetmap.push_back(Text(fleet, block));
    }
    return d;
}

Site ReadSite(const pugi::xml_node& n) {
    Site s;
    s.siteId = Int(n, "siteId");
    s.sid = Long(n, "sid");
    s.siteNumber = Long(n, "siteNumber");
    s.descr = SafeText(n, "siteDescr");
    s.neighbors = Text(n, "siteNeighbors");
    s.location = SafeText(n, "siteLocation");
    s.ctid = Field(n, "siteCtid") ? Text(n, "siteCtid") : "Null";
    if (s.ctid.empty()) s.ctid = "Null";
    s.ct = Text(n, "siteCt");
    s.modulation = Text(n, "siteModulation");
    s.notes = SafeText(n, "siteNotes");
    s.lat = Real(n, "lat");
    s.lon = Real(n, "lon");
    s.range = Real(n, "range");
    s.rebanded = Long(n, "rebanded");
    s.splinter = Long(n, "splinter");
    s.licenses =
        List(n, "siteLicenses", [](const pugi::xml_node& l) { return Text(l, "license"); });
    s.bandplan = BandPlan(n);
    s.freqs = List(n, "siteFreqs", [](const pugi::xml_node& f) {
        return SiteFrequency{Int(f, "lcn"), Text(f, "freq"), Text(f, "use")};
    });
    return s;
}

TalkgroupCat ReadTalkgroupCat(const pugi::xml_node& n) {
    TalkgroupCat c{Long(n, "tgCid"), Long(n, "sid"),     SafeText(n, "tgCname"),
                   Int(n, "tgSort"), Int(n, "tgSortBy"), Text(n, "lastUpdated")};
    if (c.name.empty()) c.name = "All";
    return c;
}

Talkgroup ReadTalkgroup(const pugi::xml_node& n) {
    Talkgroup t;
    t.tgId = Long(n, "tgId");
    t.tgDec = Long(n, "tgDec");
    t.subfleet = Text(n, "tgSubfleet");
    t.ltr = Bool(n, "tgLtr");
    t.descr = SafeText(n, "tgDescr");
    t.alpha = SafeText(n, "tgAlpha");
    t.mode = Text(n, "tgMode");
    t.tags = List(n, "tags", [](const pugi::xml_node& g) { return Long(g, "tagId"); });
    t.tgCid = Long(n, "tgCid");
    t.sort = Int(n, "tgSort");
    t.date = Text(n, "tgDate");
    return t;
}

namespace {

const std::map<int, std::string>& Categories() {
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> t = {{1, "Multi-Dispatch"},
                                        {2, "Law Dispatch"},
                                        {3, "Fire Dispatch"},
                                        {4, "EMS Dispatch"},
                                        {6, "Multi-TAC"},
                                        {7, "Law TAC"},
                                        {8, "Fire-Tac"},
                                        {9, "EMS-Tac"},
                                        {11, "Interop"},
                                        {12, "Hospital"},
                                        {13, "Ham"},
                                        {14, "Public Works"},
                                        {15, "Aircraft"},
                                        {16, "Federal"},
                                        {17, "Business"},
                                        {18, "Business"},
                                        {20, "Railroad"},
                                        {21, "Other"},
                                        {22, "Multi-Talk"},
                                        {23, "Law-Talk"},
                                        {24, "Fire-Talk"},
                                        {25, "EMS-Talk"},
                                        {26, "Transportation"},
                                        {27, "Transportation"},
                                        {29, "Emergency Ops"},
                                        {30, "Military"},
                                        {31, "Media"},
                                        {32, "Schools"},
                                        {33, "Security"},
                                        {34, "Utilities"},
                                        {35, "Utilities"},
                                        {37, "Corrections"},
                                        {216, "Racing Officials"},
                                        {217, "Racing Teams"}};
        for (int i = 0; i < 8; ++i) t[208 + i] = "Custom " + std::to_string(i + 1);
        return t;
    }();
    return table;
}

}  // namespace

std::string CategoryName(int tag) {
    const auto it = Categories().find(tag);
    return it == Categories().end() ? std::string() : it->second;
}

const std::vector<std::string>& SortedCategoryNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& [tag, name] : Categories())
            if (std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
        std::sort(out.begin(), out.end());
        return out;
    }();
    return names;
}

std::string SystemTypeName(int sType) {
    switch (sType) {
        case 0:
        case 1:
            return "Motorola";
        case 2:
            return "Edacs";
        case 3:
            return "LTR";
        case 4:
            return "MPT-1327";
        case 5:
            return "TETRA";
        case 6:
            return "Midland CMS";
        case 7:
            return "OpenSky";
        case 8:
            return "Project 25";
        case 9:
            return "iDEN";
        case 10:
            return "SmarTrunk";
        case 90:
            return "Other";
        case 91:
            return "Unknown";
        default:
            return {};
    }
}

std::string FlavorName(int f) {
    static constexpr std::array<const char*, 30> kNames = {"-",
                                                           "Type I",
                                                           "Type II",
                                                           "Type IIi",
                                                           "Type II SmartZone",
                                                           "Type II SmartZone Omnilinx",
                                                           "Standard",
                                                           "Standard w/ESK",
                                                           "Networked",
                                                           "Networked w/ESK",
                                                           "Narrowband",
                                                           "Narrowband",
                                                           "Standard",
                                                           "Multinet",
                                                           "Passport",
                                                           "Standard and Passport",
                                                           "Standard",
                                                           "Standard",
                                                           "Standard",
                                                           "Standard",
                                                           "Standard",
                                                           "Standard",
                                                           "Scat",
                                                           "Type II",
                                                           "Type II Smartnet",
                                                           "Standard",
                                                           "Standard",
                                                           "Standard",
                                                           "Unknown",
                                                           "Unknown"};
    if (f < 0 || f >= static_cast<int>(kNames.size())) return {};
    return kNames[static_cast<std::size_t>(f)];
}

}  // namespace vex::netdb
