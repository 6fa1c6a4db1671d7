#include "service_description.h"

#include <utility>
#include <vector>

#include "netdb/wsdl.h"

namespace freqdb {

namespace {

// Parameters of each operation besides authInfo; unlisted ones take a single "id".
std::vector<std::string> ParametersOf(const std::string& op) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> table = {
        {"getTrsTalkgroups", {"sid", "tgCid", "tgTag", "tgDec"}},
        {"getTrsTalkgroupCats", {"sid"}},
        {"getTrsDetails", {"sid"}},
        {"getTrsSites", {"sid"}},
        {"getMode", {"mode"}},
        {"getCountryInfo", {"coid"}},
        {"getStateInfo", {"stid"}},
        {"getCountyInfo", {"ctid"}},
        {"getAgencyInfo", {"aid"}},
        {"getSubcatFreqs", {"scid"}},
        {"getMetroArea", {"mid"}},
        {"getZipcodeInfo", {"zipcode"}},
        {"getUserData", {}},
    };
    for (const auto& [name, params] : table)
        if (name == op) return params;
    return {"id"};
}

}  // namespace

std::string ServiceDescription(const std::string& location) {
    std::string messages, types, portOps, bindingOps;
    for (int i = 0; i < vex::netdb::kOperationCount; ++i) {
        const std::string op = vex::netdb::OperationName(i);
        messages += "<message name=\"" + op + "\">";
        for (const std::string& p : ParametersOf(op))
            messages += "<part name=\"" + p + "\" type=\"xsd:int\"/>";
        messages += "<part name=\"authInfo\" type=\"tns:authInfo\"/></message>";
        messages += "<message name=\"" + op + "Response\"><part name=\"return\" type=\"tns:" + op +
                    "Result\"/></message>";
        types += "<xsd:complexType name=\"" + op +
                 "Response\"><xsd:all><xsd:element name=\"return\" type=\"tns:" + op +
                 "Result\"/></xsd:all></xsd:complexType>";
        portOps += "<operation name=\"" + op + "\"><documentation>" + op +
                   "</documentation><input message=\"tns:" + op +
                   "\"/><output message=\"tns:" + op + "Response\"/></operation>";
        const std::string body = "<soap:body use=\"encoded\" namespace=\"" +
                                 std::string(kTargetNamespace) +
                                 "\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"/>";
        bindingOps += "<operation name=\"" + op + "\"><soap:operation soapAction=\"" +
                      std::string(kTargetNamespace) + "#" + op + "\" style=\"rpc\"/><input>" +
                      body + "</input><output>" + body + "</output></operation>";
    }
    const std::string ns = kTargetNamespace;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
           "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" "
           "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
           "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
           "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\" "
           "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xmlns:tns=\"" +
           ns + "\" targetNamespace=\"" + ns +
           "\">"
           "<types><xsd:schema targetNamespace=\"" +
           ns +
           "\">"
           "<xsd:import namespace=\"http://schemas.xmlsoap.org/soap/encoding/\"/>"
           "<xsd:complexType name=\"authInfo\"><xsd:all>"
           "<xsd:element name=\"username\" type=\"xsd:string\"/>"
           "<xsd:element name=\"password\" type=\"xsd:string\"/>"
           "<xsd:element name=\"appKey\" type=\"xsd:string\"/>"
           "<xsd:element name=\"version\" type=\"xsd:string\"/>"
           "</xsd:all></xsd:complexType>" +
           types + "</xsd:schema></types>" + messages + "<portType name=\"FreqDbPortType\">" +
           portOps +
           "</portType>"
           "<binding name=\"FreqDbBinding\" type=\"tns:FreqDbPortType\">"
           "<soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>" +
           bindingOps +
           "</binding>"
           "<service name=\"FreqDb\"><port name=\"FreqDbPort\" binding=\"tns:FreqDbBinding\">"
           "<soap:address location=\"" +
           location + "\"/></port></service></definitions>";
}

}  // namespace freqdb
