// The BCT8's remote commands: how each command is written and how each reply is read. Replies
// are outside input: every parser says whether the reply really was what was asked for, and a
// reply that is not is never taken as data.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"

namespace vex {

inline constexpr std::string_view kCommandEnd = "\r\n";
inline constexpr char kReplyEnd = '\r';
inline constexpr std::string_view kEmptyWireFrequency = "00000000";

// Channel 1..250 as three digits; 1000 is written "000".
std::string ChannelDigits(int channel);
// Bank index 0..9 as "A".."J".
char BankLetter(int bank);
// Bank index and slot of channel 1..250.
constexpr int BankOfChannel(int channel) {
    return (channel - 1) / ChannelsPerBank;
}
constexpr int SlotOfChannel(int channel) {
    return channel - ChannelsPerBank * BankOfChannel(channel);
}

// True when the scanner refused the command.
bool IsRefusal(std::string_view reply);

// --- Channels ---------------------------------------------------------------------------

// The wire form of a stored frequency: "00000000" for an empty text or a zero, otherwise the
// eight digits of the plain number the text holds ("25" gives "00250000", " 162.55" gives
// "01625500"). nullopt for anything the scanner cannot be given as it stands: junk ("abc",
// "162,55", "162.55abc"), a sign, more than four integer digits, a step finer than 100 Hz, or
// a value outside the scanner's bands ("600"). Such a channel must not be sent at all.
std::optional<std::string> WireFrequency(std::string_view stored);
// "08510250" gives "0851.0250".
std::string MemoryFrequency(std::string_view wire);

std::string ChannelReadCommand(int channel);       // "MA001"
std::string ChannelFirstReadCommand(int channel);  // "PM001"
// "PM001 08510250", or "PM001T08510250" for a trunked channel.
std::string ChannelWriteCommand(int channel, std::string_view wireFrequency, bool trunked);
std::string ChannelClearCommand(int channel);               // "PM001 00000000"
std::string LockoutCommand(std::string_view lockoutField);  // "LON" for "1", else "LOF"
std::string DelayCommand(std::string_view delayField);      // "DLN" for "1", else "DLF"

enum class ReplyStatus {
    Ok,
    Refused,    // the scanner answered ERR
    Malformed,  // not the answer to what was asked
};

struct ChannelReply {
    std::string frequency;  // "0851.0250"; empty when the reply had the marker only
    char trunk = 0;         // 'N', 'F' or 0 when the token is missing or holds something else
    char delay = 0;
    char lockout = 0;
};

// Reply to "PM"/"MA" + channel: the marker "C" + three digits of the channel, then " F" and
// eight digits; " T", " D", " L" with N/F after it. The marker without " F" is Ok and carries
// nothing.
ReplyStatus ParseChannelReply(std::string_view reply, int channel, ChannelReply& out);
// Frequency and the three flags into the channel; a flag token that was not N or F leaves the
// field as it was, and a reply without a frequency changes nothing.
void ApplyChannelReply(const ChannelReply& reply, Channel& channel);

// --- Priority, identification ------------------------------------------------------------

std::string PriorityReadCommand(int bank);  // "PC A"
// "PC A 051": characters 5 to 7 are the channel; it must lie in 1..250.
std::optional<int> ParsePriorityReply(std::string_view reply, int bank);
bool IsBct8Identification(std::string_view text);  // holds "BCT8"

// --- Bank names ------------------------------------------------------------------------------

std::string BankNameReadCommand(int bank);  // "TA B A"
// The name after "TA B A " up to the carriage return, right-trimmed, as the bank list shows it:
// an empty name becomes "_", every "," a ";". nullopt when the key is missing.
std::optional<std::string> ParseBankNameReply(std::string_view reply, int bank);

// --- Trunk types ---------------------------------------------------------------------------

std::string TrunkTypeReadCommand(int bank);  // "TB A"
// The type name after "TB A " up to the carriage return (right-trimmed); nullopt when the key
// is missing.
std::optional<std::string> ParseTrunkTypeReply(std::string_view reply, int bank);
// The stored code of a type name ("E2-8..." gives "1", "" gives "0"); nullopt for a name the
// table does not know.
std::optional<std::string> TrunkTypeCodeForName(std::string_view name);

// A line sent to the scanner and what ends it ("CP" lines end with a carriage return alone).
struct WireLine {
    std::string text;
    std::string_view end = kCommandEnd;
    bool operator==(const WireLine&) const = default;
};

// "TR A 1" and what goes with the type: the two "CP" lines of the rebanded types. For types 4
// and 5 with `fixedBase` the fixed base line (" 4 04160000 0125 381"); without it the three
// base/offset lines of `base` ("TR A 4 04160000 0125 381 1"). Type 0 and unknown codes send
// nothing.
std::vector<WireLine> TrunkTypeCommands(
    int bank, int typeCode, bool fixedBase,
    const std::array<std::array<std::string, kTrunkBaseFields>, kTrunkBaseRows>* base = nullptr);
// One base/offset line in wire form: "04160000 0125 381 1", or "00000000 0000 000 1" for an
// empty row.
std::string BaseLineWire(const std::array<std::string, kTrunkBaseFields>& row, int line);

// --- Bank settings -------------------------------------------------------------------------

std::string BankSelectCommand(int bank);          // "TBN A"
std::string ControlChannelReadCommand(int bank);  // "TC A"
// "TCF" gives "0", "TCN" "1", with " P1".." P4" "1".."4"; nullopt otherwise.
std::optional<std::string> ParseControlChannelReply(std::string_view reply);
// "TCF A" for "0", "TCN A P2" for "2"; nullopt for a field that is none of "0".."4".
std::optional<std::string> ControlChannelCommand(int bank, std::string_view field);

// A flag setting read with "BT"/"TD"/"AF": reply prefix + "N" or "F".
// The EDACS ID format uses the same sense both ways: "AFF" is "0" (AFS), "AFN" is "1" (Decimal).
std::optional<std::string> ParseFlagReply(std::string_view reply, std::string_view command);
// "BTN" for "1", "BTF" for "0", nullopt for anything else.
std::optional<std::string> FlagCommand(std::string_view command, std::string_view field);

std::string BaseLineReadCommand(int bank, int line);  // "BC A1"
// Base line reply: base frequency (eight digits or four.four), step, offset; into the row's
// fields 0..2 as "0416.0000", "012.50", "381" (all empty for a zero base).
bool ParseBaseLineReply(std::string_view reply, std::array<std::string, kTrunkBaseFields>& row);

std::string FleetMapReadCommand(int bank);  // "FB A"
// Blocks 0..7 of a fleet map reply: after the letter, a blank and the block number, the two
// digits of the size code (0..14). False unless all eight are there.
bool ParseFleetMapReply(std::string_view reply, int bank, std::array<std::string, 8>& blocks);
// "FB A 0 11"; one-digit codes get a leading "0".
std::string FleetMapBlockCommand(int bank, int block, int code);

// --- Trunk IDs -----------------------------------------------------------------------------

// Row 0..49 of a bank: group letter "A".."E" and digit.
std::string TrunkIdKey(int bank, int row);  // "TG A B3"
std::string TrunkIdReadCommand(int bank, int row);
// The ID after the key, right-trimmed; "------" gives "". nullopt when the key is missing.
std::optional<std::string> ParseTrunkIdReply(std::string_view reply, int bank, int row);
std::string TrunkIdWriteCommand(int bank, int row, std::string_view id);  // "TG A B3 12345"
std::string TrunkIdDeleteCommand(int bank, int row);                      // "TG A B3 0"
// An ID beginning with "-" (the scanner's "------") counts as empty.
bool IsEmptyTrunkId(std::string_view id);

// --- ID list tags and search-range names ---------------------------------------------------

// The scanner keeps ten tags per list letter "A".."J" (the rows of ScanListTag), indexes 0..9.
inline constexpr int kListTagLetters = 10;
inline constexpr int kListTagIndexes = 10;
// Search-range names "A".."I".
inline constexpr int kSearchRangeNames = 9;
inline constexpr std::size_t kSearchRangeNameLength = 16;

std::string ListTagReadCommand(int list, int index);  // "TA L A 0"
// The tag after "TA L A 0 " (or "TA L A0 ") up to the carriage return, right-trimmed; the
// scanner's "-" gives "". nullopt when the key is missing.
std::optional<std::string> ParseListTagReply(std::string_view reply, int list, int index);

std::string SearchRangeNameReadCommand(int range);  // "TA S A"
// The name after "TA S A " up to the carriage return, at most 16 characters, right-trimmed.
// nullopt when the key is missing.
std::optional<std::string> ParseSearchRangeNameReply(std::string_view reply, int range);

// --- Active banks ----------------------------------------------------------------------------

// "SB ACE" for the banks whose ActiveBank flag is 1; nullopt when none is.
std::optional<std::string> ActiveBanksCommand(const Image& image);

}  // namespace vex
