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
#include "trunk/trunk_window_flag.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// A serial line that records what is written to it.
class RecordingLine : public Transport {
  public:
    RecordingLine(QStringList* written, TransportFault openFault)
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

// A MEM file whose channel 1 is 460.025 MHz named `tag`, and channel 57 155.475 MHz "STATE".
bool WriteMem(const QString& path, const char* tag) {
    Image image;
    ClearForStartup(image);
    SetStartupBankTags(image);
    image.channel(0, 1)[kFieldFrequency] = "0460.0250";
    image.channel(0, 1)[kFieldTag] = tag;
    image.channel(1, 7)[kFieldFrequency] = "0155.4750";
    image.channel(1, 7)[kFieldTag] = "STATE";
    return WriteMemFile(image, path.toStdString(), Options{}).ok;
}

// A save or an open the file refuses: the user is told why, the edits stay.
struct Refused {
    const char* name;
    const char* command;
    const char* file;
    const char* why;
};
const Refused kRefused[] = {
    {"save into a missing folder", "savenu", "no/such/folder/x.mem", "No such file or directory"},
    {"save over a read-only file", "savenu", "readonly.mem", "it is read-only"},
    {"save over a folder", "savenu", "folder.mem", "it is a folder"},
    {"open a file of another program", "tabopen", "other.mem", "File is not VEXA compatible."},
    {"open a folder", "tabopen", "folder.mem", "The file cannot be opened: it is a folder."},
};

}  // namespace

class MemTabFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void saveAsThenSaveAndOpenBack() {
        Fixture f;
        f.enter(1, 1, "154.43");
        f.enter(1, 2, "FIRE, DISPATCH");
        f.prompter.saveNames = {f.path("first")};
        f.key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.window->fileName(), f.path("first.mem"));
        QVERIFY(!f.window->editor().modified());
        QVERIFY(f.prompter.lastFilter.contains("(*.mem)"));
        // Save goes to the same file without a dialog.
        f.enter(2, 1, "155");
        f.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.prompter.unexpected, 0);
        // Opened in a second window: the same channels.
        Fixture g;
        g.prompter.openNames = {f.path("first.mem")};
        g.trigger("tabopen");
        QCOMPARE(g.cell(1, 2), QString("FIRE, DISPATCH"));
        QCOMPARE(g.cell(2, 1), QString("0155.0000"));
        QCOMPARE(g.window->fileName(), f.path("first.mem"));
        // Save As cancelled: untitled, nothing written.
        f.prompter.saveNames = {QString()};
        f.trigger("tabsaveas");
        QCOMPARE(f.window->fileName(), QString("Untitled"));
        QCOMPARE(QDir(f.dir.path()).entryList({"*.mem"}), QStringList({"first.mem"}));
    }

    void refusedFileKeepsTheEdits_data() { AddRows(kRefused); }
    void refusedFileKeepsTheEdits() {
        const Refused& r = FetchRow(kRefused);
        Fixture f;
        QVERIFY(WriteTestFile(f.path("readonly.mem"), "kept"));
        QFile::setPermissions(f.path("readonly.mem"), QFileDevice::ReadOwner);
        QVERIFY(QDir(f.dir.path()).mkdir("folder.mem"));
        QVERIFY(WriteTestFile(f.path("other.mem"), "SOMETHING ELSE\r\n1,2,3\r\n"));
        f.enter(1, 1, "155");
        f.prompter.answers = {Answer::No};  // "Save data?" before an open
        f.prompter.saveNames = {f.path(r.file)};
        f.prompter.openNames = {f.path(r.file)};
        f.trigger(r.command);
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY2(f.prompter.told[0].contains(r.why), qPrintable(f.prompter.told[0]));
        QVERIFY(f.window->editor().modified());
        QCOMPARE(f.cell(1, 1), QString("0155.0000"));
        QCOMPARE(ReadTestFile(f.path("readonly.mem")), QByteArray("kept"));
        if (QString(r.command) == "savenu")
            QVERIFY(f.prompter.told[0].contains("could not be saved"));
        else
            QCOMPARE(f.window->fileName(), QString("Untitled"));
    }

    void openDamagedFileAsksToTakeThePartRead_data() {
        QTest::addColumn<bool>("take");
        QTest::addRow("Yes takes the part read, untitled") << true;
        QTest::addRow("No leaves the table as it was") << false;
    }

    void openDamagedFileAsksToTakeThePartRead() {
        QFETCH(bool, take);
        Fixture f;
        Image written = f.state.image;
        written.channel(0, 1)[kFieldFrequency] = "0162.5500";
        written.channel(0, 3)[kFieldFrequency] = "0163.0000";
        std::string text = SerializeMemFile(written, f.state.options);
        // One field too many on the line of channel 2 would shift every later field.
        text.replace(text.find("\r\n2,"), 4, "\r\n2,\"x\",");
        QVERIFY(WriteTestFile(f.path("damaged.mem"), QByteArray::fromStdString(text)));
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
        QCOMPARE(f.cell(1, 1), take ? QString("0162.5500") : QString("0155.0000"));
        QCOMPARE(f.cell(3, 1), QString());
        QCOMPARE(f.window->fileName(), take ? QString("Untitled") : f.path("before.mem"));
    }

    void newAsksAndOnlyNoOrASaveGoesOn() {
        Fixture f([](AppState& s) { s.options.cleartag = 1; });
        f.state.image.TrunkId[0][0][0] = "100";
        f.enter(1, 1, "155");
        f.prompter.answers = {Answer::Cancel};
        f.key(Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(f.prompter.asked,
                 QStringList({"Warning|This will clear your table.\nIf not saved, "
                              "data is lost!\nSave data?"}));
        QCOMPARE(f.cell(1, 1), QString("0155.0000"));
        // Yes, then a cancelled save dialog: the command stops too.
        f.prompter.answers = {Answer::Yes};
        f.prompter.saveNames = {QString()};
        f.trigger("menunew");
        QCOMPARE(f.prompter.unexpected, 0);
        QCOMPARE(f.cell(1, 1), QString("0155.0000"));
        f.prompter.answers = {Answer::No};
        f.trigger("menunew");
        QCOMPARE(f.cell(1, 1), QString());
        QVERIFY(!f.window->editor().modified());
        QCOMPARE(f.state.image.TrunkId[0][0][0], std::string());
        QCOMPARE(f.window->findChild<QTabBar*>("tabbed1")->tabText(0), QString("1: Bank 1"));
    }

    // edit: "" none, "entered" 155 in channel 1, "typed" the same still in the edit box.
    void exitQuestions_data() {
        QTest::addColumn<bool>("askExit");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("asked");
        const QString exit = "Exit|Exit VEXA?";
        const QString save = "Warning|Save data?";
        const int yes = int(Answer::Yes);
        const int cancel = int(Answer::Cancel);
        QTest::addRow("nothing to ask") << false << "" << QList<int>{} << true << QStringList{};
        QTest::addRow("Exit? cancelled")
            << true << "" << QList<int>{cancel} << false << QStringList{exit};
        QTest::addRow("Save? cancelled")
            << true << "entered" << QList<int>{yes, cancel} << false << QStringList{exit, save};
        QTest::addRow("edit box asked about")
            << false << "typed" << QList<int>{cancel} << false << QStringList{save};
        QTest::addRow("Save? Yes saves")
            << false << "entered" << QList<int>{yes} << true << QStringList{save};
    }

    void exitQuestions() {
        QFETCH(bool, askExit);
        QFETCH(QString, edit);
        QFETCH(QList<int>, answers);
        QFETCH(bool, closes);
        QFETCH(QStringList, asked);
        Fixture f([&](AppState& s) {
            s.options.option[4] = askExit ? 0 : 1;
            s.options.loadlast = 1;
        });
        QVERIFY(WriteTestFile(f.path("lastfile.ini"), "/some/where.mem\r\n"));
        if (!edit.isEmpty()) {
            f.setCurrent(1, 1);
            f.type("155");
            if (edit == "entered") f.key(Qt::Key_Return);
        }
        for (int a : answers) f.prompter.answers.push_back(Answer(a));
        f.prompter.saveNames = {f.path("kept.mem")};
        QSignalSpy ended(f.window.get(), &MemTab::ended);
        QCOMPARE(f.window->close(), closes);
        QCOMPARE(ended.count(), closes ? 1 : 0);
        QCOMPARE(f.prompter.asked, asked);
        QCOMPARE(f.cell(1, 1), edit.isEmpty() ? QString() : QString("0155.0000"));
        for (const char* name : {"lastused.sav", "setup.ini"})
            QVERIFY2(QFile::exists(f.path(name)) == closes, name);
        const bool saved = closes && !edit.isEmpty();
        QCOMPARE(ReadTestFile(f.path("kept.mem")).contains("0155.0000"), saved);
        // The last file is the one saved; an untitled table leaves the one before.
        QCOMPARE(ReadTestFile(f.path("lastfile.ini")).trimmed(),
                 saved ? f.path("kept.mem").toUtf8() : QByteArray("/some/where.mem"));
        if (closes) QVERIFY(ReadTestFile(f.path("lastused.sav")).startsWith("VEXA MEM V1.00"));
    }

    void exitWriteFailuresAreToldOnce() {
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
    }

    void unusableSettingsFilesAreToldAtStart() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("setup.ini"));
        QVERIFY(QFile::link("/dev/zero", dir.filePath("names.dat")));
        AppState state;
        QVERIFY(LoadStartupState(dir.path().toStdString(), state).ok);
        ScriptedPrompter prompter;
        MemTab window(state, prompter);
        window.tellStartupNotes();
        window.tellStartupNotes();  // once
        QCOMPARE(prompter.told.size(), 1);
        QVERIFY(prompter.told[0].contains(dir.filePath("setup.ini") + ": it is a folder"));
        QVERIFY(prompter.told[0].contains(dir.filePath("names.dat") + ": it is not a plain file"));
    }

    void reloadAtStartup() {
        QTemporaryDir other;
        const QString mem = other.filePath("last.mem");
        QVERIFY(WriteMem(mem, "RELOADED"));
        Fixture f([](AppState& s) { s.options.loadlast = 1; });
        QVERIFY(WriteTestFile(f.path("lastfile.ini"), mem.toUtf8() + "\r\n"));
        f.window->scheduleStartupReload();
        QCOMPARE(f.cell(1, 2), QString());  // not at once: after the 200 ms timer
        QTRY_COMPARE(f.cell(1, 2), QString("RELOADED"));
        QCOMPARE(f.window->fileName(), mem);
        // A file gone since: told, and loadlast switched off.
        QVERIFY(WriteTestFile(f.path("lastfile.ini"), f.path("gone.mem").toUtf8()));
        f.window->reloadLastFile();
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY(f.prompter.told[0].contains(
            "gone.mem\n\nThe file cannot be opened: it does not exist."));
        QCOMPARE(f.state.options.loadlast, 0);
    }

    void backupEveryMinuteAndPauses() {
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
        QVERIFY(ReadTestFile(backup.filePath(files[0])).contains("0155.0000"));
        // Paused while a trunk window is open, Virtual Control runs or backups are off.
        f.window->clock = [] { return QDateTime(QDate(2026, 12, 4), QTime(17, 6, 33)); };
        {
            TrunkWindowOpenScope trunkOpen;
            f.window->backupTick();
        }
        f.window->virtualControlRunning = [] { return true; };
        f.window->backupTick();
        f.window->virtualControlRunning = [] { return false; };
        f.state.options.backena = 0;
        f.window->backupTick();
        QCOMPARE(backup.entryList({"*membackup.mem"}).size(), 1);
        f.state.options.backena = 1;
        f.window->backupTick();
        QCOMPARE(backup.entryList({"*membackup.mem"}).size(), 2);
    }

    void windowPlacementAndColumnWidthsSurvive() {
        Fixture f([](AppState& s) {
            s.options.window = 1;
            s.options.tabwidth = 1;
        });
        f.grid()->horizontalHeader()->resizeSection(1, 333);
        QVERIFY(f.window->close());
        AppState state;
        QVERIFY(LoadStartupState(f.folder(), state).ok);
        QCOMPARE(state.options.window, 1);
        QCOMPARE(state.columnWidths.size(), 10u);
        QCOMPARE(state.columnWidths[1], 333 * kTwipsPerPixel);
        ScriptedPrompter prompter;
        MemTab window(state, prompter);
        QCOMPARE(window.grid()->horizontalHeader()->sectionSize(1), 333);
    }

    void readAndSendAroundTheirWindows() {
        Fixture f;
        bool opened = false;
        // Refused while Virtual Control runs.
        f.window->virtualControlRunning = [] { return true; };
        f.window->readFromScanner([&] { return opened = true; });
        f.window->sendToScanner([&] { opened = true; });
        f.trigger("comset");
        QVERIFY(!opened);
        QCOMPARE(f.prompter.told.size(), 3);
        QVERIFY(f.prompter.told[2].endsWith("|Not possible while Virtual Control is running"));
        QVERIFY(f.dialogs.opened.isEmpty());
        f.window->virtualControlRunning = [] { return false; };
        f.window->setFileName(f.path("mine.mem"));
        f.setCurrent(1, 1);
        f.type("155");  // still in the edit box: stored before the windows open
        f.window->sendToScanner([&] {
            opened = true;
            QCOMPARE(f.channel(0, 1)[kFieldFrequency], std::string("0155.0000"));
        });
        QVERIFY(opened);
        // A read asks to save first; Cancel stops before the window opens.
        opened = false;
        f.prompter.answers = {Answer::Cancel};
        f.window->readFromScanner([&] { return opened = true; });
        QCOMPARE(f.prompter.asked, QStringList({"Not Saved|Data is not saved. Save it now?"}));
        QVERIFY(!opened);
        // Nothing read: the edits and the file name stay.
        f.prompter.answers = {Answer::No};
        f.window->readFromScanner([&] { return false; });
        QVERIFY(f.window->editor().modified());
        QCOMPARE(f.window->fileName(), f.path("mine.mem"));
        // A read that replaced the image: untitled, unmodified, the new channels shown.
        f.prompter.answers = {Answer::No};
        f.window->readFromScanner([&] {
            f.state.image.channel(0, 1)[kFieldFrequency] = "0460.0250";
            return true;
        });
        QVERIFY(!f.window->editor().modified());
        QCOMPARE(f.window->fileName(), QString("Untitled"));
        QCOMPARE(f.cell(1, 1), QString("0460.0250"));
        // The menus open the communication window; a read cancelled there leaves the table.
        f.state.com.device = "/nonexistent/vexatron-test-port";
        QStringList titles;
        const auto closeIt = [&titles](QWidget* window) {
            titles << window->windowTitle();
            QMetaObject::invokeMethod(window, "reject");
        };
        f.triggerWith("menread", closeIt);
        f.triggerWith("memsend", closeIt);
        QCOMPARE(titles, QStringList({"Read Data", "Send Data"}));
        QCOMPARE(f.cell(1, 1), QString("0460.0250"));
        QCOMPARE(f.prompter.unexpected, 0);
    }

    void directTuneSendsTheSelectedChannel() {
        Fixture f;
        QStringList written;
        RecordingLine* line = nullptr;
        TransportFault openFault = TransportFault::Busy;
        f.window->makeTransport = [&](const ComSettings&) {
            auto made = std::make_unique<RecordingLine>(&written, openFault);
            line = made.get();
            return made;
        };
        f.trigger("ditun");  // a busy port: told, Direct Tune stays off
        QVERIFY(!f.action("ditun")->isChecked());
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY(f.prompter.told[0].contains(QString::fromLatin1(kPortUnavailableMessage.data())));
        openFault = TransportFault::None;
        f.key(Qt::Key_2, Qt::ControlModifier);
        f.setCurrent(3, 1);
        f.trigger("ditun");
        QVERIFY(f.action("ditun")->isChecked());
        f.setCurrent(4, 2);
        f.setCurrent(4, 3);                     // same row: nothing more
        f.key(Qt::Key_6, Qt::ControlModifier);  // the Dummy bank is not in the scanner
        f.setCurrent(9, 1);
        QCOMPARE(written, QStringList({"MA053\r\n", "MA054\r\n"}));
        line->pull();  // a pulled cable ends Direct Tune
        QTRY_VERIFY(!f.window->directTune());
        QVERIFY(!f.action("ditun")->isChecked());
        // The communication windows take the port: Direct Tune lets it go first.
        f.trigger("ditun");
        QVERIFY(f.window->directTune());
        f.window->sendToScanner([&] { QVERIFY(!f.window->directTune()); });
        f.setCurrent(12, 1);
        QCOMPARE(written.size(), 2);
    }

    void droppedFileOpensAndFillsTagLists() {
        QTemporaryDir other;
        const QString mem = other.filePath("dropped.mem");
        QVERIFY(WriteMem(mem, "CITY"));
        Fixture f([](AppState& s) { s.options.option[9] = 1; });
        f.enter(1, 1, "155");  // unsaved: the drop asks first
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(mem)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
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
        QVERIFY(all->findText("CITY") >= 0 && all->findText("STATE") >= 0);
        // Anything but one MEM file is not taken.
        QMimeData text;
        text.setUrls({QUrl::fromLocalFile(other.filePath("notes.txt"))});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton,
                                Qt::NoModifier);
        refused.ignore();
        QApplication::sendEvent(f.window.get(), &refused);
        QVERIFY(!refused.isAccepted());
    }

    void saveDialogAddsTheSuffixItself() {
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
};

QTEST_MAIN(MemTabFilesTest)
#include "memtab_files.moc"
