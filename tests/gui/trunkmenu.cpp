// The trunk windows opened from the main window's Trunk menu.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/memtab_support.h"
#include "gui/trunk_support.h"
#include "trunk/trunk_settings.h"
#include "trunk/trunk_window_flag.h"

using namespace vex;
using namespace vex::gui;
using vex::gui::test::Child;
using vex::gui::test::Fixture;
using vex::gui::test::OnNextModal;

namespace {}  // namespace

class TrunkMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void menuHoldsBothEntries() {
        Fixture f;
        QMenu* trunk = f.window->menu(MemTab::Menu::Trunk);
        QVERIFY(trunk->menuAction()->isVisible());
        QStringList captions;
        for (QAction* a : trunk->actions()) captions << a->text();
        QCOMPARE(captions, QStringList({"&ID List", "&System Settings"}));
    }

    void idListStoresGridEditsAndMarksModified() {
        Fixture f;
        f.state.image.TrunkType[0] =
            std::string("1");  // a literal here trips a false -Wrestrict in GCC 12
        f.enter(1, 1, "162.55");
        f.window->editor().setModified(false);
        std::string frequencyDuringWindow;
        bool flagDuringWindow = false;
        OnNextModal([&](QWidget* window) {
            QCOMPARE(window->objectName(), QString("trtags"));
            frequencyDuringWindow = f.state.image.channel(0, 1)[kFieldFrequency];
            flagDuringWindow = TrunkWindowOpen();
            auto* id = Child<QLineEdit>(window, "idEntry");
            id->setText("42");
            QTest::keyClick(id, Qt::Key_Return);
            QTest::mouseClick(Child<QPushButton>(window, "ok"), Qt::LeftButton);
        });
        f.trigger("mnu_idlist");
        QCOMPARE(frequencyDuringWindow, std::string("0162.5500"));
        QVERIFY(flagDuringWindow);
        QVERIFY(!TrunkWindowOpen());
        QCOMPARE(f.state.image.TrunkId[0][0][0], std::string("000042"));
        QVERIFY(f.window->editor().modified());
        QCOMPARE(f.cell(1, 1), QString("0162.5500"));
    }

    void idListCancelLeavesImageAndFlag() {
        Fixture f;
        f.window->editor().setModified(false);
        const Image before = f.state.image;
        OnNextModal([&](QWidget* window) {
            auto* id = Child<QLineEdit>(window, "idEntry");
            id->setText("42");
            QTest::keyClick(id, Qt::Key_Return);
            QTest::mouseClick(Child<QPushButton>(window, "cancel"), Qt::LeftButton);
        });
        f.trigger("mnu_idlist");
        QVERIFY(f.state.image == before);
        QVERIFY(!f.window->editor().modified());
    }

    void windowsThatChangeNothingLeaveImageAndFlag() {
        Fixture f;
        f.state.image.TrunkType[0] = std::string("1");
        f.state.image.TrunkId[0][0][0] = std::string("123");
        f.window->editor().setModified(false);
        const Image before = f.state.image;
        for (const char* command : {"trunkset", "mnu_idlist"}) {
            OnNextModal([](QWidget* window) {
                const char* button = window->objectName() == "trtags" ? "ok" : "close";
                QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
            });
            f.trigger(command);
            QVERIFY2(f.state.image == before, command);
            QVERIFY2(!f.window->editor().modified(), command);
        }
    }

    void systemSettingsRaisesTrunkFlagAndStores() {
        Fixture f;
        f.window->editor().setModified(false);
        bool flagDuringWindow = false;
        OnNextModal([&](QWidget* window) {
            QCOMPARE(window->windowTitle(), QString("Trunk Configuration"));
            flagDuringWindow = TrunkWindowOpen();
            auto* type = Child<QComboBox>(window, "typeList");
            type->setCurrentIndex(8);
            emit type->activated(8);
            auto* delay = Child<QComboBox>(window, "delayLtr");
            delay->setCurrentIndex(1);
            QTest::mouseClick(Child<QPushButton>(window, "close"), Qt::LeftButton);
        });
        f.trigger("trunkset");
        QVERIFY(flagDuringWindow);
        QVERIFY(!TrunkWindowOpen());
        QCOMPARE(f.state.image.TrunkType[0], std::string("8"));
        QCOMPARE(f.state.image.TrunkSetting[0][kTsDelay], std::string("1"));
        QVERIFY(f.window->editor().modified());
    }
};

QTEST_MAIN(TrunkMenuTest)
#include "trunkmenu.moc"
