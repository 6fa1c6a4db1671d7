// "Let's Print...": its choices reach the listing, and every way out of a print run (no printer,
// a cancelled dialog, a failing printer, a good one) ends in the window with the right word.
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

#include "gui/memtab_support.h"
#include "gui/printie.h"
#include "gui/printie_support.h"
#include "gui/trunk_support.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

class PrintieTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void openedFromTheMainWindowSavesThePdf();
    void menuEntryShortcutAndToolbarButton();
    void bankListFollowsTheOption();
    void noPrinterIsToldAndNothingElseRuns();
    void cancelledPrintDialogPrintsNothing();
    void failingPrinterShowsTheMessage();
    void printingOnAPrinterDrawsEveryPage();
    void previewShowsThePages();
    void printTableSetupChangesTheType();

  private:
    std::unique_ptr<Printie> window(int bank = 0);

    Image d_image;
    ScriptedPrompter d_prompter;
    ReportStyle d_style;
    QTemporaryDir d_dir;
};

void PrintieTest::init() {
    d_image = Image{};
    ClearForFileRead(d_image);
    SetStartupBankTags(d_image);
    d_image.channel(2, 5) = {"", "0460.2500", "HARBOUR", "0", "1", "0", ""};
    d_prompter = ScriptedPrompter{};
    d_style = ReportStyle{};
}

std::unique_ptr<Printie> PrintieTest::window(int bank) {
    auto w = std::make_unique<Printie>(d_image, bank, QStringLiteral("/x/harbour.mem"), d_prompter,
                                       d_style);
    w->show();
    return w;
}

void PrintieTest::openedFromTheMainWindowSavesThePdf() {
    Fixture f;
    f.window->selectBank(2);
    f.enter(7, 1, "155.5");  // still only in the grid when the window opens
    const QString pdf = f.path("all.pdf");
    f.prompter.saveNames.push_back(f.path("all"));  // ".pdf" is added
    QString status;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Printie*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Let's Print..."));
        QCOMPARE(dialog->choice(), print::ReportChoice::OneBank);
        QCOMPARE(dialog->bank(), 2);
        Child<QRadioButton>(dialog, "option2")->click();
        Click(dialog, "savepdf");
        status = Child<QLabel>(dialog, "status")->text();
        Click(dialog, "cancel");
    });
    f.trigger("menuprint");
    QCOMPARE(status, "6 page(s) saved to " + pdf + ".");
    QCOMPARE(f.prompter.lastFilter, QString("PDF Files (*.pdf);;All Files (*)"));
    QVERIFY(f.prompter.told.isEmpty());
    const QList<QStringList> pages = PdfPages(pdf);
    QCOMPARE(pages.size(), 6);
    QVERIFY2(pages[2].contains("107: 0155.5000 Off On Off"), qPrintable(pages[2].join("\n")));
    QVERIFY(pages[5].last().endsWith("Page 6 / 6"));
}

void PrintieTest::menuEntryShortcutAndToolbarButton() {
    Fixture f;
    QAction* print = f.action("menuprint");
    QVERIFY(print);
    QCOMPARE(print->text(), QString("&Print..."));
    QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QVERIFY(f.window->menu(MemTab::Menu::File)->actions().contains(print));
    QAction* button = f.window->toolbar(2)->actions().value(0);
    QVERIFY(button);
    QCOMPARE(button->text(), QString("Print option"));
}

void PrintieTest::bankListFollowsTheOption() {
    auto w = window(5);
    auto* banks = Child<QListWidget>(w.get(), "banks");
    QCOMPARE(banks->count(), 6);
    QCOMPARE(banks->item(5)->text(), QString("6: Dummy"));
    QCOMPARE(w->bank(), 5);
    for (int option = 0; option < print::kReportChoiceCount; ++option) {
        Child<QRadioButton>(w.get(), qPrintable(QStringLiteral("option%1").arg(option)))->click();
        QCOMPARE(w->choice(), static_cast<print::ReportChoice>(option));
        QCOMPARE(banks->isEnabled(), option == 0 || option == 3);
    }
    Child<QRadioButton>(w.get(), "option3")->click();
    banks->setCurrentRow(2);
    d_prompter.saveNames.push_back(d_dir.filePath("bank3.pdf"));
    Click(w.get(), "savepdf");
    const QList<QStringList> pages = PdfPages(d_dir.filePath("bank3.pdf"));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0][1], QString("Bank: 3"));
    QVERIFY(pages[0].contains("105: 0460.2500 HARBOUR Off On Off"));
}

void PrintieTest::noPrinterIsToldAndNothingElseRuns() {
    auto w = window();
    w->printerInstalled = [] { return false; };
    int dialogs = 0;
    w->choosePrinter = [&](QPrinter&) { return ++dialogs, true; };
    Click(w.get(), "print");
    QCOMPARE(dialogs, 0);
    QCOMPARE(d_prompter.told.size(), 1);
    QVERIFY(d_prompter.told[0].startsWith("Let's Print...|No printer is set up on this system."));
    QVERIFY(w->isVisible());
}

void PrintieTest::cancelledPrintDialogPrintsNothing() {
    auto w = window();
    w->printerInstalled = [] { return true; };
    w->choosePrinter = [](QPrinter&) { return false; };
    Click(w.get(), "print");
    QVERIFY(d_prompter.told.isEmpty());
    QCOMPARE(Child<QLabel>(w.get(), "status")->text(), QString());
    QVERIFY(w->isVisible());
}

void PrintieTest::failingPrinterShowsTheMessage() {
    auto w = window();
    w->printerInstalled = [] { return true; };
    w->choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(d_dir.filePath("missing/folder/out.pdf"));
        return true;
    };
    Click(w.get(), "print");
    QCOMPARE(d_prompter.told,
             QStringList("Let's Print...|Problem in printerroutine #1\n Err = 1 Error: the printer "
                         "could not be started"));
    QCOMPARE(Child<QLabel>(w.get(), "status")->text(), QString("Nothing was printed."));
}

void PrintieTest::printingOnAPrinterDrawsEveryPage() {
    auto w = window();
    w->printerInstalled = [] { return true; };
    const QString out = d_dir.filePath("printed.pdf");
    w->choosePrinter = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        return true;
    };
    Child<QRadioButton>(w.get(), "option6")->click();
    Click(w.get(), "print");
    QVERIFY(d_prompter.told.isEmpty());
    QVERIFY(Child<QLabel>(w.get(), "status")->text().startsWith("5 page(s) sent to"));
    const QList<QStringList> pages = PdfPages(out);
    QCOMPARE(pages.size(), 5);
    QVERIFY(pages[4].last().endsWith("Trunk ID listing, bank 5 Page 5 / 5"));
}

void PrintieTest::previewShowsThePages() {
    auto w = window();
    Child<QRadioButton>(w.get(), "option4")->click();
    int shown = -1;
    w->runPreview = [&](QPrintPreviewDialog& dialog) {
        dialog.show();
        auto* view = dialog.findChild<QPrintPreviewWidget*>();
        QVERIFY(view);
        view->updatePreview();
        shown = view->pageCount();
        dialog.close();
    };
    Click(w.get(), "preview");
    QCOMPARE(shown, 7);
    QVERIFY(d_prompter.told.isEmpty());
}

void PrintieTest::printTableSetupChangesTheType() {
    PrintTableSetup setup(d_style);
    Child<QDoubleSpinBox>(&setup, "fontsize")->setValue(10.5);
    setup.accept();
    QCOMPARE(d_style.pointSize, 10.5);

    auto w = window(4);
    w->setUpPrintTable = [](ReportStyle& style) {
        style.pointSize = kMaxReportPointSize;
        return true;
    };
    Click(w.get(), "setuptable");
    QCOMPARE(d_style.pointSize, kMaxReportPointSize);
    w->setUpPrintTable = [](ReportStyle& style) {
        style.pointSize = kMinReportPointSize;
        return false;  // cancelled
    };
    Click(w.get(), "setuptable");
    QCOMPARE(d_style.pointSize, kMaxReportPointSize);
    d_prompter.saveNames.push_back(d_dir.filePath("large.pdf"));
    Click(w.get(), "savepdf");
    QCOMPARE(PdfPages(d_dir.filePath("large.pdf")).size(), 2);
}

QTEST_MAIN(PrintieTest)
#include "printie.moc"
