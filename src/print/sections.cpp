#include "print/sections.h"

#include "core/numeric.h"
#include "trunk/trunk_id.h"
#include "trunk/trunk_settings.h"
#include "trunk/trunk_types.h"

namespace vex::print {
namespace {

// Column stops shared by the listings: a right-aligned number, then the values.
constexpr double kNumberEnd = 5;
constexpr double kFirstValue = 7;

Line Text(LineKind kind, std::string text, double x = 0) {
    return Line{kind, {Cell{x, std::move(text), Align::Left}}};
}

Line Blank() {
    return Line{LineKind::Blank, {}};
}

Line Columns(const std::vector<std::pair<double, std::string>>& headings) {
    Line line{LineKind::ColumnHeadings, {}};
    for (const auto& [x, text] : headings) line.cells.push_back(Cell{x, text, Align::Left});
    return line;
}

// A body line that starts with "label:" right-aligned in the number column.
Line Numbered(const std::string& label, const std::vector<std::pair<double, std::string>>& values) {
    Line line{LineKind::Body, {Cell{kNumberEnd, label + ":", Align::Right}}};
    for (const auto& [x, text] : values) line.cells.push_back(Cell{x, text, Align::Left});
    return line;
}

std::string FlagWord(const std::string& text) {
    if (text == "1") return "On";
    if (text == "0") return "Off";
    return "";
}

std::vector<Line> BankHeading(const ReportSource& source, int bank) {
    const Image& image = *source.image;
    return {
        Text(LineKind::Heading, "Bank: " + BankName(bank)),
        Text(LineKind::Heading, "Bankname: " + Latin1ToUtf8(image.BankTag[bank])),
        Text(LineKind::Heading, "Filename: " + source.fileName),
        Blank(),
    };
}

}  // namespace

Line TitleLine(const ReportSource& source) {
    const std::size_t slash = source.fileName.find_last_of("/\\");
    const std::string name =
        slash == std::string::npos ? source.fileName : source.fileName.substr(slash + 1);
    return Text(LineKind::Title, "Vexatron for BCT8 - " + name);
}

Section ChannelSection(const ReportSource& source, int bank) {
    constexpr double kTag = 19, kTrunk = 39, kDelay = 46, kLockout = 53;
    Section section;
    section.heading = BankHeading(source, bank);
    section.columns = Columns({{kFirstValue, "Frequency"},
                               {kTag, "Tag"},
                               {kTrunk, "Trunk"},
                               {kDelay, "Delay"},
                               {kLockout, "L.out"}});
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        // The number the main window's grid shows for the row.
        const std::string number = std::to_string(bank * ChannelsPerBank + slot);
        const Channel& c = source.image->channel(bank, slot);
        if (IsEmptyChannel(c)) {
            section.body.push_back(Numbered(number, {{kFirstValue, "Empty"}}));
            continue;
        }
        section.body.push_back(Numbered(number, {{kFirstValue, Latin1ToUtf8(c[kFieldFrequency])},
                                                 {kTag, Latin1ToUtf8(c[kFieldTag])},
                                                 {kTrunk, FlagWord(c[kFieldTrunk])},
                                                 {kDelay, FlagWord(c[kFieldDelay])},
                                                 {kLockout, FlagWord(c[kFieldLockout])}}));
    }
    section.footNotice = "Channel listing, bank " + BankName(bank);
    section.bank = bank;
    return section;
}

Section TrunkIdSection(const ReportSource& source, int bank) {
    constexpr double kTag = 19;
    constexpr int kLists = kTrunkIdUsedRows / 10;
    const Image& image = *source.image;
    Section section;
    section.heading = BankHeading(source, bank);
    section.columns = Columns({{kFirstValue, "ID"}, {kTag, "Tag"}});
    for (int list = 0; list < kLists; ++list) {
        if (list > 0) section.body.push_back(Blank());
        section.body.push_back(
            Text(LineKind::Heading, "List " + std::to_string(list + 1) + ": " +
                                        Latin1ToUtf8(image.ScanListTag[bank][list])));
        for (int row = list * 10; row < list * 10 + 10; ++row) {
            const TrunkIdRow& id = image.TrunkId[bank][row];
            section.body.push_back(Numbered(TrunkRowLabel(row), {{kFirstValue, Latin1ToUtf8(id[0])},
                                                                 {kTag, Latin1ToUtf8(id[1])}}));
        }
    }
    section.footNotice = "Trunk ID listing, bank " + BankName(bank);
    section.bank = bank;
    return section;
}

Section SearchEdgeSection(const ReportSource& source) {
    constexpr double kEnd = 19, kTag = 31, kMode = 51, kStep = 59;
    const auto& table = source.image->SearchEdgeTable;
    Section section;
    section.heading = {Text(LineKind::Heading, "Search / Edge Data"),
                       Text(LineKind::Heading, "Filename: " + source.fileName), Blank()};
    section.columns = Columns(
        {{kFirstValue, "Start"}, {kEnd, "End"}, {kTag, "Tag"}, {kMode, "Mode"}, {kStep, "Step"}});
    for (std::size_t entry = 0; entry < table.size(); ++entry) {
        const auto& e = table[entry];
        const std::string number = std::to_string(entry + 1);
        bool empty = true;
        for (int f = 0; f < 5; ++f)
            empty = empty && e[f].find_first_not_of(' ') == std::string::npos;
        if (empty) {
            section.body.push_back(Numbered(number, {{kFirstValue, "Empty"}}));
            continue;
        }
        section.body.push_back(Numbered(number, {{kFirstValue, Latin1ToUtf8(e[0])},
                                                 {kEnd, Latin1ToUtf8(e[1])},
                                                 {kTag, Latin1ToUtf8(e[2])},
                                                 {kMode, Latin1ToUtf8(e[3])},
                                                 {kStep, Latin1ToUtf8(e[4])}}));
    }
    section.footNotice = "Search / edge data";
    return section;
}

// The image keeps no band plan of its own; what it has are the scanner's receive bands, which
// every frequency is held to, and the base configurations of the banks set up as VHF or UHF
// trunked systems.
Section BandplanSection(const ReportSource& source) {
    constexpr double kType = 27, kStep = 43, kOffset = 59;
    const Image& image = *source.image;
    Section section;
    section.heading = {Text(LineKind::Heading, "Bandplan"),
                       Text(LineKind::Heading, "Filename: " + source.fileName), Blank()};
    section.columns = Columns({{kFirstValue, "Band / bank"}, {kType, "Range / trunk type"}});
    section.body.push_back(Text(LineKind::Heading, "Receive bands of the scanner"));
    const char* bands[][2] = {{"25", "512"}, {"806", "956"}, {"1240", "1300"}};
    for (int b = 0; b < 3; ++b)
        section.body.push_back(
            Numbered(std::to_string(b + 1),
                     {{kType, std::string(bands[b][0]) + " - " + bands[b][1] + " MHz"}}));
    section.body.push_back(Blank());
    section.body.push_back(Text(LineKind::Heading, "Trunked systems"));
    for (int bank = 0; bank < kScannerBanks; ++bank) {
        const int type = TrunkTypeOf(image.TrunkType[bank]);
        const std::string typeName =
            type >= 0 && type < kTrunkTypeListSize ? TrunkTypeNames()[type] : image.TrunkType[bank];
        section.body.push_back(Numbered(
            BankName(bank),
            {{kFirstValue, Latin1ToUtf8(image.BankTag[bank])}, {kType, Latin1ToUtf8(typeName)}}));
        if (GroupOfType(type) != TrunkGroup::MotorolaVhfUhf) continue;
        for (int row = 0; row < kTrunkBaseRows; ++row) {
            const auto& base = image.TrunkBase[bank][row];
            const std::string label = "Base Config " + std::to_string(row + 1) + ":";
            if (NumericValue(base[kTbFrequency]) == 0) {
                section.body.push_back(Line{LineKind::Body,
                                            {Cell{kFirstValue + 2, label, Align::Left},
                                             Cell{kType, "Empty", Align::Left}}});
                continue;
            }
            section.body.push_back(
                Line{LineKind::Body,
                     {Cell{kFirstValue + 2, label, Align::Left},
                      Cell{kType, Latin1ToUtf8(base[kTbFrequency]) + " MHz", Align::Left},
                      Cell{kStep, "step " + Latin1ToUtf8(base[kTbStep]) + " kHz", Align::Left},
                      Cell{kOffset, "offset " + Latin1ToUtf8(base[kTbOffset]), Align::Left}}});
        }
    }
    section.footNotice = "Bandplan";
    return section;
}

}  // namespace vex::print
