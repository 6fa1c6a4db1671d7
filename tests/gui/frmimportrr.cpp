// The database import window's wiring against the local service: log-in, the choices that
// become calls, ticks that become the import's input, the one undo step, and the messages.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "e2e/netdb_server.h"
#include "gui/frmdbaseloc.h"
#include "gui/frmimportrr.h"
#include "gui/memtab_support.h"
#include "netdb/messages.h"
#include "netdb/xml_file.h"

namespace vex::gui {

class FrmImportRRTest : public QObject {
    Q_OBJECT
  private:
    netdbtest::LocalService d_service;
    QTemporaryDir d_dir;
    Image d_image;
    QStringList d_steps;
    test::ScriptedPrompter d_prompter;
    std::unique_ptr<FrmImportRR> d_window;

    template <typename T>
    T* child(const char* name) {
        return d_window->findChild<T*>(name);
    }
    void choose(const char* combo, const QString& text) {
        auto* c = child<QComboBox>(combo);
        const int index = c->findText(text);
        QVERIFY2(index > 0, qPrintable(text));
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void logIn(const QString& password) {
        child<QLineEdit>("user")->setText("tester");
        child<QLineEdit>("password")->setText(password);
        QTest::mouseClick(child<QPushButton>("connect"), Qt::LeftButton);
    }
    QString status() { return child<QLabel>("status")->text(); }
    void mode(int m) {
        QTest::mouseClick(child<QRadioButton>(qPrintable(QString("mode%1").arg(m))),
                          Qt::LeftButton);
    }
    void logInToCountry() {
        logIn("letmein");
        QTRY_VERIFY_WITH_TIMEOUT(!d_window->busy() && status().startsWith("Please select"), 10000);
    }
    // Logs in, in the given mode, picks the state Avalon and then `entry` from `combo`.
    void browseAvalon(int m, const char* combo, const QString& entry) {
        mode(m);
        logInToCountry();
        choose("state", "Avalon");
        QTRY_VERIFY_WITH_TIMEOUT(!d_window->busy() && child<QComboBox>(combo)->count() > 1, 10000);
        choose(combo, entry);
        QTRY_VERIFY_WITH_TIMEOUT(!d_window->busy(), 10000);
    }
    QStringList entries(const char* combo) {
        QStringList out;
        auto* c = child<QComboBox>(combo);
        for (int i = 1; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    QString writeFile(const QString& name, const QByteArray& content) {
        QFile file(d_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return {};
        return file.fileName();
    }

  private slots:
    void initTestCase() {
        if (!d_service.start()) QSKIP("freqdb-local is not built");
    }
    void init() {
        ClearForStartup(d_image);
        SetStartupBankTags(d_image);
        d_steps.clear();
        d_prompter.told.clear();
        d_window = std::make_unique<FrmImportRR>(
            d_image, std::filesystem::path(d_dir.path().toStdString()) / "marlosoap", d_prompter,
            [this](const QString& step, const std::function<bool(Image&)>& change) {
                d_steps << step;
                return change(d_image);
            },
            d_dir.filePath("import.ini"));
        d_window->session().setEndpoint(netdb::EndpointKind::Local, d_service.endpoint());
        d_window->show();
    }
    void cleanup() { d_window.reset(); }

    // An empty user is asked for; a wrong password is the service's answer, shown and not sent
    // again and again.
    void logInRefusals() {
        child<QLineEdit>("user")->clear();
        QTest::mouseClick(child<QPushButton>("connect"), Qt::LeftButton);
        QCOMPARE(d_prompter.told.size(), 1);
        QVERIFY(d_prompter.told[0].endsWith(QString::fromLatin1(netdb::kMsgEnterUser.data())));
        QVERIFY(!d_window->busy());
        d_window->setRetryInterval(1);
        logIn("guess");
        QTRY_VERIFY_WITH_TIMEOUT(status().contains("Invalid username or password."), 10000);
        QVERIFY(!child<QPushButton>("import")->isEnabled());
        QVERIFY(!child<QPushButton>("cancel")->isEnabled());
    }

    void countyFrequenciesBecomeOneImportStep() {
        browseAvalon(1, "county", "Brightwater");
        QCOMPARE(status(), QString("Done."));
        QCOMPARE(child<QLabel>("counter")->text(), QString("7 / 7"));
        // Untick the first frequency: it must not be imported.
        QTreeWidget* items = child<QTreeWidget>("items");
        items->topLevelItem(0)->child(0)->setCheckState(0, Qt::Unchecked);
        child<QLineEdit>("customName")->setText("Brightwater Sheriff Dept");
        for (QRadioButton* r : d_window->findChildren<QRadioButton*>())
            if (r->text() == "Custom:") r->setChecked(true);
        QTest::mouseClick(child<QPushButton>("import"), Qt::LeftButton);
        QCOMPARE(d_steps, QStringList{"Database import"});
        QCOMPARE(QString::fromStdString(d_image.channel(0, 1)[kFieldFrequency]),
                 QString("0155.4750"));
        QCOMPARE(QString::fromStdString(d_image.BankTag[0]), QString("Brightwater Sher"));
        QCOMPARE(child<QComboBox>("bank")->itemText(0), QString("Bank 1: Brightwater Sher"));
        QCOMPARE(d_prompter.told.size(), 1);
        QVERIFY(d_prompter.told[0].contains("600.1250 Sheriff Video Link"));
    }

    void bigSystemWarnsAndNothingTickedChangesNothing() {
        browseAvalon(0, "system", "Brightwater Regional Radio");
        QCOMPARE(status(), QString("Done."));
        QVERIFY(child<QLabel>("counter")->text().contains("5 will be left out"));
        QVERIFY(child<QLabel>("systemInfo")->text().contains("TalkGroups: 55"));
        const Image before = d_image;
        QTest::mouseClick(child<QPushButton>("unselectAll"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>("import"), Qt::LeftButton);
        QVERIFY(d_image == before);
        QCOMPARE(d_prompter.told.last(),
                 d_window->windowTitle() + "|" + QString::fromLatin1(netdb::kMsgSelectSite.data()));
        QTest::mouseClick(child<QPushButton>("selectAll"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>("import"), Qt::LeftButton);
        QCOMPARE(QString::fromStdString(d_image.TrunkType[0]), QString("1"));
        QVERIFY(d_prompter.told.last().contains("importing 55 trunk id's"));
    }

    // Each mode shows its own lists; what the agency and system lists hold follows the mode.
    void modesListTheirOwnThings_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("visible");  // state, county, agency, system as 0/1
        QTest::addColumn<QString>("pick");     // combo:entry chosen after the state
        QTest::addColumn<QString>("listed");   // combo:what it then lists, or counter text
        QTest::newRow("trunk") << 0 << "1101"
                               << "county:Brightwater"
                               << "system:Brightwater Regional Radio|Harbor Wide Area EDACS";
        QTest::newRow("conventional") << 1 << "1100"
                                      << "county:Ember"
                                      << "counter:1 / 1";
        QTest::newRow("agencies") << 2 << "1010"
                                  << "agency:Brightwater Harbor Authority"
                                  << "counter:1 / 1";
        QTest::newRow("nationwide") << 3 << "0010"
                                    << "agency:Continental Air Rescue"
                                    << "counter:1 / 1";
    }
    void modesListTheirOwnThings() {
        QFETCH(int, mode);
        QFETCH(QString, visible);
        QFETCH(QString, pick);
        QFETCH(QString, listed);
        const QString combo = pick.section(':', 0, 0);
        if (mode == 3) {  // nationwide: no state to choose
            this->mode(mode);
            logInToCountry();
            QCOMPARE(entries("agency"),
                     QStringList({"Nationwide Coast Watch", "Continental Air Rescue"}));
            choose(qPrintable(combo), pick.section(':', 1));
            QTRY_VERIFY_WITH_TIMEOUT(!d_window->busy(), 10000);
        } else {
            browseAvalon(mode, qPrintable(combo), pick.section(':', 1));
        }
        const char* combos[] = {"state", "county", "agency", "system"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(child<QComboBox>(combos[i])->isVisible(), visible[i] == '1');
        if (mode == 2)
            QCOMPARE(entries("agency"),
                     QStringList({"Avalon State Patrol", "Brightwater Harbor Authority"}));
        if (listed.startsWith("counter:"))
            QCOMPARE(child<QLabel>("counter")->text(), listed.section(':', 1));
        else
            QCOMPARE(entries("system").join('|'), listed.section(':', 1));
    }

    void zipCodeChoosesStateAndCounty() {
        mode(2);  // no county list: the ZIP code brings it
        logInToCountry();
        auto* zip = child<QLineEdit>("zip");
        QVERIFY(zip->isVisible());
        zip->setText("99999");
        QTest::keyClick(zip, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(status().contains("No record found"), 10000);
        QCOMPARE(child<QComboBox>("state")->currentIndex(), 0);
        zip->setText("23456");
        QTest::keyClick(zip, Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(child<QComboBox>("county")->currentText(), QString("Northgate"),
                                  10000);
        QTRY_VERIFY_WITH_TIMEOUT(!d_window->busy(), 10000);
        QCOMPARE(child<QComboBox>("state")->currentText(), QString("Norland"));
        QCOMPARE(d_window->browseMode(), netdb::BrowseMode::Conventional);
        QCOMPARE(child<QLabel>("zipInfo")->text(),
                 QString("City: Northgate   Latitude: 44.02   Longitude: -71.55"));
        zip->setText("1234");
        QTest::keyClick(zip, Qt::Key_Return);
        QVERIFY(d_prompter.told.last().contains("five digits"));
    }

    void xmlFileMenuAndCachedDescription() {
        const QString bad = writeFile("bad.xml", "<list>\n  <item></list>\n");
        d_prompter.openNames.push_back(bad);
        d_window->loadXmlFile();
        QCOMPARE(d_prompter.lastFilter, QString("XML (*.xml);;WSDL (*.wsdl);;Text (*.txt)"));
        QVERIFY(d_prompter.told.last().startsWith("XML Parse Error|Error Code: "));
        QVERIFY(d_prompter.told.last().contains("\nLine Number: 2\nLine Position: 11\nReason: "));
        logInToCountry();  // the last answer is now the country's
        QVERIFY(d_window->xmlText().find("Avalon") != std::string::npos);
        // A right click on "debug" drops the cached service description.
        const auto cache = d_window->session().cacheFile();
        QVERIFY(std::filesystem::exists(cache));
        auto* debug = child<QCheckBox>("debug");
        emit debug->customContextMenuRequested({});
        QVERIFY(!std::filesystem::exists(cache));
        QVERIFY(d_prompter.told.last().contains("deleting wsdl: "));
        emit debug->customContextMenuRequested({});
        QVERIFY(d_prompter.told.last().endsWith("file not found"));
        d_prompter.openNames.push_back(
            writeFile("good.xml", "<list><item>Gull Point</item></list>"));
        d_window->loadXmlFile();
        d_window->viewXmlFile();
        auto* view = d_window->findChild<QPlainTextEdit*>("xmlView");
        QVERIFY(view && view->isVisible());
        QCOMPARE(view->toPlainText(), QString("<list><item>Gull Point</item></list>"));
        d_prompter.saveNames.push_back(d_dir.filePath("Text.xml"));
        d_window->saveXmlFile();
        QCOMPARE(d_prompter.lastFilter, QString("XML (*.xml);;Text (*.txt)"));
        QFile saved(d_dir.filePath("Text.xml"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("<list><item>Gull Point</item></list>"));
        d_prompter.saveNames.push_back(d_dir.filePath("missing/Text.xml"));
        d_window->saveXmlFile();
        QVERIFY(d_prompter.told.last().contains("could not be saved"));
    }

    // The address dialog takes a whole URL (port and path included) and refuses junk.
    void addressDialogAcceptsAUrl() {
        FrmDBaseLoc dialog(netdb::EndpointKind::Remote, std::string(netdb::kRemoteEndpoint),
                           d_prompter, d_window.get());
        QVERIFY(!dialog.addressBox()->isEnabled());
        dialog.localButton()->setChecked(true);
        QCOMPARE(dialog.addressBox()->text(), QString::fromLatin1(netdb::kLocalEndpoint.data()));
        dialog.addressBox()->setText("ftp://nowhere");
        dialog.accept();
        QVERIFY(d_prompter.told.last().contains("is not a usable address"));
        QCOMPARE(dialog.kind(), netdb::EndpointKind::Remote);
        dialog.addressBox()->setText("192.168.1.20:8080/freq");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.kind(), netdb::EndpointKind::Local);
        QCOMPARE(QString::fromStdString(dialog.endpoint()),
                 QString("http://192.168.1.20:8080/freq/soap2/"));
    }

    void passwordIsKeptOnlyWhenAsked() {
        child<QLineEdit>("user")->setText("tester");
        child<QLineEdit>("password")->setText("letmein");
        d_window->close();
        QSettings settings(d_dir.filePath("import.ini"), QSettings::IniFormat);
        QCOMPARE(settings.value("settings/user").toString(), QString("tester"));
        QVERIFY(!settings.contains("settings/pass"));
        d_window.reset();
        init();
        QCOMPARE(child<QLineEdit>("user")->text(), QString("tester"));
        QVERIFY(child<QLineEdit>("password")->text().isEmpty());
        child<QLineEdit>("password")->setText("letmein");
        child<QCheckBox>("savePassword")->setChecked(true);
        d_window->close();
        QSettings again(d_dir.filePath("import.ini"), QSettings::IniFormat);
        QCOMPARE(again.value("settings/pass").toString(), QString("letmein"));
    }
};

}  // namespace vex::gui

QTEST_MAIN(vex::gui::FrmImportRRTest)
#include "frmimportrr.moc"
