// The one command-line parser of the three programs (the window, the command-line companion and
// the simulator), so that all of them take options the same way and fail the same way:
//   --name value, --name=value, -n value   options with a value (may be repeated)
//   --name, -n                             flags
//   --                                     everything after it is an argument
//   -                                      an argument (standard input or output)
// A problem is one line of text; "--help" found anywhere wins over a problem, so a user who
// asks for help gets it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vex {

struct CliOption {
    std::string_view name;       // the long name without "--"
    char letter = 0;             // the short name ("-h"), 0 for none
    std::string_view valueName;  // "FILE" for an option that takes a value, empty for a flag
    std::string_view help;       // one line for the option list; empty keeps it out of the list
};

inline constexpr CliOption kHelpOption{"help", 'h', {}, "show this text and end"};
inline constexpr CliOption kVersionOption{"version", 'V', {}, "show the version and end"};

struct CliArgs {
    std::vector<std::string> positional;
    // Every option given, in order: long name and value ("" for a flag).
    std::vector<std::pair<std::string, std::string>> options;
    std::string error;  // one line; empty when the line was understood

    bool has(std::string_view name) const;
    // The last value given for the option.
    std::optional<std::string> value(std::string_view name) const;
    // Every value given for a repeated option, in order.
    std::vector<std::string> values(std::string_view name) const;
};

CliArgs ParseCommandLine(const std::vector<std::string>& args, std::span<const CliOption> options);

// The option list for a help text: one line per listed option, names padded to one column.
std::string OptionList(std::span<const CliOption> options);

}  // namespace vex
