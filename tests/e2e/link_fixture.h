// What the transfers against bct8sim share: a full image to send, the simulator's memory holding
// an image, and the fields that came back different.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "core/image.h"
#include "e2e/sim_process.h"
#include "link/protocol.h"

namespace e2e {

// Five banks of five kinds of trunked system, channels in every mix of the flags with every
// seventh one empty. Bank 1 is a Type 1 system with a custom fleet map and its ID rows filled
// (every fourth left empty); the other banks' settings are away from their defaults.
inline vex::Image FullImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    const char* types[vex::kScannerBanks] = {"2", "4", "6", "8", "10"};
    const long base[vex::kScannerBanks] = {8510125, 4510000, 8660125, 1600000, 9355000};
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        image.TrunkType[b] = types[b];
        for (int s = 1; s <= vex::ChannelsPerBank; ++s) {
            vex::Channel& c = image.channel(b, s);
            const long units = s % 7 == 0 ? 0 : base[b] + s * 125;
            char text[48];
            std::snprintf(text, sizeof text, "%04ld.%04ld", units / 10000, units % 10000);
            c[vex::kFieldFrequency] = text;
            c[vex::kFieldTag] = "Tag " + std::to_string(b + 1) + "-" + std::to_string(s);
            if (units == 0) continue;
            c[vex::kFieldTrunk] = s % 3 == 0 ? "1" : "0";
            c[vex::kFieldDelay] = s % 2 == 0 ? "1" : "0";
            c[vex::kFieldLockout] = s % 5 == 0 ? "1" : "0";
        }
    }
    for (int row = 0; row < vex::kTrunkIdUsedRows; ++row) {
        image.TrunkId[0][row][1] = "ID tag " + std::to_string(row);
        char text[16];
        std::snprintf(text, sizeof text, "%03d-%02d", row * 3, row % 16);
        if (row % 4 != 3) image.TrunkId[0][row][0] = text;
    }
    // Type 1: control channel plan 2, status bit on, a custom fleet map.
    image.TrunkSetting[0][0] = "2";
    image.TrunkSetting[0][1] = "1";
    image.TrunkSetting[0][2] = image.TrunkSetting[0][7] = "0";
    image.TrunkBase[0][0] = {"4", "4", "12", "12", "11", "0", "0", "3"};
    return image;
}

// An image as a fresh program has it, to read into.
inline vex::Image EmptyImage() {
    vex::Image image;
    vex::ClearForFileNew(image);
    return image;
}

// The simulator's memory line of channel `n`: "CH 007 01543850 TF DN LF".
inline std::string SimLine(const vex::Image& image, int n) {
    const vex::Channel& c = image.channel((n - 1) / 50, (n - 1) % 50 + 1);
    auto flag = [](const std::string& f) { return vex::FlagOn(f) ? 'N' : 'F'; };
    char line[64];
    std::snprintf(line, sizeof line, "CH %03d %s T%c D%c L%c", n,
                  vex::WireFrequency(c[vex::kFieldFrequency]).value_or("?").c_str(),
                  flag(c[vex::kFieldTrunk]), flag(c[vex::kFieldDelay]),
                  flag(c[vex::kFieldLockout]));
    return line;
}

// Writes a simulator memory file holding the image's channels.
inline void WriteSimMemory(const vex::Image& image, const std::filesystem::path& path) {
    std::string text = "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= vex::kTotalChannels; ++n) text += SimLine(image, n) + "\n";
    simtest::WriteFile(path, text);
}

// Every field of channels `first`..`last` the scanner carries; one line per difference.
inline std::vector<std::string> WireDifferences(const vex::Image& sent, const vex::Image& read,
                                                int first, int last) {
    std::vector<std::string> out;
    auto differ = [&](const std::string& what, const std::string& a, const std::string& b) {
        if (a != b) out.push_back(what + ": sent \"" + a + "\", read \"" + b + "\"");
    };
    for (int n = first; n <= last; ++n) {
        const int b = (n - 1) / 50, s = n - 50 * b;
        const std::string where = "channel " + std::to_string(n);
        const bool empty = vex::IsEmptyChannel(sent, b, s);
        if (empty && vex::IsEmptyChannel(read, b, s)) continue;  // its flags are not carried
        for (int field :
             {vex::kFieldFrequency, vex::kFieldTrunk, vex::kFieldDelay, vex::kFieldLockout}) {
            differ(where + " field " + std::to_string(field), sent.channel(b, s)[field],
                   read.channel(b, s)[field]);
            if (empty) break;
        }
    }
    return out;
}

inline std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace e2e
