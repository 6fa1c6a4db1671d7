// A full read and a full send (250 channels, every trunk ID, all trunk settings) against bct8sim
// at 9600 and 19200 baud with 5 ms reply latency, timed against the least time the link's own
// waits and the wire allow.
//
// The least time is found by replaying what the link did on an ideal clock: every step the
// link takes (a timer firing, bytes arriving) happens at the earliest moment it could: a timer
// exactly its interval after the step that started it, a reply when its command and the answer
// have crossed the wire at 10 bits per byte plus the scanner's latency. Measured time over that
// is the overhead of the program (event loop, timers, serial port); the aim is below 1.1.
// CPU is this process's user + system time during the transfer over the wall time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench_scanner.h"
#include "core/image.h"
#include "link/scheduler.h"
#include "link/session.h"
#include "link/transport.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"

namespace {

constexpr double kLatencyMs = 5;

// --- the ideal clock ----------------------------------------------------------------------

struct IdealClock {
    double now = 0;  // ideal time (ms) of the step the link is running
    double byteMs = 0;
    double latencyMs = 0;
    double lastWrite = 0;              // ideal time of the last command written
    std::size_t lastCommandBytes = 0;  // up to and including its carriage return
    std::size_t replyBytes = 0;        // bytes received since
    double end = 0;
};

class MeasuringScheduler : public vex::Scheduler {
  public:
    explicit MeasuringScheduler(IdealClock& clock) : d_clock(clock) {}
    TimerId startTimer(std::int64_t ms, std::function<void()> callback) override {
        const double due = d_clock.now + static_cast<double>(ms);
        return d_inner.startTimer(ms, [this, due, callback = std::move(callback)] {
            d_clock.now = due;
            callback();
        });
    }
    void cancelTimer(TimerId id) override { d_inner.cancelTimer(id); }
    std::int64_t now() const override { return d_inner.now(); }

  private:
    IdealClock& d_clock;
    vex::QtScheduler d_inner;
};

class MeasuringTransport : public vex::Transport {
  public:
    MeasuringTransport(IdealClock& clock, std::unique_ptr<vex::Transport> inner)
        : d_clock(clock), d_inner(std::move(inner)) {
        d_inner->setDataHandler([this](std::string_view bytes) {
            d_clock.replyBytes += bytes.size();
            d_clock.now =
                d_clock.lastWrite + static_cast<double>(d_clock.lastCommandBytes) * d_clock.byteMs +
                d_clock.latencyMs + static_cast<double>(d_clock.replyBytes) * d_clock.byteMs;
            deliver(bytes);
        });
        d_inner->setFaultHandler([this](const vex::TransportStatus& s) { fault(s); });
    }
    vex::TransportStatus open() override { return d_inner->open(); }
    void close() override { d_inner->close(); }
    bool isOpen() const override { return d_inner->isOpen(); }
    void write(std::string_view bytes) override {
        // The scanner acts on the carriage return; a line feed after it costs nothing.
        std::size_t counted = bytes.size();
        if (counted > 0 && bytes.back() == '\n') --counted;
        // Commands written in one step follow each other on the wire.
        d_clock.lastWrite = std::max(
            d_clock.now,
            d_clock.lastWrite + static_cast<double>(d_clock.lastCommandBytes) * d_clock.byteMs);
        d_clock.lastCommandBytes = counted;
        d_clock.replyBytes = 0;
        d_inner->write(bytes);
    }

  private:
    IdealClock& d_clock;
    std::unique_ptr<vex::Transport> d_inner;
};

// --- the image and the scanner's memory -------------------------------------------------------

vex::Image FullImage() {
    vex::Image image = bench::FilledImage();
    const char* blocks[8] = {"4", "4", "12", "12", "11", "0", "0", "3"};
    for (int k = 0; k < 8; ++k) image.TrunkBase[0][0][k] = blocks[k];
    image.TrunkSetting[1][1] = "0";
    image.TrunkSetting[1][2] = "1";
    image.TrunkBase[1][0] = {"0416.0000", "012.50", "381", "", "", "", "", ""};
    image.TrunkBase[1][1] = {"0450.0000", "025.00", "400", "", "", "", "", ""};
    image.TrunkSetting[2][1] = "1";
    image.TrunkSetting[4] = {"0", "0", "1", "", "", "", "", "", "", ""};
    return image;
}

// The same image as the simulator's memory file, for the read.
std::string SimMemory(const vex::Image& image) {
    std::string text = "BCT8SIM MEMORY 1\n";
    char line[96];
    for (int n = 1; n <= vex::kTotalChannels; ++n) {
        const vex::Channel& c = image.channel((n - 1) / 50, n - 50 * ((n - 1) / 50));
        const std::string& f = c[vex::kFieldFrequency];
        std::snprintf(line, sizeof line, "CH %03d %s%s T%c D%c L%c\n", n, f.substr(0, 4).c_str(),
                      f.substr(5, 4).c_str(), c[vex::kFieldTrunk] == "1" ? 'N' : 'F',
                      c[vex::kFieldDelay] == "1" ? 'N' : 'F',
                      c[vex::kFieldLockout] == "1" ? 'N' : 'F');
        text += line;
    }
    const char* names[vex::kScannerBanks] = {"TYPE1", "E2-UHF", "EDCS WIDE", "LTR", "E2-CUSTOM"};
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        const char letter = static_cast<char>('A' + b);
        text += std::string("TYPE ") + letter + " " + names[b] + "\n";
        text += std::string("CONTROL ") + letter + " 2\n";
        text += std::string("FLAGS ") + letter + " BTN TDF AFN\n";
        text += std::string("FLEET ") + letter + " 4 4 12 12 11 0 0 3\n";
        text += std::string("BASE ") + letter + " 1 04160000 0125 381\n";
        for (int row = 0; row < vex::kTrunkIdUsedRows; ++row) {
            std::snprintf(line, sizeof line, "ID %c %c%d %s\n", letter, 'A' + row / 10, row % 10,
                          image.TrunkId[b][row][0].c_str());
            text += line;
        }
    }
    return text;
}

// --- the simulator ----------------------------------------------------------------------------

class Sim : public bench::SimProcess {
  public:
    Sim(long baud, const std::filesystem::path& memory)
        : SimProcess({"--baud", std::to_string(baud), "--latency-ms", "5", "--memory",
                      memory.string(), "--no-control", "--save-delay-ms", "1000"}) {}
};

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

enum class Direction { Read, Send };

void RunTransfer(benchmark::State& state, Direction direction) {
    const long baud = state.range(0);
    const vex::Image image = FullImage();
    const auto folder =
        std::filesystem::temp_directory_path() / ("vex-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto memory = folder / "scanner.mem";
    double measured = 0, least = 0, cpu = 0;
    int runs = 0;
    bool failed = false;
    for (auto _ : state) {
        // A read finds the image in the scanner; a send starts from a cleared one.
        std::filesystem::remove(memory);
        if (direction == Direction::Read) std::ofstream(memory) << SimMemory(image);
        Sim sim(baud, memory);
        IdealClock clock;
        clock.byteMs = 10.0 * 1000.0 / static_cast<double>(baud);
        clock.latencyMs = kLatencyMs;
        MeasuringScheduler scheduler(clock);
        vex::ComSettings com;
        com.device = sim.device();
        com.baud = baud;
        MeasuringTransport transport(clock, vex::MakeSerialTransport(com));
        vex::LinkConfig config;
        config.baud = baud;
        config.options.delay1 = config.options.delay2 = config.options.delay3 = 25;
        config.options.expert = 1;
        config.folder = folder;
        vex::LinkSession session(transport, scheduler, config);
        std::optional<vex::TransferResult> result;
        QEventLoop loop;
        vex::LinkEvents events;
        events.finished = [&](const vex::TransferResult& r) {
            result = r;
            clock.end = clock.now;
            loop.quit();
        };
        session.setEvents(events);
        if (transport.open().ok() == false) {
            state.SkipWithError("cannot open the simulator's device");
            break;
        }

        vex::TransferItems all{true, true, true};
        clock.now = 0;
        clock.lastWrite = 0;
        clock.lastCommandBytes = 0;
        const double cpuBefore = CpuSeconds();
        QElapsedTimer wall;
        wall.start();
        if (direction == Direction::Read) {
            vex::ReadRequest request;
            request.items = all;
            request.area = vex::TransferArea::AllBanks;
            session.startRead(vex::Image{}, request);
        } else {
            vex::SendRequest request;
            request.items = all;
            request.area = vex::TransferArea::AllBanks;
            session.startSend(image, request);
        }
        QTimer::singleShot(600000, &loop, &QEventLoop::quit);
        if (!result) loop.exec();
        const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
        const double cpuUsed = CpuSeconds() - cpuBefore;
        state.SetIterationTime(seconds);
        if (!result || result->outcome != vex::TransferOutcome::Completed) {
            failed = true;
            state.SkipWithError(result ? result->message.c_str() : "the transfer did not end");
            break;
        }
        measured += seconds;
        least += clock.end / 1000.0;
        cpu += cpuUsed;
        ++runs;
    }
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    if (failed || runs == 0) return;
    state.counters["measured_s"] = measured / runs;
    state.counters["least_s"] = least / runs;
    state.counters["ratio"] = measured / least;
    state.counters["cpu_fraction"] = cpu / measured;
}

void BM_FullRead(benchmark::State& state) {
    RunTransfer(state, Direction::Read);
}
void BM_FullSend(benchmark::State& state) {
    RunTransfer(state, Direction::Send);
}

BENCHMARK(BM_FullRead)
    ->Arg(9600)
    ->Arg(19200)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_FullSend)
    ->Arg(9600)
    ->Arg(19200)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
