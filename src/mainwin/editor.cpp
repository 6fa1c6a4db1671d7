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
    : d_image(image), d_options(options), d_defaults(defaults), d_history(image) {
    show();
}

void TableEditor::setModified(bool modified) {
    recordOutsideChanges();
    if (modified) {
        d_history.markModified();
    } else {
        d_history.markSaved();
    }
}

// --- Grid transfer ---

void TableEditor::markSynced() {
    d_syncedBank = d_image.ChannelTable[d_currentBank];
    d_shown = d_grid;
}

void TableEditor::takeImageUnderGrid() {
    // The rows not edited in the grid since it was shown show the image again, as shown.
    GridBank fresh;
    ShowBank(d_image, d_currentBank, d_options, fresh, &d_tags);
    const GridBank shownNow = fresh;
    for (int row = 1; row <= ChannelsPerBank; ++row) {
        if (d_grid.cells[row] != d_shown.cells[row]) fresh.cells[row] = d_grid.cells[row];
    }
    d_grid = fresh;
    d_shown = shownNow;
    d_syncedBank = d_image.ChannelTable[d_currentBank];
}

GridResult TableEditor::store() {
    if (!IsGridBank(d_currentBank))
        return StoreGrid(d_grid, d_image, d_currentBank, d_options, &d_tags);
    if (d_image.ChannelTable[d_currentBank] != d_syncedBank) takeImageUnderGrid();
    // Only the rows edited since the bank was shown are written: storing a row as shown would
    // rewrite its form (the blank flags of an empty channel, leading zeros) and make an
    // unchanged image look edited.
    GridRows edited{};
    bool any = false;
    for (int row = 1; row <= ChannelsPerBank; ++row) {
        edited[row] = d_grid.cells[row] != d_shown.cells[row];
        any = any || edited[row];
    }
    if (!any) return {};
    const GridResult stored =
        StoreGrid(d_grid, d_image, d_currentBank, d_options, &d_tags, &edited);
    if (stored) {
        for (int row = 1; row <= ChannelsPerBank; ++row)
            if (edited[row]) d_shown.cells[row] = d_grid.cells[row];
        d_syncedBank = d_image.ChannelTable[d_currentBank];
    }
    return stored;
}

GridResult TableEditor::show() {
    const GridResult shown = ShowBank(d_image, d_currentBank, d_options, d_grid, &d_tags);
    if (shown) markSynced();
    return shown;
}

GridResult TableEditor::saveUndo() {
    GridResult stored = store();
    if (stored) recordOutsideChanges();
    return stored;
}

void TableEditor::recordOutsideChanges() {
    d_history.record(d_stepsUnderWay.empty() ? kOtherChanges : d_stepsUnderWay.back(),
                     d_currentBank, d_image);
}

void TableEditor::recordOutsideChannelChanges() {
    d_history.recordChannels(d_stepsUnderWay.empty() ? kOtherChanges : d_stepsUnderWay.back(),
                             d_currentBank, d_image);
}

GridResult TableEditor::selectBank(int bank) {
    if (bank < 0) return {false, std::string(kShowBankError)};
    GridResult stored = saveUndo();
    if (!stored) return stored;
    d_grid.clear();
    d_currentBank = std::min(bank, kDummyBank);
    return show();
}

bool TableEditor::undo() {
    if (!saveUndo()) return false;
    const std::optional<int> bank = d_history.undo(d_image);
    if (!bank) return false;
    // The user sees what was taken back.
    if (IsGridBank(*bank)) d_currentBank = *bank;
    show();
    return true;
}

bool TableEditor::redo() {
    if (!saveUndo()) return false;
    const std::optional<int> bank = d_history.redo(d_image);
    if (!bank) return false;
    if (IsGridBank(*bank)) d_currentBank = *bank;
    show();
    return true;
}

void TableEditor::resetAfterNewImage() {
    d_tags.clear();
    // Steps of the previous image would put its channels into the new one.
    d_history.reset(d_image, d_history.modified());
    show();
}

// --- Cell entry ---

std::string TableEditor::applyEntryToCell(int row, int field, std::string_view typed) {
    switch (field) {
        case kGridFrequency: {
            FrequencyEntry entry = EnterFrequency(typed, d_options, d_defaults);
            d_grid.cell(row, field) = entry.text;
            for (int i = 0; i < 3; ++i) {
                if (entry.flags[i]) d_grid.cell(row, kGridTrunk + i) = *entry.flags[i];
            }
            return std::move(entry.note);
        }
        case kGridTag:
            d_grid.cell(row, field) = EnterTag(typed);
            if (d_options.option9() == 1) d_tags.offer(d_currentBank, d_grid.cell(row, field));
            break;
        default:
            d_grid.cell(row, field) = FlagCellFromText(typed);
            break;
    }
    return {};
}

std::string TableEditor::enterText(Selection selection, std::string_view typed) {
    selection = selection.normalised();
    const int field = selection.currentField;
    const bool inSelection = field >= selection.firstField && field <= selection.lastField &&
                             selection.currentRow >= selection.firstRow &&
                             selection.currentRow <= selection.lastRow;
    // The typed value fills the selected cells of the edited column only: a frequency typed
    // into a tag or flag cell would be nonsense there.
    const int first = inSelection ? selection.firstRow : selection.currentRow;
    const int last = inSelection ? selection.lastRow : selection.currentRow;
    recordOutsideChannelChanges();
    std::string note;
    for (int row = first; row <= last; ++row) note = applyEntryToCell(row, field, typed);
    recordGridEdit(Selection::rows(first, last));
    return note;
}

void TableEditor::recordGridEdit(Selection rows) {
    if (!store()) return;
    d_history.recordChannels(EditChannelsStepName(AbsoluteChannel(d_currentBank, rows.firstRow),
                                                  AbsoluteChannel(d_currentBank, rows.lastRow)),
                             d_currentBank, d_image);
}

bool TableEditor::flagKey(Selection selection, char key) {
    selection = selection.normalised();
    const int field = selection.currentField;
    if (field < kGridTrunk || field > kGridLockout) return false;
    const auto value = FlagCellForKey(key, d_grid.cell(selection.currentRow, field));
    if (!value) return false;
    const bool inSelection = field >= selection.firstField && field <= selection.lastField &&
                             selection.currentRow >= selection.firstRow &&
                             selection.currentRow <= selection.lastRow;
    const int first = inSelection ? selection.firstRow : selection.currentRow;
    const int last = inSelection ? selection.lastRow : selection.currentRow;
    recordOutsideChannelChanges();
    for (int row = first; row <= last; ++row) d_grid.cell(row, field) = *value;
    recordGridEdit(Selection::rows(first, last));
    return true;
}

bool TableEditor::toggleFlag(int row, int field) {
    if (row < 1 || row > ChannelsPerBank || field < kGridTrunk || field > kGridLockout) {
        return false;
    }
    recordOutsideChannelChanges();
    d_grid.cell(row, field) = ToggleFlagCell(d_grid.cell(row, field));
    recordGridEdit(Selection::rows(row, row));
    return true;
}

// --- Command frame ---

bool TableEditor::begin(const QuestionFn& question, const Asker& ask, CommandResult& result) {
    const GridResult stored = store();
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
            show();
            return false;
        }
    }
    recordOutsideChanges();
    return true;
}

CommandResult& TableEditor::finish(CommandResult& result, std::string_view stepName) {
    show();
    d_history.record(stepName, d_currentBank, d_image);
    return result;
}

CommandResult TableEditor::changeTable(std::string_view stepName,
                                       const std::function<bool()>& change) {
    CommandResult result;
    if (!begin({}, {}, result)) return result;
    result.changed = change();
    return finish(result, stepName);
}

CommandResult TableEditor::changeGrid(std::string_view stepName,
                                      const std::function<bool()>& change) {
    CommandResult result;
    if (!begin({}, {}, result)) return result;
    result.changed = change();
    store();
    return finish(result, stepName);
}

CommandResult TableEditor::applyImageChange(std::string_view stepName,
                                            const std::function<bool(Image&)>& change) {
    CommandResult result;
    if (!begin({}, {}, result)) return result;
    // A window opened by `change` may make steps of its own; what it changes besides goes
    // under this step's name.
    d_stepsUnderWay.emplace_back(stepName);
    result.changed = change(d_image);
    d_stepsUnderWay.pop_back();
    return finish(result, stepName);
}

bool TableEditor::storeForReading(CommandResult& result) {
    const GridResult stored = store();
    if (stored) return true;
    result.cancelled = true;
    result.message = stored.message;
    return false;
}

// --- Line and bank commands ---

CommandResult TableEditor::clearSelectedLines(Selection selection, const Asker& ask) {
    CommandResult result;
    selection = selection.normalised();
    if (!begin([&] { return ClearLinesQuestion(d_options); }, ask, result)) return result;
    result.changed = ClearLines(d_image, d_currentBank, selection.firstRow, selection.lastRow);
    return finish(result, "Clear selected lines");
}

CommandResult TableEditor::insertEmptyLine(Selection selection, const Asker& ask) {
    CommandResult result;
    selection = selection.normalised();
    if (!begin([&] { return InsertLineQuestion(d_image, d_currentBank); }, ask, result)) {
        return result;
    }
    result.changed = vex::InsertEmptyLine(d_image, d_currentBank, selection.currentRow);
    return finish(result, "Insert empty line");
}

CommandResult TableEditor::removeAllEmptyLines() {
    return changeTable("Remove all empty lines",
                       [&] { return RemoveEmptyLines(d_image, d_currentBank); });
}

CommandResult TableEditor::removeSelectedLines(Selection selection, const Asker& ask) {
    CommandResult result;
    selection = selection.normalised();
    if (!begin([&] { return RemoveLinesQuestion(d_options); }, ask, result)) return result;
    result.changed = RemoveLines(d_image, d_currentBank, selection.firstRow, selection.lastRow);
    return finish(result, "Remove selected lines");
}

CommandResult TableEditor::shiftChannelUp(Selection selection) {
    return shiftCurrentChannel(selection, ShiftDirection::Up);
}

CommandResult TableEditor::shiftChannelDown(Selection selection) {
    return shiftCurrentChannel(selection, ShiftDirection::Down);
}

// The selection follows the moved channel so that repeated shifts keep moving it.
CommandResult TableEditor::shiftCurrentChannel(Selection selection, ShiftDirection direction) {
    CommandResult result;
    selection = selection.normalised();
    if (!begin({}, {}, result)) return result;
    const int row = selection.currentRow;
    const int moved = ShiftChannel(d_image, d_currentBank, row, direction);
    result.changed = moved != row;
    if (result.changed) {
        selection.firstRow = selection.lastRow = selection.currentRow = moved;
        result.selection = selection;
    }
    return finish(result,
                  direction == ShiftDirection::Up ? "Shift channel up" : "Shift channel down");
}

CommandResult TableEditor::clearCurrentBank(const Asker& ask) {
    CommandResult result;
    if (!begin([] { return std::optional<Question>(ClearBankQuestion()); }, ask, result))
        return result;
    result.changed = ClearBank(d_image, d_currentBank);
    // The modified flag follows the history: clearing it would let unsaved edits in the other
    // banks go without the "Save data?" question at exit.
    return finish(result, ClearBankStepName(d_currentBank));
}

// --- Cell commands ---

CommandResult TableEditor::deleteCells(Selection selection) {
    return changeGrid("Delete", [&] { return vex::DeleteCells(d_grid, selection); });
}

CommandResult TableEditor::copyCells(Selection selection) {
    CommandResult result;
    result.clipboard = vex::CopyCells(d_grid, selection);
    return result;
}

CommandResult TableEditor::cutCells(Selection selection) {
    CommandResult result;
    if (!begin({}, {}, result)) return result;
    result.clipboard = vex::CopyCells(d_grid, selection);
    result.changed = vex::DeleteCells(d_grid, selection);
    store();
    return finish(result, "Cut");
}

CommandResult TableEditor::pasteCells(Selection selection, std::string_view clipboard) {
    CommandResult result;
    selection = selection.normalised();
    if (!begin({}, {}, result)) return result;
    const GridBank before = d_grid;
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
            applyEntryToCell(row, field, line.substr(0, cellEnd));
            if (cellEnd == line.size()) break;
            line.remove_prefix(cellEnd + 1);
        }
    }
    result.message = PasteLeftOutMessage(cells, rows, selection.firstField);
    result.changed = d_grid != before;
    store();
    return finish(result, "Paste");
}

CommandResult TableEditor::copyLines(Selection selection) {
    CommandResult result;
    selection = selection.normalised();
    // The table must be current: the clipboard keeps the whole channels, comments included.
    const GridResult stored = store();
    if (!stored) {
        result.cancelled = true;
        result.message = stored.message;
        return result;
    }
    result.clipboard = vex::CopyLines(d_grid, selection);
    d_lineClipboard.text = result.clipboard;
    d_lineClipboard.channels.clear();
    for (int row = selection.firstRow; row <= selection.lastRow; ++row) {
        d_lineClipboard.channels.push_back(d_image.channel(d_currentBank, row));
    }
    return result;
}

CommandResult TableEditor::cutLines(Selection selection) {
    CommandResult result = copyLines(selection);
    if (result.cancelled) return result;
    selection = selection.normalised();
    recordOutsideChanges();
    result.changed = ClearLines(d_image, d_currentBank, selection.firstRow, selection.lastRow);
    return finish(result, "Cut lines");
}

CommandResult TableEditor::pasteLines(Selection selection, std::string_view clipboard) {
    CommandResult result;
    selection = selection.normalised();
    if (!begin({}, {}, result)) return result;
    const int row = selection.currentRow;
    if (!clipboard.empty() && clipboard == d_lineClipboard.text) {
        const Bank before = d_image.ChannelTable[d_currentBank];
        int slot = row;
        for (const Channel& channel : d_lineClipboard.channels) {
            if (slot > ChannelsPerBank) break;
            Channel& target = d_image.channel(d_currentBank, slot++);
            for (int field = kFieldFrequency; field < kFieldsPerChannel; ++field) {
                target[field] = channel[field];
            }
        }
        result.changed = d_image.ChannelTable[d_currentBank] != before;
    } else {
        const GridBank before = d_grid;
        vex::PasteCells(d_grid, row, kGridFrequency, clipboard, d_options);
        result.changed = d_grid != before;
        store();
    }
    return finish(result, "Paste lines");
}

CommandResult TableEditor::fillDown(Selection selection) {
    return changeGrid("Fill down", [&] { return vex::FillDown(d_grid, selection); });
}

CommandResult TableEditor::fillSeries(Selection selection) {
    CommandResult result;
    if (!begin({}, {}, result)) return result;
    const GridBank before = d_grid;
    switch (vex::FillSeries(d_grid, selection)) {
        case FillSeriesOutcome::Filled:
            break;
        case FillSeriesOutcome::NotTagColumn:
            result.message = std::string(kFillSeriesNeedsTagColumn);
            break;
        case FillSeriesOutcome::NoNumber:
            result.message = std::string(kFillSeriesNeedsNumber);
            break;
    }
    result.changed = d_grid != before;
    store();
    return finish(result, "Fill series");
}

CommandResult TableEditor::centerMemoryTags() {
    return changeTable("Center memory tags", [&] { return CenterTags(d_image, d_currentBank); });
}

CommandResult TableEditor::removeLeadingSpaces() {
    return changeTable("Remove leading spaces",
                       [&] { return vex::RemoveLeadingSpaces(d_image, d_currentBank); });
}

CommandResult TableEditor::bankEmptyStatus() {
    CommandResult result;
    if (!storeForReading(result)) return result;
    result.message = BankEmptyStatusText(d_image);
    return result;
}

CommandResult TableEditor::findDuplicateChannels(DuplicateScope scope,
                                                 const std::filesystem::path& folder) {
    CommandResult result;
    if (!storeForReading(result)) return result;
    const std::vector<std::string> lines = FindDuplicates(d_image, d_currentBank, scope);
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

CommandResult TableEditor::removeDuplicateChannels() {
    return changeTable("Remove duplicate channels",
                       [&] { return RemoveDuplicates(d_image, d_currentBank); });
}

CommandResult TableEditor::sort(Selection selection, SortOrder order, const Asker& ask) {
    CommandResult result;
    if (!begin([&] { return SortQuestion(d_image, d_currentBank, d_options); }, ask, result)) {
        return result;
    }
    result.changed = SortBank(d_image, d_currentBank, selection, order);
    return finish(result, order == SortOrder::Ascending ? "Sort ascending" : "Sort descending");
}

CommandResult TableEditor::checkDataInTable() {
    return changeTable("Check data in table", [&] {
        const Image before = d_image;
        NormaliseTable(d_image, d_options);
        return !(d_image == before);
    });
}

CommandResult TableEditor::checkBandplan(DuplicateScope scope) {
    std::vector<BandplanChange> changes;
    CommandResult result = applyImageChange("Check Table using Bandplan", [&](Image& image) {
        const bool all = scope == DuplicateScope::AllBanks;
        changes = vex::CheckBandplan(image, all ? 0 : d_currentBank,
                                     all ? kBankCount - 1 : d_currentBank, d_options);
        return !changes.empty();
    });
    if (!result.cancelled) result.message = BandplanReport(changes);
    return result;
}

// --- Backup ---

std::optional<BackupOutcome> TableEditor::backupTick(const std::filesystem::path& programFolder,
                                                     std::string_view date, std::string_view time,
                                                     bool trunkWindowOpen,
                                                     bool virtualControlRunning) {
    if (!d_backup.tick(d_options, trunkWindowOpen, virtualControlRunning)) return std::nullopt;
    const GridResult stored = store();
    if (!stored) {
        // Never write a backup of a table the grid could not be stored into.
        BackupOutcome outcome;
        outcome.error = stored.message;
        return outcome;
    }
    return WriteBackup(d_image, d_options, programFolder, BackupFileName(date, time));
}

}  // namespace vex
