#include "link/panel_log.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace vex {

std::string LogLine(const Reception& r) {
    return r.bank + " , " + r.channel + " , " + r.frequency + " , " + r.id + " , " + r.time +
           " , " + r.date;
}

bool ReceptionWatch::observe(const PanelDisplay& display, Reception& out) {
    const bool receiving = display.on("FLASH") && !display.frequency.empty();
    if (!receiving) {
        d_receiving = false;
        return false;
    }
    Reception now;
    now.channel = display.channel;
    now.frequency = display.frequency;
    const int number = std::atoi(display.channel.c_str());
    now.bank = number >= 1 && number <= 250 ? std::to_string((number - 1) / 50 + 1) : "-";
    if (display.tag.rfind("ID:", 0) == 0) {
        now.id = display.tag.substr(3);
        while (!now.id.empty() && now.id.back() == ' ') now.id.pop_back();
    }
    const bool fresh = !d_receiving || now != d_last;
    d_receiving = true;
    d_last = now;
    if (fresh) out = now;
    return fresh;
}

bool AppendLogLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) {
        error = std::strerror(errno);
        return false;
    }
    for (const std::string& line : lines) {
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
    }
    out.flush();
    if (!out) {
        error = "the disk refused the write";
        return false;
    }
    return true;
}

}  // namespace vex
