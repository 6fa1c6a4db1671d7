// One-level undo per bank: a snapshot of all fields of slots 1..50.
#pragma once

#include <array>
#include <optional>

#include "core/image.h"

namespace vex {

class UndoSnapshots {
  public:
    // Copies the bank's channels as they are in the table now.
    void Take(const Image& image, int bank);
    bool Has(int bank) const;
    // Copies the snapshot back into the table; false (and nothing changed) without a snapshot.
    bool Restore(Image& image, int bank) const;
    void Clear();

  private:
    std::array<std::optional<Bank>, kBankCount> snapshots_;
};

}  // namespace vex
