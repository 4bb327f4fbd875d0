// The tags a snapshot gets, written through exiv2 and read back by exiv2 and exiftool, in every
// hemisphere; the stamp line; a failed write.
#include "telemetry/snapshot_tags.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/command_output.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/snapshot_exif.h"

namespace korvane {

void PrintTo(const ExifTag& tag, std::ostream* os) {
  *os << tag.key << " = " << tag.value;
}

namespace {

TelemetryRecord Record(double lat, double lon) {
  TelemetryRecord r;
  r.valid = true;
  r.year = 2026;
  r.month = 5;
  r.day = 18;
  r.hour = 8;
  r.minute = 30;
  r.second = 7;
  r.longitude = lon;
  r.latitude = lat;
  r.speedKmh = 45.04f;
  return r;
}

struct HemisphereCase {
  double lat, lon;
  const char* gps;  // the GPS tags' values, in tag order
};

class SnapshotTagsInEveryHemisphere : public testing::TestWithParam<HemisphereCase> {};

TEST_P(SnapshotTagsInEveryHemisphere, ReadBackThroughExiv2AndExiftool) {
  const HemisphereCase& c = GetParam();
  const std::vector<ExifTag> tags = SnapshotExifTags(Record(c.lat, c.lon));
  std::string values;
  for (const ExifTag& tag : tags) values += tag.value + "|";
  EXPECT_EQ(values, std::string("2026:05:18 08:30:07|2 3 0 0|") + c.gps + "K|450/10|WGS-84|");

  // A frame of the sample clip, as the player writes its snapshots, in a path with odd characters.
  test::TempDir dir;
  const std::string png = dir.str() + "shot 0001 'ü'.png";
  ASSERT_EQ(std::system((test::ProgramDir() + "FFMpeg/ffmpeg -v error -ss 2 -i '" +
                         test::DefaultClip() + "' -frames:v 1 \"" + png + "\"")
                            .c_str()),
            0);
  ASSERT_EQ(WriteExifTags(png, tags), "");

  std::string keys;
  for (const ExifTag& tag : tags) keys += " -K " + tag.key;
  std::istringstream exiv2(test::CommandOutput("exiv2 -q -Pkv" + keys + " \"" + png + "\""));
  std::vector<ExifTag> readBack;
  for (std::string key, value; exiv2 >> key && std::getline(exiv2 >> std::ws, value);) {
    readBack.push_back({key, value});
  }
  EXPECT_EQ(readBack, tags);

  // exiftool's signed decimal degrees: the hemisphere went through; no warning about the chunk.
  const std::string tool = test::CommandOutput(
      "exiftool -n -s3 -Composite:GPSLatitude -Composite:GPSLongitude -Warning \"" + png + "\"");
  double lat = 0, lon = 0;
  ASSERT_EQ(std::sscanf(tool.c_str(), "%lf %lf", &lat, &lon), 2) << tool;
  EXPECT_NEAR(lat, c.lat, 1e-5);
  EXPECT_NEAR(lon, c.lon, 1e-5);
  EXPECT_EQ(tool.find("arning"), std::string::npos) << tool;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, SnapshotTagsInEveryHemisphere,
    testing::Values(
        HemisphereCase{22.535656, 113.939572, "N|22/1 32/1 836/100|E|113/1 56/1 2246/100|"},
        HemisphereCase{-33.868820, -70.648270, "S|33/1 52/1 775/100|W|70/1 38/1 5377/100|"},
        HemisphereCase{40.416775, -3.703790, "N|40/1 25/1 39/100|W|3/1 42/1 1364/100|"}),
    [](const testing::TestParamInfo<HemisphereCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(SnapshotTags, OutOfRangeValuesLeaveTheirTagsOutAndSecondsCarry) {
  TelemetryRecord r = Record(10.0 + 59.9999 / 3600, 91.0);
  r.month = 13;
  std::vector<ExifTag> tags = SnapshotExifTags(r);
  ASSERT_EQ(tags.size(), 8u) << "no date-time";
  EXPECT_EQ(tags[2].value, "10/1 1/1 0/100") << "59.9999\" rounds into the next minute";
  r.latitude = 95.0;
  EXPECT_TRUE(SnapshotExifTags(r).empty());
  r.valid = false;
  EXPECT_EQ(SnapshotStampLine(r), "");
}

TEST(SnapshotTags, StampLineIsThePanelsValuesInOneLine) {
  TelemetryRecord r = Record(-33.86882, -70.64827);
  r.latHemisphere = 'S';
  r.latDegrees = 33;
  r.latMinutes = 52;
  r.latSeconds = 7.98f;
  r.lonHemisphere = 'W';
  r.lonDegrees = 70;
  r.lonMinutes = 38;
  r.lonSeconds = 53.77f;
  EXPECT_EQ(SnapshotStampLine(r),
            "2026-05-18 08:30:07  S 33\xC2\xB0"
            "52'7.98\"  W 70\xC2\xB0"
            "38'53.77\"  45.0 km/h");
  EXPECT_EQ(SnapshotStampLine(r, SpeedUnit::Mph),
            "2026-05-18 08:30:07  S 33\xC2\xB0"
            "52'7.98\"  W 70\xC2\xB0"
            "38'53.77\"  28.0 mph");
}

// A file exiv2 cannot take stays byte for byte as it was, and the reason comes back.
TEST(SnapshotExif, AFailedWriteLeavesTheFileAsItWas) {
  test::TempDir dir;
  const std::string path = dir.str() + "shot0001.png";
  test::WriteFileText(path, "not a picture");
  EXPECT_FALSE(WriteExifTags(path, SnapshotExifTags(Record(1, 1))).empty());
  EXPECT_EQ(test::ReadFileText(path), "not a picture");
  EXPECT_FALSE(std::filesystem::exists(path + ".exif-part"));
}

}  // namespace
}  // namespace korvane
