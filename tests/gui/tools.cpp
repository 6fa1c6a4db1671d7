// The editing tools opened from the main window: each runs one operation that reaches the grid
// and the image as one undo step, taken back and made again from the keyboard; and a long mixed
// run of edits undone back to the saved image and redone.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/memtab_support.h"
#include "gui/trunk_support.h"
#include "tools/memory_manager.h"
#include "trunk/trunk_settings.h"

using namespace vex;
using namespace vex::gui;
using vex::gui::test::Child;
using vex::gui::test::Click;
using vex::gui::test::Fixture;
using vex::gui::test::Type;

namespace {

// Runs `act` on the modal window named `name` once it is the active one.
void OnModal(const QString& name, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != name) return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

void Pick(QWidget* window, const char* list, int row) {
    Child<QListWidget>(window, list)->setCurrentRow(row);
}

void Tick(QWidget* window, const char* box, bool on = true) {
    Child<QAbstractButton>(window, box)->setChecked(on);
}

// The image a test starts from, as one step, then taken as saved.
void Seed(Fixture& f) {
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
}

QString Tag(const Fixture& f, int bank, int slot) {
    return QString::fromLatin1(f.channel(bank, slot)[kFieldTag].c_str());
}

// The keys go to the main window, active again once a tool window has closed.
void Focus(const Fixture& f) {
    QApplication::setActiveWindow(f.window.get());
    f.grid()->setFocus();
}
void Undo(const Fixture& f) {
    Focus(f);
    f.key(Qt::Key_Z, Qt::ControlModifier);
}
void Redo(const Fixture& f, bool shiftZ = false) {
    Focus(f);
    if (shiftZ) {
        f.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        f.key(Qt::Key_Y, Qt::ControlModifier);
    }
}

}  // namespace

class ToolsTest : public QObject {
    Q_OBJECT
  private slots:
    void memoryManagerMovesABankWithItsTrunkSettings() {
        Fixture f;
        Seed(f);
        const Image seeded = f.state.image;
        OnModal("editmenu", [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Edit Memory Banks"));
            QVERIFY(Child<QRadioButton>(w, "optSwap")->isChecked());
            Tick(w, "optMove");
            Pick(w, "fromList", 1);
            Pick(w, "toList", 3);
            Click(w, "apply");
            QVERIFY(!Child<QPushButton>(w, "apply")->isEnabled());
            QVERIFY(Child<QListWidget>(w, "fromList")->item(1)->text().endsWith("EMPTY"));
            Click(w, "ok");  // done already: not moved a second time
        });
        f.trigger("swapbanks");
        QCOMPARE(Tag(f, 3, 1), QString("PD North"));
        QVERIFY(IsEmptyChannel(f.state.image, 1, 1));
        QCOMPARE(f.state.image.TrunkType[3], std::string("4"));
        QCOMPARE(f.state.image.TrunkType[1], std::string("0"));
        QCOMPARE(f.action("tabundo")->text(), QString("&Undo Move bank 2 to bank 4"));
        QVERIFY(f.window->editor().modified());

        Undo(f);
        QVERIFY(f.state.image == seeded);
        QVERIFY(!f.window->editor().modified());
        QCOMPARE(f.action("tabredo")->text(), QString("&Redo Move bank 2 to bank 4"));
        Redo(f);
        QCOMPARE(Tag(f, 3, 1), QString("PD North"));
        QCOMPARE(f.prompter.unexpected, 0);
    }

    void memoryManagerCopiesAChannelIntoTheGrid() {
        Fixture f;
        Seed(f);
        f.window->selectBank(1);
        OnModal("editmenu", [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Edit Memory Data"));
            Pick(w, "fromList", 1);
            Pick(w, "toList", 9);
            Click(w, "ok");
        });
        f.trigger("copy_channhels");
        QCOMPARE(f.cell(10, 1), QString("0460.1250"));
        QCOMPARE(Tag(f, 1, 10), QString("PD South"));
        Undo(f);
        QCOMPARE(f.cell(10, 1), QString());
        Redo(f, true);
        QCOMPARE(f.cell(10, 2), QString("PD South"));
    }

    void trunkWindowOpensTheMemoryManagerInBankMode() {
        Fixture f;
        Seed(f);
        const Image seeded = f.state.image;
        OnModal("trunkconfig", [](QWidget* trunk) {
            auto* button = Child<QPushButton>(trunk, "copyMoveSwapBanks");
            QVERIFY(!button->isHidden());
            OnModal("editmenu", [](QWidget* w) {
                QCOMPARE(w->windowTitle(), QString("Edit Memory Banks"));
                Tick(w, "dataFrequencies", false);
                Tick(w, "dataTrunkIds", false);
                Pick(w, "fromList", 1);
                Pick(w, "toList", 0);
                Click(w, "ok");  // swap the trunk settings of banks 2 and 1
            });
            Click(trunk, "copyMoveSwapBanks");
            Click(trunk, "close");
        });
        f.trigger("trunkset");
        QCOMPARE(MemoryManagerCaption(), std::string(kChannelModeCaption));
        QCOMPARE(f.state.image.TrunkType[0], std::string("4"));
        QCOMPARE(f.state.image.TrunkSetting[0][0], std::string("5"));
        // The window's own storing afterwards is a step of its own.
        QStringList names;
        while (!(f.state.image == seeded) && names.size() < 3) {
            names << f.action("tabundo")->text();
            Undo(f);
        }
        QVERIFY(names.contains("&Undo Swap bank 2 and bank 1 (trunk settings)"));
        QVERIFY(f.state.image == seeded);
    }

    void findShowsTheHitInTheGrid() {
        Fixture f;
        Seed(f);
        OnModal("find", [&f](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Find Data"));
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
        f.trigger("menufind");
        QCOMPARE(f.state.options.findoptie[1], 1);  // "All Banks" is remembered
        QVERIFY(!f.window->editor().modified());
    }

    void replaceChangesTagsAsOneStep() {
        Fixture f;
        Seed(f);
        f.window->selectBank(1);
        OnModal("vervang", [](QWidget* w) {
            Type(w, "findText", "PD");
            Type(w, "replaceText", "Pol\"ice");  // the quote is refused as typed
            Click(w, "apply");
            QCOMPARE(Child<QLabel>(w, "result")->text(), QString("2 tags changed."));
            Click(w, "close");
        });
        f.trigger("menu_repl");
        QCOMPARE(f.cell(1, 2), QString("Police North"));
        QCOMPARE(f.cell(2, 2), QString("Police South"));
        Undo(f);
        QCOMPARE(f.cell(1, 2), QString("PD North"));
        QCOMPARE(f.cell(2, 2), QString("PD South"));
    }

    void easyFillFillsTheSelectedRows() {
        Fixture f;
        f.selectBlock(3, 6, 1, 1);
        OnModal("easy2", [](QWidget* w) {
            QCOMPARE(w->windowTitle(), QString("Easy Fill BCT8"));
            QCOMPARE(Child<QLineEdit>(w, "rangeStart")->text(), QString("3"));
            QCOMPARE(Child<QLineEdit>(w, "rangeEnd")->text(), QString("6"));
            Tick(w, "fillFrequency");
            Type(w, "startFreq", "88.00");
            Child<QComboBox>(w, "step")->setEditText("100");
            Tick(w, "fillTag");
            Tick(w, "fillSeries");
            Type(w, "tagText", "FM1");
            Click(w, "apply");
            QVERIFY(!Child<QPushButton>(w, "apply")->isEnabled());
            Click(w, "cancel");
        });
        f.trigger("tabeasy");
        QCOMPARE(f.cell(3, 1), QString("0088.0000"));
        QCOMPARE(f.cell(6, 1), QString("0088.3000"));
        QCOMPARE(f.cell(6, 2), QString("FM4"));
        QCOMPARE(f.action("tabundo")->text(), QString("&Undo Easy Fill channels 3 to 6"));
        Undo(f);
        QCOMPARE(f.cell(3, 1), QString());
        Redo(f);
        QCOMPARE(f.cell(4, 1), QString("0088.1000"));
    }

    void activeBanksAreStored() {
        Fixture f;
        f.window->editor().setModified(false);
        OnModal("ACTBANK", [](QWidget* w) {
            Click(w, "all");
            Tick(w, "bank4", false);
            Click(w, "ok");
        });
        f.trigger("set_search");
        QCOMPARE(f.state.image.ActiveBank, (std::array<std::int16_t, 5>{1, 1, 1, 0, 1}));
        Undo(f);
        QCOMPARE(f.state.image.ActiveBank, (std::array<std::int16_t, 5>{0, 0, 0, 0, 0}));
        QVERIFY(!f.window->editor().modified());
    }

    // Edits from the grid and from several windows, undone back to the saved image and redone.
    void longMixedSequenceUndoesToTheSavedImage() {
        Fixture f;
        Seed(f);
        f.prompter.saveNames.push_back(f.path("saved.mem"));
        QVERIFY(f.window->fileSave());
        QVERIFY(!f.window->editor().modified());
        const Image saved = f.state.image;

        for (int bank = 0; bank < kScannerBanks; ++bank) {
            f.window->selectBank(bank);
            f.enter(5, 1, QString::number(150 + bank));
            f.enter(5, 2, QStringLiteral("B%1").arg(bank));
            f.setCurrent(5, 5);
            f.type("1");
        }
        f.trigger("sort_rangedown");
        f.setCurrent(1, 1);
        f.trigger("memtab_inslin");
        OnModal("editmenu", [](QWidget* w) {
            Pick(w, "fromList", 0);
            Pick(w, "toList", 5);
            Click(w, "ok");  // swap bank 1 and the Dummy bank
        });
        f.trigger("swapbanks");
        OnModal("vervang", [](QWidget* w) {
            Tick(w, "scopeAll");
            Type(w, "findText", "B");
            Type(w, "replaceText", "BANK ");
            Click(w, "apply");
            Click(w, "close");
        });
        f.trigger("menu_repl");
        OnModal("easy2", [](QWidget* w) {
            Type(w, "rangeStart", "240");
            Type(w, "rangeEnd", "260");
            Tick(w, "fillLockout");
            Click(w, "apply");
            Click(w, "cancel");
        });
        f.trigger("tabeasy");
        OnModal("ACTBANK", [](QWidget* w) {
            Click(w, "all");
            Click(w, "ok");
        });
        f.trigger("set_search");
        OnModal("trunkconfig", [](QWidget* w) {
            auto* type = Child<QComboBox>(w, "typeList");
            type->setCurrentIndex(8);
            emit type->activated(8);
            Click(w, "close");
        });
        f.trigger("trunkset");
        f.window->selectBank(3);
        f.selectBlock(1, 10, 1, 5);
        f.trigger("tab_delete");
        f.trigger("checktab");
        const Image edited = f.state.image;
        QVERIFY(f.window->editor().modified());
        QVERIFY(f.window->editor().history().position() >= 20);

        int undos = 0;
        while (f.window->editor().modified() && undos < 200) {
            Undo(f);
            ++undos;
        }
        QVERIFY(f.state.image == saved);
        QVERIFY(f.action("tabredo")->isEnabled());
        while (f.window->editor().history().canRedo()) Redo(f);
        QVERIFY(f.state.image == edited);
        QVERIFY(f.window->editor().modified());
        QCOMPARE(f.prompter.unexpected, 0);
    }
};

QTEST_MAIN(ToolsTest)
#include "tools.moc"
