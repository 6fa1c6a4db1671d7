// The program's options, named after their setup.ini keys, and the small state the other
// settings files carry. Reading and writing them lives beside this header.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/image_options.h"

namespace vex {

struct Options {
    // [setup]
    int ffont = 1;
    int model = 0;
    int khz9 = 0;  // key "9khz"
    int smart = 1;
    int round = 1;
    int zero = 0;
    int bandplan = 1;
    int savenames = 1;
    int cleartag = 0;
    int window = 0;
    int toolbar = 1;
    int helpbar = 1;
    int remtags = 1;
    int copytags = 0;
    int shiftdir = 0;
    int confirm = 0;
    int delid = 1;
    int loadlast = 0;
    int tabwidth = 0;
    int linkbank = 0;
    // option1..option12 at index 1..12; index 0 unused.
    std::array<int, 13> option{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1};
    int vcstat = 0;
    int align = 0;
    int expert = 0;
    int delay1 = 100;
    int delay2 = 200;
    int delay3 = 400;
    int delay4 = 100;
    int backupdelay = 30;
    int backena = 1;
    std::array<int, 3> findoptie{0, 0, 0};
    int qview = 1;
    int vstart = 0;
    int vpos = 0;
    int vcm = 0;
    int infob = 1;
    int remtrunk = 1;  // read only
    // [cputune]
    int val2 = 200;
    std::string val3;  // written only

    int option5() const { return option[5]; }
    int option9() const { return option[9]; }
    // What the MEM file code and normalisation follow.
    operator ImageOptions() const { return {savenames, option[5], option[9]}; }
    bool operator==(const Options&) const = default;
};

// com250.ini
struct ComSettings {
    int port = 1;
    long baud = 19200;
    std::string device;  // the chosen device path on this system, remembered beside the number
    bool operator==(const ComSettings&) const = default;
};

// defdata.ini: use-default switches and default values for the trunk, delay and lockout flags
// of a newly entered channel.
struct DefaultData {
    std::array<int, 3> use{1, 1, 1};
    std::array<int, 3> value{0, 1, 0};
    bool operator==(const DefaultData&) const = default;
};

}  // namespace vex
