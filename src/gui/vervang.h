// "Replace Text Tag:" (`vervang`): replaces a text inside the tags of one bank or all five.
#pragma once

#include <QDialog>

#include "gui/imagechange.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vex::gui {

class Vervang : public QDialog {
    Q_OBJECT
  public:
    Vervang(int currentBank, ImageChange apply, QWidget* parent = nullptr);

  private:
    void replace();

    int d_currentBank;
    ImageChange d_apply;
    QLineEdit* d_find = nullptr;
    QLineEdit* d_replacement = nullptr;
    QRadioButton* d_allBanks = nullptr;
    QCheckBox* d_matchCase = nullptr;
    QLabel* d_result = nullptr;
};

}  // namespace vex::gui
