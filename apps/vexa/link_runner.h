// What "vexa read" and "vexa send" share: their options, and running one transfer over the
// real serial port in an event loop with a progress line on a terminal and, when asked, a
// serial trace.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "link/session.h"

namespace vexa {

struct LinkRun {
    std::string port;
    long baud = 19200;
    int bank = -1;  // bank index 0..4, -1 = all banks
    std::filesystem::path folder;
    vex::Options options;
    vex::TransferItems items{true, true, true};
    bool listTags = false;  // "listtags" in --items: the ID list tags (reading only)
    std::string traceFile;  // --trace: the serial trace's file, "-" for stderr as it happens
    std::string file;       // the MEM file argument
};

// Parses the shared options; returns -1 to go on, otherwise the exit code to end with.
int ParseLinkArgs(const std::vector<std::string>& args, std::string_view usage, LinkRun& run);

// Opens the port, runs the start-up sequence, then the transfer that `start` begins. Returns
// false with `error` set when the port could not be opened.
bool RunTransfer(const LinkRun& run, const std::function<void(vex::LinkSession&)>& start,
                 vex::TransferResult& result, std::string& error);

// Why `file` could not be written, found before the scanner is talked to; empty when it can.
std::string OutputProblem(const std::filesystem::path& file);

// True once a trace asked for with --trace could not be written.
bool TraceWriteFailed();
// The same, where `start` sees the start-up sequence's result (the scanner's identification)
// and may start nothing: it returns false, and so does RunTransferOpened, with `error` empty.
bool RunTransferOpened(const LinkRun& run,
                       const std::function<bool(vex::LinkSession&, const vex::OpenResult&)>& start,
                       vex::TransferResult& result, std::string& error);

// The one-line text of a failed transfer.
std::string FailureText(const vex::TransferResult& result);

}  // namespace vexa
