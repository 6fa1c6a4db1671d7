#include "wire.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "core/atomic_file.h"

namespace bct8sim {
namespace {

long SpeedValue(speed_t speed) {
    switch (speed) {
        case B1200:
            return 1200;
        case B2400:
            return 2400;
        case B4800:
            return 4800;
        case B9600:
            return 9600;
        case B19200:
            return 19200;
        case B38400:
            return 38400;
        case B57600:
            return 57600;
        case B115200:
            return 115200;
        default:
            return 0;
    }
}

speed_t SpeedConstant(long baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

std::string Printable(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c < 32 || c >= 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace

Wire::Wire(Scanner& scanner, FaultPlan& faults, WireOptions options)
    : d_scanner(scanner),
      d_faults(faults),
      d_responder(scanner, faults),
      d_options(std::move(options)) {}

Wire::~Wire() {
    close();
}

Wire::Clock::duration Wire::byteTime() const {
    // Start bit, eight data bits, stop bit.
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(10.0 / static_cast<double>(d_options.baud)));
}

bool Wire::open(std::string& error) {
    d_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (d_master < 0 || ::grantpt(d_master) != 0 || ::unlockpt(d_master) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(d_master);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    d_devicePath = name;
    ::fcntl(d_master, F_SETFL, ::fcntl(d_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(d_master, F_SETFD, FD_CLOEXEC);

    // Holding the terminal open keeps the pair alive while the program closes and reopens its
    // port (it does that on every retry), and lets the line settings persist in between.
    d_holder = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (d_holder < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return false;
    }
    termios settings{};
    ::tcgetattr(d_holder, &settings);
    ::cfmakeraw(&settings);
    const speed_t speed = SpeedConstant(d_options.baud);
    if (speed != B0) {
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
    }
    ::tcsetattr(d_holder, TCSANOW, &settings);

    if (!d_options.linkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(d_options.linkPath, ec)) {
            std::filesystem::remove(d_options.linkPath, ec);
        } else if (std::filesystem::exists(d_options.linkPath, ec)) {
            error = d_options.linkPath.string() + " exists and is not a link; not replacing it";
            return false;
        }
        std::filesystem::create_symlink(d_devicePath, d_options.linkPath, ec);
        if (ec) {
            error = "cannot create " + d_options.linkPath.string() + ": " + ec.message();
            return false;
        }
    }
    d_started = Clock::now();
    d_rxFree = d_txFree = d_started;
    return true;
}

void Wire::close() {
    if (d_master >= 0) ::close(d_master);
    if (d_holder >= 0) ::close(d_holder);
    d_master = d_holder = -1;
    if (!d_options.linkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(d_options.linkPath, ec)) {
            std::filesystem::remove(d_options.linkPath, ec);
        }
    }
}

bool Wire::saveMemory(std::string& error) {
    if (d_options.memoryFile.empty()) return true;
    const vex::WriteResult result =
        vex::WriteFileAtomically(d_options.memoryFile, d_scanner.save());
    if (!result) {
        error = "cannot write " + d_options.memoryFile.string() + ": " + result.error;
        return false;
    }
    d_scanner.clearDirty();
    return true;
}

void Wire::trace(const char* direction, const std::string& text) {
    if (!d_options.trace) return;
    const double seconds = std::chrono::duration<double>(Clock::now() - d_started).count();
    std::fprintf(d_options.trace, "%10.4f %s %s\n", seconds, direction, Printable(text).c_str());
    std::fflush(d_options.trace);
}

bool Wire::clientSpeedMatches() const {
    if (!d_options.strictBaud) return true;
    termios settings{};
    if (::tcgetattr(d_master, &settings) != 0) return true;
    const long speed = SpeedValue(::cfgetospeed(&settings));
    return speed == 0 || speed == d_options.baud;
}

void Wire::receive(const char* data, std::size_t size, Clock::time_point now) {
    // Bytes cross the wire one after another; a command is complete when its last byte is in.
    if (d_rxFree < now) d_rxFree = now;
    const bool speedOk = clientSpeedMatches();
    for (std::size_t i = 0; i < size; ++i) {
        d_rxFree += byteTime();
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            // CR ends a line; the LF of a CR LF pair ends an empty one, which is ignored.
            if (!d_line.empty() || c == '\r') {
                if (d_lineGarbled) {
                    trace("<", d_line + " (sent at the wrong baud rate: ignored)");
                } else {
                    d_pending.push_back({d_line, d_rxFree});
                }
            }
            d_line.clear();
            d_lineGarbled = false;
            continue;
        }
        if (!speedOk) d_lineGarbled = true;
        d_line += c;
        if (d_line.size() > 512) {  // no command is this long: drop the noise
            d_line.clear();
            d_lineGarbled = false;
        }
    }
}

void Wire::queue(const std::string& text, Clock::time_point start) {
    Clock::time_point due = std::max(start, d_txFree);
    for (char c : text) {
        due += byteTime();
        d_outgoing.push_back({c, due});
    }
    d_txFree = due;
}

void Wire::flush(Clock::time_point now) {
    std::string chunk;
    for (const Outgoing& o : d_outgoing) {
        if (o.due > now) break;
        chunk += o.byte;
    }
    if (chunk.empty()) return;
    const ssize_t written = ::write(d_master, chunk.data(), chunk.size());
    if (written > 0) {
        d_outgoing.erase(d_outgoing.begin(), d_outgoing.begin() + written);
    } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
        d_outgoing.clear();  // nobody can receive it
    }
}

void Wire::serve(Clock::time_point now, bool& disconnect) {
    const auto latency = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(d_options.latencyMs));
    while (!d_pending.empty()) {
        // The scanner handles one command at a time: after the previous reply is out and its
        // own latency has passed.
        const Clock::time_point start = std::max(d_pending.front().complete + latency, d_txFree);
        if (start > now) return;
        const std::string command = std::move(d_pending.front().command);
        d_pending.pop_front();
        if (command.empty()) {
            trace("<", "");
            continue;
        }
        trace("<", command);
        const unsigned long changesBefore = d_scanner.changes();
        const Response response = d_responder.answer(command);
        if (d_scanner.changes() != changesBefore) d_lastChange = now;
        if (response.fault) trace("!", FaultName(*response.fault));
        if (response.disconnect) {
            disconnect = true;
            return;
        }
        if (!response.text) continue;
        trace(">", *response.text);
        queue(*response.text, start);
    }
}

void Wire::control(const std::string& line, bool& quit) {
    std::string reply = "ok";
    if (line.rfind("fault ", 0) == 0) {
        std::string error;
        if (auto fault = ParseFault(line.substr(6), error)) {
            d_faults.add(*fault);
        } else {
            reply = "error: " + error;
        }
    } else if (line == "clear") {
        d_faults.clear();
    } else if (line == "save") {
        std::string error;
        if (!saveMemory(error)) reply = "error: " + error;
    } else if (line == "count") {
        reply = "ok " + std::to_string(d_responder.commandCount());
    } else if (line == "quit") {
        quit = true;
    } else if (!line.empty()) {
        reply = "error: unknown control line (fault FAULT, clear, save, count, quit)";
    }
    std::printf("%s\n", reply.c_str());
    std::fflush(stdout);
}

int Wire::run(volatile std::sig_atomic_t& stop) {
    sigset_t blocked, waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waiting);
    sigdelset(&waiting, SIGTERM);
    sigdelset(&waiting, SIGINT);
    sigdelset(&waiting, SIGHUP);

    const auto saveDelay = std::chrono::milliseconds(d_options.saveDelayMs);
    bool quit = false;
    bool disconnect = false;
    int exitCode = 0;
    char buffer[4096];
    const auto scanStep = std::chrono::milliseconds(d_options.scanMs);
    Clock::time_point nextScan = Clock::now() + scanStep;
    while (!stop && !quit && !disconnect) {
        Clock::time_point now = Clock::now();
        if (d_options.scanMs > 0 && now >= nextScan) {
            d_scanner.tick();
            nextScan = std::max(nextScan + scanStep, now);
        }
        serve(now, disconnect);
        if (disconnect) break;
        flush(now);
        if (d_scanner.dirty() && now - d_lastChange >= saveDelay) {
            std::string error;
            if (!saveMemory(error)) {
                std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
                d_lastChange = now;  // try again later rather than spin
            }
        }

        // Sleep until the next thing to do, or input.
        std::optional<Clock::time_point> wake;
        auto consider = [&](Clock::time_point t) {
            if (!wake || t < *wake) wake = t;
        };
        if (!d_outgoing.empty()) consider(d_outgoing.front().due);
        if (!d_pending.empty()) {
            consider(
                std::max(d_pending.front().complete +
                             std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double, std::milli>(d_options.latencyMs)),
                         d_txFree));
        }
        if (d_scanner.dirty()) consider(d_lastChange + saveDelay);
        if (d_options.scanMs > 0) consider(nextScan);
        timespec timeout{};
        timespec* timeoutPointer = nullptr;
        if (wake) {
            const auto left = std::max(Clock::duration::zero(), *wake - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = ns / 1000000000;
            timeout.tv_nsec = ns % 1000000000;
            timeoutPointer = &timeout;
        }
        pollfd fds[2] = {{d_master, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const nfds_t count = d_options.control && d_controlOpen ? 2 : 1;
        const int ready = ::ppoll(fds, count, timeoutPointer, &waiting);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "bct8sim: poll: %s\n", std::strerror(errno));
            exitCode = 1;
            break;
        }
        now = Clock::now();
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(d_master, buffer, sizeof buffer);
            if (got > 0) receive(buffer, static_cast<std::size_t>(got), now);
        }
        if (count > 1 && (fds[1].revents & (POLLIN | POLLHUP))) {
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                d_controlOpen = false;
                if (d_options.quitOnEof) quit = true;
            } else {
                d_control.append(buffer, static_cast<std::size_t>(got));
                std::size_t end;
                while ((end = d_control.find('\n')) != std::string::npos) {
                    std::string line = d_control.substr(0, end);
                    d_control.erase(0, end + 1);
                    if (!line.empty() && line.back() == '\r') line.pop_back();
                    control(line, quit);
                }
            }
        }
    }
    if (disconnect)
        std::fprintf(stderr, "bct8sim: disconnecting after command %d\n",
                     d_responder.commandCount());
    close();
    std::string error;
    if (!saveMemory(error)) {
        std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
        exitCode = 1;
    }
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    return exitCode;
}

}  // namespace bct8sim
