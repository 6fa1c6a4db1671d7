// What the communication window remembers between openings, per mode: which data the last
// transfer moved, and how a read treats the tags the scanner does not keep. Kept in
// vexcomm.ini in the program folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "link/session.h"

namespace vex {

inline constexpr std::string_view kTransferChoicesName = "vexcomm.ini";

struct TransferChoices {
    TransferItems read{true, false, false};
    TransferItems send{true, false, false};
    bool merge = false;  // "Merge Data" of the read window
    // The user chose to read without merging although tags would be lost: not asked again.
    bool dropTags = false;
    bool operator==(const TransferChoices&) const = default;
};

// Missing or unreadable values keep their defaults.
TransferChoices ParseTransferChoices(std::string_view text);
TransferChoices ReadTransferChoices(const std::filesystem::path& folder);
std::string SerializeTransferChoices(const TransferChoices& choices);
WriteResult WriteTransferChoices(const TransferChoices& choices,
                                 const std::filesystem::path& folder);

// What a transfer with these choices moves, in words: "the frequencies and the trunk IDs of
// bank 2". Empty when nothing is chosen.
std::string DescribeTransfer(const TransferItems& items, TransferArea area, int bank,
                             int rangeStart, int rangeEnd);

}  // namespace vex
