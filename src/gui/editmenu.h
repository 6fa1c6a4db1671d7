// The Memory Manager (`editmenu`): copy, move or swap channels ("Edit Memory Data") or whole
// banks ("Edit Memory Banks"), chosen by the mode caption when it opens.
#pragma once

#include <QDialog>

#include "gui/imagechange.h"
#include "tools/memory_manager.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vex::gui {

class EditMenu : public QDialog {
    Q_OBJECT
  public:
    // `image` is read for the lists; every change goes through `apply`. `copyTags` ticks
    // "Include Bank Tag" (the `copytags` setting).
    EditMenu(const Image& image, int currentBank, bool copyTags, ImageChange apply,
             QWidget* parent = nullptr);

  private:
    void fillLists();
    TransferOp operation() const;
    bool perform();  // the operation of the current choices; false when it could not be done
    void choicesChanged();

    const Image& d_image;
    int d_currentBank;
    bool d_bankMode;
    ImageChange d_apply;
    QRadioButton* d_copy = nullptr;
    QRadioButton* d_move = nullptr;
    QRadioButton* d_swap = nullptr;
    QRadioButton* d_allBanks = nullptr;
    QListWidget* d_from = nullptr;
    QListWidget* d_to = nullptr;
    QCheckBox* d_frequencies = nullptr;
    QCheckBox* d_trunkIds = nullptr;
    QCheckBox* d_trunkSettings = nullptr;
    QCheckBox* d_bankTag = nullptr;
    QPushButton* d_applyButton = nullptr;
    QLabel* d_status = nullptr;
};

}  // namespace vex::gui
