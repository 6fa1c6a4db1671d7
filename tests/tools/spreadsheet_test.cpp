#include "tools/spreadsheet.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

struct SheetCase {
    const char* name;
    std::string clipboard;
    std::string text;
    int rows, widest;
};

class ToolsSpreadsheet : public ::testing::TestWithParam<SheetCase> {};

TEST_P(ToolsSpreadsheet, IntoTheGridsForm) {
    const SpreadsheetText out = FromSpreadsheet(GetParam().clipboard);
    EXPECT_EQ(out.text, GetParam().text);
    EXPECT_EQ(out.rows, GetParam().rows);
    EXPECT_EQ(out.widest, GetParam().widest);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolsSpreadsheet,
    ::testing::Values(
        SheetCase{"OwnGrid", "0155.0000\tA\r0156.0000\tB", "0155.0000\tA\r0156.0000\tB", 2, 2},
        SheetCase{"CrLfWithTrailingEnd", "1\t2\r\n3\t4\t5\r\n", "1\t2\r3\t4\t5", 2, 3},
        SheetCase{"QuotedCells", "\"A \"\"B\"\"\"\t\"x\ty\nz\"\n", "A \"B\"\tx y z", 1, 2},
        SheetCase{"EmptyRowInTheMiddle", "a\n\nb\n\n\n", "a\r\rb", 3, 1},
        SheetCase{"UnclosedQuoteIsText", "\"abc\n", "\"abc", 1, 1},
        SheetCase{"Nothing", "\r\n", "", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolsSpreadsheetText, WhatDidNotFitIsSaid) {
    SpreadsheetText cells;
    cells.rows = 5;
    cells.widest = 3;
    EXPECT_EQ(PasteLeftOutMessage(cells, 5, 1), "");
    EXPECT_EQ(PasteLeftOutMessage(cells, 2, 4),
              "Part of the pasted text did not fit from this cell on and was left out: 3 rows "
              "and 1 column.");
    EXPECT_EQ(PasteLeftOutMessage(cells, 4, 1),
              "Part of the pasted text did not fit from this cell on and was left out: 1 row.");
}

}  // namespace
}  // namespace vex
