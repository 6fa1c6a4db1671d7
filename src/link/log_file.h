// The transfer logs (rxdat.txt, txlog.txt, TRUNCK8.TXT): replaced when a transfer starts, then
// one line at a time appended and flushed, so a log is complete up to the moment a transfer
// stopped or the program ended.
#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>

namespace vex {

class LogFile {
  public:
    // Empties (or creates) the file and keeps it open; false when it cannot be written.
    bool start(const std::filesystem::path& path);
    // Appends the text and CR LF; nothing happens when the log is not open.
    void line(std::string_view text);
    void close();
    bool isOpen() const { return d_out.is_open(); }

  private:
    std::ofstream d_out;
};

}  // namespace vex
