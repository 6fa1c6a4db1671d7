// vexa print: the listings of the print window, written as a PDF file.
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "core/image.h"
#include "core/memfile.h"
#include "core/numeric.h"
#include "platform/report_drawing.h"
#include "print/report.h"

namespace vexa {
namespace {

// The toolkit's notes about the session (no runtime folder, no display) are not the user's
// concern here; a failure to write the PDF is reported on its own.
void QuietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "vexa: " << message.toStdString() << '\n';
}

// QPdfWriter needs a GUI application for its fonts; without a display it draws offscreen.
std::unique_ptr<QGuiApplication> MakeApplication() {
    if (QCoreApplication::instance()) return nullptr;
    qInstallMessageHandler(&QuietToolkit);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vexa";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int RunPrint(const std::vector<std::string>& args) {
    const ParsedArgs parsed = ParseArgs(args, {"pdf", "bank", "dir"}, {"all", "trunk"});
    if (parsed.help) {
        std::cout << kPrintCommand.usage;
        return kExitOk;
    }
    if (!parsed.error.empty()) return Fail(parsed.error, kExitUsage);
    if (parsed.positional.size() != 1)
        return Fail("print needs exactly one MEM file; see \"vexa print --help\"", kExitUsage);
    const auto pdf = parsed.option("pdf");
    if (!pdf || pdf->empty()) return Fail("print needs --pdf OUT.pdf", kExitUsage);
    const auto bankOption = parsed.option("bank");
    if (bankOption && parsed.option("all"))
        return Fail("--bank and --all cannot be given together", kExitUsage);
    int bank = -1;
    if (bankOption) {
        const int n = vex::IntegerValue(*bankOption);
        if (n < 1 || n > vex::kScannerBanks || std::to_string(n) != *bankOption)
            return Fail("--bank must be a number from 1 to 5, not '" + *bankOption + "'",
                        kExitUsage);
        bank = n - 1;
    }
    const bool trunk = parsed.option("trunk").has_value();

    vex::Image image;
    vex::ClearForStartup(image);
    const std::string& file = parsed.positional[0];
    const vex::MemReadResult result = vex::ReadMemFile(image, file, vex::ImageOptions{});
    if (result.fileMissing) return Fail(file + ": no such file");
    if (!result.ok) return Fail(file + ": " + result.message);

    using vex::print::ReportChoice;
    const ReportChoice choice = bank >= 0
                                    ? (trunk ? ReportChoice::TrunkIdsOfBank : ReportChoice::OneBank)
                                    : (trunk ? ReportChoice::AllTrunkIds : ReportChoice::AllBanks);
    vex::print::ReportSource source;
    source.image = &image;
    source.bank = std::max(bank, 0);
    source.fileName = file;

    const auto application = MakeApplication();
    const std::string name = std::filesystem::path(file).filename().string();
    const vex::DrawOutcome outcome = vex::WriteReportPdf(
        *pdf, [&](int lines) { return vex::print::LayOutReport(choice, source, lines); },
        vex::ReportStyle{}, vex::DefaultReportPageLayout(), "Vexatron for BCT8 - " + name);
    if (!outcome.ok) return Fail(outcome.message);
    std::cout << *pdf << ": " << outcome.pages << (outcome.pages == 1 ? " page\n" : " pages\n");
    return std::cout.good() ? kExitOk : kExitFailed;
}

}  // namespace

const Command kPrintCommand = {
    "print",
    "write the channel or trunk ID listing of a MEM file as a PDF file",
    "Usage: vexa print FILE.mem --pdf OUT.pdf [--bank N | --all] [--trunk]\n"
    "Writes the listing the print window makes to a PDF file: one page per bank, each with\n"
    "its name, the file name and every channel (or, with --trunk, every trunk ID and tag),\n"
    "numbered \"Page n / m\".\n\n"
    "Options:\n"
    "  --pdf OUT.pdf  the PDF file to write (replaced if it exists)\n"
    "  --bank N       list only bank N (1 to 5)\n"
    "  --all          list every bank, the Dummy bank included (the default)\n"
    "  --trunk        list the trunk IDs and tags instead of the channels\n"
    "  --help         show this text\n",
    &RunPrint,
};

}  // namespace vexa
