#include "io/csv_export.h"

#include "core/numeric.h"

namespace vex {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr int kExportBanks = 10;

const char* OnOff(std::string_view flag) {
    return FlagOn(flag) ? "On" : "Off";
}

std::string TrunkIdLine(const Image& image, int bank, int row) {
    std::string line = std::to_string(row / 10 + 1) + "_" + std::to_string(row % 10 + 1) + ",";
    if (bank < kScannerBanks) {
        line += CsvSafeText(image.TrunkId[bank][row][0]) + "," +
                CsvSafeText(image.TrunkId[bank][row][1]);
    } else {
        line += ",";
    }
    return line;
}

const char* ModeText(std::string_view code) {
    static const char* const kModes[] = {"-", "AM", "FM", "WFM", "NFM", "Auto"};
    const int n = IntegerValue(code);
    return n >= 0 && n < 6 ? kModes[n] : "-";
}

const char* StepText(std::string_view code) {
    static const char* const kSteps[] = {"-", "5", "7.5", "10", "12.5", "25", "50", "100"};
    const int n = IntegerValue(code);
    return n >= 0 && n < 8 ? kSteps[n] : "-";
}

}  // namespace

std::string CsvSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 1);
    if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '@')) out += '\'';
    for (const char c : text) out += (c == ',' || c == ';' || c == '\r' || c == '\n') ? ' ' : c;
    return out;
}

std::string ChannelCsvLine(const Image& image, int bank, int slot) {
    if (bank >= kBankCount || NumericValue(image.channel(bank, slot)[kFieldFrequency]) <= 0)
        return "Empty,,,,,";
    const Channel& c = image.channel(bank, slot);
    std::string line = std::to_string(bank + 1) + "," + std::to_string(AbsoluteChannel(bank, slot));
    line += "," + CsvSafeText(c[kFieldFrequency]);
    line += "," + CsvSafeText(c[kFieldTag]);
    line += std::string(",") + OnOff(c[kFieldTrunk]) + "," + OnOff(c[kFieldDelay]) + "," +
            OnOff(c[kFieldLockout]);
    return line;
}

std::string ExportCsv(const Image& image, CsvExportChoice choice, int currentBank) {
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += kCrLf;
    };
    const auto channels = [&](int bank) {
        for (int s = 1; s <= ChannelsPerBank; ++s)
            // Banks past the scanner's (the Dummy bank in "all banks" too) are written empty.
            line(bank < kBankCount ? ChannelCsvLine(image, bank, s) : "Empty,,,,,");
    };
    const auto ids = [&](int bank) {
        for (int r = 0; r < kTrunkIdUsedRows; ++r) line(TrunkIdLine(image, bank, r));
    };
    switch (choice) {
        case CsvExportChoice::CurrentBank:
            line(kChannelCsvHeader);
            channels(currentBank);
            break;
        case CsvExportChoice::AllBanks:
            line(kChannelCsvHeader);
            for (int b = 0; b < kExportBanks; ++b) channels(b < kScannerBanks ? b : kBankCount);
            break;
        case CsvExportChoice::SearchEdge:
            line(kSearchCsvHeader);
            for (const auto& entry : image.SearchEdgeTable) {
                if (NumericValue(entry[0]) == 0) {
                    line("Empty,,,,");
                    continue;
                }
                line(CsvSafeText(entry[0]) + "," + CsvSafeText(entry[1]) + "," +
                     CsvSafeText(entry[2]) + "," + ModeText(entry[3]) + "," + StepText(entry[4]));
            }
            break;
        case CsvExportChoice::TrunkIdsCurrentBank:
            line(kTrunkIdCsvHeader);
            ids(currentBank);
            break;
        case CsvExportChoice::TrunkIdsAllBanks:
            line(kTrunkIdCsvHeader);
            for (int b = 0; b < kExportBanks; ++b) ids(b);
            break;
    }
    return out;
}

std::string WithCsvSuffix(std::string_view name) {
    std::string out(name);
    if (out.find(".CSV") == std::string::npos && out.find(".csv") == std::string::npos)
        out += ".CSV";
    return out;
}

}  // namespace vex
