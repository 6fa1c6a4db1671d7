// The settings and state file readers on arbitrary bytes: never a crash, a leak or undefined
// behaviour; what they read is in range; and writing what was read, then reading it again, is
// stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini.h"
#include "settings/setup_ini.h"
#include "settings/state_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const vex::Options o1 = vex::ParseSetupIni(text);
    if (o1.delay1 < 25 || o1.delay1 > 1000 || o1.backupdelay < 1 || o1.backupdelay > 99 ||
        o1.align < 0 || o1.align > 2 || o1.val2 < 100 || o1.val2 > 1000 || o1.infob != 0)
        std::abort();
    const vex::Options o2 = vex::ParseSetupIni(vex::SerializeSetupIni(o1));
    if (vex::ParseSetupIni(vex::SerializeSetupIni(o2)) != o2) std::abort();

    const vex::ComReadResult com = vex::ParseComSettings(text);
    if (com.portValid != (com.settings.port >= 1 && com.settings.port <= 19)) std::abort();
    if (com.settings.baud < 1) std::abort();
    const vex::ComReadResult comAgain =
        vex::ParseComSettings(vex::SerializeComSettings(com.settings));
    if (comAgain.settings.port != com.settings.port || comAgain.settings.baud != com.settings.baud)
        std::abort();

    (void)vex::ParseLastFile(text);

    if (const auto placement = vex::ParseWindowPlacement(text)) {
        if (placement->left < 0 || placement->top < 0 || placement->width < 1 ||
            placement->height < 1)
            std::abort();
    }

    for (const int width : vex::ParseColumnWidths(text))
        if (width < 10 || width > 9000) std::abort();

    const vex::DefaultData defaults = vex::ParseDefaultData(text);
    for (int i = 0; i < 3; ++i)
        if ((defaults.use[i] != 0 && defaults.use[i] != 1) ||
            (defaults.value[i] != 0 && defaults.value[i] != 1))
            std::abort();

    std::array<std::string, vex::kBankCount> tags{};
    vex::ParseBankTags(text, tags);
    for (const std::string& tag : tags)
        if (tag.find(',') != std::string::npos) std::abort();

    std::array<std::string, vex::kTrunkTypeCount> types{};
    vex::ParseTrunkTypes(text, types);

    const vex::IniData ini = vex::IniData::parse(text);
    if (ini.get("setup", "x", "d").size() > vex::kIniValueMax) std::abort();
    return 0;
}
