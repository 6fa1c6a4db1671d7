// The editing tools opened from the main window: each runs one operation that reaches the grid
// and the image as one undo step, taken back and made again from the keyboard.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "gui/memtab_support.h"
#include "gui/trunk_support.h"
#include "tools/memory_manager.h"

using namespace vex;
using namespace vex::gui;
using vex::gui::test::Child;
using vex::gui::test::Click;
using vex::gui::test::Fixture;
using vex::gui::test::Type;

namespace {

void Pick(QWidget* window, const char* list, int row) {
    Child<QListWidget>(window, list)->setCurrentRow(row);
}

void Tick(QWidget* window, const char* box, bool on = true) {
    Child<QAbstractButton>(window, box)->setChecked(on);
}

QString Tag(const Image& image, int bank, int slot) {
    return QString::fromLatin1(image.channel(bank, slot)[kFieldTag].c_str());
}

// One tool: the command that opens it from bank 2, what the user does there, what the image
// holds afterwards and the undo step it made ("" when it names none worth checking).
struct Tool {
    const char* name;
    const char* command;
    std::function<void(QWidget*)> act;
    std::function<bool(const Image&)> done;
    const char* step;
};

const Tool kTools[] = {
    {"Memory Manager moves a bank with its trunk settings", "swapbanks",
     [](QWidget* w) {
         QCOMPARE(w->windowTitle(), QString("Edit Memory Banks"));
         QVERIFY(Child<QRadioButton>(w, "optSwap")->isChecked());
         Tick(w, "optMove");
         Pick(w, "fromList", 1);
         Pick(w, "toList", 3);
         Click(w, "apply");
         QVERIFY(Child<QListWidget>(w, "fromList")->item(1)->text().endsWith("EMPTY"));
         Click(w, "ok");  // done already: not moved a second time
     },
     [](const Image& i) {
         return Tag(i, 3, 1) == "PD North" && IsEmptyChannel(i, 1, 1) && i.TrunkType[3] == "4" &&
                i.TrunkType[1] == "0";
     },
     "Move bank 2 to bank 4"},
    {"Memory Manager copies a channel", "copy_channhels",
     [](QWidget* w) {
         QCOMPARE(w->windowTitle(), QString("Edit Memory Data"));
         Pick(w, "fromList", 1);
         Pick(w, "toList", 9);
         Click(w, "ok");
     },
     [](const Image& i) { return Tag(i, 1, 10) == "PD South"; }, ""},
    {"Replace changes tags", "menu_repl",
     [](QWidget* w) {
         Type(w, "findText", "PD");
         Type(w, "replaceText", "Pol\"ice");  // the quote is refused as typed
         Click(w, "apply");
         QCOMPARE(Child<QLabel>(w, "result")->text(), QString("2 tags changed."));
         Click(w, "close");
     },
     [](const Image& i) {
         return Tag(i, 1, 1) == "Police North" && Tag(i, 1, 2) == "Police South";
     },
     ""},
    {"Easy Fill fills the selected rows", "tabeasy",
     [](QWidget* w) {
         QCOMPARE(Child<QLineEdit>(w, "rangeStart")->text(), QString("53"));
         QCOMPARE(Child<QLineEdit>(w, "rangeEnd")->text(), QString("56"));
         Tick(w, "fillFrequency");
         Type(w, "startFreq", "88.00");
         Child<QComboBox>(w, "step")->setEditText("100");
         Tick(w, "fillTag");
         Tick(w, "fillSeries");
         Type(w, "tagText", "FM1");
         Click(w, "apply");
         QVERIFY(!Child<QPushButton>(w, "apply")->isEnabled());
         Click(w, "cancel");
     },
     [](const Image& i) {
         return i.channel(1, 3)[kFieldFrequency] == "0088.0000" &&
                i.channel(1, 6)[kFieldFrequency] == "0088.3000" && Tag(i, 1, 6) == "FM4";
     },
     "Easy Fill channels 53 to 56"},
    {"Active Banks are stored", "set_search",
     [](QWidget* w) {
         Click(w, "all");
         Tick(w, "bank4", false);
         Click(w, "ok");
     },
     [](const Image& i) {
         return i.ActiveBank == std::array<std::int16_t, 5>{1, 1, 1, 0, 1};
     },
     ""},
};

// The keys go to the main window, active again once a tool window has closed.
void Key(const Fixture& f, QKeyCombination key) {
    QApplication::setActiveWindow(f.window.get());
    f.grid()->setFocus();
    f.key(key.key(), key.keyboardModifiers());
}

}  // namespace

class ToolsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        d_fixture = std::make_unique<Fixture>();
        Fixture& f = *d_fixture;
        f.window->applyImageChange("Seed", [](Image& image) {
            auto put = [&](int bank, int slot, const char* frequency, const char* tag) {
                Channel& c = image.channel(bank, slot);
                c[kFieldFrequency] = frequency;
                c[kFieldTag] = tag;
                c[kFieldTrunk] = c[kFieldDelay] = c[kFieldLockout] = "0";
            };
            put(1, 1, "0155.0000", "PD North");
            put(1, 2, "0460.1250", "PD South");
            put(2, 7, "0155.2250", "Fire");
            image.TrunkType[1] = "4";
            image.TrunkSetting[1][0] = "5";
            return true;
        });
        f.window->editor().setModified(false);
        f.window->selectBank(1);
    }
    void cleanup() { d_fixture.reset(); }

    void eachToolIsOneStep_data() {
        QTest::addColumn<int>("tool");
        for (int i = 0; i < int(std::size(kTools)); ++i) QTest::addRow("%s", kTools[i].name) << i;
    }

    void eachToolIsOneStep() {
        QFETCH(int, tool);
        const Tool& t = kTools[tool];
        Fixture& f = *d_fixture;
        const Image seeded = f.state.image;
        const std::size_t steps = f.window->editor().history().position();
        f.selectBlock(3, 6, 1, 1);
        f.triggerWith(t.command, t.act);
        QVERIFY(t.done(f.state.image));
        QCOMPARE(f.window->editor().history().position(), steps + 1);
        QVERIFY(f.window->editor().modified());
        const QString step = QString::fromLatin1(t.step);
        if (!step.isEmpty()) QCOMPARE(f.action("tabundo")->text(), "&Undo " + step);
        Key(f, Qt::ControlModifier | Qt::Key_Z);
        QVERIFY(f.state.image == seeded);
        QVERIFY(!f.window->editor().modified());
        Key(f, tool % 2 ? Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z
                        : Qt::ControlModifier | Qt::Key_Y);
        QVERIFY(t.done(f.state.image));
        QCOMPARE(f.prompter.unexpected, 0);
    }

    void trunkWindowOpensTheMemoryManagerInBankMode() {
        Fixture& f = *d_fixture;
        const Image seeded = f.state.image;
        f.dialogs.acts.push_back([](QWidget* trunk) {
            QVERIFY(!Child<QPushButton>(trunk, "copyMoveSwapBanks")->isHidden());
            Click(trunk, "copyMoveSwapBanks");
            Click(trunk, "close");
        });
        f.dialogs.acts.push_back([](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Edit Memory Banks"));
            Tick(w, "dataFrequencies", false);
            Tick(w, "dataTrunkIds", false);
            Pick(w, "fromList", 1);
            Pick(w, "toList", 0);
            Click(w, "ok");  // swap the trunk settings of banks 2 and 1
        });
        f.trigger("trunkset");
        QCOMPARE(f.dialogs.opened, QStringList({"trunkconfig", "editmenu"}));
        QCOMPARE(MemoryManagerCaption(), std::string(kChannelModeCaption));
        QCOMPARE(f.state.image.TrunkType[0], std::string("4"));
        QCOMPARE(f.state.image.TrunkSetting[0][0], std::string("5"));
        // The window's own storing afterwards is a step of its own.
        QStringList names;
        while (!(f.state.image == seeded) && names.size() < 3) {
            names << f.action("tabundo")->text();
            Key(f, Qt::ControlModifier | Qt::Key_Z);
        }
        QVERIFY(names.contains("&Undo Swap bank 2 and bank 1 (trunk settings)"));
    }

    void findShowsTheHitInTheGrid() {
        Fixture& f = *d_fixture;
        f.window->selectBank(0);
        f.triggerWith("menufind", [&f](QWidget* w) {
            Tick(w, "scopeAll");
            Type(w, "findText", "155");
            Click(w, "findNext");
            QCOMPARE(Child<QLabel>(w, "result")->text(),
                     QString("Channel #51 contains this data, in bank 2."));
            QCOMPARE(f.window->editor().currentBank(), 1);
            QCOMPARE(f.grid()->currentIndex().row(), 0);
            Click(w, "findNext");
            QCOMPARE(f.window->editor().currentBank(), 2);
            QCOMPARE(f.grid()->currentIndex().row(), 6);
            Click(w, "close");
        });
        QCOMPARE(f.state.options.findoptie[1], 1);  // "All Banks" is remembered
        QVERIFY(!f.window->editor().modified());
    }

  private:
    std::unique_ptr<Fixture> d_fixture;
};

QTEST_MAIN(ToolsTest)
#include "tools.moc"
