// The few options the MEM file code and normalisation follow. The settings record converts to
// this, so the image code needs nothing of the settings.
#pragma once

namespace vex {

struct ImageOptions {
    int savenames = 1;  // 0: every bank tag is written as "None"
    int option5 = 0;    // 1: normalisation leaves trunk flags outside the type's range alone
    int option9 = 0;    // 1: the reader hands every channel tag to the easy-tag pick lists
};

}  // namespace vex
