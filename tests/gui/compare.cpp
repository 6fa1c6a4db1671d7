// File > Compare With...: a MEM file with known differences is listed line by line, and
// choosing a line shows its channel or bank in the main window. BCT8 > Send Changes against
// bct8sim: without a kept image it offers the whole send; with one, only the edits go out.
// BCT8 > Compare With Scanner lists what the scanner holds differently, the table untouched.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <fstream>

#include "core/memfile.h"
#include "e2e/sim_process.h"
#include "gui/comparewin.h"
#include "gui/memtab_support.h"
#include "gui/vexcomm.h"
#include "link/kept_image.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// A table as a MEM file gives it back: trunk types "0" rather than a fresh start's empty ones.
void AsFromAFile(AppState& state) {
    for (int b = 0; b < kScannerBanks; ++b) state.image.TrunkType[b] = "0";
}

CompareWin* OpenComparison(Fixture& f, const QString& file) {
    f.prompter.openNames = {file};
    f.trigger("compare_file");
    return f.window->findChild<CompareWin*>();
}

// Waits on the communication window until `done`, then closes it.
void CloseWhen(QWidget* w, const std::function<bool()>& done, int timeoutMs) {
    auto* window = qobject_cast<VexComm*>(w);
    QVERIFY(QTest::qWaitFor([window] { return window->ready(); }, 5000));
    (void)QTest::qWaitFor(done, timeoutMs);
    QTest::mouseClick(window->findChild<QPushButton*>("close"), Qt::LeftButton);
}

QString Field(QWidget* window, const char* name) {
    if (auto* edit = window->findChild<QLineEdit*>(name)) return edit->text();
    if (auto* label = window->findChild<QLabel*>(name)) return label->text();
    return {};
}

}  // namespace

class CompareTest : public QObject {
    Q_OBJECT
  private slots:
    void listsTheDifferencesAndJumpsToEach() {
        Fixture f(AsFromAFile);
        f.enter(3, 1, "154.385");
        QVERIFY(f.window->storeGrid());
        Image other = f.state.image;
        other.channel(1, 17)[kFieldFrequency] = "0460.1250";
        other.BankTag[3] = "Harbour";
        other.TrunkSetting[2][0] = "0851.0125";
        const QString file = f.path("other.mem");
        QVERIFY(WriteMemFile(other, file.toStdString(), f.state.options).ok);

        CompareWin* window = OpenComparison(f, file);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isModal());
        QListWidget* list = window->list();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(),
                 QString(R"(bank 2 channel 17 frequency: "0000.0000" -> "0460.1250")"));
        QVERIFY(list->item(1)->text().startsWith("bank 4 name: "));
        QVERIFY(list->item(2)->text().startsWith("bank 3 trunk control channel: "));

        list->setCurrentRow(0);
        QCOMPARE(f.window->editor().currentBank(), 1);
        QCOMPARE(f.grid()->selection().currentRow, 17);
        list->setCurrentRow(1);
        QCOMPARE(f.window->editor().currentBank(), 3);
        // Selecting a trunk line shows its bank; opening the trunk window needs Enter.
        list->setCurrentRow(2);
        QCOMPARE(f.window->editor().currentBank(), 2);
        // The open image is left as it was.
        QCOMPARE(f.channel(1, 17)[kFieldFrequency], std::string("0000.0000"));
        QCOMPARE(f.prompter.unexpected, 0);
    }

    void fileWithoutDifferencesOrUnreadable_data() {
        QTest::addColumn<bool>("same");
        QTest::addColumn<QString>("told");
        QTest::newRow("same data") << true << "hold the same data";
        QTest::newRow("not a MEM file") << false << "not VEXA compatible";
    }

    void fileWithoutDifferencesOrUnreadable() {
        QFETCH(bool, same);
        QFETCH(QString, told);
        Fixture f(AsFromAFile);
        const QString file = f.path("other.mem");
        QVERIFY(same ? WriteMemFile(f.state.image, file.toStdString(), f.state.options).ok
                     : WriteTestFile(file, "a shopping list\r\n"));
        QVERIFY(!OpenComparison(f, file));
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY2(f.prompter.told[0].contains(told), qPrintable(f.prompter.told[0]));
    }

    void scannerCommandsAgainstTheSimulator() {
        simtest::TempFolder folder;
        std::ofstream(folder / "scanner.mem") << SimulatorMemoryFile();
        simtest::SimProcess sim;
        QVERIFY(sim.Start({"--baud", "115200", "--latency-ms", "0", "--memory",
                           (folder / "scanner.mem").string(), "--save-delay-ms", "0"}));
        Fixture f([&](AppState& s) {
            AsFromAFile(s);
            s.com.device = sim.device();
            s.com.baud = 115200;
            s.options.delay1 = 25;
            s.options.expert = 1;
            for (int n = 1; n <= 250; ++n) {
                Channel& c = s.image.channel((n - 1) / 50, (n - 1) % 50 + 1);
                c[kFieldFrequency] = SimulatorFrequency(n);
                c[kFieldTrunk] = c[kFieldLockout] = "0";
                c[kFieldDelay] = "1";
            }
        });

        // Nothing kept yet: it says so and offers the whole send (answered No).
        f.prompter.answers = {Answer::No};
        QString plan;
        f.triggerWith("send_changes", [&](QWidget* window) {
            CloseWhen(
                window, [&] { return !f.prompter.asked.isEmpty(); }, 5000);
            plan = Field(window, "plan");
        });
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY2(f.prompter.asked[0].contains("Send the whole image instead?"),
                 qPrintable(f.prompter.asked[0]));
        QVERIFY2(plan.contains("keypad"), qPrintable(plan));

        // What a whole send would have kept; then two channels edited.
        std::string identification = simtest::ReadFile(f.folder() / "version.ini");
        while (!identification.empty() &&
               std::isspace(static_cast<unsigned char>(identification.back())))
            identification.pop_back();
        QVERIFY(KeepImage(f.folder(), identification, f.state.image));
        f.window->applyImageChange("edit", [](Image& image) {
            image.channel(0, 4)[kFieldFrequency] = "0460.1250";
            EmptyChannel(image.channel(0, 9));
            return true;
        });
        QString status;
        f.triggerWith("send_changes", [&](QWidget* window) {
            CloseWhen(
                window, [&] { return Field(window, "status") == "Sending data Ok"; }, 20000);
            status = Field(window, "status");
            plan = Field(window, "plan");
        });
        QCOMPARE(status, QString("Sending data Ok"));
        QVERIFY2(plan.contains("2 channels"), qPrintable(plan));
        QVERIFY2(plan.contains("keypad"), qPrintable(plan));
        // The kept image follows the send: nothing more differs.
        const KeptImage kept = LoadKeptImage(f.folder(), identification);
        QVERIFY(kept.image);
        QVERIFY(PlanChanges(*kept.image, f.state.image).empty());

        // Compare With Scanner reads into a copy: an edit not sent is the first difference listed,
        // and the table keeps it.
        f.window->applyImageChange("edit", [](Image& image) {
            image.channel(0, 5)[kFieldFrequency] = "0155.0000";
            return true;
        });
        f.triggerWith("compare_scanner", [](QWidget*) {});  // it closes once the copy is read
        CompareWin* window = f.window->findChild<CompareWin*>();
        QVERIFY(window);
        QCOMPARE(window->list()->item(0)->text(),
                 QString(R"(bank 1 channel 5 frequency: "0155.0000" -> "0150.0625")"));
        QCOMPARE(f.channel(0, 5)[kFieldFrequency], std::string("0155.0000"));
        QCOMPARE(f.prompter.unexpected, 0);
    }
};

QTEST_MAIN(CompareTest)
#include "compare.moc"
