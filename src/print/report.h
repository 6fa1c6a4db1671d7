// Printed listings of the image, laid out as pages of text lines. Any drawing surface (a
// printer, a PDF file, a preview) only has to place the cells; what is on which page, and in
// which order, is decided here.
#pragma once

#include "core/latin1.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"

namespace vex::print {

// The print window's options, in their order there.
enum class ReportChoice : int {
    TrunkIdsOfBank = 0,  // "Trunk ID's from active bank"
    SearchEdge = 1,      // "Search / Edge Data"
    AllBanks = 2,        // "All Memory Banks"
    OneBank = 3,         // "Active Bank"
    BanksAndSearch = 4,  // "Memory and Search Banks"
    Bandplan = 5,        // "Bandplan"
    AllTrunkIds = 6,     // "All trunk ID's / Tag's"
};
inline constexpr int kReportChoiceCount = 7;
const std::array<std::string, kReportChoiceCount>& ReportChoiceCaptions();

// True for the options that list one bank (the window lets the user pick it).
bool ListsOneBank(ReportChoice choice);

enum class LineKind { Title, Heading, ColumnHeadings, Body, Blank, Foot };
// Right-aligned text ends at `x`; PageRight text ends at the right edge of the printable area.
enum class Align { Left, Right, PageRight };

// A piece of text on a line. `x` is where it stands, in widths of the digit 0 of the report's
// type, so the columns keep their room at any type size.
struct Cell {
    double x = 0;
    std::string text;  // UTF-8
    Align align = Align::Left;
    bool operator==(const Cell&) const = default;
};

struct Line {
    LineKind kind = LineKind::Body;
    std::vector<Cell> cells;
    // All cell texts joined by single blanks, for tests and plain-text output.
    std::string plainText() const;
};

struct Page {
    std::vector<Line> lines;  // from the top; the foot line is the last and sits at the bottom
    int bank = -1;            // the bank the page lists, -1 for pages of no bank
};

struct Report {
    std::vector<Page> pages;
};

// What a report is made from.
struct ReportSource {
    const Image* image = nullptr;
    int bank = 0;          // the bank of the one-bank options, 0..5
    std::string fileName;  // the open MEM file as shown to the user, UTF-8
};

// The smallest page that still holds a section's headings and one listed line.
inline constexpr int kMinLinesPerPage = 12;

// Lays out the report of `choice` for pages of `linesPerPage` lines (foot line included).
// Each bank's section starts a page; a section longer than a page goes on over further pages,
// which repeat the title and the column headings. Every foot line ends with "Page n / m".
Report LayOutReport(ReportChoice choice, const ReportSource& source, int linesPerPage);

// The channel listing of the given banks (0..5), or their trunk ID listing.
Report LayOutChannels(const std::vector<int>& banks, const ReportSource& source, int linesPerPage);
Report LayOutTrunkIds(const std::vector<int>& banks, const ReportSource& source, int linesPerPage);

// "1" .. "5", or "Dummy".
std::string BankName(int bank);

// The box shown when printing fails. `bank` is -1 for a failure of the print run as a whole,
// otherwise the bank whose listing was being printed.
std::string PrintFailureMessage(int bank, int errorNumber, std::string_view errorText);

// Error numbers of the print run, as the failure message shows them.
enum PrintError : int {
    kErrorStart = 1,    // the printer or file could not be opened
    kErrorNewPage = 2,  // the printer refused a new page
    kErrorFinish = 3,   // the job could not be completed
    kErrorWrite = 4,    // the finished file could not be written
};

// Latin-1 text of the image as UTF-8.
using vex::Latin1ToUtf8;

}  // namespace vex::print
