#include "gui/trunkmenu.h"

#include "gui/memtab.h"
#include "gui/trtags.h"
#include "gui/trunkconfig.h"

namespace vex::gui {
namespace {

// Runs a trunk window over the image as one step of the main window. Trunk edits are unsaved
// edits like any other: the modified flag goes up only when the window changed anything.
template <typename Window>
void RunTrunkWindow(MemTab& main, const QString& stepName) {
    main.applyImageChange(stepName, [&main](Image& image) {
        const Image before = image;
        Window window(image, &main);
        window.exec();
        return !(image == before);
    });
}

}  // namespace

void OpenTrunkIdList(MemTab& main) {
    RunTrunkWindow<TrTags>(main, QObject::tr("Trunk ID List"));
}

void OpenTrunkSettings(MemTab& main) {
    RunTrunkWindow<TrunkConfig>(main, QObject::tr("Trunk System Settings"));
}

}  // namespace vex::gui
