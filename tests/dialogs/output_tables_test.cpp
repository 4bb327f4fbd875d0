#include "dialogs/output_tables.h"

#include <gtest/gtest.h>

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
    testing::Values(TableCase{"english.ini", " OpenGL(Auto)", " Windows Waveout"},
                    TableCase{"german.ini", " OpenGL(Auto)", " Windows Waveout"},
                    TableCase{"", " OpenGL(Auto)", " Windows Waveout"},
                    TableCase{"Chinese.ini", " OpenGL(Auto)", " Windows Waveout"},
                    TableCase{"chinese.ini ", " OpenGL(Auto)", " Windows Waveout"},
                    TableCase{"chinese.ini", " OpenGL(自动检测)", " 原生 Windows Waveout 音频输出"},
                    TableCase{"big5chinese.ini", " OpenGL(自動檢測)",
                              " 原生 Windows Waveout 音頻輸出"},
                    TableCase{"russian.ini", " OpenGL(автоматическое обнаружение)",
                              " родной\xC2\xA0Windows Waveout Вывод звука"}));

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

TEST(OutputTables, RussianRowsCarryNoBreakSpacesWhereTheyBelong) {
  const OutputTables russian = OutputTablesFor("russian.ini");
  EXPECT_STREQ(russian.video[8].displayName, " OpenGL(nVIDIA Видеокарта\u00A0специальный)");
  EXPECT_STREQ(russian.video[11].displayName, " OpenGL(высокая\u00A0совместимость)");
  EXPECT_STREQ(russian.video[9].displayName, " OpenGL(ATIстарые видеокарты специальный)");
  EXPECT_STREQ(russian.sound[1].displayName, " DirectX DirectSound Вывод звука");
  int nbsp = 0;
  for (const OptionRow& row : russian.video) {
    nbsp += std::string(row.displayName).find("\u00A0") != std::string::npos ? 1 : 0;
  }
  EXPECT_EQ(nbsp, 2);
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
