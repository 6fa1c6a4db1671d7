// The trunk settings window's wiring: what is typed and chosen reaches the image when the bank is
// left or the window closed, and only then. The settings' rules are the trunk tests' own.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include "gui/trunk_support.h"
#include "gui/trunkconfig.h"
#include "trunk/trunk_window_flag.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// What the user does with a drop-down list: pick an entry.
void Choose(QWidget* window, const char* list, int position) {
    QComboBox* combo = Child<QComboBox>(window, list);
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

bool Shown(QWidget* window, const char* name) {
    return Child<QWidget>(window, name)->isVisible();
}

QLineEdit* Block(QWidget* window, int i) {
    return Child<QLineEdit>(window, qPrintable(QStringLiteral("block%1").arg(i)));
}

void ShowBank(QWidget* window, int bank) {
    Child<QTabBar>(window, "tabs")->setCurrentIndex(bank);
}

}  // namespace

class TrunkConfigTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { image = Image{}; }

    // Leaving the bank stores it; coming back shows what was stored.
    void settingsAreStoredOnTabChange() {
        image.TrunkType[0] = "4";
        image.TrunkType[1] = "8";
        TrunkConfig window(image);
        window.show();
        Type(&window, "frequency0", "600");
        Type(&window, "step0", "75");
        Type(&window, "offset0", "9x00");
        Choose(&window, "delayVhf", 1);
        Child<QCheckBox>(&window, "statusVhf")->setChecked(true);
        ShowBank(&window, 1);
        QCOMPARE(window.currentBank(), 1);
        QVERIFY(Shown(&window, "frameLtr"));
        QCOMPARE(image.TrunkBase[0][0][0], std::string("0512.0000"));
        QCOMPARE(image.TrunkBase[0][0][1], std::string("050.00"));
        QCOMPARE(image.TrunkBase[0][0][2], std::string("758"));
        QCOMPARE(image.TrunkSetting[0][kTsDelay], std::string("1"));
        QCOMPARE(image.TrunkSetting[0][kTsStatusOrIdFormat], std::string("1"));
        ShowBank(&window, 0);
        QCOMPARE(Child<QLineEdit>(&window, "step0")->text(), QString("050.00"));
        QCOMPARE(Child<QComboBox>(&window, "delayVhf")->currentIndex(), 1);
        // Clearing the bank keeps its type.
        Click(&window, "clearBank");
        QCOMPARE(Child<QLineEdit>(&window, "frequency0")->text(), QString());
        window.reject();
        QCOMPARE(image.TrunkType[0], std::string("4"));
        QCOMPARE(image.TrunkBase[0][0][0], std::string(""));
    }

    // A preset shows its blocks read-only; Custom offers them for typing, double-click and "clr"
    // empty them.
    void fleetMapPresetAndCustomBlocks() {
        image.TrunkType[0] = "1";
        TrunkConfig window(image);
        window.show();
        QVERIFY(!Shown(&window, "fleetMap"));
        Choose(&window, "typeList", 2);
        QCOMPARE(image.TrunkType[0], std::string("2"));
        QVERIFY(Shown(&window, "fleetMap"));
        Choose(&window, "fleetMap", 6);
        QVERIFY(!Shown(&window, "clr"));
        QVERIFY(Block(&window, 0)->isReadOnly());
        Choose(&window, "fleetMap", 0);
        QVERIFY(Shown(&window, "clr"));
        QCOMPARE(Block(&window, 1)->text(), QString("10"));  // the preset's, to start from
        Click(&window, "clr");
        QCOMPARE(Block(&window, 1)->text(), QString());
        Type(&window, "block0", "2x0");
        QCOMPARE(Block(&window, 0)->text(), QString("20"));
        ShowBank(&window, 1);
        QCOMPARE(image.TrunkSetting[0][kTsFleetMap], std::string("0"));
        QCOMPARE(image.TrunkBase[0][0][0], std::string("14"));
        ShowBank(&window, 0);
        QCOMPARE(Block(&window, 7)->text(), QString("14"));
        QTest::mouseDClick(Block(&window, 3), Qt::LeftButton);
        QCOMPARE(Block(&window, 3)->text(), QString());
        window.reject();
    }

    void allButtonsFollowTheTypes() {
        const char* types[] = {"6", "7", "9", "1", "2"};
        for (int b = 0; b < 5; ++b) image.TrunkType[b] = types[b];
        TrunkConfig window(image);
        window.show();
        Choose(&window, "idFormat", 1);
        Click(&window, "idFormatAll");
        QCOMPARE(image.TrunkSetting[1][kTsStatusOrIdFormat], std::string("1"));
        QCOMPARE(image.TrunkSetting[2][kTsStatusOrIdFormat], std::string(""));
        Choose(&window, "delayEdacs", 1);
        Click(&window, "delayEdacsAll");
        for (int b = 0; b < 5; ++b) QCOMPARE(image.TrunkSetting[b][kTsDelay], std::string("1"));
        ShowBank(&window, 3);
        Choose(&window, "controlChannel", 4);
        Click(&window, "controlChannelAll");
        QCOMPARE(image.TrunkSetting[4][kTsControlChannel], std::string("4"));
        QCOMPARE(image.TrunkSetting[0][kTsControlChannel], std::string(""));
        window.reject();
    }

  private:
    Image image;
};

QTEST_MAIN(TrunkConfigTest)
#include "trunkconfig.moc"
