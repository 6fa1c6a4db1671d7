// "File > Compare With...", "BCT8 > Compare With Scanner" and "BCT8 > Send Changes".
#pragma once

#include <QString>

#include "core/image.h"
#include "core/image_diff.h"

namespace vex::gui {

class MemTab;
class CompareWin;

// Chooses a MEM file and lists how it differs from the open image.
void CompareWithFile(MemTab& main);
// Reads the scanner into a copy and lists how it differs from the open image.
void CompareWithScanner(MemTab& main);
// Sends only what differs from the scanner's memory as the last transfer left it.
void SendChanges(MemTab& main);

// Lists the differences between the open image and `other` in a window beside the main one
// (or says there are none); returns the window, null when there was nothing to list.
CompareWin* ShowComparison(MemTab& main, const QString& against, const Image& other);
// Shows the place in the main window; `open` also opens the trunk window a trunk place names.
void GoToPlace(MemTab& main, const ImagePlace& place, bool open);

}  // namespace vex::gui
