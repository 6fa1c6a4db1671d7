// A question put to the user, the same for the editor's commands and the scanner link: the
// caller goes on only on Yes / OK.
#pragma once

#include <string>

namespace vex {

struct Question {
    enum class Buttons { YesNo, YesNoCancel, OkCancel };
    std::string title;
    std::string text;                  // lines separated by "\n"
    bool warning = true;               // warning icon, otherwise a question mark
    Buttons buttons = Buttons::YesNo;  // Yes/No defaults to No
    bool beep = false;
};

}  // namespace vex
