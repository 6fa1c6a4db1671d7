// The scanner-side dialogs on the fake clock against the simulator's scanner: each writes into
// the scanner and reads back what it wrote; a silent scanner is told and the dialog closes at once.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "gui/banknames.h"
#include "gui/easyprog.h"
#include "gui/memtab_support.h"
#include "gui/other82.h"
#include "gui/priority.h"
#include "gui/sim_line.h"

using namespace vex::gui;

class ScannerDialogsTest : public QObject {
    Q_OBJECT

    test::ScriptedPrompter d_prompter;
    vex::FakeScheduler* d_clock = nullptr;
    vex::test::SimulatedScanner* d_scanner = nullptr;

    // Builds the dialog over a fresh simulated scanner and waits until it takes commands.
    template <typename Dialog, typename... Args>
    std::unique_ptr<Dialog> open(const char* fault, Args&&... args) {
        test::SimLine sim;
        std::string error;
        sim.scanner.model.load(
            "BCT8SIM MEMORY 1\n"
            "CH 003 01625500 TF DF LF\n"
            "CH 004 01626500 TF DF LF\n"
            "CH 010 08510250 TN DF LF\n",
            error);
        if (fault) sim.scanner.inject(fault);
        d_clock = &sim.clock;
        d_scanner = &sim.scanner;
        vex::Options options;
        options.delay1 = 25;
        auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)..., options, 115200,
                                               std::move(sim.ownedScanner), d_prompter, nullptr,
                                               std::move(sim.ownedClock));
        dialog->show();
        if (!test::runUntil(*d_clock, [&] { return dialog->ready() && !dialog->busy(); }))
            qFatal("the dialog never got ready");
        return dialog;
    }
    bool memoryHas(const std::string& text) const {
        return d_scanner->model.save().find(text) != std::string::npos;
    }
    template <typename T>
    static T* child(QWidget* w, const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no child %s", name);
        return c;
    }
    // Clicks and runs the job to its end; its outcome.
    bool run(ScannerDialog& dialog, const char* button) {
        QSignalSpy finished(&dialog, &ScannerDialog::jobFinished);
        child<QPushButton>(&dialog, button)->click();
        if (!test::runUntil(*d_clock, [&] { return finished.count() == 1; })) return false;
        return finished.first().first().toBool();
    }

  private slots:
    void init() { d_prompter = {}; }

    void priorityChannelsAreSentAndReadBack() {
        auto dialog =
            open<PriorityDialog>(nullptr, std::array<std::int16_t, 5>{1, 51, 101, 151, 201});
        child<QLineEdit>(dialog.get(), "bank1")->setText("7");
        child<QLineEdit>(dialog.get(), "bank3")->setText("120");
        QVERIFY(run(*dialog, "send"));
        QVERIFY(memoryHas("PRIO A 007\n"));
        QVERIFY(memoryHas("PRIO C 120\n"));
        child<QLineEdit>(dialog.get(), "bank1")->setText("0");
        QVERIFY(run(*dialog, "read"));
        QCOMPARE(child<QLineEdit>(dialog.get(), "bank1")->text(), QStringLiteral("007"));
        QCOMPARE(dialog->channels()[2], 120);
        // A channel outside its bank is refused by the scanner, and said so.
        child<QLineEdit>(dialog.get(), "bank2")->setText("7");
        QVERIFY(!run(*dialog, "send"));
        QVERIFY(dialog->statusText().contains("refused \"PC B007\""));
    }

    void bankNamesAreWrittenIntoTheScanner() {
        auto dialog = open<BankNamesDialog>(
            nullptr, std::array<std::string, 6>{"Bank: 1", "Bank: 2", "Bank: 3", "Bank: 4",
                                                "Bank: 5", "Dummy"});
        child<QLineEdit>(dialog.get(), "name1")->setText("County Police");
        child<QPushButton>(dialog.get(), "center")->click();
        child<QLineEdit>(dialog.get(), "name2")->clear();
        QCOMPARE(child<QLineEdit>(dialog.get(), "name1")->text(),
                 QStringLiteral(" County Police  "));
        QVERIFY(run(*dialog, "update"));
        QVERIFY(memoryHas("NAME A  County Police\n"));
        QVERIFY(memoryHas("NAME B \n"));
        QVERIFY(dialog->stored().has_value());
        QCOMPARE(QString::fromStdString((*dialog->stored())[1]), QStringLiteral(" "));
    }

    void easyProgrammingSetsTheTickedAttributesOnTheRange() {
        auto dialog = open<EasyProgramDialog>(nullptr);
        child<QLineEdit>(dialog.get(), "start")->setText("3");
        child<QLineEdit>(dialog.get(), "end")->setText("10");
        for (const char* tick : {"trunk", "lockout", "attenuator", "delay"})
            child<QCheckBox>(dialog.get(), tick)->setChecked(true);
        for (const char* value : {"trunkValue", "lockoutValue", "attenuatorValue"})
            child<QComboBox>(dialog.get(), value)->setCurrentIndex(1);
        child<QComboBox>(dialog.get(), "delayValue")->setCurrentIndex(6);  // -5 sec
        QVERIFY(run(*dialog, "startButton"));
        QVERIFY(memoryHas("CH 003 01625500 TN DN LN\n"));
        QVERIFY(memoryHas("EXTRA 010 ARF BAF ATN DL-5\n"));
        QVERIFY(!memoryHas("EXTRA 011"));
        QVERIFY(dialog->statusText().contains("8 channels programmed"));
    }

    void settingsAreSentReadBackAndResetAsksFirst() {
        auto dialog = open<ScannerSettingsDialog>(nullptr);
        child<QComboBox>(dialog.get(), "setting6")->setCurrentIndex(2);  // SQ Mode: Search
        child<QComboBox>(dialog.get(), "setting0")->setCurrentIndex(1);  // Dimmer Light: Medium
        QVERIFY(run(*dialog, "send"));
        QVERIFY(memoryHas("SETTING 38 3\n"));
        QVERIFY(memoryHas("SETTING 311 2\n"));
        for (int i = 0; i < vex::kMenuSettings; ++i)
            child<QComboBox>(dialog.get(), qPrintable(QStringLiteral("setting%1").arg(i)))
                ->setCurrentIndex(-1);
        QVERIFY(run(*dialog, "read"));
        QCOMPARE(dialog->choices()[6], 2);
        QCOMPARE(dialog->choices()[8], 0);  // Clone: MASTER

        auto* text = child<QLineEdit>(dialog.get(), "resetText");
        text->setText("reset");
        child<QPushButton>(dialog.get(), "reset")->click();
        QVERIFY(d_prompter.asked.isEmpty());
        text->setText("RESET");
        d_prompter.answers = {Answer::No, Answer::Yes};
        child<QPushButton>(dialog.get(), "reset")->click();
        QCOMPARE(d_prompter.asked.size(), 1);
        QVERIFY(d_prompter.asked[0].contains("ENTIRE memory"));
        QVERIFY(memoryHas("CH 003 01625500"));
        QVERIFY(run(*dialog, "reset"));
        QVERIFY(memoryHas("CH 003 00000000"));
    }

    void aSilentScannerIsToldAndTheDialogClosesAtOnce() {
        auto dialog = open<PriorityDialog>("no-reply:always",
                                           std::array<std::int16_t, 5>{1, 51, 101, 151, 201});
        QVERIFY(dialog->statusText().contains("did not answer"));
        QVERIFY(!run(*dialog, "read"));  // each try ends within its time-out
        child<QPushButton>(dialog.get(), "read")->click();
        QVERIFY(dialog->busy());
        child<QPushButton>(dialog.get(), "close")->click();
        QVERIFY(!dialog->isVisible());
        QVERIFY(!d_scanner->isOpen());  // the port is let go at once
    }
};

QTEST_MAIN(ScannerDialogsTest)
#include "scannerdialogs.moc"
