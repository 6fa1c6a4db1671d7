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

    Image& image() { return d_image; }
    const Image& image() const { return d_image; }
    const Options& options() const { return d_options; }
    const DefaultData& defaults() const { return d_defaults; }
    int currentBank() const { return d_currentBank; }
    const GridBank& grid() const { return d_grid; }
    const EasyTagLists& tags() const { return d_tags; }
    EasyTagLists& tags() { return d_tags; }
    const UndoHistory& history() const { return d_history; }
    // The modified flag follows the history: undoing back to the saved state clears it.
    bool modified() const { return d_history.modified(); }
    // false: the image as it is now is the saved one; true: it differs from any file.
    void setModified(bool modified);

    // --- Grid transfer ---
    // StoreGrid for the current bank: only the rows edited in the grid since it was shown are
    // stored. When the image's bank was changed behind the grid since then, the other rows
    // show the image again.
    GridResult store();
    GridResult show();  // ShowBank for the current bank
    // save_undo: store(); a change of the image not yet in the history becomes a step of its own.
    GridResult saveUndo();
    // Tab selection: save_undo on the old bank, then show the new one (capped at the Dummy bank).
    GridResult selectBank(int bank);
    // Takes back the last step (makes the next one again), whichever bank it was made in; the
    // grid then shows that bank. False when there is nothing to undo (redo).
    bool undo();
    bool redo();
    // Empties the easy-tag lists and starts a new history (File New, reading a MEM file) and
    // shows the current bank again. The modified flag stays as it is.
    void resetAfterNewImage();
    // Empties the easy-tag lists only (the image was replaced as one step).
    void resetTagLists() { d_tags.clear(); }

    // --- Cell entry ---
    // Enter pressed with `typed` in the edit box over selection.current*: the entry rules of
    // the current cell's column, written into every selected cell of that column. Returns what
    // the user should be told when the rules stored something else than was typed.
    std::string enterText(Selection selection, std::string_view typed);
    // A key in a flag cell (0/F/1/N/space) for every selected cell of that flag column; false
    // when the key is not a flag key or the current cell is no flag cell.
    bool flagKey(Selection selection, char key);
    // Double click on a flag cell.
    bool toggleFlag(int row, int field);

    // --- Table commands ---
    CommandResult clearSelectedLines(Selection selection, const Asker& ask);
    CommandResult insertEmptyLine(Selection selection, const Asker& ask);
    CommandResult removeAllEmptyLines();
    CommandResult removeSelectedLines(Selection selection, const Asker& ask);
    CommandResult shiftChannelUp(Selection selection);
    CommandResult shiftChannelDown(Selection selection);
    CommandResult deleteCells(Selection selection);
    CommandResult clearCurrentBank(const Asker& ask);
    CommandResult cutLines(Selection selection);
    CommandResult copyLines(Selection selection);
    // From the current row on; full channels (comments too) when `clipboard` is what the last
    // Cut/Copy Line(s) produced, otherwise the text is taken as typed cells.
    CommandResult pasteLines(Selection selection, std::string_view clipboard);
    CommandResult cutCells(Selection selection);
    CommandResult copyCells(Selection selection);
    CommandResult pasteCells(Selection selection, std::string_view clipboard);
    CommandResult fillDown(Selection selection);
    CommandResult fillSeries(Selection selection);
    CommandResult centerMemoryTags();
    CommandResult removeLeadingSpaces();
    CommandResult bankEmptyStatus();  // message = the report
    // Writes dupl.txt in `folder`; message = the report lines (or that none were found).
    CommandResult findDuplicateChannels(DuplicateScope scope, const std::filesystem::path& folder);
    CommandResult removeDuplicateChannels();
    CommandResult sort(Selection selection, SortOrder order, const Asker& ask);
    // "Check Data In Table": normalisation of the whole table as one step.
    CommandResult checkDataInTable();
    // "Check Table using Bandplan" on the current bank or all banks; message = the report.
    CommandResult checkBandplan(DuplicateScope scope);

    // The one way for another window (imports, tools, trunk windows) to change the image: the
    // grid is stored first, `change` edits the image and says whether it changed anything, and
    // the current bank is shown again. `stepName` names the step for the undo history.
    CommandResult applyImageChange(std::string_view stepName,
                                   const std::function<bool(Image&)>& change);

    // --- Automatic backup: one minute tick. Stores the grid and writes the backup when due;
    // never writes when the grid could not be stored. The modified flag is left as it is: a
    // backup is not the user's file.
    std::optional<BackupOutcome> backupTick(const std::filesystem::path& programFolder,
                                            std::string_view date, std::string_view time,
                                            bool trunkWindowOpen, bool virtualControlRunning);
    const BackupCounter& backupCounter() const { return d_backup; }

  private:
    // Store, ask (when `question` gives one; it looks at the stored table), snapshot: false
    // when the command must not go on.
    using QuestionFn = std::function<std::optional<Question>()>;
    bool begin(const QuestionFn& question, const Asker& ask, CommandResult& result);
    // Show the bank and record the command's step.
    CommandResult& finish(CommandResult& result, std::string_view stepName);
    // The plain command shapes: Begin, change the table (or the grid, which is then stored),
    // Finish. `change` returns whether anything changed.
    CommandResult changeTable(std::string_view stepName, const std::function<bool()>& change);
    CommandResult changeGrid(std::string_view stepName, const std::function<bool()>& change);
    // A change made without the history (a window writing into the image) becomes a step of
    // its own, named after the step under way when there is one.
    void recordOutsideChanges();
    // The same for the current bank's channels only, before a typed entry.
    void recordOutsideChannelChanges();
    // Stores the grid after a typed entry or a flag key and records it.
    void recordGridEdit(Selection selection);
    // Stores the grid for a command that only reads the table; false (with the refusal in
    // `result`) when it could not be stored.
    bool storeForReading(CommandResult& result);
    CommandResult shiftCurrentChannel(Selection selection, ShiftDirection direction);
    std::string applyEntryToCell(int row, int field, std::string_view typed);
    // The grid and the bank are in step again (after a show or a store).
    void markSynced();
    // The image's bank changed behind the grid (another window, a read): the rows the user has
    // not edited since are taken from the image, so a stale grid is never stored over it.
    void takeImageUnderGrid();

    Image& d_image;
    Options& d_options;
    DefaultData& d_defaults;
    int d_currentBank = 0;
    GridBank d_grid;
    GridBank d_shown;   // the grid as last shown or stored: rows differing from it were edited
    Bank d_syncedBank;  // the current bank as the grid last showed or stored it
    UndoHistory d_history;
    std::vector<std::string> d_stepsUnderWay;  // applyImageChange calls, outermost first
    EasyTagLists d_tags;
    BackupCounter d_backup;
    struct LineClipboard {
        std::string text;
        std::vector<Channel> channels;
    } d_lineClipboard;
};

}  // namespace vex
