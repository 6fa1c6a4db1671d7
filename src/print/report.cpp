#include "print/report.h"

#include <algorithm>

#include "print/sections.h"

namespace vex::print {
namespace {

std::vector<int> AllChannelBanks() {
    std::vector<int> banks;
    for (int bank = 0; bank < kBankCount; ++bank) banks.push_back(bank);  // Dummy bank too
    return banks;
}

std::vector<int> AllTrunkBanks() {
    std::vector<int> banks;
    for (int bank = 0; bank < kScannerBanks; ++bank) banks.push_back(bank);
    return banks;
}

// Cuts the sections into pages and numbers them. Every page gets the title line and the foot
// line; a section's heading only stands on its first page, its column headings on every one.
Report Paginate(const std::vector<Section>& sections, const ReportSource& source,
                int linesPerPage) {
    linesPerPage = std::max(linesPerPage, kMinLinesPerPage);
    const Line title = TitleLine(source);
    Report report;
    std::vector<std::string> notices;  // foot notice of each page
    for (const Section& section : sections) {
        std::size_t next = 0;
        bool first = true;
        do {
            Page page;
            page.bank = section.bank;
            page.lines.push_back(title);
            page.lines.push_back(Line{LineKind::Blank, {}});
            if (first) {
                // A heading too tall for the page (only on absurdly small pages) is cut.
                const std::size_t room = static_cast<std::size_t>(linesPerPage) - 5;
                for (std::size_t i = 0; i < section.heading.size() && i < room; ++i)
                    page.lines.push_back(section.heading[i]);
            }
            page.lines.push_back(section.columns);
            // At least one body line per page, so the listing always moves on.
            const std::size_t room = std::max<std::size_t>(
                1, static_cast<std::size_t>(linesPerPage) - 1 - page.lines.size());
            const std::size_t end = std::min(section.body.size(), next + room);
            page.lines.insert(page.lines.end(), section.body.begin() + static_cast<long>(next),
                              section.body.begin() + static_cast<long>(end));
            next = end;
            first = false;
            report.pages.push_back(std::move(page));
            notices.push_back(section.footNotice);
        } while (next < section.body.size());
    }
    const std::string total = std::to_string(report.pages.size());
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        report.pages[i].lines.push_back(
            Line{LineKind::Foot,
                 {Cell{0, notices[i], Align::Left},
                  Cell{0, "Page " + std::to_string(i + 1) + " / " + total, Align::PageRight}}});
    }
    return report;
}

}  // namespace

const std::array<std::string, kReportChoiceCount>& ReportChoiceCaptions() {
    static const std::array<std::string, kReportChoiceCount> captions = {
        "Trunk ID's from active bank",
        "Search / Edge Data",
        "All Memory Banks",
        "Active Bank",
        "Memory and Search Banks",
        "Bandplan",
        "All trunk ID's / Tag's",
    };
    return captions;
}

bool ListsOneBank(ReportChoice choice) {
    return choice == ReportChoice::TrunkIdsOfBank || choice == ReportChoice::OneBank;
}

std::string Line::plainText() const {
    std::string text;
    for (const Cell& cell : cells) {
        if (cell.text.empty()) continue;
        if (!text.empty()) text += ' ';
        text += cell.text;
    }
    return text;
}

Report LayOutChannels(const std::vector<int>& banks, const ReportSource& source, int linesPerPage) {
    std::vector<Section> sections;
    for (int bank : banks) sections.push_back(ChannelSection(source, bank));
    return Paginate(sections, source, linesPerPage);
}

Report LayOutTrunkIds(const std::vector<int>& banks, const ReportSource& source, int linesPerPage) {
    std::vector<Section> sections;
    for (int bank : banks) sections.push_back(TrunkIdSection(source, bank));
    return Paginate(sections, source, linesPerPage);
}

Report LayOutReport(ReportChoice choice, const ReportSource& source, int linesPerPage) {
    const int bank = std::clamp(source.bank, 0, kBankCount - 1);
    switch (choice) {
        case ReportChoice::TrunkIdsOfBank:
            return LayOutTrunkIds({bank}, source, linesPerPage);
        case ReportChoice::SearchEdge:
            return Paginate({SearchEdgeSection(source)}, source, linesPerPage);
        case ReportChoice::AllBanks:
            return LayOutChannels(AllChannelBanks(), source, linesPerPage);
        case ReportChoice::OneBank:
            return LayOutChannels({bank}, source, linesPerPage);
        case ReportChoice::BanksAndSearch: {
            std::vector<Section> sections;
            for (int b : AllChannelBanks()) sections.push_back(ChannelSection(source, b));
            sections.push_back(SearchEdgeSection(source));
            return Paginate(sections, source, linesPerPage);
        }
        case ReportChoice::Bandplan:
            return Paginate({BandplanSection(source)}, source, linesPerPage);
        case ReportChoice::AllTrunkIds:
            return LayOutTrunkIds(AllTrunkBanks(), source, linesPerPage);
    }
    return {};
}

std::string BankName(int bank) {
    return bank == kDummyBank ? "Dummy" : std::to_string(bank + 1);
}

std::string PrintFailureMessage(int bank, int errorNumber, std::string_view errorText) {
    std::string message = bank < 0 ? "Problem in printerroutine #1"
                                   : "Problem in printerroutine bank: " + BankName(bank);
    message += "\n Err = " + std::to_string(errorNumber) + " Error: ";
    message += errorText;
    return message;
}

}  // namespace vex::print
