// The full printed listing of a filled image: every bank's channels and every bank's trunk IDs,
// laid out and written as PDF files.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <string>

#include "platform/report_drawing.h"
#include "print/report.h"

namespace {

vex::Image FullImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    for (int b = 0; b < vex::kBankCount; ++b)
        for (int s = 1; s <= vex::ChannelsPerBank; ++s)
            image.channel(b, s) = {
                "",
                "0" + std::to_string(151 + b) + "." + std::to_string(1000 + s * 125),
                "TAG, NUMBER " + std::to_string(s),
                "1",
                "0",
                "1",
                ""};
    for (int b = 0; b < vex::kScannerBanks; ++b)
        for (int r = 0; r < vex::kTrunkIdUsedRows; ++r)
            image.TrunkId[b][r] = {std::to_string(16 * r + 2000), "Talkgroup " + std::to_string(r),
                                   "", ""};
    for (auto& row : image.ScanListTag)
        for (auto& value : row) value = "Scan list";
    return image;
}

vex::DrawOutcome WritePdf(const vex::Image& image, vex::print::ReportChoice choice,
                          const QString& path) {
    vex::print::ReportSource source;
    source.image = &image;
    source.fileName = "/home/op/full.mem";
    return vex::WriteReportPdf(
        path.toStdString(),
        [&](int lines) { return vex::print::LayOutReport(choice, source, lines); },
        vex::ReportStyle{}, vex::DefaultReportPageLayout(), "bench");
}

void BM_LayOutAllBanksAndTrunkIds(benchmark::State& state) {
    const vex::Image image = FullImage();
    vex::print::ReportSource source;
    source.image = &image;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            vex::print::LayOutReport(vex::print::ReportChoice::AllBanks, source, 78));
        benchmark::DoNotOptimize(
            vex::print::LayOutReport(vex::print::ReportChoice::AllTrunkIds, source, 78));
    }
}
BENCHMARK(BM_LayOutAllBanksAndTrunkIds)->Unit(benchmark::kMicrosecond);

// Six pages of channels and five of trunk IDs, drawn and written to disk.
void BM_AllBanksAndTrunkIdsToPdf(benchmark::State& state) {
    const vex::Image image = FullImage();
    QTemporaryDir dir;
    for (auto _ : state) {
        const auto banks =
            WritePdf(image, vex::print::ReportChoice::AllBanks, dir.filePath("banks.pdf"));
        const auto ids =
            WritePdf(image, vex::print::ReportChoice::AllTrunkIds, dir.filePath("ids.pdf"));
        if (!banks.ok || !ids.ok || banks.pages != 6 || ids.pages != 5)
            state.SkipWithError("not written");
    }
}
BENCHMARK(BM_AllBanksAndTrunkIdsToPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
