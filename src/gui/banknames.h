// The bank names dialog: the names of banks 1..5 and of the Dummy bank, at most 16 characters
// each, kept in the image by "Ok" and written into the scanner by "Update scanner now".
#pragma once

#include <array>
#include <optional>
#include <string>

#include "gui/scannerdialog.h"

class QLineEdit;

namespace vex::gui {

class MemTab;

class BankNamesDialog : public ScannerDialog {
    Q_OBJECT
  public:
    BankNamesDialog(const std::array<std::string, 6>& names, const Options& options, long baud,
                    std::unique_ptr<Transport> transport, Prompter& prompter,
                    QWidget* parent = nullptr, std::unique_ptr<Scheduler> scheduler = {});
    // The fields as stored: cut to 16 characters, an empty one as " ".
    std::array<std::string, 6> names() const;
    // The names as "Update scanner now" last stored them, when it was pressed.
    const std::optional<std::array<std::string, 6>>& stored() const { return d_stored; }

  private:
    void setAll(const std::array<std::string, 6>& names);
    std::array<QLineEdit*, 6> d_fields{};
    std::optional<std::array<std::string, 6>> d_stored;
};

// 16 characters with the text in the middle, or moved to the left.
std::string CenteredName(std::string_view text);
std::string LeftName(std::string_view text);

void OpenBankNames(MemTab& main);  // tbtags_Click

}  // namespace vex::gui
