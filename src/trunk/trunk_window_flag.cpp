#include "trunk/trunk_window_flag.h"

namespace vex {
namespace {
bool g_trunkWindowOpen = false;
}  // namespace

bool TrunkWindowOpen() {
    return g_trunkWindowOpen;
}
void SetTrunkWindowOpen(bool open) {
    g_trunkWindowOpen = open;
}

}  // namespace vex
