// The scanner's replies are outside input: every reply parser, and the link's framing fed the
// same bytes in pieces, must cope with anything without crashing or storing junk.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/image.h"
#include "core/text.h"
#include "link/fake_scheduler.h"
#include "link/link.h"
#include "link/protocol.h"

namespace {

class FuzzTransport : public vex::Transport {
  public:
    vex::TransportStatus open() override {
        d_open = true;
        return {};
    }
    void close() override { d_open = false; }
    bool isOpen() const override { return d_open; }
    void write(std::string_view) override {}
    void feed(std::string_view bytes) { deliver(bytes); }

  private:
    bool d_open = false;
};

void CheckParsers(std::string_view reply, int channel, int bank) {
    vex::ChannelReply parsed;
    if (vex::ParseChannelReply(reply, channel, parsed) == vex::ReplyStatus::Ok) {
        // A stored frequency is always four digits, a point and four digits; a reply without
        // a frequency changes no frequency.
        const std::string& f = parsed.frequency;
        if (!f.empty()) {
            if (f.size() != 9 || f[4] != '.') __builtin_trap();
            for (std::size_t i = 0; i < 9; ++i)
                if (i != 4 && !vex::IsDigit(f[i])) __builtin_trap();
        }
        vex::Channel c{};
        c[vex::kFieldFrequency] = "0123.4500";
        vex::ApplyChannelReply(parsed, c);
        if (f.empty() && c[vex::kFieldFrequency] != "0123.4500") __builtin_trap();
    }
    if (const auto pc = vex::ParsePriorityReply(reply, bank))
        if (*pc < 1 || *pc > vex::kTotalChannels) __builtin_trap();
    if (const auto name = vex::ParseTrunkTypeReply(reply, bank))
        (void)vex::TrunkTypeCodeForName(*name);
    if (const auto name = vex::ParseBankNameReply(reply, bank))
        if (name->empty() || name->find(',') != std::string::npos) __builtin_trap();
    (void)vex::ParseControlChannelReply(reply);
    (void)vex::ParseFlagReply(reply, "BT");
    std::array<std::string, vex::kTrunkBaseFields> row{};
    if (vex::ParseBaseLineReply(reply, row)) (void)vex::BaseLineWire(row, 1);
    std::array<std::string, 8> blocks{};
    if (vex::ParseFleetMapReply(reply, bank, blocks))
        for (const std::string& b : blocks)
            if (b.empty() || b.size() > 2) __builtin_trap();
    (void)vex::ParseTrunkIdReply(reply, bank, channel % vex::kTrunkIdUsedRows);
    // A tag or name ends at its carriage return and never keeps a trailing blank.
    if (const auto tag = vex::ParseListTagReply(reply, bank, channel % vex::kListTagIndexes))
        if (tag->find('\r') != std::string::npos || (!tag->empty() && tag->back() == ' '))
            __builtin_trap();
    if (const auto name = vex::ParseSearchRangeNameReply(reply, bank))
        if (name->size() > vex::kSearchRangeNameLength || name->find('\r') != std::string::npos ||
            (!name->empty() && name->back() == ' '))
            __builtin_trap();
    if (const auto wire = vex::WireFrequency(reply))
        if (wire->size() != 8) __builtin_trap();
}

void FeedLink(std::string_view data) {
    vex::FakeScheduler clock;
    FuzzTransport transport;
    transport.open();
    vex::Link link(transport, clock);
    int answered = 0;
    auto job = [&]() -> vex::Task<void> {
        for (int i = 0; i < 4; ++i) {
            vex::Reply reply = co_await link.request("MA001");
            if (!reply.timedOut) {
                ++answered;
                if (reply.text.empty() || reply.text.back() != '\r') __builtin_trap();
            }
            std::string polled = co_await link.poll(100);
            (void)polled;
        }
    };
    bool done = false;
    link.run(job(), [&] { done = true; });
    // The input in pieces whose sizes come from the input itself.
    std::size_t at = 0;
    while (at < data.size() && !done) {
        const std::size_t size =
            std::min(data.size() - at,
                     1 + static_cast<std::size_t>(static_cast<unsigned char>(data[at]) % 16));
        transport.feed(data.substr(at, size));
        at += size;
        clock.advance(static_cast<unsigned char>(data[at - 1]) % 50);
    }
    clock.runUntilIdle();
    if (!done) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int channel = 1 + data[0] % 250;
    const int bank = data[1] % 5;
    const std::string_view reply(reinterpret_cast<const char*>(data) + 2, size - 2);
    CheckParsers(reply, channel, bank);
    FeedLink(reply);
    return 0;
}
