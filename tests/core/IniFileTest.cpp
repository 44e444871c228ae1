// The INI text format: how lines are read, matched, updated and written back.
#include <gtest/gtest.h>

#include <string>

#include "core/IniFile.h"

namespace {

struct TReadCase {
  std::string name;
  std::string text;
  std::string section;
  std::string key;
  std::string expected;  // read with the default "<default>"
};

class IniReadTest : public testing::TestWithParam<TReadCase> {};

TEST_P(IniReadTest, FindsTheValue) {
  const TReadCase& c = GetParam();
  EXPECT_EQ(TIniFile(c.text).ReadString(c.section, c.key, "<default>"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    testing::Values(
        TReadCase{"CrLf", "[S]\r\nA=1\r\nB=2\r\n", "S", "B", "2"},
        TReadCase{"LoneCr", "[S]\rA=1\rB=2", "S", "B", "2"},
        TReadCase{"LoneLf", "[S]\nA=1\nB=2\n", "S", "B", "2"},
        TReadCase{"CrCrIsAnEmptyLine", "[S]\r\rA=1", "S", "A", "1"},
        TReadCase{"TrimsControlCharacters", "\t [S] \x01\n\x1F A \t= 1 2 \t\n", "S", "A", "1 2"},
        TReadCase{"SectionNameTrimmed", "[  S  ]\nA=1", "s", "A", "1"},
        TReadCase{"IgnoresCase", "[gEnErAl]\nmain TOP=40", "General", "Main Top", "40"},
        TReadCase{"CommentSkipped", "[S]\n;A=1\n", "S", ";A", "<default>"},
        TReadCase{"LinesBeforeSectionSkipped", "A=1\n[S]\n", "S", "A", "<default>"},
        TReadCase{"LaterSectionWins", "[S]\nA=1\n[T]\n[s]\nA=2\n", "S", "A", "2"},
        TReadCase{"LaterSectionHidesEarlierKeys", "[S]\nA=1\n[S]\nB=2\n", "S", "A", "<default>"},
        TReadCase{"LaterKeyWins", "[S]\nA=1\na=2\n", "S", "A", "2"},
        TReadCase{"EmptyValueIsNotDefault", "[S]\nA=\n", "S", "A", ""},
        TReadCase{"ValueKeepsLaterEquals", "[S]\nA = b=c \n", "S", "A", "b=c"},
        TReadCase{"LineWithoutEqualsNeverMatches", "[S]\nA\n", "S", "A", "<default>"},
        TReadCase{"MissingSection", "[S]\nA=1\n", "T", "A", "<default>"},
        TReadCase{"BracketsWithTextAfterAreNoSection", "[S]\n[T] x\nA=1\n", "S", "A", "1"},
        TReadCase{"HighBytesAreNotTrimmed", "[S]\nA=\xA0x\xA0\n", "S", "A", "\xA0x\xA0"}),
    [](const auto& info) { return info.param.name; });

struct TIntegerCase {
  std::string value;
  int32_t expected;  // read with the default 77
};

class IniIntegerTest : public testing::TestWithParam<TIntegerCase> {};

TEST_P(IniIntegerTest, ConvertsOrDefaults) {
  TIniFile ini("[S]\nN=" + GetParam().value + "\n");
  EXPECT_EQ(ini.ReadInteger("S", "N", 77), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rule, IniIntegerTest,
                         testing::Values(TIntegerCase{"9600", 9600}, TIntegerCase{"0x2580", 9600},
                                         TIntegerCase{"0X2580", 9600}, TIntegerCase{"$2580", 9600},
                                         TIntegerCase{"-16777201", -16777201},
                                         TIntegerCase{"$FF00000F", -16777201}, TIntegerCase{"", 77},
                                         TIntegerCase{"0x", 77}, TIntegerCase{"abc", 77},
                                         TIntegerCase{"12abc", 77},
                                         TIntegerCase{"4294967296", 77}));

TEST(IniFile, BooleansAreIntegers) {
  TIniFile ini("[S]\nTwo=2\nZero=0\nYes=yes\nEmpty=\n");
  EXPECT_TRUE(ini.ReadBool("S", "Two", false));
  EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
  EXPECT_FALSE(ini.ReadBool("S", "Yes", false));
  EXPECT_TRUE(ini.ReadBool("S", "Yes", true));
  EXPECT_TRUE(ini.ReadBool("S", "Empty", true));
  EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST(IniFile, SaveNormalisesTheText) {
  const TIniFile ini(
      "; heading comment\r\nstray=1\r\n\r\n[ One ]\r\n  Key  =  Value  \r\n; note\r\n"
      "free text\r\n\r\n\r\n[Two]\nA=1\rB=\r\n[Empty]");
  EXPECT_EQ(ini.Text(),
            "[One]\r\nKey=Value\r\nfree text\r\n\r\n[Two]\r\nA=1\r\nB=\r\n\r\n[Empty]\r\n\r\n");
  EXPECT_EQ(TIniFile(ini.Text()).Text(), ini.Text());
}

TEST(IniFile, EightBitTextSurvivesByteForByte) {
  const std::string text = "[Caf\xE9]\r\nCaption=Gr\xFC\xDF \x80 \xFF\r\n\r\n";
  EXPECT_EQ(TIniFile(text).Text(), text);
}

TEST(IniFile, WritesReplaceAppendAndCreate) {
  TIniFile ini("[S]\nA=1\nB=2\na=3\n[T]\nX=1\n[S]\nC=4\n");
  ini.WriteString("s", "c", "5");      // in place, in the later "S"
  ini.WriteInteger("S", "D", -6);      // appended to the later "S"
  ini.WriteBool("New", "Flag", true);  // a new section at the end
  EXPECT_EQ(ini.Text(),
            "[S]\r\nA=1\r\nB=2\r\na=3\r\n\r\n[T]\r\nX=1\r\n\r\n[S]\r\nc=5\r\nD=-6\r\n\r\n"
            "[New]\r\nFlag=1\r\n\r\n");
}

TEST(IniFile, EraseRemovesEveryOccurrence) {
  TIniFile ini("[Keep]\nA=1\n[Gone]\nB=2\n[gone]\nC=3\n");
  ini.EraseSection("GONE");
  EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Keep"});
}

TEST(IniFile, ALineBreakInAValueCannotAddLines) {
  TIniFile ini;
  ini.WriteString("Button 1", "Data", "65\r\n[General]\nAllow Editing=1\r66");
  const TIniFile reread(ini.Text());
  EXPECT_EQ(reread.SectionNames(), std::vector<std::string>{"Button 1"});
  EXPECT_EQ(reread.ReadString("Button 1", "Data", ""), "65  [General] Allow Editing=1 66");
}

TEST(IniFile, SectionValuesInFileOrder) {
  const TIniFile ini("[Ports]\nCOM5=/dev/a\nnote\nCOM6 = /dev/b\n");
  const std::vector<std::pair<std::string, std::string>> expected{{"COM5", "/dev/a"},
                                                                  {"COM6", "/dev/b"}};
  EXPECT_EQ(ini.ReadSectionValues("ports"), expected);
  EXPECT_TRUE(ini.ReadSectionValues("Other").empty());
}

}  // namespace
