// A scanner played in memory for the link's tests: it keeps a small model of the BCT8's memory,
// answers each command after a latency on the fake clock, and can be told to fall silent, answer
// in pieces, answer ERR or garbage, or drop off the line.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/fake_scheduler.h"
#include "link/transport.h"

namespace vex::test {

struct SentCommand {
    std::int64_t at;   // fake-clock time of the write
    std::string text;  // without its line end
};

struct ScannerChannel {
    std::string wire = "00000000";
    char trunk = 'F', delay = 'F', lockout = 'F';
};

class ScriptedScanner : public Transport {
  public:
    explicit ScriptedScanner(FakeScheduler& clock);

    TransportStatus open() override;
    void close() override { d_open = false; }
    bool isOpen() const override { return d_open; }
    void write(std::string_view bytes) override;

    // The scanner's memory.
    std::array<ScannerChannel, 251> channels;                  // 1..250
    std::array<std::string, 5> typeNames{"", "", "", "", ""};  // "TB" names of banks A..E
    std::array<std::string, 5> bankNames{"", "", "", "", ""};  // "TA B" names of banks A..E
    std::map<std::string, std::string> ids;                    // "TG A B3" -> "12345"
    // "TA L" tags of list letters A..J, indexes 0..9 (empty answers "-"); letters from
    // `listLetters` on are refused.
    std::array<std::array<std::string, 10>, 10> listTags{};
    int listLetters = 10;
    std::array<std::string, 9> searchNames{};  // "TA S A" .. "TA S I"
    std::array<int, 5> priority{1, 51, 101, 151, 201};
    std::map<std::string, std::string> settings;  // "TC A" -> "TCN P2", "BT A" -> "BTN", ...
    std::string identification = "BCT8 Version 1.04";

    // Behaviour.
    std::int64_t latencyMs = 5;
    int pieces = 1;  // a reply is delivered in this many parts, 1 ms apart
    TransportStatus openStatus;
    // Replaces the answer to a command: return nullopt to stay silent, a text to send instead.
    // `count` is how often this command text has been received so far (1 for the first time).
    std::function<std::optional<std::optional<std::string>>(const std::string& command, int count)>
        override_;
    // After this many commands the line drops (fault Disconnected); 0 = never.
    int disconnectAfter = 0;

    std::vector<SentCommand> sent;
    int opens = 0;
    std::vector<std::string> texts() const;  // the sent commands without times
    // Commands sent from the first one equal to `from` on.
    std::vector<std::string> textsFrom(const std::string& from) const;

    // What the scanner answers (nullopt = nothing) and how it changes its memory.
    std::optional<std::string> answer(const std::string& command);

  private:
    void deliverLater(std::string reply);
    FakeScheduler& d_clock;
    bool d_open = false;
    std::string d_partial;
    std::map<std::string, int> d_counts;
    int d_lastProgrammed = 0;
    int d_bankSelected = 0;
};

}  // namespace vex::test
