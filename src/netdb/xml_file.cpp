#include "netdb/xml_file.h"

#include <algorithm>

#include <pugixml.hpp>

#include "core/plain_file.h"
#include "netdb/xml_load.h"

namespace vex::netdb {

namespace {

// Status numbers of our own, past the parser's.
constexpr int kTooLarge = 100;
constexpr int kUnreadable = 101;

}  // namespace

XmlCheck CheckXmlText(std::string_view text) {
    XmlCheck check;
    if (text.size() > kMaxXmlBytes) {
        check.code = kTooLarge;
        check.reason =
            "the file is larger than " + std::to_string(kMaxXmlBytes / (1024 * 1024)) + " MB";
        return check;
    }
    pugi::xml_document doc;
    // Document type declarations are skipped, not read, so no entity is ever expanded.
    const pugi::xml_parse_result result =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
    if (result) {
        check.ok = true;
        return check;
    }
    const auto offset = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(result.offset, 0, static_cast<std::ptrdiff_t>(text.size())));
    const std::string_view before = text.substr(0, offset);
    check.code = static_cast<int>(result.status);
    check.line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lineStart = before.rfind('\n');
    check.position =
        static_cast<int>(offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1)) + 1;
    check.reason = result.description();
    return check;
}

XmlCheck ReadXmlFile(const std::filesystem::path& path, std::string& text) {
    if (const FileOutcome read = ReadPlainFile(path, text, kMaxXmlBytes); !read) {
        XmlCheck check;
        check.code = read.problem == FileProblem::TooLarge ? kTooLarge : kUnreadable;
        check.reason = path.string() + ": " + read.reason;
        return check;
    }
    return CheckXmlText(text);
}

std::string XmlParseErrorText(const XmlCheck& check) {
    return "Error Code: " + std::to_string(check.code) +
           "\nLine Number: " + std::to_string(check.line) +
           "\nLine Position: " + std::to_string(check.position) + "\nReason: " + check.reason;
}

}  // namespace vex::netdb
