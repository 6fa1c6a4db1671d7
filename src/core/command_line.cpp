#include "core/command_line.h"

#include <algorithm>

namespace vex {
namespace {

const CliOption* FindLong(std::span<const CliOption> options, std::string_view name) {
    for (const CliOption& option : options)
        if (option.name == name) return &option;
    return nullptr;
}

const CliOption* FindLetter(std::span<const CliOption> options, char letter) {
    for (const CliOption& option : options)
        if (option.letter != 0 && option.letter == letter) return &option;
    return nullptr;
}

std::string Spelling(const CliOption& option) {
    return "--" + std::string(option.name);
}

}  // namespace

bool CliArgs::has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const auto& option) { return option.first == name; });
}

std::optional<std::string> CliArgs::value(std::string_view name) const {
    std::optional<std::string> found;
    for (const auto& [key, text] : options)
        if (key == name) found = text;
    return found;
}

std::vector<std::string> CliArgs::values(std::string_view name) const {
    std::vector<std::string> found;
    for (const auto& [key, text] : options)
        if (key == name) found.push_back(text);
    return found;
}

CliArgs ParseCommandLine(const std::vector<std::string>& args, std::span<const CliOption> options) {
    CliArgs parsed;
    bool onlyPositional = false;
    // After a problem the rest is only looked through for a request for help.
    const auto problem = [&](std::string text) {
        if (parsed.error.empty()) parsed.error = std::move(text);
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
            if (parsed.error.empty()) parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        const CliOption* option = nullptr;
        std::optional<std::string> value;
        std::string spelled = arg;
        if (arg[1] == '-') {
            std::string name = arg.substr(2);
            if (const std::size_t equals = name.find('='); equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
                spelled = "--" + name;
            }
            option = FindLong(options, name);
        } else if (arg.size() == 2) {
            option = FindLetter(options, arg[1]);
        }
        if (!option) {
            problem("unknown option '" + spelled + "'");
            continue;
        }
        if (option->valueName.empty()) {
            if (value) problem("option '" + Spelling(*option) + "' takes no value");
            if (parsed.error.empty() || option->name == kHelpOption.name)
                parsed.options.emplace_back(option->name, "");
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                problem("option '" + Spelling(*option) + "' needs a value");
                continue;
            }
            value = args[++i];
        }
        if (parsed.error.empty()) parsed.options.emplace_back(option->name, *value);
    }
    return parsed;
}

std::string OptionList(std::span<const CliOption> options) {
    std::vector<std::pair<std::string, std::string_view>> rows;
    std::size_t width = 0;
    for (const CliOption& option : options) {
        if (option.help.empty()) continue;
        std::string names = option.letter ? std::string("-") + option.letter + ", " : "    ";
        names += "--" + std::string(option.name);
        if (!option.valueName.empty()) names += " " + std::string(option.valueName);
        width = std::max(width, names.size());
        rows.emplace_back(std::move(names), option.help);
    }
    std::string text;
    for (const auto& [names, help] : rows)
        text +=
            "  " + names + std::string(width - names.size() + 2, ' ') + std::string(help) + '\n';
    return text;
}

}  // namespace vex
