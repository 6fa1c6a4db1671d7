#include "netdb/browse.h"

#include <memory>

#include "netdb/messages.h"

namespace vex::netdb {

namespace {

using Fail = std::function<void(const std::string&)>;
using LoginFail = std::function<void(const std::string&, bool refused)>;

// One call whose success runs `ok` with the returned element and whose failure runs `fail`.
void Call(Session& session, int op, Parameters params, Fail fail,
          std::function<void(const SoapAnswer&)> ok) {
    session.call(op, params, [fail = std::move(fail), ok = std::move(ok)](SoapAnswer answer) {
        if (!answer.ok) return fail(answer.message);
        ok(answer);
    });
}

// The same for the log-in, which also needs to know whether the service refused.
void Call(Session& session, int op, Parameters params, LoginFail fail,
          std::function<void(const SoapAnswer&)> ok) {
    session.call(op, params, [fail = std::move(fail), ok = std::move(ok)](SoapAnswer answer) {
        if (!answer.ok) return fail(answer.message, answer.refused);
        ok(answer);
    });
}

template <typename Record, typename Reader>
std::vector<Record> ReadItems(const SoapAnswer& answer, Reader read) {
    std::vector<Record> out;
    for (const pugi::xml_node& item : Items(answer.value)) out.push_back(read(item));
    return out;
}

struct LoginJob {
    Session* session = nullptr;
    LoginResult result;
    std::function<void(LoginResult)> done;
};

void FinishLogin(const std::shared_ptr<LoginJob>& job, const std::string& failure,
                 bool refused = false) {
    if (!failure.empty()) {
        job->result.outcome = {false, failure, refused};
        job->result.lookups = {};
    } else {
        job->result.outcome = {true, {}};
    }
    job->done(std::move(job->result));
}

void LoadLookups(const std::shared_ptr<LoginJob>& job) {
    Session& s = *job->session;
    const LoginFail fail = [job](const std::string& m, bool refused) {
        FinishLogin(job, m, refused);
    };
    Lookups& l = job->result.lookups;
    Call(s, kGetTrsFlavor, {{"id", 0}}, fail, [job, fail, &s, &l](const SoapAnswer& a) {
        l.flavors = ReadItems<Flavor>(a, ReadFlavor);
        Call(s, kGetTrsType, {{"id", 0}}, fail, [job, fail, &s, &l](const SoapAnswer& a) {
            l.types = ReadItems<TypeName>(a, ReadTypeName);
            Call(s, kGetTrsVoice, {{"id", 0}}, fail, [job, fail, &s, &l](const SoapAnswer& a) {
                l.voices = ReadItems<Voice>(a, ReadVoice);
                Call(s, kGetMode, {{"mode", 0}}, fail, [job, fail, &s, &l](const SoapAnswer& a) {
                    l.modes = ReadItems<Mode>(a, ReadMode);
                    Call(s, kGetTag, {{"id", 0}}, fail, [job, fail, &s, &l](const SoapAnswer& a) {
                        l.tags = ReadItems<TagName>(a, ReadTagName);
                        Call(s, kGetMetroArea, {{"mid", 0}}, fail, [job, &l](const SoapAnswer& a) {
                            l.metros = ReadItems<Metro>(a, ReadMetro);
                            FinishLogin(job, {});
                        });
                    });
                });
            });
        });
    });
}

struct PlaceJob {
    Session* session = nullptr;
    PlaceData data;
    std::size_t next = 0;
    std::function<void(Outcome, PlaceData)> done;
};

void NextSubcat(const std::shared_ptr<PlaceJob>& job) {
    if (job->next == job->data.groups.size()) {
        job->done({true, {}}, std::move(job->data));
        return;
    }
    const std::int32_t scid = job->data.groups[job->next].subcat.scid;
    Call(
        *job->session, kGetSubcatFreqs, {{"scid", scid}},
        [job](const std::string& m) {
            job->done({false, m}, {});
        },
        [job](const SoapAnswer& a) {
            job->data.groups[job->next].frequencies = ReadItems<Frequency>(a, ReadFrequency);
            ++job->next;
            NextSubcat(job);
        });
}

void LoadPlace(Session& session, int op, const char* param, std::int32_t id,
               PlaceInfo (*read)(const pugi::xml_node&),
               std::function<void(Outcome, PlaceData)> done) {
    auto job = std::make_shared<PlaceJob>();
    job->session = &session;
    job->done = std::move(done);
    Call(
        session, op, {{param, id}},
        [job](const std::string& m) {
            job->done({false, m}, {});
        },
        [job, read](const SoapAnswer& a) {
            job->data.info = read(a.value);
            for (const Category& cat : job->data.info.cats)
                for (const Subcat& sub : cat.subcats)
                    job->data.groups.push_back({Category{cat.cid, cat.name, {}}, sub, {}});
            NextSubcat(job);
        });
}

struct SystemJob {
    Session* session = nullptr;
    SystemData data;
    std::size_t next = 0;
    std::function<void(Outcome, SystemData)> done;
};

void NextTalkgroupCat(const std::shared_ptr<SystemJob>& job) {
    if (job->next == job->data.groups.size()) {
        job->done({true, {}}, std::move(job->data));
        return;
    }
    const std::int32_t cid = job->data.groups[job->next].category.tgCid;
    Call(
        *job->session, kGetTrsTalkgroups,
        {{"sid", job->data.sid}, {"tgCid", cid}, {"tgTag", 0}, {"tgDec", 0}},
        [job](const std::string& m) {
            job->done({false, m}, {});
        },
        [job](const SoapAnswer& a) {
            job->data.groups[job->next].talkgroups = ReadItems<Talkgroup>(a, ReadTalkgroup);
            ++job->next;
            NextTalkgroupCat(job);
        });
}

}  // namespace

void Login(Session& session, std::function<void(LoginResult)> done) {
    auto job = std::make_shared<LoginJob>();
    job->session = &session;
    job->done = std::move(done);
    session.init([job](Outcome init) {
        if (!init.ok) return FinishLogin(job, std::string(kMsgInitNotOk) + " " + init.message);
        job->result.notice = init.message;
        if (job->session->endpointKind() == EndpointKind::Local) {
            job->result.expires = std::string(kMsgUnknownDate);
            return LoadLookups(job);
        }
        Call(
            *job->session, kGetUserData, {},
            [job](const std::string& m, bool refused) {
                FinishLogin(job, std::string(kMsgNoUserData) + " " + m, refused);
            },
            [job](const SoapAnswer& a) {
                job->result.expires = ReadUserData(a.value).subExpireDate;
                LoadLookups(job);
            });
    });
}

void LoadCountry(Session& session, std::int32_t coid,
                 std::function<void(Outcome, CountryInfo)> done) {
    auto shared = std::make_shared<std::function<void(Outcome, CountryInfo)>>(std::move(done));
    Call(
        session, kGetCountryInfo, {{"coid", coid}},
        [shared](const std::string& m) {
            (*shared)({false, m}, {});
        },
        [shared](const SoapAnswer& a) {
            (*shared)({true, {}}, ReadCountryInfo(a.value));
        });
}

void LoadState(Session& session, std::int32_t stid, std::function<void(Outcome, StateInfo)> done) {
    auto shared = std::make_shared<std::function<void(Outcome, StateInfo)>>(std::move(done));
    Call(
        session, kGetStateInfo, {{"stid", stid}},
        [shared](const std::string& m) {
            (*shared)({false, m}, {});
        },
        [shared](const SoapAnswer& a) {
            (*shared)({true, {}}, ReadStateInfo(a.value));
        });
}

void LoadCounty(Session& session, std::int32_t ctid, std::function<void(Outcome, PlaceData)> done) {
    LoadPlace(session, kGetCountyInfo, "ctid", ctid, &ReadCountyInfo, std::move(done));
}

void LoadAgency(Session& session, std::int32_t aid, std::function<void(Outcome, PlaceData)> done) {
    LoadPlace(session, kGetAgencyInfo, "aid", aid, &ReadAgencyInfo, std::move(done));
}

void LoadCountyInfo(Session& session, std::int32_t ctid,
                    std::function<void(Outcome, PlaceInfo)> done) {
    auto shared = std::make_shared<std::function<void(Outcome, PlaceInfo)>>(std::move(done));
    Call(
        session, kGetCountyInfo, {{"ctid", ctid}},
        [shared](const std::string& m) {
            (*shared)({false, m}, {});
        },
        [shared](const SoapAnswer& a) {
            (*shared)({true, {}}, ReadCountyInfo(a.value));
        });
}

void LoadZip(Session& session, std::int32_t zipcode, std::function<void(Outcome, ZipInfo)> done) {
    auto shared = std::make_shared<std::function<void(Outcome, ZipInfo)>>(std::move(done));
    Call(
        session, kGetZipcodeInfo, {{"zipcode", zipcode}},
        [shared](const std::string& m) {
            (*shared)({false, m}, {});
        },
        [shared, zipcode](const SoapAnswer& a) {
            const ZipInfo zip = ReadZipInfo(a.value);
            // An answer without a state would select nothing; say so instead.
            if (zip.stid <= 0)
                return (*shared)({false, "The ZIP code " + std::to_string(zipcode) +
                                             " is not in the frequency database."},
                                 {});
            (*shared)({true, {}}, zip);
        });
}

void LoadSystem(Session& session, std::int32_t sid, std::function<void(Outcome, SystemData)> done) {
    auto job = std::make_shared<SystemJob>();
    job->session = &session;
    job->data.sid = sid;
    job->done = std::move(done);
    const Fail fail = [job](const std::string& m) { job->done({false, m}, {}); };
    Session& s = session;
    Call(s, kGetTrsDetails, {{"sid", sid}}, fail, [job, fail, &s, sid](const SoapAnswer& a) {
        job->data.details = ReadSystemDetails(a.value);
        Call(s, kGetTrsSites, {{"sid", sid}}, fail, [job, fail, &s, sid](const SoapAnswer& a) {
            job->data.sites = ReadItems<Site>(a, ReadSite);
            Call(s, kGetTrsTalkgroupCats, {{"sid", sid}}, fail, [job](const SoapAnswer& a) {
                for (const TalkgroupCat& cat : ReadItems<TalkgroupCat>(a, ReadTalkgroupCat))
                    job->data.groups.push_back({cat, {}});
                NextTalkgroupCat(job);
            });
        });
    });
}

const std::vector<std::string>& CountryNames() {
    static const std::vector<std::string> names = {
        "USA",         "Canada",        "Australia", "Belgium", "Denmark",         "Finland",
        "France",      "Germany",       "Ireland",   "Japan",   "The Netherlands", "Norway",
        "New Zealand", "United Kingdom"};
    return names;
}

}  // namespace vex::netdb
