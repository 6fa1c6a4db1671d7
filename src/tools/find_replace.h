// "Find Data" and "Replace Text Tag:": finding the next channel whose frequency or tag holds a
// text, and replacing a text inside tags.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/image.h"

namespace vex {

enum class FindField { Frequency, Tag };
enum class FindScope { CurrentBank, AllBanks };

struct FindHit {
    int bank = 0;
    int slot = 1;
    int channel = 1;  // absolute channel number
};

// Searches the channels after `position` (a slot 1..50 of the current bank, or an absolute
// channel 1..250 over the five banks; 0 = from the start) and moves `position` to the hit.
// Past the last channel the position goes back to 0 and nothing is found, so the next search
// starts again at the first channel. Empty channels are passed over: the grid shows nothing
// of them. An empty text finds nothing and leaves the position alone.
std::optional<FindHit> FindNext(const Image& image, int currentBank, FindScope scope,
                                FindField field, std::string_view text, bool matchCase,
                                int& position);

// "Channel #107 contains this data, in bank 3." ("in the Dummy bank" for it).
std::string FindResultText(const FindHit& hit);

struct ReplaceResult {
    int tags = 0;     // tags changed
    int tooLong = 0;  // of those, tags now longer than 16 characters
};
// Replaces every occurrence of `find` in the tags of the scope's non-empty channels. Double
// quotes and control characters of the replacement become spaces, as in typed tags. A tag
// longer than 16 characters afterwards is kept whole until the table is checked.
ReplaceResult ReplaceInTags(Image& image, int currentBank, FindScope scope, std::string_view find,
                            std::string_view replacement, bool matchCase);
// "Replace "PD" with "Police Dept"".
std::string ReplaceStepName(std::string_view find, std::string_view replacement);
// What the window says after Apply.
std::string ReplaceResultText(const ReplaceResult& result);

}  // namespace vex
