// The software setup dialog: most options of setup.ini on five pages. OK writes them into the
// options, Cancel leaves them; "Reset Trunk systems" acts at once.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "core/image.h"
#include "settings/options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollBar;
class QTabWidget;

namespace vex::gui {

class SoftOptions : public QDialog {
    Q_OBJECT
  public:
    SoftOptions(Options& options, Image& image, QWidget* parent = nullptr);

    // "30 Minutes.", "1 Minute.".
    static QString backupDelayText(int minutes);

    void accept() override;

  private:
    QCheckBox* addCheck(QWidget* page, const QString& caption, const char* key, int& option,
                        const QString& help);
    void resetTrunkSystems();

    Options& d_options;
    Image& d_image;
    QTabWidget* d_pages = nullptr;
    QComboBox* d_model = nullptr;
    QComboBox* d_align = nullptr;
    QScrollBar* d_backupDelay = nullptr;
    QLabel* d_backupLabel = nullptr;
    QLabel* d_smartInfo = nullptr;
    QLabel* d_resetDone = nullptr;
    // A check box and the option it edits, with the state it opened with: an option that is
    // neither 0 nor 1 keeps its value unless the box is changed.
    struct Check {
        QCheckBox* box;
        int* option;
        bool initial;
    };
    std::vector<Check> d_checks;
};

}  // namespace vex::gui
