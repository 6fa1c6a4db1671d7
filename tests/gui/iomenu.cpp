// The import and export windows opened from the main window: each import reaches the image and
// the grid as one step that Undo takes back, refusals change nothing.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "gui/csvmapper.h"
#include "gui/memtab_support.h"
#include "gui/trunk_support.h"

using namespace vex;
using namespace vex::gui;
using vex::gui::test::Child;
using vex::gui::test::Click;
using vex::gui::test::Fixture;
using vex::gui::test::ReadTestFile;
using vex::gui::test::WriteTestFile;

namespace {

// A clone file whose bank A channel 1 is 162.55 MHz named "WN1" and channel 2 155 MHz.
QByteArray CloneFile() {
    return "13A00001\r\n#comment\r\n"
           "00001001625500000000000000574E31000000\r\n"
           "00101001550000000000000000FFFFFFFFFFFF\r\n";
}

// A ten-bank sibling file: bank b channel s at 100 + 50 b + s MHz, trunk rows 0..59 filled.
QByteArray SiblingFile() {
    const auto quoted = [](int count, const std::string& value) {
        std::string out;
        for (int i = 0; i < count; ++i) out += ",\"" + value + "\"";
        return out;
    };
    std::string t = "DURMAN MEM V1.01\r\n";
    for (int b = 0; b < 10; ++b)
        for (int s = 1; s <= 50; ++s)
            t += std::to_string(b * 50 + s) + ",\"" + std::to_string(100 + b * 50 + s) +
                 ".0000\",\"S" + std::to_string(b) + "\",\"0\",\"1\",\"0\",\"\"" + quoted(6, "") +
                 "\r\n";
    t += " \r\n";
    for (int b = 0; b < 12; ++b)
        t += "#$BT" + std::to_string(b) + " N" + std::to_string(b) + "\r\n";
    for (int i = 0; i < 10; ++i) t += "X\r\n";
    for (int b = 0; b < 10; ++b)
        for (int r = 0; r < 100; ++r)
            t += "TD " + quoted(4, r < 60 ? std::to_string(b * 100 + r) : "") + "\r\n";
    for (int i = 0; i < 10; ++i) t += "TID" + quoted(10, "") + "\r\n";
    for (int b = 0; b < 10; ++b) t += "TSI" + quoted(10, "") + "\r\n";
    for (int b = 0; b < 10; ++b) t += "#$TT" + std::to_string(b) + " 1\r\n";
    for (int b = 0; b < 30; ++b) t += "#$TBS" + quoted(8, "") + "\r\n";
    for (int i = 0; i < 10; ++i) t += "SRCH" + quoted(10, "") + "\r\n";
    return QByteArray::fromStdString(t);
}

}  // namespace

class IoMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void csvExportWritesTheChosenTable() {
        Fixture f;
        f.enter(1, 1, "162.55");
        f.prompter.saveNames = {f.path("bank")};
        f.triggerWith("expcsv", [](QWidget* window) {
            QVERIFY(Child<QRadioButton>(window, "choice0")->isChecked());
            QTest::mouseClick(window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        const QByteArray csv = ReadTestFile(f.path("bank.CSV"));
        QVERIFY(
            csv.startsWith("Bank,Channel,Frequency,Tag,Trunk,Delay Time,Lockout\r\n"
                           "1,1,0162.5500,"));
        QCOMPARE(f.prompter.unexpected, 0);
    }

    void dataImportFromClipboardIntoABankThenUndo() {
        Fixture f;
        QApplication::clipboard()->setText("<td>162.550</td><td>460.125</td><td>600.5</td> 155.1");
        f.triggerWith("imp_csv", [&f](QWidget* window) {
            Click(window, "fromClipboard");
            QCOMPARE(Child<QListWidget>(window, "found")->count(), 4);
            Click(window, "allRight");
            Child<QComboBox>(window, "bank")->setCurrentIndex(1);
            test::Type(window, "start", "49");
            Child<QLineEdit>(window, "start")->editingFinished();
            QCOMPARE(Child<QLineEdit>(window, "absolute")->text(), QString("99"));
            Click(window, "toTable");
            Click(window, "close");
        });
        QCOMPARE(f.window->editor().currentBank(), 1);
        QCOMPARE(f.cell(49, 1), QString("0162.5500"));
        QCOMPARE(f.cell(50, 1), QString("0460.1250"));
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY(f.prompter.told[0].contains(
            "1 entries were not imported: the bank has no channel past 50."));
        QVERIFY(f.prompter.told[0].contains("600.5"));
        QVERIFY(f.window->editor().modified());
        f.trigger("tabundo");
        QCOMPARE(f.cell(49, 1), QString());
        QVERIFY(IsEmptyChannel(f.state.image, 1, 49));
    }

    void dataImportWithNothingSelectedAsks() {
        Fixture f;
        f.prompter.answers = {Answer::Yes};
        f.triggerWith("imp_csv", [](QWidget* window) { Click(window, "toTable"); });
        QCOMPARE(f.prompter.asked,
                 QStringList({"?|You did not select any frequencies. Close this window anyway?"}));
    }

    void netscoopLeadsIntoTheClipboardImport() {
        Fixture f;
        f.trigger("catch");
        auto* netscoop = f.window->findChild<QDialog*>("netscoop");
        QVERIFY(netscoop && netscoop->isVisible() && !netscoop->isModal());
        QApplication::clipboard()->setText("Fire 154.430 MHz, WX 162.550");
        int found = -1;
        f.dialogs.acts.push_back([&found](QWidget* window) {
            found = Child<QListWidget>(window, "found")->count();
            Click(window, "close");
        });
        Click(netscoop, "pressToImport");
        QCOMPARE(found, 2);
        netscoop->close();
    }

    void icfApplyAsksBeforeOverridingThenUndo() {
        Fixture f;
        QVERIFY(WriteTestFile(f.path("radio.icf"), CloneFile()));
        f.enter(3, 1, "151.5");  // bank 1 holds data
        f.prompter.openNames = {f.path("radio.icf")};
        f.prompter.answers = {Answer::No, Answer::Yes};
        f.triggerWith("impadv", [&f](QWidget* window) {
            auto* destination = Child<QComboBox>(window, "destination");
            QCOMPARE(destination->itemData(1, Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
            Click(window, "apply");  // no destination yet
            destination->setCurrentIndex(1);
            Click(window, "apply");  // No
            QCOMPARE(f.channel(0, 1)[kFieldFrequency], std::string("0000.0000"));
            Click(window, "apply");  // Yes
            Click(window, "cancel");
        });
        QCOMPARE(f.prompter.told,
                 QStringList({"Import data from ICF files|Select destination bank."}));
        QCOMPARE(f.prompter.asked.size(), 2);
        QVERIFY(f.prompter.asked[0].startsWith("Override?|\nBank is not empty!"));
        QCOMPARE(f.cell(1, 1), QString("0162.5500"));
        QCOMPARE(f.cell(1, 2), QString("WN1"));
        QCOMPARE(f.cell(2, 1), QString("0155.0000"));
        QCOMPARE(f.cell(3, 1), QString());
        f.trigger("tabundo");
        QCOMPARE(f.cell(1, 1), QString());
        QCOMPARE(f.cell(3, 1), QString("0151.5000"));
    }

    // A file the import cannot use is refused with the reason, the table untouched.
    void refusedFiles_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("told");
        QTest::addRow("no clone file")
            << "impadv"
            << "notes.icf" << QByteArray("just\r\nsome\r\ntext\r\nlines\r\n")
            << "Import data from ICF files|This is not an ICF clone file.";
        QTest::addRow("CSV without frequencies")
            << "imp_csvchannels"
            << "bad.csv" << QByteArray("a,b\r\n")
            << "No \"Frequency\" column was found in the first lines of the file.";
    }
    void refusedFiles() {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, told);
        Fixture f;
        QVERIFY(WriteTestFile(f.path(name), content));
        f.prompter.openNames = {f.path(name)};
        const Image before = f.state.image;
        f.trigger(qPrintable(command));
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY2(f.prompter.told[0].endsWith(told), qPrintable(f.prompter.told[0]));
        QVERIFY(f.state.image == before);
        QVERIFY(f.dialogs.opened.isEmpty());
    }

    void siblingImportAllAsksOnce() {
        Fixture f;
        QVERIFY(WriteTestFile(f.path("old.mem"), SiblingFile()));
        f.enter(1, 1, "151.5");
        f.window->selectBank(2);
        f.prompter.openNames = {f.path("old.mem")};
        f.prompter.answers = {Answer::Yes};
        f.triggerWith("imp_ic2", [](QWidget* window) {
            Click(window, "names");
            QCOMPARE(Child<QComboBox>(window, "source")->itemText(1), QString("Bank 2: N1"));
            Click(window, "importAll");
            Click(window, "cancel");
        });
        QCOMPARE(f.prompter.asked.size(), 1);
        QCOMPARE(f.channel(0, 1)[kFieldFrequency], std::string("0101.0000"));
        QCOMPARE(f.channel(4, 50)[kFieldFrequency], std::string("0350.0000"));
        QCOMPARE(f.window->editor().currentBank(), 0);
        QCOMPARE(f.cell(2, 2), QString("S0"));
        QCOMPARE(f.cell(2, 4), QString("On"));
    }

    void siblingTrunkIdsApplySaysWhatWasLeftOut() {
        Fixture f;
        QVERIFY(WriteTestFile(f.path("old.mem"), SiblingFile()));
        f.prompter.openNames = {f.path("old.mem")};
        f.triggerWith("imp_trtags", [](QWidget* window) {
            Child<QComboBox>(window, "source")->setCurrentIndex(3);
            Child<QComboBox>(window, "destination")->setCurrentIndex(2);
            Click(window, "apply");
            Click(window, "cancel");
        });
        QCOMPARE(f.state.image.TrunkId[1][0][0], std::string("300"));
        QCOMPARE(f.state.image.TrunkId[1][49][0], std::string("349"));
        QCOMPARE(f.prompter.told.size(), 1);
        QVERIFY(f.prompter.told[0].contains("10 trunk ID rows past row 50 were not imported"));
        QVERIFY(f.window->editor().modified());
    }

    void csvChannelFileThenUndo() {
        Fixture f;
        QVERIFY(WriteTestFile(f.path("list.csv"),
                              "Channel;Frequency;Tag;Lockout\r\n3;162,55;\"WX, NOAA\";on\r\n"));
        f.prompter.openNames = {f.path("list.csv")};
        f.trigger("imp_csvchannels");
        QCOMPARE(f.cell(3, 1), QString("0162.5500"));
        QCOMPARE(f.cell(3, 2), QString("WX, NOAA"));
        QCOMPARE(f.cell(3, 5), QString("On"));
        f.trigger("tabundo");
        QCOMPARE(f.cell(3, 1), QString());
    }

    void csvMapperOpensGuessesAndSaves() {
        Fixture f;
        QVERIFY(WriteTestFile(f.path("list.txt"), "Frequency,Mode,Tag\r\n162.55,fm,ONE\r\n\r\n"));
        f.prompter.openNames = {f.path("list.txt")};
        f.prompter.saveNames = {f.path("clean")};
        f.triggerWith("imp_csv2", [](QWidget* window) {
            QCOMPARE(window->objectName(), QString("csvmapper"));
            window->findChild<QAction*>("mapperOpen")->trigger();
            auto* mapper = static_cast<CsvMapper*>(window);
            QCOMPARE(mapper->model().rowCount(), 3);
            QCOMPARE(mapper->model().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                     QString("Frequency (MHz)"));
            Click(window, "removeEmpty");
            QCOMPARE(mapper->model().rowCount(), 2);
            window->findChild<QAction*>("mapperSave")->trigger();
            window->findChild<QAction*>("mapperExit")->trigger();
        });
        QCOMPARE(ReadTestFile(f.path("clean.csv")),
                 QByteArray("TrunkNetscoop,data,Marlo,The Netherlands\r\nFrequency,Mode,Tag,\r\n"
                            "162.55,FM,ONE,\r\n"));
    }
};

QTEST_MAIN(IoMenuTest)
#include "iomenu.moc"
