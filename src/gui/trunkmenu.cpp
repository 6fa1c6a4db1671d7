#include "gui/trunkmenu.h"

#include "gui/memtab.h"
#include "gui/trtags.h"
#include "gui/trunkconfig.h"

namespace vex::gui {
namespace {

// Runs a trunk window over the image. Trunk edits are unsaved edits like any other, so the
// main window's modified flag goes up when the window changed anything.
template <typename Window>
void RunTrunkWindow(MemTab& main) {
    if (!main.storeGrid()) return;
    Image& image = main.state().image;
    const Image before = image;
    Window window(image, &main);
    window.exec();
    if (!(image == before)) main.editor().setModified(true);
    main.showBank();
}

}  // namespace

void OpenTrunkIdList(MemTab& main) {
    RunTrunkWindow<TrTags>(main);
}

void OpenTrunkSettings(MemTab& main) {
    RunTrunkWindow<TrunkConfig>(main);
}

}  // namespace vex::gui
