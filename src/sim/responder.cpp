#include "responder.h"

#include <algorithm>

namespace bct8sim {

Response Responder::Answer(std::string_view command) {
    Response response;
    if (command.empty()) return response;
    ++commandCount_;
    response.fault = faults_.Take(commandCount_, command, Scanner::ChannelOf(command));
    if (response.fault == FaultKind::kDisconnect) {
        response.disconnect = true;
        return response;
    }
    if (response.fault == FaultKind::kNoReply) return response;
    if (response.fault == FaultKind::kErr) {
        response.text = "ERR\r";
        return response;
    }
    const std::optional<std::string> reply = scanner_.Handle(command);
    if (!reply) return response;
    if (response.fault == FaultKind::kCutReply) {
        response.text = reply->substr(0, std::max<std::size_t>(1, reply->size() / 2));
    } else if (response.fault == FaultKind::kGarbage) {
        response.text = Garbage(reply->size()) + "\r";
    } else {
        response.text = *reply + "\r";
    }
    return response;
}

std::string Responder::Garbage(std::size_t replySize) {
    // Printable noise of a length near the reply's, repeatable from run to run.
    std::string text;
    const std::size_t length = 5 + replySize % 11;
    for (std::size_t i = 0; i < length; ++i) {
        garbageSeed_ = garbageSeed_ * 1103515245u + 12345u;
        text += static_cast<char>(0x21 + (garbageSeed_ >> 16) % 0x5e);
    }
    return text;
}

}  // namespace bct8sim
