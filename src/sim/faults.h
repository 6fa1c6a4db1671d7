// Faults the simulator injects on request, so that tests can check how the program copes with
// a scanner that is silent, rejects a command, answers noise or goes away.
//
// Form: KIND[@WHERE][:COUNT]
//   KIND   no-reply    the command is lost: no effect, no answer
//          cut-reply   the command takes effect, its answer stops before the carriage return
//          err         the command is refused with "ERR"
//          garbage     the command takes effect, its answer is replaced by line noise
//          disconnect  the scanner goes away: the pseudo-terminal closes and the simulator ends
//   WHERE  N           the Nth command received (1-based)
//          chN, channel N   any channel read or write ("MA"/"PM") of channel N
//          TEXT        any command beginning with TEXT (for example "TG B" or "SI")
//          (absent)    any command
//   COUNT  how many times the fault fires: a number, "once" (the default) or "always"
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bct8sim {

enum class FaultKind { kNoReply, kCutReply, kErr, kGarbage, kDisconnect };

struct Fault {
    FaultKind kind = FaultKind::kNoReply;
    enum class Where { kAny, kIndex, kChannel, kPrefix } where = Where::kAny;
    int number = 0;      // command index or channel
    std::string prefix;  // for kPrefix
    int remaining = 1;   // -1 = always
};

// Parses one text; on failure returns nullopt and says why in `error`.
std::optional<Fault> ParseFault(std::string_view text, std::string& error);

const char* FaultName(FaultKind kind);

class FaultPlan {
  public:
    void add(const Fault& fault) { d_faults.push_back(fault); }
    void clear() { d_faults.clear(); }
    bool empty() const { return d_faults.empty(); }

    // The fault that hits the index-th command (1-based) with the given text and channel (0 when
    // it addresses none), if any; one use of that fault is spent.
    std::optional<FaultKind> take(int index, std::string_view command, int channel);

  private:
    std::vector<Fault> d_faults;
};

}  // namespace bct8sim
