#include "core/memfile.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/atomic_file.h"
#include "core/delimited.h"
#include "core/numeric.h"
#include "core/plain_file.h"

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

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Largest sizes of the values a file holds, so that a damaged or hostile file cannot make a
// value of megabytes that every window would then carry. Generous beside what the editors store.
constexpr std::size_t kTagSize = 16;    // channel, bank, trunk ID and scan-list tags
constexpr std::size_t kValueSize = 32;  // numbers, codes, frequencies, IDs
constexpr std::size_t kTextSize = 255;  // the channel comment
constexpr std::size_t kLabelSize = 64;  // a line's label, the priority line

void CutTo(std::string& value, std::size_t size) {
    if (value.size() > size) value.resize(size);
}

// One line of the file split into its comma-separated fields: a field beginning with a double
// quote runs to the next one (text after it up to the comma is dropped), an unquoted field loses
// its blanks, a line ending in a comma has an empty last field. False when a quote is not closed
// on its line: the writer never breaks a value over two lines.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && IsBlank(line[pos])) ++pos;
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) return false;
            fields.emplace_back(line.substr(pos + 1, close - pos - 1));
            pos = line.find(',', close + 1);
        } else {
            const std::size_t comma = line.find(',', pos);
            fields.emplace_back(TrimBlanks(line.substr(
                pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos)));
            pos = comma;
        }
        if (pos == std::string_view::npos) return true;
        ++pos;
    }
}

// A file that cannot be loaded is refused, saying why; the caller names the file.
std::string CannotOpenMessage(const std::string& reason) {
    return "The file cannot be opened: " + reason + ".";
}

// The reading steps shared by the own file and the sibling file. The file is read line by line;
// every record line must hold exactly its fields, so that a missing or extra field is reported
// at its line instead of shifting every later value.
class Reader {
  public:
    Reader(std::string_view content, MemReadResult& result) : d_text(content), d_result(result) {}

    // The next line without its line end, for a record named `what` (e.g. "channel 78").
    bool readLine(std::string& out, std::string_view what) {
        if (d_pos >= d_text.size()) {
            ++d_line;
            return fail("the file ends before " + std::string(what));
        }
        ++d_line;
        std::size_t end = d_pos;
        while (end < d_text.size() && d_text[end] != '\r' && d_text[end] != '\n') ++end;
        out.assign(d_text.substr(d_pos, end - d_pos));
        if (end >= d_text.size()) return fail("the file ends inside this line");
        d_pos = end + 1;
        if (d_text[end] == '\r' && d_pos < d_text.size() && d_text[d_pos] == '\n') ++d_pos;
        return true;
    }

    // A record line of exactly `count` fields; with a label, the first field must begin with it.
    bool record(std::string_view what, std::size_t count, std::string_view label = {}) {
        std::string line;
        if (!readLine(line, what)) return false;
        if (!SplitFields(line, d_fields))
            return fail(std::string(what) + ": a quoted value is not closed");
        if (d_fields.size() != count)
            return fail(std::string(what) + ": " + std::to_string(d_fields.size()) +
                        (d_fields.size() == 1 ? " field" : " fields") + " where " +
                        std::to_string(count) + " belong");
        if (!label.empty() && !d_fields[0].starts_with(label))
            return fail(std::string(what) + ": the line does not begin with " + std::string(label));
        return true;
    }

    // A label, then the values into `row` (may be null), each cut to `size`.
    template <typename Row>
    bool values(Row* row, std::size_t count, std::string_view what, std::string_view label,
                std::size_t size = kValueSize) {
        if (!record(what, count + 1, label)) return false;
        if (!row) return true;
        for (std::size_t i = 0; i < count && i < row->size(); ++i) {
            CutTo(d_fields[i + 1], size);
            (*row)[i] = std::move(d_fields[i + 1]);
        }
        return true;
    }

    // A bank-tag line: "#$BT", the bank, a space and the tag from the seventh character on.
    bool bankTagLine(std::string* tag, std::string_view what) {
        std::string line;
        if (!readLine(line, what)) return false;
        if (tag && Contains(line, "#$BT") && line.size() > 5) {
            *tag = line.substr(6, kTagSize);
        }
        return true;
    }

    // A trunk-type line: the numeric value of the text from the seventh character on, in
    // decimal. "0" (Unknown) stays "0".
    bool trunkTypeLine(std::string* type, std::string_view what) {
        std::string line;
        if (!readLine(line, what)) return false;
        if (type && Contains(line, "#$TT")) {
            const std::string_view text =
                line.size() > 6 ? std::string_view(line).substr(6, kValueSize) : std::string_view();
            *type = NumberToText(NumericValue(text));
        }
        return true;
    }

    bool fail(std::string why) {
        d_result.ok = false;
        d_result.damagedLine = std::max(d_line, 1);
        d_result.message = std::string(kMsgNotValidPrefix) + std::to_string(d_result.damagedLine) +
                           " (" + std::move(why) + ")";
        return false;
    }

    std::vector<std::string>& fields() { return d_fields; }

  private:
    std::string_view d_text;
    MemReadResult& d_result;
    std::size_t d_pos = 0;
    int d_line = 0;
    std::vector<std::string> d_fields;
};

std::string Label(std::string_view prefix, int number) {
    return std::string(prefix) + std::to_string(number);
}

// The first field of the first line, where the signature stands (the line may be cut).
std::string FirstField(std::string_view content) {
    const std::size_t end = content.find_first_of("\r\n");
    std::vector<std::string> fields;
    SplitFields(content.substr(0, end), fields);
    return fields.empty() ? std::string() : fields.front();
}

void Progress(const ProgressFn& progress, int done, int total, int& last) {
    if (!progress) return;
    const int percent = total > 0 ? done * 100 / total : 100;
    if (percent != last) {
        last = percent;
        progress(percent);
    }
}

// A channel record: seven fields, each cut to its size.
bool ChannelLine(Reader& in, Channel* channel, std::size_t count, int number) {
    if (!in.record("channel " + std::to_string(number), count)) return false;
    if (!channel) return true;
    static constexpr std::size_t kSizes[kFieldsPerChannel] = {
        kValueSize, kValueSize, kTagSize, kValueSize, kValueSize, kValueSize, kTextSize};
    for (int f = 0; f < kFieldsPerChannel; ++f) {
        std::string& value = in.fields()[f];
        CutTo(value, kSizes[f]);
        (*channel)[f] = std::move(value);
    }
    return true;
}

using MemParser = MemReadResult (*)(Image&, std::string_view, const ImageOptions&,
                                    const ProgressFn&);
MemReadResult LoadAndParse(MemParser parse, Image& image, const std::filesystem::path& path,
                           const ImageOptions& options, const ProgressFn& progress) {
    std::string content;
    const FileOutcome loaded = ReadPlainFile(path, content, kMaxDocumentSize);
    if (!loaded) {
        MemReadResult result;
        result.fileMissing = loaded.problem == FileProblem::Missing;
        result.message = CannotOpenMessage(loaded.reason);
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

std::string SerializeMemFile(const Image& image, const ImageOptions& options) {
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
                            const ImageOptions& options) {
    MemWriteResult result;
    result.path = ApplyBareExtensionRule(path);
    const WriteResult written = WriteFileAtomically(result.path, SerializeMemFile(image, options));
    result.ok = written.ok;
    result.error = written.error;
    return result;
}

MemReadResult ParseMemFile(Image& image, std::string_view content, const ImageOptions& options,
                           const ProgressFn& progress) {
    MemReadResult result;
    Reader in(content, result);
    if (content.empty()) {
        in.fail("the file is empty");
        return result;
    }
    const std::string signature = FirstField(content);
    if (!Contains(signature, kMemSignature) && !Contains(signature, kMemSignatureV101)) {
        result.message = kMsgNotCompatible;
        return result;
    }
    std::string line;
    if (!in.readLine(line, "the signature")) return result;

    ClearForFileRead(image);
    result.imageChanged = true;
    int lastPercent = -1;
    Progress(progress, 0, kTotalChannels, lastPercent);
    for (int b = 0; b < kScannerBanks; ++b) {
        for (int s = 1; s <= ChannelsPerBank; ++s) {
            Channel& channel = image.ChannelTable[b][s];
            if (!ChannelLine(in, &channel, kFieldsPerChannel, AbsoluteChannel(b, s))) return result;
            if (options.option9 == 1) result.tags.push_back({b, channel[kFieldTag]});
            Progress(progress, AbsoluteChannel(b, s), kTotalChannels, lastPercent);
        }
    }
    if (!in.record("the separator line", 1)) return result;

    for (int b = 0; b < kBankCount; ++b)
        if (!in.bankTagLine(&image.BankTag[b], Label("#$BT", b))) return result;

    for (int b = 0; b < kScannerBanks; ++b) {
        for (int r = 0; r < kTrunkIdUsedRows; ++r) {
            const std::string label = Label("TD", b * kTrunkIdUsedRows + r);
            TrunkIdRow& row = image.TrunkId[b][r];
            if (!in.values(&row, kTrunkIdFields, label, "TD")) return result;
            CutTo(row[1], kTagSize);
        }
    }

    for (int i = 0; i < kScanListTagRows; ++i)
        if (!in.values(&image.ScanListTag[i], kScanListTagCols, Label("TID", i), "TID", kTagSize))
            return result;

    for (int b = 0; b < kScannerBanks; ++b)
        if (!in.values(&image.TrunkSetting[b], kTrunkSettingFields, Label("TSI", b), "TSI"))
            return result;

    for (int b = 0; b < kScannerBanks; ++b)
        if (!in.trunkTypeLine(&image.TrunkType[b], Label("#$TT", b))) return result;

    for (int b = 0; b < kScannerBanks; ++b)
        for (int k = 0; k < kTrunkBaseRows; ++k)
            if (!in.values(&image.TrunkBase[b][k], kTrunkBaseFields, Label("#$TBS", b), "#$TBS"))
                return result;

    std::array<std::string, kScannerBanks> active;
    if (!in.values(&active, kScannerBanks, "#$LKM", "#$LKM")) return result;
    for (int b = 0; b < kScannerBanks; ++b) image.ActiveBank[b] = Int16Value(active[b]);

    for (int b = 0; b < kScannerBanks; ++b) {
        if (!in.record(Label("PRCH", b), 1)) return result;
        std::string& value = in.fields()[0];
        CutTo(value, kLabelSize);
        // The number stands after "H" and the bank index, e.g. "PRCH0 1".
        const std::size_t found = value.find("H" + std::to_string(b));
        const std::size_t p = found == std::string::npos ? 0 : found + 1;
        const std::size_t keep = value.size() >= p + 1 ? value.size() - p - 1 : 0;
        image.PriorityChannel[b] = Int16Value(std::string_view(value).substr(value.size() - keep));
    }

    result.ok = true;
    return result;
}

MemReadResult ReadMemFile(Image& image, const std::filesystem::path& path,
                          const ImageOptions& options, const ProgressFn& progress) {
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
    int lastPercent = -1;
    constexpr int kTotal = kSiblingBanks * ChannelsPerBank;
    Progress(progress, 0, kTotal, lastPercent);
    for (int b = 0; b < kSiblingBanks; ++b) {
        for (int s = 1; s <= ChannelsPerBank; ++s) {
            Channel* channel = sink.channel(b, s);
            if (!ChannelLine(in, channel, kSiblingFields, b * ChannelsPerBank + s)) return false;
            if (channel) sink.channelRead(b, *channel);
            Progress(progress, b * ChannelsPerBank + s, kTotal, lastPercent);
        }
    }
    if (!in.record("the separator line", 1)) return false;

    for (int b = 0; b < kSiblingTagLines; ++b)
        if (!in.bankTagLine(sink.bankTag(b), Label("#$BT", b))) return false;

    if (hasTrunkIds) {
        std::string line;
        for (int i = 0; i < 10; ++i)
            if (!in.readLine(line, "extra line " + std::to_string(i + 1))) return false;
        for (int b = 0; b < kSiblingBanks; ++b) {
            for (int r = 0; r < kSiblingIdRows; ++r) {
                TrunkIdRow* row = sink.trunkId(b, r);
                if (!in.values(row, kTrunkIdFields, Label("TD", b * kSiblingIdRows + r), {}))
                    return false;
                if (row) CutTo((*row)[1], kTagSize);
            }
        }
    }

    for (int i = 0; i < kScanListTagRows; ++i)
        if (!in.values(sink.scanListTag(i), kScanListTagCols, Label("TID", i), {}, kTagSize))
            return false;

    for (int b = 0; b < kSiblingBanks; ++b)
        if (!in.values(sink.trunkSetting(b), kTrunkSettingFields, Label("TSI", b), {}))
            return false;

    for (int b = 0; b < kSiblingBanks; ++b)
        if (!in.trunkTypeLine(sink.trunkType(b), Label("#$TT", b))) return false;

    for (int b = 0; b < kSiblingBanks; ++b)
        for (int k = 0; k < kTrunkBaseRows; ++k)
            if (!in.values(sink.trunkBase(b, k), kTrunkBaseFields, Label("#$TBS", b), {}))
                return false;

    using SearchRow = std::array<std::string, 10>;
    for (int i = 0; i < 10; ++i)
        if (!in.values(static_cast<SearchRow*>(nullptr), 10,
                       "search range " + std::to_string(i + 1), {}))
            return false;
    return true;
}

// "Open PELIXO mem file": the first five of each bank-indexed section land in banks 1 to 5.
struct ImageSink {
    Image& image;
    const ImageOptions& options;
    MemReadResult& result;
    static bool kept(int bank) { return bank < kScannerBanks; }
    Channel* channel(int b, int s) { return kept(b) ? &image.ChannelTable[b][s] : nullptr; }
    void channelRead(int b, const Channel& c) {
        if (options.option9 == 1) result.tags.push_back({b, c[kFieldTag]});
    }
    std::string* bankTag(int b) { return kept(b) ? &image.BankTag[b] : nullptr; }
    TrunkIdRow* trunkId(int b, int r) {
        return kept(b) && r < kTrunkIdUsedRows ? &image.TrunkId[b][r] : nullptr;
    }
    auto* scanListTag(int i) { return &image.ScanListTag[i]; }
    auto* trunkSetting(int b) { return kept(b) ? &image.TrunkSetting[b] : nullptr; }
    std::string* trunkType(int b) { return kept(b) ? &image.TrunkType[b] : nullptr; }
    auto* trunkBase(int b, int k) { return kept(b) ? &image.TrunkBase[b][k] : nullptr; }
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

// Reads past the signature line; false (with the reason in `result`) for an empty file.
bool SkipSignature(Reader& in, std::string_view content) {
    if (content.empty()) {
        in.fail("the file is empty");
        return false;
    }
    std::string line;
    return in.readLine(line, "the signature");
}

}  // namespace

// The first five of each bank-indexed section land in banks 1 to 5; the rest is read past.
MemReadResult ParseSiblingMemFile(Image& image, std::string_view content,
                                  const ImageOptions& options, const ProgressFn& progress) {
    MemReadResult result;
    Reader in(content, result);
    if (content.empty()) {
        in.fail("the file is empty");
        return result;
    }
    const std::string signature = FirstField(content);
    if (!Contains(signature, "780")) {
        result.message = kMsgNotSibling;
        return result;
    }
    const int version = NewerVersion(signature);
    if (version < 0) {
        result.message = kMsgSiblingNotCompatible;
        return result;
    }
    std::string line;
    if (!in.readLine(line, "the signature")) return result;

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
    const std::string signature = FirstField(content);
    const bool older = OlderHeader(signature);
    const int version = older ? 1 : NewerVersion(signature);
    if (version < 0) {
        result.message = kMsgSiblingNotCompatible;
        return result;
    }
    // A refused signature line leaves the caller's table as it was.
    if (!SkipSignature(in, content)) return result;
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
    const FileOutcome loaded = ReadPlainFile(path, content, kMaxDocumentSize);
    if (!loaded) {
        MemReadResult result;
        result.fileMissing = loaded.problem == FileProblem::Missing;
        result.message = CannotOpenMessage(loaded.reason);
        return result;
    }
    return ParseTenBankFile(content, out);
}

MemReadResult ReadSiblingMemFile(Image& image, const std::filesystem::path& path,
                                 const ImageOptions& options, const ProgressFn& progress) {
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
