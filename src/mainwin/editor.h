// The main window's editing logic in one place, free of any toolkit: the grid of the current
// bank, the undo history, the easy-tag lists, the modified flag, and every table command
// done the way the window does it (store the grid, ask, change, record the step, show the bank).
// The window only displays grid() and forwards keys, clicks and menu commands here.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "mainwin/backup.h"
#include "mainwin/cellentry.h"
#include "mainwin/easytags.h"
#include "mainwin/grid.h"
#include "mainwin/tablecmds.h"
#include "mainwin/undo.h"
#include "settings/options.h"

namespace vex {

// Shows a question and returns true for Yes / OK.
using Asker = std::function<bool(const Question&)>;

struct CommandResult {
    bool changed = false;    // the table or the grid changed
    bool cancelled = false;  // a question was answered No / Cancel, or the grid could not be stored
    std::string message;     // a text to show (refusal or report); empty when none
    std::string clipboard;   // the text to put on the clipboard (copy and cut)
    std::optional<Selection> selection;  // where the selection goes afterwards, when it moves
};

class TableEditor {
  public:
    TableEditor(Image& image, Options& options, DefaultData& defaults);

    Image& image() { return image_; }
    const Image& image() const { return image_; }
    const Options& options() const { return options_; }
    const DefaultData& defaults() const { return defaults_; }
    int currentBank() const { return currentBank_; }
    const GridBank& grid() const { return grid_; }
    const EasyTagLists& tags() const { return tags_; }
    EasyTagLists& tags() { return tags_; }
    const UndoHistory& history() const { return history_; }
    // The modified flag follows the history: undoing back to the saved state clears it.
    bool modified() const { return history_.modified(); }
    // false: the image as it is now is the saved one; true: it differs from any file.
    void setModified(bool modified);

    // --- Grid transfer ---
    // StoreGrid for the current bank: only the rows edited in the grid since it was shown are
    // stored. When the image's bank was changed behind the grid since then, the other rows
    // show the image again.
    GridResult Store();
    GridResult Show();  // ShowBank for the current bank
    // save_undo: Store; a change of the image not yet in the history becomes a step of its own.
    GridResult SaveUndo();
    // Tab selection: save_undo on the old bank, then show the new one (capped at the Dummy bank).
    GridResult SelectBank(int bank);
    // Takes back the last step (makes the next one again), whichever bank it was made in; the
    // grid then shows that bank. False when there is nothing to undo (redo).
    bool Undo();
    bool Redo();
    // Empties the easy-tag lists and starts a new history (File New, reading a MEM file) and
    // shows the current bank again. The modified flag stays as it is.
    void ResetAfterNewImage();
    // Empties the easy-tag lists only (the image was replaced as one step).
    void ResetTagLists() { tags_.Clear(); }

    // --- Cell entry ---
    // Enter pressed with `typed` in the edit box over selection.current*: the entry rules of
    // the current cell's column, written into every selected cell of that column. Returns what
    // the user should be told when the rules stored something else than was typed.
    std::string EnterText(Selection selection, std::string_view typed);
    // A key in a flag cell (0/F/1/N/space) for every selected cell of that flag column; false
    // when the key is not a flag key or the current cell is no flag cell.
    bool FlagKey(Selection selection, char key);
    // Double click on a flag cell.
    bool ToggleFlag(int row, int field);

    // --- Table commands ---
    CommandResult ClearSelectedLines(Selection selection, const Asker& ask);
    CommandResult InsertEmptyLine(Selection selection, const Asker& ask);
    CommandResult RemoveAllEmptyLines();
    CommandResult RemoveSelectedLines(Selection selection, const Asker& ask);
    CommandResult ShiftChannelUp(Selection selection);
    CommandResult ShiftChannelDown(Selection selection);
    CommandResult DeleteCells(Selection selection);
    CommandResult ClearCurrentBank(const Asker& ask);
    CommandResult CutLines(Selection selection);
    CommandResult CopyLines(Selection selection);
    // From the current row on; full channels (comments too) when `clipboard` is what the last
    // Cut/Copy Line(s) produced, otherwise the text is taken as typed cells.
    CommandResult PasteLines(Selection selection, std::string_view clipboard);
    CommandResult CutCells(Selection selection);
    CommandResult CopyCells(Selection selection);
    CommandResult PasteCells(Selection selection, std::string_view clipboard);
    CommandResult FillDown(Selection selection);
    CommandResult FillSeries(Selection selection);
    CommandResult CenterMemoryTags();
    CommandResult RemoveLeadingSpaces();
    CommandResult BankEmptyStatus();  // message = the report
    // Writes dupl.txt in `folder`; message = the report lines (or that none were found).
    CommandResult FindDuplicateChannels(DuplicateScope scope, const std::filesystem::path& folder);
    CommandResult RemoveDuplicateChannels();
    CommandResult Sort(Selection selection, SortOrder order, const Asker& ask);
    // "Check Data In Table": normalisation of the whole table as one step.
    CommandResult CheckDataInTable();
    // "Check Table using Bandplan" on the current bank or all banks; message = the report.
    CommandResult CheckBandplan(DuplicateScope scope);

    // The one way for another window (imports, tools, trunk windows) to change the image: the
    // grid is stored first, `change` edits the image and says whether it changed anything, and
    // the current bank is shown again. `stepName` names the step for the undo history.
    CommandResult ApplyImageChange(std::string_view stepName,
                                   const std::function<bool(Image&)>& change);

    // --- Automatic backup: one minute tick. Stores the grid and writes the backup when due;
    // never writes when the grid could not be stored. The modified flag is left as it is: a
    // backup is not the user's file.
    std::optional<BackupOutcome> BackupTick(const std::filesystem::path& programFolder,
                                            std::string_view date, std::string_view time,
                                            bool trunkWindowOpen, bool virtualControlRunning);
    const BackupCounter& backupCounter() const { return backup_; }

  private:
    // Store, ask (when `question` gives one; it looks at the stored table), snapshot: false
    // when the command must not go on.
    using QuestionFn = std::function<std::optional<Question>()>;
    bool Begin(const QuestionFn& question, const Asker& ask, CommandResult& result);
    // Show the bank and record the command's step.
    CommandResult& Finish(CommandResult& result, std::string_view stepName);
    // The plain command shapes: Begin, change the table (or the grid, which is then stored),
    // Finish. `change` returns whether anything changed.
    CommandResult ChangeTable(std::string_view stepName, const std::function<bool()>& change);
    CommandResult ChangeGrid(std::string_view stepName, const std::function<bool()>& change);
    // A change made without the history (a window writing into the image) becomes a step of
    // its own, named after the step under way when there is one.
    void RecordOutsideChanges();
    // The same for the current bank's channels only, before a typed entry.
    void RecordOutsideChannelChanges();
    // Stores the grid after a typed entry or a flag key and records it.
    void RecordGridEdit(Selection selection);
    // Stores the grid for a command that only reads the table; false (with the refusal in
    // `result`) when it could not be stored.
    bool StoreForReading(CommandResult& result);
    CommandResult ShiftCurrentChannel(Selection selection, ShiftDirection direction);
    std::string ApplyEntryToCell(int row, int field, std::string_view typed);
    // The grid and the bank are in step again (after a show or a store).
    void MarkSynced();
    // The image's bank changed behind the grid (another window, a read): the rows the user has
    // not edited since are taken from the image, so a stale grid is never stored over it.
    void TakeImageUnderGrid();

    Image& image_;
    Options& options_;
    DefaultData& defaults_;
    int currentBank_ = 0;
    GridBank grid_;
    GridBank shown_;  // the grid as last shown or stored: rows differing from it were edited
    Bank syncedBank_;  // the current bank as the grid last showed or stored it
    UndoHistory history_;
    std::vector<std::string> stepsUnderWay_;  // ApplyImageChange calls, outermost first
    EasyTagLists tags_;
    BackupCounter backup_;
    struct LineClipboard {
        std::string text;
        std::vector<Channel> channels;
    } lineClipboard_;
};

}  // namespace vex
