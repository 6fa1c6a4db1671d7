// What the simulated scanner puts on the line for one command line, with the requested faults
// applied. The pseudo-terminal and the tests' in-memory line both answer through this, so the
// two cannot drift apart.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "faults.h"
#include "scanner.h"

namespace bct8sim {

struct Response {
    std::optional<std::string> text;  // bytes to send, reply end included; nullopt = silent
    std::optional<FaultKind> fault;   // the fault that hit this command, if any
    bool disconnect = false;          // the scanner goes away instead of answering
};

class Responder {
  public:
    Responder(Scanner& scanner, FaultPlan& faults) : d_scanner(scanner), d_faults(faults) {}

    // Handles one received command line (without its terminator). Empty lines are not counted.
    Response answer(std::string_view command);

    int commandCount() const { return d_commandCount; }

  private:
    std::string garbage(std::size_t replySize);

    Scanner& d_scanner;
    FaultPlan& d_faults;
    int d_commandCount = 0;
    unsigned d_garbageSeed = 12345;
};

}  // namespace bct8sim
