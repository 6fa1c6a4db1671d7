#include "mainwin/undo.h"

namespace vex {

void UndoSnapshots::Take(const Image& image, int bank) {
    if (bank < 0 || bank >= kBankCount) return;
    snapshots_[bank] = image.ChannelTable[bank];
}

bool UndoSnapshots::Has(int bank) const {
    return bank >= 0 && bank < kBankCount && snapshots_[bank].has_value();
}

bool UndoSnapshots::Restore(Image& image, int bank) const {
    if (!Has(bank)) return false;
    // Slots 1..50 only: the snapshot holds fields 0 to 6 of those slots.
    for (int slot = 1; slot <= ChannelsPerBank; ++slot) {
        image.ChannelTable[bank][slot] = (*snapshots_[bank])[slot];
    }
    return true;
}

void UndoSnapshots::Clear() {
    for (auto& snapshot : snapshots_) snapshot.reset();
}

}  // namespace vex
