#include "link/autodetect.h"

#include <algorithm>

#include "link/protocol.h"

namespace vex {

// The line the link talks over: whichever device is being tried, or none. Its failures only
// mean that no identification comes, so they never reach the link.
class Autodetect::Line : public Transport {
  public:
    ~Line() override { detach(); }

    void attach(std::unique_ptr<Transport> device) {
        detach();
        d_device = std::move(device);
        if (!d_device) return;
        d_device->setDataHandler([this](std::string_view bytes) { deliver(bytes); });
        d_device->setFaultHandler([](const TransportStatus&) {});
    }
    // Closes the device and lets it go.
    void detach() {
        if (!d_device) return;
        d_device->setDataHandler({});
        d_device->setFaultHandler({});
        d_device->close();
        d_device.reset();
    }
    bool attached() const { return d_device != nullptr; }

    TransportStatus open() override {
        if (!d_device) return {TransportFault::NotFound, std::string(kPortUnavailableMessage), {}};
        return d_device->open();
    }
    void close() override {
        if (d_device) d_device->close();
    }
    bool isOpen() const override { return d_device && d_device->isOpen(); }
    void write(std::string_view bytes) override {
        if (d_device) d_device->write(bytes);
    }

  private:
    std::unique_ptr<Transport> d_device;
};

Autodetect::Autodetect(Scheduler& scheduler, DeviceTransportFactory factory)
    : d_scheduler(scheduler),
      d_factory(std::move(factory)),
      d_line(std::make_unique<Line>()),
      d_link(std::make_unique<Link>(*d_line, scheduler)) {}

Autodetect::~Autodetect() {
    d_scheduler.cancelTimer(d_stopReport);
    d_link->drop();
    d_line->detach();
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
    d_done = 0;
    d_searching = false;
    d_running = true;
    d_link->run(search(), [this] { onSearchEnded(); });
}

void Autodetect::stop() {
    if (!d_running || d_stopping) return;
    d_stopping = true;
    d_line->detach();
    d_link->abort({LinkStopKind::Stopped, {}, {}});
}

void Autodetect::onSearchEnded() {
    // A stop from inside a progress report ends the job only after it has opened the next line.
    d_line->detach();
    if (d_link->stopReason().kind == LinkStopKind::None) {
        d_running = false;
        if (onFinished) onFinished(d_result);
        return;
    }
    // Reported from a timer like every other end, so the caller's handler never runs inside
    // its own call to stop().
    d_stopReport = d_scheduler.startTimer(0, [this] {
        d_stopReport = 0;
        d_stopping = false;
        d_running = false;
        d_result.stopped = true;
        d_result.found = false;
        d_result.device.clear();
        d_result.baud = 0;
        if (onFinished) onFinished(d_result);
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

Task<void> Autodetect::search() {
    Link& link = *d_link;
    co_await link.wait(0);
    // One device per turn of the event loop: open it, note it when that worked, close it again.
    for (const std::string& device : d_devices) {
        progress("Checking " + device + "...");
        std::unique_ptr<Transport> line = d_factory(device, kBaudRates.front());
        if (line && line->open().ok()) {
            d_result.available.push_back(device);
            line->close();
        }
        ++d_done;
        co_await link.wait(0);
    }
    d_searching = true;
    co_await link.wait(0);
    for (std::size_t d = 0; d < d_result.available.size(); ++d) {
        for (const long baud : kBaudRates) {
            const std::string device = d_result.available[d];
            progress("Trying " + device + " at " + std::to_string(baud) + "...");
            const bool identified = co_await identifies(device, baud);
            if (identified) {
                // Every later match in the search order replaces this one.
                d_result.found = true;
                d_result.device = device;
                d_result.baud = baud;
            }
            ++d_done;
            co_await link.wait(0);
        }
    }
    progress(d_result.found ? "Scanner found on " + d_result.device + " at " +
                                  std::to_string(d_result.baud) + "."
                            : std::string("No scanner found."));
}

Task<bool> Autodetect::identifies(const std::string& device, long baud) {
    Link& link = *d_link;
    link.discardInput();
    d_line->attach(d_factory(device, baud));
    if (!d_line->attached() || !d_line->open().ok()) {
        // Gone or taken since the availability pass: this combination is skipped.
        d_line->detach();
        co_return false;
    }
    // The second identification follows after the first wait, the answer is read after the
    // second.
    link.send("SI");
    co_await link.wait(kAutodetectWaitMs);
    if (d_line->isOpen()) link.send("SI");
    co_await link.wait(kAutodetectWaitMs);
    const bool identified = IsBct8Identification(link.input());
    d_line->detach();
    co_return identified;
}

}  // namespace vex
