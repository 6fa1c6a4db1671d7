#include "gui/toolsmenu.h"

#include "gui/actbank.h"
#include "gui/easy2.h"
#include "gui/editmenu.h"
#include "gui/find.h"
#include "gui/memtab.h"
#include "gui/vervang.h"

namespace vex::gui {

namespace {

ImageChange ChangeThrough(MemTab& main) {
    return [&main](const QString& step, const std::function<bool(Image&)>& change) {
        return main.applyImageChange(step, change);
    };
}

}  // namespace

void OpenMemoryManager(MemTab& main, bool bankMode, QWidget* parent) {
    if (!main.storeGrid()) return;
    SetMemoryManagerCaption(bankMode ? kBankModeCaption : kChannelModeCaption);
    EditMenu window(main.state().image, main.editor().currentBank(),
                    main.state().options.copytags == 1, ChangeThrough(main),
                    parent ? parent : &main);
    main.dialogs().exec(window);
    SetMemoryManagerCaption(kChannelModeCaption);
}

void OpenFind(MemTab& main) {
    if (!main.storeGrid()) return;
    Find window(
        main.state().image, main.editor().currentBank(), main.state().options,
        [&main](const FindHit& hit) { main.goToChannel(hit.bank, hit.slot); }, &main);
    main.dialogs().exec(window);
}

void OpenReplace(MemTab& main) {
    if (!main.storeGrid()) return;
    Vervang window(main.editor().currentBank(), ChangeThrough(main), &main);
    main.dialogs().exec(window);
}

void OpenEasyFill(MemTab& main) {
    if (!main.storeGrid()) return;
    const Selection rows = main.grid()->selection().normalised();
    const int bank = main.editor().currentBank();
    Easy2 window(AbsoluteChannel(bank, rows.firstRow), AbsoluteChannel(bank, rows.lastRow),
                 ChangeThrough(main), &main);
    main.dialogs().exec(window);
}

void OpenActiveBanks(MemTab& main) {
    if (!main.storeGrid()) return;
    ActBank window(main.state().image, ChangeThrough(main), &main);
    main.dialogs().exec(window);
}

}  // namespace vex::gui
