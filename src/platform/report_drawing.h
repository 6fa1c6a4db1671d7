// Draws a laid-out report on a printer, a preview or a PDF file. The window and the command line
// share it, so what is previewed is what is printed and saved.
#pragma once

#include <QPageLayout>
#include <filesystem>
#include <functional>
#include <string>

#include "print/report.h"

class QPagedPaintDevice;

namespace vex {

struct ReportStyle {
    double pointSize = 8.25;
    bool operator==(const ReportStyle&) const = default;
};
inline constexpr double kMinReportPointSize = 6;
inline constexpr double kMaxReportPointSize = 12;

// Makes the report for pages of the given number of lines.
using ReportMaker = std::function<print::Report(int linesPerPage)>;

struct DrawOutcome {
    bool ok = true;
    int pages = 0;
    std::string message;  // what to tell the user when !ok
};

// Lines of the report's font that fit on a page of the device.
int LinesPerPage(QPagedPaintDevice& device, const ReportStyle& style);

// Lays the report out for the device and draws every page. Stops at the first failure.
DrawOutcome DrawReport(QPagedPaintDevice& device, const ReportMaker& make,
                       const ReportStyle& style);

// The A4 page with 15 mm margins that PDF files get unless the user set up another.
QPageLayout DefaultReportPageLayout();

// Renders the report as a PDF file, written atomically. Needs a QGuiApplication.
DrawOutcome WriteReportPdf(const std::filesystem::path& path, const ReportMaker& make,
                           const ReportStyle& style, const QPageLayout& layout,
                           const std::string& documentTitle);

}  // namespace vex
