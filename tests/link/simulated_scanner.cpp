#include "simulated_scanner.h"

#include <algorithm>
#include <stdexcept>

namespace vex::test {

SimulatedScanner::SimulatedScanner(FakeScheduler& clock) : d_clock(clock) {}

TransportStatus SimulatedScanner::open() {
    ++opens;
    if (openStatus.ok()) d_open = true;
    return openStatus;
}

void SimulatedScanner::inject(std::string_view text) {
    std::string error;
    const std::optional<bct8sim::Fault> fault = bct8sim::ParseFault(text, error);
    if (!fault) throw std::invalid_argument(error);
    faults.add(*fault);
}

void SimulatedScanner::setTypeNames(const std::array<std::string, 5>& names) {
    for (int b = 0; b < 5; ++b) model.trunk(b).typeName = names[static_cast<std::size_t>(b)];
}

void SimulatedScanner::identifyAs(std::string text) {
    intercept = [text](const std::string& command, int) -> Reply {
        if (command == "SI") return Answer(text + "\r");
        return std::nullopt;
    };
}

std::vector<std::string> SimulatedScanner::texts() const {
    std::vector<std::string> out;
    for (const SentCommand& c : sent) out.push_back(c.text);
    return out;
}

std::vector<std::string> SimulatedScanner::textsFrom(const std::string& from) const {
    std::vector<std::string> all = texts();
    auto it = std::find(all.begin(), all.end(), from);
    return std::vector<std::string>(it, all.end());
}

void SimulatedScanner::write(std::string_view bytes) {
    if (!d_open) return;
    d_partial.append(bytes);
    // Commands end with CR LF, band plan lines with CR alone.
    std::size_t end;
    while ((end = d_partial.find('\r')) != std::string::npos) {
        std::string command = d_partial.substr(0, end);
        std::size_t skip = end + 1;
        if (skip < d_partial.size() && d_partial[skip] == '\n') ++skip;
        d_partial.erase(0, skip);
        sent.push_back({d_clock.now(), command});
        const int count = ++d_counts[command];
        bct8sim::Response response = d_responder.answer(command);
        if (response.disconnect) {
            d_open = false;
            d_partial.clear();
            d_clock.startTimer(1, [this] {
                fault({TransportFault::Disconnected, "The scanner is no longer connected.",
                       "Input/output error"});
            });
            return;
        }
        if (intercept) {
            if (auto replaced = intercept(command, count)) response.text = *replaced;
        }
        if (response.text) deliverLater(*response.text);
    }
}

void SimulatedScanner::deliverLater(const std::string& reply) {
    const int parts = std::max(1, std::min<int>(pieces, static_cast<int>(reply.size())));
    const std::size_t size = reply.size() / static_cast<std::size_t>(parts);
    for (int i = 0; i < parts; ++i) {
        const std::size_t from = size * static_cast<std::size_t>(i);
        std::string piece = i == parts - 1 ? reply.substr(from) : reply.substr(from, size);
        d_clock.startTimer(latencyMs + i, [this, piece] {
            if (d_open) deliver(piece);
        });
    }
}

}  // namespace vex::test
