#include "mainwin/undo.h"

#include <gtest/gtest.h>

#include <functional>

#include "mainwin/editor.h"
#include "mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Put;

// --- Units: every part of the image survives packing, whatever its text ---

struct UnitCase {
    const char* name;
    ImageUnit unit;
    std::function<void(Image&)> change;
};

class UndoUnits : public ::testing::TestWithParam<UnitCase> {};

TEST_P(UndoUnits, AChangeIsFoundAndItsPackedFormRestoresIt) {
    const Image before = EmptyImage();
    Image after = before;
    GetParam().change(after);
    const std::vector<ImageUnit> found = Differences(before, after);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], GetParam().unit);
    Image restored = after;
    UnpackUnit(PackUnit(before, found[0]), restored, found[0]);
    EXPECT_EQ(restored, before);
    UnpackUnit(PackUnit(after, found[0]), restored, found[0]);
    EXPECT_EQ(restored, after);
}

using enum UnitKind;

INSTANTIATE_TEST_SUITE_P(
    Undo, UndoUnits,
    ::testing::Values(
        UnitCase{
            "DummyLongComment",
            {Channel, kDummyBank, 50},
            [](Image& i) { i.channel(kDummyBank, 50)[kFieldComment] = std::string(300, '\xe9'); }},
        UnitCase{"BankTag", {BankTag, 2, 0}, [](Image& i) { i.BankTag[2] = "FIRE"; }},
        UnitCase{
            "PriorityNegative", {Priority, 0, 0}, [](Image& i) { i.PriorityChannel[4] = -32768; }},
        UnitCase{"TrunkBase", {TrunkBaseRow, 1, 2}, [](Image& i) { i.TrunkBase[1][2][7] = "1"; }},
        UnitCase{
            "DummyIdSpareRow", {TrunkIdRow, 5, 60}, [](Image& i) { i.TrunkId[5][60][3] = "TAG"; }},
        UnitCase{"ScanListTag",
                 {ScanListTagRow, 0, 7},
                 [](Image& i) { i.ScanListTag[7][0] = std::string("a\0b", 3); }},
        UnitCase{"SearchEdge",
                 {SearchEdgeRow, 0, 3},
                 [](Image& i) { i.SearchEdgeTable[3][9] = "edge"; }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The history ---

class UndoHistoryTest : public ::testing::Test {
  protected:
    UndoHistoryTest() : image(EmptyImage()), history(image) {}
    void Step(const std::string& name, int bank, int slot, const std::string& frequency) {
        Put(image, bank, slot, frequency, name);
        ASSERT_TRUE(history.record(name, bank, image));
    }
    Image image;
    UndoHistory history;
};

TEST_F(UndoHistoryTest, UndoAndRedoAcrossBanksByName) {
    EXPECT_FALSE(history.record("Nothing changed", 0, image));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.modified());
    const Image start = image;
    Step("A", 0, 1, "0151.0000");
    const Image afterA = image;
    Step("B", 3, 7, "0460.0000");
    image.BankTag[3] = "B TAG";
    image.TrunkId[3][0][0] = "000042";
    ASSERT_TRUE(history.record("C", 3, image));
    const Image afterC = image;

    EXPECT_EQ(history.undoName(), "C");
    EXPECT_EQ(history.undo(image), 3);
    EXPECT_EQ(history.undo(image), 3);
    EXPECT_EQ(image, afterA);
    EXPECT_EQ(history.undoName(), "A");
    EXPECT_EQ(history.redoName(), "B");
    EXPECT_EQ(history.undo(image), 0);
    EXPECT_EQ(image, start);
    EXPECT_FALSE(history.undo(image));
    EXPECT_EQ(history.redo(image), 0);
    EXPECT_EQ(history.redo(image), 3);
    EXPECT_EQ(history.redo(image), 3);
    EXPECT_EQ(image, afterC);
    EXPECT_FALSE(history.redo(image));
}

TEST_F(UndoHistoryTest, ModifiedFollowsTheSavedStep) {
    Step("A", 0, 1, "0151.0000");
    history.markSaved();
    EXPECT_FALSE(history.modified());
    Step("B", 0, 2, "0152.0000");
    EXPECT_TRUE(history.modified());
    history.undo(image);
    EXPECT_FALSE(history.modified());  // back at the saved state
    history.undo(image);
    EXPECT_TRUE(history.modified());
    history.redo(image);
    EXPECT_FALSE(history.modified());
    // A new step where the saved one was undone: the saved state cannot come back.
    history.undo(image);
    Step("C", 0, 3, "0153.0000");
    EXPECT_TRUE(history.modified());
    EXPECT_FALSE(history.canRedo());
    history.undo(image);
    EXPECT_TRUE(history.modified());
}

// The default limits keep far more than a hundred steps: the next test.
TEST_F(UndoHistoryTest, DropsTheOldestStepsPastTheLimits) {
    UndoHistory small(image, UndoLimits{3, 5, 1});
    for (int i = 1; i <= 7; ++i) {
        Put(image, 0, i, "0151.0000");
        small.record("S" + std::to_string(i), 0, image);
    }
    // The byte budget of 1 leaves the minimum of three steps.
    EXPECT_EQ(small.steps(), 3u);
    EXPECT_TRUE(small.modified());  // the saved state went with the dropped steps
}

TEST_F(UndoHistoryTest, AThousandSmallStepsAreKeptAndCostLittle) {
    for (int i = 0; i < 1000; ++i)
        Step("Edit channel", i % 5, i % 50 + 1, std::to_string(150 + i % 300) + ".1250");
    EXPECT_EQ(history.steps(), 1000u);
    EXPECT_LT(history.bytes(), 512u * 1024u);
}

// --- The editor records every change as a step ---

class UndoEditorTest : public ::testing::Test {
  protected:
    UndoEditorTest() : image(EmptyImage()), editor(image, options, defaults) {}
    Options options;
    DefaultData defaults;
    Image image;
    TableEditor editor;
};

TEST_F(UndoEditorTest, ShowingAndStoringAnUntouchedBankChangesNothing) {
    // Forms the grid would rewrite: blank flags of an empty channel, a short frequency.
    image.channel(0, 1)[kFieldTrunk] = "";
    Put(image, 0, 2, "162.55", "A");
    editor.show();
    editor.setModified(false);
    const Image shown = image;
    ASSERT_TRUE(editor.store());
    ASSERT_TRUE(editor.selectBank(1));
    EXPECT_EQ(image, shown);
    EXPECT_FALSE(editor.modified());
}

TEST_F(UndoEditorTest, AnotherWindowsChangeIsOneStepShownInItsBank) {
    editor.setModified(false);
    const Image before = image;
    ASSERT_FALSE(editor
                     .applyImageChange("Move bank 2 to bank 4",
                                       [](Image& i) {
                                           Put(i, 1, 1, "0155.0000", "X");
                                           Put(i, 3, 1, "0156.0000", "Y");
                                           return true;
                                       })
                     .cancelled);
    EXPECT_EQ(editor.history().undoName(), "Move bank 2 to bank 4");
    EXPECT_TRUE(editor.modified());
    ASSERT_TRUE(editor.selectBank(4));
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(image, before);
    EXPECT_EQ(editor.currentBank(), 0);  // the bank shown when the step was made
    EXPECT_FALSE(editor.modified());
    ASSERT_TRUE(editor.redo());
    EXPECT_EQ(image.channel(3, 1)[kFieldTag], "Y");
}

TEST_F(UndoEditorTest, ChangesMadeBesideTheHistoryAreStepsOfTheirOwn) {
    image.BankTag[0] = "OUTSIDE";
    editor.applyImageChange("Outer", [&](Image& i) {
        i.ActiveBank[0] = 1;
        // A window opened by the step makes a step of its own.
        editor.applyImageChange("Inner", [](Image& j) {
            j.ActiveBank[1] = 1;
            return true;
        });
        i.ActiveBank[2] = 1;
        return true;
    });
    std::vector<std::string> names;
    while (editor.history().canUndo()) {
        names.push_back(editor.history().undoName());
        editor.undo();
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Outer", "Inner", "Outer", "Other changes"}));
    EXPECT_EQ(image.BankTag[0], "");
}

}  // namespace
}  // namespace vex
