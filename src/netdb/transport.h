// What the client needs of HTTP. The platform supplies it (asynchronous; the answer comes back
// through the callback on the caller's thread); tests supply scripted ones.
#pragma once

#include <functional>
#include <string>

namespace vex::netdb {

struct HttpReply {
    int status = 0;     // 0 when no HTTP answer came
    std::string body;   // what arrived (possibly cut short)
    std::string error;  // transport failure in words; empty when the exchange completed
    bool timedOut = false;
    bool cancelled = false;
    bool tooLarge = false;  // cut off at the size limit
};

class HttpTransport {
  public:
    using Done = std::function<void(HttpReply)>;
    virtual ~HttpTransport() = default;
    // GET with basic credentials.
    virtual void get(const std::string& url, const std::string& user, const std::string& password,
                     int timeoutMs, Done done) = 0;
    // POST of a SOAP request with its SOAPAction header.
    virtual void post(const std::string& url, const std::string& soapAction,
                      const std::string& body, int timeoutMs, Done done) = 0;
    // Ends the exchange in progress; its callback runs with `cancelled` set.
    virtual void cancel() = 0;
};

}  // namespace vex::netdb
