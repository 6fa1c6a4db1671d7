// The image a scanner holds after the last complete transfer with it, kept in the program folder
// one file per scanner (named after the identification the scanner gives when the port opens).
// A send of changes compares with it. Changes made on the scanner's own keypad are not seen.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/atomic_file.h"
#include "core/image.h"
#include "link/session.h"

namespace vex {

// "scanner-BCT8-V1-02-1a2b3c4d.mem": only letters, digits and dashes, whatever the scanner
// answered, with a checksum of the whole text so that two identifications never share a file.
std::string KeptImageFileName(std::string_view identification);
std::filesystem::path KeptImagePath(const std::filesystem::path& folder,
                                    std::string_view identification);

struct KeptImage {
    std::optional<Image> image;  // empty when nothing usable is kept
    std::string problem;         // why a kept file could not be used (empty when none exists)
};
KeptImage LoadKeptImage(const std::filesystem::path& folder, std::string_view identification);
WriteResult KeepImage(const std::filesystem::path& folder, std::string_view identification,
                      const Image& image);
// A send that ended half way leaves the scanner holding a mix nobody knows: the kept image goes.
// True when nothing is kept afterwards.
bool ForgetKeptImage(const std::filesystem::path& folder, std::string_view identification);

// After a window that programs the scanner's channels directly (no record of which scanner):
// every kept image goes.
void ForgetAllKeptImages(const std::filesystem::path& folder);

// What the scanner holds after a completed read or send, given what was kept before it. Empty
// when that cannot be known (a part of the memory was transferred and nothing was kept).
std::optional<Image> HeldAfterRead(const std::optional<Image>& kept, const TransferResult& read);
std::optional<Image> HeldAfterSend(const std::optional<Image>& kept, const Image& sent,
                                   const SendRequest& request, const Options& options);

// Keeps what the scanner holds after a completed transfer (or forgets it when that is no longer
// known). Returns a message for the user when the file could not be written; empty otherwise.
std::string RecordRead(const std::filesystem::path& folder, std::string_view identification,
                       const TransferResult& read);
std::string RecordSend(const std::filesystem::path& folder, std::string_view identification,
                       const Image& sent, const SendRequest& request, const Options& options,
                       TransferOutcome outcome);

}  // namespace vex
