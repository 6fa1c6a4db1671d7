// The database import against the local service on loopback: log in, browse, import
// conventional frequencies and each supported kind of trunked system, save the MEM file; and
// each failure of the service told plainly with the image left as it was.
#include <gtest/gtest.h>

#include "core/image.h"
#include "core/memfile.h"
#include "e2e/netdb_server.h"
#include "netdb/browse.h"
#include "netdb/convert.h"
#include "netdb/messages.h"

namespace {

using namespace vex::netdb;
using netdbtest::LocalService;

class NetDbImport : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        netdbtest::EnsureApp();
        service = new LocalService;
        if (!service->start()) {
            delete service;
            service = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete service;
        service = nullptr;
    }
    void SetUp() override {
        if (!service) GTEST_SKIP() << "freqdb-local is not built";
        ASSERT_TRUE(service->setFaults("none"));
        session.setEndpoint(EndpointKind::Local, service->endpoint());
        session.setCredentials("tester", "letmein");
        vex::ClearForStartup(image);
        vex::SetStartupBankTags(image);
    }

    // One call of the service run to its answer: `Result` built from what it gives back.
    template <typename Result, typename Call>
    Result answer(Call call) {
        Result result;
        EXPECT_TRUE(netdbtest::RunUntilDone([&](auto done) {
            call([&, done](auto... given) {
                result = Result{std::move(given)...};
                done();
            });
        }));
        return result;
    }
    LoginResult login() {
        return answer<LoginResult>([&](auto reply) { Login(session, reply); });
    }
    std::pair<Outcome, PlaceData> county(std::int32_t ctid) {
        return answer<std::pair<Outcome, PlaceData>>(
            [&](auto reply) { LoadCounty(session, ctid, reply); });
    }
    // The image after a save and a read of the MEM file.
    vex::Image savedAndRead() {
        const vex::MemWriteResult written = vex::WriteMemFile(image, folder / "out.mem", {});
        EXPECT_TRUE(written.ok) << written.error;
        vex::Image back;
        vex::ClearForStartup(back);
        EXPECT_TRUE(vex::ReadMemFile(back, folder / "out.mem", {}).ok);
        return back;
    }

    static LocalService* service;
    vex::QtHttpTransport transport;
    simtest::TempFolder folder;
    Session session{transport, folder / "marlosoap"};
    vex::Image image;
};

LocalService* NetDbImport::service = nullptr;

struct SystemCase {
    const char* name;
    std::int32_t sid;
    const char* type;  // nullptr: refused
    int slot;          // a channel that must hold `frequency`
    const char* frequency;
    const char* firstId;
    const char* firstTag;
    int talkgroups;
};

class NetDbSystem : public NetDbImport, public testing::WithParamInterface<SystemCase> {};

TEST_P(NetDbSystem, ImportsIntoABank) {
    const SystemCase& c = GetParam();
    ASSERT_TRUE(login().outcome.ok);
    const auto [outcome, data] = answer<std::pair<Outcome, SystemData>>(
        [&](auto reply) { LoadSystem(session, c.sid, reply); });
    ASSERT_TRUE(outcome.ok) << outcome.message;
    std::vector<SiteChoice> sites;
    for (const Site& s : data.sites) {
        SiteChoice choice{&s, {}};
        for (const SiteFrequency& f : s.freqs) choice.frequencies.push_back(&f);
        sites.push_back(choice);
    }
    std::vector<const Talkgroup*> talkgroups;
    for (const TalkgroupGroup& g : data.groups)
        for (const Talkgroup& t : g.talkgroups) talkgroups.push_back(&t);
    const vex::Image before = image;
    const ImportReport report = ImportTrunked(image, 2, 1, data, sites, talkgroups, {});
    if (!c.type) {  // a kind of system the scanner cannot follow
        EXPECT_EQ(report.error, kMsgNotSupported);
        EXPECT_EQ(image, before);
        return;
    }
    ASSERT_TRUE(report.ok) << report.error;
    EXPECT_EQ(report.talkgroups, c.talkgroups);

    const vex::Image back = savedAndRead();
    EXPECT_EQ(back.TrunkType[2], c.type);
    EXPECT_EQ(back.channel(2, c.slot)[vex::kFieldFrequency], c.frequency);
    EXPECT_EQ(back.channel(2, c.slot)[vex::kFieldTrunk], "1");
    EXPECT_EQ(back.TrunkId[2][0][0], c.firstId);
    EXPECT_EQ(back.TrunkId[2][0][1], c.firstTag);
    EXPECT_EQ(back.TrunkSetting[2][0], std::string(c.type) == "2" ? "1" : "0");
}

INSTANTIATE_TEST_SUITE_P(
    Systems, NetDbSystem,
    testing::Values(
        SystemCase{"Type2_800", 2001, "1", 7, "0856.9625", "1000", "BWSO Talk 1", 50},
        SystemCase{"Type1_FleetMap", 2002, "2", 1, "0856.4375", "100-12", "Ops North", 2},
        SystemCase{"Type2_Vhf", 2003, "5", 2, "0151.1000", "2032", "NG Hwy Patrol", 2},
        SystemCase{"Type2_Uhf", 2004, "4", 3, "0452.0750", "4048", "AU Water", 2},
        SystemCase{"Edacs_ByLcn", 2005, "6", 5, "0867.5375", "577", "Harbor Ops", 2},
        SystemCase{"Ltr_ByLcnPadded", 2006, "8", 4, "0462.0125", "001234", "Taxi Disp", 3},
        SystemCase{"Unsupported", 2007, nullptr, 0, nullptr, nullptr, nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    const char* message;  // a part of what the user is told
    const char* callFault = nullptr;
    const char* password = "letmein";
    const char* wsdlFault = "none";
    const char* endpoint = nullptr;  // nullptr: the service's
    bool wsdlKept = true;
};

class NetDbFailure : public NetDbImport, public testing::WithParamInterface<FailureCase> {};

TEST_P(NetDbFailure, IsToldAndNothingIsRead) {
    const FailureCase& c = GetParam();
    ASSERT_TRUE(service->setFaults("none", c.wsdlFault));
    if (c.endpoint) session.setEndpoint(EndpointKind::Local, c.endpoint);
    session.setCredentials("tester", c.password);
    const LoginResult l = login();
    Outcome outcome = l.outcome;
    if (c.callFault) {
        ASSERT_TRUE(l.outcome.ok) << l.outcome.message;
        ASSERT_TRUE(service->setFaults(c.callFault));
        // Only the slow answer meets the short time-out; the others get time to arrive.
        session.setTimeouts(2000, std::string(c.callFault) == "slow" ? 300 : 15000);
        const auto [countyOutcome, place] = county(101);
        outcome = countyOutcome;
        EXPECT_TRUE(place.groups.empty());
    }
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find(c.message), std::string::npos) << outcome.message;
    EXPECT_EQ(std::filesystem::exists(folder / "marlosoap" / "Local.wsdl"), c.wsdlKept);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Faults, NetDbFailure,
    testing::Values(
        FailureCase{"WrongPassword",
                    "The frequency database refused the request: Invalid username or password.",
                    nullptr, "guess"},
        FailureCase{"ErrorPageForTheDescription",
                    "INIT not ok, check firewall settings. Error, can't load WSDL site, check "
                    "firewall settings (HTTP 503)",
                    nullptr, "letmein", "http-error", nullptr, false},
        FailureCase{"ServiceDown", "Error, can't load WSDL site", nullptr, "letmein", "none",
                    "http://127.0.0.1:1/soap2/", false},
        FailureCase{"WrongCredentials", "Invalid username or password.", "wrong-credentials"},
        FailureCase{"LapsedSubscription", "Your subscription expired on 2026-01-31", "lapsed"},
        FailureCase{"Slow", "did not answer within 0.3 seconds", "slow"},
        FailureCase{"Cut", "The answer of the frequency database was cut short", "cut"},
        FailureCase{"HttpErrorPage", "error page (HTTP 503)", "http-error"},
        FailureCase{"WrongResponseName",
                    "Unexpected Return:getCountyInfoFailure - getCountyInfo", "wrong-name"},
        FailureCase{"Huge", "larger than 32 MB", "huge"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

#ifdef VEXA_PATH
TEST_F(NetDbImport, CommandLineImportsASystemAndWritesNothingOnFailure) {
    const std::string out = (folder / "ltr.mem").string();
    auto run = [&](const char* password, std::vector<std::string> tail) {
        ::setenv("VEXA_DB_PASSWORD", password, 1);
        std::vector<std::string> args = {
            "db",         "--endpoint", service->endpoint(),    "--user",
            "tester",     "--dir",      folder.path().string(), "import",
            "system:2006"};
        args.insert(args.end(), tail.begin(), tail.end());
        const simtest::Outcome outcome = simtest::Vexa(args);
        ::unsetenv("VEXA_DB_PASSWORD");
        return outcome;
    };
    auto r = run("letmein", {out, "--bank", "4", "--items", "90064,90066", "--set",
                             "Custom:=Ridgeway Taxi", "--set", "Convert To Upper Case=1"});
    ASSERT_EQ(r.code, 0) << r.err;
    vex::Image back;
    vex::ClearForStartup(back);
    ASSERT_TRUE(vex::ReadMemFile(back, out, {}).ok);
    EXPECT_EQ(back.TrunkType[3], "8");
    EXPECT_EQ(back.BankTag[3], "Ridgeway Taxi");
    EXPECT_EQ(back.TrunkId[3][0][0], "001234");
    EXPECT_EQ(back.TrunkId[3][0][1], "TAXI DISP");
    EXPECT_EQ(back.TrunkId[3][1][0], "101005");

    r = run("guess", {(folder / "none.mem").string(), "--bank", "1"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Invalid username or password."), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "none.mem"));
    r = run("letmein", {out, "--bank", "1", "--set", "Loud=1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("Use Tag Filters"), std::string::npos) << r.err;
}
#endif

}  // namespace
