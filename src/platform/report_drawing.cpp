#include "platform/report_drawing.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

#include "core/atomic_file.h"

namespace vex {
namespace {

QFont ReportFont(const ReportStyle& style, bool bold) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(style.pointSize);
    font.setBold(bold);
    // No ligatures: a listing's "Off" must read back as three letters from the PDF.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

bool IsBold(print::LineKind kind) {
    return kind == print::LineKind::Title || kind == print::LineKind::ColumnHeadings;
}

DrawOutcome Failure(int bank, int error, const char* text) {
    return DrawOutcome{false, 0, print::PrintFailureMessage(bank, error, text)};
}

void DrawLine(QPainter& painter, const print::Line& line, double baseline, double width,
              const QFont& plain, const QFont& bold) {
    const double unit = QFontMetricsF(plain, painter.device()).horizontalAdvance(QChar('0'));
    painter.setFont(IsBold(line.kind) ? bold : plain);
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const print::Cell& cell : line.cells) {
        const QString text =
            QString::fromUtf8(cell.text.data(), static_cast<qsizetype>(cell.text.size()));
        double x = cell.x * unit;
        if (cell.align == print::Align::PageRight) x = width;
        if (cell.align != print::Align::Left) x -= metrics.horizontalAdvance(text);
        painter.drawText(QPointF(x, baseline), text);
    }
}

void DrawPage(QPainter& painter, const print::Page& page, const QRectF& area,
              const ReportStyle& style) {
    const QFont plain = ReportFont(style, false);
    const QFont bold = ReportFont(style, true);
    const QFontMetricsF metrics(plain, painter.device());
    const double step = metrics.lineSpacing();
    const QPen rule(Qt::black, std::max(1.0, step / 20));
    double baseline = area.top() + metrics.ascent();
    for (const print::Line& line : page.lines) {
        if (line.kind == print::LineKind::Foot) {
            const double footBaseline = area.bottom() - metrics.descent();
            painter.setPen(rule);
            painter.drawLine(QPointF(area.left(), footBaseline - metrics.ascent() - step / 4),
                             QPointF(area.right(), footBaseline - metrics.ascent() - step / 4));
            DrawLine(painter, line, footBaseline, area.width(), plain, bold);
            continue;
        }
        DrawLine(painter, line, baseline, area.width(), plain, bold);
        if (line.kind == print::LineKind::Title) {
            painter.setPen(rule);
            const double y = baseline + metrics.descent() + step / 8;
            painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        }
        baseline += step;
    }
}

}  // namespace

int LinesPerPage(QPagedPaintDevice& device, const ReportStyle& style) {
    const QFontMetricsF metrics(ReportFont(style, false), &device);
    // The foot line stands a quarter line lower than a listed line would.
    return static_cast<int>(std::floor(device.height() / metrics.lineSpacing() - 0.25));
}

DrawOutcome DrawReport(QPagedPaintDevice& device, const ReportMaker& make,
                       const ReportStyle& style) {
    const print::Report report = make(LinesPerPage(device, style));
    QPainter painter;
    if (!painter.begin(&device))
        return Failure(-1, print::kErrorStart, "the printer could not be started");
    const QRectF area(0, 0, device.width(), device.height());
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return Failure(report.pages[i].bank, print::kErrorNewPage,
                           "the printer refused a new page");
        }
        DrawPage(painter, report.pages[i], area, style);
    }
    if (!painter.end())
        return Failure(-1, print::kErrorFinish, "the print job could not be completed");
    return DrawOutcome{true, static_cast<int>(report.pages.size()), {}};
}

QPageLayout DefaultReportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

DrawOutcome WriteReportPdf(const std::filesystem::path& path, const ReportMaker& make,
                           const ReportStyle& style, const QPageLayout& layout,
                           const std::string& documentTitle) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DrawOutcome outcome;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setTitle(QString::fromUtf8(documentTitle.c_str()));
        writer.setCreator(QStringLiteral("Vexatron"));
        outcome = DrawReport(writer, make, style);
    }
    if (!outcome.ok) return outcome;
    const QByteArray& bytes = buffer.data();
    const WriteResult written = WriteFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!written) {
        outcome.ok = false;
        outcome.message = print::PrintFailureMessage(
            -1, print::kErrorWrite, "could not write " + path.string() + ": " + written.error);
    }
    return outcome;
}

}  // namespace vex
