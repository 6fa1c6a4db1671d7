// What the transfer benchmarks share: a filled image and the simulator run as a process.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/image.h"

extern char** environ;

namespace bench {

inline std::string Frequency(long units) {
    char text[48];
    std::snprintf(text, sizeof text, "%04ld.%04ld", units / 10000, units % 10000);
    return text;
}

// Every channel, trunk ID and type of the five banks filled, and bank 1's trunk settings.
inline vex::Image FilledImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    const char* types[vex::kScannerBanks] = {"2", "4", "6", "8", "10"};
    const long base[vex::kScannerBanks] = {8510125, 4510000, 8660125, 1600000, 9355000};
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        image.TrunkType[b] = types[b];
        for (int s = 1; s <= vex::ChannelsPerBank; ++s) {
            vex::Channel& c = image.channel(b, s);
            c[vex::kFieldFrequency] = Frequency(base[b] + s * 125);
            c[vex::kFieldTrunk] = s % 3 == 0 ? "1" : "0";
            c[vex::kFieldDelay] = s % 2 == 0 ? "1" : "0";
            c[vex::kFieldLockout] = s % 5 == 0 ? "1" : "0";
        }
        for (int row = 0; row < vex::kTrunkIdUsedRows; ++row) {
            char text[16];
            std::snprintf(text, sizeof text, "%06d", 1000 + row * 17 + b);
            image.TrunkId[b][row][0] = text;
        }
    }
    image.TrunkSetting[0] = {"2", "1", "0", "", "", "1", "", "0", "", ""};
    return image;
}

// bct8sim with `args` (after the program name), stopped when this goes; device() is the
// pseudo-terminal it printed, empty when it did not start.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        args.insert(args.begin(), BCT8SIM_PATH);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&d_pid, BCT8SIM_PATH, &actions, nullptr, argv.data(), environ) != 0)
            d_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        char buffer[256];
        std::string line;
        ssize_t got;
        while (line.find('\n') == std::string::npos &&
               (got = ::read(out[0], buffer, sizeof buffer)) > 0)
            line.append(buffer, static_cast<std::size_t>(got));
        ::close(out[0]);
        d_device = line.substr(0, line.find('\n'));
    }
    ~SimProcess() {
        if (d_pid > 0) {
            ::kill(d_pid, SIGTERM);
            ::waitpid(d_pid, nullptr, 0);
        }
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    const std::string& device() const { return d_device; }

  private:
    pid_t d_pid = -1;
    std::string d_device;
};

}  // namespace bench
