// "Let's Print...": its choices reach the listing, and every way out of a print run (no printer,
// a cancelled dialog, a failing printer, a good one) ends in the window with the right word.
#include <QBuffer>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

#include "gui/memtab_support.h"
#include "gui/printie.h"
#include "gui/trunk_support.h"

using namespace vex;
using namespace vex::gui;
using namespace vex::gui::test;

namespace {

// Each page's lines as a PDF viewer shows them (through pdftotext), blanks collapsed.
QList<QStringList> PdfPages(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    if (!pdftotext.waitForFinished(20000) || pdftotext.exitCode() != 0) return {};
    QStringList texts = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QChar('\f'));
    texts.removeLast();  // after the last page break
    QList<QStringList> pages;
    for (const QString& text : texts) {
        QStringList lines;
        for (const QString& line : text.split(QChar('\n')))
            if (!line.simplified().isEmpty()) lines << line.simplified();
        pages << lines;
    }
    return pages;
}

// The same for what the layout put on each page, laid out for a PDF file's pages.
QList<QStringList> LaidOutPages(print::ReportChoice choice, const print::ReportSource& source) {
    QBuffer buffer;
    QPdfWriter writer(&buffer);
    writer.setPageLayout(DefaultReportPageLayout());
    QList<QStringList> pages;
    const int lines = LinesPerPage(writer, ReportStyle{});
    for (const print::Page& page : print::LayOutReport(choice, source, lines).pages) {
        QStringList texts;
        for (const print::Line& line : page.lines) {
            const QString text = QString::fromStdString(line.plainText()).simplified();
            if (!text.isEmpty()) texts << text;
        }
        pages << texts;
    }
    return pages;
}

}  // namespace

class PrintieTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        d_image = Image{};
        ClearForFileRead(d_image);
        SetStartupBankTags(d_image);
        d_prompter = ScriptedPrompter{};
        d_style = ReportStyle{};
    }

    // The one listing read back from a real PDF file: the window's bank and the grid's last edit
    // reach it, and every laid-out line is on the page, in order, and nothing else.
    void openedFromTheMainWindowSavesThePdf() {
        Fixture f;
        f.state.image.BankTag[2] = "Caf\xE9 Ops";
        f.window->selectBank(2);
        f.enter(7, 1, "155.5");  // still only in the grid when the window opens
        const QString pdf = f.path("bank.pdf");
        f.prompter.saveNames.push_back(f.path("bank"));  // ".pdf" is added
        QString status;
        f.dialogs.acts.push_back([&](QWidget* window) {
            auto* dialog = qobject_cast<Printie*>(window);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Let's Print..."));
            Click(dialog, "savepdf");
            status = Child<QLabel>(dialog, "status")->text();
            Click(dialog, "cancel");
        });
        f.trigger("menuprint");
        QCOMPARE(status, "1 page(s) saved to " + pdf + ".");
        QCOMPARE(f.prompter.lastFilter, QString("PDF Files (*.pdf);;All Files (*)"));
        QVERIFY(f.prompter.told.isEmpty());
        const QList<QStringList> pages = PdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages[0][0],
                 QString("Vexatron for BCT8 - " + QFileInfo(f.window->fileName()).fileName()));
        QCOMPARE(pages[0][2], QString::fromUtf8("Bankname: Caf\u00e9 Ops"));
        QVERIFY2(pages[0].contains("107: 0155.5000 Off On Off"), qPrintable(pages[0].join("\n")));
        print::ReportSource source;
        source.image = &f.state.image;
        source.bank = 2;
        source.fileName = f.window->fileName().toStdString();
        QCOMPARE(pages, LaidOutPages(print::ReportChoice::OneBank, source));
    }

    // Printing on a PDF file stands in for a printer; "" is a cancelled print dialog.
    void everyWayOutEndsWithTheRightWord_data() {
        QTest::addColumn<bool>("savePdf");  // else Print
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("told");
        const QString failed = "Let's Print...|Problem in printerroutine #1\n Err = ";
        const QString missing = "missing/folder/out.pdf";
        QTest::newRow("no printer") << false << "out.pdf" << false << "" << 3
                                    << "Let's Print...|No printer is set up on this system.";
        QTest::newRow("dialog cancelled") << false << "" << true << "" << 3 << "";
        QTest::newRow("printer fails") << false << missing << true << "Nothing was printed." << 3
                                       << failed + "1 Error: the printer could not be started";
        QTest::newRow("printed") << false << "out.pdf" << true << "5 page(s) sent to" << 6 << "";
        QTest::newRow("pdf not written") << true << missing << true << "Nothing was printed." << 2
                                         << failed + "4 Error: could not write";
        QTest::newRow("pdf saved") << true << "out.pdf" << true << "6 page(s) saved to" << 2 << "";
    }

    void everyWayOutEndsWithTheRightWord() {
        QFETCH(bool, savePdf);
        QFETCH(QString, output);
        QFETCH(bool, installed);
        QFETCH(QString, status);
        QFETCH(int, option);
        QFETCH(QString, told);
        auto w = window();
        w->printerInstalled = [&] { return installed; };
        int dialogs = 0;
        w->choosePrinter = [&](QPrinter& printer) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(d_dir.filePath(output));
            return !output.isEmpty();
        };
        d_prompter.saveNames.push_back(d_dir.filePath(output));
        Child<QRadioButton>(w.get(), qPrintable(QStringLiteral("option%1").arg(option)))->click();
        QCOMPARE(w->choice(), static_cast<print::ReportChoice>(option));
        QCOMPARE(Child<QListWidget>(w.get(), "banks")->isEnabled(), option == 3);
        Click(w.get(), savePdf ? "savepdf" : "print");
        QCOMPARE(dialogs, !savePdf && installed ? 1 : 0);
        const QString shown = Child<QLabel>(w.get(), "status")->text();
        QCOMPARE(status.isEmpty() ? shown : shown.left(status.size()), status);
        QCOMPARE(d_prompter.told.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty())
            QVERIFY2(d_prompter.told[0].startsWith(told), qPrintable(d_prompter.told[0]));
        QVERIFY(w->isVisible());
    }

    void previewShowsThePages() {
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

    void printTableSetupChangesTheType() {
        PrintTableSetup setup(d_style);
        Child<QDoubleSpinBox>(&setup, "fontsize")->setValue(10.5);
        setup.accept();
        QCOMPARE(d_style.pointSize, 10.5);

        auto w = window(4);
        QVERIFY(Child<QListWidget>(w.get(), "banks")->isEnabled());  // one bank is the first choice
        Child<QListWidget>(w.get(), "banks")->setCurrentRow(2);
        QCOMPARE(w->bank(), 2);
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
        Click(w.get(), "savepdf");  // a bank in large type goes on over a second page
        QVERIFY(Child<QLabel>(w.get(), "status")->text().startsWith("2 page(s) saved to"));
    }

  private:
    Image d_image;
    ScriptedPrompter d_prompter;
    ReportStyle d_style;
    QTemporaryDir d_dir;
    std::unique_ptr<Printie> window(int bank = 0) {
        auto w = std::make_unique<Printie>(d_image, bank, QStringLiteral("/x/harbour.mem"),
                                           d_prompter, d_style);
        w->show();
        return w;
    }
};

QTEST_MAIN(PrintieTest)
#include "printie.moc"
