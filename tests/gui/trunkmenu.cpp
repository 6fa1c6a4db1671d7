// The trunk windows opened from the main window's Trunk menu: the grid is stored before, the
// trunk flag is up while open, and only a change the user made marks the table modified.
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "gui/memtab_support.h"
#include "gui/trunk_support.h"
#include "trunk/trunk_window_flag.h"

using namespace vex;
using namespace vex::gui;
using vex::gui::test::Child;
using vex::gui::test::Click;
using vex::gui::test::Fixture;

class TrunkMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void trunkWindows_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("id");  // typed into the ID entry, "" for none
        QTest::addColumn<int>("type");    // the trunk type picked, -1 for none
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("storedId");
        QTest::addColumn<QString>("storedType");
        QTest::addRow("ID list OK stores") << "mnu_idlist"
                                           << "42" << -1 << "ok"
                                           << "000042"
                                           << "1";
        QTest::addRow("ID list Cancel keeps") << "mnu_idlist"
                                              << "42" << -1 << "cancel"
                                              << ""
                                              << "1";
        QTest::addRow("ID list untouched") << "mnu_idlist"
                                           << "" << -1 << "ok"
                                           << ""
                                           << "1";
        QTest::addRow("settings untouched") << "trunkset"
                                            << "" << -1 << "close"
                                            << ""
                                            << "1";
        QTest::addRow("settings type picked") << "trunkset"
                                              << "" << 8 << "close"
                                              << ""
                                              << "8";
    }

    void trunkWindows() {
        QFETCH(QString, command);
        QFETCH(QString, id);
        QFETCH(int, type);
        QFETCH(QString, button);
        QFETCH(QString, storedId);
        QFETCH(QString, storedType);
        Fixture f;
        f.state.image.TrunkType[0] = std::string("1");        // a literal trips GCC 12's -Wrestrict
        f.state.image.TrunkId[0][5][0] = std::string("123");  // kept as it is unless edited
        f.enter(1, 1, "162.55");
        f.window->editor().setModified(false);
        const Image before = f.state.image;
        std::string frequencyDuringWindow;
        bool flagDuringWindow = false;
        f.triggerWith(qPrintable(command), [&](QWidget* window) {
            frequencyDuringWindow = f.channel(0, 1)[kFieldFrequency];
            flagDuringWindow = TrunkWindowOpen();
            if (!id.isEmpty()) {
                auto* entry = Child<QLineEdit>(window, "idEntry");
                entry->setText(id);
                QTest::keyClick(entry, Qt::Key_Return);
            }
            if (type >= 0) {
                auto* list = Child<QComboBox>(window, "typeList");
                list->setCurrentIndex(type);
                emit list->activated(type);
            }
            Click(window, qPrintable(button));
        });
        QCOMPARE(frequencyDuringWindow, std::string("0162.5500"));
        QVERIFY(flagDuringWindow);
        QVERIFY(!TrunkWindowOpen());
        QCOMPARE(QString::fromStdString(f.state.image.TrunkId[0][0][0]), storedId);
        QCOMPARE(QString::fromStdString(f.state.image.TrunkType[0]), storedType);
        const bool changed = !storedId.isEmpty() || storedType != "1";
        QCOMPARE(!(f.state.image == before), changed);
        QCOMPARE(f.window->editor().modified(), changed);
        QCOMPARE(f.dialogs.leftOpen, 0);
    }
};

QTEST_MAIN(TrunkMenuTest)
#include "trunkmenu.moc"
