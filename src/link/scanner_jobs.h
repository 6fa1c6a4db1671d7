// The conversations of the scanner-side dialogs (bank names, priority channels, easy
// programming, scanner settings), each a job on the link. Every command must be answered: a
// scanner that stays silent or refuses ends the job with a message naming the command, so a
// dialog never reports as done what the scanner did not take.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/link.h"

namespace vex {

struct ScannerJobResult {
    bool ok = false;
    std::string message;  // why it failed
};

// The general settings reached through the scanner's menu, in the dialog's order.
struct MenuSettingInfo {
    std::string_view caption;       // "Dimmer Light:"
    std::string_view keys[3];       // menu digits typed after "KEY11"
    std::string_view displayed[3];  // option texts on the display, nullptr-like empty at end
    std::string_view choices[3];    // the dialog's list entries
    bool written;                   // "Send to scanner" writes it
};
inline constexpr int kMenuSettings = 9;
extern const std::array<MenuSettingInfo, kMenuSettings> kMenuSettingInfo;

// Easy programming: the attributes a user ticked, each with the chosen list position.
struct EasyProgramRequest {
    int start = 1;
    int end = 250;
    std::optional<bool> trunk;  // on: the channel becomes trunked ("KEY13H" when it is not)
    std::optional<int> delay;   // 0 "None" .. 7 "-10 sec"
    std::optional<bool> record;
    std::optional<bool> beepAlert;
    std::optional<bool> lockout;
    std::optional<bool> attenuator;
};
inline constexpr std::string_view kDelayChoices[] = {"None", "1 sec",  "2 sec",  "4 sec",
                                                     "Inf.", "-2 sec", "-5 sec", "-10 sec"};
// "DLF", "DLN +1", ..., "DLN -10".
std::string_view DelayLengthCommand(int choice);

class ScannerJobs {
  public:
    ScannerJobs(Link& link, int settleMs) : d_link(link), d_settleMs(settleMs) {}

    // The opening handshake: "KEY01" twice (bank names, easy programming) or "KEY07"
    // (priority, settings), then "IDF", "CDF", "QUF".
    Task<ScannerJobResult> handshake(bool privateKeyTwice);
    // Priority channels of banks A..E (0 where the reply was not one).
    Task<ScannerJobResult> readPriorities(std::array<int, 5>& channels);
    Task<ScannerJobResult> sendPriorities(std::array<int, 5> channels);
    Task<ScannerJobResult> sendBankNames(std::array<std::string, 5> names);
    // `progress(channel)` before each channel.
    Task<ScannerJobResult> easyProgram(EasyProgramRequest request,
                                       std::function<void(int)> progress);
    // Choices by list position; -1 stays where the display showed none of the options.
    Task<ScannerJobResult> readSettings(std::array<int, kMenuSettings>& choices);
    Task<ScannerJobResult> sendSettings(std::array<int, kMenuSettings> choices);
    // "AC": clears the scanner's whole memory.
    Task<ScannerJobResult> clearMemory();

  private:
    // Sends the command, waits for its answer and the settle wait. `reply` gets the answer.
    Task<ScannerJobResult> command(std::string text, std::string* reply = nullptr);

    Link& d_link;
    int d_settleMs;
};

}  // namespace vex
