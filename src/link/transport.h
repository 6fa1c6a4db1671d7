// The byte pipe to the scanner. The link logic talks only to this interface; the serial port
// adapter (platform) and the tests' in-memory lines implement it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vex {

enum class TransportFault {
    None,
    Busy,          // held by another program, or not present on this system
    Permission,    // the user may not open the device
    NotFound,      // no such device
    Disconnected,  // the device went away while open (cable pulled, EOF)
    Other,
};

struct TransportStatus {
    TransportFault fault = TransportFault::None;
    std::string message;  // the text shown to the user
    std::string detail;   // the system's own words, for logs and the second line of a message
    bool ok() const { return fault == TransportFault::None; }
};

// The message for a port that is busy or missing.
inline constexpr std::string_view kPortUnavailableMessage =
    "The selected comport is already in use or not available in your system!";

class Transport {
  public:
    using DataHandler = std::function<void(std::string_view bytes)>;
    using FaultHandler = std::function<void(const TransportStatus& status)>;

    virtual ~Transport() = default;

    // Opens the device with the settings it was made with (8N1, no flow control).
    virtual TransportStatus open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues the bytes for sending; failures arrive through the fault handler.
    virtual void write(std::string_view bytes) = 0;

    // Called from the event loop whenever bytes arrived. Never called from inside write().
    void setDataHandler(DataHandler handler) { d_onData = std::move(handler); }
    // Called when the open device fails (disconnect, I/O error). May be called from inside
    // write(); receivers must not destroy the transport from the handler.
    void setFaultHandler(FaultHandler handler) { d_onFault = std::move(handler); }

  protected:
    void deliver(std::string_view bytes) {
        if (d_onData) d_onData(bytes);
    }
    void fault(const TransportStatus& status) {
        if (d_onFault) d_onFault(status);
    }

  private:
    DataHandler d_onData;
    FaultHandler d_onFault;
};

}  // namespace vex
