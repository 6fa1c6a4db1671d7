#include "mainwin/undo.h"

namespace vex {

UndoHistory::UndoHistory(const Image& image, UndoLimits limits)
    : d_limits(limits), d_image(image) {}

void UndoHistory::reset(const Image& image, bool modified) {
    d_image = image;
    d_steps.clear();
    d_position = 0;
    d_bytes = 0;
    d_saved = modified ? std::nullopt : std::optional<std::size_t>(0);
}

std::size_t UndoHistory::bytesOf(const Step& step) {
    // Strings that fit their own object hold nothing on the heap.
    constexpr std::size_t kInline = sizeof(std::string) - 1;
    auto heap = [&](const std::string& s) { return s.capacity() > kInline ? s.capacity() + 1 : 0; };
    std::size_t n = sizeof(Step) + heap(step.name) + step.entries.capacity() * sizeof(Entry);
    for (const Entry& e : step.entries) n += heap(e.other);
    return n;
}

bool UndoHistory::record(std::string_view name, int bank, const Image& image) {
    return recordUnits(name, bank, image, Differences(d_image, image));
}

bool UndoHistory::recordChannels(std::string_view name, int bank, const Image& image) {
    return recordUnits(name, bank, image, ChannelDifferences(d_image, image, bank));
}

bool UndoHistory::recordUnits(std::string_view name, int bank, const Image& image,
                              const std::vector<ImageUnit>& changed) {
    if (changed.empty()) return false;

    // A new step ends the steps that were undone.
    while (d_steps.size() > d_position) {
        d_bytes -= d_steps.back().bytes;
        d_steps.pop_back();
    }
    if (d_saved && *d_saved > d_position) d_saved.reset();

    Step step;
    step.name = std::string(name);
    step.bank = bank;
    step.entries.reserve(changed.size());
    for (const ImageUnit& unit : changed) {
        step.entries.push_back({unit, PackUnit(d_image, unit)});
        CopyUnit(image, d_image, unit);
    }
    step.bytes = bytesOf(step);
    d_bytes += step.bytes;
    d_steps.push_back(std::move(step));
    ++d_position;
    trim();
    return true;
}

void UndoHistory::trim() {
    while (d_steps.size() > d_limits.maxSteps ||
           (d_bytes > d_limits.byteBudget && d_steps.size() > d_limits.minSteps)) {
        d_bytes -= d_steps.front().bytes;
        d_steps.pop_front();
        --d_position;
        // The saved state went with the oldest step: no state of the history is saved now.
        if (d_saved) d_saved = *d_saved == 0 ? std::nullopt : std::optional(*d_saved - 1);
    }
}

void UndoHistory::swap(Step& step, Image& image) {
    for (Entry& entry : step.entries) {
        std::string now = PackUnit(d_image, entry.unit);
        UnpackUnit(entry.other, d_image, entry.unit);
        CopyUnit(d_image, image, entry.unit);
        entry.other = std::move(now);
    }
    d_bytes -= step.bytes;
    step.bytes = bytesOf(step);
    d_bytes += step.bytes;
}

std::optional<int> UndoHistory::undo(Image& image) {
    if (!canUndo()) return std::nullopt;
    Step& step = d_steps[--d_position];
    swap(step, image);
    return step.bank;
}

std::optional<int> UndoHistory::redo(Image& image) {
    if (!canRedo()) return std::nullopt;
    Step& step = d_steps[d_position++];
    swap(step, image);
    return step.bank;
}

std::string UndoHistory::undoName() const {
    return canUndo() ? d_steps[d_position - 1].name : std::string();
}

std::string UndoHistory::redoName() const {
    return canRedo() ? d_steps[d_position].name : std::string();
}

}  // namespace vex
