// Small pieces the trunk windows share: Latin-1 text at the boundary and entry fields that
// drop the characters their key filter refuses, whether typed or pasted.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

class QLineEdit;

namespace vex::gui {

inline QString TrunkText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string TrunkString(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Characters the predicate refuses are removed as soon as they reach the field; characters
// outside Latin-1 are always refused.
void KeepOnlyAccepted(QLineEdit* field, std::function<bool(unsigned char)> accepted);

}  // namespace vex::gui
