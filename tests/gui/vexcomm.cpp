// The communication window driven like a user would, against bct8sim over the real serial
// port: choices typed and clicked become the transfer, progress is shown, the result reaches the
// image and the prompts. What the link asks and says, and when, is proven on the fake clock.
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
#include <fstream>
#include <memory>

#include "core/image.h"
#include "e2e/sim_process.h"
#include "gui/prompter.h"
#include "gui/vexcomm.h"
#include "link/transport.h"
#include "platform/serial_transport.h"

using vex::gui::vexcomm;

namespace {

// A scanner memory with channels 1..250 at 150.0000 + n * 0.0125 MHz, lockout on every third.
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
    char text[16];
    const int units = 1500000 + n * 125;
    std::snprintf(text, sizeof text, "%04d.%04d", units / 10000, units % 10000);
    return text;
}

vex::Options TestOptions() {
    vex::Options options;
    options.delay1 = 25;
    options.delay2 = 25;
    options.delay3 = 25;
    return options;
}

struct Told {
    QString title;
    QString text;
    bool error = false;
};

// Records every notice and question; answers every question the same way.
class RecordingPrompter : public vex::gui::Prompter {
  public:
    std::vector<Told> told;
    std::vector<QString> asked;
    bool answer = true;

    vex::gui::Answer ask(QWidget*, const vex::Question& q) override {
        asked.push_back(QString::fromLatin1(q.text.c_str()));
        return answer ? vex::gui::Answer::Yes : vex::gui::Answer::No;
    }
    void tell(QWidget*, const QString& title, const QString& text,
              vex::gui::NoticeIcon icon) override {
        told.push_back({title, text, icon == vex::gui::NoticeIcon::Critical});
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    // The file name "Save Trace..." is given; every filter offered is noted.
    QString savePath;
    QStringList saveFilters;
    QString saveFileName(QWidget*, const QString&, const QString& filter) override {
        saveFilters << filter;
        return savePath;
    }
};

}  // namespace

class VexcommTest : public QObject {
    Q_OBJECT

    std::unique_ptr<simtest::TempFolder> d_folder;
    std::unique_ptr<simtest::SimProcess> d_sim;
    RecordingPrompter d_prompter;

    void startSim(std::vector<std::string> extra = {}, long baud = 115200,
                  const std::string& memoryTail = {}) {
        d_folder = std::make_unique<simtest::TempFolder>();
        d_sim = std::make_unique<simtest::SimProcess>();
        const auto memory = *d_folder / "scanner.mem";
        std::ofstream(memory) << ScannerMemory() << memoryTail;
        std::vector<std::string> args{"--baud",   std::to_string(baud), "--latency-ms",    "0",
                                      "--memory", memory.string(),      "--save-delay-ms", "0"};
        args.insert(args.end(), extra.begin(), extra.end());
        QVERIFY(d_sim->Start(args));
    }

    std::unique_ptr<vexcomm> makeWindow(vexcomm::Mode mode, vex::Image& image, long baud = 115200,
                                        vex::Options options = TestOptions(),
                                        std::string device = {}) {
        vex::ComSettings com;
        com.device = device.empty() ? d_sim->device() : device;
        com.baud = baud;
        auto window =
            std::make_unique<vexcomm>(mode, image, options, com, d_folder->path(), d_prompter);
        window->show();
        return window;
    }

    // The serial trace of the window's whole life, one line per command or reply.
    static QStringList traceOf(QWidget* window) {
        auto* toggle = child<QCheckBox>(window, "traceToggle");
        if (!toggle->isChecked()) toggle->click();
        return child<QPlainTextEdit>(window, "trace")->toPlainText().split('\n');
    }
    static int sentCount(const QStringList& trace, const QString& prefix) {
        int count = 0;
        for (const QString& line : trace)
            if (line.contains(QStringLiteral(">> ") + prefix)) ++count;
        return count;
    }

    template <typename T>
    static T* child(QWidget* window, const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no child %s", name);
        return widget;
    }

    static void chooseRange(QWidget* window, const QString& start, const QString& end) {
        auto* from = child<QLineEdit>(window, "rangeStart");
        auto* to = child<QLineEdit>(window, "rangeEnd");
        from->selectAll();
        QTest::keyClicks(from, start);
        to->selectAll();
        QTest::keyClicks(to, end);
    }

  private slots:
    void init() {
        d_prompter.told.clear();
        d_prompter.asked.clear();
        d_prompter.answer = true;
    }
    void cleanup() {
        d_sim.reset();
        d_folder.reset();
    }

    void readsAChannelRangeIntoTheImageAndCloses() {
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        image.channel(0, 30)[vex::kFieldFrequency] = "0444.4000";  // outside the range: kept
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QCOMPARE(window->windowTitle(), QStringLiteral("Read Data"));
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        QVERIFY(d_prompter.told.empty());

        // Typing into the range chooses "Channel Range:".
        chooseRange(window.get(), "5", "24");
        QVERIFY(child<QRadioButton>(window.get(), "channelRange")->isChecked());
        auto* progress = child<QProgressBar>(window.get(), "progress");
        int furthest = 0;
        connect(progress, &QProgressBar::valueChanged, this,
                [&](int value) { furthest = std::max(furthest, value); });
        QString channelsShown;
        connect(child<QLineEdit>(window.get(), "channel"), &QLineEdit::textChanged, this,
                [&](const QString& text) { channelsShown += text + " "; });
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QVERIFY(window->busy());
        QVERIFY(child<QPushButton>(window.get(), "stop")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "start")->isEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QVERIFY(window->imageReplaced());
        QVERIFY2(d_prompter.told.empty(),
                 d_prompter.told.empty() ? "" : qPrintable(d_prompter.told.front().text));
        for (int n = 5; n <= 24; ++n) {
            QCOMPARE(image.channel(0, n)[vex::kFieldFrequency], Expected(n));
            QCOMPARE(image.channel(0, n)[vex::kFieldLockout], std::string(n % 3 == 0 ? "1" : "0"));
        }
        QCOMPARE(image.channel(0, 30)[vex::kFieldFrequency], std::string("0444.4000"));
        QVERIFY(furthest >= 15);
        QVERIFY2(channelsShown.contains("012"), qPrintable(channelsShown));
    }

    void sendsOneBankAfterConfirmation() {
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        vex::SetStartupBankTags(image);
        for (int s = 1; s <= 50; ++s) {
            image.channel(1, s)[vex::kFieldFrequency] = "0851.0125";
            image.channel(1, s)[vex::kFieldTrunk] = "0";
            image.channel(1, s)[vex::kFieldDelay] = "1";
            image.channel(1, s)[vex::kFieldLockout] = "0";
        }
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Send, image);
        QCOMPARE(window->windowTitle(), QStringLiteral("Send Data"));
        // The delay control belongs to the fast speeds.
        QVERIFY(child<QSlider>(window.get(), "delaySlider")->isVisible());
        auto* banks = child<QComboBox>(window.get(), "bankList");
        QCOMPARE(banks->count(), 5);
        QVERIFY(banks->itemText(0).endsWith("  -  EMPTY"));
        QVERIFY(!banks->itemText(1).endsWith("  -  EMPTY"));
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);

        child<QRadioButton>(window.get(), "singleBank")->click();
        banks->setCurrentIndex(1);
        QCOMPARE(child<QLabel>(window.get(), "plan")->text(),
                 QStringLiteral("Send Data writes the frequencies of bank 2 into the scanner."));
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
        QCOMPARE(finished.at(0).at(0).toInt(), 0);  // Completed
        QCOMPARE(d_prompter.asked.size(), std::size_t(1));
        QCOMPARE(d_prompter.asked[0],
                 QStringLiteral("Please confirm data upload.\nChannels: 51 / 100\nAre you sure?"));
        QVERIFY(image == before);
        QVERIFY(!window->imageReplaced());
        QVERIFY(window->isVisible());
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        auto* bar = child<QProgressBar>(window.get(), "progress");
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(bar->text(), QStringLiteral("Done: 100%"));
        QCOMPARE(d_sim->Control("save"), std::string("ok"));
        const std::string memory = simtest::ReadFile(*d_folder / "scanner.mem");
        QVERIFY(memory.find("CH 051 08510125 TF DN LF") != std::string::npos);
        QVERIFY(memory.find("CH 100 08510125 TF DN LF") != std::string::npos);
        QVERIFY(memory.find("CH 101 01512625 TF DF LF") != std::string::npos);
    }

    // What to transfer is remembered per window; tags a read would drop are counted first.
    void choicesAreRememberedAndTagLossIsAskedOnce() {
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        image.channel(0, 2)[vex::kFieldTag] = "Harbour";
        image.channel(0, 3)[vex::kFieldTag] = "Airfield";
        {
            auto window = makeWindow(vexcomm::Mode::Read, image);
            QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
            child<QCheckBox>(window.get(), "trunkSettings")->click();
            chooseRange(window.get(), "1", "5");
            QCOMPARE(child<QLabel>(window.get(), "plan")->text(),
                     QStringLiteral("Read Data reads the frequencies and the trunk settings of "
                                    "channels 1 to 5 (trunk data of their banks) from the "
                                    "scanner, replacing them in the open table."));
            d_prompter.answer = true;  // merge instead
            QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
            QCOMPARE(d_prompter.asked.size(), std::size_t(1));
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

    // A read cut off half way: the user is told why and decides whether to keep what came in.
    void failedReadOffersWhatWasRead_data() {
        QTest::addColumn<bool>("keep");
        QTest::addRow("No keeps the table") << false;
        QTest::addRow("Yes takes the channels read") << true;
    }
    void failedReadOffersWhatWasRead() {
        QFETCH(bool, keep);
        startSim({"--fault", "disconnect@ch9"});
        vex::Image image;
        vex::ClearForFileNew(image);
        image.channel(0, 3)[vex::kFieldFrequency] = "0444.4000";
        image.channel(0, 20)[vex::kFieldFrequency] = "0555.5000";
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        d_prompter.answer = keep;
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished.at(0).at(0).toInt(), 2);  // Failed
        QCOMPARE(d_prompter.asked.size(), std::size_t(1));
        // Why it ended, then the offer.
        QVERIFY2(
            d_prompter.asked[0].startsWith("The connection to the scanner was lost at channel 009"),
            qPrintable(d_prompter.asked[0]));
        QVERIFY2(d_prompter.asked[0].endsWith(
                     "\n\nThe read stopped at channel 009. Keep the 8 channels "
                     "read so far (001 to 008)? The other channels stay as they "
                     "are."),
                 qPrintable(d_prompter.asked[0]));
        QVERIFY(d_prompter.told.empty());
        QCOMPARE(window->imageReplaced(), keep);
        QCOMPARE(window->partialReadKept(), keep);
        if (!keep) {
            QVERIFY(image == before);
            QVERIFY(window->isVisible());
            QVERIFY(child<QLineEdit>(window.get(), "status")->text().endsWith("Nothing was kept."));
            QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
            return;
        }
        // Kept like a completed read: the window is done, the table holds channels 1..8 as
        // read and every channel the read did not reach as it was.
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 2000);
        QCOMPARE(window->result(), int(QDialog::Accepted));
        for (int n = 1; n <= 8; ++n)
            QCOMPARE(image.channel(0, n)[vex::kFieldFrequency], Expected(n));
        QCOMPARE(image.channel(0, 9)[vex::kFieldFrequency],
                 before.channel(0, 9)[vex::kFieldFrequency]);
        QCOMPARE(image.channel(0, 20)[vex::kFieldFrequency], std::string("0555.5000"));
    }

    // STOP half way: the same offer (keeping is the failed read's case above).
    void stopOffersWhatWasRead() {
        startSim({"--latency-ms", "30"});
        vex::Image image;
        vex::ClearForFileNew(image);
        image.channel(2, 1)[vex::kFieldFrequency] = "0444.4000";
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        d_prompter.answer = false;
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        // Polled, so it may see a later channel than the fifth.
        QTRY_VERIFY_WITH_TIMEOUT(child<QLineEdit>(window.get(), "channel")->text().toInt() >= 5,
                                 10000);
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(child<QPushButton>(window.get(), "stop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 3000);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(finished.at(0).at(0).toInt(), 3);  // Stopped
        QCOMPARE(d_prompter.asked.size(), std::size_t(1));
        QVERIFY2(d_prompter.asked[0].startsWith("The read stopped at channel "),
                 qPrintable(d_prompter.asked[0]));
        QVERIFY(d_prompter.told.empty());
        QCOMPARE(child<QLineEdit>(window.get(), "status")->text(),
                 QStringLiteral("Transfer stopped. Nothing was kept."));
        QVERIFY(image == before);
        QVERIFY(!window->imageReplaced());
        QVERIFY(!window->partialReadKept());
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
    }

    void escapeDuringATransferStopsAndCloses() {
        startSim({"--latency-ms", "30"});
        vex::Image image;
        vex::ClearForFileNew(image);
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(child<QLineEdit>(window.get(), "channel")->text().toInt() >= 3,
                                 10000);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->busy());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        QVERIFY(image == before);
        // The port is free again for the next window.
        simtest::RawPort port;
        QVERIFY(port.Open(d_sim->device(), B115200));
        port.Read(300, 5);
        QCOMPARE(port.Ask("SI"), std::string("SI BCT8,V1.00,SIM\r"));
    }

    void singleStepsReadOnePartAndKeepTheWindowOpen() {
        startSim();
        d_sim->Control("quit");  // replaced by one with bank names and trunk types
        d_sim->Wait(2000);
        d_sim = std::make_unique<simtest::SimProcess>();
        const auto memory = *d_folder / "named.mem";
        std::ofstream(memory) << ScannerMemory() << "NAME B Fire, EMS\nTYPE C EDCS SCT\n";
        QVERIFY(
            d_sim->Start({"--baud", "115200", "--latency-ms", "0", "--memory", memory.string()}));
        vex::Image image;
        vex::ClearForFileNew(image);
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QVERIFY(!window->namesRead());
        QVERIFY(!child<QCheckBox>(window.get(), "namesRead")->isChecked());

        QTest::mouseClick(child<QPushButton>(window.get(), "readBankNames"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished.at(0).at(0).toInt(), 0);
        auto* banks = child<QComboBox>(window.get(), "bankList");
        QVERIFY2(banks->itemText(1).contains("Fire; EMS"), qPrintable(banks->itemText(1)));
        QVERIFY(!window->imageReplaced());
        QVERIFY(window->namesRead());
        QVERIFY(child<QCheckBox>(window.get(), "namesRead")->isChecked());

        QTest::mouseClick(child<QPushButton>(window.get(), "readTrunkTypes"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 10000);
        QVERIFY(window->isVisible());
        QVERIFY(window->imageReplaced());
        QCOMPARE(image.TrunkType[2], std::string("9"));
        QCOMPARE(image.TrunkType[0], std::string("0"));
    }

    void serialTraceShowsTheConversation() {
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        auto* trace = child<QPlainTextEdit>(window.get(), "trace");
        QVERIFY(!trace->isVisible());
        child<QCheckBox>(window.get(), "traceToggle")->click();
        QVERIFY(trace->isVisible());
        // The start-up sequence is already there.
        QVERIFY2(trace->toPlainText().contains("SI"), qPrintable(trace->toPlainText()));
        QTest::mouseClick(child<QPushButton>(window.get(), "readTrunkTypes"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(trace->toPlainText().contains("TB E"), 10000);
    }

    // "Save Trace..." writes what the trace view holds to the file the user picks; a file that
    // cannot be written is told, a cancelled choice writes nothing.
    void saveTraceWritesTheConversation_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::addRow("chosen") << "trace.txt" << true;
        QTest::addRow("folder missing") << "missing/trace.txt" << false;
        QTest::addRow("cancelled") << "" << false;
    }
    void saveTraceWritesTheConversation() {
        QFETCH(QString, name);
        QFETCH(bool, written);
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        const QString path =
            name.isEmpty()
                ? QString()
                : QString::fromStdString((d_folder->path() / name.toStdString()).string());
        d_prompter.savePath = path;
        d_prompter.saveFilters.clear();
        d_prompter.told.clear();
        const QStringList& filters = d_prompter.saveFilters;
        QTest::mouseClick(child<QPushButton>(window.get(), "saveTrace"), Qt::LeftButton);
        QCOMPARE(filters.size(), 1);
        QVERIFY(filters[0].contains("*.txt"));
        const bool exists = !path.isEmpty() && QFile::exists(path);
        QCOMPARE(exists, written);
        if (written) {
            QVERIFY(d_prompter.told.empty());
            const std::string text = simtest::ReadFile(path.toStdString());
            QVERIFY2(text.rfind("Vexatron ", 0) == 0, text.c_str());
            QVERIFY2(text.find(" >> SI<CR><LF>\r\n") != std::string::npos, text.c_str());
            QVERIFY(child<QLineEdit>(window.get(), "status")->text().contains(path));
        } else if (!path.isEmpty()) {
            QCOMPARE(d_prompter.told.size(), std::size_t(1));
            QVERIFY(d_prompter.told[0].error);
            QVERIFY2(d_prompter.told[0].text.contains(path), qPrintable(d_prompter.told[0].text));
        } else {
            QVERIFY(d_prompter.told.empty());
        }
    }

    void missingChoicesAreNamed_data() {
        QTest::addColumn<bool>("frequencies");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("message");
        QTest::addRow("no data") << false << "allBanks"
                                 << "Please select which data you want to download.";
    }
    void missingChoicesAreNamed() {
        QFETCH(bool, frequencies);
        QFETCH(QString, area);
        QFETCH(QString, message);
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        child<QCheckBox>(window.get(), "frequencies")->setChecked(frequencies);
        child<QRadioButton>(window.get(), area.toLatin1().constData())->click();
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        QCOMPARE(d_prompter.told.size(), std::size_t(1));
        QCOMPARE(d_prompter.told[0].text, message);
        QVERIFY(window->isVisible());
    }

    void outOfRangeFieldsAreRewritten_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("shownStart");
        QTest::addColumn<QString>("shownEnd");
        QTest::addColumn<int>("channelRead");
        QTest::addRow("above the last") << "300" << "249" << "250" << "249" << 250;
        QTest::addRow("below the first") << "0" << "2" << "1" << "2" << 1;
    }
    void outOfRangeFieldsAreRewritten() {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, shownStart);
        QFETCH(QString, shownEnd);
        QFETCH(int, channelRead);
        startSim();
        vex::Image image;
        vex::ClearForFileNew(image);
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        chooseRange(window.get(), start, end);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QCOMPARE(child<QLineEdit>(window.get(), "rangeStart")->text(), shownStart);
        QCOMPARE(child<QLineEdit>(window.get(), "rangeEnd")->text(), shownEnd);
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 10000);
        const int b = (channelRead - 1) / 50;
        QCOMPARE(image.channel(b, channelRead - 50 * b)[vex::kFieldFrequency],
                 Expected(channelRead));
    }

    void unavailablePortIsReportedAndTheWindowStays() {
        d_folder = std::make_unique<simtest::TempFolder>();
        vex::Image image;
        vex::ClearForFileNew(image);
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image, 19200, TestOptions(),
                                 (*d_folder / "ttyNONE").string());
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 5000);
        const QString message = QString::fromLatin1(vex::kPortUnavailableMessage.data());
        QCOMPARE(d_prompter.told.size(), std::size_t(1));
        QVERIFY(d_prompter.told[0].error);
        QVERIFY(d_prompter.told[0].text.startsWith(message));
        QVERIFY2(d_prompter.told[0].text.contains("ttyNONE"), qPrintable(d_prompter.told[0].text));
        QCOMPARE(child<QLineEdit>(window.get(), "status")->text(), message);
        QVERIFY(window->isVisible());
        // Still usable: another try names the port again, nothing changes.
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "stop")->isEnabled());
        QSignalSpy finished(window.get(), &vexcomm::transferFinished);
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
        QCOMPARE(d_prompter.told.size(), std::size_t(2));
        QCOMPARE(d_prompter.told[1].text, message);
        QVERIFY(window->isVisible());
        QVERIFY(image == before);
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QTest::mouseClick(child<QPushButton>(window.get(), "close"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
    }

    // The transport's own words reach the user: the permission hint, not the busy text.
    void portRefusalShowsTheTransportsMessage() {
        class RefusingPort : public vex::Transport {
          public:
            vex::TransportStatus open() override {
                return {vex::TransportFault::Permission, vex::PermissionMessage("/dev/ttyUSB0"),
                        "/dev/ttyUSB0: Permission denied"};
            }
            void close() override {}
            bool isOpen() const override { return false; }
            void write(std::string_view) override {}
        };
        d_folder = std::make_unique<simtest::TempFolder>();
        vex::Image image;
        vex::ClearForFileNew(image);
        vexcomm window(vexcomm::Mode::Send, image, TestOptions(), 19200,
                       std::make_unique<RefusingPort>(), d_folder->path(), d_prompter);
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(window.ready(), 5000);
        QCOMPARE(d_prompter.told.size(), std::size_t(1));
        QVERIFY2(d_prompter.told[0].text.contains("dialout"), qPrintable(d_prompter.told[0].text));
        QVERIFY(d_prompter.told[0].text.contains("Permission denied"));
        QVERIFY(child<QLineEdit>(&window, "status")->text().contains("dialout"));
        QVERIFY(window.isVisible());
        QVERIFY(child<QPushButton>(&window, "deleteBank")->isEnabled());
    }

    // Opening reads the scanner's trunk types by itself; the read that follows takes them
    // without asking the scanner again, and the image changes only with that read.
    void openingReadsTheTrunkTypesTheReadTakes() {
        startSim({}, 115200, "TYPE C EDCS SCT\n");
        vex::Image image;
        vex::ClearForFileNew(image);
        image.TrunkType[2] = "1";
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image);
        auto* status = child<QLineEdit>(window.get(), "status");
        QStringList statuses;
        connect(status, &QLineEdit::textChanged, this,
                [&](const QString& text) { statuses << text; });
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        QCOMPARE(status->text(), QStringLiteral("Trunk type read Ok"));
        QVERIFY2(statuses.contains("Reading trunk type"), qPrintable(statuses.join('|')));
        QVERIFY(statuses.contains("Read trunktype/5"));
        QVERIFY(d_prompter.told.empty());
        QVERIFY(image == before);
        QVERIFY(!window->imageReplaced());

        chooseRange(window.get(), "1", "2");
        QTest::mouseClick(child<QPushButton>(window.get(), "start"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 10000);
        QVERIFY(window->imageReplaced());
        QCOMPARE(image.TrunkType[2], std::string("9"));
        QCOMPARE(image.TrunkType[0], std::string("0"));
        const QStringList trace = traceOf(window.get());
        QCOMPARE(sentCount(trace, "TB "), 5);
        QCOMPARE(sentCount(trace, "TB A"), 1);
    }

    // A scanner that will not tell its types leaves the window usable with the status saying so.
    void unansweredTrunkTypesLeaveTheWindowUsable() {
        startSim({"--fault", "err@TB:always"});
        vex::Image image;
        vex::ClearForFileNew(image);
        const vex::Image before = image;
        auto window = makeWindow(vexcomm::Mode::Read, image);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 10000);
        QCOMPARE(child<QLineEdit>(window.get(), "status")->text(),
                 QStringLiteral("Reading trunktype failed."));
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
        startSim({"--latency-ms", "400"});
        vex::Image image;
        vex::ClearForFileNew(image);
        auto window = makeWindow(vexcomm::Mode::Read, image);
        auto* status = child<QLineEdit>(window.get(), "status");
        QTRY_VERIFY_WITH_TIMEOUT(status->text() == "Reading trunk type", 10000);
        QVERIFY(!window->ready());
        QVERIFY(child<QPushButton>(window.get(), "stop")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(child<QCheckBox>(window.get(), "trunkIds")->isEnabled());
        child<QRadioButton>(window.get(), "singleBank")->click();
        QVERIFY(child<QRadioButton>(window.get(), "singleBank")->isChecked());
        QTest::mouseClick(child<QPushButton>(window.get(), "stop"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window->ready(), 1000);
        QCOMPARE(status->text(), QStringLiteral("Transfer stopped."));
        QVERIFY(d_prompter.told.empty());
        QVERIFY(child<QPushButton>(window.get(), "start")->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), "stop")->isEnabled());
    }

    void delayControlOnlyAtTheFastSpeeds() {
        startSim({}, 9600);
        vex::Image image;
        vex::ClearForFileNew(image);
        auto slow = makeWindow(vexcomm::Mode::Send, image, 9600);
        QVERIFY(!child<QSlider>(slow.get(), "delaySlider")->isVisible());
        slow.reset();
        vex::Options options = TestOptions();
        options.delay1 = 10;  // raised to the least the link allows
        auto fast = makeWindow(vexcomm::Mode::Send, image, 19200, options);
        QCOMPARE(child<QLineEdit>(fast.get(), "delayField")->text(), QStringLiteral("25"));
        auto* field = child<QLineEdit>(fast.get(), "delayField");
        field->selectAll();
        QTest::keyClicks(field, "150");
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(child<QSlider>(fast.get(), "delaySlider")->value(), 150);
    }
};

QTEST_MAIN(VexcommTest)
#include "vexcomm.moc"
