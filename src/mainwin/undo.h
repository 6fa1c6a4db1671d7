// The undo and redo history of the image: named steps, each holding only the units of the image
// it changed (see image_units.h). The history keeps its own copy of the image as of its current
// step; recording compares the image with that copy, so a step holds whatever changed, whoever
// changed it.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/image.h"
#include "mainwin/image_units.h"

namespace vex {

struct UndoLimits {
    std::size_t minSteps = 100;                // kept whatever they cost
    std::size_t maxSteps = 1000;               // never more
    std::size_t byteBudget = 8 * 1024 * 1024;  // older steps go beyond this (above minSteps)
};

class UndoHistory {
  public:
    explicit UndoHistory(const Image& image, UndoLimits limits = UndoLimits());

    // A new document: no steps. `modified` says whether it already differs from its file.
    void reset(const Image& image, bool modified);

    // Everything in which `image` differs from the history's copy becomes one step named `name`,
    // made while `bank` was shown. Steps that were undone are dropped. False when nothing differs.
    bool record(std::string_view name, int bank, const Image& image);
    // The same when only the channels of `bank` can have changed (a typed entry): quicker.
    // Changes elsewhere stay for the next full record.
    bool recordChannels(std::string_view name, int bank, const Image& image);

    // Puts the last step back (or makes the next one again) in `image`, which must be as the
    // history knows it (record first). Returns the bank the step was made in; nullopt when
    // there is nothing to undo (redo).
    std::optional<int> undo(Image& image);
    std::optional<int> redo(Image& image);
    bool canUndo() const { return d_position > 0; }
    bool canRedo() const { return d_position < d_steps.size(); }
    // The names of the step undo (redo) would take back (make again); empty when none.
    std::string undoName() const;
    std::string redoName() const;

    // The image differs from the saved one unless the history stands at the step it was
    // saved at.
    bool modified() const { return !d_saved || *d_saved != d_position; }
    void markSaved() { d_saved = d_position; }
    void markModified() { d_saved.reset(); }

    std::size_t steps() const { return d_steps.size(); }
    std::size_t position() const { return d_position; }
    // Memory held by the steps (not counting the history's copy of the image).
    std::size_t bytes() const { return d_bytes; }
    const Image& current() const { return d_image; }

  private:
    struct Entry {
        ImageUnit unit;
        std::string other;  // the unit on the other side of the step (before it, or after it)
    };
    struct Step {
        std::string name;
        int bank = 0;
        std::vector<Entry> entries;
        std::size_t bytes = 0;
    };

    // Exchanges the step's units with those of the image: undo and redo alike.
    void swap(Step& step, Image& image);
    bool recordUnits(std::string_view name, int bank, const Image& image,
                     const std::vector<ImageUnit>& changed);
    static std::size_t bytesOf(const Step& step);
    void trim();

    UndoLimits d_limits;
    Image d_image;  // the image as of d_position
    std::deque<Step> d_steps;
    std::size_t d_position = 0;  // steps before it are done, from it on undone
    std::optional<std::size_t> d_saved = 0;
    std::size_t d_bytes = 0;
};

}  // namespace vex
