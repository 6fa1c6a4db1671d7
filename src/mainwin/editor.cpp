#include "mainwin/editor.h"

#include <algorithm>

#include "core/normalise.h"
#include "mainwin/bandplan.h"
#include "tools/spreadsheet.h"
#include "tools/step_names.h"

namespace vex {

namespace {

constexpr std::string_view kOtherChanges = "Other changes";

}  // namespace

TableEditor::TableEditor(Image& image, Options& options, DefaultData& defaults)
    : image_(image), options_(options), defaults_(defaults), history_(image) {
    Show();
}

void TableEditor::setModified(bool modified) {
    RecordOutsideChanges();
    if (modified) {
        history_.markModified();
    } else {
        history_.markSaved();
    }
}

// --- Grid transfer ---

void TableEditor::MarkSynced() {
    syncedBank_ = image_.ChannelTable[currentBank_];
    shown_ = grid_;
}

void TableEditor::TakeImageUnderGrid() {
    // The rows not edited in the grid since it was shown show the image again, as shown.
    GridBank fresh;
    ShowBank(image_, currentBank_, options_, fresh, &tags_);
    const GridBank shownNow = fresh;
    for (int row = 1; row <= ChannelsPerBank; ++row) {
        if (grid_.cells[row] != shown_.cells[row]) fresh.cells[row] = grid_.cells[row];
    }
    grid_ = fresh;
    shown_ = shownNow;
    syncedBank_ = image_.ChannelTable[currentBank_];
}

GridResult TableEditor::Store() {
    if (!IsGridBank(currentBank_)) return StoreGrid(grid_, image_, currentBank_, options_, &tags_);
    if (image_.ChannelTable[currentBank_] != syncedBank_) TakeImageUnderGrid();
    // Only the rows edited since the bank was shown are written: storing a row as shown would
    // rewrite its form (the blank flags of an empty channel, leading zeros) and make an
    // unchanged image look edited.
    GridRows edited{};
    bool any = false;
    for (int row = 1; row <= ChannelsPerBank; ++row) {
        edited[row] = grid_.cells[row] != shown_.cells[row];
        any = any || edited[row];
    }
    if (!any) return {};
    const GridResult stored = StoreGrid(grid_, image_, currentBank_, options_, &tags_, &edited);
    if (stored) {
        for (int row = 1; row <= ChannelsPerBank; ++row)
            if (edited[row]) shown_.cells[row] = grid_.cells[row];
        syncedBank_ = image_.ChannelTable[currentBank_];
    }
    return stored;
}

GridResult TableEditor::Show() {
    const GridResult shown = ShowBank(image_, currentBank_, options_, grid_, &tags_);
    if (shown) MarkSynced();
    return shown;
}

GridResult TableEditor::SaveUndo() {
    GridResult stored = Store();
    if (stored) RecordOutsideChanges();
    return stored;
}

void TableEditor::RecordOutsideChanges() {
    history_.record(stepsUnderWay_.empty() ? kOtherChanges : stepsUnderWay_.back(), currentBank_,
                    image_);
}

void TableEditor::RecordOutsideChannelChanges() {
    history_.recordChannels(stepsUnderWay_.empty() ? kOtherChanges : stepsUnderWay_.back(),
                            currentBank_, image_);
}

GridResult TableEditor::SelectBank(int bank) {
    if (bank < 0) return {false, std::string(kShowBankError)};
    GridResult stored = SaveUndo();
    if (!stored) return stored;
    grid_.clear();
    currentBank_ = std::min(bank, kDummyBank);
    return Show();
}

bool TableEditor::Undo() {
    if (!SaveUndo()) return false;
    const std::optional<int> bank = history_.undo(image_);
    if (!bank) return false;
    // The user sees what was taken back.
    if (IsGridBank(*bank)) currentBank_ = *bank;
    Show();
    return true;
}

bool TableEditor::Redo() {
    if (!SaveUndo()) return false;
    const std::optional<int> bank = history_.redo(image_);
    if (!bank) return false;
    if (IsGridBank(*bank)) currentBank_ = *bank;
    Show();
    return true;
}

void TableEditor::ResetAfterNewImage() {
    tags_.Clear();
    // Steps of the previous image would put its channels into the new one.
    history_.reset(image_, history_.modified());
    Show();
}

// --- Cell entry ---

std::string TableEditor::ApplyEntryToCell(int row, int field, std::string_view typed) {
    switch (field) {
        case kGridFrequency: {
            FrequencyEntry entry = EnterFrequency(typed, options_, defaults_);
            grid_.cell(row, field) = entry.text;
            for (int i = 0; i < 3; ++i) {
                if (entry.flags[i]) grid_.cell(row, kGridTrunk + i) = *entry.flags[i];
            }
            return std::move(entry.note);
        }
        case kGridTag:
            grid_.cell(row, field) = EnterTag(typed);
            if (options_.option9() == 1) tags_.Offer(currentBank_, grid_.cell(row, field));
            break;
        default:
            grid_.cell(row, field) = FlagCellFromText(typed);
            break;
    }
    return {};
}

std::string TableEditor::EnterText(Selection selection, std::string_view typed) {
    selection = selection.Normalised();
    const int field = selection.currentField;
    const bool inSelection = field >= selection.firstField && field <= selection.lastField &&
                             selection.currentRow >= selection.firstRow &&
                             selection.currentRow <= selection.lastRow;
    // The typed value fills the selected cells of the edited column only: a frequency typed
    // into a tag or flag cell would be nonsense there.
    const int first = inSelection ? selection.firstRow : selection.currentRow;
    const int last = inSelection ? selection.lastRow : selection.currentRow;
    RecordOutsideChannelChanges();
    std::string note;
    for (int row = first; row <= last; ++row) note = ApplyEntryToCell(row, field, typed);
    RecordGridEdit(Selection::Rows(first, last));
    return note;
}

void TableEditor::RecordGridEdit(Selection rows) {
    if (!Store()) return;
    history_.recordChannels(EditChannelsStepName(AbsoluteChannel(currentBank_, rows.firstRow),
                                                 AbsoluteChannel(currentBank_, rows.lastRow)),
                            currentBank_, image_);
}

bool TableEditor::FlagKey(Selection selection, char key) {
    selection = selection.Normalised();
    const int field = selection.currentField;
    if (field < kGridTrunk || field > kGridLockout) return false;
    const auto value = FlagCellForKey(key, grid_.cell(selection.currentRow, field));
    if (!value) return false;
    const bool inSelection = field >= selection.firstField && field <= selection.lastField &&
                             selection.currentRow >= selection.firstRow &&
                             selection.currentRow <= selection.lastRow;
    const int first = inSelection ? selection.firstRow : selection.currentRow;
    const int last = inSelection ? selection.lastRow : selection.currentRow;
    RecordOutsideChannelChanges();
    for (int row = first; row <= last; ++row) grid_.cell(row, field) = *value;
    RecordGridEdit(Selection::Rows(first, last));
    return true;
}

bool TableEditor::ToggleFlag(int row, int field) {
    if (row < 1 || row > ChannelsPerBank || field < kGridTrunk || field > kGridLockout) {
        return false;
    }
    RecordOutsideChannelChanges();
    grid_.cell(row, field) = ToggleFlagCell(grid_.cell(row, field));
    RecordGridEdit(Selection::Rows(row, row));
    return true;
}

// --- Command frame ---

bool TableEditor::Begin(const QuestionFn& question, const Asker& ask, CommandResult& result) {
    const GridResult stored = Store();
    if (!stored) {
        result.cancelled = true;
        result.message = stored.message;
        return false;
    }
    // A command without an asker never goes past its question. A refused command records
    // no step.
    if (question) {
        if (const auto q = question(); q && !(ask && ask(*q))) {
            result.cancelled = true;
            Show();
            return false;
        }
    }
    RecordOutsideChanges();
    return true;
}

CommandResult& TableEditor::Finish(CommandResult& result, std::string_view stepName) {
    Show();
    history_.record(stepName, currentBank_, image_);
    return result;
}

CommandResult TableEditor::ChangeTable(std::string_view stepName,
                                       const std::function<bool()>& change) {
    CommandResult result;
    if (!Begin({}, {}, result)) return result;
    result.changed = change();
    return Finish(result, stepName);
}

CommandResult TableEditor::ChangeGrid(std::string_view stepName,
                                      const std::function<bool()>& change) {
    CommandResult result;
    if (!Begin({}, {}, result)) return result;
    result.changed = change();
    Store();
    return Finish(result, stepName);
}

CommandResult TableEditor::ApplyImageChange(std::string_view stepName,
                                            const std::function<bool(Image&)>& change) {
    CommandResult result;
    if (!Begin({}, {}, result)) return result;
    // A window opened by `change` may make steps of its own; what it changes besides goes
    // under this step's name.
    stepsUnderWay_.emplace_back(stepName);
    result.changed = change(image_);
    stepsUnderWay_.pop_back();
    return Finish(result, stepName);
}

bool TableEditor::StoreForReading(CommandResult& result) {
    const GridResult stored = Store();
    if (stored) return true;
    result.cancelled = true;
    result.message = stored.message;
    return false;
}

// --- Line and bank commands ---

CommandResult TableEditor::ClearSelectedLines(Selection selection, const Asker& ask) {
    CommandResult result;
    selection = selection.Normalised();
    if (!Begin([&] { return ClearLinesQuestion(options_); }, ask, result)) return result;
    result.changed = ClearLines(image_, currentBank_, selection.firstRow, selection.lastRow);
    return Finish(result, "Clear selected lines");
}

CommandResult TableEditor::InsertEmptyLine(Selection selection, const Asker& ask) {
    CommandResult result;
    selection = selection.Normalised();
    if (!Begin([&] { return InsertLineQuestion(image_, currentBank_); }, ask, result)) {
        return result;
    }
    result.changed = vex::InsertEmptyLine(image_, currentBank_, selection.currentRow);
    return Finish(result, "Insert empty line");
}

CommandResult TableEditor::RemoveAllEmptyLines() {
    return ChangeTable("Remove all empty lines",
                       [&] { return RemoveEmptyLines(image_, currentBank_); });
}

CommandResult TableEditor::RemoveSelectedLines(Selection selection, const Asker& ask) {
    CommandResult result;
    selection = selection.Normalised();
    if (!Begin([&] { return RemoveLinesQuestion(options_); }, ask, result)) return result;
    result.changed = RemoveLines(image_, currentBank_, selection.firstRow, selection.lastRow);
    return Finish(result, "Remove selected lines");
}

CommandResult TableEditor::ShiftChannelUp(Selection selection) {
    return ShiftCurrentChannel(selection, ShiftDirection::Up);
}

CommandResult TableEditor::ShiftChannelDown(Selection selection) {
    return ShiftCurrentChannel(selection, ShiftDirection::Down);
}

// The selection follows the moved channel so that repeated shifts keep moving it.
CommandResult TableEditor::ShiftCurrentChannel(Selection selection, ShiftDirection direction) {
    CommandResult result;
    selection = selection.Normalised();
    if (!Begin({}, {}, result)) return result;
    const int row = selection.currentRow;
    const int moved = ShiftChannel(image_, currentBank_, row, direction);
    result.changed = moved != row;
    if (result.changed) {
        selection.firstRow = selection.lastRow = selection.currentRow = moved;
        result.selection = selection;
    }
    return Finish(result,
                  direction == ShiftDirection::Up ? "Shift channel up" : "Shift channel down");
}

CommandResult TableEditor::ClearCurrentBank(const Asker& ask) {
    CommandResult result;
    if (!Begin([] { return std::optional<Question>(ClearBankQuestion()); }, ask, result))
        return result;
    result.changed = ClearBank(image_, currentBank_);
    // The modified flag follows the history: clearing it would let unsaved edits in the other
    // banks go without the "Save data?" question at exit.
    return Finish(result, ClearBankStepName(currentBank_));
}

// --- Cell commands ---

CommandResult TableEditor::DeleteCells(Selection selection) {
    return ChangeGrid("Delete", [&] { return vex::DeleteCells(grid_, selection); });
}

CommandResult TableEditor::CopyCells(Selection selection) {
    CommandResult result;
    result.clipboard = vex::CopyCells(grid_, selection);
    return result;
}

CommandResult TableEditor::CutCells(Selection selection) {
    CommandResult result;
    if (!Begin({}, {}, result)) return result;
    result.clipboard = vex::CopyCells(grid_, selection);
    result.changed = vex::DeleteCells(grid_, selection);
    Store();
    return Finish(result, "Cut");
}

CommandResult TableEditor::PasteCells(Selection selection, std::string_view clipboard) {
    CommandResult result;
    selection = selection.Normalised();
    if (!Begin({}, {}, result)) return result;
    const GridBank before = grid_;
    const SpreadsheetText cells = FromSpreadsheet(clipboard);
    // Each pasted value goes through the rules of typing it into its cell (band edges, raster,
    // default flags), so a paste never stores what typing would have refused or changed.
    int rows = 0;
    std::string_view text = cells.text;
    for (int row = selection.firstRow; !text.empty() && row <= ChannelsPerBank; ++row, ++rows) {
        const std::size_t lineEnd = std::min(text.find('\r'), text.size());
        std::string_view line = text.substr(0, lineEnd);
        text.remove_prefix(std::min(lineEnd + 1, text.size()));
        for (int field = selection.firstField; field <= kGridColumns; ++field) {
            const std::size_t cellEnd = std::min(line.find('\t'), line.size());
            ApplyEntryToCell(row, field, line.substr(0, cellEnd));
            if (cellEnd == line.size()) break;
            line.remove_prefix(cellEnd + 1);
        }
    }
    result.message = PasteLeftOutMessage(cells, rows, selection.firstField);
    result.changed = grid_ != before;
    Store();
    return Finish(result, "Paste");
}

CommandResult TableEditor::CopyLines(Selection selection) {
    CommandResult result;
    selection = selection.Normalised();
    // The table must be current: the clipboard keeps the whole channels, comments included.
    const GridResult stored = Store();
    if (!stored) {
        result.cancelled = true;
        result.message = stored.message;
        return result;
    }
    result.clipboard = vex::CopyLines(grid_, selection);
    lineClipboard_.text = result.clipboard;
    lineClipboard_.channels.clear();
    for (int row = selection.firstRow; row <= selection.lastRow; ++row) {
        lineClipboard_.channels.push_back(image_.channel(currentBank_, row));
    }
    return result;
}

CommandResult TableEditor::CutLines(Selection selection) {
    CommandResult result = CopyLines(selection);
    if (result.cancelled) return result;
    selection = selection.Normalised();
    RecordOutsideChanges();
    result.changed = ClearLines(image_, currentBank_, selection.firstRow, selection.lastRow);
    return Finish(result, "Cut lines");
}

CommandResult TableEditor::PasteLines(Selection selection, std::string_view clipboard) {
    CommandResult result;
    selection = selection.Normalised();
    if (!Begin({}, {}, result)) return result;
    const int row = selection.currentRow;
    if (!clipboard.empty() && clipboard == lineClipboard_.text) {
        const Bank before = image_.ChannelTable[currentBank_];
        int slot = row;
        for (const Channel& channel : lineClipboard_.channels) {
            if (slot > ChannelsPerBank) break;
            Channel& target = image_.channel(currentBank_, slot++);
            for (int field = kFieldFrequency; field < kFieldsPerChannel; ++field) {
                target[field] = channel[field];
            }
        }
        result.changed = image_.ChannelTable[currentBank_] != before;
    } else {
        const GridBank before = grid_;
        vex::PasteCells(grid_, row, kGridFrequency, clipboard, options_);
        result.changed = grid_ != before;
        Store();
    }
    return Finish(result, "Paste lines");
}

CommandResult TableEditor::FillDown(Selection selection) {
    return ChangeGrid("Fill down", [&] { return vex::FillDown(grid_, selection); });
}

CommandResult TableEditor::FillSeries(Selection selection) {
    CommandResult result;
    if (!Begin({}, {}, result)) return result;
    const GridBank before = grid_;
    switch (vex::FillSeries(grid_, selection)) {
        case FillSeriesOutcome::Filled:
            break;
        case FillSeriesOutcome::NotTagColumn:
            result.message = std::string(kFillSeriesNeedsTagColumn);
            break;
        case FillSeriesOutcome::NoNumber:
            result.message = std::string(kFillSeriesNeedsNumber);
            break;
    }
    result.changed = grid_ != before;
    Store();
    return Finish(result, "Fill series");
}

CommandResult TableEditor::CenterMemoryTags() {
    return ChangeTable("Center memory tags", [&] { return CenterTags(image_, currentBank_); });
}

CommandResult TableEditor::RemoveLeadingSpaces() {
    return ChangeTable("Remove leading spaces",
                       [&] { return vex::RemoveLeadingSpaces(image_, currentBank_); });
}

CommandResult TableEditor::BankEmptyStatus() {
    CommandResult result;
    if (!StoreForReading(result)) return result;
    result.message = BankEmptyStatusText(image_);
    return result;
}

CommandResult TableEditor::FindDuplicateChannels(DuplicateScope scope,
                                                 const std::filesystem::path& folder) {
    CommandResult result;
    if (!StoreForReading(result)) return result;
    const std::vector<std::string> lines = FindDuplicates(image_, currentBank_, scope);
    for (const auto& line : lines) {
        if (!result.message.empty()) result.message += '\n';
        result.message += line;
    }
    if (lines.empty()) result.message = "No duplicate channels found.";
    const WriteResult written = WriteDuplicateReport(folder, lines);
    if (!written) {
        result.message += "\n\nThe report could not be written to " +
                          (folder / std::string(kDuplicateReportName)).string() + ": " +
                          written.error;
    }
    return result;
}

CommandResult TableEditor::RemoveDuplicateChannels() {
    return ChangeTable("Remove duplicate channels",
                       [&] { return RemoveDuplicates(image_, currentBank_); });
}

CommandResult TableEditor::Sort(Selection selection, SortOrder order, const Asker& ask) {
    CommandResult result;
    if (!Begin([&] { return SortQuestion(image_, currentBank_, options_); }, ask, result)) {
        return result;
    }
    result.changed = SortBank(image_, currentBank_, selection, order);
    return Finish(result, order == SortOrder::Ascending ? "Sort ascending" : "Sort descending");
}

CommandResult TableEditor::CheckDataInTable() {
    return ChangeTable("Check data in table", [&] {
        const Image before = image_;
        NormaliseTable(image_, options_);
        return !(image_ == before);
    });
}

CommandResult TableEditor::CheckBandplan(DuplicateScope scope) {
    std::vector<BandplanChange> changes;
    CommandResult result = ApplyImageChange("Check Table using Bandplan", [&](Image& image) {
        const bool all = scope == DuplicateScope::AllBanks;
        changes = vex::CheckBandplan(image, all ? 0 : currentBank_,
                                     all ? kBankCount - 1 : currentBank_, options_);
        return !changes.empty();
    });
    if (!result.cancelled) result.message = BandplanReport(changes);
    return result;
}

// --- Backup ---

std::optional<BackupOutcome> TableEditor::BackupTick(const std::filesystem::path& programFolder,
                                                     std::string_view date, std::string_view time,
                                                     bool trunkWindowOpen,
                                                     bool virtualControlRunning) {
    if (!backup_.Tick(options_, trunkWindowOpen, virtualControlRunning)) return std::nullopt;
    const GridResult stored = Store();
    if (!stored) {
        // Never write a backup of a table the grid could not be stored into.
        BackupOutcome outcome;
        outcome.error = stored.message;
        return outcome;
    }
    return WriteBackup(image_, options_, programFolder, BackupFileName(date, time));
}

}  // namespace vex
