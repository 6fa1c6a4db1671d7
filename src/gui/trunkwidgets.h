// Small pieces the trunk windows share: entry fields that drop the characters their key filter
// refuses, whether typed or pasted.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "gui/latin1_text.h"

class QLineEdit;

namespace vex::gui {

// Characters the predicate refuses are removed as soon as they reach the field; characters
// outside Latin-1 are always refused.
void KeepOnlyAccepted(QLineEdit* field, std::function<bool(unsigned char)> accepted);

}  // namespace vex::gui
