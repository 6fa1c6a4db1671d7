// EasyFill (`easy2`, "Easy Fill BCT8"): a range of channels filled with ascending frequencies
// and a common tag, trunk, delay or lockout value.
#pragma once

#include <QDialog>

#include "gui/imagechange.h"
#include "tools/easyfill.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vex::gui {

class Easy2 : public QDialog {
    Q_OBJECT
  public:
    // The range starts as the absolute channels first..last (the rows selected in the grid).
    Easy2(int firstChannel, int lastChannel, ImageChange apply, QWidget* parent = nullptr);

  private:
    EasyFillChoices choices() const;
    void fill();

    ImageChange d_apply;
    QLineEdit* d_start = nullptr;
    QLineEdit* d_end = nullptr;
    QCheckBox* d_frequency = nullptr;
    QLineEdit* d_startMHz = nullptr;
    QComboBox* d_step = nullptr;
    QCheckBox* d_tag = nullptr;
    QLineEdit* d_tagText = nullptr;
    QCheckBox* d_series = nullptr;
    QCheckBox* d_trunk = nullptr;
    QComboBox* d_trunkValue = nullptr;
    QCheckBox* d_delay = nullptr;
    QComboBox* d_delayValue = nullptr;
    QCheckBox* d_lockout = nullptr;
    QComboBox* d_lockoutValue = nullptr;
    QPushButton* d_selectAll = nullptr;
    QPushButton* d_applyButton = nullptr;
    QLabel* d_result = nullptr;
};

}  // namespace vex::gui
