// Send Changes next to a full send, in the same run against bct8sim at 19200 baud with the
// shortest waits: a full send (250 channels, every trunk ID, all trunk settings) into a cleared
// scanner, then five edited channels sent as changes against the image the full send left.
// Counters: full_s, changes_s and their ratio (the aim is below 0.05).
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/image.h"
#include "link/send_plan.h"
#include "link/session.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

extern char** environ;

namespace {

constexpr long kBaud = 19200;

std::string Frequency(long units) {
    char text[48];
    std::snprintf(text, sizeof text, "%04ld.%04ld", units / 10000, units % 10000);
    return text;
}

vex::Image FullImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    const char* types[vex::kScannerBanks] = {"2", "4", "6", "8", "10"};
    const long base[vex::kScannerBanks] = {8510125, 4510000, 8660125, 1600000, 9355000};
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        image.TrunkType[b] = types[b];
        for (int s = 1; s <= vex::ChannelsPerBank; ++s) {
            vex::Channel& c = image.channel(b, s);
            c[vex::kFieldFrequency] = Frequency(base[b] + s * 125);
            c[vex::kFieldTrunk] = s % 3 == 0 ? "1" : "0";
            c[vex::kFieldDelay] = s % 2 == 0 ? "1" : "0";
            c[vex::kFieldLockout] = s % 5 == 0 ? "1" : "0";
        }
        for (int row = 0; row < vex::kTrunkIdUsedRows; ++row) {
            char text[16];
            std::snprintf(text, sizeof text, "%06d", 1000 + row * 17 + b);
            image.TrunkId[b][row][0] = text;
        }
    }
    image.TrunkSetting[0] = {"2", "1", "0", "", "", "1", "", "0", "", ""};
    return image;
}

class Sim {
  public:
    explicit Sim(const std::filesystem::path& memory) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> args{BCT8SIM_PATH,    "--baud",      std::to_string(kBaud),
                                      "--latency-ms",  "0",           "--memory",
                                      memory.string(), "--no-control"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&d_pid, BCT8SIM_PATH, &actions, nullptr, argv.data(), environ) != 0)
            d_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        char buffer[256];
        std::string line;
        ssize_t got;
        while (line.find('\n') == std::string::npos &&
               (got = ::read(out[0], buffer, sizeof buffer)) > 0)
            line.append(buffer, static_cast<std::size_t>(got));
        ::close(out[0]);
        d_device = line.substr(0, line.find('\n'));
    }
    ~Sim() {
        if (d_pid > 0) {
            ::kill(d_pid, SIGTERM);
            ::waitpid(d_pid, nullptr, 0);
        }
    }
    const std::string& device() const { return d_device; }

  private:
    pid_t d_pid = -1;
    std::string d_device;
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
        const vex::Image held = FullImage();
        vex::SendRequest whole;
        whole.items = {true, true, true};
        whole.area = vex::TransferArea::AllBanks;
        const auto fullSeconds = TimedSend(session, held, whole);

        vex::Image edited = held;
        for (int ch : {7, 58, 109, 160, 211})
            edited.channel((ch - 1) / 50, (ch - 1) % 50 + 1)[vex::kFieldFrequency] =
                Frequency(4600000 + ch * 125);
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
