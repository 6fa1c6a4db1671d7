#include "gui/trunkmenu.h"

#include "gui/memtab.h"
#include "gui/toolsmenu.h"
#include "gui/trtags.h"
#include "gui/trunkconfig.h"

namespace vex::gui {
namespace {

// Runs a trunk window over the image as one undo step (the Memory Manager opened from it makes
// steps of its own). Trunk edits are unsaved edits like any other: the modified flag goes up
// only when something changed.
template <typename Window, typename... Args>
void RunTrunkWindow(MemTab& main, const QString& stepName, Args&... args) {
    if (!main.storeGrid()) return;
    main.applyImageChange(stepName, [&](Image& image) {
        const Image before = image;
        Window window(image, args..., &main);
        window.setBankManager([&main, &window] { OpenMemoryManager(main, true, &window); });
        if constexpr (requires { window.setDialogRunner(main.dialogs()); })
            window.setDialogRunner(main.dialogs());
        main.dialogs().exec(window);
        return !(image == before);
    });
}

}  // namespace

void OpenTrunkIdList(MemTab& main) {
    RunTrunkWindow<TrTags>(main, QObject::tr("Trunk ID list"), main.prompter());
}

void OpenTrunkSettings(MemTab& main) {
    RunTrunkWindow<TrunkConfig>(main, QObject::tr("Trunk system settings"));
}

}  // namespace vex::gui
