// The user guide that ships with the program, shown in a window of its own beside the editor.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace vex::gui {

class UserGuide : public QDialog {
    Q_OBJECT
  public:
    explicit UserGuide(QWidget* parent = nullptr);
    // The guide's file: installed beside the program, else the source tree's; empty when
    // neither is there.
    static QString guidePath();
    // False when no guide was found (the caller says so).
    bool load();
    QTextBrowser* browser() const { return d_browser; }

  private:
    QTextBrowser* d_browser = nullptr;
};

}  // namespace vex::gui
