#include "dialogs/output_tables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace korvane {
namespace {

struct TableCase {
  const char* languageFile;
  const char* video5;  // a row whose name differs in every language
  const char* sound0;
};

class OutputTablesByLanguage : public testing::TestWithParam<TableCase> {};

TEST_P(OutputTablesByLanguage, PicksTheTablesOfTheLanguageFile) {
  const OutputTables tables = OutputTablesFor(GetParam().languageFile);
  ASSERT_EQ(tables.video.size(), 12u);
  ASSERT_EQ(tables.sound.size(), 2u);
  EXPECT_STREQ(tables.video[5].displayName, GetParam().video5);
  EXPECT_STREQ(tables.sound[0].displayName, GetParam().sound0);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, OutputTablesByLanguage,
    testing::Values(TableCase{"english.ini", " OpenGL — PBO, automatic", " ALSA"},
                    TableCase{"german.ini", " OpenGL — PBO, automatic", " ALSA"},
                    TableCase{"", " OpenGL — PBO, automatic", " ALSA"},
                    TableCase{"Chinese.ini", " OpenGL — PBO, automatic", " ALSA"},
                    TableCase{"chinese.ini ", " OpenGL — PBO, automatic", " ALSA"},
                    TableCase{"chinese.ini", " OpenGL — PBO，自动检测", " ALSA 音频输出"},
                    TableCase{"big5chinese.ini", " OpenGL — PBO，自動檢測", " ALSA 音訊輸出"},
                    TableCase{"russian.ini", " OpenGL — PBO, автоматически", " ALSA"}));

TEST(OutputTables, EveryLanguageSharesTheValuesInTheSameOrder) {
  const OutputTables english = OutputTablesFor("english.ini");
  for (const char* file : {"chinese.ini", "big5chinese.ini", "russian.ini"}) {
    const OutputTables other = OutputTablesFor(file);
    for (std::size_t i = 0; i < english.video.size(); ++i) {
      EXPECT_STREQ(other.video[i].value, english.video[i].value) << file << " row " << i;
      EXPECT_EQ(other.video[i].displayName[0], ' ') << file << " row " << i;
    }
    for (std::size_t i = 0; i < english.sound.size(); ++i) {
      EXPECT_STREQ(other.sound[i].value, english.sound[i].value) << file << " row " << i;
    }
  }
  EXPECT_STREQ(english.sound[0].value, "win32");
  EXPECT_STREQ(english.sound[1].value, "dsound");
}

// Every row keeps a name of its own, and none names an output this system does not have.
TEST(OutputTables, RowsHaveDistinctNamesOfOutputsThatExistHere) {
  for (const char* file : {"english.ini", "chinese.ini", "big5chinese.ini", "russian.ini"}) {
    const OutputTables tables = OutputTablesFor(file);
    for (OptionTable table : {tables.video, tables.sound}) {
      std::set<std::string> names;
      for (const OptionRow& row : table) {
        const std::string name = row.displayName;
        EXPECT_TRUE(names.insert(name).second) << file << ": " << name;
        for (const char* windowsOnly : {"Direct", "Win", "Waveout"}) {
          EXPECT_EQ(name.find(windowsOnly), std::string::npos) << file << ": " << name;
        }
      }
    }
    EXPECT_EQ(std::string(tables.video[3].displayName).rfind(" X11", 0), 0u) << file;
    EXPECT_NE(std::string(tables.sound[0].displayName).find("ALSA"), std::string::npos) << file;
  }
}

TEST(OutputTables, SelectionByValueTakesTheFirstMatchingRow) {
  const OptionTable video = OutputTablesFor("english.ini").video;
  EXPECT_EQ(FindRowByValue(video, "gl:yuv=0:force-pbo"), 0);
  EXPECT_EQ(FindRowByValue(video, "directx:noaccel"), 3);
  EXPECT_EQ(FindRowByValue(video, "gl:yuv=6:force-pbo"), 10);
  EXPECT_EQ(FindRowByValue(video, "GL:YUV=6:FORCE-PBO"), -1);
  EXPECT_EQ(FindRowByValue(video, ""), -1);
  EXPECT_EQ(FindRowByValue({}, "dsound"), -1);
}

}  // namespace
}  // namespace korvane
