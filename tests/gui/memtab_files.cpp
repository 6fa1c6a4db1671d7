// The main window's file commands, exit and start-up, against real files in a temporary
// program folder: nothing unsaved is lost without a question, broken files never crash.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMimeData>
#include <QTabBar>
#include <QtTest>

#include "core/memfile.h"
#include "gui/memtab_support.h"
#include "mainwin/backup.h"
#include "settings/setup_ini.h"
#include "trunk/trunk_window_flag.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// A serial line that records what is written to it.
class RecordingLine : public Transport {
  public:
    explicit RecordingLine(QStringList* written, TransportFault openFault = TransportFault::None)
        : d_written(written), d_openFault(openFault) {}
    TransportStatus open() override {
        if (d_openFault != TransportFault::None)
            return {d_openFault, std::string(kPortUnavailableMessage), "busy"};
        d_open = true;
        return {};
    }
    void close() override { d_open = false; }
    bool isOpen() const override { return d_open; }
    void write(std::string_view bytes) override {
        *d_written << QString::fromLatin1(bytes.data(), bytes.size());
    }
    void pull() { fault({TransportFault::Disconnected, "The cable was pulled.", {}}); }

  private:
    QStringList* d_written;
    TransportFault d_openFault;
    bool d_open = false;
};

bool WriteText(const QString& path, const QByteArray& content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QByteArray ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class MemTabFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void saveAsThenSaveAndOpenBack();
    void saveAsCancelledNamesUntitledAndWritesNothing();
    void saveFailureIsReported_data();
    void saveFailureIsReported();
    void openNotVexaKeepsImageAndGridEdits();
    void openDamagedFileAsksToTakeThePartRead_data();
    void openDamagedFileAsksToTakeThePartRead();
    void openRefusedFileSaysWhy();
    void exitWriteFailuresAreToldOnce();
    void unusableSettingsFilesAreToldAtStart();
    void newAsksAndCancelKeepsData();
    void yesThenCancelledSaveDialogStopsTheCommand();
    void fileNewResetsTablesAndTags();
    void exitCancelledWritesNothing();
    void exitWithoutQuestionsWritesStateFiles();
    void textStillInTheEditBoxIsAskedAboutAtExit();
    void exitSaveYesWritesTheFile();
    void lastFileKeptForUntitledImage();
    void reloadAtStartup();
    void reloadOfMissingFileSwitchesLoadlastOff();
    void startupWithBrokenFiles_data();
    void startupWithBrokenFiles();
    void backupEveryMinuteAndPauses();
    void windowPlacementAndColumnWidthsSurvive();
    void readFromScannerAsksAndKeepsEditsWhenNothingRead();
    void readAndSendRefusedWhileVirtualControlRuns();
    void directTuneSendsTheSelectedChannel();
    void directTuneReportsABusyPort();
    void droppedFileOpensAndFillsTagLists();
    void saveDialogAddsTheSuffixItself();
    void readAndSendOpenTheCommunicationWindow();
};

void MemTabFilesTest::saveAsThenSaveAndOpenBack() {
    Fixture f;
    f.enter(1, 1, "154.43");
    f.enter(1, 2, "FIRE, DISPATCH");
    f.prompter.saveNames = {f.path("first")};
    f.key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.window->fileName(), f.path("first.mem"));
    QVERIFY(QFile::exists(f.path("first.mem")));
    QVERIFY(!f.window->editor().modified());
    QVERIFY(f.prompter.lastFilter.contains("(*.mem)"));
    QCOMPARE(f.window->windowTitle(), "Vexatron for BCT8 - [ " + f.path("first.mem") + " ]");

    // Save goes to the same file without a dialog.
    f.enter(2, 1, "155");
    f.key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.prompter.unexpected, 0);
    QVERIFY(ReadText(f.path("first.mem")).contains("0155.0000"));

    // Open it in a second window and find the same channels.
    Fixture g;
    g.prompter.openNames = {f.path("first.mem")};
    g.trigger("tabopen");
    QCOMPARE(g.cell(1, 1), QString("0154.4300"));
    QCOMPARE(g.cell(1, 2), QString("FIRE, DISPATCH"));
    QCOMPARE(g.window->fileName(), f.path("first.mem"));
    QVERIFY(g.prompter.lastFilter.contains("All Files"));
}

void MemTabFilesTest::saveAsCancelledNamesUntitledAndWritesNothing() {
    Fixture f;
    f.window->setFileName(f.path("old.mem"));
    f.prompter.saveNames = {QString()};
    f.trigger("tabsaveas");
    QCOMPARE(f.window->fileName(), QString("Untitled"));
    QVERIFY(QDir(f.dir.path()).entryList({"*.mem"}).isEmpty());
}

void MemTabFilesTest::saveFailureIsReported_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("why");
    QTest::addRow("missing folder") << "no/such/folder/x.mem"
                                    << "No such file or directory";
    QTest::addRow("read-only file") << "readonly.mem"
                                    << "it is read-only";
    QTest::addRow("folder") << "folder.mem"
                            << "it is a folder";
}

void MemTabFilesTest::saveFailureIsReported() {
    QFETCH(QString, name);
    QFETCH(QString, why);
    Fixture f;
    QVERIFY(WriteText(f.path("readonly.mem"), "kept"));
    QFile::setPermissions(f.path("readonly.mem"), QFileDevice::ReadOwner);
    QVERIFY(QDir(f.dir.path()).mkdir("folder.mem"));
    f.enter(1, 1, "155");
    f.prompter.saveNames = {f.path(name)};
    f.trigger("savenu");
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY(f.prompter.told[0].contains("could not be saved"));
    QVERIFY2(f.prompter.told[0].contains(why), qPrintable(f.prompter.told[0]));
    QVERIFY(f.window->editor().modified());
    QCOMPARE(ReadText(f.path("readonly.mem")), QByteArray("kept"));
}

void MemTabFilesTest::openNotVexaKeepsImageAndGridEdits() {
    Fixture f;
    QVERIFY(WriteText(f.path("other.mem"), "SOMETHING ELSE\r\n1,2,3\r\n"));
    f.enter(1, 1, "155");  // typed, not yet stored
    f.prompter.answers = {Answer::No};
    f.prompter.openNames = {f.path("other.mem")};
    f.trigger("tabopen");
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY(f.prompter.told[0].contains("File is not VEXA compatible."));
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    QCOMPARE(f.window->fileName(), QString("Untitled"));
}

void MemTabFilesTest::openDamagedFileAsksToTakeThePartRead_data() {
    QTest::addColumn<bool>("take");
    QTest::addRow("Yes takes the part read, untitled") << true;
    QTest::addRow("No leaves the table as it was") << false;
}

void MemTabFilesTest::openDamagedFileAsksToTakeThePartRead() {
    QFETCH(bool, take);
    Fixture f;
    Image written = f.state.image;
    written.channel(0, 1)[kFieldFrequency] = "0162.5500";
    written.channel(0, 3)[kFieldFrequency] = "0163.0000";
    std::string text = SerializeMemFile(written, f.state.options);
    // One field too many on the line of channel 2 would shift every later field.
    text.replace(text.find("\r\n2,"), 4, "\r\n2,\"x\",");
    QVERIFY(WriteText(f.path("damaged.mem"), QByteArray::fromStdString(text)));
    f.window->setFileName(f.path("before.mem"));
    f.enter(1, 1, "155");
    f.prompter.answers = {Answer::No, take ? Answer::Yes : Answer::No};  // "Save data?" first
    f.prompter.openNames = {f.path("damaged.mem")};
    f.trigger("tabopen");
    QCOMPARE(f.prompter.asked.size(), 2);
    QVERIFY2(f.prompter.asked[1].contains(
                 "Not a valid file! Line: 3 (channel 2: 8 fields where 7 belong)"),
             qPrintable(f.prompter.asked[1]));
    QVERIFY(f.prompter.asked[1].contains("Lines 1 to 2 could be read."));
    QCOMPARE(f.prompter.told.size(), 0);
    if (take) {
        QCOMPARE(f.cell(1, 1), QString("0162.5500"));
        QCOMPARE(f.cell(3, 1), QString());
        QCOMPARE(f.window->fileName(), QString("Untitled"));
    } else {
        QCOMPARE(f.cell(1, 1), QString("0155.0000"));
        QCOMPARE(f.channel(0, 1)[kFieldFrequency], std::string("0155.0000"));
        QCOMPARE(f.window->fileName(), f.path("before.mem"));
    }
}

void MemTabFilesTest::openRefusedFileSaysWhy() {
    Fixture f;
    QVERIFY(QDir(f.dir.path()).mkdir("folder.mem"));
    f.prompter.openNames = {f.path("folder.mem")};
    f.trigger("tabopen");
    QCOMPARE(f.prompter.told.size(), 1);
    QCOMPARE(f.prompter.told[0],
             "Open|" + f.path("folder.mem") + "\n\nThe file cannot be opened: it is a folder.");
}

void MemTabFilesTest::exitWriteFailuresAreToldOnce() {
    Fixture f;
    for (const char* name : {"lastused.sav", "names.dat", "setup.ini"})
        QVERIFY(QDir(f.dir.path()).mkdir(name));
    QVERIFY(f.window->close());
    QCOMPARE(f.prompter.told.size(), 1);
    const QString told = f.prompter.told[0];
    QVERIFY2(told.startsWith("Exit|These files could not be written"), qPrintable(told));
    for (const char* name : {"lastused.sav", "names.dat", "setup.ini"})
        QVERIFY2(told.contains(f.path(name) + ": it is a folder"), name);
    QVERIFY(!told.contains("defdata.ini"));
    QVERIFY(QFile::exists(f.path("defdata.ini")));
}

void MemTabFilesTest::unusableSettingsFilesAreToldAtStart() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("setup.ini"));
    QVERIFY(QFile::link("/dev/zero", dir.filePath("names.dat")));
    AppState state;
    QVERIFY(LoadStartupState(dir.path().toStdString(), state).ok);
    QCOMPARE(state.options.backupdelay, 30);
    ScriptedPrompter prompter;
    MemTab window(state, prompter);
    window.tellStartupNotes();
    window.tellStartupNotes();  // once
    QCOMPARE(prompter.told.size(), 1);
    QVERIFY(prompter.told[0].contains(dir.filePath("setup.ini") + ": it is a folder"));
    QVERIFY(prompter.told[0].contains(dir.filePath("names.dat") + ": it is not a plain file"));
}

void MemTabFilesTest::newAsksAndCancelKeepsData() {
    Fixture f;
    f.enter(1, 1, "155");
    f.prompter.answers = {Answer::Cancel};
    f.key(Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.prompter.asked.size(), 1);
    QCOMPARE(
        f.prompter.asked[0],
        QString("Warning|This will clear your table.\nIf not saved, data is lost!\nSave data?"));
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    f.prompter.answers = {Answer::No};
    f.trigger("menunew");
    QCOMPARE(f.cell(1, 1), QString());
    QVERIFY(!f.window->editor().modified());
}

void MemTabFilesTest::yesThenCancelledSaveDialogStopsTheCommand() {
    Fixture f;
    f.enter(1, 1, "155");
    f.prompter.answers = {Answer::Yes};
    f.prompter.saveNames = {QString()};
    f.trigger("tabopen");
    // The save did not happen, so neither does the open: the data stays.
    QCOMPARE(f.prompter.openNames.size(), 0u);
    QCOMPARE(f.prompter.unexpected, 0);
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    QVERIFY(f.window->editor().modified());
}

void MemTabFilesTest::fileNewResetsTablesAndTags() {
    Fixture f([](AppState& s) { s.options.cleartag = 1; });
    f.state.image.TrunkId[0][0][0] = "100";
    f.state.image.ActiveBank[2] = 1;
    f.trigger("menunew");
    QCOMPARE(QString::fromStdString(f.state.image.BankTag[0]), QString("Bank 1"));
    QCOMPARE(f.state.image.TrunkId[0][0][0], std::string());
    QCOMPARE(f.state.image.ActiveBank[2], 0);
    QCOMPARE(f.state.image.PriorityChannel[3], 151);
    QCOMPARE(f.window->findChild<QTabBar*>("tabbed1")->tabText(0), QString("1: Bank 1"));
}

void MemTabFilesTest::exitCancelledWritesNothing() {
    Fixture f([](AppState& s) { s.options.option[4] = 0; });
    f.enter(1, 1, "155");
    f.prompter.answers = {Answer::Yes, Answer::Cancel};  // "Exit VEXA?" OK, "Save data?" Cancel
    QSignalSpy ended(f.window.get(), &MemTab::ended);
    QVERIFY(!f.window->close());
    QCOMPARE(ended.count(), 0);
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.prompter.asked.size(), 2);
    QCOMPARE(f.prompter.asked[0], QString("Exit|Exit VEXA?"));
    QCOMPARE(f.prompter.asked[1], QString("Warning|Save data?"));
    QVERIFY(!QFile::exists(f.path("lastused.sav")));
    QVERIFY(!QFile::exists(f.path("setup.ini")));
    // "Exit VEXA?" cancelled: nothing else asked.
    f.prompter.answers = {Answer::Cancel};
    QVERIFY(!f.window->close());
    QCOMPARE(f.prompter.asked.size(), 3);
}

void MemTabFilesTest::exitWithoutQuestionsWritesStateFiles() {
    Fixture f;
    QSignalSpy ended(f.window.get(), &MemTab::ended);
    QVERIFY(f.window->close());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(f.prompter.asked.size(), 0);
    for (const char* name :
         {"lastused.sav", "setup.ini", "names.dat", "defdata.ini", "tabw250.ini"})
        QVERIFY2(QFile::exists(f.path(name)), name);
    QVERIFY(QDir(f.dir.path()).entryList().filter("ttype.dat", Qt::CaseInsensitive).size() == 1);
    QVERIFY(ReadText(f.path("lastused.sav")).startsWith("VEXA MEM V1.00"));
}

void MemTabFilesTest::textStillInTheEditBoxIsAskedAboutAtExit() {
    Fixture f;
    f.setCurrent(1, 1);
    f.type("155");  // no Enter
    f.prompter.answers = {Answer::Cancel};
    QVERIFY(!f.window->close());
    QCOMPARE(f.prompter.asked, QStringList({"Warning|Save data?"}));
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
}

void MemTabFilesTest::exitSaveYesWritesTheFile() {
    Fixture f([](AppState& s) { s.options.loadlast = 1; });
    f.enter(1, 1, "155");
    f.prompter.answers = {Answer::Yes};
    f.prompter.saveNames = {f.path("kept.mem")};
    QVERIFY(f.window->close());
    QVERIFY(ReadText(f.path("kept.mem")).contains("0155.0000"));
    QCOMPARE(ReadText(f.path("lastfile.ini")).trimmed(), f.path("kept.mem").toUtf8());
    QVERIFY(ReadText(f.path("lastused.sav")).contains("0155.0000"));
}

void MemTabFilesTest::lastFileKeptForUntitledImage() {
    Fixture f([](AppState& s) { s.options.loadlast = 1; });
    QVERIFY(WriteText(f.path("lastfile.ini"), "/some/where.mem\r\n"));
    QVERIFY(f.window->close());
    QCOMPARE(ReadText(f.path("lastfile.ini")), QByteArray("/some/where.mem\r\n"));
}

void MemTabFilesTest::reloadAtStartup() {
    QTemporaryDir other;
    const QString mem = other.filePath("last.mem");
    {
        Image image;
        ClearForStartup(image);
        SetStartupBankTags(image);
        image.channel(0, 1)[kFieldFrequency] = "0460.0250";
        image.channel(0, 1)[kFieldTag] = "RELOADED";
        QVERIFY(WriteMemFile(image, mem.toStdString(), Options{}).ok);
    }
    Fixture f([](AppState& s) { s.options.loadlast = 1; });
    QVERIFY(WriteText(f.path("lastfile.ini"), mem.toUtf8() + "\r\n"));
    f.window->scheduleStartupReload();
    QCOMPARE(f.cell(1, 2), QString());  // not at once: after the 200 ms timer
    QTRY_COMPARE(f.cell(1, 2), QString("RELOADED"));
    QCOMPARE(f.window->fileName(), mem);
}

void MemTabFilesTest::reloadOfMissingFileSwitchesLoadlastOff() {
    Fixture f([](AppState& s) { s.options.loadlast = 1; });
    QVERIFY(WriteText(f.path("lastfile.ini"), f.path("gone.mem").toUtf8()));
    f.window->reloadLastFile();
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY(
        f.prompter.told[0].contains("gone.mem\n\nThe file cannot be opened: it does not exist."));
    QCOMPARE(f.state.options.loadlast, 0);
}

void MemTabFilesTest::startupWithBrokenFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addRow("empty setup.ini") << "setup.ini" << QByteArray();
    QTest::addRow("junk setup.ini") << "setup.ini" << QByteArray("\x00\xff[setup\nround=abc\n", 20);
    QTest::addRow("empty com250.ini") << "com250.ini" << QByteArray();
    QTest::addRow("junk com250.ini") << "com250.ini" << QByteArray("\x01garbage\n[com\nbaud=x\n");
    QTest::addRow("junk lastused.sav") << "lastused.sav" << QByteArray("garbage\x01\x02");
    QTest::addRow("junk tabw250.ini") << "tabw250.ini" << QByteArray("-5\n999999\nx\n");
    QTest::addRow("junk window.dat") << "window.dat" << QByteArray("a\nb\n");
    QTest::addRow("junk names.dat") << "names.dat" << QByteArray("A,B\n\n\n\n\n\n\n\n");
}

void MemTabFilesTest::startupWithBrokenFiles() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QVERIFY(WriteText(dir.filePath(file), content));
    AppState state;
    const StartupOutcome outcome = LoadStartupState(dir.path().toStdString(), state);
    QVERIFY(outcome.ok);
    QCOMPARE(state.com.port, file == "com250.ini" ? 1 : state.com.port);
    ScriptedPrompter prompter;
    state.options.window = 1;
    state.options.tabwidth = 1;
    MemTab window(state, prompter);
    window.show();
    QCOMPARE(window.editor().currentBank(), 0);
    QCOMPARE(prompter.told.size(), 0);
    if (file == "names.dat")
        QCOMPARE(QString::fromStdString(state.image.BankTag[0]), QString("A;B"));
}

void MemTabFilesTest::backupEveryMinuteAndPauses() {
    Fixture f([](AppState& s) {
        s.options.backena = 1;
        s.options.backupdelay = 1;
    });
    f.window->clock = [] { return QDateTime(QDate(2026, 12, 4), QTime(17, 5, 33)); };
    f.enter(1, 1, "155");
    f.window->backupTick();
    const QDir backup(f.path("backup"));
    const QStringList files = backup.entryList({"*membackup.mem"});
    QCOMPARE(files.size(), 1);
    QVERIFY(files[0].contains("17_05_33 membackup.mem"));
    QVERIFY(!files[0].contains(':') && !files[0].contains('/'));
    QVERIFY(ReadText(backup.filePath(files[0])).contains("0155.0000"));

    // Paused while a trunk window is open or Virtual Control runs.
    f.window->clock = [] { return QDateTime(QDate(2026, 12, 4), QTime(17, 6, 33)); };
    {
        TrunkWindowOpenScope trunkOpen;
        f.window->backupTick();
    }
    f.window->virtualControlRunning = [] { return true; };
    f.window->backupTick();
    QCOMPARE(backup.entryList({"*membackup.mem"}).size(), 1);
    f.window->virtualControlRunning = [] { return false; };
    f.state.options.backena = 0;
    f.window->backupTick();
    QCOMPARE(backup.entryList({"*membackup.mem"}).size(), 1);
    f.state.options.backena = 1;
    f.window->backupTick();
    QCOMPARE(backup.entryList({"*membackup.mem"}).size(), 2);
}

void MemTabFilesTest::windowPlacementAndColumnWidthsSurvive() {
    QTemporaryDir dir;
    {
        AppState state;
        QVERIFY(LoadStartupState(dir.path().toStdString(), state).ok);
        state.options.window = 1;
        state.options.tabwidth = 1;
        state.options.option[4] = 1;
        ScriptedPrompter prompter;
        MemTab window(state, prompter);
        window.show();
        window.grid()->horizontalHeader()->resizeSection(1, 333);
        QVERIFY(window.close());
    }
    AppState state;
    QVERIFY(LoadStartupState(dir.path().toStdString(), state).ok);
    QCOMPARE(state.options.window, 1);
    QVERIFY(state.columnWidths.size() == 10);
    QCOMPARE(state.columnWidths[1], 333 * kTwipsPerPixel);
    ScriptedPrompter prompter;
    MemTab window(state, prompter);
    QCOMPARE(window.grid()->horizontalHeader()->sectionSize(1), 333);
}

void MemTabFilesTest::readFromScannerAsksAndKeepsEditsWhenNothingRead() {
    Fixture f;
    f.window->setFileName(f.path("mine.mem"));
    f.setCurrent(1, 1);
    f.type("155");  // still in the edit box: stored before the read window opens
    bool opened = false;
    f.prompter.answers = {Answer::No};
    f.window->readFromScanner([&] {
        opened = true;
        return false;  // cancelled: nothing read
    });
    QVERIFY(opened);
    QCOMPARE(f.prompter.asked, QStringList({"Not Saved|Data is not saved. Save it now?"}));
    QVERIFY(f.window->editor().modified());
    QCOMPARE(f.window->fileName(), f.path("mine.mem"));
    QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldFrequency]), QString("0155.0000"));

    // Cancel stops before the window opens.
    opened = false;
    f.prompter.answers = {Answer::Cancel};
    f.window->readFromScanner([&] { return opened = true; });
    QVERIFY(!opened);

    // A read that replaced the image: untitled, unmodified, the new channels shown.
    f.prompter.answers = {Answer::No};
    f.window->readFromScanner([&] {
        f.state.image.channel(0, 1)[kFieldFrequency] = "0460.0250";
        return true;
    });
    QVERIFY(!f.window->editor().modified());
    QCOMPARE(f.window->fileName(), QString("Untitled"));
    QCOMPARE(f.cell(1, 1), QString("0460.0250"));
}

void MemTabFilesTest::readAndSendRefusedWhileVirtualControlRuns() {
    Fixture f;
    f.window->virtualControlRunning = [] { return true; };
    bool opened = false;
    f.window->readFromScanner([&] { return opened = true; });
    f.window->sendToScanner([&] { opened = true; });
    QVERIFY(!opened);
    QCOMPARE(f.prompter.told.size(), 2);
    QCOMPARE(f.prompter.told[0].section('|', 1),
             QString("Not possible while Virtual Control is running"));
    f.window->virtualControlRunning = [] { return false; };
    f.enter(1, 1, "155");
    f.window->sendToScanner([&] {
        opened = true;
        // The send window reads the table: the grid is in it.
        QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldFrequency]), QString("0155.0000"));
    });
    QVERIFY(opened);
    QVERIFY(f.window->editor().modified());
}

void MemTabFilesTest::directTuneSendsTheSelectedChannel() {
    Fixture f;
    QStringList written;
    RecordingLine* line = nullptr;
    f.window->makeTransport = [&](const ComSettings&) {
        auto made = std::make_unique<RecordingLine>(&written);
        line = made.get();
        return made;
    };
    f.key(Qt::Key_2, Qt::ControlModifier);
    f.setCurrent(3, 1);
    f.trigger("ditun");
    QVERIFY(f.window->directTune());
    QVERIFY(f.action("ditun")->isChecked());
    QCOMPARE(written, QStringList({"MA053\r\n"}));
    f.setCurrent(4, 2);
    f.setCurrent(4, 3);  // same row: nothing more
    QCOMPARE(written, QStringList({"MA053\r\n", "MA054\r\n"}));
    f.key(Qt::Key_6, Qt::ControlModifier);  // the Dummy bank is not in the scanner
    f.setCurrent(9, 1);
    QCOMPARE(written.size(), 2);
    // A pulled cable ends Direct Tune.
    line->pull();
    QTRY_VERIFY(!f.window->directTune());
    QVERIFY(!f.action("ditun")->isChecked());
    // Off again: nothing is sent.
    f.trigger("ditun");
    f.trigger("ditun");
    const int before = written.size();
    f.setCurrent(12, 1);
    QCOMPARE(written.size(), before);
    // The communication windows take the port: Direct Tune lets it go first.
    f.trigger("ditun");
    QVERIFY(f.window->directTune());
    f.window->sendToScanner([&] { QVERIFY(!f.window->directTune()); });
}

void MemTabFilesTest::directTuneReportsABusyPort() {
    Fixture f;
    QStringList written;
    f.window->makeTransport = [&](const ComSettings&) {
        return std::make_unique<RecordingLine>(&written, TransportFault::Busy);
    };
    f.trigger("ditun");
    QVERIFY(!f.window->directTune());
    QVERIFY(!f.action("ditun")->isChecked());
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY(f.prompter.told[0].contains(QString::fromLatin1(kPortUnavailableMessage.data())));
    QVERIFY(written.isEmpty());
}

void MemTabFilesTest::droppedFileOpensAndFillsTagLists() {
    QTemporaryDir other;
    const QString mem = other.filePath("dropped.mem");
    {
        Image image;
        ClearForStartup(image);
        SetStartupBankTags(image);
        image.channel(0, 1)[kFieldFrequency] = "0460.0250";
        image.channel(0, 1)[kFieldTag] = "CITY";
        image.channel(1, 7)[kFieldFrequency] = "0155.4750";
        image.channel(1, 7)[kFieldTag] = "STATE";
        QVERIFY(WriteMemFile(image, mem.toStdString(), Options{}).ok);
    }
    Fixture f([](AppState& s) { s.options.option[9] = 1; });
    f.enter(1, 1, "155");  // unsaved: the drop asks first
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(mem)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    f.prompter.answers = {Answer::No};
    QApplication::sendEvent(f.window.get(), &drop);
    QCOMPARE(f.prompter.asked.size(), 1);
    QCOMPARE(f.window->fileName(), mem);
    QCOMPARE(f.cell(1, 2), QString("CITY"));
    auto* all = f.window->findChild<QComboBox*>("textcombo");
    QStringList listed;
    for (int i = 0; i < all->count(); ++i) listed << all->itemText(i);
    QVERIFY(listed.contains("CITY"));
    QVERIFY(listed.contains("STATE"));
    // Anything but one MEM file is not taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(other.filePath("notes.txt"))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(f.window.get(), &refused);
    QVERIFY(!refused.isAccepted());
}

void MemTabFilesTest::saveDialogAddsTheSuffixItself() {
    QTemporaryDir dir;
    QTimer::singleShot(0, [&dir] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->defaultSuffix(), QString("mem"));
        dialog->setDirectory(dir.path());
        dialog->selectFile("scanner");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    DialogPrompter prompter;
    const QString chosen = prompter.saveFileName(nullptr, "Save As", "VEXA data files (*.mem)");
    QCOMPARE(chosen, dir.filePath("scanner.mem"));
}

void MemTabFilesTest::readAndSendOpenTheCommunicationWindow() {
    Fixture f([](AppState& s) { s.com.device = "/nonexistent/vexatron-test-port"; });
    f.window->setFileName(f.path("mine.mem"));
    for (const char* name : {"menread", "memsend"}) {
        QString title;
        QTimer::singleShot(0, [&title] {
            QWidget* modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            title = modal->windowTitle();
            QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
        });
        f.trigger(name);
        QCOMPARE(title, QString(name) == "menread" ? QString("Read Data") : QString("Send Data"));
    }
    // Nothing was read: the file and its name stay.
    QCOMPARE(f.window->fileName(), f.path("mine.mem"));
    QCOMPARE(f.prompter.unexpected, 0);
}

QTEST_MAIN(MemTabFilesTest)
#include "memtab_files.moc"
