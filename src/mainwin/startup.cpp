#include "mainwin/startup.h"

#include "settings/setup_ini.h"

namespace vex {

StartupOutcome LoadStartupState(const std::filesystem::path& folder, AppState& state) {
    state.folder = folder;
    FileNotes& notes = state.startupNotes;
    notes.clear();
    state.options = ReadSetupIni(folder, &notes);
    const ComReadResult com = ReadComSettings(folder, &notes);
    state.com = com.settings;
    if (!com.portValid) return {false, com.message};

    ClearForStartup(state.image);
    SetStartupBankTags(state.image);
    if (state.options.remtags == 1) ReadBankTags(folder, state.image.BankTag, &notes);
    if (state.options.remtrunk == 1) ReadTrunkTypes(folder, state.image.TrunkType, &notes);
    state.defaults = ReadDefaultData(folder, &notes);
    state.columnWidths = ReadColumnWidths(folder, &notes);
    // The window reads window.dat itself; looked at here only to tell about a file it cannot use.
    if (state.options.window == 1) (void)ReadWindowPlacement(folder, &notes);
    return {true, {}};
}

FileNotes WriteStateAtExit(const AppState& state, const ExitState& exitState) {
    const auto& folder = state.folder;
    FileNotes failed;
    const auto check = [&](std::string_view name, const WriteResult& written) {
        if (!written) failed.push_back({folder / std::string(name), written.error});
    };
    check(kNamesDatName, WriteBankTags(folder, state.image.BankTag));
    check(kTrunkTypeName, WriteTrunkTypes(folder, state.image.TrunkType));
    check(kSetupIniName, WriteSetupIni(state.options, folder));
    check(kDefDataName, WriteDefaultData(folder, state.defaults));
    if (state.options.window == 1 && exitState.placement)
        check(kWindowDatName, SaveWindowPlacement(folder, *exitState.placement));
    // Ten numbers: the grid's own columns first, then what the file held for the others.
    std::vector<int> widths = exitState.columnWidths;
    for (std::size_t i = widths.size(); i < static_cast<std::size_t>(kColumnWidthCount); ++i)
        widths.push_back(i < state.columnWidths.size() ? state.columnWidths[i] : 1000);
    check(kTabWidthName, SaveColumnWidths(folder, widths));
    return failed;
}

std::string DescribeFileNotes(std::string_view intro, const FileNotes& notes) {
    std::string text(intro);
    text += "\n";
    for (const FileNote& note : notes) text += "\n" + note.file.string() + ": " + note.reason;
    return text;
}

}  // namespace vex
