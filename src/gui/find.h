// "Find Data" (`find`): the next channel whose frequency or tag holds a text.
#pragma once

#include <QDialog>
#include <functional>

#include "settings/options.h"
#include "tools/find_replace.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vex::gui {

class Find : public QDialog {
    Q_OBJECT
  public:
    // The choices are remembered in `options` (findoptie); `found` shows a hit in the main
    // window.
    Find(const Image& image, int currentBank, Options& options,
         std::function<void(const FindHit&)> found, QWidget* parent = nullptr);

  private:
    void findNext();
    void remember();

    const Image& d_image;
    int d_currentBank;
    Options& d_options;
    std::function<void(const FindHit&)> d_found;
    int d_position = 0;
    QLineEdit* d_text = nullptr;
    QRadioButton* d_tag = nullptr;
    QRadioButton* d_allBanks = nullptr;
    QCheckBox* d_matchCase = nullptr;
    QLabel* d_result = nullptr;
};

}  // namespace vex::gui
