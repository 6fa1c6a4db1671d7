// The logic's Latin-1 text at the boundary with the toolkit's strings, both ways.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vex::gui {

inline QString L1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A character Latin-1 lacks becomes '?'.
inline std::string ToL1(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace vex::gui
