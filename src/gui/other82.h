// The scanner settings dialog ("&Other Options"): the general settings read from and written to
// the scanner through its menu, and "Reset BCT8", which clears the whole scanner memory after
// "RESET" is typed and the question is answered.
#pragma once

#include <array>

#include "gui/scannerdialog.h"

class QComboBox;
class QLineEdit;

namespace vex::gui {

class MemTab;

class ScannerSettingsDialog : public ScannerDialog {
    Q_OBJECT
  public:
    ScannerSettingsDialog(const Options& options, long baud, std::unique_ptr<Transport> transport,
                          Prompter& prompter, QWidget* parent = nullptr,
                          std::unique_ptr<Scheduler> scheduler = {});
    std::array<int, kMenuSettings> choices() const;

  private:
    void resetScanner();
    std::array<QComboBox*, kMenuSettings> d_lists{};
    QLineEdit* d_resetText = nullptr;
};

void OpenScannerSettings(MemTab& main);  // other82_Click

}  // namespace vex::gui
