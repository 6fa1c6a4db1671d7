// A bank switch in the main window's logic: store the grid into the table and show another
// bank, on a full image (every channel in use, tags of 16 characters). Must stay far below one
// frame (16 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "core/image.h"
#include "mainwin/editor.h"
#include "mainwin/grid.h"

namespace {

vex::Image FullImage() {
    vex::Image image;
    for (int bank = 0; bank < vex::kBankCount; ++bank) {
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
    }
    return image;
}

void BM_StoreGridShowBank(benchmark::State& state) {
    vex::Image image = FullImage();
    vex::Options options;
    options.option[9] = static_cast<int>(state.range(0));  // easy-tag lists on or off
    vex::EasyTagLists tags;
    vex::GridBank grid = vex::ShowBank(image, 0, options);
    int bank = 0;
    for (auto _ : state) {
        vex::StoreGrid(grid, image, bank, options, &tags);
        bank = (bank + 1) % vex::kBankCount;
        vex::ShowBank(image, bank, options, grid, &tags);
        benchmark::DoNotOptimize(grid);
    }
}
BENCHMARK(BM_StoreGridShowBank)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The whole tab switch as the window runs it: store, undo snapshot, clear, show.
void BM_EditorSelectBank(benchmark::State& state) {
    vex::Image image = FullImage();
    vex::Options options;
    vex::DefaultData defaults;
    vex::TableEditor editor(image, options, defaults);
    int bank = 0;
    for (auto _ : state) {
        bank = (bank + 1) % vex::kBankCount;
        editor.selectBank(bank);
        benchmark::DoNotOptimize(editor.grid());
    }
}
BENCHMARK(BM_EditorSelectBank)->Unit(benchmark::kMicrosecond);

// Sorting a full bank with the undo snapshot and the refresh.
void BM_EditorSortBank(benchmark::State& state) {
    vex::Image image = FullImage();
    vex::Options options;
    vex::DefaultData defaults;
    vex::TableEditor editor(image, options, defaults);
    bool ascending = true;
    for (auto _ : state) {
        editor.sort(vex::Selection::cell(1, 1),
                    ascending ? vex::SortOrder::Ascending : vex::SortOrder::Descending, {});
        ascending = !ascending;
    }
}
BENCHMARK(BM_EditorSortBank)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
