// The scanner conversation as a window (or the command line) drives it: open the port and run
// the start-up sequence, then read, send or delete a bank, each as one transfer that reports
// progress and ends with one result.
//
// How a window drives a transfer:
//   LinkSession session(transport, scheduler, config);
//   session.setEvents({.progress = ..., .ask = ..., .finished = ...});
//   session.open([](const OpenResult& r) { ... r.port.message when !r.port.ok() ... });
//   session.startRead(image, request);      // or startSend / startDeleteBank
//   ...progress(status, channel, done/total) arrives while the event loop runs...
//   ...ask(question, answer) when a confirmation is due; call answer(true/false) now or later...
//   ...finished(result) exactly once per started transfer...
//   session.stop();                         // the "STOP" button; finished() follows at once
// A read never touches the caller's image: the result carries the image as read (on
// Completed) or as far as it got (hasData on Failed/Stopped), for the window to take or offer.
// Callbacks run on the event loop's thread; the session may be destroyed from finished().
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "core/question.h"
#include "link/protocol.h"
#include "link/scheduler.h"
#include "link/send_plan.h"
#include "link/transport.h"
#include "settings/options.h"

namespace vex {

// Which part of the memory a transfer covers ("All Banks", "Single Bank:", "Channel Range:").
enum class TransferArea { None, AllBanks, SingleBank, ChannelRange };

// "Frequencies", "Trunk Id's", "Trunk Bank Settings".
struct TransferItems {
    bool frequencies = false;
    bool trunkIds = false;
    bool trunkSettings = false;
    bool operator==(const TransferItems&) const = default;
};

struct ReadRequest {
    TransferItems items;
    TransferArea area = TransferArea::None;
    int bank = -1;       // "Single Bank:" bank index 0..4; -1 = none chosen
    int rangeStart = 1;  // "Channel Range:" 1..250 (see ClampRangeField)
    int rangeEnd = 250;
    bool merge = false;           // "Merge Data": keep what the scanner does not report
    bool singleBankFlag = false;  // the window's single-bank flag as it stands
    // Also read the ID list tags (as "read ID lists tag" does) after the trunk IDs.
    bool idListTags = false;
    // Take the scanner's trunk types from this session's last complete type read (the window
    // reads them when it opens) instead of asking the scanner again; read when there are none.
    bool reuseTrunkTypes = false;
};

struct SendRequest {
    TransferItems items;
    TransferArea area = TransferArea::None;
    int bank = -1;
    int rangeStart = 1;
    int rangeEnd = 250;
    // The window's single-bank flag: the last download covered one bank only. Sending all
    // banks then asks for a second confirmation.
    bool singleBankFlag = false;
    // As for ReadRequest: compare with the trunk types read before instead of reading them.
    bool reuseTrunkTypes = false;
    // Send Changes: only the planned parts of the items and area above go out.
    std::optional<SendPlan> plan;
};

struct LinkProgress {
    std::string status;  // the window's status field
    std::string phase;   // what the bar counts: "Sending channels", "Reading trunk IDs", ...
    int channel = 0;     // the channel field ("000"), 0 when no channel is current
    int done = 0;        // progress bar position of `total`; total 0 = no bar
    int total = 0;
};

enum class TransferOutcome {
    Completed,  // everything asked for was done
    Refused,    // nothing was sent (missing choice, no scanner, answered No, nothing to send)
    Failed,     // the link gave up part way (time-outs, disconnect, bad replies)
    Stopped,    // "STOP" was pressed
};

// What a read has actually taken from the scanner, so that a read that ended early replaces
// only that much of the open image.
struct ReadCoverage {
    std::bitset<kTotalChannels + 1> channels;                // channels 1..250
    std::bitset<kScannerBanks * kTrunkIdUsedRows> trunkIds;  // bank * 50 + row
    bool trunkTypes = false;
    std::array<bool, kScannerBanks> trunkSettings{};  // settings, base lines and fleet map
    std::array<bool, kScannerBanks> priorities{};
    bool listTags = false;
};

struct TransferResult {
    TransferOutcome outcome = TransferOutcome::Refused;
    std::string message;  // for a message box; empty = nothing to show
    std::string title;    // its title ("Error" for link failures)
    // Reads: the image as read. Complete on Completed; on Failed/Stopped it holds what was read
    // before the end when hasData is true (channels up to channelReached - 1 of the run).
    Image image;
    bool hasData = false;
    ReadCoverage read;            // reads: the parts of `image` that came from the scanner
    int channelReached = 0;       // channel being transferred when it ended (0 = none)
    bool singleBankFlag = false;  // reads and sends: the window's single-bank flag afterwards
    // Things that went wrong without stopping the transfer (e.g. trunk IDs the scanner
    // rejected); the window shows them after a Completed result.
    std::vector<std::string> warnings;
    // startReadBankNames: the scanner's names of banks 1..5 ("_" for an empty one).
    std::array<std::string, kScannerBanks> bankNames;
    // The names-read flag afterwards: bank names, trunk IDs or ID list tags have been read
    // completely since the port was opened.
    bool namesRead = false;
    // ID list tag reads: the scanner's search-range names "A".."I", read after the tags. No
    // table of the image holds them; they are kept here for whoever wants to show them.
    std::array<std::string, kSearchRangeNames> searchRangeNames;
};

struct OpenResult {
    TransportStatus port;        // port.ok() false: show port.message, the window stays open
    std::string identification;  // the "SI" answer of the start-up sequence (also version.ini)
    bool detected = false;       // identification contains "BCT8"
    std::vector<std::string> warnings;  // e.g. version.ini could not be written
};

struct LinkConfig {
    long baud = 19200;
    Options options;               // delay1..3, option7, option8, option10, expert, ...
    std::filesystem::path folder;  // program folder: version.ini and the transfer logs
};

struct LinkEvents {
    std::function<void(const LinkProgress&)> progress;
    // Yes/No confirmation. Call `answer` once, now or later; stop() counts as No.
    std::function<void(const Question&, std::function<void(bool yes)> answer)> ask;
    std::function<void(const TransferResult&)> finished;
    // The reply field: the last reply as received, "???" when the scanner answered ERR.
    std::function<void(std::string_view reply)> reply;
    // A line of the serial trace (">> " sent, "<< " received, "-- " events), time-stamped by
    // the receiver if it wants.
    std::function<void(std::string_view line)> trace;
};

// Takes the parts of a read's image that it covered into `image` and leaves the rest alone:
// what "keep the channels read so far" does with a read that ended early.
void TakeReadPart(const TransferResult& result, Image& image);

// What a read without "Merge Data" would drop from `image`: the scanner keeps no channel tags
// and no ID tags, so those of the channels and ID rows the read replaces are lost.
struct ReadLosses {
    int channelTags = 0;
    int idTags = 0;
};
ReadLosses CountReadLosses(const Image& image, const ReadRequest& request);

// Forces a "Channel Range:" field into 1..max: an empty, non-numeric or smaller value becomes
// "1", a larger one `max` (250 for reading, 1000 for sending).
std::string ClampRangeField(std::string_view text, int max);

// The settle wait after a command at the given speed: delay3 at 4800 baud, delay2 at 9600,
// delay1 (at least 25) at 19200 and above.
int SettleWaitMs(const Options& options, long baud);

class Link;

class LinkSession {
  public:
    LinkSession(Transport& transport, Scheduler& scheduler, LinkConfig config);
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    void setEvents(LinkEvents events);
    // The window's delay slider (19200 baud and above): changes delay1 for what follows.
    void setDelay1(int ms);
    const LinkConfig& config() const { return d_config; }

    // Opens the port and runs the start-up sequence ("KEY07", "MA001", "VR", "SI"), writing
    // the identification to version.ini. `done` is called once, never from inside open().
    void open(std::function<void(const OpenResult&)> done);
    bool isOpen() const;
    // Closes the port (stops a running transfer first).
    void close();

    // Transfers; the result arrives through events.finished. Refused while one is running.
    void startRead(const Image& image, const ReadRequest& request);
    void startSend(const Image& image, const SendRequest& request);
    // "&Get names": the scanner's bank names (result.bankNames), then its trunk types
    // (scannerTrunkTypes()). Nothing of the image changes.
    void startReadBankNames();
    // "&Get trunktype": the scanner's trunk type of each bank. The result's image is `image`
    // with the types the scanner reported (what "Read Data" takes); scannerTrunkTypes() holds
    // them too (what "Send Data" compares with).
    void startReadTrunkTypes(const Image& image);
    // "read ID lists tag": the scanner's ID list tags "TA L A 0" .. "TA L J 9". The result's
    // image is `image` with ScanListTag as read ("-" is an empty tag; a tag the scanner refused
    // keeps its old text); then the search-range names (result.searchRangeNames). A walk that
    // has not finished after 102 steps starts again from the first tag, at most twice.
    void startReadIdListTags(const Image& image);
    // "&Delete Bank": clears channels 50 * bank + 1 .. 50 * bank + 50 in the scanner.
    void startDeleteBank(int bank);

    bool busy() const;
    // The "STOP" button: ends the running transfer at once; finished() reports Stopped.
    void stop();

    // The scanner's trunk type codes of banks A..J as the last transfer read them ("" for a
    // bank whose type name is not known).
    const std::array<std::string, kTrunkTypeCount>& scannerTrunkTypes() const;
    // True while scannerTrunkTypes() holds a complete read of this connection (what a request
    // with reuseTrunkTypes takes). Cleared by open() and by a transfer that failed.
    bool scannerTrunkTypesKnown() const;
    // The names-read flag: false from open() until bank names, trunk IDs or ID list tags have
    // been read completely.
    bool namesRead() const;

  private:
    class Impl;
    LinkConfig d_config;
    std::unique_ptr<Impl> d_impl;
};

}  // namespace vex
