// The undo history on a full image (every channel in use, tags of 16 characters, full trunk ID
// tables): 1,000 edits (typed cells, and every tenth a channel swap from another window), then
// 1,000 undos. Aim: under 50 us per step and under 10 MB of history.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "core/image.h"
#include "mainwin/editor.h"
#include "tools/memory_manager.h"

namespace {

vex::Image FullImage() {
    vex::Image image;
    for (int bank = 0; bank < vex::kBankCount; ++bank) {
        image.BankTag[bank] = "BANK TAG " + std::to_string(bank);
        for (int slot = 1; slot <= vex::ChannelsPerBank; ++slot) {
            vex::Channel& channel = image.channel(bank, slot);
            const int n = vex::AbsoluteChannel(bank, slot);
            channel[vex::kFieldNumber] = std::to_string(n);
            channel[vex::kFieldFrequency] = "0" + std::to_string(150 + n % 300) + ".1250";
            channel[vex::kFieldTag] = "CHANNEL TAG " + std::to_string(1000 + n);
            channel[vex::kFieldTrunk] = n % 2 ? "1" : "0";
            channel[vex::kFieldDelay] = "1";
            channel[vex::kFieldLockout] = "0";
            channel[vex::kFieldComment] = "comment";
        }
        for (int row = 0; row < vex::kTrunkIdRows; ++row)
            image.TrunkId[bank][row] = {std::to_string(10000 + row),
                                        "TALKGROUP TAG " + std::to_string(row), "", ""};
    }
    return image;
}

void Edit(vex::TableEditor& editor, int i) {
    if (i % 50 == 0) editor.selectBank((i / 50) % vex::kScannerBanks);
    if (i % 10 == 9) {
        editor.applyImageChange("Swap channels", [i](vex::Image& image) {
            return vex::TransferChannel(image, vex::TransferOp::Swap, {i % 5, i % 50 + 1},
                                        {(i + 1) % 5, (i * 7) % 50 + 1});
        });
        return;
    }
    const int row = i % vex::ChannelsPerBank + 1;
    editor.enterText(vex::Selection::cell(row, vex::kGridTag), "EDIT " + std::to_string(i));
}

// Processor time of this thread in microseconds: the machine may be busy with other work.
double CpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

void BM_ThousandEditsThenThousandUndos(benchmark::State& state) {
    vex::Options options;
    vex::DefaultData defaults;
    double editMicros = 0, undoMicros = 0, historyBytes = 0;
    for (auto _ : state) {
        vex::Image image = FullImage();
        vex::TableEditor editor(image, options, defaults);
        const double start = CpuMicros();
        for (int i = 0; i < 1000; ++i) Edit(editor, i);
        const double edited = CpuMicros();
        historyBytes = static_cast<double>(editor.history().bytes());
        int undone = 0;
        while (undone < 1000 && editor.undo()) ++undone;
        const double end = CpuMicros();
        if (undone < 1000) state.SkipWithError("fewer than 1000 steps to undo");
        editMicros = (edited - start) / 1000;
        undoMicros = (end - edited) / std::max(undone, 1);
        benchmark::DoNotOptimize(image);
    }
    state.counters["us_per_edit"] = editMicros;
    state.counters["us_per_undo"] = undoMicros;
    state.counters["history_MB"] = historyBytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_ThousandEditsThenThousandUndos)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->MeasureProcessCPUTime();

// The largest steps: a whole bank moved with its trunk data, 100 times (the history's minimum).
void BM_HundredBankMoves(benchmark::State& state) {
    vex::Options options;
    vex::DefaultData defaults;
    double bytes = 0;
    for (auto _ : state) {
        vex::Image image = FullImage();
        vex::TableEditor editor(image, options, defaults);
        for (int i = 0; i < 100; ++i) {
            editor.applyImageChange("Swap banks", [i](vex::Image& img) {
                return vex::TransferBank(img, vex::TransferOp::Swap, i % 5, (i + 2) % 5,
                                         {true, true, true, true})
                    .changed;
            });
        }
        bytes = static_cast<double>(editor.history().bytes());
    }
    state.counters["history_MB"] = bytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_HundredBankMoves)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
