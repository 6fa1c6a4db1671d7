// A big trunked system from the database: reading the sites and talkgroups answers (200 sites,
// 5,000 talkgroups) and converting them into a bank.
#include <benchmark/benchmark.h>

#include <string>

#include "core/image.h"
#include "netdb/browse.h"
#include "netdb/convert.h"
#include "netdb/records.h"
#include "netdb/soap.h"

namespace {

using namespace vex::netdb;

std::string Envelope(const std::string& name, const std::string& items) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SOAP-ENV:Envelope xmlns:SOAP-ENV=\"e\" "
           "xmlns:ns1=\"n\"><SOAP-ENV:Body><ns1:" +
           name + "><return>" + items + "</return></ns1:" + name +
           "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string SitesAnswer() {
    std::string items;
    for (int s = 0; s < 200; ++s) {
        items += "<item><siteId>" + std::to_string(s) + "</siteId><sid>9</sid><siteNumber>" +
                 std::to_string(s) + "</siteNumber><siteDescr>Site number " + std::to_string(s) +
                 ", east</siteDescr><siteCtid>101</siteCtid><rebanded>0</rebanded><bandplan/>"
                 "<siteFreqs>";
        for (int f = 0; f < 8; ++f)
            items += "<item><lcn>" + std::to_string(f + 1) + "</lcn><freq>85" +
                     std::to_string(1 + f % 5) + ".0125</freq><use>" + (f == 0 ? "d" : "") +
                     "</use></item>";
        items += "</siteFreqs></item>";
    }
    return Envelope("getTrsSitesResponse", items);
}

std::string TalkgroupsAnswer() {
    std::string items;
    for (int t = 0; t < 5000; ++t)
        items += "<item><tgId>" + std::to_string(90000 + t) + "</tgId><tgDec>" +
                 std::to_string(16 * t + 16) +
                 "</tgDec><tgSubfleet/><tgLtr>false</tgLtr>"
                 "<tgDescr>Operations &amp;amp; dispatch, group " +
                 std::to_string(t) + "</tgDescr><tgAlpha>OPS " + std::to_string(t) +
                 "</tgAlpha><tgMode>D</tgMode>"
                 "<tags><item><tagId>2</tagId></item></tags><tgCid>1</tgCid><tgSort>0</tgSort>"
                 "<tgDate>2026-01-01</tgDate></item>";
    return Envelope("getTrsTalkgroupsResponse", items);
}

SelectedOperation Op(const char* name) {
    SelectedOperation op;
    op.name = name;
    op.outputMessage = std::string("tns:") + name + "Response";
    return op;
}

void BM_ParseAndConvertBigSystem(benchmark::State& state) {
    const std::string sites = SitesAnswer();
    const std::string talkgroups = TalkgroupsAnswer();
    const SelectedOperation sitesOp = Op("getTrsSites");
    const SelectedOperation tgOp = Op("getTrsTalkgroups");
    vex::Image image;
    vex::ClearForStartup(image);
    for (auto _ : state) {
        SystemData system;
        system.details.sType = 1;
        system.details.sFlavor = 2;
        const SoapAnswer a = ReadAnswer(sites, 200, sitesOp);
        for (const pugi::xml_node& item : Items(a.value)) system.sites.push_back(ReadSite(item));
        const SoapAnswer b = ReadAnswer(talkgroups, 200, tgOp);
        TalkgroupGroup group;
        for (const pugi::xml_node& item : Items(b.value))
            group.talkgroups.push_back(ReadTalkgroup(item));
        system.groups.push_back(std::move(group));
        std::vector<SiteChoice> choices;
        for (const Site& s : system.sites) {
            SiteChoice c{&s, {}};
            for (const SiteFrequency& f : s.freqs) c.frequencies.push_back(&f);
            choices.push_back(std::move(c));
        }
        std::vector<const Talkgroup*> ticked;
        for (const Talkgroup& t : system.groups[0].talkgroups) ticked.push_back(&t);
        vex::Image target = image;
        const ImportReport report = ImportTrunked(target, 0, 1, system, choices, ticked, {});
        benchmark::DoNotOptimize(report);
    }
    state.SetLabel(std::to_string((sites.size() + talkgroups.size()) / 1024) + " KB of answers");
}
BENCHMARK(BM_ParseAndConvertBigSystem)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
