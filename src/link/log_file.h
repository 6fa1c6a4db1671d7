// The transfer logs (rxdat.txt, txlog.txt, TRUNCK8.TXT): replaced when a transfer starts, then
// one line at a time appended and flushed, so a log is complete up to the moment a transfer
// stopped or the program ended. A log that cannot be written does not stop the transfer, but
// the failure is kept for the transfer's result.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

namespace vex {

class LogFile {
  public:
    // Empties (or creates) the file and keeps it open; false when it cannot be written (the
    // reason is kept for takeProblem()).
    bool start(const std::filesystem::path& path);
    // Appends the text and CR LF; nothing happens when the log is not open.
    void line(std::string_view text);
    void close();
    bool isOpen() const { return d_out.is_open(); }
    // The first failure since start() ("txlog.txt could not be written: ..."), then empty.
    std::string takeProblem() { return std::exchange(d_problem, {}); }

  private:
    void failed(std::string_view why);

    std::ofstream d_out;
    std::filesystem::path d_path;
    std::string d_problem;
};

}  // namespace vex
