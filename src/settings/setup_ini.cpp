#include "settings/setup_ini.h"

#include <algorithm>
#include <vector>

#include "core/numeric.h"
#include "settings/ini.h"

namespace vex {
namespace {

// How a key is written.
enum class Kind {
    Flag,        // 1 stays 1, anything else is written as 0
    Number,      // written as it is
    Model,       // written only when 0, 1 or 2
    NotNegative  // negative values are written as 0
};

struct Key {
    const char* name;
    int Options::*member;
    Kind kind;
};

// The writer's order. Options without effect in this program (9khz, bandplan, confirm, option1,
// option3, option12, vcstat, vpos) are kept as numbers so that they survive unchanged.
const std::vector<Key>& SetupKeys() {
    static const std::vector<Key> keys = {
        {"ffont", &Options::ffont, Kind::Flag},
        {"model", &Options::model, Kind::Model},
        {"9khz", &Options::khz9, Kind::Number},
        {"smart", &Options::smart, Kind::Flag},
        {"round", &Options::round, Kind::Flag},
        {"zero", &Options::zero, Kind::Flag},
        {"bandplan", &Options::bandplan, Kind::NotNegative},
        {"savenames", &Options::savenames, Kind::Flag},
        {"cleartag", &Options::cleartag, Kind::Flag},
        {"window", &Options::window, Kind::Flag},
        {"toolbar", &Options::toolbar, Kind::Flag},
        {"helpbar", &Options::helpbar, Kind::Flag},
        {"remtags", &Options::remtags, Kind::Flag},
        {"copytags", &Options::copytags, Kind::Flag},
        {"shiftdir", &Options::shiftdir, Kind::Flag},
        {"confirm", &Options::confirm, Kind::Number},
        {"delid", &Options::delid, Kind::Flag},
        {"loadlast", &Options::loadlast, Kind::Flag},
        {"tabwidth", &Options::tabwidth, Kind::Flag},
        {"linkbank", &Options::linkbank, Kind::Flag},
    };
    return keys;
}

const std::vector<Key>& TailKeys() {
    static const std::vector<Key> keys = {
        {"vcstat", &Options::vcstat, Kind::Number},
        {"align", &Options::align, Kind::Model},
        {"expert", &Options::expert, Kind::Flag},
        {"delay1", &Options::delay1, Kind::Number},
        {"delay2", &Options::delay2, Kind::Number},
        {"delay3", &Options::delay3, Kind::Number},
        {"delay4", &Options::delay4, Kind::Number},
        {"backupdelay", &Options::backupdelay, Kind::Number},
        {"backena", &Options::backena, Kind::Flag},
    };
    return keys;
}

const std::vector<Key>& EndKeys() {
    static const std::vector<Key> keys = {
        {"qview", &Options::qview, Kind::Flag}, {"vstart", &Options::vstart, Kind::Flag},
        {"vpos", &Options::vpos, Kind::Number}, {"infob", &Options::infob, Kind::Flag},
        {"vcm", &Options::vcm, Kind::Flag},
    };
    return keys;
}

bool OptionHasNoEffect(int n) {
    return n == 1 || n == 3 || n == 12;
}

void ReadNumber(const IniData& ini, std::string_view section, std::string_view key, int& value) {
    if (ini.has(section, key)) value = Int16Value(ini.get(section, key));
}

std::string WrittenValue(int value, Kind kind) {
    switch (kind) {
        case Kind::Flag:
            return value == 1 ? "1" : "0";
        case Kind::NotNegative:
            return DecimalText(std::max(value, 0));
        case Kind::Model:
        case Kind::Number:
            break;
    }
    return DecimalText(value);
}

void WriteKey(std::vector<std::string>& lines, std::string_view name, int value, Kind kind) {
    if (kind == Kind::Model && (value < 0 || value > 2)) return;
    lines.push_back(std::string(name) + "=" + WrittenValue(value, kind));
}

}  // namespace

Options ParseSetupIni(std::string_view text) {
    const IniData ini = IniData::parse(text);
    Options o;
    for (const auto* keys : {&SetupKeys(), &TailKeys(), &EndKeys()})
        for (const Key& key : *keys) ReadNumber(ini, "setup", key.name, o.*key.member);
    for (int n = 1; n <= 12; ++n)
        ReadNumber(ini, "setup", "option" + std::to_string(n), o.option[n]);
    for (int n = 0; n < 3; ++n)
        ReadNumber(ini, "setup", "findoptie" + std::to_string(n), o.findoptie[n]);
    ReadNumber(ini, "setup", "remtrunk", o.remtrunk);
    ReadNumber(ini, "cputune", "val2", o.val2);

    // Forced values and clamps.
    o.khz9 = 0;
    o.smart = 0;
    o.option[2] = 0;
    o.option[7] = 0;
    o.infob = 0;
    if (o.align < 0 || o.align > 2) o.align = 0;
    o.delay1 = std::clamp(o.delay1, 25, 1000);
    o.delay2 = std::clamp(o.delay2, 100, 1000);
    o.delay3 = std::clamp(o.delay3, 200, 1000);
    o.delay4 = std::clamp(o.delay4, 50, 1000);
    o.backupdelay = std::clamp(o.backupdelay, 1, 99);
    if (o.val2 < 100 || o.val2 > 1000) o.val2 = 200;
    return o;
}

Options ReadSetupIni(const std::filesystem::path& folder, FileNotes* notes) {
    return ParseSetupIni(ReadSettingsFile(folder / std::string(kSetupIniName), notes));
}

std::string SerializeSetupIni(const Options& o) {
    std::vector<std::string> lines;
    lines.reserve(64);
    lines.emplace_back("[setup]");
    for (const Key& key : SetupKeys()) WriteKey(lines, key.name, o.*key.member, key.kind);
    for (int n = 1; n <= 12; ++n)
        WriteKey(lines, "option" + std::to_string(n), o.option[n],
                 OptionHasNoEffect(n) ? Kind::Number : Kind::Flag);
    for (const Key& key : TailKeys()) WriteKey(lines, key.name, o.*key.member, key.kind);
    for (int n = 0; n < 3; ++n)
        WriteKey(lines, "findoptie" + std::to_string(n), o.findoptie[n], Kind::Flag);
    for (const Key& key : EndKeys()) WriteKey(lines, key.name, o.*key.member, key.kind);
    lines.emplace_back("[cputune]");
    lines.push_back("val2=" + DecimalText(o.val2));
    lines.push_back("val3=" + o.val3);
    return JoinCrLf(lines);
}

WriteResult WriteSetupIni(const Options& options, const std::filesystem::path& folder) {
    return WriteFileAtomically(folder / std::string(kSetupIniName), SerializeSetupIni(options));
}

}  // namespace vex
