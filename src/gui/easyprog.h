// The easy programming dialog: one or more attributes set on a range of channels in the
// scanner ("Trunk:", "Delay:", "Record/Line out:", "Beep AL:", "Lock Out:", "Attenuator:").
#pragma once

#include <array>

#include "gui/scannerdialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vex::gui {

class MemTab;

class EasyProgramDialog : public ScannerDialog {
    Q_OBJECT
  public:
    EasyProgramDialog(const Options& options, long baud, std::unique_ptr<Transport> transport,
                      Prompter& prompter, QWidget* parent = nullptr,
                      std::unique_ptr<Scheduler> scheduler = {});
    // The choices as a request (range forced into 1..250).
    EasyProgramRequest request() const;

  private:
    void start();
    QLineEdit* d_start = nullptr;
    QLineEdit* d_end = nullptr;
    std::array<QCheckBox*, 6> d_ticks{};
    std::array<QComboBox*, 6> d_values{};
};

void OpenEasyProgram(MemTab& main);  // setdelay_Click

}  // namespace vex::gui
