// Answers of the frequency database are outside input: the answer reader and every record
// reader must cope with anything, within the size and depth limits, without crashing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "netdb/convert.h"
#include "netdb/records.h"
#include "netdb/soap.h"

namespace {

vex::netdb::SelectedOperation Operation() {
    vex::netdb::SelectedOperation op;
    op.name = "getTrsSites";
    op.outputMessage = "tns:getTrsSitesResponse";
    return op;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vex::netdb;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const SelectedOperation op = Operation();
    const SoapAnswer answer = ReadAnswer(text, size % 2 ? 200 : 500, op);
    if (!answer.ok) return 0;
    ReadSystemDetails(answer.value);
    ReadCountyInfo(answer.value);
    ReadStateInfo(answer.value);
    for (const pugi::xml_node& item : Items(answer.value)) {
        const Site site = ReadSite(item);
        const Talkgroup tg = ReadTalkgroup(item);
        const Frequency f = ReadFrequency(item);
        ProcessTag(tg.alpha, ImportOptions{});
        ProcessTag(f.descr, ImportOptions{});
        TalkgroupId(tg, 8);
        InScannerBands(f.out);
        (void)site;
    }
    return 0;
}
