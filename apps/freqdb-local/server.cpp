#include "server.h"

#include <QHttpServerRequest>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <sstream>

#include "netdb/xml_load.h"
#include "service_description.h"

namespace freqdb {

using vex::netdb::ChildNamed;
using vex::netdb::FirstElement;
using vex::netdb::LocalName;

namespace {

const char* ReasonOf(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Error";
    }
}

QByteArray Envelope(const std::string& inner) {
    return QByteArray::fromStdString(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:ns1=\"" +
        std::string(kTargetNamespace) + "\"><SOAP-ENV:Body>" + inner +
        "</SOAP-ENV:Body></SOAP-ENV:Envelope>");
}

QByteArray FaultAnswer(const std::string& text) {
    return Envelope("<SOAP-ENV:Fault><faultcode>SOAP-ENV:Client</faultcode><faultstring>" +
                    vex::netdb::EscapeXml(text) + "</faultstring></SOAP-ENV:Fault>");
}

std::string Inner(const pugi::xml_node& node) {
    std::ostringstream out;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        child.print(out, "", pugi::format_raw);
    return out.str();
}

pugi::xml_node FindById(const pugi::xml_node& root, const char* element, const char* attribute,
                        int id) {
    for (pugi::xml_node n = root.child(element); n; n = n.next_sibling(element))
        if (n.attribute(attribute).as_int() == id) return n;
    return {};
}

}  // namespace

bool ParseFault(const QString& name, Fault& fault) {
    static const std::pair<const char*, Fault> kNames[] = {
        {"none", Fault::None},
        {"wrong-credentials", Fault::WrongCredentials},
        {"lapsed", Fault::Lapsed},
        {"slow", Fault::Slow},
        {"cut", Fault::Cut},
        {"http-error", Fault::HttpError},
        {"wrong-name", Fault::WrongName},
        {"huge", Fault::Huge}};
    for (const auto& [text, value] : kNames) {
        if (name == QLatin1String(text)) {
            fault = value;
            return true;
        }
    }
    return false;
}

Server::Server(std::unique_ptr<pugi::xml_document> fixture) : d_fixture(std::move(fixture)) {}

void Server::missingHandler(const QHttpServerRequest&, QTcpSocket* socket) {
    send(socket, 404, "not found", Fault::None);
}

bool Server::control(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QUrlQuery query = request.query();
    Fault fault = Fault::None;
    if (query.hasQueryItem("call") && !ParseFault(query.queryItemValue("call"), fault)) {
        send(socket, 404, "unknown fault", Fault::None);
        return true;
    }
    if (query.hasQueryItem("call")) d_callFault = fault;
    if (query.hasQueryItem("wsdl")) {
        if (!ParseFault(query.queryItemValue("wsdl"), fault)) {
            send(socket, 404, "unknown fault", Fault::None);
            return true;
        }
        d_wsdlFault = fault;
    }
    if (query.hasQueryItem("slow-ms")) d_slowMs = query.queryItemValue("slow-ms").toInt();
    send(socket, 200, "ok", Fault::None);
    return true;
}

bool Server::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    const QString path = request.url().path();
    if (path == "/control") return control(request, socket);
    if (!path.startsWith("/soap2/")) return false;
    if (request.method() == QHttpServerRequest::Method::Get &&
        request.query().hasQueryItem("wsdl")) {
        const QUrl url = request.url();
        const std::string location = "http://" + url.host().toStdString() + ":" +
                                     std::to_string(url.port(80)) + "/soap2/index.php";
        send(socket, 200, QByteArray::fromStdString(ServiceDescription(location)), d_wsdlFault);
        return true;
    }
    if (request.method() == QHttpServerRequest::Method::Post && path == "/soap2/index.php") {
        int status = 200;
        const QByteArray answer = answerCall(request.body(), status);
        send(socket, status, answer, d_callFault);
        return true;
    }
    return false;
}

QByteArray Server::answerCall(const QByteArray& request, int& status) {
    status = 500;
    pugi::xml_document doc;
    const std::string text = request.toStdString();
    if (const auto load = vex::netdb::LoadXml(doc, text); !load)
        return FaultAnswer("The request could not be read: " + load.error);
    const pugi::xml_node method = FirstElement(ChildNamed(doc.document_element(), "Body"));
    const std::string op(LocalName(method));
    const pugi::xml_node auth = ChildNamed(method, "authInfo");
    const pugi::xml_node user = d_fixture->document_element().child("user");
    if (d_callFault == Fault::WrongCredentials ||
        ChildNamed(auth, "username").text().as_string() !=
            std::string(user.attribute("username").value()) ||
        ChildNamed(auth, "password").text().as_string() !=
            std::string(user.attribute("password").value()))
        return FaultAnswer("Invalid username or password.");
    if (d_callFault == Fault::Lapsed)
        return FaultAnswer(
            "Your subscription expired on 2026-01-31. Please renew it to use the "
            "web service.");
    const auto param = [&](const char* name) { return ChildNamed(method, name).text().as_int(); };
    const pugi::xml_node root = d_fixture->document_element();
    pugi::xml_node source;
    bool array = true;
    std::string inner;
    if (op == "getUserData") {
        array = false;
        inner = "<username>" + std::string(user.attribute("username").value()) +
                "</username><subExpireDate>" + user.attribute("expires").value() +
                "</subExpireDate>";
    } else if (op == "getCountryInfo") {
        source = FindById(root, "country", "coid", param("coid"));
        array = false;
    } else if (op == "getStateInfo") {
        source = FindById(root, "state", "stid", param("stid"));
        array = false;
    } else if (op == "getCountyInfo") {
        source = FindById(root, "county", "ctid", param("ctid"));
        array = false;
    } else if (op == "getAgencyInfo") {
        source = FindById(root, "agency", "aid", param("aid"));
        array = false;
    } else if (op == "getZipcodeInfo") {
        source = FindById(root, "zip", "zipcode", param("zipcode"));
        array = false;
    } else if (op == "getSubcatFreqs") {
        source = FindById(root, "subcat", "scid", param("scid"));
    } else if (op == "getTrsDetails" || op == "getTrsSites" || op == "getTrsTalkgroupCats" ||
               op == "getTrsTalkgroups") {
        const pugi::xml_node system = FindById(root, "system", "sid", param("sid"));
        if (op == "getTrsDetails") {
            source = system.child("details");
            array = false;
        } else if (op == "getTrsSites") {
            source = system.child("sites");
        } else if (op == "getTrsTalkgroupCats") {
            source = system.child("cats");
        } else {
            source = FindById(system, "talkgroups", "tgCid", param("tgCid"));
        }
    } else {
        for (pugi::xml_node n = root.child("lookup"); n; n = n.next_sibling("lookup"))
            if (op == n.attribute("op").value()) source = n;
    }
    if (inner.empty()) {
        if (!source) return FaultAnswer("No record found for " + op + ".");
        inner = Inner(source);
    }
    (void)array;
    status = 200;
    std::string name = op + "Response";
    if (d_callFault == Fault::WrongName) name = op + "Failure";
    if (d_callFault == Fault::Huge) {
        std::string padding;
        for (int i = 0; i < 40 * 1024; ++i)
            padding += "<item><filler>" + std::string(1000, 'x') + "</filler></item>";
        inner = padding;
    }
    return Envelope("<ns1:" + name + "><return>" + inner + "</return></ns1:" + name + ">");
}

void Server::send(QTcpSocket* socket, int status, const QByteArray& body, Fault fault) {
    QByteArray payload = body;
    int code = status;
    if (fault == Fault::HttpError) {
        code = 503;
        payload =
            "<html><head><title>503 Service Unavailable</title></head><body><h1>Service "
            "Unavailable</h1><p>The server is down for maintenance.</p></body></html>";
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(code) + " " + ReasonOf(code) + "\r\n";
    head += fault == Fault::HttpError ? "Content-Type: text/html\r\n"
                                      : "Content-Type: text/xml; charset=utf-8\r\n";
    head +=
        "Content-Length: " + QByteArray::number(payload.size()) + "\r\nConnection: close\r\n\r\n";
    if (fault == Fault::Cut) payload.truncate(payload.size() / 2);
    QPointer<QTcpSocket> guarded(socket);
    const auto write = [guarded, data = head + payload] {
        if (!guarded) return;
        guarded->write(data);
        guarded->disconnectFromHost();
    };
    if (fault == Fault::Slow) {
        QTimer::singleShot(d_slowMs, socket, write);
    } else {
        write();
    }
}

}  // namespace freqdb
