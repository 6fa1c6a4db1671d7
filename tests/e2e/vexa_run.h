// Runs the vexa command line as a user would, through the shell, and collects what it says.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#ifdef VEXA_PATH

namespace vexarun {

struct Outcome {
    int code = -1;
    std::string out;  // stdout and stderr together
};

// One shell word holding `arg` as it is, quotes included.
inline std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline Outcome Vexa(const std::vector<std::string>& args) {
    std::string command = Quote(VEXA_PATH);
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " 2>&1";
    Outcome run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace vexarun

#endif
