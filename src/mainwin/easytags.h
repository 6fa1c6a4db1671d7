// The easy-tag pick lists: distinct tags of all banks and of each bank, offered in drop-down
// lists when option9 ("Show Easy Tag Dropdown List") is 1.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"

namespace vex {

class EasyTagLists {
  public:
    static constexpr std::size_t kAllCapacity = 1001;
    static constexpr std::size_t kBankCapacity = 101;

    // Offers a tag seen in `bank`: leading spaces removed; empty or single-space tags ignored;
    // a tag already listed is not added again; when a list is full, the new tag replaces its
    // last entry. A bank outside 0..5 feeds only the all-banks list.
    void offer(int bank, std::string_view tag);

    // Reading a MEM file and File New empty the lists.
    void clear();

    const std::vector<std::string>& all() const { return d_all; }
    const std::vector<std::string>& bank(int bank) const;

  private:
    static void add(std::vector<std::string>& list, std::size_t capacity, const std::string& tag);

    std::vector<std::string> d_all;
    std::array<std::vector<std::string>, kBankCount> d_banks;
};

}  // namespace vex
