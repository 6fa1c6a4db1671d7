// How the main window runs the child windows its menus open: modal ones to their end, side
// windows shown beside it. A test puts its own runner in to act on each window as it opens.
#pragma once

#include <QDialog>

namespace vex::gui {

class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    // Runs `dialog` modally and returns its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog& dialog) { return dialog.exec(); }
    // Shows a window that stays open beside the main one and brings it forward.
    virtual void show(QWidget& window) {
        window.show();
        window.raise();
        window.activateWindow();
    }
};

}  // namespace vex::gui
