#include "link/autodetect.h"

#include <algorithm>

namespace vex {

namespace {

constexpr std::string_view kIdentify = "SI\r\n";

}  // namespace

Autodetect::Autodetect(Scheduler& scheduler, DeviceTransportFactory factory)
    : d_scheduler(scheduler), d_factory(std::move(factory)) {}

Autodetect::~Autodetect() {
    if (d_timer) d_scheduler.cancelTimer(d_timer);
    closeLine();
}

void Autodetect::start(std::vector<std::string> devices) {
    if (d_running) return;
    d_devices.clear();
    for (auto& device : devices) {
        if (device.empty()) continue;
        if (std::find(d_devices.begin(), d_devices.end(), device) == d_devices.end())
            d_devices.push_back(std::move(device));
    }
    d_result = {};
    d_device = 0;
    d_speed = 0;
    d_done = 0;
    d_searching = false;
    d_running = true;
    later(0, &Autodetect::availabilityStep);
}

void Autodetect::stop() {
    if (!d_running || d_stopping) return;
    if (d_timer) d_scheduler.cancelTimer(d_timer);
    closeLine();
    // Reported from a timer like every other end, so the caller's handler never runs inside
    // its own call to stop().
    d_stopping = true;
    d_timer = d_scheduler.startTimer(0, [this] {
        d_timer = 0;
        d_stopping = false;
        d_running = false;
        d_result.stopped = true;
        d_result.found = false;
        d_result.device.clear();
        d_result.baud = 0;
        if (onFinished) onFinished(d_result);
    });
}

void Autodetect::later(std::int64_t ms, void (Autodetect::*step)()) {
    d_timer = d_scheduler.startTimer(ms, [this, step] {
        d_timer = 0;
        (this->*step)();
    });
}

void Autodetect::progress(std::string text) {
    if (!onProgress) return;
    // Until the availability pass is over every device counts as available.
    const std::size_t searched = d_searching ? d_result.available.size() : d_devices.size();
    AutodetectProgress p;
    p.text = std::move(text);
    p.done = d_done;
    p.total = static_cast<int>(d_devices.size() + searched * kBaudRates.size());
    onProgress(p);
}

// One device per turn of the event loop: open it, note it when that worked, close it again.
void Autodetect::availabilityStep() {
    if (d_device >= d_devices.size()) {
        d_device = 0;
        d_speed = 0;
        d_searching = true;
        later(0, &Autodetect::searchStep);
        return;
    }
    const std::string& device = d_devices[d_device];
    progress("Checking " + device + "...");
    std::unique_ptr<Transport> line = d_factory(device, kBaudRates.front());
    if (line && line->open().ok()) {
        d_result.available.push_back(device);
        line->close();
    }
    ++d_device;
    ++d_done;
    later(0, &Autodetect::availabilityStep);
}

// Opens the current device at the current speed and sends the identification command; the
// second one follows after the first wait, the reply is read after the second.
void Autodetect::searchStep() {
    if (d_device >= d_result.available.size()) {
        finish();
        return;
    }
    const std::string& device = d_result.available[d_device];
    const long baud = kBaudRates[d_speed];
    progress("Trying " + device + " at " + std::to_string(baud) + "...");
    d_input.clear();
    d_line = d_factory(device, baud);
    if (!d_line || !d_line->open().ok()) {
        // Gone or taken since the availability pass: this combination is skipped.
        d_line.reset();
        readReply();
        return;
    }
    d_line->setDataHandler([this](std::string_view bytes) { d_input.append(bytes); });
    // A line that fails now simply yields no identification.
    d_line->setFaultHandler([](const TransportStatus&) {});
    d_line->write(kIdentify);
    later(kAutodetectWaitMs, &Autodetect::sendSecond);
}

void Autodetect::sendSecond() {
    if (d_line && d_line->isOpen()) d_line->write(kIdentify);
    later(kAutodetectWaitMs, &Autodetect::readReply);
}

void Autodetect::readReply() {
    if (d_line && d_input.find("BCT8") != std::string::npos) {
        // Every later match in the search order replaces this one.
        d_result.found = true;
        d_result.device = d_result.available[d_device];
        d_result.baud = kBaudRates[d_speed];
    }
    closeLine();
    ++d_done;
    if (++d_speed == kBaudRates.size()) {
        d_speed = 0;
        ++d_device;
    }
    later(0, &Autodetect::searchStep);
}

void Autodetect::closeLine() {
    if (!d_line) return;
    d_line->setDataHandler({});
    d_line->setFaultHandler({});
    d_line->close();
    d_line.reset();
}

void Autodetect::finish() {
    closeLine();
    d_running = false;
    progress(d_result.found ? "Scanner found on " + d_result.device + " at " +
                                  std::to_string(d_result.baud) + "."
                            : std::string("No scanner found."));
    if (onFinished) onFinished(d_result);
}

}  // namespace vex
