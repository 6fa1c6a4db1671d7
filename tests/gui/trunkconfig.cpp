// The trunk settings window, driven through its widgets.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include "core/memfile.h"
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

}  // namespace

class TrunkConfigTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { image = Image{}; }

    // Stepping through every bank and closing writes nothing: no empty setting becomes "-1" or
    // "0", no type text is rewritten.
    void lookingChangesNothing_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("delay");
        QTest::addRow("no type") << ""
                                 << "";
        QTest::addRow("Motorola 800, empty") << "1"
                                             << "";
        QTest::addRow("Motorola 800, delay 3") << "10"
                                               << "3";
        QTest::addRow("Type 1 with blocks") << "2"
                                            << "0";
        QTest::addRow("UHF") << "4"
                             << "";
        QTest::addRow("EDACS") << "6"
                               << "";
        QTest::addRow("LTR") << "8"
                             << "";
        QTest::addRow("type written 01") << "01"
                                         << "";
    }
    void lookingChangesNothing() {
        QFETCH(QString, type);
        QFETCH(QString, delay);
        for (int b = 0; b < 5; ++b) image.TrunkType[b] = type.toStdString();
        image.TrunkSetting[0][kTsDelay] = delay.toStdString();
        image.TrunkBase[0][0] = {"12", "3", "", "", "", "", "", ""};
        const Image before = image;
        TrunkConfig window(image);
        window.show();
        for (int b : {1, 2, 3, 4, 0}) Child<QTabBar>(&window, "tabs")->setCurrentIndex(b);
        Click(&window, "close");
        QVERIFY(image == before);
    }

    void vhfBandPlanIsCorrectedOnClose() {
        image.TrunkType[0] = "5";
        TrunkConfig window(image);
        window.show();
        QVERIFY(TrunkWindowOpen());
        QVERIFY(Shown(&window, "frameVhf"));
        QVERIFY(!Shown(&window, "frame800"));
        QVERIFY(!Shown(&window, "frameEdacs"));
        QVERIFY(!Shown(&window, "frameLtr"));
        Type(&window, "frequency0", "1x20");  // the letter is refused
        QCOMPARE(Child<QLineEdit>(&window, "frequency0")->text(), QString("120"));
        Type(&window, "frequency1", "");
        Type(&window, "step1", "25");
        Type(&window, "frequency2", "160");
        Click(&window, "close");
        QVERIFY(!TrunkWindowOpen());
        QCOMPARE(image.TrunkBase[0][0][0], std::string("0136.0000"));
        QCOMPARE(image.TrunkBase[0][0][1], std::string("012.50"));
        QCOMPARE(image.TrunkBase[0][0][2], std::string("380"));
        QCOMPARE(image.TrunkBase[0][1][1], std::string(""));
        QCOMPARE(image.TrunkBase[0][2][0], std::string(""));
    }

    void uhfClampsAndStoresOnTabChange() {
        image.TrunkType[0] = "4";
        image.TrunkType[1] = "8";
        TrunkConfig window(image);
        window.show();
        Type(&window, "frequency0", "600");
        Type(&window, "step0", "75");
        Type(&window, "offset0", "900");
        Choose(&window, "delayVhf", 1);
        Child<QCheckBox>(&window, "statusVhf")->setChecked(true);
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(1);
        QCOMPARE(window.currentBank(), 1);
        QCOMPARE(image.TrunkBase[0][0][0], std::string("0512.0000"));
        QCOMPARE(image.TrunkBase[0][0][1], std::string("050.00"));
        QCOMPARE(image.TrunkBase[0][0][2], std::string("758"));
        QCOMPARE(image.TrunkSetting[0][kTsDelay], std::string("1"));
        QCOMPARE(image.TrunkSetting[0][kTsStatusOrIdFormat], std::string("1"));
        QVERIFY(Shown(&window, "frameLtr"));
        // Back again: the corrected values are what the window shows.
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(0);
        QCOMPARE(Child<QLineEdit>(&window, "step0")->text(), QString("050.00"));
        QCOMPARE(Child<QComboBox>(&window, "delayVhf")->currentIndex(), 1);
        window.reject();
    }

    void presetFillsBlocksAndCustomEditsThem() {
        image.TrunkType[0] = "1";
        TrunkConfig window(image);
        window.show();
        QVERIFY(Shown(&window, "frame800"));
        QVERIFY(!Shown(&window, "fleetMap"));
        Choose(&window, "typeList", 2);
        QCOMPARE(image.TrunkType[0], std::string("2"));
        QVERIFY(Shown(&window, "fleetMap"));
        QVERIFY(Shown(&window, "block0"));
        Choose(&window, "fleetMap", 6);
        QVERIFY(!Shown(&window, "clr"));
        const char* expected[] = {"3", "10", "4", "4", "12", "12", "12", "12"};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(Child<QLineEdit>(&window, QStringLiteral("block%1").arg(i).toLatin1())->text(),
                     QString(expected[i]));
        }
        Click(&window, "close");
        QCOMPARE(image.TrunkSetting[0][kTsFleetMap], std::string("6"));
        QCOMPARE(image.TrunkBase[0][0][5], std::string("12"));
    }

    void customBlocksAreNormalisedAndCleared() {
        image.TrunkType[0] = "2";
        image.TrunkSetting[0][kTsFleetMap] = "0";
        TrunkConfig window(image);
        window.show();
        QVERIFY(Shown(&window, "clr"));
        const char* typed[] = {"13", "4", "4", "4", "12", "4", "4", "4"};
        for (int i = 0; i < 8; ++i) {
            Type(&window, QStringLiteral("block%1").arg(i).toLatin1(), typed[i]);
        }
        Type(&window, "block7", "2x0");
        QCOMPARE(Child<QLineEdit>(&window, "block7")->text(), QString("20"));
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(1);
        const std::array<std::string, 8> stored{"13", "13", "13", "13", "12", "12", "4", "14"};
        for (int i = 0; i < 8; ++i) QCOMPARE(image.TrunkBase[0][0][i], stored[i]);
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(0);
        QTest::mouseDClick(Child<QLineEdit>(&window, "block3"), Qt::LeftButton);
        QCOMPARE(Child<QLineEdit>(&window, "block3")->text(), QString());
        QCOMPARE(image.TrunkBase[0][0][3], std::string("13"));
        Click(&window, "clr");
        QCOMPARE(Child<QLineEdit>(&window, "block0")->text(), QString());
        Click(&window, "close");
        QCOMPARE(image.TrunkBase[0][0][0], std::string(""));
    }

    void motorolaDelayAboveZeroShowsAsTwo() {
        image.TrunkType[0] = "10";
        image.TrunkSetting[0][kTsDelay] = "3";
        TrunkConfig window(image);
        window.show();
        QCOMPARE(Child<QComboBox>(&window, "delay800")->currentText(), QString("2"));
        Click(&window, "close");
        QCOMPARE(image.TrunkSetting[0][kTsDelay], std::string("3"));  // nothing was changed
        window.show();
        Child<QCheckBox>(&window, "status800")->setChecked(true);
        Click(&window, "close");
        QCOMPARE(image.TrunkSetting[0][kTsDelay], std::string("1"));
    }

    void allButtonsFollowTheTypes() {
        const char* types[] = {"6", "7", "9", "1", "2"};
        for (int b = 0; b < 5; ++b) image.TrunkType[b] = types[b];
        TrunkConfig window(image);
        window.show();
        QVERIFY(Shown(&window, "frameEdacs"));
        Choose(&window, "idFormat", 1);
        Click(&window, "idFormatAll");
        QCOMPARE(image.TrunkSetting[1][kTsStatusOrIdFormat], std::string("1"));
        QCOMPARE(image.TrunkSetting[2][kTsStatusOrIdFormat], std::string(""));
        Choose(&window, "delayEdacs", 1);
        Click(&window, "delayEdacsAll");
        for (int b = 0; b < 5; ++b) QCOMPARE(image.TrunkSetting[b][kTsDelay], std::string("1"));
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(3);
        Choose(&window, "controlChannel", 4);
        Click(&window, "controlChannelAll");
        QCOMPARE(image.TrunkSetting[3][kTsControlChannel], std::string("4"));
        QCOMPARE(image.TrunkSetting[4][kTsControlChannel], std::string("4"));
        QCOMPARE(image.TrunkSetting[0][kTsControlChannel], std::string(""));
        window.reject();
    }

    void switchingToLtrStoresOnlyTheDelay() {
        image.TrunkType[0] = "1";
        image.TrunkSetting[0] = {"2", "1", "1", "", "", "0", "", "5", "", ""};
        TrunkConfig window(image);
        window.show();
        Choose(&window, "typeList", 8);
        QVERIFY(Shown(&window, "frameLtr"));
        Choose(&window, "delayLtr", 1);
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(2);
        QCOMPARE(image.TrunkType[0], std::string("8"));
        QCOMPARE(image.TrunkSetting[0],
                 (std::array<std::string, 10>{"2", "1", "1", "", "", "1", "", "5", "", ""}));
        window.reject();
    }

    void clearThisBankKeepsTheType() {
        image.TrunkType[0] = "4";
        image.TrunkBase[0][0] = {"0450.0000", "012.50", "400", "", "", "", "", ""};
        image.TrunkSetting[0][kTsDelay] = "1";
        TrunkConfig window(image);
        window.show();
        Click(&window, "clearBank");
        QCOMPARE(Child<QLineEdit>(&window, "frequency0")->text(), QString());
        window.reject();
        QCOMPARE(image.TrunkType[0], std::string("4"));
        QCOMPARE(image.TrunkBase[0][0][0], std::string(""));
        QCOMPARE(image.TrunkSetting[0][kTsDelay], std::string(""));
    }

    void bankManagerSeesStoredBankAndWindowShowsResult() {
        image.TrunkType[0] = "8";
        image.TrunkType[1] = "6";
        image.TrunkSetting[1][kTsDelay] = "1";
        TrunkConfig window(image);
        QVERIFY(!window.findChild<QPushButton*>("copyMoveSwapBanks")->isVisibleTo(&window));
        std::string seenDelay;
        window.setBankManager([&] {
            seenDelay = image.TrunkSetting[0][kTsDelay];
            std::swap(image.TrunkType[0], image.TrunkType[1]);
            std::swap(image.TrunkSetting[0], image.TrunkSetting[1]);
        });
        window.show();
        Choose(&window, "delayLtr", 1);
        Click(&window, "copyMoveSwapBanks");
        QCOMPARE(seenDelay, std::string("1"));
        QVERIFY(Shown(&window, "frameEdacs"));
        QCOMPARE(Child<QComboBox>(&window, "typeList")->currentIndex(), 6);
        QCOMPARE(Child<QComboBox>(&window, "delayEdacs")->currentIndex(), 1);
        window.reject();
    }

    void storedSettingsSurviveTheMemFile() {
        image.TrunkType[0] = "5";
        image.TrunkType[1] = "2";
        image.TrunkType[2] = "6";
        TrunkConfig window(image);
        window.show();
        Type(&window, "frequency0", "151.0125");
        Type(&window, "step0", "6.25");
        Choose(&window, "endCodeVhf", 1);
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(1);
        Choose(&window, "fleetMap", 8);
        Choose(&window, "controlChannel", 2);
        Child<QTabBar>(&window, "tabs")->setCurrentIndex(2);
        Choose(&window, "idFormat", 0);
        Click(&window, "close");

        ImageOptions options;
        Image reread;
        const std::string text = SerializeMemFile(image, options);
        QVERIFY(ParseMemFile(reread, text, options).ok);
        for (int b = 0; b < 3; ++b) {
            QCOMPARE(reread.TrunkType[b], image.TrunkType[b]);
            QVERIFY(reread.TrunkSetting[b] == image.TrunkSetting[b]);
            QVERIFY(reread.TrunkBase[b] == image.TrunkBase[b]);
        }
        QCOMPARE(reread.TrunkBase[0][0][0], std::string("0151.0125"));
        QCOMPARE(reread.TrunkSetting[1][kTsFleetMap], std::string("8"));
    }

  private:
    Image image;
};

QTEST_MAIN(TrunkConfigTest)
#include "trunkconfig.moc"
