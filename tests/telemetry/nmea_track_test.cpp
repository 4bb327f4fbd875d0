// GPS logs beside a clip: sentences checked and read into fixes, the GGA fix quality applied,
// files read in bounded blocks, junk under the name refused, and the sidecar found by its name.
#include "telemetry/nmea_track.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace korvane::test {
namespace {

std::string Rmc(const std::string& time, char status, const std::string& date = "311224",
                const std::string& lat = "3107.8200,N", const std::string& lon = "12128.1000,E",
                const std::string& knots = "54.0") {
  return FormatNmeaSentence("GPRMC," + time + "," + status + "," + lat + "," + lon + "," + knots +
                            ",87.5," + date + ",,,A");
}

std::string Gga(const std::string& time, int quality) {
  return FormatNmeaSentence("GNGGA," + time + ",3107.8200,N,12128.1000,E," +
                            std::to_string(quality) + ",08,1.0,12.0,M,0.0,M,,");
}

TEST(NmeaTrack, SentencesAreCheckedAndReadIntoFixesTimedFromTheFirst) {
  const std::string good = Rmc("235959.50", 'A');
  std::string broken = Rmc("235959.60", 'A');
  broken[8] = '1';  // a changed digit: the checksum no longer matches
  const std::string text =
      good + "\r\n" + broken + "\r\n" + Rmc("235959.70", 'A').substr(0, 30) + "\r\n" +  // truncated
      Rmc("235959.80", 'V', "311224", ",", ",", "") + "\r\n" +
      FormatNmeaSentence("GPGSV,3,1,11,01,,,") + "\n" +  // not ours: skipped, not counted
      Rmc("000000.00", 'A', "010125", "3107.8200,S", "00005.0000,W", "") + "\n" +
      "$GPRMC,no checksum\n";
  const NmeaTrack track = ParseNmeaText(text);
  EXPECT_EQ(track.badSentences, 3);
  ASSERT_EQ(track.fixes.size(), 3u);
  const NmeaFix& first = track.fixes[0];
  EXPECT_TRUE(first.valid);
  EXPECT_EQ(first.mediaMs, 0);
  EXPECT_EQ(first.cameraTime, 1735689599);  // 2024-12-31 23:59:59 UTC
  EXPECT_EQ(first.milliseconds, 500);
  EXPECT_NEAR(first.latitude, 31.0 + 7.82 / 60.0, 1e-9);
  EXPECT_NEAR(first.longitude, 121.0 + 28.1 / 60.0, 1e-9);
  EXPECT_NEAR(first.speedKmh, 54.0 * 1.852, 1e-3);

  EXPECT_FALSE(track.fixes[1].valid) << "status V";
  EXPECT_EQ(track.fixes[1].mediaMs, 300);

  const NmeaFix& midnight = track.fixes[2];  // across midnight and the year
  EXPECT_TRUE(midnight.valid);
  EXPECT_EQ(midnight.mediaMs, 500);
  EXPECT_NEAR(midnight.latitude, -(31.0 + 7.82 / 60.0), 1e-9);
  EXPECT_NEAR(midnight.longitude, -5.0 / 60.0, 1e-9);
  EXPECT_EQ(midnight.speedKmh, 0.0f) << "an empty speed reads as standing";
}

TEST(NmeaTrack, AGgaWithoutAFixMakesTheFixOfItsMomentInvalidWhicheverComesFirst) {
  const NmeaTrack track = ParseNmeaText(Gga("101500.00", 0) + "\n" + Rmc("101500.00", 'A') + "\n" +
                                        Rmc("101501.00", 'A') + "\n" + Gga("101501.00", 0) + "\n" +
                                        Gga("101502.00", 1) + "\n" + Rmc("101502.00", 'A') + "\n");
  ASSERT_EQ(track.fixes.size(), 3u);
  EXPECT_FALSE(track.fixes[0].valid);
  EXPECT_FALSE(track.fixes[1].valid);
  EXPECT_TRUE(track.fixes[2].valid);
  EXPECT_EQ(track.badSentences, 0);
}

TEST(NmeaTrack, OutOfRangeFieldsAreBadSentencesNotFixes) {
  for (const std::string& sentence :
       {Rmc("246000.00", 'A'), Rmc("101500.00", 'A', "321324"),
        Rmc("101500.00", 'A', "311224", "9107.8200,N"),
        Rmc("101500.00", 'A', "311224", "3107.8200,N", "18100.0000,E"),
        Rmc("101500.00", 'A', "311224", "3107.8200,X"), Rmc("1015", 'A')}) {
    const NmeaTrack track = ParseNmeaText(sentence);
    EXPECT_TRUE(track.fixes.empty()) << sentence;
    EXPECT_EQ(track.badSentences, 1) << sentence;
  }
}

class NmeaFile : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = dir.str() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  TempDir dir;
};

TEST_F(NmeaFile, IsReadInBoundedBlocksWithSentencesAcrossBlockEnds) {
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    char time[16];
    std::snprintf(time, sizeof time, "10%02d%02d.%d0", i / 600, i / 10 % 60, i % 10);
    text += Rmc(time, 'A') + "\r\n";
  }
  const std::string path = Write("drive.nmea", text);
  std::optional<NmeaTrack> whole = ReadNmeaFile(path);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->fixes.size(), 3000u);
  EXPECT_EQ(whole->badSentences, 0);
  EXPECT_FALSE(whole->truncated);
  EXPECT_EQ(whole->fixes.back().mediaMs, 299'900);

  std::optional<NmeaTrack> cut = ReadNmeaFile(path, 100'000);
  ASSERT_TRUE(cut);
  EXPECT_TRUE(cut->truncated);
  EXPECT_EQ(cut->fixes.size(), 100'000 / (Rmc("100000.00", 'A').size() + 2));
  EXPECT_EQ(cut->badSentences, 0) << "the sentence cut by the bound is not read";
}

TEST_F(NmeaFile, JunkEmptyMissingAndHugeFilesComeBackSafely) {
  std::string junk(200'000, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 7919 % 251);
  EXPECT_FALSE(ReadNmeaFile(Write("junk.nmea", junk)));
  EXPECT_FALSE(ReadNmeaFile(Write("empty.nmea", "")));
  EXPECT_FALSE(ReadNmeaFile(dir.str() + "missing.nmea"));
  EXPECT_FALSE(ReadNmeaFile(dir.str())) << "a folder";

  // A 2 GB log (sparse: no disk used) is read only up to the bound.
  const std::string huge = Write("huge.nmea", Rmc("101500.00", 'A') + "\n");
  ASSERT_EQ(truncate(huge.c_str(), std::int64_t{2} << 30), 0);
  const std::optional<NmeaTrack> read = ReadNmeaFile(huge, 8 << 20);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->truncated);
  EXPECT_EQ(read->fixes.size(), 1u);
}

TEST_F(NmeaFile, TheSidecarIsTheClipsBaseNameWithALogExtension) {
  const std::string clip = Write("2021 01 05 «trip».mp4", "clip");
  EXPECT_FALSE(FindNmeaSidecar(clip));
  std::filesystem::create_directory(dir.str() + "2021 01 05 «trip».gps");  // a folder is none
  EXPECT_FALSE(FindNmeaSidecar(clip));
  const std::string txt = Write("2021 01 05 «trip».txt", "");
  EXPECT_EQ(FindNmeaSidecar(clip), txt);
  const std::string nmea = Write("2021 01 05 «trip».nmea", "");
  EXPECT_EQ(FindNmeaSidecar(clip), nmea) << ".nmea is looked for first";
  EXPECT_EQ(FindNmeaSidecar(dir.str() + "2021 01 05 «trip»"), nmea) << "a clip without extension";
}

}  // namespace
}  // namespace korvane::test
