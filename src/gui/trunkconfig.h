// The trunk settings window `trunkconfig` ("Trunk Configuration"): one bank's trunk type and
// the settings of its system, edited straight in the image. Closing it, any way, stores the
// bank shown; there is no separate Cancel.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "core/image.h"
#include "trunk/trunk_settings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace vex::gui {

class TrunkConfig : public QDialog {
    Q_OBJECT
  public:
    explicit TrunkConfig(Image& image, QWidget* parent = nullptr);

    // The Memory Manager in bank mode with "Trunk sett." ticked; the button that opens it is
    // shown once this is set.
    void setBankManager(std::function<void()> open);

    int currentBank() const { return d_bank; }
    const TrunkConfigForm& form() const { return d_form; }

    // Button actions, also reachable for tests and shortcuts.
    void selectBank(int bank);
    void clearThisBank();
    void copyMoveSwapBanks();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  public slots:
    void done(int result) override;

  private:
    void buildWindow();
    void activate();
    void typeChosen(int position);  // by the user: stored at once
    void showType(int position);    // the bank's own type: nothing is stored
    void fleetMapChosen(int position);
    void showBank();   // records -> controls
    void storeBank();  // controls -> records
    void readControls();
    void writeControls();
    void updateVisibility();

    Image& d_image;
    TrunkConfigForm d_form;
    // The form as the bank was shown: a bank whose controls still show it is not stored, so a
    // window that changed nothing changes nothing.
    TrunkConfigForm d_shown;
    int d_bank = 0;
    std::function<void()> d_openBankManager;

    QTabBar* d_tabs = nullptr;
    QComboBox* d_type = nullptr;
    QGroupBox* d_frame800 = nullptr;
    QGroupBox* d_frameVhf = nullptr;
    QGroupBox* d_frameEdacs = nullptr;
    QGroupBox* d_frameLtr = nullptr;

    QComboBox* d_delay800 = nullptr;
    QComboBox* d_endCode800 = nullptr;
    QCheckBox* d_status800 = nullptr;
    QLabel* d_controlLabel = nullptr;
    QComboBox* d_control = nullptr;
    QPushButton* d_controlAll = nullptr;
    QLabel* d_fleetLabel = nullptr;
    QComboBox* d_fleetMap = nullptr;
    QLabel* d_customLabel = nullptr;
    std::array<QLineEdit*, kFleetMapBlocks> d_blocks{};
    std::array<QLabel*, kFleetMapBlocks> d_blockLabels{};
    QPushButton* d_clearBlocks = nullptr;

    QComboBox* d_delayVhf = nullptr;
    QComboBox* d_endCodeVhf = nullptr;
    QCheckBox* d_statusVhf = nullptr;
    std::array<std::array<QLineEdit*, 3>, kTrunkBaseRows> d_base{};

    QComboBox* d_delayEdacs = nullptr;
    QComboBox* d_idFormat = nullptr;

    QComboBox* d_delayLtr = nullptr;

    QPushButton* d_bankManager = nullptr;
};

}  // namespace vex::gui
