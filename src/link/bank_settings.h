// The commands that carry one bank's trunk settings to the scanner (its type with the band
// plan, the flags, the control channel, the fleet map), in the order they are sent. What the
// scanner holds of a bank's settings is exactly what these carry.
#pragma once

#include <vector>

#include "core/image.h"
#include "link/protocol.h"

namespace vex {

std::vector<WireLine> BankSettingCommands(const Image& image, int bank);

}  // namespace vex
