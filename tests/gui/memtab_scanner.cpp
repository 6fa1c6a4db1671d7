// The main window's Read Data against bct8sim over a real serial line: a whole read replaces
// the table, a merge, a step or a kept partial read leaves it modified.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <fstream>

#include "e2e/sim_process.h"
#include "gui/memtab_support.h"
#include "gui/vexcomm.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// Channels 1..250 at 150.0000 + n * 0.0125 MHz.
std::string ScannerMemory() {
    std::string text = "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= 250; ++n) {
        char line[64];
        std::snprintf(line, sizeof line, "CH %03d %08d TF DN LF\n", n, 1500000 + n * 125);
        text += line;
    }
    return text;
}

// Runs `act` on the communication window once it has opened its port.
void WhenCommReady(std::function<void(vexcomm*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* window = qobject_cast<vexcomm*>(QApplication::activeModalWidget());
        if (window && window->ready()) {
            timer->stop();
            timer->deleteLater();
            act(window);
        }
    });
    timer->start();
}

}  // namespace

class MemTabScannerTest : public QObject {
    Q_OBJECT
  private slots:
    void readDataReplacesTheTable();
    void readKeptHalfWayIsUnsaved();
    void stepReadShowsAtOnceAndTheBackupKeepsIt();
    void mergeReadStaysUnsaved();
    void refusedReadKeepsTheSingleBankFlag();
};

namespace {

// Reads channels 1..3 only, so a read takes a moment.
void ChooseChannels1To3(vexcomm* window) {
    auto* from = window->findChild<QLineEdit*>("rangeStart");
    auto* to = window->findChild<QLineEdit*>("rangeEnd");
    from->selectAll();
    QTest::keyClicks(from, "1");
    to->selectAll();
    QTest::keyClicks(to, "3");
}

}  // namespace

// "Read F Data" leaves the window open; the grid shows the channels read at once, and a backup
// falling due meanwhile keeps them. Closing leaves a table that is neither file nor scanner.
void MemTabScannerTest::stepReadShowsAtOnceAndTheBackupKeepsIt() {
    simtest::TempFolder folder;
    std::ofstream(folder / "scanner.mem") << ScannerMemory();
    simtest::SimProcess sim;
    QVERIFY(sim.Start({"--baud", "115200", "--latency-ms", "0", "--memory",
                       (folder / "scanner.mem").string(), "--save-delay-ms", "0"}));
    Fixture f([&](AppState& s) {
        s.com.device = sim.device();
        s.com.baud = 115200;
        s.options.delay1 = 25;
        s.options.backena = 1;
        s.options.backupdelay = 1;
    });
    f.window->setFileName(f.path("mine.mem"));
    f.enter(1, 1, "444.4");
    f.prompter.answers = {Answer::No};  // "Data is not saved. Save it now?"
    QString shownDuringWindow;
    std::string storedAfterBackup;
    WhenCommReady([&](vexcomm* window) {
        ChooseChannels1To3(window);
        QSignalSpy finished(window, &vexcomm::transferFinished);
        QTest::mouseClick(window->findChild<QPushButton*>("readFrequencies"), Qt::LeftButton);
        if (finished.wait(20000)) {
            shownDuringWindow = f.cell(1, 1);
            f.window->backupTick();
            storedAfterBackup = f.channel(0, 1)[kFieldFrequency];
        }
        QTest::mouseClick(window->findChild<QPushButton*>("close"), Qt::LeftButton);
    });
    f.trigger("menread");
    QCOMPARE(shownDuringWindow, QString("0150.0125"));
    QCOMPARE(storedAfterBackup, std::string("0150.0125"));
    QCOMPARE(f.cell(1, 1), QString("0150.0125"));
    QCOMPARE(f.window->fileName(), QString("Untitled"));
    QVERIFY(f.window->editor().modified());
}

void MemTabScannerTest::mergeReadStaysUnsaved() {
    simtest::TempFolder folder;
    std::ofstream(folder / "scanner.mem") << ScannerMemory();
    simtest::SimProcess sim;
    QVERIFY(sim.Start({"--baud", "115200", "--latency-ms", "0", "--memory",
                       (folder / "scanner.mem").string(), "--save-delay-ms", "0"}));
    Fixture f([&](AppState& s) {
        s.com.device = sim.device();
        s.com.baud = 115200;
        s.options.delay1 = 25;
    });
    f.enter(20, 1, "444.4");
    f.prompter.answers = {Answer::No};
    WhenCommReady([](vexcomm* window) {
        ChooseChannels1To3(window);
        window->findChild<QCheckBox*>("merge")->setChecked(true);
        QTest::mouseClick(window->findChild<QPushButton*>("start"), Qt::LeftButton);
    });
    f.trigger("menread");
    QCOMPARE(f.cell(1, 1), QString("0150.0125"));
    QCOMPARE(f.cell(20, 1), QString("0444.4000"));
    QVERIFY(f.window->editor().modified());
}

// The flag comes from the main window and goes back to it; a read that did nothing leaves it.
void MemTabScannerTest::refusedReadKeepsTheSingleBankFlag() {
    simtest::SimProcess sim;
    QVERIFY(sim.Start({"--baud", "115200", "--latency-ms", "0"}));
    Fixture f([&](AppState& s) {
        s.com.device = sim.device();
        s.com.baud = 115200;
        s.options.delay1 = 25;
        s.singleBankFlag = true;  // from an earlier single-bank read
    });
    WhenCommReady([](vexcomm* window) {
        for (const char* box : {"frequencies", "trunkIds", "trunkSettings"})
            window->findChild<QCheckBox*>(box)->setChecked(false);
        QSignalSpy finished(window, &vexcomm::transferFinished);
        QTest::mouseClick(window->findChild<QPushButton*>("start"), Qt::LeftButton);
        QVERIFY(finished.wait(5000));
        QTest::mouseClick(window->findChild<QPushButton*>("close"), Qt::LeftButton);
    });
    f.trigger("menread");
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY2(f.prompter.told[0].endsWith("|Please select which data you want to download."),
             qPrintable(f.prompter.told[0]));
    QVERIFY(f.state.singleBankFlag);
}

void MemTabScannerTest::readDataReplacesTheTable() {
    simtest::TempFolder folder;
    std::ofstream(folder / "scanner.mem") << ScannerMemory();
    simtest::SimProcess sim;
    QVERIFY(sim.Start({"--baud", "115200", "--latency-ms", "0", "--memory",
                       (folder / "scanner.mem").string(), "--save-delay-ms", "0"}));
    Fixture f([&](AppState& s) {
        s.com.device = sim.device();
        s.com.baud = 115200;
        s.options.delay1 = 25;
    });
    f.window->setFileName(f.path("mine.mem"));
    f.enter(1, 1, "444.4");
    f.prompter.answers = {Answer::No};  // "Data is not saved. Save it now?"
    bool read = false;
    WhenCommReady([&read](vexcomm* window) {
        auto* from = window->findChild<QLineEdit*>("rangeStart");
        auto* to = window->findChild<QLineEdit*>("rangeEnd");
        QVERIFY(from && to);
        from->selectAll();
        QTest::keyClicks(from, "1");
        to->selectAll();
        QTest::keyClicks(to, "3");
        QTest::mouseClick(window->findChild<QPushButton*>("start"), Qt::LeftButton);
        read = true;
    });
    f.trigger("menread");  // returns when the window has closed after the read
    QVERIFY(read);
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY2(f.prompter.told.isEmpty(), qPrintable(f.prompter.told.join('\n')));
    QCOMPARE(f.window->fileName(), QString("Untitled"));
    QVERIFY(!f.window->editor().modified());
    QCOMPARE(f.cell(1, 1), QString("0150.0125"));
    QCOMPARE(f.cell(3, 1), QString("0150.0375"));
    QCOMPARE(f.cell(3, 4), QString("On"));
}

// The line drops at channel 9; the user keeps channels 1..8. The table takes them like a
// completed read, but marked modified: they are neither in a file nor all of the scanner.
void MemTabScannerTest::readKeptHalfWayIsUnsaved() {
    simtest::TempFolder folder;
    std::ofstream(folder / "scanner.mem") << ScannerMemory();
    simtest::SimProcess sim;
    QVERIFY(sim.Start({"--baud", "115200", "--latency-ms", "0", "--memory",
                       (folder / "scanner.mem").string(), "--fault", "disconnect@ch9"}));
    Fixture f([&](AppState& s) {
        s.com.device = sim.device();
        s.com.baud = 115200;
        s.options.delay1 = 25;
    });
    f.window->setFileName(f.path("mine.mem"));
    f.enter(20, 1, "444.4");
    // "Data is not saved. Save it now?" No; "Keep the channels read so far?" Yes.
    f.prompter.answers = {Answer::No, Answer::Yes};
    WhenCommReady([](vexcomm* window) {
        QTest::mouseClick(window->findChild<QPushButton*>("start"), Qt::LeftButton);
    });
    f.trigger("menread");
    QCOMPARE(f.prompter.asked.size(), 2);
    QVERIFY2(f.prompter.asked[1].contains("Keep the 8 channels read so far (001 to 008)?"),
             qPrintable(f.prompter.asked[1]));
    QVERIFY2(f.prompter.told.isEmpty(), qPrintable(f.prompter.told.join('\n')));
    QCOMPARE(f.window->fileName(), QString("Untitled"));
    QVERIFY(f.window->editor().modified());
    QCOMPARE(f.cell(1, 1), QString("0150.0125"));
    QCOMPARE(f.cell(8, 1), QString("0150.1000"));
    QVERIFY(f.cell(20, 1).startsWith("0444"));  // not reached by the read: kept
}

QTEST_MAIN(MemTabScannerTest)
#include "memtab_scanner.moc"
