#include "gui/startup.h"

#include "settings/setup_ini.h"

namespace vex::gui {

StartupOutcome LoadStartupState(const std::filesystem::path& folder, AppState& state) {
    state.folder = folder;
    state.options = ReadSetupIni(folder);
    const ComReadResult com = ReadComSettings(folder);
    state.com = com.settings;
    if (!com.portValid) return {false, com.message};

    ClearForStartup(state.image);
    SetStartupBankTags(state.image);
    if (state.options.remtags == 1) ReadBankTags(folder, state.image.BankTag);
    if (state.options.remtrunk == 1) ReadTrunkTypes(folder, state.image.TrunkType);
    state.defaults = ReadDefaultData(folder);
    state.columnWidths = ReadColumnWidths(folder);
    return {true, {}};
}

void WriteStateAtExit(const AppState& state, const ExitState& exitState) {
    const auto& folder = state.folder;
    WriteBankTags(folder, state.image.BankTag);
    WriteTrunkTypes(folder, state.image.TrunkType);
    WriteSetupIni(state.options, folder);
    WriteDefaultData(folder, state.defaults);
    if (state.options.window == 1 && exitState.placement)
        SaveWindowPlacement(folder, *exitState.placement);
    // Ten numbers: the grid's own columns first, then what the file held for the others.
    std::vector<int> widths = exitState.columnWidths;
    for (std::size_t i = widths.size(); i < static_cast<std::size_t>(kColumnWidthCount); ++i)
        widths.push_back(i < state.columnWidths.size() ? state.columnWidths[i] : 1000);
    SaveColumnWidths(folder, widths);
}

}  // namespace vex::gui
