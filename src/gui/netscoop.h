// The small Netscoop window: how to copy a web page, and a button that takes it from the
// clipboard into "Advanced Data Import". It stays open beside the main window.
#pragma once

#include <QDialog>

namespace vex::gui {

class MemTab;

class Netscoop : public QDialog {
    Q_OBJECT
  public:
    explicit Netscoop(MemTab& main, QWidget* parent = nullptr);

    // "Press To Import": the import window, its clipboard import already run.
    void pressToImport();

  private:
    MemTab& d_main;
};

}  // namespace vex::gui
