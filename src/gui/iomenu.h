// The main window's import and export commands: each opens its window over the image (or, for
// the CSV channel file, just the file dialog) and brings an import in as one step.
#pragma once

#include <QString>

#include "io/import_plan.h"

namespace vex::gui {

class MemTab;

void OpenCsvExport(MemTab& main);        // expcsv_Click
void OpenDataImport(MemTab& main);       // imp_csv_Click
void OpenNetscoop(MemTab& main);         // catch_Click
void OpenCsvMapper(MemTab& main);        // imp_csv2_Click
void OpenIcfImport(MemTab& main);        // impadv_Click
void OpenSiblingChannels(MemTab& main);  // imp_ic2_Click
void OpenSiblingTrunkIds(MemTab& main);  // imp_trtags_Click
void ImportCsvChannels(MemTab& main);    // the CSV channel file

// Applies a plan to the image as one step named `step`: the main window first shows `showBank`
// (so that Undo there takes the import back), then tells the plan's notes. False when the grid
// could not be stored.
bool ApplyPlan(MemTab& main, const QString& step, const ImportPlan& plan, int showBank);

}  // namespace vex::gui
