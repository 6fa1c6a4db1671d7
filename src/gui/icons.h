// Icons and tool tips of the program's commands. An icon comes from the desktop's icon theme
// when the theme has it and otherwise from the program's own drawings, so every button has a
// picture under any theme and with none.
#pragma once

#include <QIcon>
#include <QString>

class QAction;
class QKeySequence;

namespace vex::gui {

// The icon named `name`: a freedesktop icon name ("document-save") or one of the program's own
// ("vexatron-scanner-read", never in a theme).
QIcon themedIcon(const QString& name);

// The program's own icon in all its sizes.
QIcon applicationIcon();

// Gives every window the program's icon and tells the desktop which launcher (.desktop file)
// the windows belong to.
void setUpApplicationIdentity();
// The name of that launcher, without ".desktop".
inline constexpr const char* kDesktopFileName = "vexatron";

// "Save (Ctrl+S)": a tip naming the shortcut as this platform writes it; the tip alone when
// there is no shortcut.
QString shortcutToolTip(const QString& tip, const QKeySequence& key);

// Sets `button`'s tool tip to `tip` naming `source`'s shortcut, and keeps it so when the
// shortcut changes later. `button` may be `source` itself.
void setShortcutToolTip(QAction* button, const QAction* source, const QString& tip);

}  // namespace vex::gui
