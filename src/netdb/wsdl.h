// The service description: what the client keeps of it, and the lookup of one operation.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vex::netdb {

struct BindingOperation {
    std::string name, soapAction, style;
    std::string inputUse, inputNamespace, inputEncodingStyle;
    std::string outputUse, outputNamespace, outputEncodingStyle;
};

struct PortTypeOperation {
    std::string name, documentation, inputMessage, outputMessage;  // messages with their prefix
};

struct MessagePart {
    std::string name, type;
    bool operator==(const MessagePart&) const = default;
};

struct Message {
    std::string name;
    std::vector<MessagePart> parts;
};

struct TypeElement {
    std::string name, type;
};

struct ComplexType {
    std::string name;
    std::vector<TypeElement> elements;                 // content "all"
    std::string restrictionBase, arrayRef, arrayType;  // content "complexContent"
};

struct WsdlModel {
    std::string targetNamespace, xmlns, xmlnsSoap, xmlnsSoapEnc, xmlnsSoapEnv, xmlnsWsdl, xmlnsTns,
        xmlnsXsi;
    std::string serviceName, portName, portBinding, address;
    std::string bindingName, bindingType, bindingStyle, bindingTransport;
    std::vector<BindingOperation> bindingOperations;
    std::string portTypeName;
    std::vector<PortTypeOperation> portTypeOperations;
    std::vector<Message> messages;
    std::string schemaNamespace;
    std::vector<ComplexType> types;
};

struct WsdlParse {
    bool ok = false;
    std::string error;
    WsdlModel model;
};

// Fills the model from the description text. Fails with a reason when the text is refused by
// the XML limits, does not parse, or has no "definitions" element or no operation.
WsdlParse ParseWsdl(std::string_view text);

// The operations the client knows, by index; an index outside 0..29 gives "".
inline constexpr int kOperationCount = 30;
std::string OperationName(int index);

enum Op : int {
    kGetTrsTalkgroups = 0,
    kGetTrsTalkgroupCats = 1,
    kGetTrsDetails = 2,
    kGetTrsSites = 4,
    kGetTag = 7,
    kGetMode = 8,
    kGetTrsType = 9,
    kGetTrsFlavor = 10,
    kGetTrsVoice = 11,
    kGetCountryInfo = 13,
    kGetStateInfo = 14,
    kGetCountyInfo = 15,
    kGetAgencyInfo = 16,
    kGetSubcatFreqs = 17,
    kGetMetroArea = 23,
    kGetZipcodeInfo = 24,
    kGetUserData = 28,
};

// The per-call state of one operation.
struct SelectedOperation {
    std::string name;
    std::string inputMessage, outputMessage;  // as written, with prefix
    std::vector<MessagePart> inputParts, outputParts;
    BindingOperation binding;
    ComplexType type;
    bool found = false;  // all four lookups found something
};

// Looks the operation up; a missing one leaves empty names and an empty soapAction.
SelectedOperation SelectOperation(const WsdlModel& model, int index);

}  // namespace vex::netdb
