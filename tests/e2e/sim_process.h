// Running the programs for a test: a command line run to its end with its output captured, and a
// long-lived child (the simulator, the database service) that prints its address on its first
// line and takes control lines on its standard input. Plain POSIX, with or without an event loop.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../core/temp_folder.h"

extern char** environ;

namespace simtest {

using TempFolder = vex::test::TempFolder;

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Reads from `fd` into `text` until `enough(text)` or the time is up; false when the other end
// went away.
template <typename Enough>
bool ReadUntil(int fd, std::string& text, int timeoutMs, Enough enough) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!enough(text)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0) break;
        if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[512];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
    }
    return true;
}

// One shell word holding `arg` as it is, quotes included.
inline std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs `program` to its end as a user would from a shell without any display or terminal (in
// `cwd` when given).
inline Outcome Run(const std::string& program, const std::vector<std::string>& args,
                   const std::filesystem::path& cwd = {}) {
    TempFolder scratch;
    std::string command = cwd.empty() ? "" : "cd " + Quote(cwd.string()) + " && ";
    command += "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + Quote(program);
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " </dev/null >" + Quote((scratch / "out").string()) + " 2>" +
               Quote((scratch / "err").string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(scratch / "out"),
            ReadFile(scratch / "err")};
}

#ifdef VEXA_PATH
inline Outcome Vexa(const std::vector<std::string>& args, const std::filesystem::path& cwd = {}) {
    return Run(VEXA_PATH, args, cwd);
}
#endif

// A program that keeps running beside the test. It ends with its control input, so a test that
// dies leaves none behind.
class Child {
  public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { Stop(); }

    // Starts `program`; true once it has printed a first line (its address).
    bool Spawn(const std::string& program, std::vector<std::string> args, int timeoutMs) {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&d_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        d_control = in[1];
        d_output = out[0];
        if (spawned != 0) d_pid = -1;
        d_firstLine = spawned == 0 ? ReadLine(timeoutMs).value_or("") : "";
        return !d_firstLine.empty();
    }

    const std::string& firstLine() const { return d_firstLine; }

    // Sends a control line and returns the answer ("ok", "error: ...").
    std::string control(const std::string& line, int timeoutMs = 3000) {
        const std::string text = line + "\n";
        if (::write(d_control, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return "write failed";
        return ReadLine(timeoutMs).value_or("no answer");
    }

    // Waits for the process to end by itself; its exit code, or nullopt on time-out.
    std::optional<int> Wait(int timeoutMs) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (d_pid > 0 && std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(d_pid, &status, WNOHANG) == d_pid) {
                d_pid = -1;
                d_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else {
                ::usleep(2000);
            }
        }
        return d_pid > 0 ? std::nullopt : d_exitCode;
    }

    // SIGTERM, then SIGKILL if it does not end within two seconds. The exit code.
    std::optional<int> Stop() {
        if (d_pid > 0) {
            ::kill(d_pid, SIGTERM);
            if (!Wait(2000)) {
                ::kill(d_pid, SIGKILL);
                Wait(2000);
            }
        }
        for (int* fd : {&d_control, &d_output}) {
            if (*fd >= 0) ::close(*fd);
            *fd = -1;
        }
        return d_exitCode;
    }

  private:
    std::optional<std::string> ReadLine(int timeoutMs) {
        auto hasLine = [](const std::string& text) { return text.find('\n') != std::string::npos; };
        if (!ReadUntil(d_output, d_pending, timeoutMs, hasLine) || !hasLine(d_pending))
            return std::nullopt;
        const std::size_t end = d_pending.find('\n');
        std::string line = d_pending.substr(0, end);
        d_pending.erase(0, end + 1);
        return line;
    }

    pid_t d_pid = -1;
    int d_control = -1;
    int d_output = -1;
    std::string d_firstLine;
    std::string d_pending;
    std::optional<int> d_exitCode;
};

#ifdef BCT8SIM_PATH
// bct8sim on a pseudo-terminal.
class SimProcess : public Child {
  public:
    bool Start(std::vector<std::string> args, int timeoutMs = 5000) {
        args.insert(args.begin(), "--quit-on-eof");
        return Spawn(BCT8SIM_PATH, args, timeoutMs);
    }
    // Without reply latency at the fastest speed, unless `args` say otherwise.
    bool StartQuick(std::vector<std::string> args) {
        args.insert(args.begin(), {"--latency-ms", "0", "--baud", "115200"});
        return Start(args);
    }
    const std::string& device() const { return firstLine(); }
};
#endif

// A raw serial line on the simulator's device, as a terminal program would use it.
class RawPort {
  public:
    ~RawPort() { close(); }

    bool open(const std::string& device, speed_t speed = B19200) {
        d_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        termios settings{};
        if (d_fd < 0 || ::tcgetattr(d_fd, &settings) != 0) return false;
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, speed);
        return ::tcsetattr(d_fd, TCSANOW, &settings) == 0;
    }
    void close() {
        if (d_fd >= 0) ::close(d_fd);
        d_fd = -1;
    }

    void Send(const std::string& command, const std::string& end = "\r\n") {
        const std::string text = command + end;
        (void)!::write(d_fd, text.data(), text.size());
    }

    // Everything that arrives until the text ends with `lines` carriage returns, or the time is
    // up.
    std::string Read(int timeoutMs, int lines = 1) {
        std::string got;
        ReadUntil(d_fd, got, timeoutMs, [lines](const std::string& text) {
            return std::count(text.begin(), text.end(), '\r') >= lines;
        });
        return got;
    }

    std::string Ask(const std::string& command, int timeoutMs = 1000, int lines = 1) {
        Send(command);
        return Read(timeoutMs, lines);
    }

  private:
    int d_fd = -1;
};

}  // namespace simtest
