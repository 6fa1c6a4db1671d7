// How the tool windows change the image: one named undo step through the main window.
#pragma once

#include <QString>
#include <functional>

#include "core/image.h"

namespace vex::gui {

// Runs `change` on the image as the step `stepName`; false when the main window could not
// take the step (its grid could not be stored).
using ImageChange =
    std::function<bool(const QString& stepName, const std::function<bool(Image&)>& change)>;

}  // namespace vex::gui
