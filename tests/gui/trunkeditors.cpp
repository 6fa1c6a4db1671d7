// The small trunk editors: "Edit Trunk ID's" and "Listtags".
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "gui/editrunk.h"
#include "gui/listtags.h"
#include "gui/trunk_support.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

void Pick(QWidget* window, const char* option) {
    Child<QRadioButton>(window, option)->click();
}

}  // namespace

class TrunkEditorsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        image = Image{};
        for (int b = 0; b < 6; ++b) {
            for (int r = 0; r < 50; ++r) {
                const std::string n = std::to_string(b) + "/" + std::to_string(r);
                image.TrunkId[b][r] = {"id" + n, "tag" + n, "x", "y"};
            }
            for (int k = 0; k < 10; ++k) image.ScanListTag[b][k] = "L" + std::to_string(b * 10 + k);
        }
    }

    void listsFollowScopeAndUnitAndMoveAList() {
        EditTrunk window(image, 1);
        window.show();
        auto* from = Child<QListWidget>(&window, "from");
        QCOMPARE(from->item(12)->text(), QString("2-3 : id1/12 - tag1/12"));
        Pick(&window, "allBanks");
        QCOMPARE(from->count(), 300);
        Pick(&window, "lists");
        QCOMPARE(from->item(29)->text(), QString("Dummy: 5: L54"));
        Pick(&window, "activeBank");
        QCOMPARE(from->item(0)->text(), QString("1: L10"));
        // A list moved to another bank; the lists are refilled and the selections kept.
        Pick(&window, "allBanks");
        Pick(&window, "lists");
        Pick(&window, "move");
        Child<QListWidget>(&window, "from")->setCurrentRow(1);        // bank 1, list 2
        Child<QListWidget>(&window, "to")->setCurrentRow(5 * 2 + 3);  // bank 3, list 4
        Click(&window, "apply");
        QVERIFY(image.TrunkId[0][10] == TrunkIdRow{});
        QCOMPARE(image.TrunkId[2][30][0], std::string("id0/10"));
        QCOMPARE(Child<QListWidget>(&window, "from")->currentRow(), 1);
        QCOMPARE(Child<QListWidget>(&window, "to")->item(13)->text(), QString("Bank 3: 4: L1"));
    }

    void listTagButtons() {
        image.ScanListTag[1][0] = "  Police  ";
        ListTags window(image, 1);
        window.show();
        QCOMPARE(Child<QLineEdit>(&window, "list1")->text(), QString("  Police  "));
        Click(&window, "left");
        QCOMPARE(Child<QLineEdit>(&window, "list1")->text(), QString("Police"));
        Click(&window, "center");
        QCOMPARE(Child<QLineEdit>(&window, "list1")->text(), QString("     Police"));
        Type(&window, "list2", "A\"b,c and more than sixteen");
        QCOMPARE(Child<QLineEdit>(&window, "list2")->text(), QString("Abc and more tha"));
        Click(&window, "ok");
        QCOMPARE(image.ScanListTag[1][0], std::string("     Police"));
        QCOMPARE(image.ScanListTag[1][1], std::string("Abc and more tha"));
        QCOMPARE(image.ScanListTag[1][9], std::string("      L19"));  // Center works on every field
    }

  private:
    Image image;
};

QTEST_MAIN(TrunkEditorsTest)
#include "trunkeditors.moc"
