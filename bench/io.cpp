// The CSV Mapper opening, guessing and filling its grid from a 15,000-line file, and the
// frequency picker on a 5 MB web page.
#include <benchmark/benchmark.h>

#include <string>

#include "io/csv_mapper.h"
#include "io/freq_picker.h"

namespace {

std::string MapperFile() {
    std::string text = "Frequency,Mode,Tag,PL Tone,SKIP,Notes\r\n";
    for (int i = 1; i < vex::kMapperMaxLines; ++i) {
        text += std::to_string(150 + i % 700) + "." + std::to_string(1000 + i % 9000) +
                ",fm,UNIT " + std::to_string(i) + ",88.5,OFF,\"Dispatch, north side\"\r\n";
    }
    return text;
}

std::string WebPage() {
    std::string page = "<html><body><table>\n";
    int i = 0;
    while (page.size() < 5u << 20) {
        page += "<tr><td class=\"freq\">" + std::to_string(150 + i % 700) + "." +
                std::to_string(10000 + i % 90000) + "</td><td>KX" + std::to_string(i) +
                "</td><td>Fire-Rescue Dispatch &gt; Zone " + std::to_string(i % 40) +
                "</td><td>PL 123.0</td><td>FMN</td></tr>\n";
        ++i;
    }
    return page + "</table></body></html>\n";
}

void BM_MapperOpen15000Lines(benchmark::State& state) {
    const std::string text = MapperFile();
    for (auto _ : state) {
        vex::MapperOpenResult open = vex::OpenMapperText(text);
        benchmark::DoNotOptimize(open.grid.rows.data());
        if (open.grid.rowCount() != vex::kMapperMaxLines) state.SkipWithError("lines lost");
    }
}
BENCHMARK(BM_MapperOpen15000Lines)->Unit(benchmark::kMillisecond);

void BM_PickerOn5MbPage(benchmark::State& state) {
    const std::string page = WebPage();
    for (auto _ : state) {
        auto found = vex::FindFrequencies(page);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_PickerOn5MbPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
