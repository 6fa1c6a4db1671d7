#include "link/partial_read.h"

#include <gtest/gtest.h>

#include <vector>

namespace vex {
namespace {

struct PartialCase {
    const char* name;
    std::vector<LinkProgress> progress;  // seen by a read that takes channels
    int firstRead, lastRead;             // channels the read took; 0 = none
    int reached;
    std::string message;  // of a failure; empty: stopped
    std::string question;
    bool readsChannels = true;
};

class PartialReadTest : public ::testing::TestWithParam<PartialCase> {};

TEST_P(PartialReadTest, OffersWhatWasRead) {
    const PartialCase& c = GetParam();
    ChannelWalkWatch watch;
    watch.start(c.readsChannels);
    for (const LinkProgress& p : c.progress) watch.see(p);
    TransferResult result;
    result.outcome = c.message.empty() ? TransferOutcome::Stopped : TransferOutcome::Failed;
    result.message = c.message;
    result.channelReached = c.reached;
    for (int ch = c.firstRead; ch >= 1 && ch <= c.lastRead; ++ch)
        result.read.channels.set(static_cast<std::size_t>(ch));
    EXPECT_EQ(partialReadQuestion(result, watch.stoppedInWalk(result)), c.question);
}

const LinkProgress kInWalk{"Reading", "Reading channels", 9, 8, 250};
const LinkProgress kWalkEnd{"Reading", "Reading channels", 250, 250, 250};
const LinkProgress kIdsPart{"Reading", "Reading trunk IDs", 0, 3, 50};
// A full count with no channel named is another part's count, not the walk's end.
const LinkProgress kOtherPart{"Reading", "Reading settings", 0, 5, 5};
const std::string kAt3 =
    "The read stopped at channel 003. Keep the 2 channels read so far (001 to 002)? The other "
    "channels stay as they are.";
const std::string kLost =
    "Line lost.\n\nThe read stopped at channel 005. Keep the 2 channels read so far (003 to "
    "004)? The other channels stay as they are.";
const std::string kGeneral =
    "The read stopped before its end. Keep what was read so far? The rest of the table stays "
    "as it is.";

INSTANTIATE_TEST_SUITE_P(
    PartialRead, PartialReadTest,
    ::testing::Values(PartialCase{"FailureMessageFirst", {kInWalk}, 3, 4, 5, "Line lost.", kLost},
                      PartialCase{
                          "AfterTheWalk", {kInWalk, kWalkEnd, kIdsPart}, 1, 250, 250, "", kGeneral},
                      PartialCase{"NoChannelsAsked", {kIdsPart}, 0, 0, 0, "", kGeneral, false},
                      PartialCase{"NothingTakenYet", {}, 0, 0, 1, "", kGeneral},
                      PartialCase{"OtherPartsFullCount", {kOtherPart}, 1, 2, 3, "", kAt3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vex
