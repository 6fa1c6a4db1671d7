#include "netdb/soap.h"

#include "netdb/messages.h"
#include "netdb/xml_load.h"

namespace vex::netdb {

std::string ComposeRequest(const WsdlModel& model, const SelectedOperation& op,
                           const Parameters& params, const Credentials& credentials,
                           bool maskPassword) {
    const std::string method(WithoutPrefix(op.inputMessage));
    std::string ns = model.targetNamespace;
    if (op.name == "getCountyInfo") ns += "/";
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
        "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
        "SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
        "<SOAP-ENV:Body>";
    xml += "<m:" + EscapeXml(method) + " xmlns:m=\"" + EscapeXml(ns) + "\">";
    for (const auto& [name, value] : params)
        xml += "<" + name + " xsi:type=\"xsd:int\">" + std::to_string(value) + "</" + name + ">";
    const auto text = [](const char* name, std::string_view value) {
        return std::string("<") + name + " xsi:type=\"xsd:string\">" +
               EscapeXml(Latin1ToUtf8(value)) + "</" + name + ">";
    };
    xml += "<authInfo>";
    xml += text("username", credentials.username);
    xml += text("password", maskPassword ? std::string_view("********") : credentials.password);
    xml += text("appKey", credentials.appKey);
    xml += text("version", credentials.version);
    xml += "</authInfo>";
    xml += "</m:" + EscapeXml(method) + "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
    return xml;
}

SoapAnswer ReadAnswer(std::string_view body, int httpStatus, const SelectedOperation& op) {
    SoapAnswer answer;
    const bool httpOk = httpStatus >= 200 && httpStatus < 300;
    auto doc = std::make_shared<pugi::xml_document>();
    if (const XmlLoad load = LoadXml(*doc, body); !load) {
        answer.message =
            httpOk ? std::string(kMsgAnswerUnreadable) + load.error : HttpErrorMessage(httpStatus);
        return answer;
    }
    const pugi::xml_node envelope = doc->document_element();
    const pugi::xml_node soapBody = ChildNamed(envelope, "Body");
    if (LocalName(envelope) != "Envelope" || !soapBody) {
        answer.message = httpOk ? std::string(kMsgAnswerUnreadable) + "it is not a SOAP envelope"
                                : HttpErrorMessage(httpStatus);
        return answer;
    }
    const pugi::xml_node response = FirstElement(soapBody);
    if (LocalName(response) == "Fault") {
        std::string fault = Utf8ToLatin1(ChildNamed(response, "faultstring").text().get());
        if (fault.empty()) fault = Utf8ToLatin1(ChildNamed(response, "faultcode").text().get());
        answer.message = std::string(kMsgServiceFault) + fault;
        answer.refused = true;
        return answer;
    }
    if (!httpOk) {
        answer.message = HttpErrorMessage(httpStatus);
        return answer;
    }
    const std::string_view name = LocalName(response);
    if (!response || name != WithoutPrefix(op.outputMessage) || op.outputMessage.empty()) {
        answer.message = std::string(kMsgUnexpectedReturn) + std::string(name) + " - " + op.name;
        return answer;
    }
    answer.ok = true;
    answer.value = FirstElement(response);
    answer.doc = std::move(doc);
    return answer;
}

}  // namespace vex::netdb
