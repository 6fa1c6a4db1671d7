// "Check Table using Bandplan": the channels of one bank or of all banks brought onto the
// scanner's band plan the way a typed frequency is (band edges, and the channel raster unless
// `round` is 1), with a report of every channel that changed.
#pragma once

#include <string>
#include <vector>

#include "core/image.h"
#include "settings/options.h"

namespace vex {

struct BandplanChange {
    int bank = 0;
    int slot = 0;
    std::string before;  // the stored frequency text
    std::string after;
};

// Checks banks `firstBank` to `lastBank`; empty channels are left alone.
std::vector<BandplanChange> CheckBandplan(Image& image, int firstBank, int lastBank,
                                          const Options& options);

// The report: one line per channel changed (at most `maxLines`, then how many more), or that
// every channel was on the band plan already.
std::string BandplanReport(const std::vector<BandplanChange>& changes, std::size_t maxLines = 25);

}  // namespace vex
