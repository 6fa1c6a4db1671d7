// The import rules: tags, bank names, trunk types, IDs, and what an import writes into a bank.
#include <gtest/gtest.h>

#include "core/image.h"
#include "netdb/convert.h"
#include "netdb/messages.h"

namespace vex::netdb {
namespace {

struct TagCase {
    const char* name;
    const char* in;
    ImportOptions options;
    const char* out;
};

ImportOptions With(bool removeSpaces, bool upper = false, bool keepShort = false,
                   bool filters = true) {
    ImportOptions o;
    o.removeSpaces = removeSpaces;
    o.upperCase = upper;
    o.keepShortTags = keepShort;
    o.tagFilters = filters;
    return o;
}

class TagTest : public testing::TestWithParam<TagCase> {};

TEST_P(TagTest, Processes) {
    EXPECT_EQ(ProcessTag(GetParam().in, GetParam().options), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, TagTest,
    testing::Values(
        // Entities are decoded before the cut, so they neither count nor get split.
        TagCase{"EntityAtCutEdge", "Roads and Bridges&amp;X", With(false), "Roads and Bridge"},
        TagCase{"DoubleEscaped", "Law &amp;amp; Order", With(false), "Law & Order"},
        TagCase{"QuotEntityRemoved", "&quot;Red&quot; Team", With(false), "Red Team"},
        TagCase{"QuoteAndComma", "Fire \"Red\", North", With(false), "Fire 'Red'; Nort"},
        TagCase{"SpacesGoFirst", "Alpha Bravo Charlie Delta", With(true), "AlphaBravoCharli"},
        TagCase{"ShortKeepsSpaces", "Alpha Bravo", With(true), "Alpha Bravo"},
        TagCase{"Upper", "Fire Disp", With(false, true), "FIRE DISP"},
        TagCase{"TrimmedUnlessKept", "  Fire  ", With(false), "Fire"},
        TagCase{"KeptWhenShort", "  Fire  ", With(false, false, true), "  Fire  "},
        TagCase{"CutNoTrailingBlank", "County Services & Roads", With(false), "County Services"},
        TagCase{"FilterAccents", "Caf\xE9 \xDF\xA9", With(false), "Cafe s"},
        TagCase{"NoFilterKeepsLatin1", "Caf\xE9", With(false, false, false, false), "Caf\xE9"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BankNameTest, FollowsTheChosenOption) {
    ImportOptions o;
    EXPECT_FALSE(BankName(o));
    o.bankName = BankNameChoice::PlaceName;
    o.placeName = "Ember, FD";
    EXPECT_EQ(*BankName(o), "Ember;FD");
    o.bankName = BankNameChoice::Custom;
    o.customName = "Avalon Conv Test Bank";
    EXPECT_EQ(*BankName(o), "Avalon Conv Test");
    o.customName = "Say \"hi\"";
    EXPECT_EQ(*BankName(o), "Say 'hi'");
}

TEST(OptionCaptionTest, SetsByCaptionAndListsTheKnownOnes) {
    ImportOptions o;
    std::string error;
    EXPECT_TRUE(SetOptionByCaption(o, "Convert To Upper Case", "1", error));
    EXPECT_TRUE(o.upperCase);
    EXPECT_TRUE(SetOptionByCaption(o, "Custom:", "Avalon Conv Test Bank", error));
    EXPECT_EQ(o.bankName, BankNameChoice::Custom);
    EXPECT_EQ(o.customName, "Avalon Conv Test Bank");
    EXPECT_FALSE(SetOptionByCaption(o, "Use Tag Filters", "yes", error));
    EXPECT_FALSE(SetOptionByCaption(o, "Make It Loud", "1", error));
    EXPECT_NE(error.find("Import Primary Control Channels"), std::string::npos);
    EXPECT_TRUE(SetOptionByCaption(o, "Use short Alpha Tag (if available)", "0", error));
    EXPECT_FALSE(o.useAlpha);
}

struct TypeCase {
    const char* type;
    const char* flavor;
    Band band;
    bool rebanded;
    int code;  // -1: not supported
};

class TrunkTypeTest : public testing::TestWithParam<TypeCase> {};

TEST_P(TrunkTypeTest, MapsSystemToCode) {
    const TypeCase& c = GetParam();
    const auto code = TrunkTypeFor(c.type, c.flavor, c.band, c.rebanded);
    EXPECT_EQ(code.value_or(-1), c.code) << c.type << " / " << c.flavor;
}

INSTANTIATE_TEST_SUITE_P(Types, TrunkTypeTest,
                         testing::Values(TypeCase{"Motorola", "Type II", Band::Band800, true, 10},
                                         TypeCase{"Motorola", "Type I", Band::Band800, true, 11},
                                         TypeCase{"Motorola", "Type IIi", Band::Band800, false, 2},
                                         TypeCase{"Motorola", "Type II SmartZone", Band::Band800,
                                                  false, 1},
                                         TypeCase{"Edacs", "Narrowband", Band::Band800, false, 7},
                                         TypeCase{"Project 25", "Standard", Band::Vhf, false, 1},
                                         TypeCase{"MPT-1327", "-", Band::Uhf, false, -1},
                                         TypeCase{"TETRA", "-", Band::Uhf, false, -1}));

class ImportTest : public testing::Test {
  protected:
    void SetUp() override { ClearForStartup(image); }
    static Frequency Freq(const char* out, const char* descr, const char* alpha = "") {
        Frequency f;
        f.out = out;
        f.descr = descr;
        f.alpha = alpha;
        return f;
    }
    Image image;
};

TEST_F(ImportTest, ConventionalFillsFreeChannelsAndReportsWhatIsLeftOut) {
    image.channel(0, 2)[kFieldFrequency] = "0155.0000";
    for (int slot = 4; slot <= ChannelsPerBank; ++slot)
        image.channel(0, slot)[kFieldFrequency] = "0160.0000";
    const std::vector<Frequency> ticked = {Freq("154.2800", "Fire Dispatch", "BW Fire"),
                                           Freq("512.5000", "Too high"), Freq("453.2250", "Roads"),
                                           Freq("42.5000", "Troop")};
    const ImportReport report = ImportConventional(image, 0, 1, ticked, ImportOptions{});
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.channels, 2);
    EXPECT_EQ(image.channel(0, 1)[kFieldFrequency], "0154.2800");
    EXPECT_EQ(image.channel(0, 2)[kFieldFrequency], "0155.0000");
    EXPECT_EQ(image.channel(0, 3)[kFieldFrequency], "0453.2250");
    ASSERT_EQ(report.warnings.size(), 2u);
    EXPECT_NE(report.warnings[0].find("512.5000 Too high"), std::string::npos);
    EXPECT_NE(report.warnings[1].find("42.5000 Troop"), std::string::npos);
}

TEST_F(ImportTest, FailuresLeaveTheImageUnchanged) {
    const Image before = image;
    EXPECT_EQ(ImportConventional(image, 0, 1, {}, {}).error, kMsgSelectFrequency);
    EXPECT_FALSE(ImportConventional(image, 0, 1, {Freq("600.0000", "Video")}, {}).ok);
    // A system the scanner cannot trunk is the local service round trip's.
    EXPECT_EQ(ImportTrunked(image, 1, 1, SystemData{}, {}, {}, {}).error, kMsgSelectSite);
    EXPECT_EQ(image, before);
}

SystemData Motorola(int flavor, std::vector<SiteFrequency> freqs) {
    SystemData system;
    system.details.sType = 1;
    system.details.sFlavor = flavor;
    Site site;
    site.descr = "Gull Point";
    site.freqs = std::move(freqs);
    system.sites = {site};
    return system;
}

std::vector<SiteChoice> AllOf(const SystemData& system) {
    std::vector<SiteChoice> out;
    for (const Site& s : system.sites) {
        SiteChoice c{&s, {}};
        for (const SiteFrequency& f : s.freqs) c.frequencies.push_back(&f);
        out.push_back(c);
    }
    return out;
}

TEST_F(ImportTest, ControlChannelOptionsAnd900Megahertz) {
    SystemData system =
        Motorola(2, {{0, "935.0125", "d"}, {0, "935.5125", "a"}, {0, "936.0125", ""}});
    ImportOptions options;
    options.primaryControl = false;
    options.alternateControl = false;
    ASSERT_TRUE(ImportTrunked(image, 0, 10, system, AllOf(system), {}, options).ok);
    EXPECT_EQ(image.TrunkType[0], "3");
    EXPECT_EQ(image.channel(0, 10)[kFieldFrequency], "0936.0125");
    EXPECT_EQ(image.channel(0, 11)[kFieldFrequency], "0000.0000");
}

TEST_F(ImportTest, LcnOrderForLtrWithPaddedIdsAndSiteWarning) {
    SystemData system;
    system.details.sType = 3;
    Site a, b;
    a.descr = "Ridgeway";
    a.freqs = {{2, "461.4625", ""}, {1, "461.2125", ""}, {60, "462.5125", ""}};
    b.freqs = {{3, "462.0125", ""}};
    system.sites = {a, b};
    Talkgroup t;
    t.tgDec = 1234;
    t.alpha = "Taxi Disp";
    const ImportReport r = ImportTrunked(image, 3, 1, system, AllOf(system), {&t}, {});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(image.channel(3, 1)[kFieldFrequency], "0461.2125");
    EXPECT_EQ(image.channel(3, 1)[kFieldTag], "Ridgeway");  // a frequency without a name
    EXPECT_EQ(image.channel(3, 2)[kFieldFrequency], "0461.4625");
    EXPECT_EQ(image.channel(3, 3)[kFieldFrequency], "0462.0125");
    ASSERT_EQ(r.warnings.size(), 2u);
    EXPECT_EQ(r.warnings[0], kMsgLcnWarning);
    EXPECT_NE(r.warnings[1].find("LCN 60"), std::string::npos);
}

TEST_F(ImportTest, TalkgroupsBeyondTheTableAreNamedInOneWarning) {
    SystemData system = Motorola(2, {{0, "851.0125", ""}});
    std::vector<Talkgroup> groups(53);
    std::vector<const Talkgroup*> ticked;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        groups[i].tgDec = static_cast<std::int32_t>(100 + i);
        groups[i].descr = "Group " + std::to_string(i + 1);
        ticked.push_back(&groups[i]);
    }
    image.TrunkId[0][55][0] = "kept";
    const ImportReport r = ImportTrunked(image, 0, 1, system, AllOf(system), ticked, {});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.talkgroups, 50);
    EXPECT_EQ(image.TrunkId[0][49][0], "149");
    EXPECT_EQ(image.TrunkId[0][55][0], "kept");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("importing 53 trunk id's"), std::string::npos);
    EXPECT_NE(r.warnings[0].find("store 50 TG id's"), std::string::npos);
    EXPECT_NE(r.warnings[0].find("150 Group 51, 151 Group 52, 152 Group 53"), std::string::npos);
}

TEST_F(ImportTest, GpsPositionsAreToldAndEdacsIdsStayAsListed) {
    SystemData system;
    system.details.sType = 2;
    Site a, b;
    a.descr = "Harbor Simulcast";
    a.lat = 41.5;
    a.lon = -70.3125;
    a.freqs = {{1, "866.0375", ""}};
    b.descr = "No Position";
    b.freqs = {{2, "866.5375", ""}};
    system.sites = {a, b};
    Talkgroup t;
    t.subfleet = "04-081";
    ImportOptions options;
    options.edacsToAfs = true;
    options.importGps = true;
    Image plain = image;
    const ImportReport r = ImportTrunked(image, 0, 1, system, AllOf(system), {&t}, options);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_NE(r.notes[0].find("Harbor Simulcast: 41.50000, -70.31250"), std::string::npos);
    EXPECT_EQ(r.notes[0].find("No Position"), std::string::npos);
    // The AFS option is kept for other scanners and changes nothing here.
    options.edacsToAfs = false;
    options.importGps = false;
    const ImportReport without = ImportTrunked(plain, 0, 1, system, AllOf(system), {&t}, options);
    EXPECT_TRUE(without.notes.empty());
    EXPECT_EQ(plain, image);
    EXPECT_EQ(image.TrunkId[0][0][0], "04-081");
}

}  // namespace
}  // namespace vex::netdb
