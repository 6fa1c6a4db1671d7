// The XML text the import window shows, loads and saves: checked before it is taken, with the
// place and reason of the first fault.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vex::netdb {

inline constexpr std::string_view kXmlDefaultName = "Text.xml";
inline constexpr std::string_view kXmlSaveFilter = "XML (*.xml);;Text (*.txt)";
inline constexpr std::string_view kXmlLoadFilter = "XML (*.xml);;WSDL (*.wsdl);;Text (*.txt)";
inline constexpr std::string_view kMsgXmlParseError = "XML Parse Error";

struct XmlCheck {
    bool ok = false;
    int code = 0;      // the parser's status number; 0 when the text parses
    int line = 0;      // 1-based, of the first fault
    int position = 0;  // 1-based column in that line
    std::string reason;
};

// Parses `text` (limited to the size the program accepts from the service) without keeping it.
XmlCheck CheckXmlText(std::string_view text);
// Reads a plain file of at most the accepted size into `text` and checks it; a file that cannot
// be read gives a check with the reason.
XmlCheck ReadXmlFile(const std::filesystem::path& path, std::string& text);
// "Error Code: ", "Line Number: ...", "Line Position: ...", "Reason: ..." on four lines.
std::string XmlParseErrorText(const XmlCheck& check);

}  // namespace vex::netdb
