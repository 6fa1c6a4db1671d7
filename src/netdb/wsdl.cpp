#include "netdb/wsdl.h"

#include <array>

#include <pugixml.hpp>

#include "netdb/xml_load.h"

namespace vex::netdb {

namespace {

constexpr std::array<const char*, kOperationCount> kOperationNames = {
    "getTrsTalkgroups",
    "getTrsTalkgroupCats",
    "getTrsDetails",
    "getTrsBySysid",
    "getTrsSites",
    "getStatesByList",
    "getCountiesByList",
    "getTag",
    "getMode",
    "getTrsType",
    "getTrsFlavor",
    "getTrsVoice",
    "getCountryList",
    "getCountryInfo",
    "getStateInfo",
    "getCountyInfo",
    "getAgencyInfo",
    "getSubcatFreqs",
    "searchCountyFreq",
    "searchStateFreq",
    "searchMetroFreq",
    "getCountyFreqsByTag",
    "getAgencyFreqsByTag",
    "getMetroArea",
    "getZipcodeInfo",
    "fccGetCallsign",
    "fccGetRadioServiceCode",
    "fccGetProxCallsigns",
    "getUserData",
    "registerPCUniqueString",
};

std::string Attr(const pugi::xml_node& node, const char* name) {
    return node.attribute(name).value();
}

void ReadBinding(const pugi::xml_node& binding, WsdlModel& model) {
    model.bindingName = Attr(binding, "name");
    model.bindingType = Attr(binding, "type");
    if (const pugi::xml_node soap = ChildNamed(binding, "binding")) {
        model.bindingStyle = Attr(soap, "style");
        model.bindingTransport = Attr(soap, "transport");
    }
    for (pugi::xml_node op = binding.first_child(); op; op = op.next_sibling()) {
        if (LocalName(op) != "operation") continue;
        BindingOperation record;
        record.name = Attr(op, "name");
        if (const pugi::xml_node soapOp = ChildNamed(op, "operation")) {
            record.soapAction = Attr(soapOp, "soapAction");
            record.style = Attr(soapOp, "style");
        }
        if (const pugi::xml_node body = ChildNamed(ChildNamed(op, "input"), "body")) {
            record.inputUse = Attr(body, "use");
            record.inputNamespace = Attr(body, "namespace");
            record.inputEncodingStyle = Attr(body, "encodingStyle");
        }
        if (const pugi::xml_node body = ChildNamed(ChildNamed(op, "output"), "body")) {
            record.outputUse = Attr(body, "use");
            record.outputNamespace = Attr(body, "namespace");
            record.outputEncodingStyle = Attr(body, "encodingStyle");
        }
        model.bindingOperations.push_back(std::move(record));
    }
}

void ReadPortType(const pugi::xml_node& portType, WsdlModel& model) {
    model.portTypeName = Attr(portType, "name");
    for (pugi::xml_node op = portType.first_child(); op; op = op.next_sibling()) {
        if (LocalName(op) != "operation") continue;
        PortTypeOperation record;
        record.name = Attr(op, "name");
        record.documentation = ChildNamed(op, "documentation").text().get();
        record.inputMessage = Attr(ChildNamed(op, "input"), "message");
        record.outputMessage = Attr(ChildNamed(op, "output"), "message");
        model.portTypeOperations.push_back(std::move(record));
    }
}

void ReadMessage(const pugi::xml_node& message, WsdlModel& model) {
    Message record;
    record.name = Attr(message, "name");
    for (pugi::xml_node part = message.first_child(); part; part = part.next_sibling())
        if (LocalName(part) == "part")
            record.parts.push_back({Attr(part, "name"), Attr(part, "type")});
    model.messages.push_back(std::move(record));
}

void ReadTypes(const pugi::xml_node& types, WsdlModel& model) {
    const pugi::xml_node schema = ChildNamed(types, "schema");
    model.schemaNamespace = Attr(schema, "targetNamespace");
    for (pugi::xml_node type = schema.first_child(); type; type = type.next_sibling()) {
        if (LocalName(type) != "complexType") continue;
        ComplexType record;
        record.name = Attr(type, "name");
        if (const pugi::xml_node all = ChildNamed(type, "all")) {
            for (pugi::xml_node e = all.first_child(); e; e = e.next_sibling())
                if (LocalName(e) == "element")
                    record.elements.push_back({Attr(e, "name"), Attr(e, "type")});
        } else if (const pugi::xml_node content = ChildNamed(type, "complexContent")) {
            const pugi::xml_node restriction = ChildNamed(content, "restriction");
            record.restrictionBase = Attr(restriction, "base");
            const pugi::xml_node attribute = ChildNamed(restriction, "attribute");
            record.arrayRef = Attr(attribute, "ref");
            record.arrayType = Attr(attribute, "wsdl:arrayType");
        }
        model.types.push_back(std::move(record));
    }
}

}  // namespace

std::string OperationName(int index) {
    if (index < 0 || index >= kOperationCount) return {};
    return kOperationNames[static_cast<std::size_t>(index)];
}

WsdlParse ParseWsdl(std::string_view text) {
    WsdlParse result;
    pugi::xml_document doc;
    if (const XmlLoad load = LoadXml(doc, text); !load) {
        result.error = "the service description could not be read: " + load.error;
        return result;
    }
    const pugi::xpath_node found = doc.select_node("//*[local-name()='definitions']");
    const pugi::xml_node definitions = found.node();
    if (!definitions) {
        result.error = "the service description has no \"definitions\" element";
        return result;
    }
    WsdlModel& model = result.model;
    model.targetNamespace = Attr(definitions, "targetNamespace");
    model.xmlns = Attr(definitions, "xmlns");
    model.xmlnsSoap = Attr(definitions, "xmlns:soap");
    model.xmlnsSoapEnc = Attr(definitions, "xmlns:SOAP-ENC");
    model.xmlnsSoapEnv = Attr(definitions, "xmlns:SOAP-ENV");
    model.xmlnsWsdl = Attr(definitions, "xmlns:wsdl");
    model.xmlnsTns = Attr(definitions, "xmlns:tns");
    model.xmlnsXsi = Attr(definitions, "xmlns:xsi");
    for (pugi::xml_node node = definitions.first_child(); node; node = node.next_sibling()) {
        const std::string_view name = LocalName(node);
        if (name == "types") {
            ReadTypes(node, model);
        } else if (name == "message") {
            ReadMessage(node, model);
        } else if (name == "portType") {
            ReadPortType(node, model);
        } else if (name == "binding") {
            ReadBinding(node, model);
        } else if (name == "service") {
            model.serviceName = Attr(node, "name");
            const pugi::xml_node port = ChildNamed(node, "port");
            model.portName = Attr(port, "name");
            model.portBinding = Attr(port, "binding");
            model.address = Attr(ChildNamed(port, "address"), "location");
        }
    }
    if (model.portTypeOperations.empty()) {
        result.error = "the service description lists no operation";
        return result;
    }
    result.ok = true;
    return result;
}

SelectedOperation SelectOperation(const WsdlModel& model, int index) {
    SelectedOperation selected;
    selected.name = OperationName(index);
    if (selected.name.empty()) return selected;
    bool portFound = false, messageFound = false, bindingFound = false, typeFound = false;
    for (const PortTypeOperation& op : model.portTypeOperations) {
        if (op.name != selected.name) continue;
        selected.inputMessage = op.inputMessage;
        selected.outputMessage = op.outputMessage;
        portFound = true;
        break;
    }
    // Message names are compared without their namespace prefix, whatever its length.
    const std::string_view input = WithoutPrefix(selected.inputMessage);
    const std::string_view output = WithoutPrefix(selected.outputMessage);
    for (const Message& message : model.messages) {
        if (portFound && message.name == input) {
            selected.inputParts = message.parts;
            messageFound = true;
        }
        if (portFound && message.name == output) {
            selected.outputParts = message.parts;
            messageFound = true;
        }
    }
    for (const BindingOperation& op : model.bindingOperations) {
        if (op.name != selected.name) continue;
        selected.binding = op;
        bindingFound = true;
        break;
    }
    for (const std::string_view wanted : {input, output}) {
        if (typeFound || wanted.empty()) continue;
        for (const ComplexType& type : model.types) {
            if (type.name != wanted) continue;
            selected.type = type;
            typeFound = true;
            break;
        }
    }
    selected.found = portFound && messageFound && bindingFound && typeFound;
    return selected;
}

}  // namespace vex::netdb
