// The files' Latin-1 text where UTF-8 is wanted: a terminal, an XML document, a PDF.
#pragma once

#include <string>
#include <string_view>

namespace vex {

std::string Latin1ToUtf8(std::string_view text);

}  // namespace vex
