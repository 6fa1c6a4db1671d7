// The communication setup dialog driven like a user would: ports picked and typed, AutoDetect run
// on the fake clock against the simulator's scanner, com250.ini written only by "Ok".
#include "gui/comsetup.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

#include "e2e/sim_process.h"
#include "gui/memtab.h"
#include "gui/memtab_support.h"
#include "gui/sim_line.h"
#include "settings/state_files.h"

using vex::SerialPortEntry;
using vex::gui::ComSetup;
using vex::gui::NoticeIcon;
using vex::gui::test::ScriptedPrompter;

namespace {

const std::string kMissingDevice = "/dev/vex-no-such-port-0";
const std::string kScannerDevice = "/dev/serial/by-id/usb-bct8-cable";
const QString kScanner = QString::fromStdString(kScannerDevice);

}  // namespace

class ComsetupTest : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    vex::FakeScheduler* d_clock = nullptr;
    long d_scannerBaud = 0;  // the speed the scanner answers at, 0 = no scanner
    std::unique_ptr<ScriptedPrompter> d_prompter;

    // The texts told, "!" before a warning's.
    QStringList told() const {
        QStringList texts;
        for (qsizetype i = 0; i < d_prompter->told.size(); ++i)
            texts << (d_prompter->icons[i] == NoticeIcon::Information ? "" : "!") +
                         d_prompter->told[i].section('|', 1);
        return texts;
    }

    // The dialog's search runs on a fake clock; kScannerDevice answers at d_scannerBaud, other
    // devices stay silent, the missing ones cannot be opened.
    std::unique_ptr<ComSetup> makeDialog(const vex::ComSettings& com,
                                         std::vector<SerialPortEntry> ports = {}) {
        auto dialog =
            std::make_unique<ComSetup>(com, d_folder->path(), *d_prompter, std::move(ports));
        auto clock = std::make_unique<vex::FakeScheduler>();
        d_clock = clock.get();
        dialog->setScheduler(std::move(clock));
        dialog->setTransportFactory([this](const std::string& device, long baud) {
            auto line = std::make_unique<vex::test::SimulatedScanner>(*d_clock);
            if (device.find("no-such") != std::string::npos)
                line->openStatus = {vex::TransportFault::NotFound, device + " not found", ""};
            else if (device != kScannerDevice || baud != d_scannerBaud)
                line->intercept = [](const std::string&, int) { return vex::test::Silent(); };
            return line;
        });
        dialog->show();
        return dialog;
    }

    template <typename T>
    static T* child(QWidget* window, const QString& name) {
        T* widget = window->findChild<T*>(name);
        if (!widget) qFatal("no child %s", qPrintable(name));
        return widget;
    }

    static void typeOther(ComSetup* dialog, const QString& text) {
        QTest::mouseClick(child<QRadioButton>(dialog, "otherOption"), Qt::LeftButton, {},
                          QPoint(5, 5));
        auto* field = child<QLineEdit>(dialog, "otherText");
        QVERIFY(field->isEnabled());
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    static void chooseBaud(ComSetup* dialog, const QString& baud) {
        auto* list = child<QComboBox>(dialog, "baudList");
        list->setCurrentIndex(list->findText(baud));
        QCOMPARE(list->currentText(), baud);
    }

    bool comIniExists() const { return std::filesystem::exists(d_folder->path() / "com250.ini"); }

    // Presses AutoDetect and waits for the search to end.
    void runAutodetect(ComSetup* dialog) {
        QTest::mouseClick(child<QPushButton>(dialog, "autodetectButton"), Qt::LeftButton);
        QVERIFY(dialog->searching());
        QVERIFY(!child<QPushButton>(dialog, "okButton")->isEnabled());
        QVERIFY(vex::gui::test::runUntil(*d_clock, [&] { return !dialog->searching(); }));
        QVERIFY(child<QPushButton>(dialog, "okButton")->isEnabled());
    }

  private slots:
    void init() {
        d_prompter = std::make_unique<ScriptedPrompter>();
        d_folder = std::make_unique<simtest::TempFolder>();
        d_scannerBaud = 0;
    }

    void opensOnTheCurrentPortAndSpeed() {
        const std::vector<SerialPortEntry> ports{
            {"/dev/serial/by-id/usb-Qlink_QX232-if00-port0", "/dev/ttyUSB0", "QX232 USB UART",
             true},
            {"/dev/ttyS0", "/dev/ttyS0", "", false},
        };
        struct Case {
            vex::ComSettings com;
            QString checked;
            QString otherText;
            QString baud;
        };
        const std::vector<Case> cases{
            {{1, 9600, "/dev/serial/by-id/usb-Qlink_QX232-if00-port0"}, "port_1", "", "9600"},
            {{2, 57600, "/dev/ttyS0"}, "port_2", "", "57600"},
            {{1, 19200, "/dev/pts/77"}, "otherOption", "/dev/pts/77", "19200"},
        };
        for (const Case& c : cases) {
            auto dialog = makeDialog(c.com, ports);
            QVERIFY2(child<QRadioButton>(dialog.get(), c.checked)->isChecked(),
                     qPrintable(c.checked));
            QCOMPARE(child<QLineEdit>(dialog.get(), "otherText")->text(), c.otherText);
            QCOMPARE(child<QLineEdit>(dialog.get(), "otherText")->isEnabled(),
                     c.checked == "otherOption");
            QCOMPARE(child<QComboBox>(dialog.get(), "baudList")->currentText(), c.baud);
        }

        auto dialog = makeDialog({}, ports);
        // Each port shows its device, description and stable name; a port the user may not
        // open says why.
        const QString first = child<QRadioButton>(dialog.get(), "port_1")->text();
        QVERIFY(first.startsWith("/dev/ttyUSB0"));
        QVERIFY(first.contains("QX232 USB UART"));
        QCOMPARE(child<QLabel>(dialog.get(), "portId_1")->text(),
                 QString("/dev/serial/by-id/usb-Qlink_QX232-if00-port0"));
        QVERIFY(child<QRadioButton>(dialog.get(), "port_2")
                    ->text()
                    .contains(QString::fromUtf8("no permission \u2014 see README")));
    }

    void enterIsDroppedAndOkWritesTheListedPortByItsStableName() {
        const std::vector<SerialPortEntry> ports{
            {"/dev/ttyS0", "/dev/ttyS0", "", true},
            {"/dev/serial/by-id/usb-Serio-port0", "/dev/ttyUSB3", "USB-Serial", true},
        };
        auto dialog = makeDialog({3, 9600, "/dev/ttyUSB2"}, ports);
        typeOther(dialog.get(), "/dev/pts/4");
        // Enter in the "other:" field is dropped rather than taken as "Ok".
        QTest::keyClick(child<QLineEdit>(dialog.get(), "otherText"), Qt::Key_Return);
        QTest::keyClick(child<QLineEdit>(dialog.get(), "otherText"), Qt::Key_Enter);
        QVERIFY(dialog->isVisible());
        QVERIFY(!comIniExists());
        QTest::mouseClick(child<QRadioButton>(dialog.get(), "port_2"), Qt::LeftButton, {},
                          QPoint(5, 5));
        chooseBaud(dialog.get(), "38400");
        QTest::mouseClick(child<QPushButton>(dialog.get(), "okButton"), Qt::LeftButton);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->settings(),
                 (vex::ComSettings{2, 38400, "/dev/serial/by-id/usb-Serio-port0"}));
        // What was written is what the program reads at the next start.
        QCOMPARE(vex::ReadComSettings(d_folder->path()).settings, dialog->settings());
    }

    void aFailedWriteIsReportedAndTheChoiceStillHolds() {
        ComSetup dialog({}, d_folder->path() / "missing" / "folder", *d_prompter,
                        std::vector<SerialPortEntry>{});
        dialog.show();
        typeOther(&dialog, "/dev/pts/3");
        QTest::mouseClick(child<QPushButton>(&dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(told().size(), 1);
        QVERIFY(told()[0].startsWith("!com250.ini could not be written"));
        QCOMPARE(dialog.settings().device, std::string("/dev/pts/3"));
    }

    // The search tries the typed device and the listed ports (one that cannot be opened is
    // passed over without a word) and shows what it found; Ok writes it, Cancel keeps it for
    // this run only; nothing found keeps the settings and the user's choice in the dialog.
    void autodetectShowsWhatItFound_data() {
        QTest::addColumn<long>("scannerBaud");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("listed");  // the scanner's device is listed rather than missing
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("ok");
        const QString found = "VEX has succesfully detected your scanner!";
        QTest::addRow("typed device, Ok")
            << 9600L << kScanner << false << "otherOption" << found << true;
        QTest::addRow("listed port, Cancel")
            << 4800L << QString() << true << "port_1" << found << false;
        QTest::addRow("none found")
            << 0L << "/dev/pts/9" << false << "otherOption"
            << "!VEXA has not detected your scanner, please check scanner is switched ON and "
               "connected. Also make sure scanner is in remote mode."
            << false;
    }
    void autodetectShowsWhatItFound() {
        QFETCH(long, scannerBaud);
        QFETCH(QString, typed);
        QFETCH(bool, listed);
        QFETCH(QString, checked);
        QFETCH(QString, ending);
        QFETCH(bool, ok);
        d_scannerBaud = scannerBaud;
        const vex::ComSettings before{2, 38400, "/dev/ttyUSB1"};
        const SerialPortEntry port =
            listed ? SerialPortEntry{kScannerDevice, "/dev/ttyUSB7", "", true}
                   : SerialPortEntry{kMissingDevice, kMissingDevice, "", true};
        auto dialog = makeDialog(before, {port});
        if (!typed.isEmpty()) typeOther(dialog.get(), typed);
        runAutodetect(dialog.get());

        QCOMPARE(told(), QStringList({vex::gui::L1(vex::kAutodetectInstructions), ending}));
        const bool detected = scannerBaud != 0;
        QCOMPARE(dialog->autodetected(), detected);
        const vex::ComSettings after =
            detected ? vex::ComSettings{listed ? 1 : 2, scannerBaud, kScannerDevice} : before;
        QCOMPARE(dialog->settings(), after);
        QVERIFY(child<QRadioButton>(dialog.get(), checked)->isChecked());
        if (!typed.isEmpty()) QCOMPARE(child<QLineEdit>(dialog.get(), "otherText")->text(), typed);
        QCOMPARE(child<QComboBox>(dialog.get(), "baudList")->currentText(),
                 QString::number(after.baud));
        if (!listed)
            QVERIFY(child<QRadioButton>(dialog.get(), "port_1")->text().contains("not available"));
        QVERIFY(!comIniExists());

        QTest::mouseClick(child<QPushButton>(dialog.get(), ok ? "okButton" : "cancelButton"),
                          Qt::LeftButton);
        QCOMPARE(comIniExists(), ok);
        if (ok) QCOMPARE(vex::ReadComSettings(d_folder->path()).settings, after);
        QCOMPARE(dialog->settings(), after);
    }

    // Stop, or closing the dialog, ends the search and takes nothing.
    void stopEndsTheSearchAndTakesNothing_data() {
        QTest::addColumn<bool>("close");
        QTest::addRow("stop") << false;
        QTest::addRow("close") << true;
    }
    void stopEndsTheSearchAndTakesNothing() {
        QFETCH(bool, close);
        d_scannerBaud = 57600;
        const vex::ComSettings before{1, 4800, "/dev/ttyUSB0"};
        auto dialog = makeDialog(before);
        typeOther(dialog.get(), kScanner);
        auto* button = child<QPushButton>(dialog.get(), "autodetectButton");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QString("&Stop"));
        auto* status = child<QLabel>(dialog.get(), "statusText");
        QVERIFY(vex::gui::test::runUntil(*d_clock,
                                         [&] { return status->text().startsWith("Trying"); }));
        QVERIFY(child<QProgressBar>(dialog.get(), "progress")->isVisible());
        if (close) {
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(vex::gui::test::runUntil(*d_clock, [&] { return !dialog->searching(); }));
            QCOMPARE(button->text(), QString("&AutoDetect"));
            QVERIFY(status->text().contains("stopped"));
        }
        QVERIFY(vex::gui::test::runUntil(*d_clock, [&] { return d_clock->pendingTimers() == 0; }));
        QCOMPARE(told().size(), 1);  // the instructions only
        QCOMPARE(dialog->settings(), before);
        QVERIFY(!comIniExists());
    }

    void menuEntryTakesTheNewSettingsAtOnce() {
        vex::gui::test::Fixture f;
        f.dialogs.acts.push_back([](QWidget* window) {
            auto* dialog = qobject_cast<ComSetup*>(window);
            QVERIFY(dialog);
            typeOther(dialog, "/dev/pts/77");
            chooseBaud(dialog, "4800");
            QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        f.trigger("comset");
        QCOMPARE(f.state.com.device, std::string("/dev/pts/77"));
        QCOMPARE(f.state.com.baud, 4800L);
        QCOMPARE(vex::ReadComSettings(f.state.folder).settings, f.state.com);
    }
};

QTEST_MAIN(ComsetupTest)
#include "comsetup.moc"
