// Loading XML that came from outside (the service, a cache file): size, depth and entity limits
// first, so that a hostile or broken answer ends in a message and never in a hang or a crash.
#pragma once

#include "core/latin1.h"

#include <cstddef>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace vex::netdb {

inline constexpr std::size_t kMaxXmlBytes = 32u * 1024u * 1024u;
inline constexpr int kMaxXmlDepth = 64;

struct XmlLoad {
    bool ok = false;
    std::string error;  // why the text was refused, for the user
    explicit operator bool() const { return ok; }
};

// Refuses text over kMaxXmlBytes, any document type declaration (entity definitions are where
// expansion attacks live), text that does not parse, and nesting deeper than kMaxXmlDepth.
XmlLoad LoadXml(pugi::xml_document& doc, std::string_view text);

// Element name without its namespace prefix ("soap:Body" gives "Body").
std::string_view LocalName(const pugi::xml_node& node);
// Strips "prefix:" from a qualified name; a name without a colon is returned whole.
std::string_view WithoutPrefix(std::string_view qualified);
// First element child whose local name is `name`; an empty node when there is none.
pugi::xml_node ChildNamed(const pugi::xml_node& node, std::string_view name);
// First element child, whatever its name.
pugi::xml_node FirstElement(const pugi::xml_node& node);

using vex::Latin1ToUtf8;
using vex::Utf8ToLatin1;
// Text escaped for an XML element or attribute.
std::string EscapeXml(std::string_view text);

}  // namespace vex::netdb
