#include "link/partial_read.h"

#include <algorithm>
#include <cstdio>

namespace vex {
namespace {

std::string threeDigits(int channel) {
    char text[8];
    std::snprintf(text, sizeof text, "%03d", std::clamp(channel, 0, 999));
    return text;
}

}  // namespace

void ChannelWalkWatch::see(const LinkProgress& progress) {
    if (d_readsChannels && progress.channel > 0 && progress.total > 0 &&
        progress.done >= progress.total)
        d_walkDone = true;
}

bool ChannelWalkWatch::stoppedInWalk(const TransferResult& result) const {
    return d_readsChannels && !d_walkDone && result.channelReached > 0 &&
           result.read.channels.any();
}

std::string partialReadQuestion(const TransferResult& result, bool stoppedInWalk) {
    std::string question;
    const auto& channels = result.read.channels;
    if (stoppedInWalk && channels.any()) {
        int first = 0, last = 0;
        for (int ch = 1; ch <= kTotalChannels; ++ch) {
            if (!channels[static_cast<std::size_t>(ch)]) continue;
            if (first == 0) first = ch;
            last = ch;
        }
        question = "The read stopped at channel " + threeDigits(result.channelReached) +
                   ". Keep the " + std::to_string(channels.count()) + " channels read so far (" +
                   threeDigits(first) + " to " + threeDigits(last) +
                   ")? The other channels stay as they are.";
    } else {
        question =
            "The read stopped before its end. Keep what was read so far? The rest of the table "
            "stays as it is.";
    }
    if (result.outcome == TransferOutcome::Failed && !result.message.empty())
        return result.message + "\n\n" + question;
    return question;
}

}  // namespace vex
