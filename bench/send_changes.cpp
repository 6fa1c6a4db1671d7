// Send Changes next to a full send, in the same run against bct8sim at 19200 baud with the
// shortest waits: a full send (250 channels, every trunk ID, all trunk settings) into a cleared
// scanner, then five edited channels sent as changes against the image the full send left.
// Counters: full_s, changes_s and their ratio (the aim is below 0.05).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench_scanner.h"
#include "core/image.h"
#include "link/send_plan.h"
#include "link/session.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace {

constexpr long kBaud = 19200;

// The simulator at the benchmark's speed with no added latency.
class Sim : public bench::SimProcess {
  public:
    explicit Sim(const std::filesystem::path& memory)
        : SimProcess({"--baud", std::to_string(kBaud), "--latency-ms", "0", "--memory",
                      memory.string(), "--no-control"}) {}
};

// Seconds one send took, or nothing when it did not complete.
std::optional<double> TimedSend(vex::LinkSession& session, const vex::Image& image,
                                const vex::SendRequest& request) {
    std::optional<vex::TransferResult> result;
    QEventLoop loop;
    vex::LinkEvents events;
    events.finished = [&](const vex::TransferResult& r) {
        result = r;
        loop.quit();
    };
    session.setEvents(events);
    QElapsedTimer wall;
    wall.start();
    session.startSend(image, request);
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    if (!result) loop.exec();
    if (!result || result->outcome != vex::TransferOutcome::Completed) return std::nullopt;
    return static_cast<double>(wall.nsecsElapsed()) / 1e9;
}

void BM_SendChangesNextToFullSend(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("vex-bench-changes-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    double full = 0, changes = 0;
    int runs = 0;
    for (auto _ : state) {
        std::filesystem::remove(folder / "scanner.mem");
        Sim sim(folder / "scanner.mem");
        vex::ComSettings com;
        com.device = sim.device();
        com.baud = kBaud;
        auto transport = vex::MakeSerialTransport(com);
        vex::QtScheduler scheduler;
        vex::LinkConfig config;
        config.baud = kBaud;
        config.options.delay1 = config.options.delay2 = config.options.delay3 = 25;
        config.options.expert = 1;
        config.folder = folder;
        vex::LinkSession session(*transport, scheduler, config);
        if (!transport->open().ok()) {
            state.SkipWithError("cannot open the simulator's device");
            break;
        }
        const vex::Image held = bench::FilledImage();
        vex::SendRequest whole;
        whole.items = {true, true, true};
        whole.area = vex::TransferArea::AllBanks;
        const auto fullSeconds = TimedSend(session, held, whole);

        vex::Image edited = held;
        for (int ch : {7, 58, 109, 160, 211})
            edited.channel((ch - 1) / 50, (ch - 1) % 50 + 1)[vex::kFieldFrequency] =
                bench::Frequency(4600000 + ch * 125);
        vex::SendRequest request = whole;
        request.plan = vex::PlanChanges(held, edited);
        request.items = {true, false, false};
        request.reuseTrunkTypes = true;
        const auto changeSeconds = TimedSend(session, edited, request);
        if (!fullSeconds || !changeSeconds) {
            state.SkipWithError("a send did not complete");
            break;
        }
        state.SetIterationTime(*fullSeconds + *changeSeconds);
        full += *fullSeconds;
        changes += *changeSeconds;
        ++runs;
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    if (runs == 0) return;
    state.counters["full_s"] = full / runs;
    state.counters["changes_s"] = changes / runs;
    state.counters["ratio"] = changes / full;
}

BENCHMARK(BM_SendChangesNextToFullSend)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
