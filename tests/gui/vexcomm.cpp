// The communication window's wiring on the fake clock against the simulator's scanner: choices
// become the transfer, progress is shown, the result reaches the image and the prompts.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>
#include <memory>

#include "core/image.h"
#include "e2e/sim_process.h"
#include "gui/memtab_support.h"
#include "gui/sim_line.h"
#include "gui/vexcomm.h"
#include "platform/serial_transport.h"

using vex::gui::Answer;
using vex::gui::VexComm;
using Mode = vex::gui::VexComm::Mode;
using Line = std::function<void(vex::test::SimulatedScanner&)>;

namespace {

// Channels 1..250 at 150.0000 + n * 0.0125 MHz, lockout on every third.
std::string ScannerMemory() {
    std::string text = "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= 250; ++n) {
        char line[64];
        std::snprintf(line, sizeof line, "CH %03d %08d TF DF L%c\n", n, 1500000 + n * 125,
                      n % 3 == 0 ? 'N' : 'F');
        text += line;
    }
    return text;
}

std::string Expected(int n) {
    const int units = 1500000 + n * 125;
    char text[16];
    std::snprintf(text, sizeof text, "%04d.%04d", units / 10000, units % 10000);
    return text;
}

}  // namespace

class VexcommTest : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    vex::gui::test::ScriptedPrompter d_prompter;
    vex::FakeScheduler* d_clock = nullptr;
    vex::test::SimulatedScanner* d_scanner = nullptr;
    vex::Image d_image;
    std::unique_ptr<VexComm> d_window;

    // Opens the window over a fresh simulated scanner holding `memory`; `line` sets it up first.
    void open(Mode mode, const Line& line = {}, const std::string& memory = ScannerMemory(),
              long baud = 115200) {
        vex::gui::test::SimLine sim;
        std::string error;
        if (!sim.scanner.model.load(memory, error)) qFatal("%s", error.c_str());
        if (line) line(sim.scanner);
        d_clock = &sim.clock;
        d_scanner = &sim.scanner;
        vex::Options options;
        options.delay1 = options.delay2 = options.delay3 = 25;
        d_window = std::make_unique<VexComm>(mode, d_image, options, baud,
                                             std::move(sim.ownedScanner), d_folder->path(),
                                             d_prompter, nullptr, std::move(sim.ownedClock));
        d_window->show();
    }
    bool until(const std::function<bool()>& done, std::int64_t ms = 120000) {
        return vex::gui::test::runUntil(*d_clock, done, ms);
    }
    void openReady(Mode mode, const Line& line = {}, const std::string& memory = ScannerMemory()) {
        open(mode, line, memory);
        if (!until([&] { return d_window->ready(); })) qFatal("the window never got ready");
    }
    template <typename T = QPushButton>
    T* get(const char* name) const {
        T* widget = d_window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no child %s", name);
        return widget;
    }
    void click(const char* button) { QTest::mouseClick(get(button), Qt::LeftButton); }
    // Clicks and runs the transfer to its end; its outcome (a vex::TransferOutcome).
    int press(const char* button) {
        QSignalSpy finished(d_window.get(), &VexComm::transferFinished);
        click(button);
        if (!until([&] { return finished.count() == 1; })) return -1;
        return finished.at(0).at(0).toInt();
    }
    QString text(const char* field) const { return get<QLineEdit>(field)->text(); }
    // Which of the transfer buttons take a click.
    QString enabled() const {
        QStringList names;
        for (const char* name : {"start", "stop", "readBankNames"})
            if (get(name)->isEnabled()) names << name;
        return names.join(' ');
    }
    void chooseRange(const QString& start, const QString& end) {
        for (auto [name, typed] : {std::pair{"rangeStart", start}, std::pair{"rangeEnd", end}}) {
            get<QLineEdit>(name)->selectAll();
            QTest::keyClicks(get<QLineEdit>(name), typed);
        }
    }
    // A field of channel n (1..250) in the image.
    std::string at(int n, int field = vex::kFieldFrequency) const {
        return d_image.channel((n - 1) / 50, (n - 1) % 50 + 1)[field];
    }

  private slots:
    void init() {
        d_prompter = {};
        d_folder = std::make_unique<simtest::TempFolder>();
        d_window.reset();
        d_image = {};
        vex::ClearForFileNew(d_image);
    }

    void sendsOneBankAfterConfirmation() {
        vex::SetStartupBankTags(d_image);
        for (int s = 1; s <= 50; ++s) {
            auto& channel = d_image.channel(1, s);
            channel[vex::kFieldFrequency] = "0851.0125";
            channel[vex::kFieldTrunk] = channel[vex::kFieldLockout] = "0";
            channel[vex::kFieldDelay] = "1";
        }
        const vex::Image before = d_image;
        open(Mode::Send);
        auto* banks = get<QComboBox>("bankList");
        QCOMPARE(banks->count(), 5);
        QVERIFY(banks->itemText(0).endsWith("  -  EMPTY"));
        QVERIFY(until([&] { return d_window->ready(); }));

        get<QRadioButton>("singleBank")->click();
        banks->setCurrentIndex(1);
        QCOMPARE(get<QLabel>("plan")->text(),
                 QStringLiteral("Send Data writes the frequencies of bank 2 into the scanner."));
        d_prompter.answers = {Answer::Yes};
        QCOMPARE(press("start"), 0);  // Completed
        QCOMPARE(d_prompter.asked, QStringList{"Send Data|Please confirm data upload.\nChannels: "
                                               "51 / 100\nAre you sure?"});
        QVERIFY(d_image == before);
        QVERIFY(!d_window->imageReplaced());
        QVERIFY(get("start")->isEnabled());
        const bct8sim::Channel sent{"08510125", false, true, false};
        QVERIFY(d_scanner->model.channel(100) == sent);
        QCOMPARE(d_scanner->model.channel(101).frequency, std::string("01512625"));
    }

    // What to transfer is remembered per window; tags a read would drop are counted first.
    void choicesAreRememberedAndTagLossIsAskedOnce() {
        d_image.channel(0, 2)[vex::kFieldTag] = "Harbour";
        d_image.channel(0, 3)[vex::kFieldTag] = "Airfield";
        openReady(Mode::Read);
        get<QCheckBox>("trunkSettings")->click();
        chooseRange("1", "5");
        QCOMPARE(get<QLabel>("plan")->text(),
                 QStringLiteral("Read Data reads the frequencies and the trunk settings of "
                                "channels 1 to 5 (trunk data of their banks) from the scanner, "
                                "replacing them in the open table."));
        d_prompter.answers = {Answer::Yes};  // merge instead
        click("start");
        QVERIFY(until([&] { return !d_window->isVisible(); }));
        QCOMPARE(d_prompter.asked.size(), 1);
        QVERIFY(d_prompter.asked[0].contains("replaces 2 channel tags and 0 ID tags"));
        QCOMPARE(d_image.channel(0, 2)[vex::kFieldTag], std::string("Harbour"));
        QCOMPARE(at(2), Expected(2));

        open(Mode::Read);
        QVERIFY(get<QCheckBox>("trunkSettings")->isChecked());
        QVERIFY(get<QCheckBox>("merge")->isChecked());
        open(Mode::Send);
        QVERIFY(get<QCheckBox>("frequencies")->isChecked());
        QVERIFY(!get<QCheckBox>("trunkSettings")->isChecked());
    }

    // A read cut off half way, by a pulled cable or STOP: the user is told why and decides
    // whether to keep what came in.
    void cutReadOffersWhatWasRead_data() {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("why");
        const QString lost = "The connection to the scanner was lost at channel 009";
        QTest::addRow("pulled, No keeps the table") << false << false << 2 << lost;
        QTest::addRow("pulled, Yes takes what was read") << false << true << 2 << lost;
        QTest::addRow("stopped, No keeps the table")
            << true << false << 3 << "The read stopped at channel ";
    }
    void cutReadOffersWhatWasRead() {
        QFETCH(bool, stop);
        QFETCH(bool, keep);
        QFETCH(int, outcome);
        QFETCH(QString, why);
        d_image.channel(0, 3)[vex::kFieldFrequency] = "0444.4000";
        d_image.channel(0, 20)[vex::kFieldFrequency] = "0555.5000";
        const vex::Image before = d_image;
        openReady(Mode::Read, [&](auto& scanner) {
            if (!stop) scanner.inject("disconnect@ch9");
        });
        d_prompter.answers = {keep ? Answer::Yes : Answer::No};
        QSignalSpy finished(d_window.get(), &VexComm::transferFinished);
        click("start");
        if (stop) {
            QVERIFY(until([&] { return text("channel").toInt() >= 5; }));
            QVERIFY(get<QProgressBar>("progress")->value() > 0);
            click("stop");
        }
        QVERIFY(until([&] { return finished.count() == 1; }));
        QCOMPARE(finished.at(0).at(0).toInt(), outcome);
        QCOMPARE(d_prompter.asked.size(), 1);
        const QString asked = d_prompter.asked[0].section('|', 1);
        QVERIFY2(asked.startsWith(why), qPrintable(asked));
        QCOMPARE(d_window->imageReplaced(), keep);
        QCOMPARE(d_window->partialReadKept(), keep);
        if (!keep) {
            QVERIFY(d_image == before);
            QVERIFY(text("status").endsWith("Nothing was kept."));
            QVERIFY(get("start")->isEnabled());
            return;
        }
        // Kept like a completed read; channels the read did not reach stay as they were.
        QVERIFY(until([&] { return !d_window->isVisible(); }));
        QCOMPARE(at(8), Expected(8));
        QCOMPARE(at(9), before.channel(0, 9)[vex::kFieldFrequency]);
        QCOMPARE(at(20), std::string("0555.5000"));
    }

    // The single steps read their part and keep the window open; the trace shows the
    // conversation once asked for; "Save Trace..." writes it to the file the user picks, a file
    // that cannot be written is told, a cancelled choice writes nothing.
    void traceIsShownAndSaved_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::addRow("chosen") << "trace.txt" << true;
        QTest::addRow("folder missing") << "missing/trace.txt" << false;
        QTest::addRow("cancelled") << "" << false;
    }
    void traceIsShownAndSaved() {
        QFETCH(QString, name);
        QFETCH(bool, written);
        openReady(Mode::Read, {}, ScannerMemory() + "NAME B Fire, EMS\nTYPE C EDCS SCT\n");
        QVERIFY(!get<QCheckBox>("namesRead")->isChecked());
        QCOMPARE(press("readBankNames"), 0);
        QVERIFY(get<QComboBox>("bankList")->itemText(1).contains("Fire; EMS"));
        QVERIFY(!d_window->imageReplaced());
        QVERIFY(get<QCheckBox>("namesRead")->isChecked());
        auto* trace = get<QPlainTextEdit>("trace");
        QVERIFY(!trace->isVisible());
        get<QCheckBox>("traceToggle")->click();
        QVERIFY(trace->isVisible());
        QVERIFY2(trace->toPlainText().contains("SI"), qPrintable(trace->toPlainText()));
        QCOMPARE(press("readTrunkTypes"), 0);
        QVERIFY(trace->toPlainText().contains("TB E"));
        QVERIFY(d_window->isVisible());
        QVERIFY(d_window->imageReplaced());
        QCOMPARE(d_image.TrunkType[2], std::string("9"));

        const QString path =
            name.isEmpty() ? QString() : QString::fromStdString(*d_folder / name.toStdString());
        d_prompter.saveNames = {path};
        click("saveTrace");
        QVERIFY(d_prompter.lastFilter.contains("*.txt"));
        QCOMPARE(!path.isEmpty() && QFile::exists(path), written);
        if (written) {
            const std::string saved = simtest::ReadFile(path.toStdString());
            QVERIFY2(saved.rfind("Vexatron ", 0) == 0, saved.c_str());
            QVERIFY2(saved.find(" >> SI<CR><LF>\r\n") != std::string::npos, saved.c_str());
            QVERIFY(text("status").contains(path));
        }
        const bool failed = !path.isEmpty() && !written;
        QCOMPARE(d_prompter.told.size(), failed ? 1 : 0);
        if (failed) {
            QCOMPARE(d_prompter.icons[0], vex::gui::NoticeIcon::Critical);
            QVERIFY2(d_prompter.told[0].contains(path), qPrintable(d_prompter.told[0]));
        }
    }

    // The transport's own words reach the user, and the window stays usable: another try names
    // the port again and nothing changes.
    void aRefusedPortIsToldAndTheWindowStays() {
        const vex::Image before = d_image;
        openReady(Mode::Read, [](auto& scanner) {
            scanner.openStatus = {vex::TransportFault::Permission,
                                  vex::PermissionMessage("/dev/ttyUSB0"),
                                  "/dev/ttyUSB0: Permission denied"};
        });
        QCOMPARE(d_prompter.told.size(), 1);
        QCOMPARE(d_prompter.icons[0], vex::gui::NoticeIcon::Critical);
        QVERIFY(d_prompter.told[0].endsWith("\n\n/dev/ttyUSB0: Permission denied"));
        QVERIFY(text("status").contains("dialout"));
        QCOMPARE(press("start"), 1);
        QCOMPARE(d_prompter.told.size(), 2);
        QVERIFY(d_prompter.told[1].contains("dialout"));
        QVERIFY(d_image == before);
        QCOMPARE(enabled(), QStringLiteral("start readBankNames"));
        click("close");
        QVERIFY(!d_window->isVisible());
    }

    // A scanner that will not tell its types, or STOP while they are read on opening, leaves
    // the window usable with the status saying so. While they are read the choices can be
    // made; the transfer buttons wait for the types.
    void trunkTypesNotReadLeaveTheWindowUsable_data() {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("ending");
        QTest::addRow("refused") << false << "Reading trunktype failed.";
        QTest::addRow("stopped") << true << "Transfer stopped.";
    }
    void trunkTypesNotReadLeaveTheWindowUsable() {
        QFETCH(bool, stop);
        QFETCH(QString, ending);
        const vex::Image before = d_image;
        open(Mode::Read, [&](auto& scanner) {
            if (!stop) scanner.inject("err@TB:always");
            scanner.latencyMs = 400;
        });
        QVERIFY(until([&] { return text("status") == "Reading trunk type"; }));
        QCOMPARE(enabled(), QStringLiteral("stop"));
        get<QRadioButton>("singleBank")->click();
        QVERIFY(get<QRadioButton>("singleBank")->isChecked());
        if (stop) {
            click("stop");
            QVERIFY(until([&] { return d_window->ready(); }, 100));
        }
        QVERIFY(until([&] { return d_window->ready(); }));
        QCOMPARE(text("status"), ending);
        QVERIFY(d_image == before);
        QCOMPARE(enabled(), QStringLiteral("start readBankNames"));
    }

    void delayControlOnlyAtTheFastSpeeds() {
        open(Mode::Send, {}, ScannerMemory(), 9600);
        QVERIFY(!get<QSlider>("delaySlider")->isVisible());
        open(Mode::Send, {}, ScannerMemory(), 19200);
        QVERIFY(get<QSlider>("delaySlider")->isVisible());
        auto* field = get<QLineEdit>("delayField");
        QCOMPARE(field->text(), QStringLiteral("25"));
        field->selectAll();
        QTest::keyClicks(field, "150");
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(get<QSlider>("delaySlider")->value(), 150);
    }
};

QTEST_MAIN(VexcommTest)
#include "vexcomm.moc"
