// A line that records what is written and lets the test deliver bytes and faults by hand.
#pragma once

#include <string>
#include <vector>

#include "link/transport.h"

namespace vex::test {

class HandLine : public Transport {
  public:
    TransportStatus open() override {
        ++opens;
        d_open = openStatus.ok();
        return openStatus;
    }
    void close() override {
        ++closes;
        d_open = false;
    }
    bool isOpen() const override { return d_open; }
    void write(std::string_view bytes) override { written.emplace_back(bytes); }
    void feed(std::string_view bytes) { deliver(bytes); }
    void breakDown(TransportStatus status = {TransportFault::Disconnected, "gone", "EIO"}) {
        fault(std::move(status));
    }

    std::vector<std::string> written;
    int opens = 0, closes = 0;
    TransportStatus openStatus;

  private:
    bool d_open = true;
};

}  // namespace vex::test
