// vexa db: browse the frequency database and import from it into a MEM file, on the same client
// and conversion as the import window.
#include <QCoreApplication>
#include <QStringList>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <set>
#include <sstream>

#include "commands.h"
#include "core/atomic_file.h"
#include "core/image.h"
#include "core/memfile.h"
#include "core/normalise.h"
#include "netdb/browse.h"
#include "netdb/convert.h"
#include "netdb/messages.h"
#include "netdb/session.h"
#include "platform/http_transport.h"
#include "platform/program_folder.h"
#include "settings/setup_ini.h"

namespace vexa {
namespace {

using namespace vex::netdb;

struct PathStep {
    std::string kind;
    std::int32_t id = 0;
};

bool ParsePath(const std::string& text, std::vector<PathStep>& steps, std::string& error) {
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, '/')) {
        const std::size_t colon = part.find(':');
        PathStep step;
        if (colon != std::string::npos) step.kind = part.substr(0, colon);
        static const std::set<std::string> kKinds = {"country", "state", "county", "agency",
                                                     "system"};
        char* end = nullptr;
        const std::string number = colon == std::string::npos ? "" : part.substr(colon + 1);
        const long id = std::strtol(number.c_str(), &end, 10);
        if (!kKinds.count(step.kind) || number.empty() || *end != '\0' || id < 0 ||
            id > INT32_MAX) {
            error = "'" + part +
                    "' is not a KIND:ID path step (KIND: country, state, county, "
                    "agency or system)";
            return false;
        }
        step.id = static_cast<std::int32_t>(id);
        steps.push_back(step);
    }
    return true;
}

std::set<std::int32_t> IdList(const std::optional<std::string>& text, bool& ok) {
    std::set<std::int32_t> ids;
    ok = true;
    if (!text) return ids;
    std::stringstream in(*text);
    std::string part;
    while (std::getline(in, part, ',')) {
        const std::size_t colon = part.find(':');
        if (colon != std::string::npos) part = part.substr(colon + 1);
        char* end = nullptr;
        const long id = std::strtol(part.c_str(), &end, 10);
        if (part.empty() || *end != '\0') ok = false;
        ids.insert(static_cast<std::int32_t>(id));
    }
    return ids;
}

std::string Out(std::string_view latin1) {
    return Latin1ToUtf8(latin1);
}

// Runs the session's chain of calls in an event loop until `start` reports back.
struct Runner {
    vex::QtHttpTransport transport;
    Session session;
    Runner(const std::filesystem::path& folder) : session(transport, folder / "marlosoap") {}
};

int RunDb(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"endpoint", "user", "password-file", "dir", "bank",
                                               "start", "base", "items", "sites", "set"});
    if (parsed.help) {
        std::cout << kDbCommand.usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.empty() ||
        (parsed.positional[0] != "list" && parsed.positional[0] != "import"))
        return Fail("db needs \"list\" or \"import\"; see \"vexa db --help\"", kExitUsage);
    const bool list = parsed.positional[0] == "list";
    if ((list && parsed.positional.size() > 2) || (!list && parsed.positional.size() != 3))
        return Fail(list ? "db list takes at most one PATH" : "db import needs PATH and OUT.mem",
                    kExitUsage);
    std::vector<PathStep> path;
    std::string error;
    if (parsed.positional.size() > 1 && !ParsePath(parsed.positional[1], path, error))
        return Fail(error, kExitUsage);

    // Import settings first: a bad option must not cost a log-in.
    ImportOptions options;
    std::vector<std::string> sets;
    for (const auto& [name, value] : parsed.options)
        if (name == "set") sets.push_back(value);
    int bank = -1, start = 1;
    std::optional<std::string> placeNameSet;
    if (!list) {
        if (path.empty() || (path.back().kind != "county" && path.back().kind != "agency" &&
                             path.back().kind != "system"))
            return Fail("import needs a PATH ending in a county, an agency or a system",
                        kExitUsage);
        for (const std::string& set : sets) {
            const std::size_t equals = set.find('=');
            if (equals == std::string::npos)
                return Fail("--set takes \"CAPTION=VALUE\", not '" + set + "'", kExitUsage);
            if (!SetOptionByCaption(options, set.substr(0, equals), set.substr(equals + 1), error))
                return Fail(error, kExitUsage);
            if (set.substr(0, equals) == "Use Agency/County Name:" && equals + 1 < set.size())
                placeNameSet = set.substr(equals + 1);
        }
        const auto bankText = parsed.option("bank");
        bank = bankText ? std::atoi(bankText->c_str()) : 0;
        if (bank < 1 || bank > vex::kScannerBanks) return Fail("--bank takes 1 to 5", kExitUsage);
        --bank;
        if (const auto s = parsed.option("start")) start = std::atoi(s->c_str());
        if (start < 1 || start > vex::ChannelsPerBank)
            return Fail("--start takes 1 to 50", kExitUsage);
    }
    bool itemsOk = true, sitesOk = true;
    const std::set<std::int32_t> items = IdList(parsed.option("items"), itemsOk);
    const std::set<std::int32_t> sites = IdList(parsed.option("sites"), sitesOk);
    if (!itemsOk || !sitesOk)
        return Fail("--items and --sites take IDs separated by commas", kExitUsage);

    // Credentials: never from the command line, where other users could read them.
    std::string user = parsed.option("user").value_or("");
    std::string password;
    if (const auto file = parsed.option("password-file")) {
        if (!vex::ReadWholeFile(*file, password))
            return Fail("cannot read the password file " + *file);
        password = password.substr(0, password.find_first_of("\r\n"));
    } else if (const char* env = std::getenv("VEXA_DB_PASSWORD")) {
        password = env;
    }
    if (user.empty()) return Fail(std::string(kMsgEnterUser) + " (--user NAME)", kExitUsage);
    if (password.empty())
        return Fail(std::string(kMsgEnterPassword) + " (VEXA_DB_PASSWORD or --password-file FILE)",
                    kExitUsage);

    vex::Options memOptions;
    std::filesystem::path folder;
    {
        QStringList folderArgs{"vexa"};
        if (const auto dir = parsed.option("dir")) {
            folderArgs << "--dir" << QString::fromStdString(*dir);
            memOptions = vex::ReadSetupIni(*dir);
        }
        folder = vex::ProgramFolder(folderArgs);
    }
    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    if (const auto base = parsed.option("base")) {
        const vex::MemReadResult read = vex::ReadMemFile(image, *base, memOptions);
        if (!read.ok)
            return Fail(*base + ": " + (read.fileMissing ? "no such file" : read.message));
    }

    int argc = 1;
    char name[] = "vexa";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    Runner runner(folder);
    Session& session = runner.session;
    std::string endpoint{kRemoteEndpoint};
    EndpointKind kind = EndpointKind::Remote;
    if (const auto e = parsed.option("endpoint")) {
        endpoint = NormaliseEndpoint(*e);
        if (endpoint.empty()) return Fail("'" + *e + "' is not a usable address", kExitUsage);
        if (endpoint != kRemoteEndpoint) kind = EndpointKind::Local;
    }
    session.setEndpoint(kind, endpoint);
    session.setCredentials(user, password);

    int exitCode = kExitOk;
    std::ostringstream output;
    const auto finish = [&](int code) {
        exitCode = code;
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    };
    const auto failWith = [&](const std::string& message) { finish(Fail(message)); };
    const std::string prefix = parsed.positional.size() > 1 ? parsed.positional[1] + "/" : "";

    const auto listPlace = [&](const PlaceData& data) {
        for (const SystemRef& s : data.info.systems)
            output << prefix << "system:" << s.sid << '\t' << Out(s.name) << '\n';
        for (const AgencyRef& a : data.info.agencies)
            output << prefix << "agency:" << a.aid << '\t' << Out(a.name) << '\n';
        for (const SubcatFrequencies& g : data.groups)
            for (const Frequency& f : g.frequencies)
                output << "freq:" << f.fid << '\t' << f.out << '\t'
                       << Out(ProcessTag(f.alpha.empty() ? f.descr : f.alpha, ImportOptions{}))
                       << '\t' << Out(f.descr) << '\n';
    };
    const auto importPlace = [&](const PlaceData& data) {
        std::vector<Frequency> ticked;
        for (const SubcatFrequencies& g : data.groups)
            for (const Frequency& f : g.frequencies)
                if (items.empty() || items.count(f.fid)) ticked.push_back(f);
        if (!placeNameSet) options.placeName = data.info.name;
        const ImportReport report = ImportConventional(image, bank, start, ticked, options);
        if (!report.ok) return failWith(report.error);
        for (const std::string& w : report.warnings)
            std::cerr << "vexa: warning: " << Out(w) << '\n';
        output << "Imported " << report.channels << " channels into bank " << bank + 1 << "\n";
        finish(kExitOk);
    };
    const auto onSystem = [&](const SystemData& data) {
        if (list) {
            for (const Site& s : data.sites) {
                output << "site:" << s.siteId << '\t' << Out(s.descr) << '\t';
                for (std::size_t i = 0; i < s.freqs.size(); ++i)
                    output << (i ? " " : "") << s.freqs[i].freq
                           << (s.freqs[i].use.empty() ? "" : s.freqs[i].use);
                output << '\n';
            }
            for (const TalkgroupGroup& g : data.groups)
                for (const Talkgroup& t : g.talkgroups)
                    output << "tg:" << t.tgId << '\t'
                           << (t.tgDec ? std::to_string(t.tgDec) : t.subfleet) << '\t'
                           << Out(t.alpha) << '\t' << Out(t.descr) << '\n';
            return finish(kExitOk);
        }
        std::vector<SiteChoice> siteChoices;
        for (const Site& s : data.sites) {
            if (!sites.empty() && !sites.count(s.siteId)) continue;
            SiteChoice choice{&s, {}};
            for (const SiteFrequency& f : s.freqs) choice.frequencies.push_back(&f);
            siteChoices.push_back(std::move(choice));
        }
        std::vector<const Talkgroup*> talkgroups;
        for (const TalkgroupGroup& g : data.groups)
            for (const Talkgroup& t : g.talkgroups)
                if (items.empty() || items.count(t.tgId)) talkgroups.push_back(&t);
        if (!placeNameSet) options.placeName = data.details.name;
        const ImportReport report =
            ImportTrunked(image, bank, start, data, siteChoices, talkgroups, options);
        if (!report.ok) return failWith(report.error);
        for (const std::string& w : report.warnings)
            std::cerr << "vexa: warning: " << Out(w) << '\n';
        for (const std::string& note : report.notes) output << Out(note) << '\n';
        output << "Imported " << report.channels << " channels and " << report.talkgroups
               << " talkgroups into bank " << bank + 1 << "\n";
        finish(kExitOk);
    };

    const auto browse = [&] {
        if (path.empty()) {
            for (std::size_t i = 0; i < CountryNames().size(); ++i)
                output << "country:" << i + 1 << '\t' << CountryNames()[i] << '\n';
            return finish(kExitOk);
        }
        const PathStep last = path.back();
        if (last.kind == "country") {
            LoadCountry(session, last.id, [&](Outcome o, CountryInfo info) {
                if (!o.ok) return failWith(o.message);
                for (const StateRef& s : info.states)
                    output << prefix << "state:" << s.stid << '\t' << Out(s.name) << '\n';
                for (const AgencyRef& a : info.agencies)
                    output << prefix << "agency:" << a.aid << '\t' << Out(a.name) << '\n';
                finish(kExitOk);
            });
        } else if (last.kind == "state") {
            LoadState(session, last.id, [&](Outcome o, StateInfo info) {
                if (!o.ok) return failWith(o.message);
                for (const CountyRef& c : info.counties)
                    output << prefix << "county:" << c.ctid << '\t' << Out(c.name) << '\n';
                for (const AgencyRef& a : info.agencies)
                    output << prefix << "agency:" << a.aid << '\t' << Out(a.name) << '\n';
                for (const SystemRef& s : info.systems)
                    output << prefix << "system:" << s.sid << '\t' << Out(s.name) << '\n';
                finish(kExitOk);
            });
        } else if (last.kind == "county" || last.kind == "agency") {
            auto done = [&](Outcome o, PlaceData data) {
                if (!o.ok) return failWith(o.message);
                list ? (listPlace(data), finish(kExitOk)) : importPlace(data);
            };
            if (last.kind == "county")
                LoadCounty(session, last.id, done);
            else
                LoadAgency(session, last.id, done);
        } else {
            LoadSystem(session, last.id, [&](Outcome o, SystemData data) {
                if (!o.ok) return failWith(o.message);
                onSystem(data);
            });
        }
    };
    QTimer::singleShot(0, &app, [&] {
        if (list && path.empty()) return browse();
        Login(session, [&](LoginResult login) {
            if (!login.outcome.ok) return failWith(login.outcome.message);
            if (!login.notice.empty()) std::cerr << "vexa: warning: " << login.notice << '\n';
            browse();
        });
    });
    app.exec();
    if (exitCode != kExitOk) return exitCode;
    if (!list) {
        vex::NormaliseTable(image, memOptions);
        const std::string out = parsed.positional[2];
        const vex::MemWriteResult written = vex::WriteMemFile(image, out, memOptions);
        if (!written.ok)
            return Fail("cannot write " + written.path.string() + ": " + written.error);
        output << "Wrote " << written.path.string() << "\n";
    }
    std::cout << output.str();
    return kExitOk;
}

}  // namespace

const Command kDbCommand = {
    "db",
    "browse the frequency database and import from it into a MEM file",
    "Usage: vexa db [--endpoint URL] [--user NAME] list [PATH]\n"
    "       vexa db [--endpoint URL] [--user NAME] import PATH OUT.mem --bank 1..5 [--start C]\n"
    "               [--base B.mem] [--items ID,...] [--sites ID,...] [--set \"CAPTION=VALUE\"]...\n"
    "PATH names the browse tree's nodes from the top, each KIND:ID (KIND: country, state,\n"
    "county, agency, system) joined by \"/\", e.g. country:1/state:11/county:101; a trunked\n"
    "system may be named alone (system:2001).\n\n"
    "list prints one line per child: its PATH, a tab and its name; for a county or agency its\n"
    "frequencies (freq:ID, frequency, tag, description), for a system its sites (site:ID) and\n"
    "talkgroups (tg:ID, ID, alpha tag, description).\n\n"
    "import ticks what --items (frequencies or talkgroups) and --sites name, all when omitted,\n"
    "imports into bank --bank from channel --start (default 1) as the import window does, and\n"
    "writes OUT.mem. A failure writes nothing.\n\n"
    "Options:\n"
    "  --endpoint URL       the service's address (default: the public service); a local one\n"
    "                       such as http://127.0.0.1:9000/soap2/ for freqdb-local\n"
    "  --user NAME          the database account\n"
    "  --password-file FILE read the password from FILE's first line; otherwise it is taken\n"
    "                       from the environment variable VEXA_DB_PASSWORD (never from the\n"
    "                       command line, where other users can read it)\n"
    "  --base B.mem         import into a copy of B.mem instead of an empty memory\n"
    "  --set CAPTION=VALUE  an option of the import window by its caption: a tick box takes 0\n"
    "                       or 1, \"Don't change\" takes 1, \"Use Agency/County Name:\" and\n"
    "                       \"Custom:\" take the name; options not named take the window's\n"
    "                       defaults; \"Import GPS data (if available)=1\" lists the imported\n"
    "                       sites' positions, \"Convert Edacs To AFS\" has no effect here\n"
    "  --dir FOLDER         the program folder (setup.ini; the cached description in\n"
    "                       FOLDER/marlosoap)\n",
    &RunDb,
};

}  // namespace vexa
