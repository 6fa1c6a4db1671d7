// The pictures of the main window's commands, in menus and toolbars alike: theme names where
// the desktop has a picture for the meaning, the program's own names for its own commands.
#include <QAction>
#include <utility>

#include "gui/icons.h"
#include "gui/memtab.h"

namespace vex::gui {

namespace {

// Command (the action's name) and the icon it shows.
constexpr std::pair<const char*, const char*> kCommandIcons[] = {
    {"menunew", "document-new"},
    {"tabopen", "document-open"},
    {"savenu", "document-save"},
    {"tabsaveas", "document-save-as"},
    {"imp_csv", "document-import"},
    {"catch", "vexatron-netscoop"},
    {"menuprint", "document-print"},
    {"exit_tab", "application-exit"},
    {"tabundo", "edit-undo"},
    {"tabredo", "edit-redo"},
    {"tab_cut", "edit-cut"},
    {"tab_copy", "edit-copy"},
    {"tab_paste", "edit-paste"},
    {"tab_delete", "edit-delete"},
    {"cut_line", "vexatron-line-cut"},
    {"copy_line", "vexatron-line-copy"},
    {"paste_line", "vexatron-line-paste"},
    {"copy_channhels", "vexatron-memory-channels"},
    {"swapbanks", "vexatron-memory-banks"},
    {"edit_shiftup", "go-up"},
    {"edit_shiftdown", "go-down"},
    {"tabselect", "edit-select-all"},
    {"menufind", "edit-find"},
    {"menu_repl", "edit-find-replace"},
    {"menucreate", "edit-clear"},
    {"bank_next", "go-next"},
    {"bank_previous", "go-previous"},
    {"memtab_delline", "vexatron-lines-clear"},
    {"memtab_inslin", "vexatron-line-insert"},
    {"memtab_remlines", "vexatron-lines-remove-empty"},
    {"memtab_shiftup", "vexatron-lines-remove"},
    {"menu_fd", "vexatron-fill-down"},
    {"menu_fs", "vexatron-fill-series"},
    {"tabeasy", "vexatron-easy-fill"},
    {"fd_curbank", "vexatron-duplicates-find"},
    {"remove_dupli", "vexatron-duplicates-remove"},
    {"sort_allb", "view-sort-ascending"},
    {"sort_rangedown", "view-sort-descending"},
    {"checktab", "vexatron-check-data"},
    {"center_tags", "format-justify-center"},
    {"menread", "vexatron-scanner-read"},
    {"memsend", "vexatron-scanner-send"},
    {"vc", "vexatron-virtual-control"},
    {"ditun", "vexatron-direct-tune"},
    {"tbtags", "vexatron-bank-tags"},
    {"soft_options", "preferences-system"},
    {"help_edit", "help-contents"},
    {"open_manaul", "help-contents"},
    {"shortkey", "preferences-desktop-keyboard"},
    {"hpabout", "help-about"},
};

}  // namespace

void MemTab::applyIcons() {
    for (const auto& [command, icon] : kCommandIcons) {
        auto* action =
            findChild<QAction*>(QString::fromLatin1(command), Qt::FindDirectChildrenOnly);
        if (action) action->setIcon(themedIcon(QString::fromLatin1(icon)));
    }
}

}  // namespace vex::gui
