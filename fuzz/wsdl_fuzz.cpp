// A service description comes from the network or a cache file: the parser, the operation
// lookup and the request writer must cope with any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "netdb/soap.h"
#include "netdb/wsdl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vex::netdb;
    const WsdlParse parsed = ParseWsdl(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!parsed.ok) return 0;
    for (int index = 0; index <= kOperationCount; ++index) {
        const SelectedOperation op = SelectOperation(parsed.model, index);
        ComposeRequest(parsed.model, op, {{"id", index}}, Credentials{"u", "p", "1", "9"});
    }
    return 0;
}
