// The communication window's wiring, on the fake clock against the simulator's scanner: the
// choices typed and clicked become the transfer, progress is shown, the result reaches the image
// and the prompts. What the link asks and says, and when, is the link's tests' business; the
// real port is the end-to-end tests'.
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
using vex::gui::vexcomm;
using vex::gui::test::RunUntil;

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

vex::Image EmptyImage() {
    vex::Image image;
    vex::ClearForFileNew(image);
    return image;
}

}  // namespace

class VexcommTest : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    vex::gui::test::ScriptedPrompter d_prompter;
    vex::FakeScheduler* d_clock = nullptr;
    vex::test::SimulatedScanner* d_scanner = nullptr;

    // A window over a fresh simulated scanner holding `memory`; `line` sets it up first.
    std::unique_ptr<vexcomm> makeWindow(
        vexcomm::Mode mode, vex::Image& image, long baud = 115200,
        const std::function<void(vex::test::SimulatedScanner&)>& line = {},
        const std::string& memory = ScannerMemory()) {
        vex::gui::test::SimLine sim;
        std::string error;
        if (!sim.scanner.model.Load(memory, error)) qFatal("%s", error.c_str());
        if (line) line(sim.scanner);
        d_clock = &sim.clock;
        d_scanner = &sim.scanner;
        vex::Options options;
        options.delay1 = options.delay2 = options.delay3 = 25;
        auto window = std::make_unique<vexcomm>(mode, image, options, baud,
                                                std::move(sim.ownedScanner), d_folder->path(),
                                                d_prompter, nullptr, std::move(sim.ownedClock));
        window->show();
        return window;
    }
    bool until(const std::function<bool()>& done) { return RunUntil(*d_clock, done); }
    std::unique_ptr<vexcomm> readyWindow(vexcomm::Mode mode, vex::Image& image) {
        auto window = makeWindow(mode, image);
        if (!until([&] { return window->ready(); })) qFatal("the window never got ready");
        return window;
    }
    // Clicks and runs the transfer to its end; its outcome (a vex::TransferOutcome).
    int press(vexcomm* window, const char* button) {
        QSignalSpy finished(window, &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
        if (!until([&] { return finished.count() == 1; })) return -1;
        return finished.at(0).at(0).toInt();
    }
    int sentCount(const std::string& prefix) const {
        int count = 0;
        for (const std::string& text : d_scanner->texts()) count += text.rfind(prefix, 0) == 0;
        return count;
    }

    template <typename T>
    static T* child(QWidget* window, const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no child %s", name);
        return widget;
    }
    static QString status(QWidget* window) { return child<QLineEdit>(window, "status")->text(); }
    static void chooseRange(QWidget* window, const QString& start, const QString& end) {
        for (auto [name, text] : {std::pair{"rangeStart", start}, std::pair{"rangeEnd", end}}) {
            auto* field = child<QLineEdit>(window, name);
            field->selectAll();
            QTest::keyClicks(field, text);
        }
    }

  private slots:
    void init() {
        d_prompter = {};
        d_folder = std::make_unique<simtest::TempFolder>();
    }

    void readsAChannelRangeIntoTheImageAndCloses() {
        vex::Image image = EmptyImage();
        image.channel(0, 30)[vex::kFieldFrequency] = "0444.4000";  // outside the range: kept
        auto window = readyWindow(vexcomm::Mode::Read, image);
        QCOMPARE(window->windowTitle(), QStringLiteral("Read Data"));

        // Typing into the range chooses "Channel Range:".
        chooseRange(window.get(), "5", "24");
        QVERIFY(child<QRadioButton>(window.get(), "channelRange")->isChecked());
        int furthest = 0;
        connect(child<QProgressBar>(window.get(), "progress"), &QProgressBar::valueChanged, this,
                [&](int value) { furthest = std::max(furthest, value); });
        QString channelsShown;
        connect(child<QLineEdit>(window.get(), "channel"), &QLineEdit::textChanged, this,
                [&](const QString& text) { channelsShown += text + " "; });
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QVERIFY(window->busy());
        QVERIFY(child<QPushButton>(window.get(), "stop")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "start")->isEnabled());

        QVERIFY(until([&] { return !window->isVisible(); }));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QVERIFY(window->imageReplaced());
        QVERIFY2(d_prompter.told.empty(), qPrintable(d_prompter.told.join('\n')));
        for (int n = 5; n <= 24; ++n) {
            QCOMPARE(image.channel(0, n)[vex::kFieldFrequency], Expected(n));
            QCOMPARE(image.channel(0, n)[vex::kFieldLockout], std::string(n % 3 == 0 ? "1" : "0"));
        }
        QCOMPARE(image.channel(0, 30)[vex::kFieldFrequency], std::string("0444.4000"));
        QVERIFY(furthest >= 15);
        QVERIFY2(channelsShown.contains("012"), qPrintable(channelsShown));
    }

    void sendsOneBankAfterConfirmation() {
        vex::Image image = EmptyImage();
        vex::SetStartupBankTags(image);
        for (int s = 1; s <= 50; ++s) {
            auto& channel = image.channel(1, s);
            channel[vex::kFieldFrequency] = "0851.0125";
            channel[vex::kFieldTrunk] = channel[vex::kFieldLockout] = "0";
            channel[vex::kFieldDelay] = "1";
        }
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Send, image);
        QCOMPARE(window->windowTitle(), QStringLiteral("Send Data"));
        auto* banks = child<QComboBox>(window.get(), "bankList");
        QCOMPARE(banks->count(), 5);
        QVERIFY(banks->itemText(0).endsWith("  -  EMPTY"));
        QVERIFY(!banks->itemText(1).endsWith("  -  EMPTY"));
        QVERIFY(until([&] { return window->ready(); }));

        child<QRadioButton>(window.get(), "singleBank")->click();
        banks->setCurrentIndex(1);
        QCOMPARE(child<QLabel>(window.get(), "plan")->text(),
                 QStringLiteral("Send Data writes the frequencies of bank 2 into the scanner."));
        d_prompter.answers = {Answer::Yes};
        QCOMPARE(press(window.get(), "start"), 0);  // Completed
        QCOMPARE(d_prompter.asked,
                 QStringList{
                     "Send Data|Please confirm data upload.\nChannels: 51 / 100\nAre you sure?"});
        QVERIFY(image == before);
        QVERIFY(!window->imageReplaced());
        QVERIFY(window->isVisible());
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        auto* bar = child<QProgressBar>(window.get(), "progress");
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(bar->text(), QStringLiteral("Done: 100%"));
        const bct8sim::Channel sent{"08510125", false, true, false};
        QVERIFY(d_scanner->model.channel(51) == sent);
        QVERIFY(d_scanner->model.channel(100) == sent);
        QCOMPARE(d_scanner->model.channel(101).frequency, std::string("01512625"));
    }

    // What to transfer is remembered per window; tags a read would drop are counted first.
    void choicesAreRememberedAndTagLossIsAskedOnce() {
        vex::Image image = EmptyImage();
        image.channel(0, 2)[vex::kFieldTag] = "Harbour";
        image.channel(0, 3)[vex::kFieldTag] = "Airfield";
        {
            auto window = readyWindow(vexcomm::Mode::Read, image);
            child<QCheckBox>(window.get(), "trunkSettings")->click();
            chooseRange(window.get(), "1", "5");
            QCOMPARE(child<QLabel>(window.get(), "plan")->text(),
                     QStringLiteral("Read Data reads the frequencies and the trunk settings of "
                                    "channels 1 to 5 (trunk data of their banks) from the "
                                    "scanner, replacing them in the open table."));
            d_prompter.answers = {Answer::Yes};  // merge instead
            QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
            QVERIFY(until([&] { return !window->isVisible(); }));
            QCOMPARE(d_prompter.asked.size(), 1);
            QVERIFY2(d_prompter.asked[0].contains("replaces 2 channel tags and 0 ID tags"),
                     qPrintable(d_prompter.asked[0]));
        }
        QCOMPARE(image.channel(0, 2)[vex::kFieldTag], std::string("Harbour"));
        QCOMPARE(image.channel(0, 2)[vex::kFieldFrequency], Expected(2));
        auto read = makeWindow(vexcomm::Mode::Read, image);
        QVERIFY(child<QCheckBox>(read.get(), "trunkSettings")->isChecked());
        QVERIFY(child<QCheckBox>(read.get(), "merge")->isChecked());
        auto send = makeWindow(vexcomm::Mode::Send, image);
        QVERIFY(child<QCheckBox>(send.get(), "frequencies")->isChecked());
        QVERIFY(!child<QCheckBox>(send.get(), "trunkSettings")->isChecked());
    }

    // A read cut off half way, by a pulled cable or STOP: the user is told why and decides
    // whether to keep what came in.
    void cutReadOffersWhatWasRead_data() {
        QTest::addColumn<bool>("stop");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("why");
        QTest::addRow("pulled, No keeps the table") << false << false << 2
                                                    << "The connection to the scanner was lost "
                                                       "at channel 009";
        QTest::addRow("pulled, Yes takes what was read") << false << true << 2
                                                         << "The connection to the scanner was "
                                                            "lost at channel 009";
        QTest::addRow("stopped, No keeps the table")
            << true << false << 3 << "The read stopped at channel ";
    }
    void cutReadOffersWhatWasRead() {
        QFETCH(bool, stop);
        QFETCH(bool, keep);
        QFETCH(int, outcome);
        QFETCH(QString, why);
        vex::Image image = EmptyImage();
        image.channel(0, 3)[vex::kFieldFrequency] = "0444.4000";
        image.channel(0, 20)[vex::kFieldFrequency] = "0555.5000";
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image, 115200, [&](auto& scanner) {
            if (!stop) scanner.inject("disconnect@ch9");
        });
        QVERIFY(until([&] { return window->ready(); }));
        d_prompter.answers = {keep ? Answer::Yes : Answer::No};
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        if (stop) {
            QVERIFY(until(
                [&] { return child<QLineEdit>(window.get(), "channel")->text().toInt() >= 5; }));
            QTest::mouseClick(child<QPushButton>(window.get(), "stop"), Qt::LeftButton);
        }
        QVERIFY(until([&] { return finished.count() == 1; }));
        QCOMPARE(finished.at(0).at(0).toInt(), outcome);
        QCOMPARE(d_prompter.asked.size(), 1);
        // Why it ended, then the offer.
        QVERIFY2(d_prompter.asked[0].section('|', 1).startsWith(why),
                 qPrintable(d_prompter.asked[0]));
        if (!stop)
            QVERIFY2(d_prompter.asked[0].endsWith(
                         "\n\nThe read stopped at channel 009. Keep the 8 channels read so far "
                         "(001 to 008)? The other channels stay as they are."),
                     qPrintable(d_prompter.asked[0]));
        QVERIFY(d_prompter.told.empty());
        QCOMPARE(window->imageReplaced(), keep);
        QCOMPARE(window->partialReadKept(), keep);
        if (!keep) {
            QVERIFY(image == before);
            QVERIFY(window->isVisible());
            QVERIFY(status(window.get()).endsWith("Nothing was kept."));
            QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
            return;
        }
        // Kept like a completed read: the window is done, the table holds channels 1..8 as
        // read and every channel the read did not reach as it was.
        QVERIFY(until([&] { return !window->isVisible(); }));
        QCOMPARE(window->result(), int(QDialog::Accepted));
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(image.channel(0, n)[vex::kFieldFrequency], Expected(n));
        QCOMPARE(image.channel(0, 9)[vex::kFieldFrequency],
                 before.channel(0, 9)[vex::kFieldFrequency]);
        QCOMPARE(image.channel(0, 20)[vex::kFieldFrequency], std::string("0555.5000"));
    }

    void escapeDuringATransferStopsAndCloses() {
        vex::Image image = EmptyImage();
        const vex::Image before = image;
        auto window = readyWindow(vexcomm::Mode::Read, image);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QVERIFY(
            until([&] { return child<QLineEdit>(window.get(), "channel")->text().toInt() >= 3; }));
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->busy());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(image == before);
        QVERIFY(!d_scanner->isOpen());  // the port is free for the next window
    }

    void singleStepsReadOnePartAndKeepTheWindowOpen() {
        vex::Image image = EmptyImage();
        auto window = makeWindow(vexcomm::Mode::Read, image, 115200, {},
                                 ScannerMemory() + "NAME B Fire, EMS\nTYPE C EDCS SCT\n");
        QVERIFY(until([&] { return window->ready(); }));
        QVERIFY(!window->namesRead());
        QVERIFY(!child<QCheckBox>(window.get(), "namesRead")->isChecked());

        QCOMPARE(press(window.get(), "readBankNames"), 0);
        auto* banks = child<QComboBox>(window.get(), "bankList");
        QVERIFY2(banks->itemText(1).contains("Fire; EMS"), qPrintable(banks->itemText(1)));
        QVERIFY(!window->imageReplaced());
        QVERIFY(window->namesRead());
        QVERIFY(child<QCheckBox>(window.get(), "namesRead")->isChecked());

        QCOMPARE(press(window.get(), "readTrunkTypes"), 0);
        QVERIFY(window->isVisible());
        QVERIFY(window->imageReplaced());
        QCOMPARE(image.TrunkType[2], std::string("9"));
        QCOMPARE(image.TrunkType[0], std::string("0"));
    }

    // The trace shows the conversation once asked for; "Save Trace..." writes it to the file the
    // user picks, a file that cannot be written is told, a cancelled choice writes nothing.
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
        vex::Image image = EmptyImage();
        auto window = readyWindow(vexcomm::Mode::Read, image);
        auto* trace = child<QPlainTextEdit>(window.get(), "trace");
        QVERIFY(!trace->isVisible());
        child<QCheckBox>(window.get(), "traceToggle")->click();
        QVERIFY(trace->isVisible());
        QVERIFY2(trace->toPlainText().contains("SI"), qPrintable(trace->toPlainText()));
        QCOMPARE(press(window.get(), "readTrunkTypes"), 0);
        QVERIFY(trace->toPlainText().contains("TB E"));

        const QString path =
            name.isEmpty() ? QString() : QString::fromStdString((*d_folder / name.toStdString()));
        d_prompter.saveNames = {path};
        QTest::mouseClick(child<QPushButton>(window.get(), "saveTrace"), Qt::LeftButton);
        QVERIFY(d_prompter.lastFilter.contains("*.txt"));
        QCOMPARE(!path.isEmpty() && QFile::exists(path), written);
        if (written) {
            QVERIFY(d_prompter.told.empty());
            const std::string text = simtest::ReadFile(path.toStdString());
            QVERIFY2(text.rfind("Vexatron ", 0) == 0, text.c_str());
            QVERIFY2(text.find(" >> SI<CR><LF>\r\n") != std::string::npos, text.c_str());
            QVERIFY(status(window.get()).contains(path));
        } else if (!path.isEmpty()) {
            QCOMPARE(d_prompter.told.size(), 1);
            QCOMPARE(d_prompter.icons[0], vex::gui::NoticeIcon::Critical);
            QVERIFY2(d_prompter.told[0].contains(path), qPrintable(d_prompter.told[0]));
        } else {
            QVERIFY(d_prompter.told.empty());
        }
    }

    void missingChoicesAreNamed() {
        vex::Image image = EmptyImage();
        auto window = readyWindow(vexcomm::Mode::Read, image);
        child<QCheckBox>(window.get(), "frequencies")->setChecked(false);
        child<QRadioButton>(window.get(), "allBanks")->click();
        QCOMPARE(press(window.get(), "start"), 1);  // Refused
        QCOMPARE(d_prompter.told,
                 QStringList{"Read Data|Please select which data you want to download."});
        QVERIFY(window->isVisible());
    }

    void outOfRangeFieldsAreRewritten_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("shownStart");
        QTest::addColumn<QString>("shownEnd");
        QTest::addColumn<int>("channelRead");
        QTest::addRow("above the last") << "300"
                                        << "249"
                                        << "250"
                                        << "249" << 250;
        QTest::addRow("below the first") << "0"
                                         << "2"
                                         << "1"
                                         << "2" << 1;
    }
    void outOfRangeFieldsAreRewritten() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, shownStart);
        QFETCH(QString, shownEnd);
        QFETCH(int, channelRead);
        vex::Image image = EmptyImage();
        auto window = readyWindow(vexcomm::Mode::Read, image);
        chooseRange(window.get(), start, end);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(window.get(), "rangeStart")->text(), shownStart);
        QCOMPARE(child<QLineEdit>(window.get(), "rangeEnd")->text(), shownEnd);
        QVERIFY(until([&] { return !window->isVisible(); }));
        const int b = (channelRead - 1) / 50;
        QCOMPARE(image.channel(b, channelRead - 50 * b)[vex::kFieldFrequency],
                 Expected(channelRead));
    }

    // The transport's own words reach the user, and the window stays usable: another try names
    // the port again and nothing changes.
    void aRefusedPortIsToldAndTheWindowStays() {
        vex::Image image = EmptyImage();
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image, 19200, [](auto& scanner) {
            scanner.openStatus = {vex::TransportFault::Permission,
                                  vex::PermissionMessage("/dev/ttyUSB0"),
                                  "/dev/ttyUSB0: Permission denied"};
        });
        QVERIFY(until([&] { return window->ready(); }));
        QCOMPARE(d_prompter.told.size(), 1);
        QCOMPARE(d_prompter.icons[0], vex::gui::NoticeIcon::Critical);
        QVERIFY2(d_prompter.told[0].contains("dialout"), qPrintable(d_prompter.told[0]));
        QVERIFY(d_prompter.told[0].endsWith("\n\n/dev/ttyUSB0: Permission denied"));
        QVERIFY(status(window.get()).contains("dialout"));
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "stop")->isEnabled());
        QCOMPARE(press(window.get(), "start"), 1);
        QCOMPARE(d_prompter.told.size(), 2);
        QVERIFY(d_prompter.told[1].contains("dialout"));
        QVERIFY(window->isVisible());
        QVERIFY(image == before);
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QTest::mouseClick(child<QPushButton>(window.get(), "close"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    // Opening reads the scanner's trunk types by itself; the read that follows takes them
    // without asking the scanner again, and the image changes only with that read.
    void openingReadsTheTrunkTypesTheReadTakes() {
        vex::Image image = EmptyImage();
        image.TrunkType[2] = "1";
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image, 115200, {},
                                 ScannerMemory() + "TYPE C EDCS SCT\n");
        QStringList statuses;
        connect(child<QLineEdit>(window.get(), "status"), &QLineEdit::textChanged, this,
                [&](const QString& text) { statuses << text; });
        QVERIFY(until([&] { return window->ready(); }));
        QCOMPARE(status(window.get()), QStringLiteral("Trunk type read Ok"));
        QVERIFY2(statuses.contains("Reading trunk type"), qPrintable(statuses.join('|')));
        QVERIFY(statuses.contains("Read trunktype/5"));
        QVERIFY(d_prompter.told.empty());
        QVERIFY(image == before);
        QVERIFY(!window->imageReplaced());

        chooseRange(window.get(), "1", "2");
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QVERIFY(until([&] { return !window->isVisible(); }));
        QVERIFY(window->imageReplaced());
        QCOMPARE(image.TrunkType[2], std::string("9"));
        QCOMPARE(image.TrunkType[0], std::string("0"));
        QCOMPARE(sentCount("TB "), 5);
        QCOMPARE(sentCount("TB A"), 1);
    }

    // A scanner that will not tell its types leaves the window usable with the status saying so.
    void unansweredTrunkTypesLeaveTheWindowUsable() {
        vex::Image image = EmptyImage();
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image, 115200,
                                 [](auto& scanner) { scanner.inject("err@TB:always"); });
        QVERIFY(until([&] { return window->ready(); }));
        QCOMPARE(status(window.get()), QStringLiteral("Reading trunktype failed."));
        QVERIFY(d_prompter.told.empty());
        QVERIFY(image == before);
        QVERIFY(window->isVisible());
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(child<QPushButton>(window.get(), "readBankNames")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "stop")->isEnabled());
    }

    // While the types are read on opening the choices can be made and STOP ends the read;
    // the transfer buttons wait for the types.
    void stopEndsTheTrunkTypeReadOnOpening() {
        vex::Image image = EmptyImage();
        auto window = makeWindow(vexcomm::Mode::Read, image, 115200,
                                 [](auto& scanner) { scanner.latencyMs = 400; });
        QVERIFY(until([&] { return status(window.get()) == "Reading trunk type"; }));
        QVERIFY(!window->ready());
        QVERIFY(child<QPushButton>(window.get(), "stop")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(child<QCheckBox>(window.get(), "trunkIds")->isEnabled());
        child<QRadioButton>(window.get(), "singleBank")->click();
        QVERIFY(child<QRadioButton>(window.get(), "singleBank")->isChecked());
        QTest::mouseClick(child<QPushButton>(window.get(), "stop"), Qt::LeftButton);
        QVERIFY(RunUntil(
            *d_clock, [&] { return window->ready(); }, 100));
        QCOMPARE(status(window.get()), QStringLiteral("Transfer stopped."));
        QVERIFY(d_prompter.told.empty());
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "stop")->isEnabled());
    }

    void delayControlOnlyAtTheFastSpeeds() {
        vex::Image image = EmptyImage();
        QVERIFY(!child<QSlider>(makeWindow(vexcomm::Mode::Send, image, 9600).get(), "delaySlider")
                     ->isVisible());
        auto fast = makeWindow(vexcomm::Mode::Send, image, 19200);
        QVERIFY(child<QSlider>(fast.get(), "delaySlider")->isVisible());
        auto* field = child<QLineEdit>(fast.get(), "delayField");
        QCOMPARE(field->text(), QStringLiteral("25"));
        field->selectAll();
        QTest::keyClicks(field, "150");
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(child<QSlider>(fast.get(), "delaySlider")->value(), 150);
    }
};

QTEST_MAIN(VexcommTest)
#include "vexcomm.moc"
