// Runs bct8sim for a test: starts it, learns its device path, talks to its control input and
// stops it again. Plain POSIX, so it works with or without a Qt event loop.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace simtest {

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vex-e2e-XXXXXX").string();
        if (::mkdtemp(pattern.data())) d_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        if (!d_path.empty()) std::filesystem::remove_all(d_path, ec);
    }
    const std::filesystem::path& path() const { return d_path; }
    std::filesystem::path operator/(const std::string& name) const { return d_path / name; }

  private:
    std::filesystem::path d_path;
};

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SimProcess {
  public:
    SimProcess() = default;
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;
    ~SimProcess() { Stop(); }

    // Starts bct8sim with the arguments; true once it has printed its device path.
    bool Start(const std::vector<std::string>& arguments, int timeoutMs = 5000) {
        int in[2], out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        // The simulator ends with its control input, so a crashed test leaves none behind.
        std::vector<std::string> args{BCT8SIM_PATH, "--quit-on-eof"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&d_pid, BCT8SIM_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        d_control = in[1];
        d_output = out[0];
        ::fcntl(d_control, F_SETFD, FD_CLOEXEC);
        ::fcntl(d_output, F_SETFD, FD_CLOEXEC);
        if (spawned != 0) {
            d_pid = -1;
            return false;
        }
        const std::optional<std::string> line = ReadLine(timeoutMs);
        if (!line) return false;
        d_device = *line;
        return !d_device.empty();
    }

    const std::string& device() const { return d_device; }
    pid_t pid() const { return d_pid; }

    // Sends a control line and returns the simulator's answer ("ok", "error: ...").
    std::string Control(const std::string& line, int timeoutMs = 3000) {
        const std::string text = line + "\n";
        if (::write(d_control, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            return "write failed";
        }
        return ReadLine(timeoutMs).value_or("no answer");
    }

    // Waits for the process to end by itself; its exit code, or nullopt on time-out.
    std::optional<int> Wait(int timeoutMs) {
        if (d_pid <= 0) return d_exitCode;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            const pid_t done = ::waitpid(d_pid, &status, WNOHANG);
            if (done == d_pid) {
                d_pid = -1;
                d_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return d_exitCode;
            }
            ::usleep(2000);
        }
        return std::nullopt;
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
        if (d_control >= 0) ::close(d_control);
        if (d_output >= 0) ::close(d_output);
        d_control = d_output = -1;
        return d_exitCode;
    }

  private:
    std::optional<std::string> ReadLine(int timeoutMs) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const std::size_t end = d_pendingOutput.find('\n');
            if (end != std::string::npos) {
                std::string line = d_pendingOutput.substr(0, end);
                d_pendingOutput.erase(0, end + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return std::nullopt;
            pollfd fd{d_output, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[512];
            const ssize_t got = ::read(d_output, buffer, sizeof buffer);
            if (got <= 0) return std::nullopt;
            d_pendingOutput.append(buffer, static_cast<std::size_t>(got));
        }
    }

    pid_t d_pid = -1;
    int d_control = -1;
    int d_output = -1;
    std::string d_device;
    std::string d_pendingOutput;
    std::optional<int> d_exitCode;
};

// A raw serial line on the simulator's device, as a terminal program would use it.
class RawPort {
  public:
    ~RawPort() { Close(); }

    bool Open(const std::string& device, speed_t speed = B19200) {
        d_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (d_fd < 0) return false;
        termios settings{};
        ::tcgetattr(d_fd, &settings);
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
        return ::tcsetattr(d_fd, TCSANOW, &settings) == 0;
    }
    void Close() {
        if (d_fd >= 0) ::close(d_fd);
        d_fd = -1;
    }

    void Send(const std::string& command, const std::string& end = "\r\n") {
        const std::string text = command + end;
        (void)!::write(d_fd, text.data(), text.size());
    }

    // Everything that arrives until the text ends with `lines` carriage returns, or the time is
    // up. `eof` tells whether the device went away.
    std::string Read(int timeoutMs, int lines = 1, bool* eof = nullptr) {
        std::string got;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        int seen = 0;
        if (eof) *eof = false;
        while (seen < lines) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd fd{d_fd, POLLIN, 0};
            const int ready = ::poll(&fd, 1, static_cast<int>(left.count()));
            if (ready <= 0) continue;
            char buffer[256];
            const ssize_t n = ::read(d_fd, buffer, sizeof buffer);
            if (n <= 0) {
                if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                    if (eof) *eof = true;
                    break;
                }
                continue;
            }
            for (ssize_t i = 0; i < n; ++i) seen += buffer[i] == '\r';
            got.append(buffer, static_cast<std::size_t>(n));
        }
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
