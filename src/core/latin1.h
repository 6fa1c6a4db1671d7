// The files' Latin-1 text where UTF-8 is wanted (a terminal, an XML document, a PDF), and
// UTF-8 from outside brought back to it.
#pragma once

#include <string>
#include <string_view>

namespace vex {

std::string Latin1ToUtf8(std::string_view text);
// UTF-8 (a service's reply, a typed text) to Latin-1; a character Latin-1 lacks, or a broken
// sequence, becomes '?'.
std::string Utf8ToLatin1(std::string_view text);

}  // namespace vex
