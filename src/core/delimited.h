// Reading comma-separated text the way the program's own files are written: a field ends at a
// comma or a line end; a field that begins with a double quote runs to the next double quote and
// may hold commas (the quotes are dropped, anything after the closing quote up to the delimiter
// is ignored); an unquoted field has its leading and trailing blanks removed; a line holding only
// blanks yields one empty field. Line ends may be CR LF, LF or CR.
//
// One pass over the bytes held in memory; nothing is copied beyond the field returned.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text.h"

namespace vex {

class DelimitedReader {
  public:
    explicit DelimitedReader(std::string_view text) : d_text(text) {}

    // Next field; false (and `field` empty) when the text is used up.
    bool readField(std::string& field);
    // The rest of the current line without its line end; false when the text is used up.
    bool readLine(std::string& line);

    bool atEnd() const { return d_pos >= d_text.size(); }
    // 1-based number of the line the next read starts on.
    std::size_t lineNumber() const { return d_line; }
    std::size_t position() const { return d_pos; }

  private:
    void skipLineEnd();

    std::string_view d_text;
    std::size_t d_pos = 0;
    std::size_t d_line = 1;
};

// Splits a whole text into lines (CR LF, LF or CR), without the line ends. A last line without a
// line end counts; a text ending in a line end does not get an extra empty line.
template <typename F>
void ForEachLine(std::string_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        f(text.substr(pos, end - pos));
        if (end < text.size() && text[end] == '\r') {
            ++end;
            if (end < text.size() && text[end] == '\n') ++end;
        } else if (end < text.size()) {
            ++end;
        }
        pos = end;
    }
}

}  // namespace vex
