// "Export CSV data": the channels, the search/edge data or the trunk IDs as a CSV file.
#pragma once

#include <QDialog>

#include "core/image.h"
#include "gui/prompter.h"

class QRadioButton;

namespace vex::gui {

class ExpCsv : public QDialog {
    Q_OBJECT
  public:
    ExpCsv(const Image& image, int currentBank, Prompter& prompter, QWidget* parent = nullptr);

    // OK: asks for the file and writes it; the dialog closes once written (or cancelled).
    void exportNow();

  private:
    const Image& d_image;
    int d_bank;
    Prompter& d_prompter;
    QRadioButton* d_choices[5] = {};
};

}  // namespace vex::gui
