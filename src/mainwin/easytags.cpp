#include "mainwin/easytags.h"

#include <algorithm>

namespace vex {

void EasyTagLists::offer(int bank, std::string_view tag) {
    const std::size_t start = tag.find_first_not_of(' ');
    if (start == std::string_view::npos) return;  // empty or only spaces
    const std::string trimmed(tag.substr(start));
    add(d_all, kAllCapacity, trimmed);
    if (bank >= 0 && bank < kBankCount) add(d_banks[bank], kBankCapacity, trimmed);
}

void EasyTagLists::add(std::vector<std::string>& list, std::size_t capacity,
                       const std::string& tag) {
    if (std::find(list.begin(), list.end(), tag) != list.end()) return;
    if (list.size() < capacity) {
        list.push_back(tag);
    } else {
        // A full list keeps its count at the last entry: each new tag replaces that entry.
        list.back() = tag;
    }
}

void EasyTagLists::clear() {
    d_all.clear();
    for (auto& list : d_banks) list.clear();
}

const std::vector<std::string>& EasyTagLists::bank(int bank) const {
    static const std::vector<std::string> none;
    if (bank < 0 || bank >= kBankCount) return none;
    return d_banks[bank];
}

}  // namespace vex
