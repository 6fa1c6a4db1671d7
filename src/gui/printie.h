// "Let's Print..." (`printie`): picks a listing of the image and prints it, previews it or saves
// it as a PDF file. What goes on the pages is decided by the report layout; this window only
// chooses, draws and tells.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>

#include "core/image.h"
#include "platform/report_drawing.h"
#include "print/report.h"

class QButtonGroup;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPrintPreviewDialog;

namespace vex::gui {

class MemTab;
class Prompter;

class Printie : public QDialog {
    Q_OBJECT
  public:
    // `style` is the print table setup, kept by the caller between openings.
    Printie(const Image& image, int currentBank, const QString& fileName, Prompter& prompter,
            ReportStyle& style, QWidget* parent = nullptr);

    print::ReportChoice choice() const;
    int bank() const;  // the bank of the one-bank listings
    QPrinter& printer() { return d_printer; }

    // The system dialogs the window runs modally; tests put their own in.
    std::function<bool()> printerInstalled;        // is there any printer to print on
    std::function<bool(QPrinter&)> choosePrinter;  // the print dialog; false when cancelled
    std::function<void(QPrinter&)> setUpPrinter;   // the page setup
    std::function<void(QPrintPreviewDialog&)> runPreview;
    std::function<bool(ReportStyle&)> setUpPrintTable;  // false when cancelled

  private:
    ReportMaker maker() const;
    void print();
    void preview();
    void savePdf();
    void report(const DrawOutcome& outcome, const QString& doneText);

    const Image& d_image;
    QString d_fileName;
    Prompter& d_prompter;
    ReportStyle& d_style;
    QPrinter d_printer;
    QButtonGroup* d_options = nullptr;
    QListWidget* d_banks = nullptr;
    QLabel* d_status = nullptr;
};

// "Setup Print Table": the size of the listing's type.
class PrintTableSetup : public QDialog {
    Q_OBJECT
  public:
    PrintTableSetup(ReportStyle& style, QWidget* parent = nullptr);
    void accept() override;

  private:
    ReportStyle& d_style;
    QDoubleSpinBox* d_size = nullptr;
};

// File > Print: the window over the main window's image, with its grid stored first.
void OpenPrintie(MemTab& main);  // menuprint_Click

}  // namespace vex::gui
