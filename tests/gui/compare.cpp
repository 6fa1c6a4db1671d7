// File > Compare With...: a MEM file with known differences is listed line by line, and
// choosing a line shows its channel or bank in the main window.
#include <QListWidget>
#include <QtTest>

#include "core/memfile.h"
#include "gui/comparewin.h"
#include "gui/memtab_support.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

class CompareTest : public QObject {
    Q_OBJECT
  private slots:
    void listsTheDifferencesAndJumpsToEach();
    void fileWithoutDifferencesOrUnreadable_data();
    void fileWithoutDifferencesOrUnreadable();
};

namespace {

// A table as a MEM file gives it back: trunk types "0" rather than a fresh start's empty ones.
void AsFromAFile(AppState& state) {
    for (int b = 0; b < kScannerBanks; ++b) state.image.TrunkType[b] = "0";
}

CompareWin* OpenComparison(Fixture& f, const QString& file) {
    f.prompter.openNames = {file};
    f.trigger("compare_file");
    return f.window->findChild<CompareWin*>();
}

}  // namespace

void CompareTest::listsTheDifferencesAndJumpsToEach() {
    Fixture f(AsFromAFile);
    f.enter(3, 1, "154.385");
    QVERIFY(f.window->storeGrid());
    Image other = f.state.image;
    other.channel(1, 17)[kFieldFrequency] = "0460.1250";
    other.BankTag[3] = "Harbour";
    other.TrunkSetting[2][0] = "0851.0125";
    const QString file = f.path("other.mem");
    QVERIFY(WriteMemFile(other, file.toStdString(), f.state.options).ok);

    CompareWin* window = OpenComparison(f, file);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isModal());
    QListWidget* list = window->list();
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(),
             QString(R"(bank 2 channel 17 frequency: "0000.0000" -> "0460.1250")"));
    QVERIFY(list->item(1)->text().startsWith("bank 4 name: "));
    QVERIFY(list->item(2)->text().startsWith("bank 3 trunk control channel: "));

    list->setCurrentRow(0);
    QCOMPARE(f.window->editor().currentBank(), 1);
    QCOMPARE(f.grid()->selection().currentRow, 17);
    list->setCurrentRow(1);
    QCOMPARE(f.window->editor().currentBank(), 3);
    // Selecting a trunk line shows its bank; opening the trunk window needs Enter.
    list->setCurrentRow(2);
    QCOMPARE(f.window->editor().currentBank(), 2);
    // The open image is left as it was.
    QCOMPARE(f.channel(1, 17)[kFieldFrequency], std::string("0000.0000"));
    QCOMPARE(f.prompter.unexpected, 0);
}

void CompareTest::fileWithoutDifferencesOrUnreadable_data() {
    QTest::addColumn<bool>("same");
    QTest::addColumn<QString>("told");
    QTest::newRow("same data") << true << "hold the same data";
    QTest::newRow("not a MEM file") << false << "not VEXA compatible";
}

void CompareTest::fileWithoutDifferencesOrUnreadable() {
    QFETCH(bool, same);
    QFETCH(QString, told);
    Fixture f(AsFromAFile);
    const QString file = f.path("other.mem");
    if (same) {
        QVERIFY(WriteMemFile(f.state.image, file.toStdString(), f.state.options).ok);
    } else {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("a shopping list\r\n");
    }
    QVERIFY(!OpenComparison(f, file));
    QCOMPARE(f.prompter.told.size(), 1);
    QVERIFY2(f.prompter.told[0].contains(told), qPrintable(f.prompter.told[0]));
}

QTEST_MAIN(CompareTest)
#include "compare.moc"
