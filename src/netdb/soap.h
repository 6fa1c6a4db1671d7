// One SOAP 1.1 RPC/encoded exchange: the request text and the reading of its answer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "netdb/wsdl.h"

namespace vex::netdb {

// The `authInfo` block sent with every request. Texts are Latin-1.
struct Credentials {
    std::string username, password, appKey, version = "9";
};

// The application key this program sends; the service issues it.
inline constexpr std::int32_t kAppKey = 46021937;

using Parameters = std::vector<std::pair<std::string, std::int32_t>>;

// The envelope: the method element named after the input message (without prefix) in the
// target namespace ("getCountyInfo" alone takes the namespace with a "/" added), the integer
// parameters in order, then `authInfo`. With `maskPassword` the password is written as stars,
// for the trace.
std::string ComposeRequest(const WsdlModel& model, const SelectedOperation& op,
                           const Parameters& params, const Credentials& credentials,
                           bool maskPassword = false);

// The answer of one call. On success `value` is the returned element (the first child of the
// response element); the document owns it.
struct SoapAnswer {
    bool ok = false;
    bool refused = false;  // the service answered with a fault (as opposed to no usable answer)
    std::string message;   // for the user when !ok
    std::shared_ptr<pugi::xml_document> doc;
    pugi::xml_node value;
};

// Reads the HTTP answer of a call: a fault gives the service's own fault text, a response
// element of the wrong name "Unexpected Return:NAME - OPERATION", an error page or text that is
// not XML says what came back.
SoapAnswer ReadAnswer(std::string_view body, int httpStatus, const SelectedOperation& op);

}  // namespace vex::netdb
