// The main window's pictures and tool tips: the program's own drawings stand in when the
// desktop's theme has none, and every tip names its shortcut.
#include <QFile>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "gui/icons.h"
#include "gui/memtab_support.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// Every button on the main window's toolbars, with the command it runs.
QList<QPair<QAction*, QAction*>> ToolbarButtons(const MemTab& window) {
    QList<QPair<QAction*, QAction*>> buttons;
    for (int which : {1, 2}) {
        for (QAction* a : window.toolbar(which)->actions()) {
            if (a->isSeparator()) continue;
            QAction* source = a;
            if (a->objectName().startsWith("tb_"))
                source =
                    window.findChild<QAction*>(a->objectName().mid(3), Qt::FindDirectChildrenOnly);
            buttons.append(qMakePair(a, source ? source : a));
        }
    }
    return buttons;
}

}  // namespace

class IconsTest : public QObject {
    Q_OBJECT
  private slots:
    // Only the themes made here are seen, never the machine's own.
    void init() {
        QVERIFY(d_themes.isValid());
        QIcon::setFallbackSearchPaths({});
        useTheme(QStringLiteral("vex-no-such-theme"));
    }

    void everyButtonHasAPictureAndItsShortcutInTheTip() {
        Fixture f;
        const auto buttons = ToolbarButtons(*f.window);
        QVERIFY(buttons.size() > 30);
        for (const auto& [button, source] : buttons) {
            QVERIFY2(!button->icon().pixmap(20, 20).isNull(), qPrintable(button->objectName()));
            QVERIFY2(!source->icon().isNull(), qPrintable(source->objectName()));  // menu entry too
            const QString key = source->shortcut().toString(QKeySequence::NativeText);
            if (!key.isEmpty())
                QVERIFY2(button->toolTip().endsWith(" (" + key + ")"),
                         qPrintable(button->toolTip()));
        }
        // The tips follow changed shortcuts and the step Undo takes back.
        auto* up = f.window->findChild<QAction*>("tb_edit_shiftup");
        QCOMPARE(up->toolTip(), QString("Shift Channel up (Ctrl+U)"));
        f.state.options.shiftdir = 1;
        f.window->applyOptions();
        QCOMPARE(up->toolTip(), QString("Shift Channel up (Ctrl+D)"));
        f.enter(1, kGridFrequency, "162.55");
        const QString undoTip = f.window->findChild<QAction*>("tb_tabundo")->toolTip();
        QVERIFY2(undoTip.startsWith("Undo ") && undoTip.endsWith(" (Ctrl+Z)") &&
                     undoTip != "Undo (Ctrl+Z)",
                 qPrintable(undoTip));
    }

    void windowsCarryTheProgramIcon() {
        setUpApplicationIdentity();
        for (int size : {16, 48, 256})
            QVERIFY(!QApplication::windowIcon().pixmap(size, size).isNull());
        // The desktop matches windows to the launcher the package installs.
        QCOMPARE(QGuiApplication::desktopFileName(), QString("vexatron"));
        QVERIFY(QFile::exists(QStringLiteral(VEX_TEST_DATA "/../../packaging/vexatron.desktop")));
        Fixture f;
        QCOMPARE(f.window->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

  private:
    void useTheme(const QString& name) {
        QIcon::setThemeSearchPaths({d_themes.path()});
        QIcon::setFallbackThemeName(name);
        QIcon::setThemeName(name);
    }
    QTemporaryDir d_themes;
};

QTEST_MAIN(IconsTest)
#include "icons.moc"
