#include "netdb/xml_load.h"

#include <cstring>

namespace vex::netdb {

namespace {

bool HasDoctype(std::string_view text) {
    return text.find("<!DOCTYPE") != std::string_view::npos ||
           text.find("<!ENTITY") != std::string_view::npos;
}

// Depth of the tree, walked without recursion so that the walk itself cannot overflow.
int Depth(const pugi::xml_node& root) {
    int depth = 1;
    int deepest = 0;
    pugi::xml_node node = root.first_child();
    while (node) {
        if (depth > deepest) deepest = depth;
        if (deepest > kMaxXmlDepth) break;
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == root) break;
        node = node.next_sibling();
    }
    return deepest;
}

}  // namespace

XmlLoad LoadXml(pugi::xml_document& doc, std::string_view text) {
    XmlLoad result;
    doc.reset();
    if (text.size() > kMaxXmlBytes) {
        result.error = "the XML text is too large (" + std::to_string(text.size() / (1024 * 1024)) +
                       " MB; at most " + std::to_string(kMaxXmlBytes / (1024 * 1024)) +
                       " MB are accepted)";
        return result;
    }
    if (HasDoctype(text)) {
        result.error = "the XML text declares a document type or entities, which are not accepted";
        return result;
    }
    const pugi::xml_parse_result parsed =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        result.error = std::string("the XML text is not valid (") + parsed.description() +
                       " at offset " + std::to_string(parsed.offset) + ")";
        doc.reset();
        return result;
    }
    if (!doc.document_element()) {
        result.error = "the XML text holds no element";
        return result;
    }
    if (Depth(doc) > kMaxXmlDepth) {
        result.error =
            "the XML text is nested more than " + std::to_string(kMaxXmlDepth) + " levels deep";
        doc.reset();
        return result;
    }
    result.ok = true;
    return result;
}

std::string_view WithoutPrefix(std::string_view qualified) {
    const std::size_t colon = qualified.find(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

std::string_view LocalName(const pugi::xml_node& node) {
    return WithoutPrefix(node.name());
}

pugi::xml_node ChildNamed(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && LocalName(child) == name) return child;
    return {};
}

pugi::xml_node FirstElement(const pugi::xml_node& node) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) return child;
    return {};
}

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace vex::netdb
