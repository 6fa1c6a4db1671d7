// "Active Banks:" (`ACTBANK`): which of the five banks the scanner scans.
#pragma once

#include <QDialog>
#include <array>

#include "gui/imagechange.h"
#include "tools/easyfill.h"

class QCheckBox;

namespace vex::gui {

class ActBank : public QDialog {
    Q_OBJECT
  public:
    ActBank(const Image& image, ImageChange apply, QWidget* parent = nullptr);

  private:
    void store();

    ImageChange d_apply;
    std::array<QCheckBox*, kScannerBanks> d_banks{};
};

}  // namespace vex::gui
