#include "gui/frmimportrr.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

#include "core/atomic_file.h"
#include "gui/frmdbaseloc.h"
#include "gui/memtab.h"
#include "gui/prompter.h"
#include "netdb/messages.h"
#include "netdb/xml_file.h"
#include "platform/http_transport.h"

namespace vex::gui {

namespace {

using namespace netdb;

const char* kSelect = ">>>  Select  <<<";
constexpr int kIndexRole = Qt::UserRole;      // frequency or talkgroup position
constexpr int kGroupRole = Qt::UserRole + 1;  // its group or site

QTreeWidgetItem* Checkable(QTreeWidgetItem* parent, const QStringList& columns, int group,
                           int index) {
    auto* item = new QTreeWidgetItem(parent, columns);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
    item->setCheckState(0, Qt::Checked);
    item->setData(0, kGroupRole, group);
    item->setData(0, kIndexRole, index);
    return item;
}

QTreeWidgetItem* Group(QTreeWidget* tree, const QStringList& columns) {
    auto* item = new QTreeWidgetItem(tree, columns);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsAutoTristate);
    item->setCheckState(0, Qt::Checked);
    item->setData(0, kGroupRole, -1);
    item->setExpanded(true);
    return item;
}

// Every ticked leaf, in list order.
template <typename Fn>
void ForTicked(QTreeWidget* tree, Fn fn) {
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = tree->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i)->checkState(0) == Qt::Checked)
                fn(group->child(i)->data(0, kGroupRole).toInt(),
                   group->child(i)->data(0, kIndexRole).toInt());
    }
}

QString Count(int n, const char* one, const char* many) {
    return QString::number(n) + (n == 1 ? one : many);
}

}  // namespace

FrmImportRR::FrmImportRR(const Image& image, std::filesystem::path dataFolder, Prompter& prompter,
                         ApplyChange apply, const QString& settingsFile, QWidget* parent)
    : QDialog(parent),
      d_image(image),
      d_prompter(prompter),
      d_apply(std::move(apply)),
      d_settings(settingsFile.isEmpty()
                     ? std::make_unique<QSettings>("Marlo", "Sitereader")
                     : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)),
      d_transport(new vex::QtHttpTransport(this)),
      d_session(std::make_unique<Session>(*d_transport, std::move(dataFolder))) {
    setWindowTitle(L1(kCaption));
    setObjectName("FrmImportRR");
    buildControls();
    readSettings();
    fillBankList();
    setBusy(false);
}

FrmImportRR::~FrmImportRR() {
    d_session.reset();  // before the transport, so no answer reaches a dead window
}

void FrmImportRR::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(tr("&File"));
    file->addAction(tr("&Load XML File"), this, [this] { loadXmlFile(); })
        ->setObjectName("loadXml");
    file->addAction(tr("&Save XML File"), this, [this] { saveXmlFile(); })
        ->setObjectName("saveXml");
    file->addAction(tr("Vie&w XML File"), this, [this] { viewXmlFile(); })
        ->setObjectName("viewXml");
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QDialog::close);
    QMenu* settings = menu->addMenu(tr("Settings"));
    settings->addAction(tr("Database Address"), this, [this] { chooseAddress(); })
        ->setObjectName("databaseAddress");
    layout->setMenuBar(menu);

    auto* login = new QHBoxLayout;
    d_user = new QLineEdit(this);
    d_user->setObjectName("user");
    d_password = new QLineEdit(this);
    d_password->setObjectName("password");
    d_password->setEchoMode(QLineEdit::Password);
    d_savePassword = new QCheckBox(tr("Save password (stored unencrypted)"), this);
    d_savePassword->setObjectName("savePassword");
    d_savePassword->setToolTip(L1(kMsgPasswordUnencrypted));
    d_connect = new QPushButton(tr("Connect"), this);
    d_connect->setObjectName("connect");
    d_cancel = new QPushButton(tr("Cancel"), this);
    d_cancel->setObjectName("cancel");
    d_debug = new QCheckBox(tr("debug"), this);
    d_debug->setObjectName("debug");
    d_debug->setToolTip(tr("Keep a trace of the exchanges in soaplog.txt (never the password)"));
    login->addWidget(new QLabel(tr("User:"), this));
    login->addWidget(d_user);
    login->addWidget(new QLabel(tr("Password:"), this));
    login->addWidget(d_password);
    login->addWidget(d_savePassword);
    login->addWidget(d_connect);
    login->addWidget(d_cancel);
    login->addWidget(d_debug);
    layout->addLayout(login);
    d_status = new QLabel(this);
    d_status->setObjectName("status");
    d_status->setWordWrap(true);
    layout->addWidget(d_status);

    auto* modes = new QHBoxLayout;
    for (std::size_t m = 0; m < BrowseModeCaptions().size(); ++m) {
        auto* button = new QRadioButton(L1(BrowseModeCaptions()[m]), this);
        button->setObjectName(QString("mode%1").arg(m));
        d_modeButtons.push_back(button);
        modes->addWidget(button);
        connect(button, &QRadioButton::clicked, this,
                [this, m] { setBrowseMode(static_cast<BrowseMode>(m)); });
    }
    modes->addStretch();
    d_zip = new QLineEdit(this);
    d_zip->setObjectName("zip");
    d_zip->setMaxLength(10);
    d_zip->setPlaceholderText(tr("ZIP code, Enter"));
    d_zip->setToolTip(
        tr("United States: type a ZIP code and press Enter to choose its state "
           "and county"));
    auto* zipLabel = new QLabel(tr("&ZIP:"), this);
    zipLabel->setBuddy(d_zip);
    modes->addWidget(zipLabel);
    modes->addWidget(d_zip);
    d_zipInfo = new QLabel(this);
    d_zipInfo->setObjectName("zipInfo");
    modes->addWidget(d_zipInfo);
    layout->addLayout(modes);
    connect(d_zip, &QLineEdit::returnPressed, this, [this] { enterZipCode(); });

    auto* pick = new QGridLayout;
    const auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setMinimumContentsLength(18);
        return c;
    };
    d_country = combo("country");
    d_country->addItem(kSelect, 0);
    for (std::size_t i = 0; i < CountryNames().size(); ++i)
        d_country->addItem(L1(CountryNames()[i]), static_cast<int>(i + 1));
    d_state = combo("state");
    d_county = combo("county");
    d_agency = combo("agency");
    d_systemList = combo("system");
    const auto labelled = [this, pick](const QString& text, QComboBox* c, int row, int column,
                                       int span) {
        auto* label = new QLabel(text, this);
        label->setBuddy(c);
        pick->addWidget(label, row, column);
        pick->addWidget(c, row, column + 1, 1, span);
    };
    labelled(tr("C&ountry:"), d_country, 0, 0, 1);
    labelled(tr("S&tate:"), d_state, 0, 2, 1);
    labelled(tr("Co&unty:"), d_county, 1, 0, 1);
    labelled(tr("A&gency:"), d_agency, 1, 2, 1);
    labelled(tr("Trunk S&ystem:"), d_systemList, 2, 0, 3);
    layout->addLayout(pick);
    connect(d_country, &QComboBox::activated, this, [this] { countryChosen(); });
    connect(d_state, &QComboBox::activated, this, [this] { stateChosen(); });
    connect(d_county, &QComboBox::activated, this, [this] { countyChosen(); });
    connect(d_agency, &QComboBox::activated, this, [this] { agencyChosen(); });
    connect(d_systemList, &QComboBox::activated, this, [this] { systemChosen(); });

    d_systemInfo = new QLabel(this);
    d_systemInfo->setObjectName("systemInfo");
    d_systemInfo->setWordWrap(true);
    layout->addWidget(d_systemInfo);
    auto* lists = new QHBoxLayout;
    d_sites = new QTreeWidget(this);
    d_sites->setObjectName("sites");
    d_sites->setHeaderLabels({tr("Site / Frequency"), tr("LCN"), tr("Use")});
    d_items = new QTreeWidget(this);
    d_items->setObjectName("items");
    d_items->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lists->addWidget(d_sites, 1);
    lists->addWidget(d_items, 2);
    layout->addLayout(lists, 1);
    d_counter = new QLabel("0 / 0", this);
    d_counter->setObjectName("counter");
    layout->addWidget(d_counter);
    connect(d_items, &QTreeWidget::itemChanged, this, [this] { updateCounter(); });

    auto* options = new QGroupBox(tr("Options"), this);
    auto* optionGrid = new QGridLayout(options);
    const auto& captions = OptionCaptions();
    int row = 0;
    for (const OptionCaption& c : captions) {
        if (c.kind != OptionCaption::Tick) continue;
        auto* box = new QCheckBox(L1(c.caption), options);
        d_ticks.push_back(box);
        optionGrid->addWidget(box, row % 5, row / 5);
        ++row;
    }
    d_ticks[5]->setToolTip(tr("Kept for other scanners; EDACS IDs are imported as listed here"));
    d_ticks[9]->setToolTip(
        tr("Lists the positions of the imported sites after the import; "
           "the scanner's memory has no place for them"));
    d_keepName = new QRadioButton(tr("Don't change"), options);
    d_placeName = new QRadioButton(tr("Use Agency/County Name:"), options);
    d_customName = new QRadioButton(tr("Custom:"), options);
    d_placeNameText = new QLineEdit(options);
    d_placeNameText->setObjectName("placeName");
    d_customNameText = new QLineEdit(options);
    d_customNameText->setObjectName("customName");
    d_keepName->setChecked(true);
    optionGrid->addWidget(new QLabel(tr("Bank name:"), options), 0, 2);
    optionGrid->addWidget(d_keepName, 1, 2);
    optionGrid->addWidget(d_placeName, 2, 2);
    optionGrid->addWidget(d_placeNameText, 2, 3);
    optionGrid->addWidget(d_customName, 3, 2);
    optionGrid->addWidget(d_customNameText, 3, 3);
    layout->addWidget(options);

    auto* target = new QHBoxLayout;
    d_bank = new QComboBox(this);
    d_bank->setObjectName("bank");
    d_start = new QSpinBox(this);
    d_start->setObjectName("start");
    d_start->setRange(1, ChannelsPerBank);
    target->addWidget(new QLabel(tr("Import In Bank:"), this));
    target->addWidget(d_bank);
    target->addWidget(new QLabel(tr("Starting at channel:"), this));
    target->addWidget(d_start);
    target->addStretch();
    const auto button = [this, target](const QString& caption, const char* name,
                                       std::function<void()> run) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, std::move(run));
        target->addWidget(b);
        return b;
    };
    d_import = button(tr("Import"), "import", [this] { importTicked(); });
    button(tr("Select All"), "selectAll", [this] { tickAll(true); });
    button(tr("Unselect All"), "unselectAll", [this] { tickAll(false); });
    button(tr("Copy To Clipboard"), "copy", [this] { copyToClipboard(); });
    button(tr("View"), "view", [this] { view(); });
    layout->addLayout(target);

    connect(d_connect, &QPushButton::clicked, this, [this] { connectToService(); });
    connect(d_password, &QLineEdit::returnPressed, this, [this] { connectToService(); });
    connect(d_cancel, &QPushButton::clicked, this, [this] { cancelCall(); });
    // A right-click on "debug" drops the cached description, so the next log-in fetches it anew.
    d_debug->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d_debug, &QCheckBox::customContextMenuRequested, this, [this] {
        const std::filesystem::path cache = d_session->cacheFile();
        d_prompter.tell(this, windowTitle(), L1(kMsgDeletingWsdl) + L1(cache.string()),
                        NoticeIcon::Information);
        std::error_code ec;
        if (!std::filesystem::remove(cache, ec))
            d_prompter.tell(this, windowTitle(), L1(kMsgFileNotFound), NoticeIcon::Information);
    });
    connect(d_debug, &QCheckBox::toggled, this, [this](bool on) {
        d_session->setTrace(on);
        if (on && std::filesystem::remove(d_session->traceFile())) setStatus(L1(kMsgLogDeleted));
    });
    clearBelow(d_state);
    d_retryTimer = new QTimer(this);
    d_retryTimer->setSingleShot(true);
    d_retryTimer->setInterval(kRetryIntervalMs);
    connect(d_retryTimer, &QTimer::timeout, this, [this] {
        if (d_retry.tick()) startLogin();
    });
    d_waitTimer = new QTimer(this);
    d_waitTimer->setInterval(400);
    connect(d_waitTimer, &QTimer::timeout, this, [this] {
        d_dots = d_dots % 7 + 1;
        d_status->setText(d_waitText + QString(d_dots, '.'));
    });
}

void FrmImportRR::readSettings() {
    QSettings& s = *d_settings;
    s.beginGroup("settings");
    d_user->setText(s.value("user").toString());
    d_password->setText(s.value("pass").toString());
    d_savePassword->setChecked(!d_password->text().isEmpty());
    const int country = s.value("country", 1).toInt();
    if (country >= 0 && country < d_country->count()) d_country->setCurrentIndex(country);
    d_zip->setVisible(d_country->currentData().toInt() == kZipCountry);
    const ImportOptions defaults;
    std::size_t tick = 0;
    for (const OptionCaption& c : OptionCaptions()) {
        if (c.kind != OptionCaption::Tick) continue;
        const QString key = L1(c.settingsKey);
        d_ticks[tick++]->setChecked(s.value(key, defaults.*c.tick ? "1" : "0").toString() == "1");
    }
    const int mode = s.value("browse_mode", static_cast<int>(BrowseMode::Conventional)).toInt();
    setBrowseMode(mode >= 0 && mode < static_cast<int>(d_modeButtons.size())
                      ? static_cast<BrowseMode>(mode)
                      : BrowseMode::Conventional);
    d_debug->setChecked(s.value("debug", "0").toString() == "1");
    const bool local = s.value("dbindex", 0).toInt() == 1;
    const std::string endpoint = ToL1(s.value("endpoint", L1(kLocalEndpoint)).toString());
    if (local && !NormaliseEndpoint(endpoint).empty())
        d_session->setEndpoint(EndpointKind::Local, NormaliseEndpoint(endpoint));
    const QRect placement(s.value("window_left", -1).toInt(), s.value("window_top", -1).toInt(),
                          s.value("window_width", 900).toInt(),
                          s.value("window_height", 700).toInt());
    resize(placement.size());
    if (placement.left() >= 0 && placement.top() >= 0) move(placement.topLeft());
    s.endGroup();
}

void FrmImportRR::writeSettings() {
    QSettings& s = *d_settings;
    s.beginGroup("settings");
    s.setValue("user", d_user->text());
    // The password is kept only when the user asked for it.
    if (d_savePassword->isChecked())
        s.setValue("pass", d_password->text());
    else
        s.remove("pass");
    s.setValue("country", d_country->currentIndex());
    std::size_t tick = 0;
    for (const OptionCaption& c : OptionCaptions())
        if (c.kind == OptionCaption::Tick)
            s.setValue(L1(c.settingsKey), d_ticks[tick++]->isChecked() ? "1" : "0");
    s.setValue("browse_mode", static_cast<int>(d_browseMode));
    s.setValue("debug", d_debug->isChecked() ? "1" : "0");
    s.setValue("dbindex", d_session->endpointKind() == EndpointKind::Local ? 1 : 0);
    s.setValue("endpoint", L1(d_session->endpoint()));
    s.setValue("window_left", x());
    s.setValue("window_top", y());
    s.setValue("window_width", width());
    s.setValue("window_height", height());
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        d_prompter.tell(this, windowTitle(), tr("The settings of this window could not be saved."),
                        NoticeIcon::Warning);
}

void FrmImportRR::closeEvent(QCloseEvent* event) {
    cancelCall();
    writeSettings();
    event->accept();
}

void FrmImportRR::reject() {
    cancelCall();
    writeSettings();
    QDialog::reject();
}

bool FrmImportRR::busy() const {
    return d_session->busy();
}

ImportOptions FrmImportRR::importOptions() const {
    ImportOptions o;
    std::size_t tick = 0;
    for (const OptionCaption& c : OptionCaptions())
        if (c.kind == OptionCaption::Tick) o.*c.tick = d_ticks[tick++]->isChecked();
    o.bankName = d_customName->isChecked()  ? BankNameChoice::Custom
                 : d_placeName->isChecked() ? BankNameChoice::PlaceName
                                            : BankNameChoice::Keep;
    o.placeName = ToL1(d_placeNameText->text());
    o.customName = ToL1(d_customNameText->text());
    return o;
}

void FrmImportRR::setStatus(const QString& text) {
    d_status->setText(text);
}

void FrmImportRR::setBusy(bool busy, const QString& status) {
    for (QWidget* w : std::initializer_list<QWidget*>{d_connect, d_country, d_state, d_county,
                                                      d_agency, d_systemList, d_import})
        w->setEnabled(!busy && (w == d_connect || d_loggedIn));
    d_cancel->setEnabled(busy || d_retryTimer->isActive());
    d_zip->setEnabled(!busy && d_loggedIn);
    if (busy) {
        d_waitText = status;
        d_dots = 0;
        setStatus(status);
        d_waitTimer->start();
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else if (d_waitTimer->isActive()) {
        d_waitTimer->stop();
        QApplication::restoreOverrideCursor();
    }
}

void FrmImportRR::fail(const std::string& message) {
    setBusy(false);
    setStatus(L1(message));
}

void FrmImportRR::cancelCall() {
    // Cancel also ends the log-in retries.
    const bool retrying = d_retryTimer->isActive();
    d_retryTimer->stop();
    d_retry.reset();
    d_retryCancelled = true;
    d_pendingCounty = 0;
    d_session->cancel();
    d_cancel->setEnabled(d_session->busy());
    if (retrying) setStatus(L1(kMsgCancelled));
}

void FrmImportRR::setRetryInterval(int ms) {
    d_retryTimer->setInterval(ms);
}

void FrmImportRR::chooseAddress() {
    FrmDBaseLoc dialog(d_session->endpointKind(), d_session->endpoint(), d_prompter, this);
    if (dialog.exec() != QDialog::Accepted) return;
    d_session->setEndpoint(dialog.kind(), dialog.endpoint());
    d_loggedIn = false;
    for (QComboBox* c : {d_state, d_county, d_agency, d_systemList}) clearBelow(c);
    setBusy(false);
    setStatus(tr("Database address: %1").arg(L1(dialog.endpoint())));
    if (!d_user->text().isEmpty() && !d_password->text().isEmpty()) connectToService();
}

void FrmImportRR::connectToService() {
    if (busy()) return;
    if (d_user->text().isEmpty()) {
        d_prompter.tell(this, windowTitle(), L1(kMsgEnterUser), NoticeIcon::Information);
        return;
    }
    if (d_password->text().isEmpty()) {
        d_prompter.tell(this, windowTitle(), L1(kMsgEnterPassword), NoticeIcon::Information);
        return;
    }
    d_retryTimer->stop();
    d_retry.reset();
    startLogin();
}

void FrmImportRR::startLogin() {
    d_loggedIn = false;
    d_retryCancelled = false;
    d_session->setCredentials(ToL1(d_user->text()), ToL1(d_password->text()));
    d_session->setTrace(d_debug->isChecked());
    setBusy(true, L1(kMsgWaitConnecting));
    Login(*d_session, [this](LoginResult result) {
        if (!result.outcome.ok) return loginFailed(result.outcome);
        d_retry.reset();
        d_loggedIn = true;
        setBusy(false);
        QString status = L1(kMsgSubscription) + L1(result.expires);
        if (!result.notice.empty()) status += "\n" + L1(result.notice);
        setStatus(status);
        if (d_country->currentIndex() > 0) countryChosen();
    });
}

void FrmImportRR::loginFailed(const Outcome& outcome) {
    if (d_retryCancelled) return fail(outcome.message);
    const bool again = d_retry.failed(outcome.refused, outcome.message);
    if (again) d_retryTimer->start();
    fail(d_retry.status());
}

void FrmImportRR::showList(QComboBox* combo, bool shown) {
    combo->setVisible(shown);
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == combo) label->setVisible(shown);
}

void FrmImportRR::setBrowseMode(BrowseMode mode) {
    d_browseMode = mode;
    d_modeButtons[static_cast<std::size_t>(mode)]->setChecked(true);
    const BrowseLists lists = ListsFor(mode);
    showList(d_state, lists.state);
    showList(d_county, lists.county);
    showList(d_agency, lists.agency);
    showList(d_systemList, lists.system);
    // What was shown belongs to another mode; the lists above stay as they were read.
    d_county->setCurrentIndex(0);
    d_systemList->setCurrentIndex(0);
    if (mode == BrowseMode::TrunkSystems) {
        std::vector<std::pair<std::int32_t, std::string>> list;
        for (const SystemRef& sys : d_stateInfo.systems) list.emplace_back(sys.sid, sys.name);
        fillCombo(d_systemList, list);
    }
    fillAgencies();
    d_sites->clear();
    d_items->clear();
    d_systemInfo->clear();
    d_mode = Mode::None;
    updateCounter();
}

void FrmImportRR::fillAgencies() {
    std::vector<std::pair<std::int32_t, std::string>> list;
    for (const AgencyRef& a : AgenciesFor(d_browseMode, d_countryInfo, d_stateInfo))
        list.emplace_back(a.aid, a.name);
    fillCombo(d_agency, list);
}

void FrmImportRR::clearBelow(QComboBox* combo) {
    const QComboBox* order[] = {d_state, d_county, d_agency, d_systemList};
    bool below = false;
    for (const QComboBox* c : order) {
        if (c == combo) below = true;
        if (!below) continue;
        auto* list = const_cast<QComboBox*>(c);
        list->clear();
        list->addItem(kSelect, 0);
    }
    d_sites->clear();
    d_items->clear();
    d_systemInfo->clear();
    d_mode = Mode::None;
    updateCounter();
}

void FrmImportRR::fillCombo(QComboBox* combo,
                            const std::vector<std::pair<std::int32_t, std::string>>& entries) {
    combo->clear();
    combo->addItem(kSelect, 0);
    for (const auto& [id, name] : entries) combo->addItem(L1(name), id);
}

void FrmImportRR::countryChosen() {
    clearBelow(d_state);
    d_countryInfo = {};
    d_stateInfo = {};
    d_zipInfo->clear();
    const int coid = d_country->currentData().toInt();
    d_zip->setVisible(coid == kZipCountry);
    if (coid <= 0 || !d_loggedIn) return;
    setBusy(true, L1(kMsgReadingStates) + d_country->currentText());
    LoadCountry(*d_session, coid, [this](Outcome o, CountryInfo info) {
        if (!o.ok) return fail(o.message);
        setBusy(false);
        std::vector<std::pair<std::int32_t, std::string>> states;
        for (const StateRef& s : info.states) states.emplace_back(s.stid, s.name);
        fillCombo(d_state, states);
        d_countryInfo = std::move(info);
        fillAgencies();
        setStatus(d_browseMode == BrowseMode::NationWide ? L1(kMsgSelectCountyAgency)
                                                         : L1(kMsgSelectState));
    });
}

void FrmImportRR::stateChosen() {
    clearBelow(d_county);
    d_stateInfo = {};
    fillAgencies();
    const int stid = d_state->currentData().toInt();
    if (stid <= 0) return;
    setBusy(true, L1(kMsgWaitRetrieving));
    LoadState(*d_session, stid, [this](Outcome o, StateInfo info) {
        if (!o.ok) {
            d_pendingCounty = 0;
            return fail(o.message);
        }
        setBusy(false);
        std::vector<std::pair<std::int32_t, std::string>> list;
        for (const CountyRef& c : info.counties) list.emplace_back(c.ctid, c.name);
        fillCombo(d_county, list);
        list.clear();
        for (const SystemRef& s : info.systems) list.emplace_back(s.sid, s.name);
        fillCombo(d_systemList, list);
        d_stateInfo = std::move(info);
        fillAgencies();
        setStatus(L1(kMsgSelectCountyAgency));
        // A ZIP code chose this state; its county follows.
        const int county = d_county->findData(std::exchange(d_pendingCounty, 0));
        if (county > 0) {
            d_county->setCurrentIndex(county);
            countyChosen();
        }
    });
}

void FrmImportRR::countyChosen() {
    const int ctid = d_county->currentData().toInt();
    if (ctid <= 0) return;
    d_countyId = ctid;
    d_agencyId = 0;
    setBusy(true, L1(kMsgWaitRetrieving));
    if (d_browseMode == BrowseMode::TrunkSystems) {
        // Only the county's systems: its frequencies are not wanted here.
        LoadCountyInfo(*d_session, ctid, [this](Outcome o, PlaceInfo info) {
            if (!o.ok) return fail(o.message);
            setBusy(false);
            std::vector<std::pair<std::int32_t, std::string>> list;
            for (const SystemRef& s : info.systems) list.emplace_back(s.sid, s.name);
            fillCombo(d_systemList, list);
            d_sites->clear();
            d_items->clear();
            d_systemInfo->clear();
            d_mode = Mode::None;
            updateCounter();
            setStatus(tr("Trunked systems in %1: %2.").arg(L1(info.name)).arg(list.size()));
        });
        return;
    }
    LoadCounty(*d_session, ctid, [this](Outcome o, PlaceData data) {
        if (!o.ok) return fail(o.message);
        showPlace(std::move(data));
    });
}

void FrmImportRR::agencyChosen() {
    const int aid = d_agency->currentData().toInt();
    if (aid <= 0) return;
    d_agencyId = aid;
    d_countyId = 0;
    setBusy(true, L1(kMsgWaitRetrieving));
    LoadAgency(*d_session, aid, [this](Outcome o, PlaceData data) {
        if (!o.ok) return fail(o.message);
        showPlace(std::move(data));
    });
}

void FrmImportRR::systemChosen() {
    const int sid = d_systemList->currentData().toInt();
    if (sid <= 0) return;
    setBusy(true, L1(kMsgWaitRetrieving));
    LoadSystem(*d_session, sid, [this](Outcome o, SystemData data) {
        if (!o.ok) return fail(o.message);
        showSystem(std::move(data));
    });
}

void FrmImportRR::showPlace(PlaceData data) {
    setBusy(false);
    d_place = std::move(data);
    d_mode = Mode::Place;
    d_sites->clear();
    d_sites->hide();
    d_systemInfo->clear();
    d_items->clear();
    d_items->setHeaderLabels(
        {tr("Frequency"), tr("Description"), tr("Alpha Tag"), tr("Tone"), tr("Mode"), tr("Class")});
    for (std::size_t g = 0; g < d_place.groups.size(); ++g) {
        const SubcatFrequencies& group = d_place.groups[g];
        const int n = static_cast<int>(group.frequencies.size());
        QTreeWidgetItem* parent =
            Group(d_items, {L1(group.category.name + " / " + group.subcat.name),
                            Count(n, " Frequency", " Frequencies")});
        for (int i = 0; i < n; ++i) {
            const Frequency& f = group.frequencies[static_cast<std::size_t>(i)];
            Checkable(
                parent,
                {L1(f.out), L1(f.descr), L1(f.alpha), L1(f.tone), L1(f.mode), L1(f.freqClass)},
                static_cast<int>(g), i);
        }
    }
    d_placeNameText->setText(L1(d_place.info.name));
    updateCounter();
    setStatus(L1(kMsgDone));
}

void FrmImportRR::showSystem(SystemData data) {
    setBusy(false);
    d_system = std::move(data);
    d_mode = Mode::System;
    const SystemDetails& d = d_system.details;
    const bool rebanded = IsRebanded(d_system);
    QString info = tr("System ID: %1   Type: %2   Flavor: %3   Sites: %4%5")
                       .arg(d_system.sid)
                       .arg(L1(SystemTypeName(d.sType)), L1(FlavorName(d.sFlavor)))
                       .arg(d_system.sites.size())
                       .arg(rebanded ? " / Rebanded" : "");
    if (!d.sysids.empty())
        info += tr("   Sysid: %1   Wacn: %2").arg(L1(d.sysids[0].sysid), L1(d.sysids[0].wacn));
    if (!d.fleetmap.empty()) {
        QStringList blocks;
        for (const std::string& b : d.fleetmap) blocks << L1(b);
        info += tr("   FleetMap: %1").arg(blocks.join(' '));
    }
    const Band band = BandOf(d_system);
    if (band != Band::Band800) info += band == Band::Vhf ? "   vhf" : "   uhf";
    for (const BandPlanRow& row : d.bandplan)
        if (!row.base.empty())
            info += tr("\nBase %1  OffSet %2  Step %3")
                        .arg(L1(row.base), L1(row.offset), L1(row.spacing));
    int channels = 0, groups = 0;
    d_sites->clear();
    d_sites->show();
    for (std::size_t s = 0; s < d_system.sites.size(); ++s) {
        const Site& site = d_system.sites[s];
        QTreeWidgetItem* parent =
            Group(d_sites, {L1(site.descr), {}, site.rebanded ? "/ Rebanded" : ""});
        for (std::size_t f = 0; f < site.freqs.size(); ++f, ++channels)
            Checkable(
                parent,
                {L1(site.freqs[f].freq), QString::number(site.freqs[f].lcn), L1(site.freqs[f].use)},
                static_cast<int>(s), static_cast<int>(f));
    }
    d_items->clear();
    d_items->setHeaderLabels({tr("ID"), tr("Alpha Tag"), tr("Description"), tr("Mode")});
    for (std::size_t g = 0; g < d_system.groups.size(); ++g) {
        const TalkgroupGroup& group = d_system.groups[g];
        const int n = static_cast<int>(group.talkgroups.size());
        QTreeWidgetItem* parent =
            Group(d_items, {L1(group.category.name), Count(n, " Tgid", " Tgid's")});
        for (int i = 0; i < n; ++i, ++groups) {
            const Talkgroup& t = group.talkgroups[static_cast<std::size_t>(i)];
            Checkable(parent,
                      {L1(t.tgDec ? std::to_string(t.tgDec) : t.subfleet), L1(t.alpha), L1(t.descr),
                       L1(t.mode)},
                      static_cast<int>(g), i);
        }
    }
    d_systemInfo->setText(info + tr("\nSites: %1   Channels: %2   TalkGroups: %3")
                                     .arg(d_system.sites.size())
                                     .arg(channels)
                                     .arg(groups));
    d_placeNameText->setText(L1(d.name));
    updateCounter();
    setStatus(L1(kMsgDone));
}

void FrmImportRR::updateCounter() {
    int ticked = 0, total = 0;
    ForTicked(d_items, [&](int, int) { ++ticked; });
    for (int g = 0; g < d_items->topLevelItemCount(); ++g)
        total += d_items->topLevelItem(g)->childCount();
    d_counter->setText(QString("%1 / %2").arg(ticked).arg(total));
    // Say at once when the ticked talkgroups no longer fit the bank's ID table.
    if (d_mode == Mode::System && ticked > kTrunkIdUsedRows)
        d_counter->setText(d_counter->text() + tr("   (a bank holds %1 IDs: %2 will be left out)")
                                                   .arg(kTrunkIdUsedRows)
                                                   .arg(ticked - kTrunkIdUsedRows));
}

void FrmImportRR::tickAll(bool ticked) {
    for (QTreeWidget* tree : {d_items, d_sites})
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            tree->topLevelItem(g)->setCheckState(0, ticked ? Qt::Checked : Qt::Unchecked);
    updateCounter();
}

void FrmImportRR::fillBankList() {
    const int chosen = std::max(0, d_bank->currentIndex());
    d_bank->clear();
    for (int b = 0; b < kScannerBanks; ++b)
        d_bank->addItem(tr("Bank %1: %2").arg(b + 1).arg(L1(d_image.BankTag[b]).trimmed()));
    d_bank->setCurrentIndex(chosen);
}

void FrmImportRR::importTicked() {
    if (d_mode == Mode::None) {
        d_prompter.tell(this, windowTitle(), L1(kMsgSelectFrequency), NoticeIcon::Information);
        return;
    }
    const ImportOptions options = importOptions();
    const int bank = d_bank->currentIndex();
    const int start = d_start->value();
    ImportReport report;
    bool applied = false;  // false: the main window could not take the change and said why
    if (d_mode == Mode::Place) {
        std::vector<Frequency> ticked;
        ForTicked(d_items, [&](int g, int i) {
            ticked.push_back(d_place.groups[static_cast<std::size_t>(g)]
                                 .frequencies[static_cast<std::size_t>(i)]);
        });
        applied = d_apply(tr("Database import"), [&](Image& image) {
            report = ImportConventional(image, bank, start, ticked, options);
            return report.ok;
        });
    } else {
        std::vector<SiteChoice> sites;
        for (int s = 0; s < d_sites->topLevelItemCount(); ++s) {
            QTreeWidgetItem* site = d_sites->topLevelItem(s);
            SiteChoice choice{&d_system.sites[static_cast<std::size_t>(s)], {}};
            for (int f = 0; f < site->childCount(); ++f)
                if (site->child(f)->checkState(0) == Qt::Checked)
                    choice.frequencies.push_back(&choice.site->freqs[static_cast<std::size_t>(f)]);
            if (!choice.frequencies.empty()) sites.push_back(std::move(choice));
        }
        std::vector<const Talkgroup*> talkgroups;
        ForTicked(d_items, [&](int g, int i) {
            talkgroups.push_back(&d_system.groups[static_cast<std::size_t>(g)]
                                      .talkgroups[static_cast<std::size_t>(i)]);
        });
        applied = d_apply(tr("Database import"), [&](Image& image) {
            report = ImportTrunked(image, bank, start, d_system, sites, talkgroups, options);
            return report.ok;
        });
    }
    if (!applied && report.error.empty()) return;
    if (!report.ok) {
        d_prompter.tell(this, windowTitle(), L1(report.error), NoticeIcon::Warning);
        return;
    }
    for (const std::string& warning : report.warnings)
        d_prompter.tell(this, warning == kMsgLcnWarning ? L1(kMsgLcnWarningTitle) : windowTitle(),
                        L1(warning), NoticeIcon::Warning);
    for (const std::string& note : report.notes)
        d_prompter.tell(this, windowTitle(), L1(note), NoticeIcon::Information);
    if (const auto name = BankName(options)) {
        (d_customName->isChecked() ? d_customNameText : d_placeNameText)->setText(L1(*name));
    }
    fillBankList();
    setStatus(tr("Imported %1 channels and %2 talkgroups into bank %3.")
                  .arg(report.channels)
                  .arg(report.talkgroups)
                  .arg(bank + 1));
}

void FrmImportRR::copyToClipboard() {
    QString text;
    QStringList headers;
    for (int c = 0; c < d_items->columnCount(); ++c) headers << d_items->headerItem()->text(c);
    text += headers.join('\t') + "\r\n";
    for (QTreeWidgetItem* item : d_items->selectedItems()) {
        QStringList cells;
        for (int c = 0; c < d_items->columnCount(); ++c) cells << item->text(c);
        text += cells.join('\t') + "\r\n";
    }
    QApplication::clipboard()->setText(text);
}

void FrmImportRR::view() {
    // The page of what is shown, on the service's site.
    QString base = L1(d_session->endpoint());
    base.chop(QString("soap2/").size());
    QString page;
    if (d_mode == Mode::System)
        page = "modules.php?name=TRSDB&sid=" + QString::number(d_system.sid);
    else if (d_mode == Mode::Place && d_agencyId)
        page = "modules.php?name=RR&aid=" + QString::number(d_agencyId);
    else if (d_mode == Mode::Place)
        page = "modules.php?name=RR&ctid=" + QString::number(d_countyId);
    if (page.isEmpty()) return;
    if (!QDesktopServices::openUrl(QUrl(base + page)))
        d_prompter.tell(this, windowTitle(), tr("The web browser could not be started."),
                        NoticeIcon::Warning);
}

void FrmImportRR::enterZipCode() {
    if (busy() || !d_loggedIn) return;
    const std::optional<std::int32_t> zip = ParseZipCode(ToL1(d_zip->text()));
    if (!zip) {
        d_prompter.tell(this, windowTitle(),
                        tr("A ZIP code has five digits (\"12345\" or \"12345-6789\")."),
                        NoticeIcon::Information);
        return;
    }
    if (d_country->currentData().toInt() != kZipCountry) return;
    d_zipInfo->clear();
    setBusy(true, L1(kMsgWaitRetrieving));
    LoadZip(*d_session, *zip, [this](Outcome o, ZipInfo info) {
        if (!o.ok) return fail(o.message);
        setBusy(false);
        d_zipInfo->setText(L1(ZipSummary(info)));
        const int state = d_state->findData(info.stid);
        if (state <= 0) {
            setStatus(tr("The state of this ZIP code is not in the list."));
            return;
        }
        // The lists that show counties follow the ZIP code.
        if (!ListsFor(d_browseMode).county) setBrowseMode(BrowseMode::Conventional);
        d_state->setCurrentIndex(state);
        d_pendingCounty = info.ctid;
        stateChosen();
    });
}

std::string FrmImportRR::xmlText() const {
    if (d_loadedXmlAt >= 0 && d_loadedXmlAt == d_session->answerCount()) return d_loadedXml;
    return d_session->lastAnswer();
}

void FrmImportRR::loadXmlFile() {
    const QString name = d_prompter.openFileName(this, tr("Load XML File"), L1(kXmlLoadFilter));
    if (name.isEmpty()) return;
    std::string text;
    const XmlCheck check = ReadXmlFile(name.toStdString(), text);
    if (!check.ok) {
        d_prompter.tell(this, L1(kMsgXmlParseError), L1(XmlParseErrorText(check)),
                        NoticeIcon::Warning);
        return;
    }
    d_loadedXml = std::move(text);
    d_loadedXmlAt = d_session->answerCount();
    setStatus(tr("Loaded %1.").arg(name));
    if (d_xmlView && d_xmlView->isVisible()) viewXmlFile();
}

void FrmImportRR::saveXmlFile() {
    const std::string text = xmlText();
    if (text.empty()) {
        d_prompter.tell(this, windowTitle(),
                        tr("There is no XML yet: log in or load an XML file first."),
                        NoticeIcon::Information);
        return;
    }
    const QString name = d_prompter.suggestSaveFileName(this, tr("Save XML File"),
                                                        L1(kXmlSaveFilter), L1(kXmlDefaultName));
    if (name.isEmpty()) return;
    if (const WriteResult written = WriteFileAtomically(name.toStdString(), text); !written) {
        d_prompter.tell(this, windowTitle(),
                        tr("%1 could not be saved: %2").arg(name, L1(written.error)),
                        NoticeIcon::Warning);
        return;
    }
    setStatus(tr("Saved %1.").arg(name));
}

void FrmImportRR::viewXmlFile() {
    const std::string text = xmlText();
    if (text.empty()) {
        d_prompter.tell(this, windowTitle(),
                        tr("There is no XML yet: log in or load an XML file first."),
                        NoticeIcon::Information);
        return;
    }
    if (!d_xmlView) {
        d_xmlView = new QDialog(this);
        d_xmlView->setWindowTitle(tr("XML"));
        d_xmlView->resize(700, 500);
        auto* layout = new QVBoxLayout(d_xmlView);
        auto* view = new QPlainTextEdit(d_xmlView);
        view->setObjectName("xmlView");
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(view);
    }
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    d_xmlView->findChild<QPlainTextEdit*>("xmlView")->setPlainText(QString::fromUtf8(bytes));
    d_xmlView->show();
    d_xmlView->raise();
}

void OpenDatabaseImport(MemTab& main) {
    FrmImportRR window(
        main.state().image, main.state().folder / "marlosoap", main.prompter(),
        [&main](const QString& step, const std::function<bool(Image&)>& change) {
            return main.applyImageChange(step, change);
        },
        {}, &main);
    main.dialogs().exec(window);
}

}  // namespace vex::gui
