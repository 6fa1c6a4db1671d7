// The simulator's side of the serial cable: a pseudo-terminal whose other end the program opens
// as its serial port, paced like a real RS-232 line (10 bits per byte at the chosen baud rate)
// with the scanner's reply latency, and with the requested faults injected.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>

#include "sim/faults.h"
#include "sim/responder.h"
#include "sim/scanner.h"

namespace bct8sim {

struct WireOptions {
    double latencyMs = 5;
    long baud = 19200;
    bool strictBaud = true;  // ignore commands sent at another speed, as the real scanner would
    int saveDelayMs = 100;   // the memory file is written this long after the last change
    std::filesystem::path memoryFile;  // empty: keep the memory only while running
    std::filesystem::path linkPath;    // optional symlink to the terminal device
    std::FILE* trace = nullptr;        // serial trace, or nullptr
    bool control = true;               // take control lines on standard input
    bool quitOnEof = false;            // end when standard input closes (its owner is gone)
    int scanMs = 0;  // > 0: the scan takes a step this often instead of at every display poll
};

class Wire {
  public:
    using Clock = std::chrono::steady_clock;

    Wire(Scanner& scanner, FaultPlan& faults, WireOptions options);
    ~Wire();

    // Creates the pseudo-terminal; false with a reason when that is impossible.
    bool open(std::string& error);
    const std::string& devicePath() const { return d_devicePath; }

    // Serves until `stop` becomes non-zero, a "quit" control line, or a disconnect fault.
    // Returns the process exit code.
    int run(volatile std::sig_atomic_t& stop);

    // Writes the memory file now (when there is one). False with a reason on failure.
    bool saveMemory(std::string& error);

  private:
    struct Pending {
        std::string command;
        Clock::time_point complete;  // when its last byte had crossed the wire
    };
    struct Outgoing {
        char byte;
        Clock::time_point due;
    };

    void receive(const char* data, std::size_t size, Clock::time_point now);
    void serve(Clock::time_point now, bool& disconnect);
    void queue(const std::string& text, Clock::time_point start);
    void flush(Clock::time_point now);
    void control(const std::string& line, bool& quit);
    bool clientSpeedMatches() const;
    void trace(const char* direction, const std::string& text);
    void close();
    Clock::duration byteTime() const;

    Scanner& d_scanner;
    FaultPlan& d_faults;
    Responder d_responder;
    WireOptions d_options;
    int d_master = -1;
    int d_holder = -1;  // our own handle on the terminal, so the client may close and reopen it
    std::string d_devicePath;
    std::string d_line;
    bool d_lineGarbled = false;
    Clock::time_point d_rxFree{};  // when the receive side of the wire is idle again
    Clock::time_point d_txFree{};  // when the last queued reply byte has left
    std::deque<Pending> d_pending;
    std::deque<Outgoing> d_outgoing;
    Clock::time_point d_started;
    Clock::time_point d_lastChange{};
    std::string d_control;
    bool d_controlOpen = true;
};

}  // namespace bct8sim
