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
    : scanner_(scanner),
      faults_(faults),
      responder_(scanner, faults),
      options_(std::move(options)) {}

Wire::~Wire() {
    Close();
}

Wire::Clock::duration Wire::ByteTime() const {
    // Start bit, eight data bits, stop bit.
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(10.0 / static_cast<double>(options_.baud)));
}

bool Wire::Open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    devicePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);

    // Holding the terminal open keeps the pair alive while the program closes and reopens its
    // port (it does that on every retry), and lets the line settings persist in between.
    holder_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (holder_ < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return false;
    }
    termios settings{};
    ::tcgetattr(holder_, &settings);
    ::cfmakeraw(&settings);
    const speed_t speed = SpeedConstant(options_.baud);
    if (speed != B0) {
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
    }
    ::tcsetattr(holder_, TCSANOW, &settings);

    if (!options_.linkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(options_.linkPath, ec)) {
            std::filesystem::remove(options_.linkPath, ec);
        } else if (std::filesystem::exists(options_.linkPath, ec)) {
            error = options_.linkPath.string() + " exists and is not a link; not replacing it";
            return false;
        }
        std::filesystem::create_symlink(devicePath_, options_.linkPath, ec);
        if (ec) {
            error = "cannot create " + options_.linkPath.string() + ": " + ec.message();
            return false;
        }
    }
    started_ = Clock::now();
    rxFree_ = txFree_ = started_;
    return true;
}

void Wire::Close() {
    if (master_ >= 0) ::close(master_);
    if (holder_ >= 0) ::close(holder_);
    master_ = holder_ = -1;
    if (!options_.linkPath.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(options_.linkPath, ec)) {
            std::filesystem::remove(options_.linkPath, ec);
        }
    }
}

bool Wire::SaveMemory(std::string& error) {
    if (options_.memoryFile.empty()) return true;
    const vex::WriteResult result = vex::WriteFileAtomically(options_.memoryFile, scanner_.Save());
    if (!result) {
        error = "cannot write " + options_.memoryFile.string() + ": " + result.error;
        return false;
    }
    scanner_.clearDirty();
    return true;
}

void Wire::Trace(const char* direction, const std::string& text) {
    if (!options_.trace) return;
    const double seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    std::fprintf(options_.trace, "%10.4f %s %s\n", seconds, direction, Printable(text).c_str());
    std::fflush(options_.trace);
}

bool Wire::ClientSpeedMatches() const {
    if (!options_.strictBaud) return true;
    termios settings{};
    if (::tcgetattr(master_, &settings) != 0) return true;
    const long speed = SpeedValue(::cfgetospeed(&settings));
    return speed == 0 || speed == options_.baud;
}

void Wire::Receive(const char* data, std::size_t size, Clock::time_point now) {
    // Bytes cross the wire one after another; a command is complete when its last byte is in.
    if (rxFree_ < now) rxFree_ = now;
    const bool speedOk = ClientSpeedMatches();
    for (std::size_t i = 0; i < size; ++i) {
        rxFree_ += ByteTime();
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            // CR ends a line; the LF of a CR LF pair ends an empty one, which is ignored.
            if (!line_.empty() || c == '\r') {
                if (lineGarbled_) {
                    Trace("<", line_ + " (sent at the wrong baud rate: ignored)");
                } else {
                    pending_.push_back({line_, rxFree_});
                }
            }
            line_.clear();
            lineGarbled_ = false;
            continue;
        }
        if (!speedOk) lineGarbled_ = true;
        line_ += c;
        if (line_.size() > 512) {  // no command is this long: drop the noise
            line_.clear();
            lineGarbled_ = false;
        }
    }
}

void Wire::Queue(const std::string& text, Clock::time_point start) {
    Clock::time_point due = std::max(start, txFree_);
    for (char c : text) {
        due += ByteTime();
        outgoing_.push_back({c, due});
    }
    txFree_ = due;
}

void Wire::Flush(Clock::time_point now) {
    std::string chunk;
    for (const Outgoing& o : outgoing_) {
        if (o.due > now) break;
        chunk += o.byte;
    }
    if (chunk.empty()) return;
    const ssize_t written = ::write(master_, chunk.data(), chunk.size());
    if (written > 0) {
        outgoing_.erase(outgoing_.begin(), outgoing_.begin() + written);
    } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
        outgoing_.clear();  // nobody can receive it
    }
}

void Wire::Serve(Clock::time_point now, bool& disconnect) {
    const auto latency = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double, std::milli>(options_.latencyMs));
    while (!pending_.empty()) {
        // The scanner handles one command at a time: after the previous reply is out and its
        // own latency has passed.
        const Clock::time_point start = std::max(pending_.front().complete + latency, txFree_);
        if (start > now) return;
        const std::string command = std::move(pending_.front().command);
        pending_.pop_front();
        if (command.empty()) {
            Trace("<", "");
            continue;
        }
        Trace("<", command);
        const unsigned long changesBefore = scanner_.changes();
        const Response response = responder_.answer(command);
        if (scanner_.changes() != changesBefore) lastChange_ = now;
        if (response.fault) Trace("!", FaultName(*response.fault));
        if (response.disconnect) {
            disconnect = true;
            return;
        }
        if (!response.text) continue;
        Trace(">", *response.text);
        Queue(*response.text, start);
    }
}

void Wire::Control(const std::string& line, bool& quit) {
    std::string reply = "ok";
    if (line.rfind("fault ", 0) == 0) {
        std::string error;
        if (auto fault = ParseFault(line.substr(6), error)) {
            faults_.Add(*fault);
        } else {
            reply = "error: " + error;
        }
    } else if (line == "clear") {
        faults_.Clear();
    } else if (line == "save") {
        std::string error;
        if (!SaveMemory(error)) reply = "error: " + error;
    } else if (line == "count") {
        reply = "ok " + std::to_string(responder_.commandCount());
    } else if (line == "quit") {
        quit = true;
    } else if (!line.empty()) {
        reply = "error: unknown control line (fault FAULT, clear, save, count, quit)";
    }
    std::printf("%s\n", reply.c_str());
    std::fflush(stdout);
}

int Wire::Run(volatile std::sig_atomic_t& stop) {
    sigset_t blocked, waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &waiting);
    sigdelset(&waiting, SIGTERM);
    sigdelset(&waiting, SIGINT);
    sigdelset(&waiting, SIGHUP);

    const auto saveDelay = std::chrono::milliseconds(options_.saveDelayMs);
    bool quit = false;
    bool disconnect = false;
    int exitCode = 0;
    char buffer[4096];
    const auto scanStep = std::chrono::milliseconds(options_.scanMs);
    Clock::time_point nextScan = Clock::now() + scanStep;
    while (!stop && !quit && !disconnect) {
        Clock::time_point now = Clock::now();
        if (options_.scanMs > 0 && now >= nextScan) {
            scanner_.Tick();
            nextScan = std::max(nextScan + scanStep, now);
        }
        Serve(now, disconnect);
        if (disconnect) break;
        Flush(now);
        if (scanner_.dirty() && now - lastChange_ >= saveDelay) {
            std::string error;
            if (!SaveMemory(error)) {
                std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
                lastChange_ = now;  // try again later rather than spin
            }
        }

        // Sleep until the next thing to do, or input.
        std::optional<Clock::time_point> wake;
        auto consider = [&](Clock::time_point t) {
            if (!wake || t < *wake) wake = t;
        };
        if (!outgoing_.empty()) consider(outgoing_.front().due);
        if (!pending_.empty()) {
            consider(
                std::max(pending_.front().complete +
                             std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double, std::milli>(options_.latencyMs)),
                         txFree_));
        }
        if (scanner_.dirty()) consider(lastChange_ + saveDelay);
        if (options_.scanMs > 0) consider(nextScan);
        timespec timeout{};
        timespec* timeoutPointer = nullptr;
        if (wake) {
            const auto left = std::max(Clock::duration::zero(), *wake - Clock::now());
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timeout.tv_sec = ns / 1000000000;
            timeout.tv_nsec = ns % 1000000000;
            timeoutPointer = &timeout;
        }
        pollfd fds[2] = {{master_, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const nfds_t count = options_.control && controlOpen_ ? 2 : 1;
        const int ready = ::ppoll(fds, count, timeoutPointer, &waiting);
        if (ready < 0) {
            if (errno == EINTR) continue;
            std::fprintf(stderr, "bct8sim: poll: %s\n", std::strerror(errno));
            exitCode = 1;
            break;
        }
        now = Clock::now();
        if (fds[0].revents & POLLIN) {
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got > 0) Receive(buffer, static_cast<std::size_t>(got), now);
        }
        if (count > 1 && (fds[1].revents & (POLLIN | POLLHUP))) {
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                controlOpen_ = false;
                if (options_.quitOnEof) quit = true;
            } else {
                control_.append(buffer, static_cast<std::size_t>(got));
                std::size_t end;
                while ((end = control_.find('\n')) != std::string::npos) {
                    std::string line = control_.substr(0, end);
                    control_.erase(0, end + 1);
                    if (!line.empty() && line.back() == '\r') line.pop_back();
                    Control(line, quit);
                }
            }
        }
    }
    if (disconnect)
        std::fprintf(stderr, "bct8sim: disconnecting after command %d\n",
                     responder_.commandCount());
    Close();
    std::string error;
    if (!SaveMemory(error)) {
        std::fprintf(stderr, "bct8sim: %s\n", error.c_str());
        exitCode = 1;
    }
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    return exitCode;
}

}  // namespace bct8sim
