// The database import window's wiring against the local service: log-in, the choices that
// become calls, ticks that become the import's input, the one undo step, and the messages.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "e2e/netdb_server.h"
#include "gui/frmdbaseloc.h"
#include "gui/frmimportrr.h"
#include "gui/memtab_support.h"
#include "netdb/messages.h"

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

    void emptyUserAsksForIt() {
        child<QLineEdit>("user")->clear();
        QTest::mouseClick(child<QPushButton>("connect"), Qt::LeftButton);
        QCOMPARE(d_prompter.told.size(), 1);
        QVERIFY(d_prompter.told[0].endsWith(QString::fromLatin1(netdb::kMsgEnterUser.data())));
        QVERIFY(!d_window->busy());
    }

    void countyFrequenciesBecomeOneImportStep() {
        logIn("letmein");
        QTRY_VERIFY_WITH_TIMEOUT(status().contains("Please select State."), 10000);
        QVERIFY(status() != "");
        choose("state", "Avalon");
        QTRY_VERIFY_WITH_TIMEOUT(child<QComboBox>("county")->count() > 1, 10000);
        choose("county", "Brightwater");
        QTRY_COMPARE_WITH_TIMEOUT(status(), QString("Done."), 10000);
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
        logIn("letmein");
        QTRY_VERIFY_WITH_TIMEOUT(status().contains("Please select State."), 10000);
        choose("state", "Avalon");
        QTRY_VERIFY_WITH_TIMEOUT(child<QComboBox>("system")->count() > 1, 10000);
        choose("system", "Brightwater Regional Radio");
        QTRY_COMPARE_WITH_TIMEOUT(status(), QString("Done."), 10000);
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

    void rightClickOnDebugDropsTheCachedDescription() {
        logIn("letmein");
        QTRY_VERIFY_WITH_TIMEOUT(status().contains("Please select State."), 10000);
        const auto cache = d_window->session().cacheFile();
        QVERIFY(std::filesystem::exists(cache));
        auto* debug = child<QCheckBox>("debug");
        emit debug->customContextMenuRequested({});
        QVERIFY(!std::filesystem::exists(cache));
        QVERIFY(d_prompter.told.last().contains("deleting wsdl: "));
        emit debug->customContextMenuRequested({});
        QVERIFY(d_prompter.told.last().endsWith("file not found"));
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

    void wrongPasswordShowsTheServiceText() {
        logIn("guess");
        QTRY_VERIFY_WITH_TIMEOUT(status().contains("Invalid username or password."), 10000);
        QVERIFY(!child<QPushButton>("import")->isEnabled());
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
