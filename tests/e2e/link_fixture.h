// What the end-to-end tests share: a full image to send, the comparison of what came back, and
// running one transfer of the real link over the real serial port against bct8sim.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/image.h"
#include "e2e/sim_process.h"
#include "link/session.h"
#include "platform/qt_scheduler.h"
#include "platform/serial_transport.h"
#include "settings/options.h"

namespace e2e {

// Text of the form "0851.0125" from units of 100 Hz.
inline std::string Frequency(long units) {
    char text[48];
    std::snprintf(text, sizeof text, "%04ld.%04ld", units / 10000, units % 10000);
    return text;
}

// Five banks of five kinds of trunked system, every channel and ID row filled in a pattern
// (some rows left empty), with each bank's settings set away from their defaults.
inline vex::Image FullImage() {
    vex::Image image;
    vex::ClearForStartup(image);
    vex::SetStartupBankTags(image);
    const char* types[vex::kScannerBanks] = {"2", "4", "6", "8", "10"};
    const long base[vex::kScannerBanks] = {8510125, 4510000, 8660125, 1600000, 9355000};
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        image.TrunkType[b] = types[b];
        for (int s = 1; s <= vex::ChannelsPerBank; ++s) {
            vex::Channel& c = image.channel(b, s);
            c[vex::kFieldTag] = "Tag " + std::to_string(b + 1) + "-" + std::to_string(s);
            if (s % 7 == 0) {
                c[vex::kFieldFrequency] = "0000.0000";
                continue;
            }
            c[vex::kFieldFrequency] = Frequency(base[b] + s * 125);
            c[vex::kFieldTrunk] = s % 3 == 0 ? "1" : "0";
            c[vex::kFieldDelay] = s % 2 == 0 ? "1" : "0";
            c[vex::kFieldLockout] = s % 5 == 0 ? "1" : "0";
        }
        for (int row = 0; row < vex::kTrunkIdUsedRows; ++row) {
            std::string& id = image.TrunkId[b][row][0];
            image.TrunkId[b][row][1] = "ID tag " + std::to_string(row);
            if (row % 4 == 3) continue;
            char text[16];
            switch (b) {
                case 0:
                    std::snprintf(text, sizeof text, "%03d-%02d", row * 3, row % 16);
                    break;
                case 1:
                    std::snprintf(text, sizeof text, "%06d", row * 1311);
                    break;
                case 2:
                    std::snprintf(text, sizeof text, "%02d-%02d%d", row % 16, row % 13, row % 8);
                    break;
                case 3:
                    std::snprintf(text, sizeof text, "%d%02d%03d", row % 2, 1 + row % 20, row * 5);
                    break;
                default:
                    std::snprintf(text, sizeof text, "%06d", 700 + row * 17);
                    break;
            }
            id = text;
        }
    }
    // Motorola Type 1: control channel plan 2, status bit on, a custom fleet map.
    image.TrunkSetting[0][0] = "2";
    image.TrunkSetting[0][1] = "1";
    image.TrunkSetting[0][2] = "0";
    image.TrunkSetting[0][7] = "0";
    const char* blocks[8] = {"4", "4", "12", "12", "11", "0", "0", "3"};
    for (int k = 0; k < 8; ++k) image.TrunkBase[0][0][k] = blocks[k];
    // Type 2 UHF: two base/offset lines.
    image.TrunkSetting[1][1] = "0";
    image.TrunkSetting[1][2] = "1";
    image.TrunkBase[1][0] = {"0416.0000", "012.50", "381", "", "", "", "", ""};
    image.TrunkBase[1][1] = {"0450.0000", "025.00", "400", "", "", "", "", ""};
    // EDACS: decimal IDs.
    image.TrunkSetting[2][1] = "1";
    // Rebanded Type 2: control channel off, end code detect.
    image.TrunkSetting[4][0] = "0";
    image.TrunkSetting[4][1] = "0";
    image.TrunkSetting[4][2] = "1";
    return image;
}

// An image as a fresh program has it, to read into.
inline vex::Image EmptyImage() {
    vex::Image image;
    vex::ClearForFileNew(image);
    return image;
}

inline bool IsMotorola800(int type) {
    return type == 1 || type == 2 || type == 3 || type == 10 || type == 11;
}

// Every field the scanner carries, compared; one line per difference. The trunk data of every
// bank, or of `onlyBank` alone.
inline std::vector<std::string> WireDifferences(const vex::Image& sent, const vex::Image& read,
                                                int firstChannel = 1, int lastChannel = 250,
                                                bool trunk = true, int onlyBank = -1) {
    std::vector<std::string> out;
    auto differ = [&](const std::string& what, const std::string& a, const std::string& b) {
        if (a != b) out.push_back(what + ": sent \"" + a + "\", read \"" + b + "\"");
    };
    for (int n = firstChannel; n <= lastChannel; ++n) {
        const int b = (n - 1) / 50, s = n - 50 * b;
        const vex::Channel& x = sent.channel(b, s);
        const vex::Channel& y = read.channel(b, s);
        const std::string where = "channel " + std::to_string(n);
        const bool emptyX = vex::IsEmptyChannel(sent, b, s);
        if (emptyX != vex::IsEmptyChannel(read, b, s)) {
            differ(where + " frequency", x[vex::kFieldFrequency], y[vex::kFieldFrequency]);
            continue;
        }
        if (emptyX) continue;
        differ(where + " frequency", x[vex::kFieldFrequency], y[vex::kFieldFrequency]);
        differ(where + " trunk", x[vex::kFieldTrunk], y[vex::kFieldTrunk]);
        differ(where + " delay", x[vex::kFieldDelay], y[vex::kFieldDelay]);
        differ(where + " lockout", x[vex::kFieldLockout], y[vex::kFieldLockout]);
    }
    if (!trunk) return out;
    for (int b = 0; b < vex::kScannerBanks; ++b) {
        if (onlyBank >= 0 && b != onlyBank) continue;
        const std::string bank = "bank " + std::to_string(b + 1);
        differ(bank + " trunk type", sent.TrunkType[b], read.TrunkType[b]);
        const int type = std::atoi(sent.TrunkType[b].c_str());
        const auto& x = sent.TrunkSetting[b];
        const auto& y = read.TrunkSetting[b];
        if (IsMotorola800(type)) differ(bank + " control channel", x[0], y[0]);
        if (IsMotorola800(type) || type == 4 || type == 5) {
            differ(bank + " status bit", x[1], y[1]);
            differ(bank + " end code", x[2], y[2]);
        }
        if (type == 6 || type == 7 || type == 9) differ(bank + " ID format", x[1], y[1]);
        if (type == 4 || type == 5) {
            for (int r = 0; r < 3; ++r)
                for (int f = 0; f < 3; ++f)
                    differ(bank + " base line " + std::to_string(r + 1) + " field " +
                               std::to_string(f),
                           sent.TrunkBase[b][r][f], read.TrunkBase[b][r][f]);
        }
        if (type == 2 || type == 11) {
            for (int k = 0; k < 8; ++k)
                differ(bank + " fleet block " + std::to_string(k), sent.TrunkBase[b][0][k],
                       read.TrunkBase[b][0][k]);
        }
        if (type != 0) {
            for (int row = 0; row < vex::kTrunkIdUsedRows; ++row)
                differ(bank + " ID row " + std::to_string(row), sent.TrunkId[b][row][0],
                       read.TrunkId[b][row][0]);
        }
    }
    return out;
}

inline std::string Joined(const std::vector<std::string>& lines, std::size_t most = 20) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < most; ++i) text += lines[i] + "\n";
    if (lines.size() > most) text += "... and " + std::to_string(lines.size() - most) + " more\n";
    return text;
}

// Options as a fresh setup.ini gives them, with the shortest settle wait the link allows.
inline vex::Options FastOptions() {
    vex::Options options;
    options.delay1 = 25;
    options.delay2 = 25;
    options.delay3 = 25;
    options.expert = 1;  // no confirmations in tests that are not about them
    return options;
}

// One conversation: the simulator, the serial port on its device and a session over it.
class Line {
  public:
    // Starts bct8sim with `simArgs` (its speed is `baud` unless the args say otherwise).
    bool Start(std::vector<std::string> simArgs, long baud = 115200,
               vex::Options options = FastOptions()) {
        std::vector<std::string> args{"--baud", std::to_string(baud)};
        bool latency = false;
        for (const auto& a : simArgs) latency = latency || a == "--latency-ms";
        if (!latency) args.insert(args.end(), {"--latency-ms", "0"});
        args.insert(args.end(), simArgs.begin(), simArgs.end());
        if (!sim.Start(args)) return false;
        return Connect(sim.device(), baud, options);
    }

    bool Connect(const std::string& device, long baud, vex::Options options = FastOptions()) {
        vex::ComSettings com;
        com.device = device;
        com.baud = baud;
        session.reset();  // the session holds the old transport; it must go first
        transport = vex::MakeSerialTransport(com);
        vex::LinkConfig config;
        config.baud = baud;
        config.options = options;
        config.folder = folder.path();
        session = std::make_unique<vex::LinkSession>(*transport, scheduler, config);
        return true;
    }

    // Opens the port and runs the start-up sequence.
    std::optional<vex::OpenResult> Open(int timeoutMs = 10000) {
        std::optional<vex::OpenResult> result;
        QEventLoop loop;
        session->open([&](const vex::OpenResult& r) {
            result = r;
            loop.quit();
        });
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        if (!result) loop.exec();
        return result;
    }

    // Runs one transfer to its end; nullopt when it did not end within the time. `answer`
    // answers confirmations (Yes by default); `during` runs once after `afterMs`.
    std::optional<vex::TransferResult> Run(std::function<void()> start, int timeoutMs,
                                           std::function<void()> during = {}, int afterMs = 0) {
        std::optional<vex::TransferResult> result;
        QEventLoop loop;
        vex::LinkEvents events;
        events.finished = [&](const vex::TransferResult& r) {
            result = r;
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        };
        events.ask = [&](const vex::Question& q, std::function<void(bool)> reply) {
            questions.push_back(q.text);
            reply(answer);
        };
        events.progress = [&](const vex::LinkProgress& p) {
            lastProgress = p;
            ++progressEvents;
        };
        session->setEvents(events);
        QElapsedTimer clock;
        clock.start();
        start();
        if (during) QTimer::singleShot(afterMs, &loop, during);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        if (!result) loop.exec();
        seconds = clock.elapsed() / 1000.0;
        session->setEvents({});
        return result;
    }

    std::optional<vex::TransferResult> Read(const vex::Image& image, vex::ReadRequest request,
                                            int timeoutMs) {
        return Run([&] { session->startRead(image, request); }, timeoutMs);
    }
    std::optional<vex::TransferResult> Send(const vex::Image& image, vex::SendRequest request,
                                            int timeoutMs) {
        return Run([&] { session->startSend(image, request); }, timeoutMs);
    }

    simtest::TempFolder folder;
    simtest::SimProcess sim;
    vex::QtScheduler scheduler;
    std::unique_ptr<vex::Transport> transport;
    std::unique_ptr<vex::LinkSession> session;
    bool answer = true;
    std::vector<std::string> questions;
    vex::LinkProgress lastProgress;
    int progressEvents = 0;
    double seconds = 0;
};

inline vex::ReadRequest ReadAll(bool frequencies = true, bool ids = true, bool settings = true) {
    vex::ReadRequest request;
    request.items = {frequencies, ids, settings};
    request.area = vex::TransferArea::AllBanks;
    return request;
}

inline vex::SendRequest SendAll(bool frequencies = true, bool ids = true, bool settings = true) {
    vex::SendRequest request;
    request.items = {frequencies, ids, settings};
    request.area = vex::TransferArea::AllBanks;
    return request;
}

}  // namespace e2e
