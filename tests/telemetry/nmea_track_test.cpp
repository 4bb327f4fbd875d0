// GPS logs beside a clip: sentences read into one fix per moment (RMC and GGA joined, GGA dated
// by the RMC before it or by the clip, G-sensor lines on the moment before them), in time order;
// files read in bounded blocks, junk under the name refused, and the sidecar found by its name.
#include "telemetry/nmea_track.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
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

std::string Gga(const std::string& time, int quality, const std::string& altitude = "12.0") {
  return FormatNmeaSentence("GNGGA," + time + ",3107.8200,N,12128.1000,E," +
                            std::to_string(quality) + ",08,1.0," + altitude + ",M,0.0,M,,");
}

std::int64_t UtcMs(const NmeaFix& fix) {
  return fix.cameraTime * 1000 + fix.milliseconds;
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

TEST(NmeaTrack, RmcAndGgaOfAMomentMakeOneFixAndAGgaIsDatedByTheRmcBeforeIt) {
  const NmeaTrack track = ParseNmeaText(
      Gga("235958.10", 1, "5.0") + "\n" +  // before any RMC: no date
      Rmc("235959.25", 'A') + "\n" + Gga("235959.25", 1, "7.5") + "\n" + "$GSENSOR,10,-20,980\n" +
      Gga("000000.25", 1, "8.0") + "\n" +  // past midnight: the next day
      "$GSENSORD,0.5,0.1,1.0\n" + "$GSENSORD,-1.5,0.2,0.9\n" + "$GSENSORD,0.1,0.1,1.0\n");
  ASSERT_EQ(track.fixes.size(), 2u);
  EXPECT_EQ(track.undated, 1);
  const NmeaFix& a = track.fixes[0];
  EXPECT_EQ(UtcMs(a), 1735689599250);  // 2024-12-31 23:59:59.250
  EXPECT_TRUE(a.valid);
  EXPECT_FLOAT_EQ(a.altitudeM, 7.5f);
  EXPECT_FLOAT_EQ(a.headingDeg, 87.5f);
  EXPECT_NEAR(a.speedKmh, 54.0 * 1.852, 1e-3);
  ASSERT_TRUE(a.hasG);
  EXPECT_FLOAT_EQ(a.gX, 0.010f);
  EXPECT_FLOAT_EQ(a.gY, -0.020f);
  EXPECT_FLOAT_EQ(a.gZ, 0.980f);
  const NmeaFix& b = track.fixes[1];  // a GGA after the last RMC is kept
  EXPECT_EQ(UtcMs(b), 1735689600250);
  EXPECT_EQ(b.mediaMs, 1000);
  EXPECT_TRUE(b.valid);
  EXPECT_FLOAT_EQ(b.altitudeM, 8.0f);
  EXPECT_TRUE(std::isnan(b.headingDeg));
  EXPECT_FLOAT_EQ(b.gX, -1.5f) << "the strongest of the moment's readings";
  EXPECT_TRUE(track.gValues);
}

TEST(NmeaTrack, ALogWithoutRmcIsDatedByTheClipAndWithoutAClipGivesNothing) {
  const std::string log = Gga("235959.50", 1) + "\n" + Gga("000000.50", 1) + "\n";
  // The clip starts a few seconds before midnight of 2024-12-31, or just after it (its camera's
  // clock running early): the first fix is dated the day that puts it nearest.
  for (const std::int64_t clipStart : {1735689590000, 1735689605000}) {
    const NmeaTrack track = ParseNmeaText(log, clipStart);
    ASSERT_EQ(track.fixes.size(), 2u);
    EXPECT_EQ(UtcMs(track.fixes[0]), 1735689599500);
    EXPECT_EQ(UtcMs(track.fixes[1]), 1735689600500);
  }
  const NmeaTrack undated = ParseNmeaText(log);
  EXPECT_TRUE(undated.fixes.empty());
  EXPECT_EQ(undated.undated, 2);
}

TEST(NmeaTrack, TimesThatGoBackComeOutInTimeOrderOncePerMoment) {
  const NmeaTrack track =
      ParseNmeaText("$GSENSOR,0,0,1000\n" + Rmc("101502.00", 'A') + "\n" + Rmc("101500.00", 'A') +
                    "\n" + Rmc("101501.00", 'A') + "\n" +
                    Rmc("101502.00", 'A', "311224", "3107.8200,S") + "\n");  // the moment again
  EXPECT_EQ(track.gWithoutFix, 1);
  EXPECT_FALSE(track.gValues);
  ASSERT_EQ(track.fixes.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(track.fixes[i].mediaMs, i * 1000);
  EXPECT_GT(track.fixes[2].latitude, 0.0) << "the moment as first written";
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

  std::optional<NmeaTrack> cut = ReadNmeaFile(path, std::nullopt, 100'000);
  ASSERT_TRUE(cut);
  EXPECT_TRUE(cut->truncated);
  EXPECT_EQ(cut->fixes.size(), 100'000 / (Rmc("100000.00", 'A').size() + 2));
  EXPECT_EQ(cut->badSentences, 0) << "the sentence cut by the bound is not read";
}

TEST_F(NmeaFile, JunkEmptyMissingAndHugeFilesComeBackSafely) {
  // NUL bytes, a line of 1 MB and junk between good sentences.
  const std::string mixed = Rmc("101500.00", 'A') + "\n" + std::string(1 << 20, '$') + "\n" +
                            std::string(300, '\0') + "\n" + Rmc("101501.00", 'A') + "\r\n";
  const std::optional<NmeaTrack> around = ReadNmeaFile(Write("mixed.nmea", mixed));
  ASSERT_TRUE(around);
  EXPECT_EQ(around->fixes.size(), 2u);

  std::string junk(200'000, '\0');
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 7919 % 251);
  EXPECT_FALSE(ReadNmeaFile(Write("junk.nmea", junk)));
  EXPECT_FALSE(ReadNmeaFile(Write("empty.nmea", "")));
  EXPECT_FALSE(ReadNmeaFile(dir.str() + "missing.nmea"));
  EXPECT_FALSE(ReadNmeaFile(dir.str())) << "a folder";

  // A 2 GB log (sparse: no disk used) is read only up to the bound.
  const std::string huge = Write("huge.nmea", Rmc("101500.00", 'A') + "\n");
  ASSERT_EQ(truncate(huge.c_str(), std::int64_t{2} << 30), 0);
  const std::optional<NmeaTrack> read = ReadNmeaFile(huge, std::nullopt, 8 << 20);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->truncated);
  EXPECT_EQ(read->fixes.size(), 1u);

  // Over the default bound: a sentence just before it is read, one just after it is not.
  const std::string over = Write("over.nmea", "");
  {
    std::ofstream out(over, std::ios::binary);
    out.seekp(static_cast<std::streamoff>(kMaxNmeaBytes) - 200);
    out << "\n" << Rmc("101500.00", 'A') << "\n";
    out.seekp(static_cast<std::streamoff>(kMaxNmeaBytes) + 100);
    out << Rmc("101501.00", 'A') << "\n";
  }
  const std::optional<NmeaTrack> bounded = ReadNmeaFile(over);
  ASSERT_TRUE(bounded);
  EXPECT_TRUE(bounded->truncated);
  ASSERT_EQ(bounded->fixes.size(), 1u);
  EXPECT_EQ(bounded->fixes[0].cameraTime % 60, 0);
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
