// The client of the frequency database: endpoint, credentials, the cached service description,
// the trace, and one call at a time over an asynchronous HTTP transport.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "netdb/soap.h"
#include "netdb/transport.h"
#include "netdb/wsdl.h"

namespace vex::netdb {

inline constexpr int kGetTimeoutMs = 30000;
inline constexpr int kPostTimeoutMs = 60000;
// The service's public address and the local stand-in's default.
inline constexpr std::string_view kRemoteEndpoint = "https://freqdb.example.org/soap2/";
inline constexpr std::string_view kLocalEndpoint = "http://127.0.0.1:9000/soap2/";

enum class EndpointKind { Remote = 0, Local = 1 };

struct Outcome {
    bool ok = false;
    std::string message;   // for the user when !ok
    bool refused = false;  // the service answered and turned the request down
};

// A local address as typed: a bare host or host:port gets "http://" in front, and the path
// ends in "/soap2/" (added when missing). Returns empty text for what is no usable address.
std::string NormaliseEndpoint(std::string_view typed);

class Session {
  public:
    // `dataFolder` is the "marlosoap" folder; it is created on the first write.
    Session(HttpTransport& transport, std::filesystem::path dataFolder);

    void setEndpoint(EndpointKind kind, std::string base);
    EndpointKind endpointKind() const { return d_kind; }
    const std::string& endpoint() const { return d_endpoint; }
    void setCredentials(std::string user, std::string password);
    void setTrace(bool on) { d_trace = on; }
    // Shorter time-outs for tests.
    void setTimeouts(int getMs, int postMs) {
        d_getTimeoutMs = getMs;
        d_postTimeoutMs = postMs;
    }

    std::filesystem::path cacheFile() const;
    std::filesystem::path traceFile() const { return d_folder / "soaplog.txt"; }
    bool ready() const { return d_ready; }
    const WsdlModel& model() const { return d_model; }

    // Obtains the description (cache or download) and parses it. Only a description that came
    // with a success status and parses is cached.
    void init(std::function<void(Outcome)> done);
    // One call: the answer's returned element, or a message.
    void call(int op, const Parameters& params, std::function<void(SoapAnswer)> done);
    // Ends the exchange in progress (its callback reports kMsgCancelled).
    void cancel();
    bool busy() const { return d_busy; }
    // The body of the last answer received (description or call), and how many have come, so a
    // viewer can tell whether it is newer than what it shows.
    const std::string& lastAnswer() const { return d_lastAnswer; }
    int answerCount() const { return d_answerCount; }

  private:
    void trace(const std::string& title, std::string_view text);
    void keepAnswer(const std::string& body);

    HttpTransport& d_transport;
    std::filesystem::path d_folder;
    EndpointKind d_kind = EndpointKind::Remote;
    std::string d_endpoint{kRemoteEndpoint};
    Credentials d_credentials;
    WsdlModel d_model;
    bool d_ready = false;
    bool d_trace = false;
    bool d_busy = false;
    std::string d_lastAnswer;
    int d_answerCount = 0;
    int d_getTimeoutMs = kGetTimeoutMs;
    int d_postTimeoutMs = kPostTimeoutMs;
    std::shared_ptr<bool> d_alive = std::make_shared<bool>(true);
};

}  // namespace vex::netdb
