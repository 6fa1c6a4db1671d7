// vexa: the command-line companion of Vexatron. Shows and rewrites MEM files without the window.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

namespace vexa {

int Fail(std::string_view message, int code) {
    std::cerr << "vexa: " << message << '\n';
    return code;
}

std::optional<std::string> ParsedArgs::Option(std::string_view name) const {
    for (const auto& [key, value] : options)
        if (key == name) return value;
    return std::nullopt;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args,
                     const std::vector<std::string_view>& valueOptions,
                     const std::vector<std::string_view>& flagOptions) {
    ParsedArgs parsed;
    const auto isIn = [](const std::vector<std::string_view>& list, std::string_view name) {
        for (std::string_view n : list)
            if (n == name) return true;
        return false;
    };
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg.rfind("-", 0) != 0) {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (isIn(flagOptions, name) && !value) {
            parsed.options.emplace_back(name, "");
        } else if (isIn(valueOptions, name)) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    parsed.error = "option '--" + name + "' needs a value";
                    return parsed;
                }
                value = args[++i];
            }
            parsed.options.emplace_back(name, *value);
        } else {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
    }
    return parsed;
}

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: vexa COMMAND [OPTIONS] [ARGUMENTS]\n"
           "Works with Vexatron's MEM files for the BCT8 scanner.\n\n"
           "Commands:\n";
    for (const Command* command : Commands())
        out << "  " << command->name
            << std::string(10 - std::min<std::size_t>(command->name.size(), 9), ' ')
            << command->summary << '\n';
    out << "\nRun \"vexa COMMAND --help\" for the options of a command.\n";
}

}  // namespace
}  // namespace vexa

int main(int argc, char** argv) {
    using namespace vexa;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    // "--dir" may also stand before the command; it is handed on to the command.
    std::vector<std::string> global;
    while (!args.empty() && args[0].rfind("--dir", 0) == 0) {
        global.push_back(args[0]);
        args.erase(args.begin());
        if (global.back() == "--dir") {
            if (args.empty()) return Fail("option '--dir' needs a value", kExitUsage);
            global.push_back(args[0]);
            args.erase(args.begin());
        }
    }
    if (args.empty()) return Fail("no command given; see \"vexa --help\"", kExitUsage);
    for (const Command* command : Commands()) {
        if (command->name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        rest.insert(rest.end(), global.begin(), global.end());
        try {
            return command->run(rest);
        } catch (const std::exception& e) {
            return Fail(e.what());
        }
    }
    return Fail("unknown command '" + args[0] + "'; see \"vexa --help\"", kExitUsage);
}
