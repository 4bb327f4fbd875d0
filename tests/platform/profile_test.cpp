#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::ReadFileText;
using test::WriteFileText;

const std::string kSample =
    "; default settings\n"
    "[Other]\n"
    "Volume=99\n"
    "\n"
    "[MPlayer]\n"
    "  volume = 55  \n"
    "VO=\"directx:noaccel\"\n"
    "AO='dsound'\n"
    "Empty=\n"
    "garbage line\n"
    "=no key\n"
    "Volume=77\n"
    "\n"
    "[mplayer]\n"
    "Locale=China\n";

struct LookupCase {
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

class ProfileLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, FindsValuesAsTheProfileFunctionsDo) {
  const auto& c = GetParam();
  EXPECT_EQ(FindProfileValue(kSample, c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileLookup,
    ::testing::Values(LookupCase{"MPlayer", "Volume", "55"},  // case-insensitive, trimmed, first
                      LookupCase{"MPLAYER", "VOLUME", "55"},  // both names any case
                      LookupCase{"Other", "Volume", "99"},    // each section its own keys
                      LookupCase{"MPlayer", "VO", "directx:noaccel"},  // quotes stripped
                      LookupCase{"MPlayer", "AO", "dsound"},
                      LookupCase{"MPlayer", "Empty", ""},             // present but empty
                      LookupCase{"MPlayer", "Locale", std::nullopt},  // later duplicate section
                      LookupCase{"MPlayer", "garbage line", std::nullopt},
                      LookupCase{"MPlayer", "", std::nullopt},
                      LookupCase{"Missing", "VO", std::nullopt},
                      LookupCase{"default settings", "VO", std::nullopt}));

TEST(ProfileText, ReadsThroughByteOrderMarkAndCrLf) {
  const std::string text = "\xEF\xBB\xBF[Main_Interface]\r\nIDS_TITLE=行车记录仪\r\n";
  EXPECT_EQ(FindProfileValue(text, "Main_Interface", "IDS_TITLE"), "行车记录仪");
}

TEST(ProfileText, CutsToCharactersNotBytes) {
  EXPECT_EQ(CutToChars(std::string(300, 'a'), 254), std::string(254, 'a'));
  std::string cjk;
  for (int i = 0; i < 300; ++i) cjk += "图";
  EXPECT_EQ(CutToChars(cjk, 254).size(), 254u * 3);
  EXPECT_EQ(CutToChars("short", 254), "short");
  EXPECT_EQ(CutToChars("", 254), "");
}

struct IntCase {
  const char* value;
  int expected;
};
class LeadingIntegers : public ::testing::TestWithParam<IntCase> {};
TEST_P(LeadingIntegers, ReadLikeGetPrivateProfileInt) {
  EXPECT_EQ(LeadingInteger(GetParam().value), GetParam().expected) << GetParam().value;
}
INSTANTIATE_TEST_SUITE_P(Cases, LeadingIntegers,
                         ::testing::Values(IntCase{"40", 40}, IntCase{"abc", 0}, IntCase{"2", 2},
                                           IntCase{"-5", -5}, IntCase{"+7", 7},
                                           IntCase{"12abc", 12}, IntCase{" 3 ", 3},
                                           IntCase{"1.9", 1}, IntCase{"-", 0}, IntCase{"0x10", 0},
                                           IntCase{"4294967295", -1},
                                           IntCase{"99999999999", 1215752191}));

TEST(ProfileText, ReplacingAValueKeepsEveryOtherByte) {
  auto changed = SetProfileValue(kSample, "mplayer", "VOLUME", "10");
  ASSERT_TRUE(changed);
  std::string expected = kSample;
  expected.replace(expected.find("  volume = 55  "), 15, "volume=10");
  EXPECT_EQ(*changed, expected);
}

TEST(ProfileText, AddsAMissingKeyAfterTheSectionsLastEntry) {
  auto changed = SetProfileValue(kSample, "Other", "Map", "Yandex");
  ASSERT_TRUE(changed);
  std::string expected = kSample;
  expected.insert(expected.find("Volume=99\n") + 10, "Map=Yandex\n");
  EXPECT_EQ(*changed, expected);
}

TEST(ProfileText, AppendsAMissingSectionAndFollowsTheLineEndings) {
  EXPECT_EQ(SetProfileValue("", "MPlayer", "Volume", "40"), "[MPlayer]\nVolume=40\n");
  EXPECT_EQ(SetProfileValue("[A]\r\nx=1", "MPlayer", "AO", "dsound"),
            "[A]\r\nx=1\r\n[MPlayer]\r\nAO=dsound\r\n");
  EXPECT_EQ(SetProfileValue("[A]\nx=1", "A", "y", "2"), "[A]\nx=1\ny=2\n");
  EXPECT_EQ(SetProfileValue("[A]", "A", "y", "2"), "[A]\ny=2\n");
  EXPECT_EQ(SetProfileValue("\xEF\xBB\xBF[A]\n", "a", "y", "2"), "\xEF\xBB\xBF[A]\ny=2\n");
}

TEST(ProfileText, ValuesCannotInjectLinesAndBadNamesAreRefused) {
  EXPECT_EQ(SetProfileValue("", "S", "k", "a\n[Evil]\nx=1"), "[S]\nk=a\n");
  for (auto [section, key] : std::vector<std::pair<const char*, const char*>>{
           {"", "k"}, {"S", ""}, {"S]", "k"}, {"S\n", "k"}, {"S", "k=v"}, {"S", "k\r"}}) {
    EXPECT_FALSE(SetProfileValue("", section, key, "v")) << section << "/" << key;
  }
}

class ProfileFile : public ::testing::Test {
 protected:
  test::TempDir temp;
  std::string path = temp.str() + "Velmora 设置.ini";
};

TEST_F(ProfileFile, MissingFileGivesDefaults) {
  EXPECT_EQ(ReadProfileString(path, "MPlayer", "Language", "russian.ini"), "russian.ini");
  EXPECT_EQ(ReadProfileInt(path, "MPlayer", "Volume", 40), 40);
}

TEST_F(ProfileFile, ReadsCutsAndConvertsValues) {
  WriteFileText(path, "[MPlayer]\nLanguage=" + std::string(300, 'x') +
                          "\nVolume=abc\nSSPreview=2\n"
                          "DEVICE=\nCleanTip=-1\n");
  EXPECT_EQ(ReadProfileString(path, "MPlayer", "Language", ""), std::string(254, 'x'));
  EXPECT_EQ(ReadProfileInt(path, "MPlayer", "Volume", 40), 0);
  EXPECT_EQ(ReadProfileInt(path, "MPlayer", "SSPreview", 0), 2);
  EXPECT_EQ(ReadProfileInt(path, "MPlayer", "DEVICE", 3), 3) << "empty value gives the default";
  EXPECT_EQ(ReadProfileInt(path, "MPlayer", "CleanTip", 0), -1);
  EXPECT_EQ(ReadProfileString(path, "MPlayer", "DEVICE", "d"), "") << "present but empty";
}

TEST_F(ProfileFile, GarbageFileReadsAsDefaults) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  WriteFileText(path, garbage);
  EXPECT_EQ(ReadProfileString(path, "MPlayer", "VO", "directx:noaccel"), "directx:noaccel");
  EXPECT_EQ(ReadProfileInt(path, "MPlayer", "Volume", 40), 40);
}

TEST_F(ProfileFile, PathsThatAreNoFilesReadAsMissingWithoutWaiting) {
  const std::string fifo = temp.str() + "fifo.ini";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& odd : {fifo, std::string("/dev/zero"), temp.str()}) {
    EXPECT_EQ(ReadProfileString(odd, "MPlayer", "VO", "d"), "d") << odd;
    EXPECT_EQ(ReadProfileInt(odd, "MPlayer", "Volume", 40), 40) << odd;
  }
  EXPECT_FALSE(WriteProfileString(fifo, "MPlayer", "VO", "x11")) << "never replaced";
  struct stat st {};
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(ProfileFile, WriteCreatesTheFileThenEditsInPlace) {
  ASSERT_TRUE(WriteProfileString(path, "MPlayer", "VO", "x11"));
  EXPECT_EQ(ReadFileText(path), "[MPlayer]\nVO=x11\n");
  const std::string before = "# comment\r\n[MPlayer]\r\nvo=old\r\n\r\n[Z]\r\nq=1\r\n";
  WriteFileText(path, before);
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteProfileString(path, "MPlayer", "VO", "中文 值"));
  ASSERT_TRUE(WriteProfileString(path, "MPlayer", "Map", "Yandex"));
  EXPECT_EQ(ReadFileText(path),
            "# comment\r\n[MPlayer]\r\nvo=中文 值\r\nMap=Yandex\r\n\r\n[Z]\r\nq=1\r\n");
  EXPECT_EQ(ReadProfileString(path, "MPlayer", "VO", ""), "中文 值");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "permissions survive the replace";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1)
      << "no temporary file left behind";
}

TEST_F(ProfileFile, WriteThroughASymlinkKeepsTheLink) {
  const std::string real = temp.str() + "real.ini";
  WriteFileText(real, "[MPlayer]\nVolume=1\n");
  std::filesystem::create_symlink(real, path);
  ASSERT_TRUE(WriteProfileString(path, "MPlayer", "Volume", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(ReadFileText(real), "[MPlayer]\nVolume=2\n");
}

TEST_F(ProfileFile, FailedWritesReportFalseAndChangeNothing) {
  // A parent that is a regular file stops the write even for root.
  const std::string blocker = temp.str() + "blocker";
  WriteFileText(blocker, "x");
  EXPECT_FALSE(WriteProfileString(blocker + "/Velmora.ini", "MPlayer", "VO", "x11"));
  EXPECT_FALSE(WriteProfileString(temp.str() + "missing/Velmora.ini", "MPlayer", "VO", "x11"));
  EXPECT_FALSE(WriteProfileString(path, "MPlayer", "bad=key", "x"));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(ReadFileText(blocker), "x");
}

TEST_F(ProfileFile, ConcurrentWritesOfDifferentKeysAllLand) {
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < 20; ++i) {
        WriteProfileString(path, "MPlayer", "Key" + std::to_string(t), std::to_string(i));
      }
    });
  }
  for (auto& w : writers) w.join();
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(ReadProfileInt(path, "MPlayer", "Key" + std::to_string(t), -1), 19);
  }
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// Random INI-like texts built from the pieces that trip parsers up: a write must make its value
// readable and must not change what any other key reads.
TEST(ProfileTextProperties, WritesChangeOnlyTheirOwnKey) {
  const std::vector<std::string> pieces = {
      "[MPlayer]", "[mplayer]",    "[Other]", "[", "]",     "[Bad",    "Volume=1", "volume = 2",
      "VO=x11",    "=x",           ";c=3",    "k", " ",     "\t",      "\r",       "\n",
      "\r\n",      "\xEF\xBB\xBF", "Map",     "=", "\"q\"", "中文=值", "AO='a'"};
  const std::vector<std::pair<std::string, std::string>> probes = {
      {"MPlayer", "Volume"}, {"MPlayer", "VO"}, {"Other", "Volume"}, {"Other", "Map"},
      {"MPlayer", "Map"},    {"Bad", "k"},      {"mplayer", "AO"},   {"MPlayer", "中文"}};
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 24);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    const auto& [section, key] = probes[random() % probes.size()];
    const std::string value = "v" + std::to_string(round);

    const auto changed = SetProfileValue(text, section, key, value);
    ASSERT_TRUE(changed) << text;
    EXPECT_EQ(FindProfileValue(*changed, section, key), value) << text;
    for (const auto& [otherSection, otherKey] : probes) {
      const bool same =
          FindProfileValue("[" + section + "]\n" + key + "=1\n", otherSection, otherKey)
              .has_value();
      if (same) continue;
      EXPECT_EQ(FindProfileValue(*changed, otherSection, otherKey),
                FindProfileValue(text, otherSection, otherKey))
          << "[" << text << "] set " << section << "/" << key;
    }
    EXPECT_EQ(SetProfileValue(*changed, section, key, value), changed)
        << "writing again is a no-op";
  }
}

}  // namespace
}  // namespace korvane
