// The scanner-side dialogs against bct8sim over a pseudo-terminal: each writes into the
// scanner and reads back what it wrote; a silent scanner is told and the dialog closes at once.
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <fstream>
#include <memory>

#include "e2e/sim_process.h"
#include "gui/banknames.h"
#include "gui/easyprog.h"
#include "gui/memtab_support.h"
#include "gui/other82.h"
#include "gui/priority.h"
#include "platform/serial_transport.h"

using namespace vex::gui;

namespace {

constexpr const char* kMemory =
    "BCT8SIM MEMORY 1\n"
    "CH 003 01625500 TF DF LF\n"
    "CH 004 01626500 TF DF LF\n"
    "CH 010 08510250 TN DF LF\n";

vex::Options Fast() {
    vex::Options o;
    o.delay1 = 25;
    return o;
}

}  // namespace

class ScannerDialogsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    std::unique_ptr<simtest::SimProcess> d_sim;
    test::ScriptedPrompter d_prompter;

    std::filesystem::path memory() const { return *d_folder / "scanner.mem"; }
    void startSim(std::vector<std::string> extra = {}) {
        std::ofstream(memory()) << kMemory;
        d_sim = std::make_unique<simtest::SimProcess>();
        std::vector<std::string> args{"--baud",   "115200",          "--latency-ms",    "1",
                                      "--memory", memory().string(), "--save-delay-ms", "0"};
        args.insert(args.end(), extra.begin(), extra.end());
        QVERIFY(d_sim->Start(args));
    }
    std::unique_ptr<vex::Transport> line() const {
        vex::ComSettings com;
        com.device = d_sim->device();
        com.baud = 115200;
        return vex::MakeSerialTransport(com);
    }
    bool memoryHas(const std::string& text) const {
        return simtest::ReadFile(memory()).find(text) != std::string::npos;
    }
    template <typename T>
    static T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no child %s", name);
        return c;
    }
    // Clicks and waits for the job's end; its outcome.
    static bool run(ScannerDialog& dialog, const char* button) {
        QSignalSpy finished(&dialog, &ScannerDialog::jobFinished);
        child<QPushButton>(&dialog, button)->click();
        if (!finished.wait(20000)) return false;
        return finished.first().first().toBool();
    }
    static void waitReady(ScannerDialog& dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(dialog.ready() && !dialog.busy(), 5000);
    }

  private slots:
    void init() {
        d_folder = std::make_unique<simtest::TempFolder>();
        d_prompter = {};
    }
    void cleanup() { d_sim.reset(); }

    void priorityChannelsAreSentAndReadBack() {
        startSim();
        PriorityDialog dialog({1, 51, 101, 151, 201}, Fast(), 115200, line(), d_prompter);
        dialog.show();
        waitReady(dialog);
        child<QLineEdit>(&dialog, "bank1")->setText("7");
        child<QLineEdit>(&dialog, "bank3")->setText("120");
        QVERIFY(run(dialog, "send"));
        QVERIFY(memoryHas("PRIO A 007\n"));
        QVERIFY(memoryHas("PRIO C 120\n"));
        child<QLineEdit>(&dialog, "bank1")->setText("0");
        QVERIFY(run(dialog, "read"));
        QCOMPARE(child<QLineEdit>(&dialog, "bank1")->text(), QStringLiteral("007"));
        QCOMPARE(dialog.channels()[2], 120);
        // A channel outside its bank is refused by the scanner, and said so.
        child<QLineEdit>(&dialog, "bank2")->setText("7");
        QVERIFY(!run(dialog, "send"));
        QVERIFY(dialog.statusText().contains("refused \"PC B007\""));
    }

    void bankNamesAreWrittenIntoTheScanner() {
        startSim();
        BankNamesDialog dialog({"Bank: 1", "Bank: 2", "Bank: 3", "Bank: 4", "Bank: 5", "Dummy"},
                               Fast(), 115200, line(), d_prompter);
        dialog.show();
        waitReady(dialog);
        child<QLineEdit>(&dialog, "name1")->setText("County Police");
        child<QPushButton>(&dialog, "center")->click();
        child<QLineEdit>(&dialog, "name2")->clear();
        QCOMPARE(child<QLineEdit>(&dialog, "name1")->text(), QStringLiteral(" County Police  "));
        QVERIFY(run(dialog, "update"));
        QVERIFY(memoryHas("NAME A  County Police\n"));
        QVERIFY(memoryHas("NAME B \n"));
        QVERIFY(dialog.stored().has_value());
        QCOMPARE(QString::fromStdString((*dialog.stored())[1]), QStringLiteral(" "));
        // Read back over the wire as the communication window reads names.
        simtest::RawPort port;
        dialog.done(QDialog::Rejected);  // lets go of the port
        QVERIFY(port.Open(d_sim->device(), B115200));
        QCOMPARE(QString::fromStdString(port.Ask("TA B A")),
                 QStringLiteral("TA B A  County Police\r"));
    }

    void easyProgrammingSetsTheTickedAttributesOnTheRange() {
        startSim();
        EasyProgramDialog dialog(Fast(), 115200, line(), d_prompter);
        dialog.show();
        waitReady(dialog);
        child<QLineEdit>(&dialog, "start")->setText("3");
        child<QLineEdit>(&dialog, "end")->setText("10");
        for (const char* tick : {"trunk", "lockout", "attenuator", "delay"})
            child<QCheckBox>(&dialog, tick)->setChecked(true);
        for (const char* value : {"trunkValue", "lockoutValue", "attenuatorValue"})
            child<QComboBox>(&dialog, value)->setCurrentIndex(1);
        child<QComboBox>(&dialog, "delayValue")->setCurrentIndex(6);  // -5 sec
        QVERIFY(run(dialog, "startButton"));
        QVERIFY(memoryHas("CH 003 01625500 TN DN LN\n"));
        QVERIFY(memoryHas("CH 004 01626500 TN DN LN\n"));
        QVERIFY(memoryHas("CH 010 08510250 TN DN LN\n"));  // already trunked: stays so
        QVERIFY(memoryHas("EXTRA 003 ARF BAF ATN DL-5\n"));
        QVERIFY(memoryHas("EXTRA 010 ARF BAF ATN DL-5\n"));
        QVERIFY(!memoryHas("EXTRA 011"));
        QVERIFY(dialog.statusText().contains("8 channels programmed"));
    }

    void settingsAreSentReadBackAndResetAsksFirst() {
        startSim();
        ScannerSettingsDialog dialog(Fast(), 115200, line(), d_prompter);
        dialog.show();
        waitReady(dialog);
        child<QComboBox>(&dialog, "setting6")->setCurrentIndex(2);  // SQ Mode: Search
        child<QComboBox>(&dialog, "setting0")->setCurrentIndex(1);  // Dimmer Light: Medium
        QVERIFY(run(dialog, "send"));
        QVERIFY(memoryHas("SETTING 38 3\n"));
        QVERIFY(memoryHas("SETTING 311 2\n"));
        for (int i = 0; i < vex::kMenuSettings; ++i)
            child<QComboBox>(&dialog, qPrintable(QStringLiteral("setting%1").arg(i)))
                ->setCurrentIndex(-1);
        QVERIFY(run(dialog, "read"));
        QCOMPARE(dialog.choices()[6], 2);
        QCOMPARE(dialog.choices()[0], 1);
        QCOMPARE(dialog.choices()[8], 0);  // Clone: MASTER

        auto* text = child<QLineEdit>(&dialog, "resetText");
        text->setText("reset");
        child<QPushButton>(&dialog, "reset")->click();
        QVERIFY(d_prompter.asked.isEmpty());
        text->setText("RESET");
        d_prompter.answers = {Answer::No, Answer::Yes};
        child<QPushButton>(&dialog, "reset")->click();
        QCOMPARE(d_prompter.asked.size(), 1);
        QVERIFY(d_prompter.asked[0].contains("ENTIRE memory"));
        QVERIFY(memoryHas("CH 003 01625500"));
        QVERIFY(run(dialog, "reset"));
        QTRY_VERIFY_WITH_TIMEOUT(memoryHas("CH 003 00000000"), 2000);
    }

    void aSilentScannerIsToldAndTheDialogClosesAtOnce() {
        startSim({"--fault", "no-reply:always"});
        PriorityDialog dialog({1, 51, 101, 151, 201}, Fast(), 115200, line(), d_prompter);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.ready(), 3000);
        QVERIFY(dialog.statusText().contains("did not answer"));
        QVERIFY(!run(dialog, "read"));  // each try ends within its time-out
        child<QPushButton>(&dialog, "read")->click();
        QVERIFY(dialog.busy());
        QElapsedTimer closing;
        closing.start();
        child<QPushButton>(&dialog, "close")->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(closing.elapsed() < 200);
    }
};

QTEST_MAIN(ScannerDialogsTest)
#include "scannerdialogs.moc"
