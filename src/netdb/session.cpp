#include "netdb/session.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "core/atomic_file.h"
#include "netdb/messages.h"
#include "netdb/xml_load.h"

namespace vex::netdb {

namespace {

constexpr std::size_t kTraceLimit = 1024 * 1024;     // the trace keeps its last megabyte
constexpr std::size_t kTracedBodyLimit = 64 * 1024;  // of each request or answer

bool IsHttpOk(int status) {
    return status >= 200 && status < 300;
}

}  // namespace

std::string NormaliseEndpoint(std::string_view typed) {
    std::string text(typed);
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](unsigned char c) { return std::isspace(c) != 0; }),
               text.end());
    if (text.empty()) return {};
    if (text.find("://") == std::string::npos) text = "http://" + text;
    const bool http = text.rfind("http://", 0) == 0;
    const bool https = text.rfind("https://", 0) == 0;
    if (!http && !https) return {};
    const std::size_t hostStart = text.find("://") + 3;
    if (hostStart >= text.size() || text[hostStart] == '/') return {};
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7E) return {};
    std::size_t pathStart = text.find('/', hostStart);
    if (pathStart == std::string::npos) {
        text += '/';
        pathStart = text.size() - 1;
    }
    if (text.find('?') != std::string::npos || text.find('#') != std::string::npos) return {};
    if (text.back() != '/') text += '/';
    const std::string_view suffix = "/soap2/";
    if (text.size() < suffix.size() ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
        text += "soap2/";
    return text;
}

Session::Session(HttpTransport& transport, std::filesystem::path dataFolder)
    : d_transport(transport), d_folder(std::move(dataFolder)) {}

void Session::setEndpoint(EndpointKind kind, std::string base) {
    d_kind = kind;
    d_endpoint = std::move(base);
    d_ready = false;
}

void Session::setCredentials(std::string user, std::string password) {
    d_credentials.username = std::move(user);
    d_credentials.password = std::move(password);
}

std::filesystem::path Session::cacheFile() const {
    return d_folder / (d_kind == EndpointKind::Remote ? "RR_Soap.wsdl" : "Local.wsdl");
}

void Session::trace(const std::string& title, std::string_view text) {
    if (!d_trace) return;
    std::string entry = "---- " + title + "\r\n";
    entry.append(text.substr(0, kTracedBodyLimit));
    if (text.size() > kTracedBodyLimit)
        entry += "\r\n[... " + std::to_string(text.size()) + " bytes]";
    entry += "\r\n";
    // The password never reaches the trace, not even echoed back by a service.
    const std::string& password = d_credentials.password;
    if (!password.empty())
        for (std::size_t at = entry.find(password); at != std::string::npos;
             at = entry.find(password, at))
            entry.replace(at, password.size(), "********");
    std::string content;
    std::error_code ec;
    std::filesystem::create_directories(d_folder, ec);
    if (!ReadWholeFile(traceFile(), content)) content.clear();  // a new trace
    content += entry;
    if (content.size() > kTraceLimit) content.erase(0, content.size() - kTraceLimit);
    // The trace is a debugging aid: a trace that cannot be written must not stop the import.
    (void)WriteFileAtomically(traceFile(), content);
}

void Session::init(std::function<void(Outcome)> done) {
    d_model = WsdlModel{};
    d_ready = false;
    d_credentials.appKey = std::to_string(kAppKey);
    d_credentials.version = "9";
    const std::filesystem::path cache = cacheFile();
    std::error_code ec;
    if (std::filesystem::is_regular_file(cache, ec)) {
        std::string text;
        if (std::filesystem::file_size(cache, ec) <= kMaxXmlBytes && ReadWholeFile(cache, text)) {
            text.erase(std::remove_if(text.begin(), text.end(),
                                      [](char c) { return c == '\r' || c == '\n'; }),
                       text.end());
            WsdlParse parsed = ParseWsdl(text);
            if (parsed.ok) {
                d_model = std::move(parsed.model);
                d_ready = true;
                done({true, {}});
                return;
            }
        }
        // A cache that cannot be used is fetched anew.
        std::filesystem::remove(cache, ec);
    }
    const std::string url = d_endpoint + "?wsdl&v=9";
    trace("GET " + url, {});
    d_busy = true;
    std::weak_ptr<bool> alive = d_alive;
    d_transport.get(url, d_credentials.username, d_credentials.password, d_getTimeoutMs,
                    [this, alive, cache, done = std::move(done)](HttpReply reply) {
                        if (alive.expired()) return;
                        d_busy = false;
                        trace("WSDL answer, HTTP " + std::to_string(reply.status), reply.body);
                        keepAnswer(reply.body);
                        if (reply.cancelled) return done({false, std::string(kMsgCancelled)});
                        if (reply.timedOut) return done({false, std::string(kMsgHttpTimeout)});
                        if (reply.tooLarge) reply.error = "the description is too large";
                        std::string why;
                        if (!reply.error.empty() && reply.status == 0)
                            why = reply.error;
                        else if (!IsHttpOk(reply.status))
                            why = "HTTP " + std::to_string(reply.status);
                        else if (!reply.error.empty())
                            why = "the download was cut short";
                        WsdlParse parsed;
                        if (why.empty()) {
                            parsed = ParseWsdl(reply.body);
                            if (!parsed.ok) why = parsed.error;
                        }
                        if (!why.empty())
                            return done({false, std::string(kMsgWsdlLoad) + " (" + why + ")"});
                        d_model = std::move(parsed.model);
                        d_ready = true;
                        std::error_code dirError;
                        std::filesystem::create_directories(d_folder, dirError);
                        std::string oneLine = reply.body;
                        oneLine.erase(std::remove_if(oneLine.begin(), oneLine.end(),
                                                     [](char c) { return c == '\r' || c == '\n'; }),
                                      oneLine.end());
                        const WriteResult written = WriteFileAtomically(cache, oneLine);
                        if (!written)
                            return done({true, "The service description could not be kept in " +
                                                   cache.string() + ": " + written.error});
                        done({true, {}});
                    });
}

void Session::call(int op, const Parameters& params, std::function<void(SoapAnswer)> done) {
    if (!d_ready) {
        SoapAnswer answer;
        answer.message = std::string(kMsgNoResponse);
        done(std::move(answer));
        return;
    }
    const SelectedOperation selected = SelectOperation(d_model, op);
    trace("POST " + selected.name,
          ComposeRequest(d_model, selected, params, d_credentials, /*maskPassword=*/true));
    const std::string request = ComposeRequest(d_model, selected, params, d_credentials);
    d_busy = true;
    std::weak_ptr<bool> alive = d_alive;
    const int timeoutMs = d_postTimeoutMs;
    d_transport.post(
        d_endpoint + "index.php", selected.binding.soapAction, request, timeoutMs,
        [this, alive, selected, timeoutMs, done = std::move(done)](HttpReply reply) {
            if (alive.expired()) return;
            d_busy = false;
            trace("answer to " + selected.name + ", HTTP " + std::to_string(reply.status),
                  reply.body);
            keepAnswer(reply.body);
            SoapAnswer answer;
            if (reply.cancelled) {
                answer.message = std::string(kMsgCancelled);
            } else if (reply.timedOut) {
                std::string seconds = std::to_string(timeoutMs / 1000);
                if (timeoutMs % 1000 != 0)
                    seconds += "." + std::to_string((timeoutMs % 1000 + 50) / 100 % 10);
                answer.message =
                    "The frequency database did not answer within " + seconds + " seconds.";
            } else if (reply.tooLarge) {
                answer.message = "The answer of the frequency database is larger than " +
                                 std::to_string(kMaxXmlBytes / (1024 * 1024)) +
                                 " MB; nothing of it was used.";
            } else if (reply.status == 0) {
                answer.message = "The frequency database cannot be reached: " + reply.error;
            } else if (IsHttpOk(reply.status) && !reply.error.empty()) {
                answer.message =
                    "The answer of the frequency database was cut short (" + reply.error + ").";
            } else {
                answer = ReadAnswer(reply.body, reply.status, selected);
            }
            done(std::move(answer));
        });
}

void Session::keepAnswer(const std::string& body) {
    if (body.empty()) return;
    d_lastAnswer = body;
    ++d_answerCount;
}

void Session::cancel() {
    if (d_busy) d_transport.cancel();
}

}  // namespace vex::netdb
