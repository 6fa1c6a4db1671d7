// The MEM file: the program's own document holding the whole image (five banks of channels, bank
// tags, every bank's trunk tables, active banks, priority channels). Plain Latin-1 text, CR LF.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "core/image_options.h"

namespace vex {

// The signature the writer puts on the first line and the ones the reader accepts.
inline constexpr std::string_view kMemSignature = "VEXA MEM V1.00";
inline constexpr std::string_view kMemSignatureV101 = "VEXA MEM V1.01";
// The first line the writer puts out: the signature and a free-text notice.
inline constexpr std::string_view kMemFirstLine =
    "VEXA MEM V1.00 - Vexatron memory file for the BCT8 scanner";

// Messages shown by the caller, exactly.
inline constexpr std::string_view kMsgNotCompatible = "File is not VEXA compatible.";
inline constexpr std::string_view kMsgNotValidPrefix = "Not a valid file! Line: ";
inline constexpr std::string_view kMsgNotSibling =
    "This is not an PELIXO file! For DURMAN mem files select FILE _ OPEN";
inline constexpr std::string_view kMsgSiblingNotCompatible = "File is not compatible.";

// The open dialog's filter and the save dialog's filter, in "Caption|pattern|..." form, and the
// same turned into the "Caption (pattern);;..." form file dialogs take.
inline constexpr std::string_view kMemOpenFilter = "VEXA Data Files|*.mem|All Files|*.*";
inline constexpr std::string_view kMemSaveFilter = "VEXA data files|*.mem";
std::string DialogFilter(std::string_view pipeSeparated);

// A tag read from the file, offered to the easy-tag pick lists (only collected when option9 is 1).
struct ReadTag {
    int bank = 0;
    std::string tag;
};

struct MemReadResult {
    bool ok = false;
    // The message to show when !ok: kMsgNotCompatible (image untouched); "The file cannot be
    // opened: why." (image untouched; the caller names the file); or, for a damaged file, "Not a valid file! Line: N (what is
    // wrong)", where everything before line N has been read into the image.
    std::string message;
    // The 1-based line at which the file is damaged (a line cut short, a field too many or too
    // few, a quote not closed, the file ending early); 0 when it is not.
    int damagedLine = 0;
    bool fileMissing = false;   // the file does not exist: the caller switches `loadlast` off
    bool imageChanged = false;  // false only when nothing of the image was touched
    std::vector<ReadTag> tags;  // channel tags in file order, when option9 is 1
    explicit operator bool() const { return ok; }
};

struct [[nodiscard]] MemWriteResult {
    bool ok = false;
    std::filesystem::path path;  // the file actually written (after the bare-extension rule)
    std::string error;           // the system's reason when !ok; the old file is left intact
    explicit operator bool() const { return ok; }
};

// Progress of the channel section of a read, 0..100.
using ProgressFn = std::function<void(int percent)>;

// The whole file as text. Bank tags are written as "None" when `savenames` is 0. Values are
// written as they are, except that a double quote becomes ' and a line break a space (they
// could not be read back and would shift every later field).
std::string SerializeMemFile(const Image& image, const ImageOptions& options);

// Writes atomically: the old file stays intact when anything fails.
MemWriteResult WriteMemFile(const Image& image, const std::filesystem::path& path,
                            const ImageOptions& options);

// Reads a MEM file (or a ".R3C" name) into the image. Only a plain file of sane size is read. A
// missing signature leaves the image unchanged; a damaged file leaves what was read before the
// damaged line (a caller that may refuse the part reads into a copy). Every value is cut to its
// size as it is read (tags to 16 characters), and a trunk type "0" (Unknown) stays "0".
MemReadResult ReadMemFile(Image& image, const std::filesystem::path& path,
                          const ImageOptions& options, const ProgressFn& progress = {});
// The same from text already in memory.
MemReadResult ParseMemFile(Image& image, std::string_view content, const ImageOptions& options,
                           const ProgressFn& progress = {});

// The sibling program's ten-bank MEM file ("Open PELIXO mem file"). Its banks 1 to 5 (50 slots,
// the first seven of each slot's thirteen fields) become banks 1 to 5; banks 6 to 10 are dropped.
// Likewise the first five bank tags, trunk ID rows 0..49 of the first five banks, scan-list tags,
// the first five banks' trunk settings, trunk types and base rows. The search-range section is
// read and dropped. The Dummy bank is emptied; priority channels and active banks take their
// File New values. Layout in memfile.cpp.
MemReadResult ReadSiblingMemFile(Image& image, const std::filesystem::path& path,
                                 const ImageOptions& options, const ProgressFn& progress = {});
MemReadResult ParseSiblingMemFile(Image& image, std::string_view content,
                                  const ImageOptions& options, const ProgressFn& progress = {});

// A ten-bank sibling file read into a table of its own, for the imports that copy from it one bank
// at a time. Slots 1..50 of each bank (slot 0 unused); trunk ID rows 0..99 of each bank.
struct TenBankFile {
    static constexpr int kBanks = 10;
    static constexpr int kIdRows = 100;
    std::array<Bank, kBanks> channels;
    std::array<std::string, 12> bankTags;
    bool hasTrunkIds = false;
    std::array<std::array<TrunkIdRow, kIdRows>, kBanks> trunkIds;
};

// Which sibling's header a ten-bank file carries. The older family's file ("DURMAN MEM V1.00" or
// "V1.01") has the same layout as the newer one's from V1.03 on, trunk ID section included.
enum class TenBankKind { Newer, Older };

// Reads a ten-bank file of either kind (the older family's header is tried first). A wrong
// header gives kMsgSiblingNotCompatible; a cut or damaged file "Not a valid file! Line: ...".
MemReadResult ParseTenBankFile(std::string_view content, TenBankFile& out);
MemReadResult ReadTenBankFile(const std::filesystem::path& path, TenBankFile& out);

// Save-path rules.
// The Save As dialog's suffix rule: ".mem" is appended unless the name holds ".MEM" or ".mem".
std::string WithMemSuffix(std::string_view chosenName);
// The writer's rule: a bare extension such as ".mem" as the file name gets "bct8" in front.
std::filesystem::path ApplyBareExtensionRule(const std::filesystem::path& path);
// File Open reads only names holding ".MEM", ".mem" or ".R3C"; others are ignored silently.
bool IsOpenableMemName(std::string_view name);

}  // namespace vex
