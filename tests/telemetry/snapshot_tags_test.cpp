// The tags and the stamp line a snapshot gets, and their write through exiv2 read back by both
// exiv2 and exiftool, in every hemisphere.
#include "telemetry/snapshot_tags.h"

#include <gtest/gtest.h>

#include <cmath>
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

TelemetryRecord Record(char latHemisphere, double lat, char lonHemisphere, double lon) {
  TelemetryRecord r;
  r.valid = true;
  r.year = 2026;
  r.month = 5;
  r.day = 18;
  r.hour = 8;
  r.minute = 30;
  r.second = 7;
  r.latitude = lat;
  r.longitude = lon;
  r.latHemisphere = latHemisphere;
  r.lonHemisphere = lonHemisphere;
  const auto parts = [](double v, std::uint8_t& d, std::uint8_t& m, float& s) {
    v = std::fabs(v);
    d = static_cast<std::uint8_t>(v);
    m = static_cast<std::uint8_t>((v - d) * 60);
    s = static_cast<float>((v - d) * 3600 - m * 60);
  };
  parts(lat, r.latDegrees, r.latMinutes, r.latSeconds);
  parts(lon, r.lonDegrees, r.lonMinutes, r.lonSeconds);
  r.speedKmh = 45.04f;
  return r;
}

std::string Tag(const std::vector<ExifTag>& tags, const std::string& key) {
  for (const ExifTag& tag : tags) {
    if (tag.key == key) return tag.value;
  }
  return "<none>";
}

struct HemisphereCase {
  char latRef;
  double lat;
  char lonRef;
  double lon;
  const char* latTag;
  const char* lonTag;
};

class SnapshotTagsInEveryHemisphere : public testing::TestWithParam<HemisphereCase> {};

TEST_P(SnapshotTagsInEveryHemisphere, ComposeAndReadBackThroughExiv2AndExiftool) {
  const HemisphereCase& c = GetParam();
  const TelemetryRecord record = Record(c.latRef, c.lat, c.lonRef, c.lon);
  const std::vector<ExifTag> tags = SnapshotExifTags(record);
  EXPECT_EQ(Tag(tags, "Exif.Photo.DateTimeOriginal"), "2026:05:18 08:30:07");
  EXPECT_EQ(Tag(tags, "Exif.GPSInfo.GPSLatitudeRef"), std::string(1, c.latRef));
  EXPECT_EQ(Tag(tags, "Exif.GPSInfo.GPSLatitude"), c.latTag);
  EXPECT_EQ(Tag(tags, "Exif.GPSInfo.GPSLongitudeRef"), std::string(1, c.lonRef));
  EXPECT_EQ(Tag(tags, "Exif.GPSInfo.GPSLongitude"), c.lonTag);
  EXPECT_EQ(Tag(tags, "Exif.GPSInfo.GPSSpeed"), "450/10");

  // A frame of the sample clip, as the player writes its snapshots.
  test::TempDir dir;
  const std::string png = dir.str() + "shot 0001 'ü'.png";
  const std::string make = test::ProgramDir() + "FFMpeg/ffmpeg -v error -y -ss 2 -i '" +
                           test::DefaultClip() + "' -frames:v 1 \"" + png + "\"";
  ASSERT_EQ(std::system(make.c_str()), 0);
  ASSERT_EQ(WriteExifTags(png, tags), "");
  EXPECT_FALSE(std::filesystem::exists(png + ".exif-part"));

  // exiv2 reads back every tag as written (its raw values: rationals, reference letters).
  std::string keys;
  for (const ExifTag& tag : tags) keys += " -K " + tag.key;
  std::istringstream exiv2(test::CommandOutput("exiv2 -q -Pkv" + keys + " \"" + png + "\""));
  std::vector<ExifTag> readBack;
  for (std::string key, value; exiv2 >> key && std::getline(exiv2 >> std::ws, value);) {
    readBack.push_back({key, value});
  }
  EXPECT_EQ(readBack, tags);

  // Signed decimal degrees from exiftool's composite tags: the hemisphere went through.
  const std::string tool = test::CommandOutput(
      "exiftool -n -s3 -DateTimeOriginal -Composite:GPSLatitude -Composite:GPSLongitude "
      "-GPSSpeed -Warning \"" +
      png + "\"");
  double lat = 0, lon = 0, speed = 0;
  char date[32] = {};
  char time[32] = {};
  ASSERT_EQ(std::sscanf(tool.c_str(), "%31s %31s %lf %lf %lf", date, time, &lat, &lon, &speed), 5)
      << tool;
  EXPECT_STREQ(date, "2026:05:18");
  EXPECT_STREQ(time, "08:30:07");
  EXPECT_NEAR(lat, c.lat, 0.5 / 360000);
  EXPECT_NEAR(lon, c.lon, 0.5 / 360000);
  EXPECT_NEAR(speed, 45.0, 1e-9);
  EXPECT_EQ(tool.find("arning"), std::string::npos) << "exiftool had a warning: " << tool;
}

std::string HemisphereName(const testing::TestParamInfo<HemisphereCase>& info) {
  return std::string(1, info.param.latRef) + info.param.lonRef + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, SnapshotTagsInEveryHemisphere,
    testing::Values(
        HemisphereCase{'N', 22.535656, 'E', 113.939572, "22/1 32/1 836/100", "113/1 56/1 2246/100"},
        HemisphereCase{'S', -33.868820, 'W', -70.648270, "33/1 52/1 775/100", "70/1 38/1 5377/100"},
        HemisphereCase{'N', 40.416775, 'W', -3.703790, "40/1 25/1 39/100", "3/1 42/1 1364/100"},
        HemisphereCase{'S', -0.000001, 'E', 0.0, "0/1 0/1 0/100", "0/1 0/1 0/100"}),
    HemisphereName);

TEST(SnapshotTags, OutOfRangeValuesLeaveTheirTagsOutAndSecondsCarry) {
  TelemetryRecord r = Record('N', 10.0 + 59.9999 / 3600, 'E', 91.0);
  EXPECT_EQ(Tag(SnapshotExifTags(r), "Exif.GPSInfo.GPSLatitude"), "10/1 1/1 0/100")
      << "59.9999\" rounds into the next minute";
  r.month = 13;
  EXPECT_EQ(Tag(SnapshotExifTags(r), "Exif.Photo.DateTimeOriginal"), "<none>");
  EXPECT_EQ(Tag(SnapshotExifTags(r), "Exif.GPSInfo.GPSLongitudeRef"), "E");
  r.latitude = 95.0;
  EXPECT_EQ(Tag(SnapshotExifTags(r), "Exif.GPSInfo.GPSLatitude"), "<none>");
  EXPECT_EQ(Tag(SnapshotExifTags(r), "Exif.GPSInfo.GPSLongitude"), "<none>");
  r.valid = false;
  EXPECT_TRUE(SnapshotExifTags(r).empty());
  EXPECT_EQ(SnapshotStampLine(r), "");
}

TEST(SnapshotTags, StampLineIsThePanelsValuesInOneLine) {
  TelemetryRecord r = Record('S', -33.86882, 'W', -70.64827);
  r.latSeconds = 7.98f;
  r.lonSeconds = 53.77f;
  EXPECT_EQ(SnapshotStampLine(r),
            "2026-05-18 08:30:07  S 33\xC2\xB0"
            "52'7.98\"  W 70\xC2\xB0"
            "38'53.77\"  45.0 km/h");
}

// A file exiv2 cannot take stays byte for byte as it was, and the reason comes back.
TEST(SnapshotExif, AFailedWriteLeavesTheFileAsItWas) {
  test::TempDir dir;
  const std::string path = dir.str() + "shot0001.png";
  test::WriteFileText(path, "not a picture");
  const std::string reason = WriteExifTags(path, SnapshotExifTags(Record('N', 1, 'E', 1)));
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(test::ReadFileText(path), "not a picture");
  EXPECT_FALSE(std::filesystem::exists(path + ".exif-part"));
  EXPECT_FALSE(WriteExifTags(dir.str() + "missing.png", {}).empty());
}

}  // namespace
}  // namespace korvane
