// The differences between the open image and another (a MEM file, or the scanner's memory as
// just read), one line each in image order. Selecting a channel's or a bank's line shows it in
// the main window; Enter or a double click on a trunk line opens the trunk window it names.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "core/image_diff.h"

class QLabel;
class QListWidget;

namespace vex::gui {

class CompareWin : public QDialog {
    Q_OBJECT
  public:
    // `against` names the other side ("the file /x/y.mem", "the scanner").
    CompareWin(const QString& against, std::vector<ImageDifference> differences,
               QWidget* parent = nullptr);

    // `open` true: the user asked to open the place (Enter, double click, "Go To").
    using GoTo = std::function<void(const ImagePlace& place, bool open)>;
    void setGoTo(GoTo goTo) { d_goTo = std::move(goTo); }

    QListWidget* list() const { return d_list; }
    const std::vector<ImageDifference>& differences() const { return d_differences; }

  private:
    void go(int row, bool open);

    std::vector<ImageDifference> d_differences;
    GoTo d_goTo;
    QListWidget* d_list = nullptr;
};

}  // namespace vex::gui
