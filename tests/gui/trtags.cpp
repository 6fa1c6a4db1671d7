// The trunk ID window's wiring: what is typed, chosen and clicked reaches the grid, the status
// line and, on Ok only, the image. The ID and tag rules themselves are the trunk tests' own.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest>

#include "gui/memtab_support.h"
#include "gui/trtags.h"
#include "gui/trunk_support.h"
#include "trunk/trunk_window_flag.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// Typing here starts by giving the field the focus, as a click into it would.
void TypeFocused(QWidget* window, const char* field, const QString& text) {
    Child<QLineEdit>(window, field)->setFocus();
    Type(window, field, text);
}

// Types into the field and presses Enter.
void Enter(QWidget* window, const char* field, const QString& text) {
    TypeFocused(window, field, text);
    QTest::keyClick(Child<QLineEdit>(window, field), Qt::Key_Return);
}

QString Cell(TrTags& window, int row, int column) {
    return Child<QTableWidget>(&window, "grid")->item(row, column)->text();
}

void SelectCells(TrTags& window, int top, int bottom, int left = 0, int right = 1) {
    auto* grid = Child<QTableWidget>(&window, "grid");
    grid->setCurrentCell(top, left);
    grid->clearSelection();
    grid->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

void ShowBank(TrTags& window, int bank) {
    Child<QTabBar>(&window, "tabs")->setCurrentIndex(bank);
}

}  // namespace

class TrTagsTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { d_window.reset(); }
    void init() {
        prompter = ScriptedPrompter{};
        dialogs.acts.clear();
        image = Image{};
        for (int b = 0; b < 5; ++b) image.BankTag[b] = "Bank " + std::to_string(b + 1);
    }

    // The ID field takes the bank's rule and says what it stored.
    void idEntryStoresByTheBanksRule() {
        image.TrunkType[0] = "1";
        TrTags& window = open();
        Enter(&window, "idEntry", "i12");
        QCOMPARE(Cell(window, 0, 0), QString("700012"));
        QCOMPARE(Child<QLabel>(&window, "status")->text(), QString("ID i12 was stored as 700012."));
    }

    // IDs and tags from a file that the rules would change stay as they are when the user only
    // looks at every bank and presses Ok.
    void nothingStoredChangesNothing() {
        image.TrunkType[0] = "1";
        image.TrunkType[1] = "8";
        image.TrunkType[2] = "6";
        image.TrunkId[0][0] = {"123", "Say \"hi\"", "", ""};
        image.TrunkId[1][3] = {"5", "Five", "x", ""};
        image.TrunkId[2][0] = {"1-5", "", "", ""};
        const Image before = image;
        TrTags& window = open();
        for (int b : {1, 2, 3, 4, 0}) ShowBank(window, b);
        Click(&window, "ok");
        QVERIFY(image == before);
        QVERIFY(!TrunkWindowOpen());
    }

    void escapeAsksBeforeDroppingEdits() {
        image.TrunkId[0][0] = {"1", "", "", ""};
        TrTags& window = open();
        QTest::keyClick(&window, Qt::Key_Escape);  // nothing changed: closes at once
        QVERIFY(!window.isVisible());

        window.show();
        Enter(&window, "tagEntry", "New tag");
        prompter.answers = {Answer::No};  // No: keep editing
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(prompter.asked, QStringList{"Trunk Id's:|Discard the changes to the trunk ID's?"});
        QVERIFY(window.isVisible());
        prompter.answers = {Answer::Yes};
        window.close();
        QCOMPARE(prompter.unexpected, 0);
        QVERIFY(!window.isVisible());
        QCOMPARE(image.TrunkId[0][0][1], std::string());
    }

    // Only banks edited in the window are normalised when left; the heading and hint follow.
    void leavingAnEditedBankNormalisesIt() {
        image.TrunkType[0] = "8";
        image.TrunkType[1] = "10";
        image.TrunkType[2] = "6";
        image.TrunkId[0][0] = {" 5 ", "Say \"hi\"", "third", ""};
        image.TrunkId[1][0] = {" 5 ", "", "", ""};
        TrTags& window = open();
        Child<QTableWidget>(&window, "grid")->setCurrentCell(9, 0);
        Enter(&window, "tagEntry", "edited");
        QCOMPARE(Cell(window, 0, 0), QString(" 5 "));
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_PageDown, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(window.currentBank(), 2);
        QCOMPARE(Child<QLabel>(&window, "heading")->text(), QString("Edacs"));
        const QString edacsHint = Child<QLabel>(&window, "hint")->text();
        QVERIFY(edacsHint.startsWith("AFS: AA-FFS"));
        QTest::keyClick(&window, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(Child<QLabel>(&window, "heading")->text(), QString());
        QCOMPARE(Child<QLabel>(&window, "hint")->text(), edacsHint);
        QTest::keyClick(&window, Qt::Key_PageUp, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(window.currentBank(), 4);  // round from the first
        ShowBank(window, 0);
        QCOMPARE(Cell(window, 0, 0), QString("001005"));
        Click(&window, "ok");
        QCOMPARE(image.TrunkId[0][0], (TrunkIdRow{"001005", "Say  hi ", "third", ""}));
        QCOMPARE(image.TrunkId[1][0][0], std::string(" 5 "));  // never edited
    }

    void sortAlignAndUndo() {
        image.TrunkType[0] = "1";
        image.TrunkId[0][0] = {"000300", "  c  ", "", ""};
        image.TrunkId[0][1] = {"000010", "a", "", ""};
        TrTags& window = open();
        QVERIFY(!window.action("undoSort")->isEnabled());
        window.action("sortIdsUp")->trigger();
        QCOMPARE(Cell(window, 0, 0), QString("000010"));
        window.action("sortTagsDown")->trigger();
        QCOMPARE(Cell(window, 0, 1), QString("  c  "));
        window.action("alignLeft")->trigger();
        QCOMPARE(Cell(window, 0, 1), QString("c"));
        window.action("centerTags")->trigger();
        QCOMPARE(Cell(window, 0, 1), QString("       c"));
        QVERIFY(window.action("undoSort")->isEnabled());
        window.action("undoSort")->trigger();
        QCOMPARE(Cell(window, 0, 1), QString("c"));
        window.action("sortIdsDown")->trigger();
        // Undo belongs to the bank it was made in.
        ShowBank(window, 1);
        QVERIFY(!window.action("undoSort")->isEnabled());
        ShowBank(window, 0);
        QVERIFY(!window.action("undoSort")->isEnabled());
        QCOMPARE(Cell(window, 0, 0), QString("000300"));
    }

    void rowCommandsNeedExactlyOneRow() {
        image.TrunkType[0] = "9";
        for (int r = 0; r < 4; ++r) image.TrunkId[0][r] = {std::to_string(r), "t", "", ""};
        TrTags& window = open();
        SelectCells(window, 1, 2);
        QVERIFY(!window.action("removeId")->isEnabled());
        window.action("removeId")->trigger();
        QCOMPARE(Cell(window, 1, 0), QString("1"));
        SelectCells(window, 1, 1);
        window.action("removeId")->trigger();
        QCOMPARE(Cell(window, 1, 0), QString("2"));
        window.action("insertId")->trigger();
        QCOMPARE(Cell(window, 2, 0), QString("2"));
        SelectCells(window, 2, 2);
        window.action("moveUp")->trigger();
        QCOMPARE(Cell(window, 1, 0), QString("2"));
        QCOMPARE(Child<QTableWidget>(&window, "grid")->currentRow(), 1);
        window.action("moveDown")->trigger();
        window.action("moveDown")->trigger();
        Click(&window, "ok");
        QCOMPARE(image.TrunkId[0][3][0], std::string("2"));
    }

    void clipboardCopyCutPaste() {
        image.TrunkType[0] = "1";
        image.TrunkId[0][0] = {"000001", "One", "", ""};
        image.TrunkId[0][1] = {"000002", "Two", "", ""};
        TrTags& window = open();
        SelectCells(window, 0, 1);
        window.action("copy")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("000001\tOne\n000002\tTwo"));
        Child<QTableWidget>(&window, "grid")->setCurrentCell(48, 0);
        window.action("paste")->trigger();
        QCOMPARE(Cell(window, 49, 1), QString("Two"));
        // Foreign text is made to fit the bank's rules.
        QApplication::clipboard()->setText("i5\t\"Quoted\"");
        Child<QTableWidget>(&window, "grid")->setCurrentCell(10, 0);
        window.action("pasteTool")->trigger();
        QCOMPARE(Cell(window, 10, 0), QString("700005"));
        QCOMPARE(Cell(window, 10, 1), QString(" Quoted "));
        SelectCells(window, 0, 0, 1, 1);
        window.action("cut")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("One"));
        QCOMPARE(Cell(window, 0, 1), QString());
        SelectCells(window, 1, 1, 0, 0);
        window.action("deleteArea")->trigger();
        QCOMPARE(Cell(window, 1, 0), QString());
        window.action("undoSort")->trigger();
        QCOMPARE(Cell(window, 1, 0), QString("000002"));
    }

    void replaceTagTextShowsAtOnce() {
        image.TrunkId[0][0] = {"1", "FD Ops North", "", ""};
        image.TrunkId[1][0] = {"1", "FD other bank", "", ""};
        TrTags& window = open();
        QStringList shown;  // the grid's tag and the dialog's result after each Apply
        dialogs.acts.push_back([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Replace Text Tag:"));
            for (const char* find : {"", "FD"}) {
                TypeFocused(dialog, "find", find);
                TypeFocused(dialog, "replacement", "Fire \"Dept\"");
                Click(dialog, "apply");
                shown << Cell(window, 0, 1) << Child<QLabel>(dialog, "result")->text();
            }
            Click(dialog, "close");
        });
        window.action("replaceTags")->trigger();
        QCOMPARE(shown, QStringList({"FD Ops North", "Type the text to find.", "Fire Dept Ops No",
                                     "1 tag changed."}));
        Click(&window, "ok");
        QCOMPARE(image.TrunkId[0][0][1], std::string("Fire Dept Ops No"));
        QCOMPARE(image.TrunkId[1][0][1], std::string("FD other bank"));
    }

    // The dialogs work on the image: the window stores first (an unedited bank as it was) and
    // shows the result after.
    void dialogsWorkOnTheStoredImage() {
        image.TrunkType[0] = "8";
        image.TrunkId[0][0] = {"5", "Unit five", "", ""};
        TrTags& window = open();
        std::string seen;
        dialogs.acts.push_back([&](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Edit Trunk ID's"));
            seen = image.TrunkId[0][0][0];
            Child<QRadioButton>(dialog, "move")->setChecked(true);
            Child<QListWidget>(dialog, "from")->setCurrentRow(0);
            Child<QListWidget>(dialog, "to")->setCurrentRow(7);
            Click(dialog, "ok");
        });
        Click(&window, "copyMoveSwapIds");
        QCOMPARE(seen, std::string("5"));
        QCOMPARE(Cell(window, 0, 0), QString());
        QCOMPARE(Cell(window, 7, 1), QString("Unit five"));
        dialogs.acts.push_back([&](QWidget* dialog) {
            Click(dialog, "default");
            Click(dialog, "ok");
        });
        Click(&window, "editScanListTags");
        QCOMPARE(image.ScanListTag[0][0], std::string("Bank 1 List 1"));
        Click(&window, "cancel");
        QCOMPARE(image.TrunkId[0][7][0], std::string("5"));
    }

    void bankManagerHook() {
        image.TrunkId[2][0] = {"9", "", "", ""};
        TrTags window(image, prompter);
        QVERIFY(!Child<QPushButton>(&window, "copyMoveSwapBanks")->isVisibleTo(&window));
        std::string seen;
        window.setBankManager([&] {
            seen = image.TrunkId[0][0][0];
            std::swap(image.TrunkId[0], image.TrunkId[2]);
        });
        window.show();
        Enter(&window, "idEntry", "7");
        Click(&window, "copyMoveSwapBanks");
        QCOMPARE(seen, std::string("7"));
        QCOMPARE(Cell(window, 0, 0), QString("9"));
    }

  private:
    TrTags& open() {
        d_window = std::make_unique<TrTags>(image, prompter);
        d_window->setDialogRunner(dialogs);
        d_window->show();
        return *d_window;
    }

    Image image;
    ScriptedPrompter prompter;
    ScriptedDialogs dialogs;
    std::unique_ptr<TrTags> d_window;
};

QTEST_MAIN(TrTagsTest)
#include "trtags.moc"
