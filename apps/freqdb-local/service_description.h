// The description freqdb-local serves: every operation the client knows, with its parameters.
#pragma once

#include <string>

namespace freqdb {

inline constexpr const char* kTargetNamespace = "http://freqdb.local/soap2";

// The WSDL text for a service reached at `location` (the "index.php" address).
std::string ServiceDescription(const std::string& location);

}  // namespace freqdb
