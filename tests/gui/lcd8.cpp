// The control panel against bct8sim over a pseudo-terminal: keys change the scanner and the
// display follows, receptions reach the grid and idlog.txt, and a scanner that goes away and
// comes back is shown as such without the panel piling up commands or using the processor.
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <fstream>
#include <memory>

#include "e2e/sim_process.h"
#include "gui/lcd8.h"
#include "gui/memtab_support.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

using vex::gui::lcd8;

namespace {

constexpr const char* kMemory =
    "BCT8SIM MEMORY 1\n"
    "CH 003 01625500 TF DF LF\n"
    "CH 010 08510250 TN DF LF\n"
    "CH 060 04625000 TF DF LF\n"
    "CH 061 04625250 TF DF LF\n";

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

class Lcd8Test : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    std::unique_ptr<simtest::SimProcess> d_sim;
    vex::gui::test::ScriptedPrompter d_prompter;

    std::filesystem::path memory() const { return *d_folder / "scanner.mem"; }
    std::filesystem::path linkPath() const { return *d_folder / "ttyBCT8"; }

    bool startSim(bool fresh = true) {
        if (fresh) std::ofstream(memory()) << kMemory;
        d_sim = std::make_unique<simtest::SimProcess>();
        return d_sim->Start({"--baud", "115200", "--latency-ms", "2", "--memory", memory().string(),
                             "--save-delay-ms", "0", "--link", linkPath().string()});
    }

    std::unique_ptr<lcd8> makePanel() {
        vex::Options options;
        options.qview = 0;
        vex::ComSettings com;
        com.device = linkPath().string();
        com.baud = 115200;
        auto panel = std::make_unique<lcd8>(options, com, d_folder->path(), d_prompter);
        panel->show();
        return panel;
    }

    bool memoryHas(const std::string& line) const {
        return simtest::ReadFile(memory()).find(line + "\n") != std::string::npos;
    }

  private slots:
    void init() {
        d_folder = std::make_unique<simtest::TempFolder>();
        QVERIFY(startSim());
    }
    void cleanup() {
        d_sim.reset();
        d_folder.reset();
    }

    void keysChangeTheScannerAndTheDisplayFollowsWithinTwoPolls() {
        auto panel = makePanel();
        QTRY_VERIFY_WITH_TIMEOUT(panel->view()->display().mode == "Private Scan Mode", 3000);
        // An LCD poll goes out every 300 ms (LCD, MD, SQ in turn); two polls and the key's own
        // round trip.
        constexpr int kTwoPolls = 2 * 300 + 300;  // plus the key and the scheduling
        panel->clickKey("HLD/RES");
        QTRY_VERIFY_WITH_TIMEOUT(panel->view()->display().on("HOLD"), kTwoPolls);
        QTRY_VERIFY_WITH_TIMEOUT(panel->view()->display().mode == "Private Scan Hold Mode",
                                 kTwoPolls);
        QTRY_VERIFY_WITH_TIMEOUT(memoryHas("PANEL MODE 01"), 1000);

        for (const char* key : {"6", "0", "ENTER"}) panel->clickKey(key);
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromStdString(panel->view()->display().channel),
                                  QStringLiteral("060"), 1000);
        QCOMPARE(QString::fromStdString(panel->view()->display().frequency),
                 QStringLiteral("462.5000"));
        QTRY_VERIFY_WITH_TIMEOUT(memoryHas("PANEL CHANNEL 060"), 1000);

        // Right click: the held forms of L/O, PRI, TRUNK, ENTER; other keys have none.
        auto* pri = panel->findChild<QPushButton*>("key_PRI");
        QVERIFY(pri);
        emit pri->customContextMenuRequested({});
        QTRY_VERIFY_WITH_TIMEOUT(memoryHas("PRIO B 060"), 1000);
        emit panel->findChild<QPushButton*>("key_DELAY")->customContextMenuRequested({});
        panel->clickKey("L/O");
        QTRY_VERIFY_WITH_TIMEOUT(panel->view()->display().on("L/O"), 1000);
        QVERIFY(memoryHas("CH 060 04625000 TF DF LN"));  // the right click changed no delay

        // Shortcut keys: H resumes the scan.
        QTest::keyClick(panel.get(), Qt::Key_H);
        QTRY_VERIFY_WITH_TIMEOUT(!panel->view()->display().on("HOLD"), 1000);
    }

    void receptionsReachTheGridAndIdlog() {
        auto panel = makePanel();
        // The simulator receives on every fourth display poll.
        QTRY_VERIFY_WITH_TIMEOUT(panel->logGrid()->rowCount() >= 1, 6000);
        const QString frequency = panel->logGrid()->item(0, 3)->text();
        QVERIFY2(frequency == "162.5500" || frequency == "851.0250" || frequency == "462.5000" ||
                     frequency == "462.5250",
                 qPrintable(frequency));
        const std::string log = simtest::ReadFile(d_folder->path() / "idlog.txt");
        QVERIFY2(log.find(" , " + frequency.toStdString() + " , ") != std::string::npos,
                 log.c_str());
        QVERIFY(log.find("\r\n") != std::string::npos);
    }

    void aScannerThatGoesAwayIsShownAndPollingResumesWhenItIsBack() {
        auto panel = makePanel();
        QTRY_VERIFY_WITH_TIMEOUT(panel->poller().state() == vex::PanelState::Polling &&
                                     !panel->view()->display().mode.empty(),
                                 3000);
        d_sim->Stop();
        QElapsedTimer gone;
        gone.start();
        QTRY_VERIFY_WITH_TIMEOUT(panel->poller().state() == vex::PanelState::NoScanner, 2000);
        QVERIFY(gone.elapsed() <= 2000);
        QVERIFY(panel->findChild<QLabel*>("status")->text().startsWith("No communication"));

        // A second without a scanner: keys are refused, not queued, and the processor is left
        // alone (the probes' timing is the poller's own).
        const double cpuBefore = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        while (wall.elapsed() < 1000) {
            QTest::qWait(100);
            QVERIFY(panel->poller().queuedKeys() == 0);
            panel->clickKey("UP");
        }
        const double cpu = CpuSeconds() - cpuBefore;
        QVERIFY2(cpu / (wall.elapsed() / 1000.0) < 0.02, qPrintable(QString::number(cpu)));

        QVERIFY(startSim(false));
        QTRY_VERIFY_WITH_TIMEOUT(panel->poller().state() == vex::PanelState::Polling, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(panel->findChild<QLabel*>("status")->text().isEmpty(), 1000);
    }

    void theMainWindowLeavesThePortToThePanelWithVcm() {
        vex::gui::test::Fixture f([this](vex::AppState& state) {
            state.options.vcm = 1;
            state.options.qview = 0;
            state.com.device = linkPath().string();
            state.com.baud = 115200;
        });
        QVERIFY(!f.window->virtualControlRunning());
        f.trigger("vc");
        QVERIFY(vex::gui::OpenPanel());
        QVERIFY(f.window->virtualControlRunning());
        for (const char* command : {"menread", "memsend", "comset", "other82", "mnu_prioch"}) {
            f.prompter.told.clear();
            f.trigger(command);
            QCOMPARE(f.prompter.told.size(), 1);
            QVERIFY2(f.prompter.told[0].endsWith("Not possible while Virtual Control is running"),
                     command);
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            vex::gui::OpenPanel()->poller().state() == vex::PanelState::Polling, 2000);
        vex::gui::OpenPanel()->close();
        QTRY_VERIFY(!vex::gui::OpenPanel());
        QVERIFY(!f.window->virtualControlRunning());
    }

    void redrawsOnlyWhenTheDisplayChanged() {
        auto panel = makePanel();
        panel->clickKey("HLD/RES");  // a held display does not change
        QTRY_VERIFY_WITH_TIMEOUT(panel->view()->display().on("HOLD"), 2000);
        QTest::qWait(400);
        const int paints = panel->view()->paints();
        QTest::qWait(700);  // two more polls of an unchanged display
        QCOMPARE(panel->view()->paints(), paints);
    }
};

QTEST_MAIN(Lcd8Test)
#include "lcd8.moc"
