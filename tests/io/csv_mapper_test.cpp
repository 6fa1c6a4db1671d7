#include "io/csv_mapper.h"

#include <gtest/gtest.h>

namespace vex {
namespace {

struct TypeCase {
    const char* header;
    const char* type;
};

class MapperGuess : public ::testing::TestWithParam<TypeCase> {};

TEST_P(MapperGuess, MapsTheHeader) {
    EXPECT_EQ(kMapperColumnTypes[GuessColumnType(GetParam().header)], GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Mapper, MapperGuess,
                         ::testing::Values(TypeCase{"Frequency", "Frequency (MHz)"},
                                           TypeCase{"Output (MHz)", "Frequency (MHz)"},
                                           TypeCase{"Tag", "Unknown"}, TypeCase{"Delay", "Unknown"},
                                           TypeCase{"tgid", "Trunk ID"},
                                           TypeCase{"DPL code", "DCS"},
                                           TypeCase{"PL Tone", "CTCSS"}, TypeCase{"Mode", "Mode"},
                                           TypeCase{"ATT", "Attenuator On/Off"},
                                           TypeCase{"TS", "Step"}, TypeCase{"SKIP", "LockOut"},
                                           TypeCase{"frequency", "Unknown"}));

struct LineCase {
    const char* in;
    const char* out;
};

class MapperLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(MapperLine, Normalises) {
    EXPECT_EQ(NormaliseMapperLine(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Mapper, MapperLine,
                         ::testing::Values(LineCase{"162.55,fm,OFF", "162.55,FM,Off"},
                                           LineCase{"1,am,fm,wfm,x", "1,AM,FM,WFM,x"},
                                           LineCase{"1,ON", "1,On"},
                                           LineCase{"1,ON,OFF,2", "1,On,Off,2"},
                                           LineCase{"1,ONE,OFFICE,ONTARIO", "1,ONE,OFFICE,ONTARIO"},
                                           LineCase{"1,fmx,am", "1,fmx,am"}));

TEST(MapperOpen, GridShape) {
    const MapperOpenResult open =
        OpenMapperText("Frequency,Mode,Tag\r\n162.55,fm,Off\r\n\r\n1,\"A,B\",3,4\r\n x\t\x01\xe9y");
    const MapperGrid& g = open.grid;
    EXPECT_FALSE(open.tooLarge);
    ASSERT_EQ(g.rowCount(), 5);  // CR LF is one line end
    EXPECT_EQ(g.columns, 4);
    EXPECT_EQ(g.rows[1], (std::vector<std::string>{"162.55", "FM", "Off", ""}));
    EXPECT_EQ(g.rows[3], (std::vector<std::string>{"1", "A;B", "3", "4"}));
    EXPECT_EQ(g.rows[4], (std::vector<std::string>{" x y", "", "", ""}));
    EXPECT_EQ(g.types, (std::vector<int>{1, 9, 0, 0}));
}

TEST(MapperOpen, LineLimit) {
    std::string text;
    for (int i = 0; i < kMapperMaxLines; ++i) text += "1,2\r\n";
    EXPECT_FALSE(OpenMapperText(text).tooLarge);
    EXPECT_EQ(OpenMapperText(text).grid.rowCount(), kMapperMaxLines);
    const MapperOpenResult big = OpenMapperText(text + "3,4\r\n");
    EXPECT_TRUE(big.tooLarge);
    EXPECT_EQ(big.grid.rowCount(), kMapperMaxLines);
}

TEST(MapperEdit, FiltersAndSave) {
    MapperGrid g = OpenMapperText("Freq,Name\n,\n \nabc,def\n162.5,fire dept\n").grid;
    EXPECT_EQ(RemoveEmptyLines(g), 1);  // " " is not empty
    EXPECT_EQ(g.rowCount(), 4);
    EXPECT_EQ(RemoveLinesWithoutNumbers(g), 2);  // the header stays
    EXPECT_EQ(g.rowCount(), 2);
    EXPECT_EQ(ApplyCellFilter(g, {1, 1, 1, 1}, CellFilter::Upper), 1);
    EXPECT_EQ(ApplyCellFilter(g, {0, 1, 0, 1}, CellFilter::Replace, "e", "E"), 2);
    EXPECT_EQ(ApplyCellFilter(g, {1, 1, 1, 1}, CellFilter::Remove, " "), 1);
    AddColumn(g);
    FillDown(g, {0, 1, 0, 0});
    EXPECT_EQ(SaveMapperText(g),
              "TrunkNetscoop,data,Marlo,The Netherlands\r\nFrEq,NamE,,\r\nFrEq,FIREDEPT,,\r\n");
    EXPECT_EQ(RemoveLines(g, 1, 9), 1);
    EXPECT_EQ(WithMapperSuffix("/a.b/list"), "/a.b/list.csv");
    EXPECT_EQ(WithMapperSuffix("list.txt"), "list.txt");
}

}  // namespace
}  // namespace vex
