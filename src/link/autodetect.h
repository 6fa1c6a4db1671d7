// Finding the scanner by itself: every candidate device is first opened and closed once (the
// ones that cannot be opened are left out without a word), then each remaining device is tried
// at every speed in turn with the identification command. One job on the link, so it never
// blocks the event loop, and can be stopped at any point.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/link.h"
#include "link/scheduler.h"
#include "link/task.h"
#include "link/transport.h"

namespace vex {

// The speeds the scanner offers, in the order the list shows them and the search tries them.
inline constexpr std::array<long, 5> kBaudRates{4800, 9600, 19200, 38400, 57600};

inline constexpr std::string_view kAutodetectInstructions =
    "Autodetect: make sure your scanner is connected and switched ON.\n"
    "Verify scanner remote mode is enabled:\n"
    "\n"
    "Press and hold '.' (decimal) button and check a baudrate speed is selected.";
inline constexpr std::string_view kAutodetectFound = "VEX has succesfully detected your scanner!";
inline constexpr std::string_view kAutodetectNotFound =
    "VEXA has not detected your scanner, please check scanner is switched ON and connected. Also "
    "make sure scanner is in remote mode.";

// The wait after each identification command, in milliseconds.
inline constexpr std::int64_t kAutodetectWaitMs = 200;

// Makes the line for one device at one speed (8N1, no flow control).
using DeviceTransportFactory =
    std::function<std::unique_ptr<Transport>(const std::string& device, long baud)>;

struct AutodetectProgress {
    std::string text;  // "Checking /dev/ttyUSB0...", "Trying /dev/ttyUSB0 at 9600..."
    int done = 0;      // steps finished so far
    int total = 0;     // steps known so far (grows once the available devices are known)
};

struct AutodetectResult {
    bool found = false;
    bool stopped = false;  // stopped by the user: nothing is taken, even a match seen so far
    std::string device;    // the last match in search order, when found
    long baud = 0;
    std::vector<std::string> available;  // the devices that could be opened, in search order
};

class Autodetect {
  public:
    Autodetect(Scheduler& scheduler, DeviceTransportFactory factory);
    ~Autodetect();
    Autodetect(const Autodetect&) = delete;
    Autodetect& operator=(const Autodetect&) = delete;

    std::function<void(const AutodetectProgress&)> onProgress;
    // Called once when the search has ended, from a timer (never from inside start or stop).
    std::function<void(const AutodetectResult&)> onFinished;

    // Starts the search over the devices in this order (duplicates are tried once). Ignored
    // while a search runs.
    void start(std::vector<std::string> devices);
    // Ends a running search: the open line is closed and onFinished reports stopped.
    void stop();
    bool running() const { return d_running; }

  private:
    class Line;
    Task<void> search();
    // Opens the device at the speed, sends the identification twice and looks for the answer.
    Task<bool> identifies(const std::string& device, long baud);
    void onSearchEnded();
    void progress(std::string text);

    Scheduler& d_scheduler;
    DeviceTransportFactory d_factory;
    // The device being tried; the link talks through it, so it goes after the link.
    std::unique_ptr<Line> d_line;
    std::unique_ptr<Link> d_link;
    bool d_running = false;
    bool d_stopping = false;
    bool d_searching = false;  // the availability pass is over
    std::vector<std::string> d_devices;
    Scheduler::TimerId d_stopReport = 0;
    int d_done = 0;
    AutodetectResult d_result;
};

}  // namespace vex
