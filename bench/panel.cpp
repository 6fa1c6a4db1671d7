// The control panel's cost while it polls: processor time over wall time, display changes and
// redraws per second, against bct8sim whose scan moves every 100 ms, and against a scanner
// that has gone away. Aim: under 2 % of one processor, one redraw per change and none without.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <fstream>
#include <memory>

#include "../tests/e2e/sim_process.h"
#include "gui/lcd8.h"
#include "gui/prompter.h"

namespace {

class SilentPrompter : public vex::gui::Prompter {
  public:
    vex::gui::Answer ask(QWidget*, const vex::Question&) override { return vex::gui::Answer::No; }
    void tell(QWidget*, const QString&, const QString&, vex::gui::NoticeIcon) override {}
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the panel against the simulator; with `gone` the simulator is stopped first.
void Measure(benchmark::State& state, bool gone) {
    simtest::TempFolder folder;
    const auto memory = folder / "scanner.mem";
    std::ofstream out(memory);
    out << "BCT8SIM MEMORY 1\n";
    for (int n = 1; n <= 40; ++n) {
        char line[64];
        std::snprintf(line, sizeof line, "CH %03d %08d TF DF LF\n", n, 1500000 + n * 125);
        out << line;
    }
    out.close();
    simtest::SimProcess sim;
    if (!sim.Start({"--baud", "115200", "--latency-ms", "2", "--memory", memory.string(),
                    "--scan-ms", "100"})) {
        state.SkipWithError("bct8sim did not start");
        return;
    }
    SilentPrompter prompter;
    vex::Options options;
    options.qview = 0;
    vex::ComSettings com;
    com.device = sim.device();
    com.baud = 115200;
    vex::gui::Lcd8 panel(options, com, folder.path(), prompter);
    panel.show();
    long changes = 0;
    auto draw = panel.poller().onDisplay;
    panel.poller().onDisplay = [&](const vex::PanelDisplay& d) {
        ++changes;
        draw(d);
    };
    Spin(1000);
    if (gone) {
        sim.Stop();
        QElapsedTimer waited;
        waited.start();
        while (panel.poller().state() != vex::PanelState::NoScanner && waited.elapsed() < 5000)
            Spin(50);
    }
    double wall = 0, cpu = 0;
    long paints = 0, changed = 0, sent = 0;
    for (auto _ : state) {
        const int paintsBefore = panel.view()->paints();
        const long changesBefore = changes;
        const long sentBefore = panel.poller().commandsSent();
        const double cpuBefore = CpuSeconds();
        QElapsedTimer timer;
        timer.start();
        Spin(5000);
        wall += static_cast<double>(timer.elapsed()) / 1000.0;
        cpu += CpuSeconds() - cpuBefore;
        paints += panel.view()->paints() - paintsBefore;
        changed += changes - changesBefore;
        sent += panel.poller().commandsSent() - sentBefore;
    }
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    state.counters["changes_per_s"] = static_cast<double>(changed) / wall;
    state.counters["redraws_per_s"] = static_cast<double>(paints) / wall;
    state.counters["commands_per_s"] = static_cast<double>(sent) / wall;
}

void BM_PanelPollingAScanningScanner(benchmark::State& state) {
    Measure(state, false);
}
void BM_PanelWithTheScannerGone(benchmark::State& state) {
    Measure(state, true);
}

BENCHMARK(BM_PanelPollingAScanningScanner)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_PanelWithTheScannerGone)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
