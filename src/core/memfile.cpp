#include "core/memfile.h"

#include <cerrno>
#include <climits>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/atomic_file.h"
#include "core/delimited.h"
#include "core/numeric.h"

namespace vex {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// A value inside double quotes cannot hold a double quote, and no value can hold a line break:
// either would shift every later field of the file. They are replaced, not escaped, because the
// format has no escape.
void AppendQuoted(std::string& out, std::string_view value) {
    out += ",\"";
    for (const char c : value) {
        if (c == '"')
            out += '\'';
        else if (c == '\r' || c == '\n')
            out += ' ';
        else
            out += c;
    }
    out += '"';
}

void AppendLineValue(std::string& out, std::string_view value) {
    for (const char c : value) out += (c == '\r' || c == '\n') ? ' ' : c;
}

// The three loop indices the "Not a valid file!" message quotes. An index that has not run yet
// shows as nothing; one whose loop has finished keeps the value past its end, as a loop variable
// does.
struct LoopIndices {
    static constexpr int kUnset = INT_MIN;
    int bank = kUnset;
    int slot = kUnset;
    int field = kUnset;
};

std::string IndexText(int value) {
    return value == LoopIndices::kUnset ? std::string() : std::to_string(value);
}

std::string NotValidMessage(const LoopIndices& at, int error) {
    std::string message(kMsgNotValidPrefix);
    message += IndexText(at.bank);
    message += " / ";
    message += IndexText(at.slot);
    message += " / ";
    message += IndexText(at.field);
    message += " Error: ";
    message += std::to_string(error);
    return message;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// A MEM file is some 50 kB; anything this large is no MEM file and is not read into memory.
constexpr std::uintmax_t kMaxMemFileSize = 64u << 20;
constexpr int kErrOutOfMemory = 7;

// Reads a file for one of the readers; false with the error number to quote when it cannot.
bool LoadFile(const std::filesystem::path& path, std::string& content, int& error, bool& missing) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        missing = true;
        error = kErrFileNotFound;
        return false;
    }
    // Only plain files: a device or a pipe could be read for ever.
    if (!std::filesystem::is_regular_file(status)) {
        error = kErrPathAccess;
        return false;
    }
    if (std::filesystem::file_size(path, ec) > kMaxMemFileSize && !ec) {
        error = kErrOutOfMemory;
        return false;
    }
    if (!ReadWholeFile(path, content)) {
        error = kErrPathAccess;
        return false;
    }
    return true;
}

// The reading steps shared by the own file and the sibling file.
class Reader {
  public:
    Reader(std::string_view content, MemReadResult& result) : d_in(content), d_result(result) {}

    bool Field(std::string& out) {
        if (d_in.ReadField(d_field)) {
            out.swap(d_field);
            return true;
        }
        return Fail();
    }
    bool Skip() { return d_in.ReadField(d_field) || Fail(); }
    bool Line(std::string& out) { return d_in.ReadLine(out) || Fail(); }
    bool Fail(int error = kErrInputPastEnd) {
        d_result.ok = false;
        d_result.message = NotValidMessage(at, error);
        return false;
    }

    // A label field, then `count` values into `row`, keeping `keep` of them.
    template <typename Row>
    bool Record(Row* row, int count) {
        if (!Skip()) return false;
        std::string value;
        for (at.field = 0; at.field < count; ++at.field) {
            if (!Field(value)) return false;
            if (row && at.field < static_cast<int>(row->size())) (*row)[at.field] = value;
        }
        return true;
    }

    // A bank-tag line: "#$BT", the bank, a space and the tag from the seventh character on.
    bool BankTagLine(std::string* tag) {
        std::string line;
        if (!Line(line)) return false;
        if (tag && Contains(line, "#$BT") && line.size() > 5) *tag = line.substr(6);
        return true;
    }

    // A trunk-type line: the numeric value of the text from the seventh character on; 0 is "1".
    bool TrunkTypeLine(std::string* type) {
        std::string line;
        if (!Line(line)) return false;
        if (type && Contains(line, "#$TT")) {
            const double value = NumericValue(line.size() > 6 ? std::string_view(line).substr(6)
                                                              : std::string_view());
            *type = value == 0 ? "1" : NumberToText(value);
        }
        return true;
    }

    DelimitedReader d_in;
    MemReadResult& d_result;
    LoopIndices at;

  private:
    std::string d_field;
};

void Progress(const ProgressFn& progress, int done, int total, int& last) {
    if (!progress) return;
    const int percent = total > 0 ? done * 100 / total : 100;
    if (percent != last) {
        last = percent;
        progress(percent);
    }
}

// A file that cannot be loaded is reported as not valid, quoting the error number.
using MemParser = MemReadResult (*)(Image&, std::string_view, const Options&, const ProgressFn&);
MemReadResult LoadAndParse(MemParser parse, Image& image, const std::filesystem::path& path,
                           const Options& options, const ProgressFn& progress) {
    std::string content;
    int error = 0;
    MemReadResult result;
    if (!LoadFile(path, content, error, result.fileMissing)) {
        result.message = NotValidMessage(LoopIndices{}, error);
        return result;
    }
    return parse(image, content, options, progress);
}

}  // namespace

std::string DialogFilter(std::string_view pipeSeparated) {
    std::string out;
    std::size_t pos = 0;
    bool caption = true;
    std::string pending;
    while (pos <= pipeSeparated.size()) {
        std::size_t bar = pipeSeparated.find('|', pos);
        if (bar == std::string_view::npos) bar = pipeSeparated.size();
        std::string part(pipeSeparated.substr(pos, bar - pos));
        if (caption) {
            pending = std::move(part);
        } else {
            if (part == "*.*") part = "*";
            if (!out.empty()) out += ";;";
            out += pending + " (" + part + ")";
        }
        caption = !caption;
        pos = bar + 1;
    }
    return out;
}

std::string SerializeMemFile(const Image& image, const Options& options) {
    std::string out;
    out.reserve(48 * 1024);
    out += kMemFirstLine;
    out += kCrLf;
    for (int b = 0; b < kScannerBanks; ++b) {
        for (int s = 1; s <= ChannelsPerBank; ++s) {
            out += std::to_string(AbsoluteChannel(b, s));
            const Channel& channel = image.ChannelTable[b][s];
            for (int f = kFieldFrequency; f < kFieldsPerChannel; ++f) AppendQuoted(out, channel[f]);
            out += kCrLf;
        }
    }
    out += " ";
    out += kCrLf;
    for (int b = 0; b < kBankCount; ++b) {
        out += "#$BT" + std::to_string(b) + " ";
        AppendLineValue(out, options.savenames == 0 ? std::string_view("None")
                                                    : std::string_view(image.BankTag[b]));
        out += kCrLf;
    }
    for (int b = 0; b < kScannerBanks; ++b) {
        for (int r = 0; r < kTrunkIdUsedRows; ++r) {
            out += "TD" + std::to_string(b * kTrunkIdUsedRows + r) + " ";
            for (const std::string& value : image.TrunkId[b][r]) AppendQuoted(out, value);
            out += kCrLf;
        }
    }
    for (int i = 0; i < kScanListTagRows; ++i) {
        out += "TID" + std::to_string(i) + " ";
        for (const std::string& value : image.ScanListTag[i]) AppendQuoted(out, value);
        out += kCrLf;
    }
    for (int b = 0; b < kScannerBanks; ++b) {
        out += "TSI" + std::to_string(b) + " ";
        for (const std::string& value : image.TrunkSetting[b]) AppendQuoted(out, value);
        out += kCrLf;
    }
    for (int b = 0; b < kScannerBanks; ++b) {
        out += "#$TT" + std::to_string(b) + " ";
        AppendLineValue(out, image.TrunkType[b]);
        out += kCrLf;
    }
    for (int b = 0; b < kScannerBanks; ++b) {
        for (int k = 0; k < kTrunkBaseRows; ++k) {
            out += "#$TBS" + std::to_string(b);
            for (const std::string& value : image.TrunkBase[b][k]) AppendQuoted(out, value);
            out += kCrLf;
        }
    }
    out += "#$LKM";
    for (int b = 0; b < kScannerBanks; ++b) AppendQuoted(out, std::to_string(image.ActiveBank[b]));
    out += kCrLf;
    for (int b = 0; b < kScannerBanks; ++b) {
        out += "PRCH" + std::to_string(b) + " " + std::to_string(image.PriorityChannel[b]);
        out += kCrLf;
    }
    return out;
}

MemWriteResult WriteMemFile(const Image& image, const std::filesystem::path& path,
                            const Options& options) {
    MemWriteResult result;
    result.path = ApplyBareExtensionRule(path);
    const WriteResult written = WriteFileAtomically(result.path, SerializeMemFile(image, options));
    result.ok = written.ok;
    result.error = written.error;
    return result;
}

MemReadResult ParseMemFile(Image& image, std::string_view content, const Options& options,
                           const ProgressFn& progress) {
    MemReadResult result;
    Reader in(content, result);
    LoopIndices& at = in.at;

    std::string signature;
    if (!in.Field(signature)) return result;
    if (!Contains(signature, kMemSignature) && !Contains(signature, kMemSignatureV101)) {
        result.message = kMsgNotCompatible;
        return result;
    }

    ClearForFileRead(image);
    result.imageChanged = true;
    int lastPercent = -1;
    Progress(progress, 0, kTotalChannels, lastPercent);
    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank) {
        for (at.slot = 1; at.slot <= ChannelsPerBank; ++at.slot) {
            Channel& channel = image.ChannelTable[at.bank][at.slot];
            for (at.field = 0; at.field < kFieldsPerChannel; ++at.field)
                if (!in.Field(channel[at.field])) return result;
            if (options.option9() == 1) result.tags.push_back({at.bank, channel[kFieldTag]});
            Progress(progress, AbsoluteChannel(at.bank, at.slot), kTotalChannels, lastPercent);
        }
    }
    if (!in.Skip()) return result;  // the separator line

    for (at.bank = 0; at.bank < kBankCount; ++at.bank)
        if (!in.BankTagLine(&image.BankTag[at.bank])) return result;

    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank)
        for (at.slot = 0; at.slot < kTrunkIdUsedRows; ++at.slot)
            if (!in.Record(&image.TrunkId[at.bank][at.slot], kTrunkIdFields)) return result;

    for (at.bank = 0; at.bank < kScanListTagRows; ++at.bank)
        if (!in.Record(&image.ScanListTag[at.bank], kScanListTagCols)) return result;

    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank)
        if (!in.Record(&image.TrunkSetting[at.bank], kTrunkSettingFields)) return result;

    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank)
        if (!in.TrunkTypeLine(&image.TrunkType[at.bank])) return result;

    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank)
        for (at.slot = 0; at.slot < kTrunkBaseRows; ++at.slot)
            if (!in.Record(&image.TrunkBase[at.bank][at.slot], kTrunkBaseFields)) return result;

    if (!in.Skip()) return result;  // "#$LKM"
    std::string value;
    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank) {
        if (!in.Field(value)) return result;
        image.ActiveBank[at.bank] = Int16Value(value);
    }

    for (at.bank = 0; at.bank < kScannerBanks; ++at.bank) {
        if (!in.Field(value)) return result;
        // The number stands after "H" and the bank index, e.g. "PRCH0 1".
        const std::size_t found = value.find("H" + std::to_string(at.bank));
        const std::size_t p = found == std::string::npos ? 0 : found + 1;
        const std::size_t keep = value.size() >= p + 1 ? value.size() - p - 1 : 0;
        image.PriorityChannel[at.bank] =
            Int16Value(std::string_view(value).substr(value.size() - keep));
    }

    result.ok = true;
    return result;
}

MemReadResult ReadMemFile(Image& image, const std::filesystem::path& path, const Options& options,
                          const ProgressFn& progress) {
    return LoadAndParse(ParseMemFile, image, path, options, progress);
}

// The sibling programs' ten-bank file, as this program reads it:
//
//   1. first field: holds "780" and a version "V1.00" .. "V1.07" (the newer family), or
//      "DURMAN MEM V1.00" / "V1.01" (the older family, laid out like the newer V1.03 and later);
//   2. channels: banks 0..9, slots 1..50, thirteen fields each (the first seven are number,
//      frequency, tag, trunk, delay, lockout and comment; the other six are the sibling
//      scanner's own);
//   3. a separator line;
//   4. twelve "#$BT" bank-tag lines;
//   5. from V1.03 on: ten further lines, then trunk IDs for banks 0..9, rows 0..99, each a label
//      and four values;
//   6. scan-list tags: ten lines of a label and ten values;
//   7. trunk settings: ten banks of a label and ten values;
//   8. ten "#$TT" trunk-type lines;
//   9. base configuration: ten banks by three rows of a label and eight values;
//  10. search ranges: ten lines of a label and ten values.
//
// One walk over the layout; a sink says where each record goes (nullptr: read past it).
namespace {

constexpr int kSiblingBanks = 10;
constexpr int kSiblingFields = 13;
constexpr int kSiblingTagLines = 12;
constexpr int kSiblingIdRows = 100;

// The version digit of a newer-family header (0..7), -1 when the header is not one.
int NewerVersion(std::string_view signature) {
    if (!Contains(signature, "780")) return -1;
    for (int v = 7; v >= 0; --v)
        if (Contains(signature, "V1.0" + std::to_string(v))) return v;
    return -1;
}

bool OlderHeader(std::string_view signature) {
    return Contains(signature, "DURMAN MEM V1.00") || Contains(signature, "DURMAN MEM V1.01");
}

template <typename Sink>
bool WalkTenBank(Reader& in, bool hasTrunkIds, Sink& sink, const ProgressFn& progress) {
    LoopIndices& at = in.at;
    int lastPercent = -1;
    constexpr int kTotal = kSiblingBanks * ChannelsPerBank;
    Progress(progress, 0, kTotal, lastPercent);
    std::string value;
    for (at.bank = 0; at.bank < kSiblingBanks; ++at.bank) {
        for (at.slot = 1; at.slot <= ChannelsPerBank; ++at.slot) {
            Channel* channel = sink.channel(at.bank, at.slot);
            for (at.field = 0; at.field < kSiblingFields; ++at.field) {
                if (!in.Field(value)) return false;
                if (channel && at.field < kFieldsPerChannel) (*channel)[at.field] = value;
            }
            if (channel) sink.channelRead(at.bank, *channel);
            Progress(progress, at.bank * ChannelsPerBank + at.slot, kTotal, lastPercent);
        }
    }
    if (!in.Skip()) return false;

    for (at.bank = 0; at.bank < kSiblingTagLines; ++at.bank)
        if (!in.BankTagLine(sink.bankTag(at.bank))) return false;

    if (hasTrunkIds) {
        std::string line;
        for (at.bank = 0; at.bank < 10; ++at.bank)
            if (!in.Line(line)) return false;
        for (at.bank = 0; at.bank < kSiblingBanks; ++at.bank)
            for (at.slot = 0; at.slot < kSiblingIdRows; ++at.slot)
                if (!in.Record(sink.trunkId(at.bank, at.slot), kTrunkIdFields)) return false;
    }

    for (at.bank = 0; at.bank < kScanListTagRows; ++at.bank)
        if (!in.Record(sink.scanListTag(at.bank), kScanListTagCols)) return false;

    for (at.bank = 0; at.bank < kSiblingBanks; ++at.bank)
        if (!in.Record(sink.trunkSetting(at.bank), kTrunkSettingFields)) return false;

    for (at.bank = 0; at.bank < kSiblingBanks; ++at.bank)
        if (!in.TrunkTypeLine(sink.trunkType(at.bank))) return false;

    for (at.bank = 0; at.bank < kSiblingBanks; ++at.bank)
        for (at.slot = 0; at.slot < kTrunkBaseRows; ++at.slot)
            if (!in.Record(sink.trunkBase(at.bank, at.slot), kTrunkBaseFields)) return false;

    using SearchRow = std::array<std::string, 10>;
    for (at.bank = 0; at.bank < 10; ++at.bank)
        if (!in.Record(static_cast<SearchRow*>(nullptr), 10)) return false;
    return true;
}

// "Open PELIXO mem file": the first five of each bank-indexed section land in banks 1 to 5.
struct ImageSink {
    Image& image;
    const Options& options;
    MemReadResult& result;
    static bool Kept(int bank) { return bank < kScannerBanks; }
    Channel* channel(int b, int s) { return Kept(b) ? &image.ChannelTable[b][s] : nullptr; }
    void channelRead(int b, const Channel& c) {
        if (options.option9() == 1) result.tags.push_back({b, c[kFieldTag]});
    }
    std::string* bankTag(int b) { return Kept(b) ? &image.BankTag[b] : nullptr; }
    TrunkIdRow* trunkId(int b, int r) {
        return Kept(b) && r < kTrunkIdUsedRows ? &image.TrunkId[b][r] : nullptr;
    }
    auto* scanListTag(int i) { return &image.ScanListTag[i]; }
    auto* trunkSetting(int b) { return Kept(b) ? &image.TrunkSetting[b] : nullptr; }
    std::string* trunkType(int b) { return Kept(b) ? &image.TrunkType[b] : nullptr; }
    auto* trunkBase(int b, int k) { return Kept(b) ? &image.TrunkBase[b][k] : nullptr; }
};

// The import dialogs' source table: channels, bank names and trunk IDs of all ten banks.
struct TableSink {
    TenBankFile& file;
    Channel* channel(int b, int s) { return &file.channels[b][s]; }
    void channelRead(int, const Channel&) {}
    std::string* bankTag(int b) { return &file.bankTags[b]; }
    TrunkIdRow* trunkId(int b, int r) { return &file.trunkIds[b][r]; }
    std::array<std::string, kScanListTagCols>* scanListTag(int) { return nullptr; }
    std::array<std::string, kTrunkSettingFields>* trunkSetting(int) { return nullptr; }
    std::string* trunkType(int) { return nullptr; }
    std::array<std::string, kTrunkBaseFields>* trunkBase(int, int) { return nullptr; }
};

}  // namespace

MemReadResult ParseSiblingMemFile(Image& image, std::string_view content, const Options& options,
                                  const ProgressFn& progress) {
    MemReadResult result;
    Reader in(content, result);

    std::string signature;
    if (!in.Field(signature)) return result;
    if (!Contains(signature, "780")) {
        result.message = kMsgNotSibling;
        return result;
    }
    const int version = NewerVersion(signature);
    if (version < 0) {
        result.message = kMsgSiblingNotCompatible;
        return result;
    }

    ClearForFileRead(image);
    for (int b = 0; b < kScannerBanks; ++b) {
        image.ActiveBank[b] = 0;
        image.PriorityChannel[b] = static_cast<std::int16_t>(AbsoluteChannel(b, 1));
    }
    result.imageChanged = true;
    ImageSink sink{image, options, result};
    result.ok = WalkTenBank(in, version >= 3, sink, progress);
    return result;
}

MemReadResult ParseTenBankFile(std::string_view content, TenBankFile& out) {
    MemReadResult result;
    Reader in(content, result);
    std::string signature;
    if (!in.Field(signature)) return result;
    const bool older = OlderHeader(signature);
    const int version = older ? 1 : NewerVersion(signature);
    if (version < 0) {
        result.message = kMsgSiblingNotCompatible;
        return result;
    }
    // Cleared in place: the table is too large to build on the stack.
    for (Bank& bank : out.channels)
        for (Channel& channel : bank) channel.fill({});
    out.bankTags.fill({});
    for (auto& bank : out.trunkIds)
        for (TrunkIdRow& row : bank) row.fill({});
    out.hasTrunkIds = older || version >= 3;
    TableSink sink{out};
    result.imageChanged = true;
    result.ok = WalkTenBank(in, out.hasTrunkIds, sink, {});
    return result;
}

MemReadResult ReadTenBankFile(const std::filesystem::path& path, TenBankFile& out) {
    std::string content;
    int error = 0;
    MemReadResult result;
    if (!LoadFile(path, content, error, result.fileMissing)) {
        result.message = NotValidMessage(LoopIndices{}, error);
        return result;
    }
    return ParseTenBankFile(content, out);
}

MemReadResult ReadSiblingMemFile(Image& image, const std::filesystem::path& path,
                                 const Options& options, const ProgressFn& progress) {
    return LoadAndParse(ParseSiblingMemFile, image, path, options, progress);
}

std::string WithMemSuffix(std::string_view chosenName) {
    std::string name(chosenName);
    if (!Contains(name, ".MEM") && !Contains(name, ".mem")) name += ".mem";
    return name;
}

std::filesystem::path ApplyBareExtensionRule(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    if (name.size() == 4 && name.front() == '.') return path.parent_path() / ("bct8" + name);
    return path;
}

bool IsOpenableMemName(std::string_view name) {
    return Contains(name, ".MEM") || Contains(name, ".mem") || Contains(name, ".R3C");
}

}  // namespace vex
