#include "core/delimited.h"

#include <algorithm>

namespace vex {
namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

void DelimitedReader::skipLineEnd() {
    if (d_pos >= d_text.size()) return;
    if (d_text[d_pos] == '\r') {
        ++d_pos;
        if (d_pos < d_text.size() && d_text[d_pos] == '\n') ++d_pos;
    } else if (d_text[d_pos] == '\n') {
        ++d_pos;
    } else {
        return;
    }
    ++d_line;
}

bool DelimitedReader::readField(std::string& field) {
    field.clear();
    if (atEnd()) return false;
    const std::size_t size = d_text.size();
    while (d_pos < size && IsBlank(d_text[d_pos])) ++d_pos;
    if (d_pos < size && d_text[d_pos] == '"') {
        const std::size_t start = d_pos + 1;
        std::size_t close = d_text.find('"', start);
        if (close == std::string_view::npos) close = size;
        const std::string_view value = d_text.substr(start, close - start);
        d_line += static_cast<std::size_t>(std::count(value.begin(), value.end(), '\n'));
        field.assign(value);
        d_pos = std::min(close + 1, size);
        // Whatever follows the closing quote up to the delimiter is not part of any field.
        while (d_pos < size && d_text[d_pos] != ',' && !IsLineBreak(d_text[d_pos])) ++d_pos;
    } else {
        const std::size_t start = d_pos;
        while (d_pos < size && d_text[d_pos] != ',' && !IsLineBreak(d_text[d_pos])) ++d_pos;
        field.assign(TrimBlanks(d_text.substr(start, d_pos - start)));
    }
    if (d_pos < size && d_text[d_pos] == ',')
        ++d_pos;
    else
        skipLineEnd();
    return true;
}

bool DelimitedReader::readLine(std::string& line) {
    line.clear();
    if (atEnd()) return false;
    const std::size_t start = d_pos;
    while (d_pos < d_text.size() && !IsLineBreak(d_text[d_pos])) ++d_pos;
    line.assign(d_text.substr(start, d_pos - start));
    skipLineEnd();
    return true;
}

}  // namespace vex
