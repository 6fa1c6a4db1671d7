// The main window's Read Data against bct8sim over a real serial line: a whole read replaces
// the table, a step or a kept partial read leaves it modified.
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>
#include <fstream>

#include "e2e/sim_process.h"
#include "gui/memtab_support.h"
#include "gui/trunk_support.h"
#include "gui/vexcomm.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

class MemTabScannerTest : public QObject {
    Q_OBJECT
  private slots:
    // how: "whole" reads channels 1..3; "step" reads them with "Read F Data", leaving the window
    // open; "cut" reads all and the line drops at channel 9, the user keeps 1..8.
    void readData_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("first");   // channel 1 afterwards
        QTest::addColumn<QString>("twenty");  // channel 20, not reached by the read
        QTest::addRow("whole read: as the scanner") << "whole" << false << "0150.0125"
                                                    << "";
        QTest::addRow("step shows at once, unsaved") << "step" << true << "0150.0125"
                                                     << "0444.4000";
        QTest::addRow("kept half way is unsaved") << "cut" << true << "0150.0125"
                                                  << "0444.4000";
    }

    void readData() {
        QFETCH(QString, how);
        QFETCH(bool, modified);
        QFETCH(QString, first);
        QFETCH(QString, twenty);
        simtest::TempFolder folder;
        std::ofstream(folder / "scanner.mem") << SimulatorMemoryFile();
        std::vector<std::string> args = {"--baud",          "115200",
                                         "--latency-ms",    "0",
                                         "--memory",        (folder / "scanner.mem").string(),
                                         "--save-delay-ms", "0"};
        if (how == "cut") args.insert(args.end(), {"--fault", "disconnect@ch9"});
        simtest::SimProcess sim;
        QVERIFY(sim.Start(args));
        Fixture f([&](AppState& s) {
            s.com.device = sim.device();
            s.com.baud = 115200;
            s.options.delay1 = 25;
            s.options.backena = 1;
            s.options.backupdelay = 1;
        });
        f.window->setFileName(f.path("mine.mem"));
        f.enter(20, 1, "444.4");
        // "Data is not saved. Save it now?" No; after the cut "Keep the channels read so far?" Yes.
        f.prompter.answers = {Answer::No, Answer::Yes};
        QString shownDuringWindow;
        std::string storedAfterBackup;
        f.triggerWith("menread", [&](QWidget* w) {
            auto* window = qobject_cast<VexComm*>(w);
            QVERIFY(QTest::qWaitFor([window] { return window->ready(); }, 5000));
            if (how != "cut") {
                Type(window, "rangeStart", "1");
                Type(window, "rangeEnd", "3");
            }
            QSignalSpy finished(window, &VexComm::transferFinished);
            Click(window, how == "step" ? "readFrequencies" : "start");
            if (how != "step") return;  // the window closes by itself
            QVERIFY(finished.wait(20000));
            // A backup falling due while the window is open keeps what the step read.
            shownDuringWindow = f.cell(1, 1);
            f.window->backupTick();
            storedAfterBackup = f.channel(0, 1)[kFieldFrequency];
            Click(window, "close");
        });
        if (how == "step") {
            QCOMPARE(shownDuringWindow, first);
            QCOMPARE(QString::fromStdString(storedAfterBackup), first);
        }
        if (how == "cut") {
            QVERIFY2(
                f.prompter.asked.value(1).contains("Keep the 8 channels read so far (001 to 008)?"),
                qPrintable(f.prompter.asked.join('\n')));
            QCOMPARE(f.cell(8, 1), QString("0150.1000"));
        }
        QVERIFY2(f.prompter.told.isEmpty(), qPrintable(f.prompter.told.join('\n')));
        QCOMPARE(f.window->fileName(), QString("Untitled"));
        QCOMPARE(f.cell(1, 1), first);
        if (!twenty.isEmpty()) QCOMPARE(f.cell(20, 1), twenty);
        QCOMPARE(f.window->editor().modified(), modified);
    }
};

QTEST_MAIN(MemTabScannerTest)
#include "memtab_scanner.moc"
