// Turning database records into the image: tags, bank names, the trunk type of a system, and
// the import of conventional frequencies or a trunked system into one bank.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "netdb/browse.h"
#include "netdb/records.h"

namespace vex::netdb {

inline constexpr std::size_t kTagLength = 16;

enum class BankNameChoice { Keep, PlaceName, Custom };

struct ImportOptions {
    bool useAlpha = true;          // "Use short Alpha Tag (if available)"
    bool keepShortTags = false;    // "Do not modify tags smaller than 16 characters"
    bool removeSpaces = false;     // "Automatically Remove Spaces from Tags"
    bool upperCase = false;        // "Convert To Upper Case"
    bool tagFilters = true;        // "Use Tag Filters"
    bool edacsToAfs = false;       // "Convert Edacs To AFS": kept, no effect on this scanner
    bool primaryControl = true;    // "Import Primary Control Channels"
    bool alternateControl = true;  // "Import Alternate Control Channels"
    bool allControl = false;       // "Import All Control Channels"
    bool importGps = false;        // "Import GPS data (if available)": positions reported
    BankNameChoice bankName = BankNameChoice::Keep;
    std::string placeName;   // the box beside "Use Agency/County Name:"
    std::string customName;  // the box beside "Custom:"
};

// The options by the captions the window shows. Kinds: a tick box takes "0"/"1", an option
// button "1", an option button with its own text takes the text.
struct OptionCaption {
    std::string_view caption;
    enum Kind { Tick, Choice, ChoiceWithText } kind;
    bool ImportOptions::*tick = nullptr;  // a tick box's field
    std::string_view settingsKey = {};    // where the window keeps a tick box
};
const std::vector<OptionCaption>& OptionCaptions();
// Sets one option by caption; false with a reason for an unknown caption or a bad value.
bool SetOptionByCaption(ImportOptions& options, std::string_view caption, std::string_view value,
                        std::string& error);

// "&amp;" and the other entities decoded, "&quot;" removed.
std::string DecodeEntities(std::string_view text);
// The special-character filter: '"' becomes "'", "," becomes ";"; with `strict` (Use Tag
// Filters) accented letters lose their accents and other characters the display cannot show
// are dropped.
std::string FilterTag(std::string_view text, bool strict);
// A tag from a record: decoded first, then spaces, length, case and filters.
std::string ProcessTag(std::string_view text, const ImportOptions& options);
// The bank name the option gives; nullopt for "Don't change".
std::optional<std::string> BankName(const ImportOptions& options);

enum class Band { Band800, Vhf, Uhf };
Band BandOf(const SystemData& system);
// The trunk type code for the system, nullopt when the scanner cannot hold that kind.
std::optional<int> TrunkTypeFor(std::string_view typeName, std::string_view flavorName, Band band,
                                bool rebanded);
bool IsRebanded(const SystemData& system);
// A talkgroup's ID text for a bank of `trunkType`: the decimal ID, else the alternate one; LTR
// IDs padded to six digits.
std::string TalkgroupId(const Talkgroup& talkgroup, int trunkType);
// True when the frequency lies in one of the scanner's bands.
bool InScannerBands(std::string_view frequency);

struct ImportReport {
    bool ok = false;
    std::string error;                  // why nothing was imported
    std::vector<std::string> warnings;  // shown after the import
    std::vector<std::string> notes;     // told after the import, not a problem
    int channels = 0;                   // channels written
    int talkgroups = 0;                 // ID rows written
};

// Conventional frequencies into the free channels of `bank` from `startSlot` on.
ImportReport ImportConventional(Image& image, int bank, int startSlot,
                                const std::vector<Frequency>& ticked, const ImportOptions& options);

struct SiteChoice {
    const Site* site = nullptr;
    std::vector<const SiteFrequency*> frequencies;  // the ticked ones
};

// A trunked system into `bank`: trunk type, settings, band plan, site frequencies and the
// talkgroup table. Nothing changes when it returns !ok.
ImportReport ImportTrunked(Image& image, int bank, int startSlot, const SystemData& system,
                           const std::vector<SiteChoice>& sites,
                           const std::vector<const Talkgroup*>& talkgroups,
                           const ImportOptions& options);

}  // namespace vex::netdb
