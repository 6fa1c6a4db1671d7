// Small builders for the main-window logic tests.
#pragma once

#include <string>
#include <vector>

#include "core/image.h"
#include "mainwin/tablecmds.h"

namespace vex::testing {

// Every channel of every bank empty, in the canonical empty form.
inline Image EmptyImage() {
    Image image;
    for (int bank = 0; bank < kBankCount; ++bank) {
        for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
            EmptyChannel(image.channel(bank, slot));
            image.channel(bank, slot)[kFieldNumber] = std::to_string(AbsoluteChannel(bank, slot));
        }
    }
    return image;
}

inline void Put(Image& image, int bank, int slot, const std::string& frequency,
                const std::string& tag = "", const std::string& trunk = "0",
                const std::string& delay = "0", const std::string& lockout = "0",
                const std::string& comment = "") {
    Channel& channel = image.channel(bank, slot);
    channel[kFieldFrequency] = frequency;
    channel[kFieldTag] = tag;
    channel[kFieldTrunk] = trunk;
    channel[kFieldDelay] = delay;
    channel[kFieldLockout] = lockout;
    channel[kFieldComment] = comment;
}

// The frequencies of slots 1..n of a bank.
inline std::vector<std::string> Frequencies(const Image& image, int bank, int n) {
    std::vector<std::string> out;
    for (int slot = 1; slot <= n; ++slot) out.push_back(image.channel(bank, slot)[kFieldFrequency]);
    return out;
}

inline std::vector<std::string> Tags(const Image& image, int bank, int n) {
    std::vector<std::string> out;
    for (int slot = 1; slot <= n; ++slot) out.push_back(image.channel(bank, slot)[kFieldTag]);
    return out;
}

}  // namespace vex::testing
