// The main window's grid driven through the real widgets: typing, keys, bank tabs, commands
// and undo.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
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

class MemTabTest : public QObject {
    Q_OBJECT
  private slots:
    void frequencyEntry_data();
    void frequencyEntry();
    void emptyOrZeroEntryLeavesChannelEmpty();
    void newFrequencyTakesDefaultFlags();
    void tagRefusesSeventeenthCharAndQuote();
    void enterFillsEverySelectedCell();
    void flagKeysAndDoubleClick();
    void bankSwitchKeepsEditsAndShowsDummyNotice();
    void titleAndFileBox();
    void sortInsertRemoveAndUndo();
    void insertLineAsksWhenSlot50Used();
    void clearLinesAsksAndNoKeepsData();
    void fillSeriesAndFillDown();
    void copyPasteWithSpreadsheetText();
    void deleteKeyClearsSelectedCells();
    void shiftChannelFollowsShiftdir();
    void checkDataNormalisesAndUndoes();
    void duplicatesWrittenAndShown();
    void modelContract();
    void helpBarFollowsColumn();
    void easyTagListsPickIntoTagCell();
    void keyboardShortcutsListed();
    void toolbarToggleAndEmptyMenusHidden();
    void popupMenuRunsTheCommands();
    void typedTextIsTakenBeforeACommand();
    void eachEntryUndoesOnItsOwn();
    void bankSwitchDropsTheSelection();
    void ctrlShiftKeysExtendTheSelection_data();
    void ctrlShiftKeysExtendTheSelection();
    void discardedEditsLeaveNoFlagAfterOpen();
    void gridWidensWithTheWindow();
    void bandplanCheckBringsChannelsOntoThePlan();
};

// The entry rules themselves are the editor's; here they reach the cell, the status line and the
// table, with the options applied.
void MemTabTest::frequencyEntry_data() {
    QTest::addColumn<int>("round");
    QTest::addColumn<int>("zero");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("told");  // the status line after Enter
    QTest::addRow("off raster rounds down")
        << 0 << 0 << "162.553"
        << "0162.5500"
        << "0162.5500"
        << "162.553 MHz is on no channel raster: stored 0162.5500 (5 kHz below).";
    QTest::addRow("no rounding with round 1") << 1 << 0 << "162.553"
                                              << "0162.5530"
                                              << "0162.5530"
                                              << "";
    QTest::addRow("between bands clamps") << 0 << 0 << "600"
                                          << "0512.0000"
                                          << "0512.0000"
                                          << "600 MHz lies outside the scanner's bands: stored "
                                             "0512.0000.";
    QTest::addRow("zero 1 hides leading zeros") << 0 << 1 << "162.55"
                                                << "162.5500"
                                                << "0162.5500"
                                                << "";
}

void MemTabTest::frequencyEntry() {
    QFETCH(int, round);
    QFETCH(int, zero);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    QFETCH(QString, told);
    Fixture f;
    f.state.options.round = round;
    f.state.options.zero = zero;
    f.window->applyOptions();
    f.enter(3, 1, typed);
    QCOMPARE(f.cell(3, 1), shown);
    QCOMPARE(f.window->statusBar()->currentMessage(), told);
    // Enter goes on to the next channel.
    QCOMPARE(f.grid()->currentIndex().row(), 3);
    QVERIFY(f.window->editor().modified());
    f.trigger("checktab");  // store and normalise: the table holds the canonical form
    QCOMPARE(QString::fromLatin1(f.channel(0, 3)[kFieldFrequency].c_str()), stored);
    QCOMPARE(f.prompter.unexpected, 0);
}

void MemTabTest::emptyOrZeroEntryLeavesChannelEmpty() {
    Fixture f;
    f.enter(1, 1, "0");
    QCOMPARE(f.cell(1, 1), QString());
    f.setCurrent(2, 1);
    f.key(Qt::Key_Return);
    QCOMPARE(f.cell(2, 1), QString());
    QCOMPARE(f.grid()->currentIndex().row(), 2);
    f.window->storeGrid();
    QVERIFY(IsEmptyChannel(f.state.image, 0, 1));
    QVERIFY(IsEmptyChannel(f.state.image, 0, 2));
}

void MemTabTest::newFrequencyTakesDefaultFlags() {
    Fixture f([](AppState& s) { s.defaults = DefaultData{{1, 0, 1}, {1, 1, 1}}; });
    f.enter(1, 1, "460.025");
    QCOMPARE(f.cell(1, 3), QString("On"));  // trunk default used
    QCOMPARE(f.cell(1, 4), QString());      // delay default switched off: untouched
    QCOMPARE(f.cell(1, 5), QString("On"));  // lockout default used
    // Moving down with Enter over a shown frequency changes nothing.
    f.setCurrent(1, 5);
    f.type("0");
    f.setCurrent(1, 1);
    f.key(Qt::Key_Return);
    QCOMPARE(f.cell(1, 5), QString("Off"));
}

void MemTabTest::tagRefusesSeventeenthCharAndQuote() {
    Fixture f;
    f.enter(1, 1, "155.475");
    f.setCurrent(1, 2);
    f.type("ABCDEFGHIJ\"KLMNOPQRSTU");
    f.key(Qt::Key_Return);
    QCOMPARE(f.cell(1, 2), QString("ABCDEFGHIJKLMNOP"));
    // setData refuses what the editor would not let anyone type.
    QVERIFY(!f.grid()->model()->setData(f.grid()->model()->index(0, 1), "A\"B"));
    QCOMPARE(f.cell(1, 2), QString("ABCDEFGHIJKLMNOP"));
    // A longer text set from outside is cut as Enter cuts it.
    QVERIFY(f.grid()->model()->setData(f.grid()->model()->index(0, 1), "12345678901234567890"));
    QCOMPARE(f.cell(1, 2), QString("1234567890123456"));
}

void MemTabTest::enterFillsEverySelectedCell() {
    Fixture f;
    f.selectBlock(3, 7, 2, 2);
    f.grid()->setFocus();
    f.type("POLICE");
    f.key(Qt::Key_Return);
    for (int row = 3; row <= 7; ++row) QCOMPARE(f.cell(row, 2), QString("POLICE"));
    QCOMPARE(f.cell(2, 2), QString());
    QCOMPARE(f.cell(8, 2), QString());
}

void MemTabTest::flagKeysAndDoubleClick() {
    Fixture f;
    f.enter(1, 1, "155.475");
    f.setCurrent(1, 3);
    f.type("1");
    QCOMPARE(f.cell(1, 3), QString("On"));
    f.type("f");
    QCOMPARE(f.cell(1, 3), QString("Off"));
    f.key(Qt::Key_Space);
    QCOMPARE(f.cell(1, 3), QString("On"));
    f.type("x");  // no flag key: swallowed, no edit box on a flag cell
    QCOMPARE(f.cell(1, 3), QString("On"));
    const QRect r = f.grid()->visualRect(f.grid()->model()->index(0, 4));
    QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, r.center());
    const QString afterDouble = f.cell(1, 5);
    QTest::mouseDClick(f.grid()->viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(afterDouble != f.cell(1, 5));
    f.window->storeGrid();
    QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldTrunk]), QString("1"));
}

void MemTabTest::bankSwitchKeepsEditsAndShowsDummyNotice() {
    Fixture f;
    auto* tabs = f.window->findChild<QTabBar*>("tabbed1");
    auto* notice = f.window->findChild<QLabel*>("dummyNotice");
    auto* caption = f.window->findChild<QLabel*>("bankCaption");
    QVERIFY(tabs && notice && caption);
    QCOMPARE(tabs->count(), 6);
    QCOMPARE(tabs->tabText(0), QString("1: Bank: 1"));
    QCOMPARE(caption->text(), QString("Bank 1"));
    QVERIFY(!notice->isVisible());

    f.enter(1, 1, "154.43");
    f.key(Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(f.window->editor().currentBank(), 1);
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
    QCOMPARE(notice->text(), QString::fromLatin1(kDummyNotice.data()));
    f.key(Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    // Bank tags caption the tabs and the View menu; "&" stays a character.
    f.state.image.BankTag[1] = "  Fire & Rescue";
    f.window->updateBankCaptions();
    QCOMPARE(tabs->tabText(1), QString("2:   Fire && Rescue"));
    QCOMPARE(f.action("bk0_1")->text(), QString("Fire && Rescue"));
    QCOMPARE(f.cell(1, 1), QString("0154.4300"));
    QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldFrequency]), QString("0154.4300"));
}

void MemTabTest::titleAndFileBox() {
    Fixture f;
    QCOMPARE(f.window->windowTitle(), QString("Vexatron for BCT8 - [ Untitled ]"));
    f.window->setFileName("/tmp/x.mem");
    QCOMPARE(f.window->windowTitle(), QString("Vexatron for BCT8 - [ /tmp/x.mem ]"));
    QCOMPARE(f.window->findChild<QLineEdit*>("fnaam")->text(), QString("/tmp/x.mem"));
}

void MemTabTest::sortInsertRemoveAndUndo() {
    Fixture f;
    f.enter(1, 1, "460");
    f.enter(3, 1, "155");
    f.enter(3, 2, "A");
    f.enter(4, 1, "155");
    f.enter(4, 2, "B");
    f.setCurrent(1, 1);
    f.trigger("sort_allb");
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    QCOMPARE(f.cell(1, 2), QString("A"));
    QCOMPARE(f.cell(2, 2), QString("B"));
    QCOMPARE(f.cell(3, 1), QString("0460.0000"));
    QCOMPARE(f.cell(4, 1), QString());

    f.trigger("tabundo");
    QCOMPARE(f.cell(1, 1), QString("0460.0000"));
    QCOMPARE(f.cell(3, 2), QString("A"));

    f.setCurrent(2, 1);
    f.trigger("memtab_inslin");
    QCOMPARE(f.cell(2, 1), QString());
    QCOMPARE(f.cell(4, 2), QString("A"));
    f.trigger("memtab_remlines");
    QCOMPARE(f.cell(2, 2), QString("A"));
    QCOMPARE(f.cell(3, 2), QString("B"));
    // Ctrl+Z is the same undo.
    f.grid()->setFocus();
    f.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.cell(4, 2), QString("A"));
    QCOMPARE(f.prompter.unexpected, 0);
}

void MemTabTest::insertLineAsksWhenSlot50Used() {
    Fixture f;
    f.key(Qt::Key_2, Qt::ControlModifier);
    f.enter(50, 1, "155");
    f.enter(1, 1, "460");
    f.setCurrent(1, 1);
    f.prompter.answers = {Answer::No};
    f.trigger("memtab_inslin");
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY(f.prompter.asked[0].contains("Channel 100 contains data."));
    QCOMPARE(f.cell(1, 1), QString("0460.0000"));
    f.prompter.answers = {Answer::Yes};
    f.trigger("memtab_inslin");
    QCOMPARE(f.cell(1, 1), QString());
    QCOMPARE(f.cell(2, 1), QString("0460.0000"));
    QCOMPARE(f.cell(50, 1), QString());
}

void MemTabTest::clearLinesAsksAndNoKeepsData() {
    Fixture f;
    f.enter(1, 1, "155");
    f.enter(2, 1, "156");
    f.selectBlock(1, 2, 1, 5);
    f.prompter.answers = {Answer::No};
    f.key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(f.prompter.asked.size(), 1);
    QVERIFY(f.prompter.asked[0].endsWith("Are you sure?"));
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    f.prompter.answers = {Answer::Yes};
    f.key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(f.cell(1, 1), QString());
    QCOMPARE(f.cell(2, 1), QString());
    // expert 1: no question at all.
    f.state.options.expert = 1;
    f.enter(3, 1, "157");
    f.selectBlock(3, 3, 1, 5);
    f.trigger("memtab_shiftup");
    QCOMPARE(f.cell(3, 1), QString());
    QCOMPARE(f.prompter.asked.size(), 2);
}

void MemTabTest::fillSeriesAndFillDown() {
    Fixture f;
    // Tags of empty channels are not shown, so the rows get frequencies first.
    for (int row = 1; row <= 3; ++row) f.enter(row, 1, "155");
    f.enter(1, 2, "TAG999999");
    f.selectBlock(1, 3, 2, 2);
    f.trigger("menu_fs");
    QCOMPARE(f.cell(2, 2), QString("TAG1000000"));
    QCOMPARE(f.cell(3, 2), QString("TAG1000001"));
    // Not in the tag column: told why, nothing changes.
    f.selectBlock(1, 3, 1, 1);
    f.trigger("menu_fs");
    QCOMPARE(f.prompter.told.size(), 1);
    f.selectBlock(1, 4, 1, 1);
    f.trigger("menu_fd");
    QCOMPARE(f.cell(4, 1), QString("0155.0000"));
}

void MemTabTest::copyPasteWithSpreadsheetText() {
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
    QCOMPARE(f.cell(5, 1), QString("0460.0250"));
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
    QCOMPARE(QString::fromStdString(f.channel(0, 10)[kFieldComment]), QString("note"));
}

void MemTabTest::deleteKeyClearsSelectedCells() {
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
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    // Ctrl+A and Del clear the whole bank's cells.
    f.grid()->setFocus();
    f.key(Qt::Key_A, Qt::ControlModifier);
    const Selection all = f.grid()->selection();
    QCOMPARE(all.firstRow, 1);
    QCOMPARE(all.lastRow, 50);
    QCOMPARE(all.firstField, 1);
    QCOMPARE(all.lastField, 5);
    f.key(Qt::Key_Delete);
    QCOMPARE(f.cell(1, 1), QString());
}

void MemTabTest::shiftChannelFollowsShiftdir() {
    Fixture f;
    f.enter(2, 1, "155");
    f.setCurrent(2, 1);
    f.key(Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(f.cell(3, 1), QString("0155.0000"));
    QCOMPARE(f.grid()->currentIndex().row(), 2);  // the selection moves with the channel
    f.state.options.shiftdir = 1;
    f.window->applyOptions();
    f.key(Qt::Key_D, Qt::ControlModifier);  // reversed: up
    QCOMPARE(f.cell(2, 1), QString("0155.0000"));
}

void MemTabTest::checkDataNormalisesAndUndoes() {
    Fixture f;
    f.window->storeGrid();
    f.state.image.channel(0, 1)[kFieldFrequency] = "162.55";
    f.state.image.channel(0, 1)[kFieldTag] = "ABCDEFGHIJKLMNOPQRST";
    f.state.image.channel(0, 1)[kFieldTrunk] = "On";
    f.window->showBank();
    f.trigger("checktab");
    QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldTag]), QString("ABCDEFGHIJKLMNOP"));
    QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldTrunk]), QString("0"));
    QCOMPARE(f.cell(1, 2), QString("ABCDEFGHIJKLMNOP"));
    f.trigger("tabundo");
    QCOMPARE(f.cell(1, 2), QString("ABCDEFGHIJKLMNOPQRST"));
}

void MemTabTest::duplicatesWrittenAndShown() {
    Fixture f;
    f.enter(1, 1, "155");
    f.key(Qt::Key_6, Qt::ControlModifier);
    f.enter(1, 1, "155");
    f.trigger("fd_allbanks");
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY(f.prompter.told[0].contains("Duplicate Channel Found: 1 and 251"));
    QFile report(f.path("dupl.txt"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    QVERIFY(report.readAll().contains("Duplicate Channel Found: 1 and 251"));
    // Many pairs: the box shows the first ones and names the file with all of them.
    for (int row = 2; row <= 50; ++row) f.enter(row, 1, "155");
    f.trigger("fd_curbank");
    QCOMPARE(f.prompter.told.size(), 2);
    QVERIFY(f.prompter.told[1].contains("more."));
    QVERIFY(f.prompter.told[1].contains("dupl.txt"));
    QVERIFY(f.prompter.told[1].count('\n') < 40);
    QFile all(f.path("dupl.txt"));
    QVERIFY(all.open(QIODevice::ReadOnly));
    QCOMPARE(all.readAll().count('\n'), 50 * 49 / 2);
}

void MemTabTest::modelContract() {
    Fixture f;
    QAbstractItemModelTester tester(f.grid()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModel* m = f.grid()->model();
    f.enter(1, 1, "155");
    QVERIFY(!m->setData(m->index(0, 0), "abc"));         // letters in a frequency
    QVERIFY(!m->setData(m->index(0, 2), "Maybe"));       // a flag is On, Off or blank
    QVERIFY(!m->setData(m->index(0, 1), QString("Ā")));  // not Latin-1
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
    QVERIFY(m->setData(m->index(0, 2), "On"));
    QCOMPARE(f.cell(1, 3), QString("On"));
    QVERIFY(m->setData(m->index(0, 0), "162.553"));
    QCOMPARE(f.cell(1, 1), QString("0162.5500"));
    QVERIFY(!(m->flags(m->index(0, 2)) & Qt::ItemIsEditable));
    QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QString("Freq. (MHz)"));
    QCOMPARE(m->headerData(4, Qt::Horizontal).toString(), QString("Lock Out"));
    // The tester keeps watching while the window changes the grid as a whole.
    f.enter(2, 1, "150");
    f.trigger("sort_allb");
    f.key(Qt::Key_3, Qt::ControlModifier);
    f.key(Qt::Key_1, Qt::ControlModifier);
    f.trigger("tabundo");
    f.prompter.answers = {Answer::No};
    f.trigger("menunew");
    QCOMPARE(f.cell(1, 1), QString());
}

void MemTabTest::helpBarFollowsColumn() {
    Fixture f;
    auto* help = f.window->findChild<QLabel*>("Label4");
    const QRect r = f.grid()->visualRect(f.grid()->model()->index(0, 1));
    QTest::mouseClick(f.grid()->viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(help->text().contains("Tag:"));
    QVERIFY(help->text().contains("Maximum 16 characters"));
}

void MemTabTest::easyTagListsPickIntoTagCell() {
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
    QCOMPARE(all->itemText(0), QString("STATE POLICE"));
    QCOMPARE(bank->count(), 0);  // bank 2 has no tags of its own
    f.enter(1, 1, "460");
    f.setCurrent(1, 2);
    all->activated(0);
    QCOMPARE(f.cell(1, 2), QString("STATE POLICE"));
    // Without option9 the lists are not shown.
    Fixture g;
    QVERIFY(!g.window->findChild<QComboBox*>("textcombo")->isVisible());
}

void MemTabTest::keyboardShortcutsListed() {
    Fixture f;
    f.trigger("shortkey");
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY(f.prompter.told[0].contains("You can use these keyboard shortcuts,"));
    QVERIFY(f.prompter.told[0].contains("CTRL + D = shift channel down"));
    QVERIFY(f.prompter.told[0].contains(
        QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText) + " = Save"));
}

void MemTabTest::toolbarToggleAndEmptyMenusHidden() {
    Fixture f;
    auto* t1 = f.window->toolbar(1);
    QVERIFY(t1->isVisible());
    f.trigger("mnu_toolb");
    QVERIFY(!t1->isVisible());
    QCOMPARE(f.state.options.toolbar, 0);
    f.trigger("mnu_toolb");
    QVERIFY(t1->isVisible());
    auto* help = f.window->findChild<QLabel*>("Label4");
    QVERIFY(help->isVisible());
    QVERIFY(f.action("mnu_helpbar")->isChecked());
    f.trigger("mnu_helpbar");
    QVERIFY(!help->isVisible());
    QCOMPARE(f.state.options.helpbar, 0);
    // A menu whose windows are not in the program is not shown until an entry joins it.
    QVERIFY(f.window->menu(MemTab::Menu::Internet)->menuAction()->isVisible());
    QMenu* spare = f.window->menuBar()->addMenu("Spare");
    spare->menuAction()->setVisible(false);
    bool ran = false;
    f.window->addCommand(spare, "Test Entry", "test_entry", [&ran] { ran = true; });
    QVERIFY(spare->menuAction()->isVisible());
    f.trigger("test_entry");
    QVERIFY(ran);
    QVERIFY(f.window->menu(MemTab::Menu::Edit)->menuAction()->isVisible());
}

void MemTabTest::popupMenuRunsTheCommands() {
    Fixture f;
    auto* popup = f.window->findChild<QMenu*>("tabpop");
    QVERIFY(popup);
    QStringList captions;
    for (QAction* a : popup->actions())
        if (!a->isSeparator()) captions << a->text().section('\t', 0, 0);
    QCOMPARE(captions,
             QStringList({"Cut", "Copy", "Paste", "Delete", "Cut Line", "Copy Line", "Paste Line",
                          "Clear Selected Lines", "Insert Line", "Remove Selected Lines",
                          "Shift Channel Up", "Shift Channel Down", "Easy Fill", "Fill Down"}));
    f.enter(1, 1, "155");
    f.setCurrent(1, 1);
    for (QAction* a : popup->actions())
        if (a->text().startsWith("Insert Line")) a->trigger();
    QCOMPARE(f.cell(2, 1), QString("0155.0000"));
}

void MemTabTest::typedTextIsTakenBeforeACommand() {
    Fixture f;
    f.setCurrent(1, 1);
    f.type("155");  // no Enter
    f.trigger("checktab");
    QCOMPARE(QString::fromStdString(f.channel(0, 1)[kFieldFrequency]), QString("0155.0000"));
    f.setCurrent(2, 1);
    f.type("156");
    f.key(Qt::Key_3, Qt::ControlModifier);  // bank switch
    f.key(Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(f.cell(2, 1), QString("0156.0000"));
}

void MemTabTest::eachEntryUndoesOnItsOwn() {
    Fixture f;
    f.enter(1, 1, "155");
    f.enter(2, 1, "156");
    f.setCurrent(2, 5);
    f.type("1");
    QCOMPARE(f.cell(2, 5), QString("On"));
    f.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.cell(2, 5), QString("Off"));  // the default the frequency entry gave
    QCOMPARE(f.cell(2, 1), QString("0156.0000"));
    f.enter(3, 2, "X");
    f.enter(3, 1, "157");
    f.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.cell(3, 1), QString());
    QCOMPARE(f.cell(2, 1), QString("0156.0000"));
    QCOMPARE(f.cell(1, 1), QString("0155.0000"));
}

// Rows 3..7 selected in bank 1; after the switch a command acts on the current cell only.
void MemTabTest::bankSwitchDropsTheSelection() {
    Fixture f([](AppState& s) { s.options.expert = 1; });
    for (int slot = 1; slot <= 10; ++slot)
        f.state.image.channel(1, slot)[kFieldFrequency] = "0155.0000";
    f.selectBlock(3, 7, 1, 5);
    f.key(Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(f.window->editor().currentBank(), 1);
    const Selection s = f.grid()->selection();
    QCOMPARE(s.firstRow, s.lastRow);
    f.trigger("memtab_delline");
    int cleared = 0;
    for (int slot = 1; slot <= 10; ++slot) cleared += IsEmptyChannel(f.state.image, 1, slot);
    QCOMPARE(cleared, 1);
}

void MemTabTest::ctrlShiftKeysExtendTheSelection_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<int>("lastField");
    QTest::addRow("Shift+Ctrl+End") << int(Qt::Key_End) << 50 << 5;
    QTest::addRow("Shift+Ctrl+Down") << int(Qt::Key_Down) << 50 << 2;
}

void MemTabTest::ctrlShiftKeysExtendTheSelection() {
    QFETCH(int, key);
    QFETCH(int, lastRow);
    QFETCH(int, lastField);
    Fixture f;
    f.selectBlock(3, 3, 2, 2);
    f.key(Qt::Key(key), Qt::ControlModifier | Qt::ShiftModifier);
    const Selection s = f.grid()->selection();
    QCOMPARE(s.firstRow, 3);
    QCOMPARE(s.firstField, 2);
    QCOMPARE(s.lastRow, lastRow);
    QCOMPARE(s.lastField, lastField);
}

void MemTabTest::discardedEditsLeaveNoFlagAfterOpen() {
    Fixture f;
    const QString file = f.path("other.mem");
    QVERIFY(WriteMemFile(f.state.image, file.toStdString(), f.state.options));
    f.enter(1, 1, "155.5");
    QVERIFY(f.window->editor().modified());
    f.prompter.answers = {Answer::No};  // "Save data?": drop the edits
    f.prompter.openNames = {file};
    f.trigger("tabopen");
    QCOMPARE(f.window->fileName(), file);
    QVERIFY(!f.window->editor().modified());
    QCOMPARE(f.window->findChild<QLabel*>("statusModified")->text(), QString());
}

void MemTabTest::gridWidensWithTheWindow() {
    Fixture f;
    f.window->resize(700, 700);
    QApplication::processEvents();
    f.window->resize(1500, 700);
    QApplication::processEvents();
    QTRY_VERIFY(f.grid()->viewport()->width() > 1000);
    QCOMPARE(f.grid()->horizontalHeader()->length(), f.grid()->viewport()->width());
}

void MemTabTest::bandplanCheckBringsChannelsOntoThePlan() {
    Fixture f;
    f.state.image.channel(0, 1)[kFieldFrequency] = "0600.0000";
    f.state.image.channel(0, 2)[kFieldFrequency] = "0162.5500";
    f.state.image.channel(1, 1)[kFieldFrequency] = "0162.5530";
    f.window->showBank();
    f.window->editor().setModified(false);
    f.trigger("runband1");
    QCOMPARE(f.cell(1, 1), QString("0512.0000"));
    QCOMPARE(f.channel(1, 1)[kFieldFrequency], std::string("0162.5530"));  // other bank
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY2(f.prompter.told[0].contains("Channel 1: 0600.0000 -> 0512.0000"),
             qPrintable(f.prompter.told[0]));
    QVERIFY(f.window->editor().modified());
    f.trigger("tabundo");  // one step
    QCOMPARE(f.cell(1, 1), QString("0600.0000"));
    f.trigger("runband2");
    QCOMPARE(f.cell(1, 1), QString("0512.0000"));
    QCOMPARE(f.channel(1, 1)[kFieldFrequency], std::string("0162.5500"));
    QVERIFY(f.prompter.told[1].startsWith("Check Table using Bandplan|2 channels were"));
    QVERIFY(f.prompter.told[1].contains("Channel 51: 0162.5530 -> 0162.5500"));
    f.trigger("runband2");
    QVERIFY(f.prompter.told[2].contains("nothing was changed"));
}

QTEST_MAIN(MemTabTest)
#include "memtab.moc"
