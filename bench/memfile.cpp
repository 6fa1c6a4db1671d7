// Reading, checking and writing a full MEM file: 250 channels with tags and every trunk table
// filled.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/memfile.h"
#include "core/normalise.h"

namespace {

vex::Image FullImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        for (int s = 1; s <= vex::ChannelsPerBank; ++s)
            image.channel(b, s) = {"",
                                   std::to_string(851 + b) + "." + std::to_string(1000 + s * 125),
                                   "TAG, NUMBER " + std::to_string(s),
                                   "1",
                                   "0",
                                   "1",
                                   "comment " + std::to_string(s)};
        image.TrunkType[b] = std::to_string(b + 1);
        for (auto& value : image.TrunkSetting[b]) value = "1";
        for (auto& row : image.TrunkBase[b])
            for (auto& value : row) value = "0851.0125";
        for (int r = 0; r < vex::kTrunkIdUsedRows; ++r)
            image.TrunkId[b][r] = {std::to_string(16 * r + 2000), "Talkgroup " + std::to_string(r),
                                   "1", "0"};
        image.ActiveBank[b] = 1;
        image.PriorityChannel[b] = static_cast<std::int16_t>(vex::AbsoluteChannel(b, 1));
    }
    for (auto& row : image.ScanListTag)
        for (auto& value : row) value = "Scan list";
    return image;
}

void BM_SerializeMemFile(benchmark::State& state) {
    const vex::Image image = FullImage();
    for (auto _ : state) benchmark::DoNotOptimize(vex::SerializeMemFile(image, vex::ImageOptions{}));
}
BENCHMARK(BM_SerializeMemFile)->Unit(benchmark::kMicrosecond);

void BM_ParseMemFile(benchmark::State& state) {
    const std::string text = vex::SerializeMemFile(FullImage(), vex::ImageOptions{});
    vex::Image image;
    for (auto _ : state) {
        const vex::MemReadResult result = vex::ParseMemFile(image, text, vex::ImageOptions{});
        if (!result.ok) state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(image);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseMemFile)->Unit(benchmark::kMicrosecond);

void BM_NormaliseTable(benchmark::State& state) {
    const vex::Image full = FullImage();
    vex::Image image = full;
    for (auto _ : state) {
        state.PauseTiming();
        image = full;
        state.ResumeTiming();
        vex::NormaliseTable(image, vex::ImageOptions{});
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_NormaliseTable)->Unit(benchmark::kMicrosecond);

struct Folder {
    Folder() {
        path = std::filesystem::temp_directory_path() / ("vex-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

// Serialise and replace the file atomically (without the disk flush's wait, which depends on
// the disk, not on this code, the figure is mostly the flush).
void BM_WriteMemFile(benchmark::State& state) {
    const vex::Image image = FullImage();
    Folder folder;
    for (auto _ : state) {
        const vex::MemWriteResult result =
            vex::WriteMemFile(image, folder.path / "a.mem", vex::ImageOptions{});
        if (!result.ok) state.SkipWithError(result.error.c_str());
    }
}
BENCHMARK(BM_WriteMemFile)->Unit(benchmark::kMicrosecond);

void BM_ReadMemFile(benchmark::State& state) {
    Folder folder;
    if (!vex::WriteMemFile(FullImage(), folder.path / "a.mem", vex::ImageOptions{})) std::abort();
    vex::Image image;
    for (auto _ : state) {
        const vex::MemReadResult result =
            vex::ReadMemFile(image, folder.path / "a.mem", vex::ImageOptions{});
        if (!result.ok) state.SkipWithError(result.message.c_str());
    }
}
BENCHMARK(BM_ReadMemFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
