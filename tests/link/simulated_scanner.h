// The simulator's scanner on the fake clock: the link's tests talk to the same memory and the
// same answers as the simulator program, with the line's timing and faults played in memory.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/fake_scheduler.h"
#include "link/transport.h"
#include "sim/faults.h"
#include "sim/responder.h"
#include "sim/scanner.h"

namespace vex::test {

struct SentCommand {
    std::int64_t at;   // fake-clock time of the write
    std::string text;  // without its line end
};

class SimulatedScanner : public Transport {
  public:
    explicit SimulatedScanner(FakeScheduler& clock);

    TransportStatus open() override;
    void close() override { d_open = false; }
    bool isOpen() const override { return d_open; }
    void write(std::string_view bytes) override;

    bct8sim::Scanner model;
    bct8sim::FaultPlan faults;
    // Adds a fault in the simulator's own notation ("no-reply@MA010:3", "err@TA L F:always").
    void inject(std::string_view fault);
    // The line drops at the next command, which goes unanswered.
    void pullAtNextCommand() { inject("disconnect"); }
    // Another device on the line: "SI" is answered with `text`.
    void identifyAs(std::string text);
    // The "TB" names of banks A..E.
    void setTypeNames(const std::array<std::string, 5>& names);

    std::int64_t latencyMs = 5;
    int pieces = 1;  // a reply is delivered in this many parts, 1 ms apart
    TransportStatus openStatus;
    // Replaces the answer to a command once the scanner has acted on it: nullopt keeps the
    // scanner's answer, an empty optional stays silent, a text is sent instead. `count` is how
    // often this command text has been received (1 the first time).
    using Reply = std::optional<std::optional<std::string>>;
    using Intercept = std::function<Reply(const std::string&, int)>;
    Intercept intercept;

    std::vector<SentCommand> sent;
    int opens = 0;
    std::vector<std::string> texts() const;  // the sent commands without times
    // Commands sent from the first one equal to `from` on.
    std::vector<std::string> textsFrom(const std::string& from) const;

  private:
    void deliverLater(const std::string& reply);

    FakeScheduler& d_clock;
    bct8sim::Responder d_responder{model, faults};
    bool d_open = false;
    std::string d_partial;
    std::map<std::string, int> d_counts;
};

// Shorthands for an intercept's answers.
using Reply = SimulatedScanner::Reply;
inline Reply Silent() {
    return std::optional<std::string>{};
}
inline Reply Answer(std::string text) {
    return std::optional<std::string>{std::move(text)};
}

}  // namespace vex::test
