#include "link/serial_trace.h"

#include <gtest/gtest.h>

#include "hand_line.h"
#include "link/fake_scheduler.h"
#include "link/link.h"

namespace vex {
namespace {

class SerialTraceTest : public ::testing::Test {
  protected:
    FakeScheduler clock;
    test::HandLine line;
    Link link{line, clock};
    SerialTrace trace{clock};

    void SetUp() override {
        clock.advance(7000);  // the trace counts from its first line, not from the clock's zero
        link.setTrace([this](std::string_view text) { trace.record(text); });
    }
    std::vector<std::string> lines() const { return {trace.lines().begin(), trace.lines().end()}; }
};

TEST_F(SerialTraceTest, StampsBytesOutAndInATimeOutAndARetry) {
    link.run(
        [](Link& l) -> Task<void> {
            co_await l.request("SI");
            const Reply missed = co_await l.request("MA017");
            if (missed.timedOut && co_await l.recover()) co_await l.request("MA017");
        }(link),
        [] {});
    clock.advance(12);
    line.feed("BCT8\r");
    clock.advance(1000);  // MA017 unanswered: time-out, port reset, two empty lines
    clock.advance(400);
    clock.advance(35);
    line.feed("C017 F01625500");
    clock.advance(3);
    line.feed(" TF DN LF\r");
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           "     0.000 >> SI<CR><LF>",
                           "     0.012 << BCT8<CR>",
                           "     0.012 >> MA017<CR><LF>",
                           "     1.012 -- reply time-out",
                           "     1.012 -- resetting the port, retry 1",
                           "     1.012 >> <CR><LF>",
                           "     1.212 >> <CR><LF>",
                           "     1.412 >> MA017<CR><LF>",
                           "     1.447 << C017 F01625500",
                           "     1.450 <<  TF DN LF<CR>",
                       }));
}

// The tenth time-out in a row ends the job, and the trace says so.
TEST_F(SerialTraceTest, MarksGivingUp) {
    link.run(
        [](Link& l) -> Task<void> {
            do co_await l.request("MA017");
            while (co_await l.recover());
        }(link),
        [] {});
    for (int i = 0; i < 10; ++i) clock.advance(1400);
    ASSERT_FALSE(lines().empty());
    EXPECT_TRUE(lines().back().ends_with("-- giving up after 10 time-outs")) << lines().back();
}

// Bytes that are not text show by their value; a port fault names what happened without the
// device's path or the system's words, which a trace handed on should not carry.
TEST_F(SerialTraceTest, ControlBytesShowAndPortFaultsCarryNoPath) {
    link.run([](Link& l) -> Task<void> { co_await l.request("KEY07"); }(link), [] {});
    line.feed(std::string("O\x00K\x1b\x7f\xe9", 6));
    line.breakDown({TransportFault::Disconnected, "The scanner is no longer connected.",
                    "/home/someone/ttyBCT8: Input/output error"});
    EXPECT_EQ(lines(), (std::vector<std::string>{
                           "     0.000 >> KEY07<CR><LF>",
                           "     0.000 << O<x00>K<x1B><x7F>\xe9",
                           "     0.000 -- port fault: disconnected",
                       }));
}

TEST_F(SerialTraceTest, TextHasHeadingDroppedLinesAndCrLf) {
    SerialTrace small(clock, 2);
    small.setHeading("vexa 9.9 serial trace, 19200 baud");
    small.record(">> SI\r\n");
    clock.advance(1234567);
    small.record("<< a");
    small.record("<< b");
    EXPECT_EQ(small.dropped(), 1u);
    EXPECT_EQ(small.text(),
              "vexa 9.9 serial trace, 19200 baud\r\n"
              "(1 earlier lines were not kept)\r\n"
              "  1234.567 << a\r\n"
              "  1234.567 << b\r\n");
}

}  // namespace
}  // namespace vex
