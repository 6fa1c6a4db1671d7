#include "gui/printie.h"

#include <algorithm>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/memtab.h"
#include "gui/prompter.h"

namespace vex::gui {
namespace {

const QString kTitle = QStringLiteral("Let's Print...");

std::filesystem::path ToPath(const QString& name) {
    return std::filesystem::path(name.toStdString());
}

}  // namespace

Printie::Printie(const Image& image, int currentBank, const QString& fileName, Prompter& prompter,
                 ReportStyle& style, QWidget* parent)
    : QDialog(parent),
      d_image(image),
      d_fileName(fileName),
      d_prompter(prompter),
      d_style(style),
      d_printer(QPrinter::HighResolution) {
    setObjectName("printie");
    setWindowTitle(kTitle);
    d_printer.setPageLayout(DefaultReportPageLayout());

    printerInstalled = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
    choosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    setUpPrinter = [this](QPrinter& printer) {
        QPageSetupDialog dialog(&printer, this);
        dialog.exec();
    };
    runPreview = [](QPrintPreviewDialog& dialog) { dialog.exec(); };
    setUpPrintTable = [this](ReportStyle& s) {
        PrintTableSetup dialog(s, this);
        return dialog.exec() == QDialog::Accepted;
    };

    auto* optionsBox = new QGroupBox(tr("Select an item to print:"));
    auto* optionsLayout = new QVBoxLayout(optionsBox);
    d_options = new QButtonGroup(this);
    const auto& captions = print::ReportChoiceCaptions();
    for (int i = 0; i < print::kReportChoiceCount; ++i) {
        auto* option = new QRadioButton(L1(captions[i]));
        option->setObjectName(QStringLiteral("option%1").arg(i));
        d_options->addButton(option, i);
        optionsLayout->addWidget(option);
    }

    d_banks = new QListWidget;
    d_banks->setObjectName("banks");
    for (int bank = 0; bank < kBankCount; ++bank) d_banks->addItem(L1(BankTabCaption(image, bank)));
    d_banks->setCurrentRow(std::clamp(currentBank, 0, kBankCount - 1));
    d_banks->setToolTip(
        tr("The bank that \"Active Bank\" and \"Trunk ID's from active bank\" print"));

    const auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* printButton = button(tr("Print"), "print");
    printButton->setDefault(true);
    QPushButton* previewButton = button(tr("Preview..."), "preview");
    QPushButton* pdfButton = button(tr("Save as PDF..."), "savepdf");
    QPushButton* setupPrinter = button(tr("Setup Printer"), "setupprinter");
    QPushButton* setupTable = button(tr("Setup Print Table"), "setuptable");
    QPushButton* cancel = button(tr("Cancel"), "cancel");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {printButton, previewButton, pdfButton, setupPrinter, setupTable, cancel})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(optionsBox);
    top->addWidget(d_banks, 1);
    top->addLayout(buttons);
    d_status = new QLabel;
    d_status->setObjectName("status");
    d_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(d_status);

    connect(d_options, &QButtonGroup::idToggled, this,
            [this](int, bool) { d_banks->setEnabled(print::ListsOneBank(choice())); });
    d_options->button(static_cast<int>(print::ReportChoice::OneBank))->setChecked(true);

    connect(printButton, &QPushButton::clicked, this, &Printie::print);
    connect(previewButton, &QPushButton::clicked, this, &Printie::preview);
    connect(pdfButton, &QPushButton::clicked, this, &Printie::savePdf);
    connect(setupPrinter, &QPushButton::clicked, this, [this] { setUpPrinter(d_printer); });
    connect(setupTable, &QPushButton::clicked, this, [this] {
        ReportStyle edited = d_style;
        if (setUpPrintTable(edited)) d_style = edited;
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

print::ReportChoice Printie::choice() const {
    return static_cast<print::ReportChoice>(std::max(0, d_options->checkedId()));
}

int Printie::bank() const {
    return std::max(0, d_banks->currentRow());
}

ReportMaker Printie::maker() const {
    print::ReportSource source;
    source.image = &d_image;
    source.bank = bank();
    source.fileName = d_fileName.toStdString();
    const print::ReportChoice chosen = choice();
    return [source, chosen](int linesPerPage) {
        return print::LayOutReport(chosen, source, linesPerPage);
    };
}

void Printie::report(const DrawOutcome& outcome, const QString& doneText) {
    if (!outcome.ok) {
        d_status->setText(tr("Nothing was printed."));
        d_prompter.tell(this, kTitle, QString::fromStdString(outcome.message),
                        NoticeIcon::Critical);
        return;
    }
    d_status->setText(doneText);
}

void Printie::print() {
    if (!printerInstalled()) {
        d_prompter.tell(this, kTitle,
                        tr("No printer is set up on this system. Use \"Save as PDF...\" to keep "
                           "the listing as a file."),
                        NoticeIcon::Warning);
        return;
    }
    d_printer.setOutputFormat(QPrinter::NativeFormat);
    if (!choosePrinter(d_printer)) return;
    DrawOutcome outcome = DrawReport(d_printer, maker(), d_style);
    if (outcome.ok && d_printer.printerState() == QPrinter::Error)
        outcome = {
            false, 0,
            print::PrintFailureMessage(-1, print::kErrorFinish, "the printer reported an error")};
    report(outcome, tr("%1 page(s) sent to %2.").arg(outcome.pages).arg(d_printer.printerName()));
}

void Printie::preview() {
    QPrintPreviewDialog dialog(&d_printer, this);
    dialog.setWindowTitle(tr("Print Preview"));
    DrawOutcome outcome;
    const ReportMaker make = maker();
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&](QPrinter* printer) { outcome = DrawReport(*printer, make, d_style); });
    runPreview(dialog);
    // Printing from the preview goes through the same drawing; its failure is told here.
    if (!outcome.ok) report(outcome, {});
}

void Printie::savePdf() {
    QString name =
        d_prompter.saveFileName(this, tr("Save as PDF"), tr("PDF Files (*.pdf);;All Files (*)"));
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".pdf");
    const std::string title =
        "Vexatron for BCT8 - " + QFileInfo(d_fileName).fileName().toStdString();
    const DrawOutcome outcome =
        WriteReportPdf(ToPath(name), maker(), d_style, d_printer.pageLayout(), title);
    report(outcome, tr("%1 page(s) saved to %2.").arg(outcome.pages).arg(name));
}

PrintTableSetup::PrintTableSetup(ReportStyle& style, QWidget* parent)
    : QDialog(parent), d_style(style) {
    setObjectName("printtable");
    setWindowTitle(tr("Setup Print Table"));
    d_size = new QDoubleSpinBox;
    d_size->setObjectName("fontsize");
    d_size->setRange(kMinReportPointSize, kMaxReportPointSize);
    d_size->setSingleStep(0.25);
    d_size->setDecimals(2);
    d_size->setSuffix(tr(" pt"));
    d_size->setValue(style.pointSize);
    auto* form = new QFormLayout;
    form->addRow(tr("Type size of the listings:"), d_size);
    form->addRow(
        new QLabel(tr("Larger type needs more pages; a bank then goes on over a "
                      "second page.")));
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

void PrintTableSetup::accept() {
    d_style.pointSize = d_size->value();
    QDialog::accept();
}

void OpenPrintie(MemTab& main) {
    // The print table setup lasts as long as the program runs.
    static ReportStyle style;
    if (!main.storeGrid()) return;
    Printie window(main.state().image, main.editor().currentBank(), main.fileName(),
                   main.prompter(), style, &main);
    main.dialogs().exec(window);
    main.showBank();
}

}  // namespace vex::gui
