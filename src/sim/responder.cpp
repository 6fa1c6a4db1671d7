#include "responder.h"

#include <algorithm>

namespace bct8sim {

Response Responder::answer(std::string_view command) {
    Response response;
    if (command.empty()) return response;
    ++d_commandCount;
    response.fault = d_faults.take(d_commandCount, command, Scanner::channelOf(command));
    if (response.fault == FaultKind::kDisconnect) {
        response.disconnect = true;
        return response;
    }
    if (response.fault == FaultKind::kNoReply) return response;
    if (response.fault == FaultKind::kErr) {
        response.text = "ERR\r";
        return response;
    }
    const std::optional<std::string> reply = d_scanner.handle(command);
    if (!reply) return response;
    if (response.fault == FaultKind::kCutReply) {
        response.text = reply->substr(0, std::max<std::size_t>(1, reply->size() / 2));
    } else if (response.fault == FaultKind::kGarbage) {
        response.text = garbage(reply->size()) + "\r";
    } else {
        response.text = *reply + "\r";
    }
    return response;
}

std::string Responder::garbage(std::size_t replySize) {
    // Printable noise of a length near the reply's, repeatable from run to run.
    std::string text;
    const std::size_t length = 5 + replySize % 11;
    for (std::size_t i = 0; i < length; ++i) {
        d_garbageSeed = d_garbageSeed * 1103515245u + 12345u;
        text += static_cast<char>(0x21 + (d_garbageSeed >> 16) % 0x5e);
    }
    return text;
}

}  // namespace bct8sim
