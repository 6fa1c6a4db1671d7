// The control panel on the fake clock against the simulator's scanner: keys change the scanner
// and the display follows, receptions reach the grid and idlog.txt, and a scanner that goes away
// and comes back is shown as such. When the poller polls and probes is the link tests' business.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "e2e/sim_process.h"
#include "gui/lcd8.h"
#include "gui/memtab_support.h"
#include "gui/sim_line.h"

using vex::gui::Lcd8;
using vex::gui::test::runFor;
using vex::gui::test::runUntil;

class Lcd8Test : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    vex::gui::test::ScriptedPrompter d_prompter;
    vex::FakeScheduler* d_clock = nullptr;
    vex::test::SimulatedScanner* d_scanner = nullptr;

    std::unique_ptr<Lcd8> makePanel() {
        vex::gui::test::SimLine sim;
        std::string error;
        sim.scanner.model.load(
            "BCT8SIM MEMORY 1\n"
            "CH 003 01625500 TF DF LF\n"
            "CH 010 08510250 TN DF LF\n"
            "CH 060 04625000 TF DF LF\n"
            "CH 061 04625250 TF DF LF\n",
            error);
        sim.scanner.pieces = 2;  // replies come in parts, as a real line delivers them
        d_clock = &sim.clock;
        d_scanner = &sim.scanner;
        vex::Options options;
        options.qview = 0;
        auto panel =
            std::make_unique<Lcd8>(options, std::move(sim.ownedScanner), std::move(sim.ownedClock),
                                   d_folder->path(), d_prompter);
        panel->show();
        return panel;
    }
    bool within(std::int64_t ms, const std::function<bool()>& done) {
        return runUntil(*d_clock, done, ms);
    }
    bool memoryHas(const std::string& line) const {
        return d_scanner->model.save().find(line + "\n") != std::string::npos;
    }

  private slots:
    void init() { d_folder = std::make_unique<simtest::TempFolder>(); }

    void keysChangeTheScannerAndTheDisplayFollowsWithinTwoPolls() {
        auto panel = makePanel();
        const auto display = [&panel] { return panel->view()->display(); };
        QVERIFY(within(3000, [&] { return display().mode == "Private Scan Mode"; }));
        // An LCD poll goes out every 300 ms (LCD, MD, SQ in turn): two polls and the key's own
        // round trip.
        constexpr int kTwoPolls = 2 * 300 + 300;
        panel->clickKey("HLD/RES");
        QVERIFY(within(kTwoPolls, [&] { return display().on("HOLD"); }));
        QVERIFY(within(kTwoPolls, [&] { return display().mode == "Private Scan Hold Mode"; }));
        QVERIFY(memoryHas("PANEL MODE 01"));
        // Redrawn only when the display changed: a held display does not.
        runFor(*d_clock, 400);
        const int paints = panel->view()->paints();
        runFor(*d_clock, 700);
        QCOMPARE(panel->view()->paints(), paints);

        for (const char* key : {"6", "0", "ENTER"}) panel->clickKey(key);
        QVERIFY(within(1000, [&] { return display().channel == "060"; }));
        QCOMPARE(display().frequency, std::string("462.5000"));

        // Right click: the held forms of L/O, PRI, TRUNK, ENTER; other keys have none.
        emit panel->findChild<QPushButton*>("key_PRI")->customContextMenuRequested({});
        QVERIFY(within(1000, [&] { return memoryHas("PRIO B 060"); }));
        emit panel->findChild<QPushButton*>("key_DELAY")->customContextMenuRequested({});
        panel->clickKey("L/O");
        QVERIFY(within(1000, [&] { return display().on("L/O"); }));
        QVERIFY(memoryHas("CH 060 04625000 TF DF LN"));  // the right click changed no delay

        // Shortcut keys: H resumes the scan.
        QTest::keyClick(panel.get(), Qt::Key_H);
        QVERIFY(within(1000, [&] { return !display().on("HOLD"); }));
    }

    // Receptions reach the grid and idlog.txt; a scanner that goes away is shown and polling
    // resumes when it is back.
    void receptionsAreLoggedAndALostScannerIsShown() {
        auto panel = makePanel();
        QVERIFY(within(6000, [&] { return panel->logGrid()->rowCount() >= 1; }));
        const QString frequency = panel->logGrid()->item(0, 3)->text();
        QVERIFY2(QStringList({"162.5500", "851.0250", "462.5000", "462.5250"}).contains(frequency),
                 qPrintable(frequency));
        const std::string log = simtest::ReadFile(d_folder->path() / "idlog.txt");
        QVERIFY2(log.find(" , " + frequency.toStdString() + " , ") != std::string::npos,
                 log.c_str());
        QVERIFY(panel->poller().state() == vex::PanelState::Polling);
        d_scanner->openStatus = {vex::TransportFault::Disconnected, "gone", ""};
        d_scanner->pullAtNextCommand();
        QVERIFY(
            within(2000, [&] { return panel->poller().state() == vex::PanelState::NoScanner; }));
        QVERIFY(panel->findChild<QLabel*>("status")->text().startsWith("No communication"));
        d_scanner->openStatus = {};
        QVERIFY(within(3000, [&] { return panel->poller().state() == vex::PanelState::Polling; }));
        QVERIFY(
            within(1000, [&] { return panel->findChild<QLabel*>("status")->text().isEmpty(); }));
    }

    void theMainWindowLeavesThePortToThePanelWithVcm() {
        const std::string link = (*d_folder / "ttyBCT8").string();
        simtest::SimProcess sim;
        QVERIFY(sim.Start({"--baud", "38400", "--latency-ms", "2", "--link", link}));
        vex::gui::test::Fixture f([&](vex::AppState& state) {
            state.options.vcm = 1;
            state.options.qview = 0;
            state.com.device = link;
            state.com.baud = 38400;
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
};

QTEST_MAIN(Lcd8Test)
#include "lcd8.moc"
