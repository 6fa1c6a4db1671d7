// The text of a ten-bank file in the sibling layout, for the readers of that layout.
#pragma once

#include <string>

namespace vex::test {

// Channel b/s at 100 + b*50 + s MHz tagged "BbSs" (bank 10 at 600 MHz, out of band), bank b named
// "Name b", trunk ID rows b*1000+r up to `idRows` per bank (no such section without `withIds`),
// and per-bank settings that name their bank.
inline std::string TenBankText(const std::string& header, int idRows = 100, bool withIds = true) {
    const auto quoted = [](int count, const std::string& value) {
        std::string out;
        for (int i = 0; i < count; ++i) out += ",\"" + value + "\"";
        return out;
    };
    std::string t = header + "\r\n";
    for (int b = 0; b < 10; ++b)
        for (int s = 1; s <= 50; ++s) {
            const int mhz = b == 9 ? 600 : 100 + b * 50 + s;
            t += std::to_string(b * 50 + s) + ",\"" + std::to_string(mhz) + ".0000\",\"B" +
                 std::to_string(b) + "S" + std::to_string(s) + "\",\"1\",\"0\",\"1\",\"c\"" +
                 quoted(6, "x") + "\r\n";
        }
    t += " \r\n";
    for (int b = 0; b < 12; ++b)
        t += "#$BT" + std::to_string(b) + " Name" + std::to_string(b) + "\r\n";
    if (withIds) {
        for (int i = 0; i < 10; ++i) t += "EXTRA\r\n";
        for (int b = 0; b < 10; ++b)
            for (int r = 0; r < 100; ++r)
                t += "TD" + std::to_string(b * 100 + r) + " " +
                     quoted(4, r < idRows ? std::to_string(b * 1000 + r) : "") + "\r\n";
    }
    for (int i = 0; i < 10; ++i)
        t += "TID" + std::to_string(i) + " " + quoted(10, "L" + std::to_string(i)) + "\r\n";
    for (int b = 0; b < 10; ++b)
        t += "TSI" + std::to_string(b) + " " + quoted(10, std::to_string(b)) + "\r\n";
    for (int b = 0; b < 10; ++b)
        t += "#$TT" + std::to_string(b) + " " + std::to_string(b + 1) + "\r\n";
    for (int b = 0; b < 10; ++b)
        for (int k = 0; k < 3; ++k)
            t += "#$TBS" + std::to_string(b) + quoted(8, std::to_string(b * 10 + k)) + "\r\n";
    for (int i = 0; i < 10; ++i) t += "SRCH" + std::to_string(i) + " " + quoted(10, "") + "\r\n";
    return t;
}

}  // namespace vex::test
