// "Replace Text Tag:" (`vervangtrunk`): replaces text inside the tags of the trunk ID window's
// current bank; the trunk ID window shows each result at once.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;

namespace vex::gui {

class VervangTrunk : public QDialog {
    Q_OBJECT
  public:
    // `replace` does the replacement in the caller's rows and returns how many tags changed.
    using Replace = std::function<int(const std::string& find, const std::string& replacement)>;
    explicit VervangTrunk(Replace replace, QWidget* parent = nullptr);

    void apply();

  private:
    Replace d_replace;
    QLineEdit* d_find = nullptr;
    QLineEdit* d_replacement = nullptr;
    QLabel* d_result = nullptr;
};

}  // namespace vex::gui
