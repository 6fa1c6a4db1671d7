// The program's version, as the build names it; the same for the window and both tools.
#pragma once

#include <string_view>

namespace vex {

std::string_view ProgramVersion();

}  // namespace vex
