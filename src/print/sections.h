// The content of one listing section (a bank's channels, its trunk IDs, the search/edge table,
// the band plans) before it is cut into pages.
#pragma once

#include <string>
#include <vector>

#include "print/report.h"

namespace vex::print {

struct Section {
    std::vector<Line> heading;  // the lines under the title on the section's first page
    Line columns;               // repeated on every page of the section
    std::vector<Line> body;
    std::string footNotice;  // what the foot line says before "Page n / m"
    int bank = -1;           // the bank listed, -1 for none
};

Section ChannelSection(const ReportSource& source, int bank);
Section TrunkIdSection(const ReportSource& source, int bank);
Section SearchEdgeSection(const ReportSource& source);
Section BandplanSection(const ReportSource& source);

// The title line of every page: "Vexatron for BCT8 - " and the file's name.
Line TitleLine(const ReportSource& source);

}  // namespace vex::print
