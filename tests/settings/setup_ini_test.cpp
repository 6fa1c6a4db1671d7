#include "settings/setup_ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/temp_folder.h"
#include "settings/ini.h"

namespace vex {
namespace {

// The defaults as they stand after a read (the forced values applied).
Options ReadDefaults() {
    Options o;
    o.smart = 0;
    o.infob = 0;
    return o;
}

TEST(SetupIni, MissingEmptyOrCorruptFileGivesDefaults) {
    test::TempFolder folder;
    EXPECT_EQ(ReadSetupIni(folder.path()), ReadDefaults());
    EXPECT_EQ(ParseSetupIni(""), ReadDefaults());
    EXPECT_EQ(ParseSetupIni(std::string("\x00\xff[setup\r\n==\r\n\x01", 12)), ReadDefaults());
    EXPECT_EQ(ParseSetupIni("[other]\r\ndelay1=500\r\n"), ReadDefaults());
}

TEST(SetupIni, ClampsAndForcedValues) {
    struct Case {
        std::string line;
        int Options::*member;
        int expected;
    };
    const std::vector<Case> cases = {
        {"delay1=5", &Options::delay1, 25},
        {"delay1=2000", &Options::delay1, 1000},
        {"delay2=99", &Options::delay2, 100},
        {"delay3=50", &Options::delay3, 200},
        {"delay3=1001", &Options::delay3, 1000},
        {"delay4=0", &Options::delay4, 50},
        {"backupdelay=500", &Options::backupdelay, 99},
        {"backupdelay=0", &Options::backupdelay, 1},
        {"align=5", &Options::align, 0},
        {"align=-1", &Options::align, 0},
        {"align=2", &Options::align, 2},
        {"9khz=1", &Options::khz9, 0},
        {"smart=1", &Options::smart, 0},
        {"infob=1", &Options::infob, 0},
        {"savenames=0", &Options::savenames, 0},
        {"savenames=abc", &Options::savenames, 0},
        {"remtrunk=0", &Options::remtrunk, 0},
        {"model=2", &Options::model, 2},
        {"confirm=5", &Options::confirm, 5},
        {"bandplan=-3", &Options::bandplan, -3},
        {"delay1=99999999", &Options::delay1, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSetupIni("[setup]\r\n" + c.line + "\r\n").*c.member, c.expected) << c.line;

    const Options o = ParseSetupIni(
        "[setup]\r\noption2=1\r\noption7=1\r\noption5=1\r\noption9=1\r\n"
        "findoptie1=1\r\n[cputune]\r\nval2=50\r\n");
    EXPECT_EQ(o.option[2], 0);
    EXPECT_EQ(o.option[7], 0);
    EXPECT_EQ(o.option5(), 1);
    EXPECT_EQ(o.option9(), 1);
    EXPECT_EQ(o.findoptie[1], 1);
    EXPECT_EQ(o.val2, 200);
    EXPECT_EQ(ParseSetupIni("[cputune]\r\nval2=1001\r\n").val2, 200);
    EXPECT_EQ(ParseSetupIni("[cputune]\r\nval2=100\r\n").val2, 100);
    // val2 belongs to its own section.
    EXPECT_EQ(ParseSetupIni("[setup]\r\nval2=300\r\n").val2, 200);
}

TEST(SetupIni, WriterOrderAndForms) {
    const std::string expected =
        "[setup]\r\nffont=1\r\nmodel=0\r\n9khz=0\r\nsmart=1\r\nround=1\r\nzero=0\r\nbandplan=1\r\n"
        "savenames=1\r\ncleartag=0\r\nwindow=0\r\ntoolbar=1\r\nhelpbar=1\r\nremtags=1\r\n"
        "copytags=0\r\nshiftdir=0\r\nconfirm=0\r\ndelid=1\r\nloadlast=0\r\ntabwidth=0\r\n"
        "linkbank=0\r\noption1=0\r\noption2=0\r\noption3=0\r\noption4=0\r\noption5=0\r\n"
        "option6=0\r\noption7=0\r\noption8=0\r\noption9=0\r\noption10=0\r\noption11=1\r\n"
        "option12=1\r\nvcstat=0\r\nalign=0\r\nexpert=0\r\ndelay1=100\r\ndelay2=200\r\n"
        "delay3=400\r\ndelay4=100\r\nbackupdelay=30\r\nbackena=1\r\nfindoptie0=0\r\n"
        "findoptie1=0\r\nfindoptie2=0\r\nqview=1\r\nvstart=0\r\nvpos=0\r\ninfob=1\r\nvcm=0\r\n"
        "[cputune]\r\nval2=200\r\nval3=\r\n";
    EXPECT_EQ(SerializeSetupIni(Options{}), expected);

    Options o;
    o.savenames = 7;  // a flag that is not 1 is written as 0
    o.model = 5;      // written only when 0, 1 or 2
    o.align = 3;
    o.bandplan = -3;  // negative values are written as 0
    o.confirm = 5;    // options without effect keep their value
    o.option[1] = 9;
    o.option[4] = 2;
    const std::string text = SerializeSetupIni(o);
    EXPECT_NE(text.find("\r\nsavenames=0\r\n"), std::string::npos);
    EXPECT_EQ(text.find("model="), std::string::npos);
    EXPECT_EQ(text.find("align="), std::string::npos);
    EXPECT_NE(text.find("\r\nbandplan=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nconfirm=5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\noption1=9\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\noption4=0\r\n"), std::string::npos);
    EXPECT_EQ(text.find("remtrunk"), std::string::npos);
}

TEST(IniReader, ProfileReaderConventions) {
    const IniData ini = IniData::parse(
        "; comment\r\nloose=1\r\n[ Com ]\r\n  PORT =  3 \r\nport=4\r\nquoted=\" spaced \"\r\n"
        "long=" +
        std::string(300, 'x') + "\r\nnoequals\r\n[empty]\r\nkey=\r\n");
    EXPECT_EQ(ini.get("com", "port", "1"), "3");
    EXPECT_EQ(ini.get("COM", "Port"), "3");
    EXPECT_EQ(ini.get("com", "quoted"), " spaced ");
    EXPECT_EQ(ini.get("com", "long").size(), 255u);
    EXPECT_EQ(ini.get("com", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.get("empty", "key", "dflt"), "");
    EXPECT_TRUE(ini.has("empty", "key"));
    EXPECT_FALSE(ini.has("com", "noequals"));
    EXPECT_EQ(ini.get("com", "loose", "none"), "none");

    test::TempFolder folder;
    EXPECT_EQ(GetIniValue(folder / "none.ini", "com", "port", "1"), "1");
}

}  // namespace
}  // namespace vex
