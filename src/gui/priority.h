// The priority channel dialog: the priority channel of each bank, read from and sent to the
// scanner; "Close" keeps the fields in the image.
#pragma once

#include <array>

#include "gui/scannerdialog.h"

class QLineEdit;

namespace vex::gui {

class MemTab;

class PriorityDialog : public ScannerDialog {
    Q_OBJECT
  public:
    PriorityDialog(const std::array<std::int16_t, 5>& channels, const Options& options, long baud,
                   std::unique_ptr<Transport> transport, Prompter& prompter,
                   QWidget* parent = nullptr, std::unique_ptr<Scheduler> scheduler = {});
    // The fields as numbers (0 for an empty one).
    std::array<int, 5> channels() const;

  private:
    void showChannels(const std::array<int, 5>& channels);
    std::array<QLineEdit*, 5> d_fields{};
};

void OpenPriorityChannels(MemTab& main);  // mnu_prioch_Click

}  // namespace vex::gui
