#include "trunk/trunk_idtable.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/numeric.h"
#include "core/text.h"
#include "trunk/trunk_id.h"

namespace vex {
namespace {

std::string Lowered(std::string_view text) {
    std::string s(text);
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool InUsedRows(int row) {
    return row >= 0 && row < kTrunkIdUsedRows;
}

std::string& Cell(TrunkIdBankRows& rows, int row, int column) {
    return rows[row][column == 0 ? kTidId : kTidTag];
}

}  // namespace

TrunkIdWorkingCopy LoadTrunkIdCopy(const Image& image) {
    TrunkIdWorkingCopy copy;
    for (int b = 0; b < kTrunkIdBanks; ++b) {
        for (int r = 0; r < kTrunkIdRows; ++r) {
            for (int f = 0; f < kTrunkIdWindowFields; ++f) copy[b][r][f] = image.TrunkId[b][r][f];
        }
    }
    return copy;
}

void WriteBackTrunkIdCopy(TrunkIdWorkingCopy& copy, Image& image) {
    for (int b = 0; b < kScannerBanks; ++b) {
        for (int r = 0; r < kTrunkIdRows; ++r) {
            std::replace(copy[b][r][kTidTag].begin(), copy[b][r][kTidTag].end(), '"', ' ');
            for (int f = 0; f < kTrunkIdWindowFields; ++f) image.TrunkId[b][r][f] = copy[b][r][f];
        }
    }
}

void NormaliseTrunkIdBank(TrunkIdBankRows& rows, int trunkType) {
    for (int r = 0; r < kTrunkIdUsedRows; ++r) {
        rows[r][kTidId] = CleanTrunkId(trunkType, rows[r][kTidId]);
    }
}

void SortTrunkIdRows(TrunkIdBankRows& rows, TrunkSortKey key, bool ascending) {
    struct Keyed {
        bool empty;
        double number;
        std::string text;
        TrunkIdRow row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(kTrunkIdUsedRows);
    for (int r = 0; r < kTrunkIdUsedRows; ++r) {
        const TrunkIdRow& row = rows[r];
        if (key == TrunkSortKey::Id) {
            keyed.push_back({TrimBlanks(row[kTidId]).empty(), NumericValue(row[kTidId]), {}, row});
        } else {
            const std::string tag(TrimBlanks(row[kTidTag]));
            keyed.push_back({tag.empty(), 0, Lowered(tag), row});
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        if (a.empty != b.empty) return b.empty;
        if (a.empty) return false;
        if (key == TrunkSortKey::Id) return ascending ? a.number < b.number : b.number < a.number;
        return ascending ? a.text < b.text : b.text < a.text;
    });
    for (int r = 0; r < kTrunkIdUsedRows; ++r) rows[r] = keyed[r].row;
}

bool RemoveTrunkIdRow(TrunkIdBankRows& rows, int row) {
    if (!InUsedRows(row)) return false;
    for (int r = row; r < kTrunkIdUsedRows - 1; ++r) rows[r] = rows[r + 1];
    rows[kTrunkIdUsedRows - 1] = TrunkIdRow{};
    return true;
}

bool InsertTrunkIdRow(TrunkIdBankRows& rows, int row) {
    if (!InUsedRows(row)) return false;
    for (int r = kTrunkIdUsedRows - 1; r > row; --r) rows[r] = rows[r - 1];
    rows[row] = TrunkIdRow{};
    return true;
}

bool MoveTrunkIdRowUp(TrunkIdBankRows& rows, int row) {
    if (!InUsedRows(row) || row == 0) return false;
    std::swap(rows[row], rows[row - 1]);
    return true;
}

bool MoveTrunkIdRowDown(TrunkIdBankRows& rows, int row) {
    if (!InUsedRows(row) || row == kTrunkIdUsedRows - 1) return false;
    std::swap(rows[row], rows[row + 1]);
    return true;
}

void AlignTrunkTagsLeft(TrunkIdBankRows& rows) {
    for (int r = 0; r < kTrunkIdUsedRows; ++r) rows[r][kTidTag] = AlignTagLeft(rows[r][kTidTag]);
}

void CenterTrunkTags(TrunkIdBankRows& rows) {
    for (int r = 0; r < kTrunkIdUsedRows; ++r) {
        if (!rows[r][kTidTag].empty()) rows[r][kTidTag] = CenterTag(rows[r][kTidTag]);
    }
}

namespace {

// The range cut to the grid; false when nothing of it lies inside.
bool ClipRange(TrunkIdCellRange& range) {
    range.top = std::max(range.top, 0);
    range.left = std::max(range.left, 0);
    range.bottom = std::min(range.bottom, kTrunkIdUsedRows - 1);
    range.right = std::min(range.right, kTrunkIdGridColumns - 1);
    return range.top <= range.bottom && range.left <= range.right;
}

}  // namespace

std::string CopyTrunkIdCells(const TrunkIdBankRows& rows, TrunkIdCellRange range) {
    std::string text;
    if (!ClipRange(range)) return text;
    for (int r = range.top; r <= range.bottom; ++r) {
        if (r > range.top) text += '\n';
        for (int c = range.left; c <= range.right; ++c) {
            if (c > range.left) text += '\t';
            for (char ch : rows[r][c == 0 ? kTidId : kTidTag]) {
                if (ch != '\r') text += ch;
            }
        }
    }
    return text;
}

void ClearTrunkIdCells(TrunkIdBankRows& rows, TrunkIdCellRange range) {
    if (!ClipRange(range)) return;
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c) Cell(rows, r, c).clear();
    }
}

std::optional<TrunkIdCellRange> PasteTrunkIdCells(TrunkIdBankRows& rows, int trunkType, int row,
                                                  int column, std::string_view text) {
    if (!InUsedRows(row) || column < 0 || column >= kTrunkIdGridColumns) return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);

    std::optional<TrunkIdCellRange> written;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int r = row + static_cast<int>(i);
        if (r >= kTrunkIdUsedRows) break;
        int c = column;
        std::size_t start = 0;
        while (c < kTrunkIdGridColumns) {
            const std::size_t tab = lines[i].find('\t', start);
            const std::string_view value = std::string_view(lines[i]).substr(
                start, tab == std::string::npos ? tab : tab - start);
            Cell(rows, r, c) = c == 0 ? CleanTrunkId(trunkType, SanitiseIdText(trunkType, value))
                                      : SanitiseTagText(value);
            if (!written) written = TrunkIdCellRange{r, c, r, c};
            written->bottom = std::max(written->bottom, r);
            written->right = std::max(written->right, c);
            if (tab == std::string::npos) break;
            start = tab + 1;
            ++c;
        }
    }
    return written;
}

int ReplaceInTrunkTags(TrunkIdBankRows& rows, std::string_view find, std::string_view replacement) {
    if (find.empty()) return 0;
    int changed = 0;
    for (int r = 0; r < kTrunkIdUsedRows; ++r) {
        std::string& tag = rows[r][kTidTag];
        const std::size_t at = tag.find(find);
        if (at == std::string::npos) continue;
        tag.replace(at, find.size(), replacement);
        tag = CutTag(tag);
        ++changed;
    }
    return changed;
}

void TrunkIdUndo::save(int bank, const TrunkIdBankRows& rows) {
    d_bank = bank;
    d_saved = rows;
}

bool TrunkIdUndo::restore(TrunkIdWorkingCopy& copy) {
    if (!d_saved || d_bank < 0 || d_bank >= kTrunkIdBanks) return false;
    copy[d_bank] = *d_saved;
    d_saved.reset();
    return true;
}

}  // namespace vex
