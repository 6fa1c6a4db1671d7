// Help shows the guide that ships with the program, from both Help entries.
#include <QTextBrowser>
#include <QtTest>

#include "gui/userguide.h"
#include "memtab_support.h"

using namespace vex::gui;
using namespace vex::gui::test;

class UserGuideTest : public QObject {
    Q_OBJECT
  private slots:
    void helpEntriesShowTheGuide_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("Contents") << "help_edit";
        QTest::newRow("Read User Manual without a manual of one's own") << "open_manaul";
    }
    void helpEntriesShowTheGuide() {
        QFETCH(QString, action);
        Fixture f;
        f.window->findChild<QAction*>(action)->trigger();
        auto* guide = f.window->findChild<UserGuide*>();
        QVERIFY(guide);
        QVERIFY(guide->isVisible());
        QVERIFY(guide->browser()->toPlainText().contains("First start"));
        QVERIFY(f.prompter.told.isEmpty());
    }
};

QTEST_MAIN(UserGuideTest)
#include "userguide.moc"
