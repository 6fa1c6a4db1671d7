// "Listtags" (`listtags`): the names of the ID lists of one bank.
#pragma once

#include <QDialog>
#include <array>

#include "core/image.h"
#include "trunk/trunk_edit.h"

class QLineEdit;

namespace vex::gui {

class ListTags : public QDialog {
    Q_OBJECT
  public:
    ListTags(Image& image, int bank, QWidget* parent = nullptr);

  private:
    ListTagFields fields() const;
    void setFields(const ListTagFields& fields);

    Image& d_image;
    int d_bank;
    std::array<QLineEdit*, kListTagFields> d_fields{};
    // The fields as first shown: confirming them unchanged writes nothing (a field may show
    // less than a longer stored tag).
    ListTagFields d_shown;
};

}  // namespace vex::gui
