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

namespace {

// A trunk window opened from the menu: the ID typed ("" none), the trunk type picked (-1 none), the
// button that closes it, and the image afterwards.
struct TrunkRow {
    const char* name;
    const char* command;
    const char* id;
    int type;
    const char* button;
    const char* storedId;
    const char* storedType;
};
const TrunkRow kRows[] = {
    {"ID list OK stores", "mnu_idlist", "42", -1, "ok", "000042", "1"},
    {"ID list Cancel keeps", "mnu_idlist", "42", -1, "cancel", "", "1"},
    {"settings untouched", "trunkset", "", -1, "close", "", "1"},
    {"settings type picked", "trunkset", "", 8, "close", "", "8"},
};

}  // namespace

class TrunkMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void trunkWindows_data() { vex::gui::test::AddRows(kRows); }

    void trunkWindows() {
        const TrunkRow& r = vex::gui::test::FetchRow(kRows);
        Fixture f;
        f.state.image.TrunkType[0] = std::string("1");        // a literal trips GCC 12's -Wrestrict
        f.state.image.TrunkId[0][5][0] = std::string("123");  // kept as it is unless edited
        f.enter(1, 1, "162.55");
        f.window->editor().setModified(false);
        const Image before = f.state.image;
        std::string frequencyDuringWindow;
        bool flagDuringWindow = false;
        f.triggerWith(r.command, [&](QWidget* window) {
            frequencyDuringWindow = f.channel(0, 1)[kFieldFrequency];
            flagDuringWindow = TrunkWindowOpen();
            if (*r.id) {
                auto* entry = Child<QLineEdit>(window, "idEntry");
                entry->setText(r.id);
                QTest::keyClick(entry, Qt::Key_Return);
            }
            if (r.type >= 0) {
                auto* list = Child<QComboBox>(window, "typeList");
                list->setCurrentIndex(r.type);
                emit list->activated(r.type);
            }
            Click(window, r.button);
        });
        QCOMPARE(frequencyDuringWindow, std::string("0162.5500"));
        QVERIFY(flagDuringWindow);
        QVERIFY(!TrunkWindowOpen());
        QCOMPARE(QString::fromStdString(f.state.image.TrunkId[0][0][0]), QString(r.storedId));
        QCOMPARE(QString::fromStdString(f.state.image.TrunkType[0]), QString(r.storedType));
        const bool changed = *r.storedId || QString(r.storedType) != "1";
        QCOMPARE(!(f.state.image == before), changed);
        QCOMPARE(f.window->editor().modified(), changed);
        QCOMPARE(f.dialogs.leftOpen, 0);
    }
};

QTEST_MAIN(TrunkMenuTest)
#include "trunkmenu.moc"
