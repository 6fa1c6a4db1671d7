#include "netdb/convert.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "core/frequency.h"
#include "core/numeric.h"
#include "netdb/messages.h"
#include "trunk/trunk_settings.h"

namespace vex::netdb {

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string Cut(std::string text, std::size_t length = kTagLength) {
    if (text.size() > length) text.resize(length);
    return text;
}

// Latin-1 letters 0xC0..0xFF without their accents; '\0' where there is no plain letter.
constexpr char kPlainLetters[] =
    "AAAAAAACEEEEIIII"
    "DNOOOOO\0OUUUUYTs"
    "aaaaaaaceeeeiiii"
    "dnooooo\0ouuuuyty";

std::string Join(const std::vector<std::string>& items, std::size_t most = 10) {
    std::string out;
    for (std::size_t i = 0; i < items.size() && i < most; ++i) {
        if (i) out += ", ";
        out += items[i];
    }
    if (items.size() > most) out += ", ...";
    return out;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

Channel NewChannel(const std::string& frequency, const std::string& tag, bool trunk) {
    Channel c;
    c[kFieldFrequency] = frequency;
    c[kFieldTag] = tag;
    c[kFieldTrunk] = FlagText(trunk);
    c[kFieldDelay] = "0";
    c[kFieldLockout] = "0";
    return c;
}

void PutChannel(Image& image, int bank, int slot, Channel channel) {
    channel[kFieldNumber] = image.ChannelTable[bank][slot][kFieldNumber];
    image.ChannelTable[bank][slot] = std::move(channel);
}

void ApplyBankName(Image& image, int bank, const ImportOptions& options) {
    if (const auto name = BankName(options)) image.BankTag[bank] = *name;
}

bool ValidTarget(int bank, int startSlot, ImportReport& report) {
    if (bank < 0 || bank >= kScannerBanks || startSlot < 1 || startSlot > ChannelsPerBank) {
        report.error = "Choose a bank from 1 to " + std::to_string(kScannerBanks) +
                       " and a channel from 1 to " + std::to_string(ChannelsPerBank) + ".";
        return false;
    }
    return true;
}

}  // namespace

const std::vector<OptionCaption>& OptionCaptions() {
    using O = ImportOptions;
    static const std::vector<OptionCaption> captions = {
        {"Use short Alpha Tag (if available)", OptionCaption::Tick, &O::useAlpha, "useroptc1"},
        {"Do not modify tags smaller than 16 characters", OptionCaption::Tick, &O::keepShortTags,
         "useroptc2"},
        {"Automatically Remove Spaces from Tags", OptionCaption::Tick, &O::removeSpaces,
         "useroptc3"},
        {"Convert To Upper Case", OptionCaption::Tick, &O::upperCase, "useroptc4"},
        {"Use Tag Filters", OptionCaption::Tick, &O::tagFilters, "useroptc5"},
        {"Convert Edacs To AFS", OptionCaption::Tick, &O::edacsToAfs, "useroptc6"},
        {"Import Primary Control Channels", OptionCaption::Tick, &O::primaryControl, "ccpri"},
        {"Import Alternate Control Channels", OptionCaption::Tick, &O::alternateControl, "ccalt"},
        {"Import All Control Channels", OptionCaption::Tick, &O::allControl, "ccall"},
        {"Import GPS data (if available)", OptionCaption::Tick, &O::importGps, "imp_gps_site"},
        {"Don't change", OptionCaption::Choice},
        {"Use Agency/County Name:", OptionCaption::ChoiceWithText},
        {"Custom:", OptionCaption::ChoiceWithText},
    };
    return captions;
}

bool SetOptionByCaption(ImportOptions& o, std::string_view caption, std::string_view value,
                        std::string& error) {
    const auto& captions = OptionCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (captions[i].caption != caption) continue;
        switch (captions[i].kind) {
            case OptionCaption::Tick:
                if (value != "0" && value != "1") {
                    error = "\"" + std::string(caption) + "\" takes 0 or 1";
                    return false;
                }
                o.*captions[i].tick = value == "1";
                return true;
            case OptionCaption::Choice:
                if (value != "1") {
                    error = "\"" + std::string(caption) + "\" takes 1";
                    return false;
                }
                o.bankName = BankNameChoice::Keep;
                return true;
            case OptionCaption::ChoiceWithText:
                if (caption == "Custom:") {
                    o.bankName = BankNameChoice::Custom;
                    o.customName = value;
                } else {
                    o.bankName = BankNameChoice::PlaceName;
                    if (!value.empty()) o.placeName = value;
                }
                return true;
        }
    }
    error = "unknown option \"" + std::string(caption) + "\"; the options are:";
    for (const OptionCaption& c : captions) error += "\n  " + std::string(c.caption);
    return false;
}

namespace {

std::string DecodeOnce(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"&amp;", "&"}, {"&quot;", ""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&apos;", "'"}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, plain] : kNamed) {
                if (text.substr(i, entity.size()) == entity) {
                    out += plain;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
            if (!replaced && text.substr(i, 2) == "&#") {
                const std::size_t end = text.find(';', i);
                if (end != std::string_view::npos && end - i <= 6) {
                    const std::string digits(text.substr(i + 2, end - i - 2));
                    char* stop = nullptr;
                    const long code = std::strtol(digits.c_str(), &stop, 10);
                    if (!digits.empty() && *stop == '\0' && code > 0 && code <= 255) {
                        out += static_cast<char>(code);
                        i = end + 1;
                        replaced = true;
                    }
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
    // Texts escaped twice ("&amp;amp;") are common in the data; a few passes undo that.
    std::string out(text);
    for (int pass = 0; pass < 3; ++pass) {
        std::string next = DecodeOnce(out);
        if (next == out) break;
        out = std::move(next);
    }
    return out;
}

std::string FilterTag(std::string_view text, bool strict) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"') {
            out += '\'';
        } else if (ch == ',') {
            out += ';';
        } else if (c < 0x20 || c == 0x7F) {
            continue;
        } else if (strict && c > 0x7E) {
            if (c >= 0xC0 && kPlainLetters[c - 0xC0] != '\0') out += kPlainLetters[c - 0xC0];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string ProcessTag(std::string_view text, const ImportOptions& options) {
    // Entities are decoded before anything counts characters, so none is cut in half.
    std::string tag = DecodeEntities(text);
    if (options.removeSpaces && tag.size() > kTagLength)
        tag.erase(std::remove(tag.begin(), tag.end(), ' '), tag.end());
    if (!(options.keepShortTags && tag.size() <= kTagLength)) tag = Trim(Cut(Trim(tag)));
    if (options.upperCase) tag = Upper(tag);
    return FilterTag(tag, options.tagFilters);
}

std::optional<std::string> BankName(const ImportOptions& options) {
    std::string name;
    switch (options.bankName) {
        case BankNameChoice::Keep:
            return std::nullopt;
        case BankNameChoice::PlaceName:
            name = DecodeEntities(options.placeName);
            name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
            break;
        case BankNameChoice::Custom:
            name = DecodeEntities(options.customName);
            break;
    }
    name = Cut(FilterTag(name, false));
    if (name.empty()) return std::nullopt;
    return name;
}

bool InScannerBands(std::string_view frequency) {
    const double f = NumericValue(frequency);
    return (f >= 25 && f <= 512) || (f >= 806 && f <= 956) || (f >= 1240 && f <= 1300);
}

Band BandOf(const SystemData& system) {
    for (const Site& site : system.sites) {
        for (const SiteFrequency& f : site.freqs) {
            const double mhz = NumericValue(f.freq);
            if (mhz <= 0) continue;
            if (mhz < 300) return Band::Vhf;
            if (mhz < 600) return Band::Uhf;
            return Band::Band800;
        }
    }
    return Band::Band800;
}

bool IsRebanded(const SystemData& system) {
    return std::any_of(system.sites.begin(), system.sites.end(),
                       [](const Site& s) { return s.rebanded != 0; });
}

std::optional<int> TrunkTypeFor(std::string_view typeName, std::string_view flavorName, Band band,
                                bool rebanded) {
    const std::string type = Upper(typeName);
    const std::string flavor = Upper(flavorName);
    if (type != "MOTOROLA" && type != "EDACS" && type != "LTR" && type != "PROJECT 25")
        return std::nullopt;
    int code = rebanded ? 10 : 1;
    // The whole flavor is compared, so "TYPE II" is never taken for "TYPE I". "TYPE III" is the
    // flavor table's spelling of the Type II/I hybrid.
    if (type == "MOTOROLA" &&
        (flavor == "TYPE I" || flavor == "TYPE III" || flavor == "TYPE III HYBRID"))
        code = rebanded ? 11 : 2;
    if (type == "LTR") code = 8;
    if (type == "EDACS") code = flavor == "NARROWBAND" ? 7 : 6;
    if (type == "MOTOROLA" && band == Band::Vhf) code = 5;
    if (type == "MOTOROLA" && band == Band::Uhf) code = 4;
    if (type == "PROJECT 25") code = 1;
    return code;
}

std::string TalkgroupId(const Talkgroup& talkgroup, int trunkType) {
    std::string id =
        talkgroup.tgDec != 0 ? std::to_string(talkgroup.tgDec) : Trim(talkgroup.subfleet);
    const bool digits = !id.empty() && std::all_of(id.begin(), id.end(),
                                                   [](unsigned char c) { return std::isdigit(c); });
    if (trunkType == 8 && digits && id.size() < 6) id.insert(0, 6 - id.size(), '0');
    return id;
}

ImportReport ImportConventional(Image& image, int bank, int startSlot,
                                const std::vector<Frequency>& ticked,
                                const ImportOptions& options) {
    ImportReport report;
    if (ticked.empty()) {
        report.error = std::string(kMsgSelectFrequency);
        return report;
    }
    if (!ValidTarget(bank, startSlot, report)) return report;
    Image result = image;
    std::vector<std::string> outOfBand, leftOver;
    int slot = startSlot;
    for (const Frequency& f : ticked) {
        const std::string name = f.out + " " + (f.descr.empty() ? f.alpha : f.descr);
        if (!InScannerBands(f.out)) {
            outOfBand.push_back(name);
            continue;
        }
        while (slot <= ChannelsPerBank && !IsEmptyChannel(result, bank, slot)) ++slot;
        if (slot > ChannelsPerBank) {
            leftOver.push_back(name);
            continue;
        }
        const std::string& source = options.useAlpha && !f.alpha.empty() ? f.alpha : f.descr;
        PutChannel(result, bank, slot++,
                   NewChannel(CanonicalFrequency(f.out), ProcessTag(source, options), false));
        ++report.channels;
    }
    if (!outOfBand.empty())
        report.warnings.push_back(Plural(outOfBand.size(), "frequency lies", "frequencies lie") +
                                  " outside the scanner's bands and " +
                                  (outOfBand.size() == 1 ? "was" : "were") +
                                  " skipped: " + Join(outOfBand) + ".");
    if (!leftOver.empty())
        report.warnings.push_back(Plural(leftOver.size(), "frequency", "frequencies") +
                                  " did not fit: bank " + std::to_string(bank + 1) +
                                  " has no free channel left from channel " +
                                  std::to_string(startSlot) + " on: " + Join(leftOver) + ".");
    if (report.channels == 0) {
        report.error = "No frequency was imported. " + Join(report.warnings, 2);
        report.warnings.clear();
        return report;
    }
    ApplyBankName(result, bank, options);
    image = std::move(result);
    report.ok = true;
    return report;
}

namespace {

void WriteBandPlan(Image& image, int bank, int code, const SystemData& system) {
    auto& base = image.TrunkBase[bank];
    for (auto& row : base) row.fill({});
    const std::vector<BandPlanRow>* plan = &system.details.bandplan;
    if (plan->empty() && !system.sites.empty()) plan = &system.sites.front().bandplan;
    for (std::size_t r = 0; r < plan->size() && r < kTrunkBaseRows; ++r) {
        const BandPlanRow& line = (*plan)[r];
        // Each value goes into its own field: base, step, offset.
        std::array<std::string, 3> row = {FormatBaseNumber(line.base, 4, 9),
                                          FormatBaseNumber(line.spacing, 3, 6), line.offset};
        CorrectBaseRow(code, row);
        for (int field = 0; field < 3; ++field) base[r][field] = row[field];
    }
}

void WriteFleetMap(Image& image, int bank, const SystemData& system) {
    auto& base = image.TrunkBase[bank];
    for (auto& row : base) row.fill({});
    const auto& blocks = system.details.fleetmap;
    for (std::size_t i = 0; i < blocks.size() && i < kTrunkBaseFields; ++i) {
        const int value = static_cast<int>(NumericValue(blocks[i]));
        base[0][i] = std::to_string(std::clamp(value, 0, 14));
    }
}

// The memory has no place for a position, so the sites' positions are told instead.
std::string GpsNote(const std::vector<SiteChoice>& sites) {
    std::string note;
    for (const SiteChoice& choice : sites) {
        const Site& site = *choice.site;
        if (site.lat == 0 && site.lon == 0) continue;
        char position[64];
        std::snprintf(position, sizeof position, "%.5f, %.5f", site.lat, site.lon);
        note += "\n" + site.descr + ": " + position;
    }
    if (note.empty()) return "No GPS data is available for the imported sites.";
    return "GPS positions of the imported sites (the scanner's memory has no place for them, so "
           "they are listed here only):" +
           note;
}

}  // namespace

ImportReport ImportTrunked(Image& image, int bank, int startSlot, const SystemData& system,
                           const std::vector<SiteChoice>& sites,
                           const std::vector<const Talkgroup*>& talkgroups,
                           const ImportOptions& options) {
    ImportReport report;
    const bool anySite = std::any_of(sites.begin(), sites.end(), [](const SiteChoice& s) {
        return s.site != nullptr && !s.frequencies.empty();
    });
    if (!anySite) {
        report.error = std::string(kMsgSelectSite);
        return report;
    }
    if (!ValidTarget(bank, startSlot, report)) return report;
    const std::string typeName = SystemTypeName(system.details.sType);
    const std::optional<int> type = TrunkTypeFor(typeName, FlavorName(system.details.sFlavor),
                                                 BandOf(system), IsRebanded(system));
    if (!type) {
        report.error = std::string(kMsgNotSupported);
        return report;
    }
    int code = *type;
    const bool lcnOrder = code == 6 || code == 7 || code == 8;
    if (lcnOrder && sites.size() > 1) report.warnings.push_back(std::string(kMsgLcnWarning));

    Image result = image;
    std::vector<std::string> outOfBand, leftOver;
    int slot = startSlot;
    for (const SiteChoice& choice : sites) {
        const std::string tag = ProcessTag(choice.site->descr, options);
        for (const SiteFrequency* f : choice.frequencies) {
            if (!lcnOrder) {
                if (f->use == "d" && !(options.primaryControl || options.allControl)) continue;
                if (f->use == "a" && !(options.alternateControl || options.allControl)) continue;
            }
            if (!InScannerBands(f->freq)) {
                outOfBand.push_back(f->freq);
                continue;
            }
            const int target = lcnOrder ? f->lcn : slot;
            if (target < 1 || target > ChannelsPerBank) {
                leftOver.push_back(lcnOrder ? f->freq + " (LCN " + std::to_string(f->lcn) + ")"
                                            : f->freq);
                continue;
            }
            if (!lcnOrder) ++slot;
            if (code == 1 && NumericValue(f->freq) >= 900) code = 3;
            PutChannel(result, bank, target, NewChannel(CanonicalFrequency(f->freq), tag, true));
            ++report.channels;
        }
    }
    if (!outOfBand.empty())
        report.warnings.push_back(
            Plural(outOfBand.size(), "site frequency lies", "site frequencies lie") +
            " outside the scanner's bands and " + (outOfBand.size() == 1 ? "was" : "were") +
            " skipped: " + Join(outOfBand) + ".");
    if (!leftOver.empty())
        report.warnings.push_back(Plural(leftOver.size(), "site frequency", "site frequencies") +
                                  " found no channel in bank " + std::to_string(bank + 1) +
                                  " and " + (leftOver.size() == 1 ? "was" : "were") +
                                  " left out: " + Join(leftOver) + ".");

    result.TrunkType[bank] = std::to_string(code);
    if (code == 4 || code == 5) WriteBandPlan(result, bank, code, system);
    if ((code == 2 || code == 11) && !system.details.fleetmap.empty())
        WriteFleetMap(result, bank, system);
    auto& settings = result.TrunkSetting[bank];
    settings[0] = "0";
    if (code == 2 || code == 11) {
        settings[0] = "1";
        settings[7] = "0";
    }

    auto& ids = result.TrunkId[bank];
    for (int row = 0; row < kTrunkIdUsedRows; ++row) ids[row].fill({});
    std::vector<std::string> dropped;
    for (const Talkgroup* tg : talkgroups) {
        const std::string source = tg->alpha.empty() ? tg->descr : tg->alpha;
        if (report.talkgroups >= kTrunkIdUsedRows) {
            dropped.push_back(TalkgroupId(*tg, code) + " " + ProcessTag(source, options));
            continue;
        }
        auto& row = ids[report.talkgroups++];
        row[0] = TalkgroupId(*tg, code);
        row[1] = ProcessTag(source, options);
    }
    if (!dropped.empty())
        report.warnings.push_back(
            "WARNING: You are importing " + std::to_string(talkgroups.size()) +
            " trunk id's but your scanner can only store " + std::to_string(kTrunkIdUsedRows) +
            " TG id's per system! The first " + std::to_string(kTrunkIdUsedRows) +
            " were imported; these " + std::to_string(dropped.size()) +
            " were left out: " + Join(dropped) + ".");
    if (options.importGps) report.notes.push_back(GpsNote(sites));
    ApplyBankName(result, bank, options);
    image = std::move(result);
    report.ok = true;
    return report;
}

}  // namespace vex::netdb
