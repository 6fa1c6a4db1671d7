// The main window's grid driven through the real widgets: typing, keys, bank tabs, commands
// and undo. The rules themselves are the editor's; here they reach the grid and the prompts.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QtTest>

#include "gui/memtab_support.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

// Typed key by key into a cell, with a channel at 155.475 MHz in row 1 (row 2 is empty).
struct Typed {
    const char* name;
    int row, field;
    const char* typed;
    const char* shown;
};
const Typed kTyped[] = {
    {"zero leaves a channel empty", 2, 1, "0", ""},
    {"tag stops at 16, refuses a quote", 1, 2, "ABCDEFGHIJ\"KLMNOPQRSTU", "ABCDEFGHIJKLMNOP"},
    {"flag key 1", 1, 3, "1", "On"},
};

// Commands that ask first, with channels at rows 1 and 50 of bank 2.
struct Asking {
    const char* name;
    const char* command;
    const char* question;
};
const Asking kAsking[] = {
    {"Insert Line with slot 50 used", "memtab_inslin", "Channel 100 contains data."},
    {"Clear Selected Lines", "memtab_delline", "Are you sure?"},
    {"Remove Selected Lines", "memtab_shiftup", "Remove Selected Lines|"},
    {"Clear Current Bank", "menucreate", "This will clear the current bank."},
};

// Each command on a bank of channels at rows 1 (460, "B"), 3 (155, "A"), 4 (155, "TAG999999"),
// 5 (155), 6 (156, a 20-character tag) and 7 (600 MHz, off the plan): what a cell then shows, what
// the user is told, and Undo takes the command back as one step.
struct Command {
    const char* name;
    const char* command;
    Selection selection;
    int row, field;
    const char* shown;
    const char* told;  // a part of the notice, "" for none, null when not looked at
};

const Command kCommands[] = {
    {"sort", "sort_allb", {1, 1, 1, 1, 1, 1}, 1, 1, "0155.0000", nullptr},
    {"fill down", "menu_fd", {1, 2, 1, 1, 1, 1}, 2, 1, "0460.0000", ""},
    {"fill series", "menu_fs", {4, 5, 2, 2, 4, 2}, 5, 2, "TAG1000000", ""},
    {"fill series outside tags", "menu_fs", {1, 2, 1, 1, 1, 1}, 2, 1, "", "Fill Series|"},
    {"insert line", "memtab_inslin", {1, 1, 1, 1, 1, 1}, 2, 1, "0460.0000", ""},
    {"remove empty lines", "memtab_remlines", {1, 1, 1, 1, 1, 1}, 2, 1, "0155.0000", nullptr},
    {"shift down", "edit_shiftdown", {1, 1, 1, 1, 1, 1}, 2, 1, "0460.0000", ""},
    {"delete cells", "tab_delete", {1, 1, 2, 2, 1, 2}, 1, 2, "", ""},
    {"check data", "checktab", {1, 1, 1, 1, 1, 1}, 6, 2, "ABCDEFGHIJKLMNOP", nullptr},
    {"bandplan", "runband1", {1, 1, 1, 1, 1, 1}, 7, 1, "0512.0000", "0600.0000 -> 0512.0000"},
    {"bandplan, all banks", "runband2", {1, 1, 1, 1, 1, 1}, 7, 1, "0512.0000", "-> 0512.0000"},
    {"duplicates", "fd_curbank", {1, 1, 1, 1, 1, 1}, 3, 1, "0155.0000", "Found: 3 and 4"},
    {"shortcut list",
     "shortkey",
     {1, 1, 1, 1, 1, 1},
     1,
     1,
     "0460.0000",
     "CTRL + D = shift channel down"},
    {"empty status", "emptystatus", {1, 1, 1, 1, 1, 1}, 1, 1, "0460.0000", "Bank Empty Status|"},
};

class MemTabTest : public QObject {
    Q_OBJECT
  private slots:
    void typedIntoACell_data() { AddRows(kTyped); }
    void typedIntoACell() {
        const Typed& t = FetchRow(kTyped);
        Fixture f;
        f.enter(1, 1, "155.475");
        f.enter(t.row, t.field, t.typed);
        QCOMPARE(f.cell(t.row, t.field), QString(t.shown));
        QCOMPARE(f.prompter.unexpected, 0);
    }

    // What the entry rule says reaches the status line, and Enter goes on to the next channel.
    void frequencyEntryIsToldInTheStatusLine() {
        Fixture f;
        f.enter(3, 1, "162.553");
        QCOMPARE(f.window->statusBar()->currentMessage(),
                 QString("162.553 MHz is on no channel raster: stored 0162.5500 (5 kHz below)."));
        QCOMPARE(f.grid()->currentIndex().row(), 3);
    }

    // The tester keeps watching while the window changes the grid as a whole.
    void modelContractAndDoubleClick() {
        Fixture f;
        QAbstractItemModel* m = f.grid()->model();
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.enter(1, 1, "155");
        QVERIFY(!m->setData(m->index(0, 0), "abc"));         // letters in a frequency
        QVERIFY(!m->setData(m->index(0, 2), "Maybe"));       // a flag is On, Off or blank
        QVERIFY(!m->setData(m->index(0, 1), QString("Ā")));  // not Latin-1
        QVERIFY(!m->setData(m->index(0, 1), "A\"B"));        // what nobody could type
        QVERIFY(m->setData(m->index(0, 1), "12345678901234567890"));
        QCOMPARE(f.cell(1, 2), QString("1234567890123456"));  // cut as Enter cuts it
        QVERIFY(m->setData(m->index(0, 0), "162.553"));
        QCOMPARE(f.cell(1, 1), QString("0162.5500"));
        QVERIFY(!(m->flags(m->index(0, 2)) & Qt::ItemIsEditable));
        // Space and a double click toggle a flag.
        f.setCurrent(1, 3);
        f.key(Qt::Key_Space);
        QCOMPARE(f.cell(1, 3), QString("On"));
        const QRect r = f.grid()->visualRect(m->index(0, 4));
        QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, r.center());
        const QString afterDouble = f.cell(1, 5);
        QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(afterDouble != f.cell(1, 5));
        f.window->storeGrid();
        QCOMPARE(f.channel(0, 1)[kFieldTrunk], std::string("1"));
        f.enter(2, 1, "150");
        f.trigger("sort_allb");
        f.key(Qt::Key_3, Qt::ControlModifier);
        f.key(Qt::Key_1, Qt::ControlModifier);
        f.trigger("tabundo");
        f.prompter.answers = {Answer::No};
        f.trigger("menunew");
        QCOMPARE(f.cell(1, 1), QString());
    }

    void bankSwitchKeepsEditsAndShowsDummyNotice() {
        Fixture f;
        auto* tabs = f.window->findChild<QTabBar*>("tabbed1");
        auto* notice = f.window->findChild<QLabel*>("dummyNotice");
        auto* caption = f.window->findChild<QLabel*>("bankCaption");
        QVERIFY(tabs && notice && caption);
        QCOMPARE(tabs->tabText(0), QString("1: Bank: 1"));
        QVERIFY(!notice->isVisible());
        f.window->setFileName("/tmp/x.mem");
        QCOMPARE(f.window->windowTitle(), QString("Vexatron for BCT8 - [ /tmp/x.mem ]"));
        QCOMPARE(f.window->findChild<QLineEdit*>("fnaam")->text(), QString("/tmp/x.mem"));

        f.enter(1, 1, "154.43");
        f.key(Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(caption->text(), QString("Bank 2"));
        QCOMPARE(f.cell(1, 1), QString());
        QCOMPARE(f.grid()->model()->headerData(0, Qt::Vertical).toInt(), 51);
        f.key(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f.window->editor().currentBank(), 2);
        f.key(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f.window->editor().currentBank(), 1);
        tabs->setCurrentIndex(5);
        QCOMPARE(f.window->editor().currentBank(), kDummyBank);
        QCOMPARE(caption->text(), QString("Dummy Bank"));
        QVERIFY(notice->isVisible());
        f.key(Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(f.cell(1, 1), QString("0154.4300"));
        // Bank tags caption the tabs and the View menu; "&" stays a character.
        f.state.image.BankTag[1] = "  Fire & Rescue";
        f.window->updateBankCaptions();
        QCOMPARE(tabs->tabText(1), QString("2:   Fire && Rescue"));
        QCOMPARE(f.action("bk0_1")->text(), QString("Fire && Rescue"));
    }

    // No keeps the data, Yes goes on.
    void commandsAskFirst_data() { AddRows(kAsking); }
    void commandsAskFirst() {
        const char* command = FetchRow(kAsking).command;
        const QString question = FetchRow(kAsking).question;
        Fixture f;
        f.key(Qt::Key_2, Qt::ControlModifier);
        f.enter(50, 1, "155");
        f.enter(1, 1, "460");
        f.selectBlock(1, 1, 1, 5);
        f.prompter.answers = {Answer::No};
        f.trigger(command);
        QCOMPARE(f.prompter.asked.size(), 1);
        QVERIFY2(f.prompter.asked[0].contains(question), qPrintable(f.prompter.asked[0]));
        QCOMPARE(f.cell(1, 1), QString("0460.0000"));
        f.prompter.answers = {Answer::Yes};
        f.trigger(command);
        QVERIFY(f.cell(1, 1).isEmpty());
    }

    void commandsReachTheGrid_data() { AddRows(kCommands); }

    void commandsReachTheGrid() {
        const Command& c = FetchRow(kCommands);
        Fixture f;
        const auto put = [&f](int slot, const char* frequency, const char* tag) {
            f.state.image.channel(0, slot)[kFieldFrequency] = frequency;
            f.state.image.channel(0, slot)[kFieldTag] = tag;
        };
        put(1, "0460.0000", "B");
        put(3, "0155.0000", "A");
        put(4, "0155.0000", "TAG999999");
        put(5, "0155.0000", "");
        put(6, "0156.0000", "ABCDEFGHIJKLMNOPQRST");
        put(7, "0600.0000", "");
        f.window->showBank();
        const Image before = f.state.image;
        const Selection& s = c.selection;
        f.selectBlock(s.firstRow, s.lastRow, s.firstField, s.lastField);
        f.trigger(c.command);
        QCOMPARE(f.cell(c.row, c.field), QString(c.shown));
        const QString told = f.prompter.told.join('\n');
        if (c.told) QVERIFY2(*c.told ? told.contains(c.told) : told.isEmpty(), qPrintable(told));
        QCOMPARE(f.prompter.unexpected, 0);
        f.window->storeGrid();
        if (f.state.image == before) return;
        f.trigger("tabundo");
        QVERIFY(f.state.image == before);
    }

    void copyPasteWithSpreadsheetText() {
        Fixture f;
        f.enter(1, 1, "155.475");
        f.enter(1, 2, "STATE");
        f.selectBlock(1, 1, 1, 2);
        f.key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().trimmed(), QString("0155.4750\tSTATE"));
        // Rows as a spreadsheet puts them on the clipboard: LF line ends, a trailing one.
        QApplication::clipboard()->setText("460.025\tCITY PD\tOn\r\n600\tTOO \"HIGH\"\tOff\n");
        f.setCurrent(5, 1);
        f.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.cell(5, 2), QString("CITY PD"));
        QCOMPARE(f.cell(5, 3), QString("On"));
        QCOMPARE(f.cell(6, 1), QString("0512.0000"));
        QVERIFY(!f.cell(6, 2).contains('"'));
        QCOMPARE(f.cell(7, 1), QString());
        // Whole lines keep their comments through Copy Line(s) / Paste Line(s).
        f.window->storeGrid();
        f.state.image.channel(0, 5)[kFieldComment] = "note";
        f.selectBlock(5, 5, 1, 5);
        f.trigger("copy_line");
        f.setCurrent(10, 1);
        f.trigger("paste_line");
        QCOMPARE(f.cell(10, 2), QString("CITY PD"));
        QCOMPARE(f.channel(0, 10)[kFieldComment], std::string("note"));
    }

    void deleteKeyClearsSelectedCells() {
        Fixture f;
        f.enter(1, 1, "155");
        f.enter(1, 2, "X");
        f.selectBlock(1, 1, 2, 2);
        f.key(Qt::Key_Delete);
        QCOMPARE(f.cell(1, 2), QString());
        QCOMPARE(f.cell(1, 1), QString("0155.0000"));
        // Inside the edit box Del deletes a character, not cells.
        f.setCurrent(1, 2);
        f.type("ABCD");
        f.key(Qt::Key_Home);
        f.key(Qt::Key_Delete);
        f.key(Qt::Key_Return);
        QCOMPARE(f.cell(1, 2), QString("BCD"));
        // Enter fills every selected cell.
        f.selectBlock(3, 7, 2, 2);
        f.grid()->setFocus();
        f.type("POLICE");
        f.key(Qt::Key_Return);
        QCOMPARE(f.cell(3, 2), QString("POLICE"));
        QCOMPARE(f.cell(7, 2), QString("POLICE"));
        QCOMPARE(f.cell(2, 2), QString());
        QCOMPARE(f.cell(8, 2), QString());
        // Ctrl+A and Del clear the whole bank's cells.
        f.grid()->setFocus();
        f.key(Qt::Key_A, Qt::ControlModifier);
        const Selection all = f.grid()->selection();
        QCOMPARE(QList<int>({all.firstRow, all.lastRow, all.firstField, all.lastField}),
                 QList<int>({1, 50, 1, 5}));
        f.key(Qt::Key_Delete);
        QCOMPARE(f.cell(1, 1), QString());
    }

    void duplicatesWrittenAndShown() {
        Fixture f;
        f.key(Qt::Key_6, Qt::ControlModifier);
        f.enter(1, 1, "155");
        f.key(Qt::Key_1, Qt::ControlModifier);
        // Many pairs: the box shows the first ones and names the file with all of them.
        for (int row = 1; row <= 50; ++row) f.enter(row, 1, "155");
        f.trigger("fd_allbanks");
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY(f.prompter.told[0].contains("more."));
        QVERIFY(f.prompter.told[0].contains("dupl.txt"));
        QVERIFY(f.prompter.told[0].count('\n') < 40);
        QFile all(f.path("dupl.txt"));
        QVERIFY(all.open(QIODevice::ReadOnly));
        const QByteArray report = all.readAll();
        QCOMPARE(report.count('\n'), 51 * 50 / 2);
        QVERIFY(report.contains("Duplicate Channel Found: 1 and 251"));  // the Dummy bank too
    }

    void easyTagListsPickIntoTagCell() {
        Fixture f([](AppState& s) { s.options.option[9] = 1; });
        auto* all = f.window->findChild<QComboBox*>("textcombo");
        auto* bank = f.window->findChild<QComboBox*>("bankcombo");
        QVERIFY(all && bank && all->isVisible());
        f.enter(1, 1, "155");
        f.enter(1, 2, "  STATE POLICE");
        f.enter(2, 1, "156");
        f.enter(2, 2, "STATE POLICE");  // already listed: not added twice
        f.key(Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(all->count(), 1);
        QCOMPARE(bank->count(), 0);  // bank 2 has no tags of its own
        f.enter(1, 1, "460");
        f.setCurrent(1, 2);
        all->activated(0);
        QCOMPARE(f.cell(1, 2), QString("STATE POLICE"));
        Fixture g;  // without option9 the lists are not shown
        QVERIFY(!g.window->findChild<QComboBox*>("textcombo")->isVisible());
    }

    void toolbarToggleAndEmptyMenusHidden() {
        Fixture f;
        f.trigger("mnu_toolb");
        QVERIFY(!f.window->toolbar(1)->isVisible());
        QCOMPARE(f.state.options.toolbar, 0);
        auto* help = f.window->findChild<QLabel*>("Label4");
        const QRect tagCell = f.grid()->visualRect(f.grid()->model()->index(0, 1));
        QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, tagCell.center());
        QVERIFY(help->text().contains("Maximum 16 characters"));  // the help bar follows the column
        f.trigger("mnu_helpbar");
        QVERIFY(!help->isVisible());
        QCOMPARE(f.state.options.helpbar, 0);
        // A menu is not shown until an entry joins it.
        QMenu* spare = f.window->menuBar()->addMenu("Spare");
        spare->menuAction()->setVisible(false);
        bool ran = false;
        f.window->addCommand(spare, "Test Entry", "test_entry", [&ran] { ran = true; });
        QVERIFY(spare->menuAction()->isVisible());
        f.trigger("test_entry");
        QVERIFY(ran);
        // The popup menu runs the same commands.
        f.enter(1, 1, "155");
        f.setCurrent(1, 1);
        for (QAction* a : f.window->findChild<QMenu*>("tabpop")->actions())
            if (a->text().startsWith("Insert Line")) a->trigger();
        QCOMPARE(f.cell(2, 1), QString("0155.0000"));
    }

    void typedTextIsTakenBeforeACommand() {
        Fixture f;
        f.setCurrent(1, 1);
        f.type("155");  // no Enter
        f.trigger("checktab");
        QCOMPARE(f.channel(0, 1)[kFieldFrequency], std::string("0155.0000"));
        f.setCurrent(2, 1);
        f.type("156");
        f.key(Qt::Key_3, Qt::ControlModifier);  // bank switch
        f.key(Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(f.cell(2, 1), QString("0156.0000"));
    }

    // Rows 3..7 selected in bank 1; after the switch a command acts on the current cell only.
    void bankSwitchDropsTheSelection() {
        Fixture f([](AppState& s) { s.options.expert = 1; });
        for (int slot = 1; slot <= 10; ++slot)
            f.state.image.channel(1, slot)[kFieldFrequency] = "0155.0000";
        f.selectBlock(3, 7, 1, 5);
        f.key(Qt::Key_2, Qt::ControlModifier);
        f.trigger("memtab_delline");
        int cleared = 0;
        for (int slot = 1; slot <= 10; ++slot) cleared += IsEmptyChannel(f.state.image, 1, slot);
        QCOMPARE(cleared, 1);
    }

    void ctrlShiftKeysExtendTheSelection() {
        Fixture f;
        const auto extendFromRow3Tag = [&f](Qt::Key key) {
            f.selectBlock(3, 3, 2, 2);
            f.key(key, Qt::ControlModifier | Qt::ShiftModifier);
            const Selection s = f.grid()->selection();
            return QList<int>({s.firstRow, s.firstField, s.lastRow, s.lastField});
        };
        QCOMPARE(extendFromRow3Tag(Qt::Key_End), QList<int>({3, 2, 50, 5}));
        QCOMPARE(extendFromRow3Tag(Qt::Key_Down), QList<int>({3, 2, 50, 2}));
    }

    void discardedEditsLeaveNoFlagAfterOpen() {
        Fixture f;
        const QString file = f.path("other.mem");
        QVERIFY(WriteMemFile(f.state.image, file.toStdString(), f.state.options));
        f.enter(1, 1, "155.5");
        f.prompter.answers = {Answer::No};  // "Save data?": drop the edits
        f.prompter.openNames = {file};
        f.trigger("tabopen");
        QCOMPARE(f.window->fileName(), file);
        QVERIFY(!f.window->editor().modified());
        QCOMPARE(f.window->findChild<QLabel*>("statusModified")->text(), QString());
    }
};

QTEST_MAIN(MemTabTest)
#include "memtab.moc"
