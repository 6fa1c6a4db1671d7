// "Edit Trunk ID's" (`editrunk`): copies, moves or swaps single IDs or whole lists of ten IDs
// (with their scan-list tags) inside the trunk ID table.
#pragma once

#include <QDialog>

#include "core/image.h"
#include "trunk/trunk_edit.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace vex::gui {

class EditTrunk : public QDialog {
    Q_OBJECT
  public:
    EditTrunk(Image& image, int activeBank, QWidget* parent = nullptr);

    // "&Apply": the chosen operation from the "From:" entry to the "To:" entry.
    void apply();

  private:
    void refill(bool keepSelection);
    TrunkEditScope scope() const;
    TrunkEditUnit unit() const;
    TrunkEditOp operation() const;

    Image& d_image;
    int d_activeBank;
    QRadioButton* d_activeScope = nullptr;
    QRadioButton* d_allScope = nullptr;
    QRadioButton* d_ids = nullptr;
    QRadioButton* d_lists = nullptr;
    QRadioButton* d_copy = nullptr;
    QRadioButton* d_move = nullptr;
    QRadioButton* d_swap = nullptr;
    QListWidget* d_from = nullptr;
    QListWidget* d_to = nullptr;
    QPushButton* d_apply = nullptr;
};

}  // namespace vex::gui
