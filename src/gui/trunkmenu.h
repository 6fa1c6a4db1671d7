// The main window's Trunk menu: "&ID List" opens the trunk ID window, "&System Settings" the
// trunk settings window, both modal on the image with the grid stored before and shown after.
#pragma once

#include <QObject>

namespace vex::gui {

class MemTab;

void OpenTrunkIdList(MemTab& main);    // mnu_idlist_Click
void OpenTrunkSettings(MemTab& main);  // trunkset_Click

}  // namespace vex::gui
