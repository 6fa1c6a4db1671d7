// "Setup Default Data": which flags a newly entered frequency takes from the defaults, and
// their values.
#pragma once

#include <QDialog>
#include <array>

#include "settings/options.h"

class QCheckBox;
class QComboBox;

namespace vex::gui {

class DefData : public QDialog {
    Q_OBJECT
  public:
    DefData(DefaultData& data, QWidget* parent = nullptr);
    void accept() override;

  private:
    DefaultData& d_data;
    std::array<QCheckBox*, 3> d_use{};
    std::array<QComboBox*, 3> d_value{};
};

}  // namespace vex::gui
