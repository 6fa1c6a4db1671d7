// Process-wide flag: set while the trunk settings window or the trunk ID window is open. The
// automatic backup waits while it is set.
#pragma once

namespace vex {

bool TrunkWindowOpen();
void SetTrunkWindowOpen(bool open);

// Sets the flag for the lifetime of a trunk window and clears it when the window goes.
class TrunkWindowOpenScope {
  public:
    TrunkWindowOpenScope() { SetTrunkWindowOpen(true); }
    ~TrunkWindowOpenScope() { SetTrunkWindowOpen(false); }
    TrunkWindowOpenScope(const TrunkWindowOpenScope&) = delete;
    TrunkWindowOpenScope& operator=(const TrunkWindowOpenScope&) = delete;
};

}  // namespace vex
