#include "mainwin/tablecmds.h"

#include <algorithm>
#include <utility>

#include "core/numeric.h"
#include "mainwin/cellentry.h"

namespace vex {

namespace {

// Channel data moves between slots without field 0, which is the slot's own number.
void CopyData(Channel& to, const Channel& from) {
    for (int field = kFieldFrequency; field < kFieldsPerChannel; ++field) to[field] = from[field];
}

void SwapData(Channel& a, Channel& b) {
    for (int field = kFieldFrequency; field < kFieldsPerChannel; ++field) {
        std::swap(a[field], b[field]);
    }
}

bool SameData(const Channel& a, const Channel& b) {
    for (int field = kFieldFrequency; field < kFieldsPerChannel; ++field) {
        if (a[field] != b[field]) return false;
    }
    return true;
}

bool IsEmpty(const Channel& channel) {
    return NumericValue(channel[kFieldFrequency]) == 0;
}

int ClampRow(int row) {
    return std::clamp(row, 1, ChannelsPerBank);
}

bool ValidBank(int bank) {
    return bank >= 0 && bank < kBankCount;
}

std::string TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// Adds k to a decimal digit string of any length.
std::string AddToDigits(std::string digits, long long k) {
    std::string addend = std::to_string(k);
    std::string result;
    int carry = 0;
    auto a = digits.rbegin();
    auto b = addend.rbegin();
    while (a != digits.rend() || b != addend.rend() || carry != 0) {
        int sum = carry;
        if (a != digits.rend()) sum += *a++ - '0';
        if (b != addend.rend()) sum += *b++ - '0';
        result.push_back(static_cast<char>('0' + sum % 10));
        carry = sum / 10;
    }
    std::reverse(result.begin(), result.end());
    return result;
}

std::string GridCellForPaste(int field, std::string_view text, const Options& options) {
    switch (field) {
        case kGridFrequency:
            return PastedFrequencyText(text, options);
        case kGridTag:
            return EnterTag(text);
        default:
            return FlagCellFromText(text);
    }
}

std::string RowsText(const GridBank& grid, int firstRow, int lastRow, int firstField,
                     int lastField) {
    std::string text;
    for (int row = firstRow; row <= lastRow; ++row) {
        if (row != firstRow) text += '\r';
        for (int field = firstField; field <= lastField; ++field) {
            if (field != firstField) text += '\t';
            text += grid.cell(row, field);
        }
    }
    return text;
}

}  // namespace

Selection Selection::cell(int row, int field) {
    return {row, row, field, field, row, field};
}

Selection Selection::rows(int first, int last) {
    return {first, last, 1, kGridColumns, first, 1};
}

Selection Selection::normalised() const {
    Selection s = *this;
    if (s.firstRow > s.lastRow) std::swap(s.firstRow, s.lastRow);
    if (s.firstField > s.lastField) std::swap(s.firstField, s.lastField);
    s.firstRow = ClampRow(s.firstRow);
    s.lastRow = ClampRow(s.lastRow);
    s.currentRow = ClampRow(s.currentRow);
    s.firstField = std::clamp(s.firstField, 1, kGridColumns);
    s.lastField = std::clamp(s.lastField, 1, kGridColumns);
    s.currentField = std::clamp(s.currentField, 1, kGridColumns);
    return s;
}

// --- Questions ---

std::optional<Question> ClearLinesQuestion(const Options& options) {
    if (options.expert == 1) return std::nullopt;
    return Question{"Clear Selected Lines", std::string(kAreYouSure)};
}

std::optional<Question> RemoveLinesQuestion(const Options& options) {
    if (options.expert == 1) return std::nullopt;
    return Question{"Remove Selected Lines", std::string(kAreYouSure)};
}

Question ClearBankQuestion() {
    return Question{"Clear Current Bank",
                    "This will clear the current bank.\n" + std::string(kAreYouSure)};
}

std::optional<Question> InsertLineQuestion(const Image& image, int bank) {
    if (!ValidBank(bank) || IsEmpty(image.channel(bank, ChannelsPerBank))) return std::nullopt;
    return Question{"Warning", "Channel " + std::to_string(AbsoluteChannel(bank, ChannelsPerBank)) +
                                   " contains data.\nThis data will be lost.\nContinue?"};
}

std::optional<Question> SortQuestion(const Image& image, int bank, const Options& options) {
    if (!ValidBank(bank)) return std::nullopt;
    const std::string& type = image.TrunkType[bank];
    const bool edacs = type == "6" || (type == "7" && options.option[6] == 0);
    if (!edacs) return std::nullopt;
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        if (image.channel(bank, slot)[kFieldTrunk] == "1") {
            Question q{"Warning",
                       "WARNING:\nThis bank contains an EDACS trunk system!\nSorting this bank "
                       "can cause problems.\nDo you want to sort this bank anyway?"};
            q.beep = true;
            return q;
        }
    }
    return std::nullopt;
}

// --- Line and bank commands ---

bool ClearLines(Image& image, int bank, int firstRow, int lastRow) {
    if (!ValidBank(bank)) return false;
    if (firstRow > lastRow) std::swap(firstRow, lastRow);
    bool changed = false;
    for (int slot = ClampRow(firstRow); slot <= ClampRow(lastRow); ++slot) {
        Channel& channel = image.channel(bank, slot);
        Channel emptied = channel;
        EmptyChannel(emptied);
        if (!SameData(channel, emptied)) {
            channel = emptied;
            changed = true;
        }
    }
    return changed;
}

bool InsertEmptyLine(Image& image, int bank, int row) {
    if (!ValidBank(bank) || row < 1 || row > ChannelsPerBank) return false;
    auto& channels = image.ChannelTable[bank];
    for (int slot = ChannelsPerBank; slot > row; --slot)
        CopyData(channels[slot], channels[slot - 1]);
    channels[row][kFieldFrequency] = "Empty";  // numeric value 0: an empty channel
    for (int field = kFieldTag; field < kFieldsPerChannel; ++field) channels[row][field] = " ";
    return true;
}

bool RemoveEmptyLines(Image& image, int bank) {
    if (!ValidBank(bank)) return false;
    auto& channels = image.ChannelTable[bank];
    // Empty channels sink to the bottom, both groups in their order (they keep their texts).
    std::vector<Channel> kept;
    std::vector<Channel> emptied;
    bool seenEmpty = false;
    bool changed = false;
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        if (IsEmpty(channels[slot])) {
            seenEmpty = true;
            emptied.push_back(channels[slot]);
        } else {
            changed = changed || seenEmpty;
            kept.push_back(channels[slot]);
        }
    }
    if (!changed) return false;
    int slot = 1;
    for (const auto& channel : kept) CopyData(channels[slot++], channel);
    for (const auto& channel : emptied) CopyData(channels[slot++], channel);
    return true;
}

bool RemoveLines(Image& image, int bank, int firstRow, int lastRow) {
    if (!ValidBank(bank)) return false;
    if (firstRow > lastRow) std::swap(firstRow, lastRow);
    firstRow = ClampRow(firstRow);
    lastRow = ClampRow(lastRow);
    auto& channels = image.ChannelTable[bank];
    const Bank before = channels;
    const int count = lastRow - firstRow + 1;
    for (int slot = firstRow; slot + count <= ChannelsPerBank; ++slot) {
        CopyData(channels[slot], channels[slot + count]);
    }
    for (int slot = ChannelsPerBank - count + 1; slot <= ChannelsPerBank; ++slot) {
        EmptyChannel(channels[slot]);
    }
    return channels != before;
}

int ShiftChannel(Image& image, int bank, int row, ShiftDirection direction) {
    if (!ValidBank(bank) || row < 1 || row > ChannelsPerBank) return row;
    const int other = direction == ShiftDirection::Up ? row - 1 : row + 1;
    if (other < 1 || other > ChannelsPerBank) return row;
    SwapData(image.channel(bank, row), image.channel(bank, other));
    return other;
}

bool ClearBank(Image& image, int bank) {
    return ClearLines(image, bank, 1, ChannelsPerBank);
}

bool CenterTags(Image& image, int bank) {
    if (!ValidBank(bank)) return false;
    bool changed = false;
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        std::string& tag = image.channel(bank, slot)[kFieldTag];
        std::string centred = TrimSpaces(std::string_view(tag).substr(0, kMaxTagLength));
        if (!centred.empty() && centred.size() < kMaxTagLength) {
            // An odd difference puts the extra space on the right, which is not stored.
            centred.insert(0, (kMaxTagLength - centred.size()) / 2, ' ');
        }
        if (centred != tag) {
            tag = std::move(centred);
            changed = true;
        }
    }
    return changed;
}

bool RemoveLeadingSpaces(Image& image, int bank) {
    if (!ValidBank(bank)) return false;
    bool changed = false;
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        std::string& tag = image.channel(bank, slot)[kFieldTag];
        const std::size_t first = tag.find_first_not_of(' ');
        const std::size_t count = first == std::string::npos ? tag.size() : first;
        if (count > 0) {
            tag.erase(0, count);
            changed = true;
        }
    }
    return changed;
}

bool SortBank(Image& image, int bank, Selection selection, SortOrder order) {
    if (!ValidBank(bank)) return false;
    selection = selection.normalised();
    int first = selection.firstRow;
    int last = selection.lastRow;
    if (first == last) {
        first = 1;
        last = ChannelsPerBank;
    }
    auto& channels = image.ChannelTable[bank];
    struct Keyed {
        double key;
        bool empty;
        Channel channel;
    };
    std::vector<Keyed> rows;
    for (int slot = first; slot <= last; ++slot) {
        const double key = NumericValue(channels[slot][kFieldFrequency]);
        rows.push_back({key, key == 0, channels[slot]});
    }
    // Stable: channels with equal keys keep their order; empty channels last either way.
    std::stable_sort(rows.begin(), rows.end(), [order](const Keyed& a, const Keyed& b) {
        if (a.empty != b.empty) return b.empty;
        if (a.empty) return false;
        return order == SortOrder::Ascending ? a.key < b.key : a.key > b.key;
    });
    bool changed = false;
    int slot = first;
    for (const auto& row : rows) {
        if (!SameData(channels[slot], row.channel)) {
            CopyData(channels[slot], row.channel);
            changed = true;
        }
        ++slot;
    }
    return changed;
}

std::string BankEmptyStatusText(const Image& image) {
    std::string text = "\nBank Empty Status:";
    for (int bank = 0; bank < kBankCount; ++bank) {
        bool empty = true;
        for (int slot = 1; slot <= ChannelsPerBank && empty; ++slot) {
            empty = IsEmpty(image.channel(bank, slot));
        }
        if (!empty) continue;
        text += bank == kDummyBank ? std::string("\nBank Dummy: Empty")
                                   : "\nBank " + std::to_string(bank + 1) + ": Empty";
    }
    return text;
}

// --- Duplicates ---

std::vector<std::string> FindDuplicates(const Image& image, int bank, DuplicateScope scope) {
    struct Entry {
        int number;
        double value;
        const std::string* text;
    };
    std::vector<Entry> entries;
    auto collect = [&](int b) {
        for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
            const Channel& channel = image.channel(b, slot);
            const double value = NumericValue(channel[kFieldFrequency]);
            if (value != 0) entries.push_back({AbsoluteChannel(b, slot), value, &channel[1]});
        }
    };
    std::size_t firstPartners = 0;  // entries from here on are only ever later partners
    if (scope == DuplicateScope::CurrentBank) {
        if (!ValidBank(bank)) return {};
        collect(bank);
        firstPartners = entries.size();
    } else {
        for (int b = 0; b < kScannerBanks; ++b) collect(b);
        firstPartners = entries.size();
        collect(kDummyBank);
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < firstPartners; ++i) {
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            if (entries[i].value != entries[j].value) continue;
            lines.push_back("Duplicate Channel Found: " + std::to_string(entries[i].number) +
                            " and " + std::to_string(entries[j].number) +
                            " / Frequency: " + *entries[i].text);
        }
    }
    return lines;
}

WriteResult WriteDuplicateReport(const std::filesystem::path& folder,
                                 const std::vector<std::string>& lines) {
    std::string content;
    for (const auto& line : lines) content += line + "\r\n";
    return WriteFileAtomically(folder / std::string(kDuplicateReportName), content);
}

bool RemoveDuplicates(Image& image, int bank) {
    if (!ValidBank(bank)) return false;
    auto& channels = image.ChannelTable[bank];
    bool changed = false;
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        if (IsEmpty(channels[slot])) continue;
        const std::string text = channels[slot][kFieldFrequency];
        for (int later = slot + 1; later <= ChannelsPerBank; ++later) {
            if (channels[later][kFieldFrequency] == text) {
                channels[later][kFieldFrequency].clear();
                changed = true;
            }
        }
    }
    return changed;
}

// --- Cell commands ---

bool DeleteCells(GridBank& grid, Selection selection) {
    selection = selection.normalised();
    bool changed = false;
    for (int row = selection.firstRow; row <= selection.lastRow; ++row) {
        for (int field = selection.firstField; field <= selection.lastField; ++field) {
            std::string& cell = grid.cell(row, field);
            changed = changed || !cell.empty();
            cell.clear();
        }
    }
    return changed;
}

std::string CopyCells(const GridBank& grid, Selection selection) {
    selection = selection.normalised();
    return RowsText(grid, selection.firstRow, selection.lastRow, selection.firstField,
                    selection.lastField);
}

std::string CopyLines(const GridBank& grid, Selection selection) {
    selection = selection.normalised();
    return RowsText(grid, selection.firstRow, selection.lastRow, 1, kGridColumns);
}

int PasteCells(GridBank& grid, int row, int field, std::string_view text, const Options& options) {
    if (row < 1 || row > ChannelsPerBank || field < 1 || field > kGridColumns) return 0;
    int rows = 0;
    std::size_t pos = 0;
    while (pos < text.size() && row + rows <= ChannelsPerBank) {
        // A row ends at CR LF, CR or LF; a line end at the very end adds no row.
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
            pos = end + 2;
        } else {
            pos = end + 1;
        }

        std::size_t cellStart = 0;
        for (int f = field; f <= kGridColumns; ++f) {
            std::size_t cellEnd = line.find('\t', cellStart);
            const bool lastCell = cellEnd == std::string_view::npos;
            if (lastCell) cellEnd = line.size();
            grid.cell(row + rows, f) =
                GridCellForPaste(f, line.substr(cellStart, cellEnd - cellStart), options);
            if (lastCell) break;
            cellStart = cellEnd + 1;
        }
        ++rows;
    }
    return rows;
}

bool FillDown(GridBank& grid, Selection selection) {
    selection = selection.normalised();
    bool changed = false;
    for (int field = selection.firstField; field <= selection.lastField; ++field) {
        const std::string value = grid.cell(selection.firstRow, field);
        for (int row = selection.firstRow + 1; row <= selection.lastRow; ++row) {
            std::string& cell = grid.cell(row, field);
            if (cell != value) {
                cell = value;
                changed = true;
            }
        }
    }
    return changed;
}

std::optional<std::string> SeriesTag(std::string_view firstTag, long long k) {
    const std::size_t end = firstTag.find_last_not_of(' ');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view trimmed = firstTag.substr(0, end + 1);
    std::size_t start = trimmed.size();
    while (start > 0 && trimmed[start - 1] >= '0' && trimmed[start - 1] <= '9') --start;
    if (start == trimmed.size()) return std::nullopt;
    // The whole trailing number counts, so a carry never splits it (TAG999999 -> TAG1000000);
    // the sum keeps at least the first number's width (TAG009 -> TAG010).
    const std::string digits(trimmed.substr(start));
    std::string number = AddToDigits(digits, k);
    if (number.size() < digits.size()) number.insert(0, digits.size() - number.size(), '0');
    return std::string(trimmed.substr(0, start)) + number;
}

FillSeriesOutcome FillSeries(GridBank& grid, Selection selection) {
    selection = selection.normalised();
    if (selection.firstField != kGridTag || selection.lastField != kGridTag) {
        return FillSeriesOutcome::NotTagColumn;
    }
    const std::string first = grid.cell(selection.firstRow, kGridTag);
    if (!SeriesTag(first, 1)) return FillSeriesOutcome::NoNumber;
    for (int row = selection.firstRow + 1; row <= selection.lastRow; ++row) {
        grid.cell(row, kGridTag) = EnterTag(*SeriesTag(first, row - selection.firstRow));
    }
    return FillSeriesOutcome::Filled;
}

}  // namespace vex
