// The vexa command-line companion: one entry per command. To add a command, write cmd_NAME.cpp
// defining a `Command` and list it in Commands() below.
#pragma once

#include "core/latin1.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

struct Command {
    std::string_view name;
    std::string_view summary;  // one line for "vexa --help"
    std::string_view usage;    // the full text for "vexa CMD --help"
    // Runs with the arguments after the command name; returns the exit code.
    int (*run)(const std::vector<std::string>& args);
};

extern const Command kShowCommand;
extern const Command kResaveCommand;
extern const Command kReadCommand;
extern const Command kSendCommand;
extern const Command kPrintCommand;
extern const Command kDiffCommand;
extern const Command kExportCommand;
extern const Command kImportCommand;
extern const Command kMapCommand;
extern const Command kImportIcfCommand;
extern const Command kImportMemCommand;
extern const Command kImportTrunkCommand;
extern const Command kOpenPelixoCommand;
extern const Command kImportCsvCommand;
extern const Command kDbCommand;

// clang-format off
inline std::vector<const Command*> Commands() {
    return {
        &kShowCommand,
        &kResaveCommand,
        &kReadCommand,
        &kSendCommand,
        &kPrintCommand,
        &kDiffCommand,
        &kExportCommand,
        &kImportCommand,
        &kMapCommand,
        &kImportIcfCommand,
        &kImportMemCommand,
        &kImportTrunkCommand,
        &kOpenPelixoCommand,
        &kImportCsvCommand,
        &kDbCommand,
    };
}
// clang-format on

// Exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Prints "vexa: MESSAGE" on stderr and returns `code`.
int Fail(std::string_view message, int code = kExitFailed);

// The options and positional arguments of one command line. Options take the forms
// "--name value" and "--name=value"; flags are "--name". Unknown options are an error.
struct ParsedArgs {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;  // name without "--", value
    bool help = false;
    std::string error;  // set when the line could not be parsed

    std::optional<std::string> option(std::string_view name) const;
};
ParsedArgs ParseArgs(const std::vector<std::string>& args,
                     const std::vector<std::string_view>& valueOptions,
                     const std::vector<std::string_view>& flagOptions = {});

// Latin-1 text of the files, made readable on a UTF-8 terminal.
using vex::Latin1ToUtf8;

}  // namespace vexa
