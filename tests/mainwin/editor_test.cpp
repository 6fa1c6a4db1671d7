#include "mainwin/editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/memfile.h"
#include "core/temp_folder.h"
#include "mainwin_helpers.h"

namespace vex {
namespace {

using testing::EmptyImage;
using testing::Put;
using testing::Tags;
using Strings = std::vector<std::string>;

using test::ReadText;

// Answers questions from a list and records what was asked.
struct ScriptedAsker {
    explicit ScriptedAsker(std::vector<bool> a) : answers(std::move(a)) {}
    std::vector<bool> answers;
    std::vector<Question> asked;
    Asker asker() {
        return [this](const Question& q) {
            asked.push_back(q);
            const bool yes = asked.size() <= answers.size() && answers[asked.size() - 1];
            return yes;
        };
    }
};

class MainwinEditorTest : public ::testing::Test {
  protected:
    MainwinEditorTest() : image(EmptyImage()), editor(image, options, defaults) {}
    void Type(int row, int field, const std::string& text) {
        editor.enterText(Selection::cell(row, field), text);
    }
    Options options;
    DefaultData defaults;
    Image image;
    TableEditor editor;
};

TEST_F(MainwinEditorTest, ToggleOnlyOnFlagCells) {
    EXPECT_TRUE(editor.toggleFlag(1, kGridTrunk));
    EXPECT_EQ(editor.grid().cell(1, kGridTrunk), "On");
    EXPECT_FALSE(editor.toggleFlag(1, kGridFrequency));
}

TEST_F(MainwinEditorTest, ARefusedQuestionChangesNothingAndKeepsTheUndoSnapshot) {
    Put(image, 0, 1, "0151.0000", "A");
    Put(image, 0, 50, "0159.0000", "LAST");
    editor.show();
    ASSERT_TRUE(editor.centerMemoryTags().changed);  // snapshot: the tags before centring
    const Image afterCommand = image;
    ScriptedAsker no({false});
    const CommandResult result = editor.insertEmptyLine(Selection::cell(1, 1), no.asker());
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.changed);
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(no.asked[0].text, "Channel 50 contains data.\nThis data will be lost.\nContinue?");
    EXPECT_EQ(image, afterCommand);
    ASSERT_TRUE(editor.undo());
    EXPECT_EQ(image.channel(0, 1)[kFieldTag], "A");  // undo still reaches the earlier state
}

TEST_F(MainwinEditorTest, CommandsWithoutAnAskerNeverPassTheirQuestion) {
    Put(image, 0, 1, "0151.0000", "A");
    editor.show();
    EXPECT_TRUE(editor.clearSelectedLines(Selection::rows(1, 1), {}).cancelled);
    EXPECT_FALSE(IsEmptyChannel(image, 0, 1));
    options.expert = 1;  // no question: runs
    EXPECT_TRUE(editor.clearSelectedLines(Selection::rows(1, 1), {}).changed);
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
}

TEST_F(MainwinEditorTest, ClearCurrentBankKeepsTheModifiedFlagOfOtherEdits) {
    ASSERT_TRUE(editor.selectBank(1));
    Type(1, kGridFrequency, "460");  // unsaved edit in bank 2
    ASSERT_TRUE(editor.selectBank(0));
    Type(1, kGridFrequency, "155");
    ScriptedAsker yes({true, true});
    ASSERT_TRUE(editor.clearCurrentBank(yes.asker()).changed);
    ASSERT_EQ(yes.asked.size(), 1u);
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
    EXPECT_TRUE(editor.modified());  // bank 2's edit must still be asked about at exit

    editor.setModified(false);
    ASSERT_FALSE(editor.clearCurrentBank(yes.asker()).cancelled);
    EXPECT_FALSE(editor.modified());  // clearing a saved image does not make it unsaved
}

TEST_F(MainwinEditorTest, CutAndPasteLinesKeepWholeChannelsWithComments) {
    Put(image, 0, 1, "0151.0000", "A", "1", "0", "1", "first comment");
    Put(image, 0, 2, "0152.0000", "B", "0", "1", "0", "second comment");
    editor.show();
    const CommandResult cut = editor.cutLines(Selection::rows(1, 2));
    EXPECT_EQ(cut.clipboard, "0151.0000\tA\tOn\tOff\tOn\r0152.0000\tB\tOff\tOn\tOff");
    EXPECT_TRUE(IsEmptyChannel(image, 0, 1));
    ASSERT_TRUE(editor.selectBank(2));
    ASSERT_TRUE(editor.pasteLines(Selection::cell(10, 3), cut.clipboard).changed);
    EXPECT_EQ(image.channel(2, 10)[kFieldComment], "first comment");
    EXPECT_EQ(image.channel(2, 11)[kFieldComment], "second comment");
    EXPECT_EQ(image.channel(2, 11)[kFieldNumber], "111");
    EXPECT_EQ(editor.grid().cell(11, kGridDelay), "On");
    EXPECT_TRUE(editor.modified());
}

TEST_F(MainwinEditorTest, CopyAndPasteCellsAtTheSelection) {
    Put(image, 0, 1, "0151.0000", "A");
    Put(image, 0, 2, "0152.0000", "B");
    editor.show();
    const CommandResult copy = editor.copyCells({1, 2, 2, 2, 1, 2});
    EXPECT_EQ(copy.clipboard, "A\rB");
    const CommandResult cut = editor.cutCells({1, 1, 2, 2, 1, 2});
    EXPECT_EQ(cut.clipboard, "A");
    EXPECT_EQ(image.channel(0, 1)[kFieldTag], "");
}

// A value pasted from a spreadsheet lands as the same value typed into that cell would.
TEST_F(MainwinEditorTest, PastedCellsTakeTheTypingRules) {
    const struct {
        int field;
        const char* text;
    } cases[] = {{kGridFrequency, "162.55999"},
                 {kGridFrequency, "600"},
                 {kGridFrequency, "162,55"},
                 {kGridFrequency, "20"},
                 {kGridTag, "A TAG LONGER THAN SIXTEEN"},
                 {kGridDelay, "on"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Type(1, c.field, c.text);
        editor.pasteCells(Selection::cell(2, c.field), c.text);
        EXPECT_EQ(editor.grid().cell(2, c.field), editor.grid().cell(1, c.field));
        Channel pasted = image.channel(0, 2);
        pasted[kFieldNumber] = image.channel(0, 1)[kFieldNumber];
        EXPECT_EQ(pasted, image.channel(0, 1));
    }
}

TEST_F(MainwinEditorTest, SortAsksForEdacsAndNoCancels) {
    image.TrunkType[0] = "6";
    Put(image, 0, 1, "0860.0000", "B", "1");
    Put(image, 0, 2, "0851.0000", "A", "1");
    editor.show();
    ScriptedAsker no({false});
    EXPECT_TRUE(editor.sort(Selection::cell(1, 1), SortOrder::Ascending, no.asker()).cancelled);
    EXPECT_EQ(Tags(image, 0, 2), (Strings{"B", "A"}));
    ScriptedAsker yes({true});
    EXPECT_TRUE(editor.sort(Selection::cell(1, 1), SortOrder::Ascending, yes.asker()).changed);
    EXPECT_EQ(Tags(image, 0, 2), (Strings{"A", "B"}));
}

TEST_F(MainwinEditorTest, FillSeriesReportsWhyItDidNothing) {
    Type(1, kGridTag, "NOTAG");
    EXPECT_EQ(editor.fillSeries({1, 3, 2, 2, 1, 2}).message, kFillSeriesNeedsNumber);
    EXPECT_EQ(editor.fillSeries({1, 3, 1, 2, 1, 2}).message, kFillSeriesNeedsTagColumn);
    Type(1, kGridTag, "CAR9");
    const CommandResult filled = editor.fillSeries({1, 3, 2, 2, 1, 2});
    EXPECT_TRUE(filled.changed);
    EXPECT_EQ(image.channel(0, 3)[kFieldTag], "CAR11");
}

TEST_F(MainwinEditorTest, DuplicateReportGoesToDuplTxtAndIsReplacedEachTime) {
    test::TempFolder folder;
    Type(1, kGridFrequency, "155");
    Type(2, kGridFrequency, "155");
    const CommandResult found =
        editor.findDuplicateChannels(DuplicateScope::CurrentBank, folder.path());
    EXPECT_EQ(found.message, "Duplicate Channel Found: 1 and 2 / Frequency: 0155.0000");
    EXPECT_EQ(ReadText(folder / "dupl.txt"),
              "Duplicate Channel Found: 1 and 2 / Frequency: 0155.0000\r\n");
    ASSERT_TRUE(editor.removeDuplicateChannels().changed);
    EXPECT_EQ(editor.findDuplicateChannels(DuplicateScope::AllBanks, folder.path()).message,
              "No duplicate channels found.");
    EXPECT_EQ(ReadText(folder / "dupl.txt"), "");
}

TEST_F(MainwinEditorTest, EmptyStatusStoresTheGridFirstAndListsTheDummyWhenEmpty) {
    Type(1, kGridFrequency, "155");
    EXPECT_EQ(editor.bankEmptyStatus().message,
              "\nBank Empty Status:\nBank 2: Empty\nBank 3: Empty\nBank 4: Empty\nBank 5: "
              "Empty\nBank Dummy: Empty");
    ASSERT_TRUE(editor.selectBank(kDummyBank));
    Type(9, kGridFrequency, "155");
    EXPECT_EQ(editor.bankEmptyStatus().message,
              "\nBank Empty Status:\nBank 2: Empty\nBank 3: Empty\nBank 4: Empty\nBank 5: Empty");
}

TEST(MainwinBackupName, ReplacesSeparatorsOfTheSystemFormats) {
    EXPECT_EQ(BackupFileName("12/4/2026", "5:05 PM"), "12_4_2026_5_05 PM membackup.mem");
    EXPECT_EQ(BackupFileName("2026\\12\\04", "17.05"), "2026_12_04_17.05 membackup.mem");
}

TEST(MainwinBackupCounter, FiresEveryBackupdelayActiveMinutesAndAtOnceWhenLowered) {
    Options options;
    options.backupdelay = 3;
    BackupCounter counter;
    std::vector<bool> fired;
    for (int minute = 0; minute < 7; ++minute) fired.push_back(counter.tick(options, false, false));
    EXPECT_EQ(fired, (std::vector<bool>{false, false, true, false, false, true, false}));
    options.backupdelay = 30;
    for (int minute = 0; minute < 9; ++minute) counter.tick(options, false, false);
    options.backupdelay = 5;
    EXPECT_TRUE(counter.tick(options, false, false));
    EXPECT_EQ(counter.count(), 0);
}

// A read replaces the image while the grid still shows the old bank (the read window stays
// open after a single step); the backup falls due then.
TEST_F(MainwinEditorTest, BackupNeverStoresAStaleGridOverAnImageChangedBehindIt) {
    test::TempFolder folder;
    options.backupdelay = 1;
    Put(image, 0, 1, "0150.0000", "OLD ONE");
    Put(image, 0, 2, "0150.0125", "OLD TWO");
    editor.show();
    Image read = EmptyImage();
    Put(read, 0, 1, "0460.0000", "READ ONE");
    Put(read, 0, 3, "0460.0250", "READ THREE");
    image = read;

    const auto outcome = editor.backupTick(folder.path(), "04-12-2026", "17:06:33", false, false);
    ASSERT_TRUE(outcome && outcome->written);
    Image backup;
    ASSERT_TRUE(ReadMemFile(backup, outcome->path, options));
    for (const Image* seen : {&image, &backup}) {
        EXPECT_EQ(Tags(*seen, 0, 3), (Strings{"READ ONE", "", "READ THREE"}));
        EXPECT_TRUE(IsEmptyChannel(*seen, 0, 2));
    }
    // The grid now shows what was read.
    EXPECT_EQ(editor.grid().cell(1, kGridFrequency), "0460.0000");
    EXPECT_EQ(editor.grid().cell(2, kGridFrequency), "");
}

TEST_F(MainwinEditorTest, RowsEditedInTheGridSurviveAChangeBehindIt) {
    Put(image, 0, 1, "0150.0000", "OLD ONE");
    editor.show();
    Type(2, kGridTag, "TYPED");
    image.channel(0, 1)[kFieldTag] = "CHANGED ELSEWHERE";
    ASSERT_TRUE(editor.store());
    EXPECT_EQ(Tags(image, 0, 2), (Strings{"CHANGED ELSEWHERE", "TYPED"}));
    EXPECT_EQ(editor.grid().cell(1, kGridTag), "CHANGED ELSEWHERE");
}

TEST(MainwinBackup, AFailedWriteIsReportedAndLeavesTheEarlierBackup) {
    test::TempFolder folder;
    // A plain file where the backup folder should be: the folder cannot be made.
    ASSERT_TRUE(WriteFileAtomically(folder / "backup", "in the way"));
    const BackupOutcome outcome =
        WriteBackup(EmptyImage(), Options{}, folder.path(), "x membackup.mem");
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.error.empty());
    EXPECT_EQ(ReadText(folder / "backup"), "in the way");
}

}  // namespace
}  // namespace vex
