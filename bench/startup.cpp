// Start-up of the main window with a full image, and a bank switch through the window.
// Runs offscreen: QT_QPA_PLATFORM is set to "offscreen" unless already given.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "core/frequency.h"
#include "core/memfile.h"
#include "gui/memtab.h"

using namespace vex;
using namespace vex::gui;

namespace {

class SilentPrompter : public Prompter {
  public:
    Answer ask(QWidget*, const Question&) override { return Answer::No; }
    void tell(QWidget*, const QString&, const QString&, NoticeIcon) override {}
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// A program folder with settings and a MEM file whose 250 channels and trunk tables are full.
struct FullFolder {
    QTemporaryDir dir;
    QString mem;
    FullFolder() {
        Image image;
        ClearForStartup(image);
        SetStartupBankTags(image);
        for (int b = 0; b < kScannerBanks; ++b) {
            image.TrunkType[b] = "1";
            for (int s = 1; s <= ChannelsPerBank; ++s) {
                Channel& c = image.channel(b, s);
                c[kFieldFrequency] = FormatFrequency(std::to_string(151 + b * 60 + s * 0.0125));
                c[kFieldTag] = "CHANNEL " + std::to_string(b * 50 + s);
                c[kFieldTrunk] = "0";
                c[kFieldDelay] = (s % 2) ? "1" : "0";
                c[kFieldLockout] = "0";
                c[kFieldComment] = "comment";
            }
            for (int r = 0; r < kTrunkIdUsedRows; ++r)
                image.TrunkId[b][r] = {std::to_string(1000 + r), "TALKGROUP " + std::to_string(r),
                                       "0", "1"};
        }
        mem = dir.filePath("full.mem");
        if (!WriteMemFile(image, mem.toStdString(), Options{})) std::abort();
    }
};

FullFolder& Folder() {
    static FullFolder folder;
    return folder;
}

void BM_StartupToShownWindow(benchmark::State& state) {
    FullFolder& folder = Folder();
    SilentPrompter prompter;
    for (auto _ : state) {
        AppState app;
        LoadStartupState(folder.dir.path().toStdString(), app);
        MemTab window(app, prompter);
        window.show();
        window.openMemFile(folder.mem);
        QApplication::processEvents();
        window.grid()->viewport()->repaint();
        benchmark::DoNotOptimize(window.editor().grid().cell(1, 1));
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToShownWindow)->Unit(benchmark::kMillisecond);

void BM_BankSwitchThroughWindow(benchmark::State& state) {
    FullFolder& folder = Folder();
    SilentPrompter prompter;
    AppState app;
    LoadStartupState(folder.dir.path().toStdString(), app);
    MemTab window(app, prompter);
    window.show();
    window.openMemFile(folder.mem);
    QApplication::processEvents();
    int bank = 0;
    for (auto _ : state) {
        bank = (bank + 1) % kScannerBanks;
        window.selectBank(bank);  // StoreGrid of the old bank, ShowBank of the new one
        window.grid()->viewport()->repaint();
    }
}
BENCHMARK(BM_BankSwitchThroughWindow)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
