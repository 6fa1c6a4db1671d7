// A read that ended half way: whether it stopped inside its channel walk, and the question
// that offers to keep what it read.
#pragma once

#include <string>

#include "link/session.h"

namespace vex {

// Follows one read's progress reports. The channel walk has ended once a report names a
// channel and shows its count full; later parts of the read (trunk IDs, settings) report
// counts of their own.
class ChannelWalkWatch {
  public:
    void start(bool readsChannels) {
        d_readsChannels = readsChannels;
        d_walkDone = false;
    }
    void see(const LinkProgress& progress);
    // The read ended inside its channel walk, having taken channels.
    bool stoppedInWalk(const TransferResult& result) const;

  private:
    bool d_readsChannels = false;
    bool d_walkDone = false;
};

// "The read stopped at channel 042. Keep the 41 channels read so far (001 to 041)? ..." when
// the read stopped in its walk, a general offer otherwise; a failure's message comes first.
std::string partialReadQuestion(const TransferResult& result, bool stoppedInWalk);

}  // namespace vex
