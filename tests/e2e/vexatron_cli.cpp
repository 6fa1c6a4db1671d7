// The vexatron program as started from a shell without any display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#ifdef VEXATRON_PATH

namespace {

struct Outcome {
    int code = -1;
    std::string out;  // stdout and stderr together
};

// Runs vexatron with no display of any kind and collects what it says.
Outcome Vexatron(const std::string& args) {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                std::string(VEXATRON_PATH) + "' " + args + " 2>&1";
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

TEST(VexatronCli, HelpPrintsTheUsageWithoutADisplay) {
    for (const char* args : {"--help", "-h", "--dir /nowhere --help"}) {
        const Outcome r = Vexatron(args);
        EXPECT_EQ(r.code, 0) << args << "\n" << r.out;
        EXPECT_EQ(r.out.rfind("Usage: vexatron [--dir FOLDER] [FILE.mem]\n", 0), 0u) << r.out;
    }
}

}  // namespace

#endif
