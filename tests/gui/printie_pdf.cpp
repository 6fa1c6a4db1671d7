// Each listing drawn into a real PDF file and read back with a PDF text extractor: every page,
// heading, channel line and page number must be there, in order.
#include <QTemporaryDir>
#include <QtTest>

#include "gui/printie_support.h"
#include "platform/report_drawing.h"

using namespace vex;
using namespace vex::gui::test;

class PrintPdfTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void everyReportReadsBack_data();
    void everyReportReadsBack();
    void largerTypeGoesOverTwoPages();
    void unwritableFileIsReported();

  private:
    // Draws `choice` into a PDF; `laidOut` receives what the drawing was given.
    DrawOutcome render(print::ReportChoice choice, int bank, const QString& path,
                       print::Report& laidOut, const ReportStyle& style = {});

    QTemporaryDir d_dir;
    Image d_image;
};

void PrintPdfTest::init() {
    d_image = Image{};
    ClearForFileRead(d_image);
    SetStartupBankTags(d_image);
    d_image.BankTag[0] = "Caf\xE9 Ops";
    for (int bank = 0; bank < kBankCount; ++bank)
        for (int slot = 1; slot <= ChannelsPerBank; slot += 3)
            d_image.channel(bank, slot) = {
                "",
                "0" + std::to_string(150 + bank) + ".0" + std::to_string(100 + slot),
                "TAG " + std::to_string(bank * 50 + slot),
                "1",
                "0",
                "1",
                ""};
    d_image.channel(1, 1)[kFieldTag] = "FIRE DISP";
    for (int row = 0; row < kTrunkIdUsedRows; row += 2)
        d_image.TrunkId[2][row] = {std::to_string(10000 + row), "GROUP " + std::to_string(row), "",
                                   ""};
    d_image.ScanListTag[2][1] = "Highway";
}

DrawOutcome PrintPdfTest::render(print::ReportChoice choice, int bank, const QString& path,
                                 print::Report& laidOut, const ReportStyle& style) {
    print::ReportSource source;
    source.image = &d_image;
    source.bank = bank;
    source.fileName = "/data/radio/county.mem";
    return WriteReportPdf(
        path.toStdString(),
        [&](int lines) {
            laidOut = print::LayOutReport(choice, source, lines);
            return laidOut;
        },
        style, DefaultReportPageLayout(), "test");
}

// What each report holds is the layout's own test; here the drawing puts a laid-out report on
// real pages, one that runs over several and one of the trunk tables.
void PrintPdfTest::everyReportReadsBack_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("bank");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("firstPageHeading");
    QTest::addColumn<QString>("someLine");
    QTest::newRow("all banks") << 2 << 0 << 6 << "Bank: 1"
                               << "299: 0155.0149 TAG 299 On Off On";
    QTest::newRow("trunk IDs of bank") << 0 << 2 << 1 << "Bank: 3"
                                       << "2-1: 10010 GROUP 10";
}

void PrintPdfTest::everyReportReadsBack() {
    QFETCH(int, choice);
    QFETCH(int, bank);
    QFETCH(int, pages);
    QFETCH(QString, firstPageHeading);
    QFETCH(QString, someLine);
    const QString path = d_dir.filePath(QStringLiteral("report%1.pdf").arg(choice));
    print::Report laidOut;
    const DrawOutcome outcome =
        render(static_cast<print::ReportChoice>(choice), bank, path, laidOut);
    QVERIFY2(outcome.ok, outcome.message.c_str());
    QCOMPARE(outcome.pages, pages);

    const QList<QStringList> pdf = PdfPages(path);
    QCOMPARE(pdf.size(), pages);
    QCOMPARE(pdf[0][0], QString("Vexatron for BCT8 - county.mem"));
    QCOMPARE(pdf[0][1], firstPageHeading);
    bool found = false;
    for (int p = 0; p < pages; ++p) {
        QVERIFY(pdf[p].last().endsWith(QStringLiteral("Page %1 / %2").arg(p + 1).arg(pages)));
        // Everything laid out is on the page, in order, and nothing else.
        QCOMPARE(pdf[p], LaidOutLines(laidOut.pages[p]));
        found = found || pdf[p].contains(someLine);
    }
    QVERIFY2(found, qPrintable(someLine));
    if (choice == 2) {
        QCOMPARE(pdf[0][2], QString::fromUtf8("Bankname: Caf\u00e9 Ops"));
        QCOMPARE(pdf[5][1], QString("Bank: Dummy"));
        int channelLines = 0;
        for (const QStringList& page : pdf)
            for (const QString& line : page)
                if (QRegularExpression("^\\d+: ").match(line).hasMatch()) ++channelLines;
        QCOMPARE(channelLines, 6 * ChannelsPerBank);
    }
}

void PrintPdfTest::largerTypeGoesOverTwoPages() {
    const QString path = d_dir.filePath("large.pdf");
    print::Report laidOut;
    ReportStyle large;
    large.pointSize = kMaxReportPointSize;
    const DrawOutcome outcome = render(print::ReportChoice::OneBank, 4, path, laidOut, large);
    QVERIFY2(outcome.ok, outcome.message.c_str());
    const QList<QStringList> pdf = PdfPages(path);
    QCOMPARE(pdf.size(), 2);
    QCOMPARE(pdf[1][0], QString("Vexatron for BCT8 - county.mem"));
    QCOMPARE(pdf[1][1], QString("Frequency Tag Trunk Delay L.out"));
    QVERIFY(pdf[1].last().endsWith("Page 2 / 2"));
    QVERIFY(pdf[1].contains("250: Empty"));
}

void PrintPdfTest::unwritableFileIsReported() {
    print::Report laidOut;
    const QString path = d_dir.filePath("no/such/folder/x.pdf");
    const DrawOutcome outcome = render(print::ReportChoice::AllBanks, 0, path, laidOut);
    QVERIFY(!outcome.ok);
    QVERIFY2(
        QString::fromStdString(outcome.message)
            .startsWith("Problem in printerroutine #1\n Err = 4 Error: could not write " + path),
        outcome.message.c_str());
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(PrintPdfTest)
#include "printie_pdf.moc"
