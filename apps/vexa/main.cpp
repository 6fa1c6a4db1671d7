// vexa: the command-line companion of Vexatron. Shows and rewrites MEM files without the window.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "core/command_line.h"
#include "core/version.h"
#include "link_runner.h"

namespace vexa {

int Fail(std::string_view message, int code) {
    std::cerr << "vexa: " << message << '\n';
    return code;
}

std::optional<std::string> ParsedArgs::option(std::string_view name) const {
    for (const auto& [key, value] : options)
        if (key == name) return value;
    return std::nullopt;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args,
                     const std::vector<std::string_view>& valueOptions,
                     const std::vector<std::string_view>& flagOptions) {
    std::vector<vex::CliOption> options{vex::kHelpOption};
    for (std::string_view name : valueOptions) options.push_back({name, 0, "VALUE", {}});
    for (std::string_view name : flagOptions) options.push_back({name, 0, {}, {}});
    const vex::CliArgs cli = vex::ParseCommandLine(args, options);
    ParsedArgs parsed;
    parsed.positional = cli.positional;
    parsed.help = cli.has(vex::kHelpOption.name);
    parsed.error = cli.error;
    for (const auto& option : cli.options)
        if (option.first != vex::kHelpOption.name) parsed.options.push_back(option);
    return parsed;
}

namespace {

// The options that may stand before the command.
constexpr vex::CliOption kGlobalOptions[] = {
    vex::kHelpOption,
    vex::kVersionOption,
    {"dir", 0, "FOLDER", "the program folder, handed on to the command"},
};

void PrintHelp(std::ostream& out) {
    out << "Usage: vexa COMMAND [OPTIONS] [ARGUMENTS]\n"
           "Works with Vexatron's MEM files for the BCT8 scanner.\n\n"
           "Commands:\n";
    for (const Command* command : Commands())
        out << "  " << command->name
            << std::string(10 - std::min<std::size_t>(command->name.size(), 9), ' ')
            << command->summary << '\n';
    out << "\nOptions:\n"
        << vex::OptionList(kGlobalOptions)
        << "\nRun \"vexa COMMAND --help\" for the options of a command.\n";
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
    if (args[0] == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    // The options before the command; "--dir" is handed on to the command.
    std::size_t first = 0;
    while (first < args.size() && args[first].size() > 1 && args[first][0] == '-' &&
           args[first] != "--")
        first += args[first] == "--dir" ? 2 : 1;
    first = std::min(first, args.size());
    const std::vector<std::string> leading(args.begin(), args.begin() + first);
    const vex::CliArgs global = vex::ParseCommandLine(leading, kGlobalOptions);
    if (global.has(vex::kHelpOption.name)) {
        PrintHelp(std::cout);
        return kExitOk;
    }
    if (!global.error.empty()) return Fail(global.error + "; see \"vexa --help\"", kExitUsage);
    if (global.has(vex::kVersionOption.name)) {
        std::cout << "vexa " << vex::ProgramVersion() << '\n';
        return kExitOk;
    }
    args.erase(args.begin(), args.begin() + first);
    if (!args.empty() && args[0] == "--") args.erase(args.begin());
    if (args.empty()) return Fail("no command given; see \"vexa --help\"", kExitUsage);
    std::vector<std::string> handedOn;
    for (const std::string& dir : global.values("dir")) {
        handedOn.push_back("--dir");
        handedOn.push_back(dir);
    }
    for (const Command* command : Commands()) {
        if (command->name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        rest.insert(rest.end(), handedOn.begin(), handedOn.end());
        int code = kExitFailed;
        try {
            code = command->run(rest);
        } catch (const std::exception& e) {
            code = Fail(e.what());
        }
        // A transfer that went well but whose trace could not be kept has not done all it was
        // asked to.
        if (code == kExitOk && TraceWriteFailed()) code = kExitFailed;
        return code;
    }
    return Fail("unknown command '" + args[0] + "'; see \"vexa --help\"", kExitUsage);
}
