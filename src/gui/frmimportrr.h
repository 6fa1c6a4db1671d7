// The database import window `FrmImportRR`: log in to the frequency database, browse country,
// state, county, agency and trunked system, tick frequencies, sites and talkgroups, and import
// them into one bank. The network calls run in the background: the window shows a waiting
// status, stays usable, and a running call can be cancelled.
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/image.h"
#include "netdb/browse.h"
#include "netdb/browse_modes.h"
#include "netdb/convert.h"
#include "netdb/session.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSettings;
class QSpinBox;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace vex {
class QtHttpTransport;
}

namespace vex::gui {

class MemTab;
class Prompter;

// Applies a change to the image as one named undo step; false when nothing could be applied.
using ApplyChange = std::function<bool(const QString&, const std::function<bool(Image&)>&)>;

class FrmImportRR : public QDialog {
    Q_OBJECT
  public:
    // `settingsFile` empty: the user's settings store; otherwise that INI file (tests).
    FrmImportRR(const Image& image, std::filesystem::path dataFolder, Prompter& prompter,
                ApplyChange apply, const QString& settingsFile = {}, QWidget* parent = nullptr);
    ~FrmImportRR() override;

    netdb::Session& session() { return *d_session; }
    // The settings as the window's controls show them.
    netdb::ImportOptions importOptions() const;
    bool busy() const;

    // Actions, also run by the buttons.
    void connectToService();
    void cancelCall();
    void importTicked();
    void tickAll(bool ticked);
    void copyToClipboard();
    void view();
    void chooseAddress();
    void setBrowseMode(netdb::BrowseMode mode);
    netdb::BrowseMode browseMode() const { return d_browseMode; }
    void enterZipCode();
    void loadXmlFile();
    void saveXmlFile();
    void viewXmlFile();
    // The XML the File menu shows and saves: the last answer of the service, or the file loaded
    // after it.
    std::string xmlText() const;
    // The wait between log-in attempts (tests shorten it).
    void setRetryInterval(int ms);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    enum class Mode { None, Place, System };

    void buildControls();
    void readSettings();
    void writeSettings();
    void setBusy(bool busy, const QString& status = {});
    void setStatus(const QString& text);
    void fail(const std::string& message);
    void clearBelow(QComboBox* combo);
    void fillCombo(QComboBox* combo,
                   const std::vector<std::pair<std::int32_t, std::string>>& entries);
    void countryChosen();
    void stateChosen();
    void countyChosen();
    void agencyChosen();
    void systemChosen();
    void startLogin();
    void loginFailed(const netdb::Outcome& outcome);
    void showList(QComboBox* combo, bool shown);
    void fillAgencies();
    void showPlace(netdb::PlaceData data);
    void showSystem(netdb::SystemData data);
    void fillBankList();
    void updateCounter();

    const Image& d_image;
    Prompter& d_prompter;
    ApplyChange d_apply;
    std::unique_ptr<QSettings> d_settings;
    vex::QtHttpTransport* d_transport;
    std::unique_ptr<netdb::Session> d_session;
    bool d_loggedIn = false;
    Mode d_mode = Mode::None;
    netdb::PlaceData d_place;
    netdb::SystemData d_system;
    std::int32_t d_countyId = 0, d_agencyId = 0;
    netdb::BrowseMode d_browseMode = netdb::BrowseMode::Conventional;
    netdb::CountryInfo d_countryInfo;
    netdb::StateInfo d_stateInfo;
    std::int32_t d_pendingCounty = 0;  // the ZIP code's county, chosen once its state is read
    netdb::LoginRetry d_retry;
    bool d_retryCancelled = false;
    std::string d_loadedXml;
    int d_loadedXmlAt = -1;  // the session's answer count when the file was loaded
    int d_dots = 0;
    QString d_waitText;

    QLineEdit* d_user;
    QLineEdit* d_password;
    QCheckBox* d_savePassword;
    QCheckBox* d_debug;
    QPushButton* d_connect;
    QPushButton* d_cancel;
    QLabel* d_status;
    QComboBox* d_country;
    QComboBox* d_state;
    QComboBox* d_county;
    QComboBox* d_agency;
    QComboBox* d_systemList;
    QLabel* d_systemInfo;
    QTreeWidget* d_sites;
    QTreeWidget* d_items;
    QLabel* d_counter;
    std::vector<QCheckBox*> d_ticks;  // in the order of netdb::OptionCaptions()
    QRadioButton* d_keepName;
    QRadioButton* d_placeName;
    QRadioButton* d_customName;
    QLineEdit* d_placeNameText;
    QLineEdit* d_customNameText;
    QComboBox* d_bank;
    QSpinBox* d_start;
    QPushButton* d_import;
    QTimer* d_waitTimer;
    QTimer* d_retryTimer;
    std::vector<QRadioButton*> d_modeButtons;  // in BrowseMode order
    QLineEdit* d_zip;
    QLabel* d_zipInfo;
    QDialog* d_xmlView = nullptr;
};

// The main window's "Frequency Database Webservice" command.
void OpenDatabaseImport(MemTab& main);

}  // namespace vex::gui
