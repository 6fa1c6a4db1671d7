// The editing tools opened from the main window's menus and toolbars: the Memory Manager,
// Find, Replace, EasyFill and Active Banks. Each is modal; every change it makes is one undo
// step of the main window.
#pragma once

class QWidget;

namespace vex::gui {

class MemTab;

// Channel mode ("Copy/Move/Swap Memory Channels") or bank mode ("... Banks", and the trunk
// windows' "Copy/Move/Swap Banks" button, which passes itself as `parent`).
void OpenMemoryManager(MemTab& main, bool bankMode, QWidget* parent = nullptr);
void OpenFind(MemTab& main);         // menufind_Click
void OpenReplace(MemTab& main);      // menu_repl_Click
void OpenEasyFill(MemTab& main);     // tabeasy_Click
void OpenActiveBanks(MemTab& main);  // set_search_Click

}  // namespace vex::gui
