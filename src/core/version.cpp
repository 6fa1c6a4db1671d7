#include "core/version.h"

#ifndef VEX_VERSION
#error "the build names the version"
#endif

namespace vex {

std::string_view ProgramVersion() {
    return VEX_VERSION;
}

}  // namespace vex
