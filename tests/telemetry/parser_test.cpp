#include <gtest/gtest.h>

#include <string>

#include "telemetry/telemetry_parser.h"

namespace korvane {
namespace {

constexpr const char* kExample =
    "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:12/Y:-4/Z:98";
constexpr double kExampleLon = 113.0 + (56 * 60 + 21.52) / 3600.0;
constexpr double kExampleLat = 22.0 + (32 * 60 + 8.36) / 3600.0;
constexpr double kCoordTolerance = 1e-6;

TEST(TelemetryParser, ExampleLineGivesEveryField) {
  CTelemetryParser parser;
  ASSERT_TRUE(parser.ParseFull(kExample));
  const TelemetryRecord& r = parser.record();
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.year, 2016);
  EXPECT_EQ(r.month, 3);
  EXPECT_EQ(r.day, 18);
  EXPECT_EQ(r.hour, 14);
  EXPECT_EQ(r.minute, 22);
  EXPECT_EQ(r.second, 7);
  EXPECT_STREQ(parser.dateTimeText(), "2016-03-18 14:22:07");
  EXPECT_NEAR(r.longitude, 113.939311, kCoordTolerance);
  EXPECT_NEAR(r.longitude, kExampleLon, kCoordTolerance);
  EXPECT_NEAR(r.latitude, 22.535655, kCoordTolerance);
  EXPECT_NEAR(r.latitude, kExampleLat, kCoordTolerance);
  EXPECT_EQ(r.lonHemisphere, 'E');
  EXPECT_EQ(r.lonDegrees, 113);
  EXPECT_EQ(r.lonMinutes, 56);
  EXPECT_FLOAT_EQ(r.lonSeconds, 21.52f);
  EXPECT_EQ(r.latHemisphere, 'N');
  EXPECT_EQ(r.latDegrees, 22);
  EXPECT_EQ(r.latMinutes, 32);
  EXPECT_FLOAT_EQ(r.latSeconds, 8.36f);
  EXPECT_NEAR(r.speedKmh, 65.93, 0.005);
  EXPECT_EQ(r.accelX, 12);
  EXPECT_EQ(r.accelY, -4);
  EXPECT_EQ(r.accelZ, 98);
  EXPECT_EQ(r.mapLongitude, 0.0) << "the parser never writes map coordinates";
  EXPECT_EQ(r.mapLatitude, 0.0);
}

// Lines both forms accept, with the fields that tell the case apart.
struct AcceptedCase {
  const char* name;
  std::string line;
  double longitude;
  double latitude;
  float speedKmh;
  std::int32_t year;
};
std::ostream& operator<<(std::ostream& out, const AcceptedCase& c) {
  return out << c.name;
}

class AcceptedLines : public testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedLines, ParseWithTheseValues) {
  const AcceptedCase& c = GetParam();
  CTelemetryParser full;
  ASSERT_TRUE(full.ParseFull(c.line.c_str())) << c.line;
  EXPECT_TRUE(full.record().valid);
  EXPECT_NEAR(full.record().longitude, c.longitude, kCoordTolerance);
  EXPECT_NEAR(full.record().latitude, c.latitude, kCoordTolerance);
  EXPECT_NEAR(full.record().speedKmh, c.speedKmh, 1e-4);
  EXPECT_EQ(full.record().year, c.year);

  CTelemetryParser live;
  ASSERT_TRUE(live.ParseLive(c.line.c_str())) << c.line;
  EXPECT_TRUE(live.liveValid());
  EXPECT_FALSE(live.record().valid) << "the live form leaves the validity flag alone";
  EXPECT_NEAR(live.record().longitude, c.longitude, kCoordTolerance);
  EXPECT_NEAR(live.record().speedKmh, c.speedKmh, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(
    Format, AcceptedLines,
    testing::Values(
        AcceptedCase{"West", "2016-03-18 14:22:07/W113 56 21.52/N22 32 8.36/35.6/X:12/Y:-4/Z:98",
                     -kExampleLon, kExampleLat, 65.9312f, 2016},
        AcceptedCase{"South", "2016-03-18 14:22:07/E113 56 21.52/S22 32 8.36/35.6/X:12/Y:-4/Z:98",
                     kExampleLon, -kExampleLat, 65.9312f, 2016},
        AcceptedCase{"TenKnots", "2016-03-18 14:22:07/E10 0 0/N20 0 0/10", 10.0, 20.0, 18.52f,
                     2016},
        AcceptedCase{"UnreadableSpeedIsZero", "2016-03-18 14:22:07/E10 0 0/N20 0 0/abc", 10.0, 20.0,
                     0.0f, 2016},
        AcceptedCase{"EmptySpeedIsZero", "2016-03-18 14:22:07/E10 0 0/N20 0 0/", 10.0, 20.0, 0.0f,
                     2016},
        AcceptedCase{"InfinitySpeedIsNoNumber", "2016-03-18 14:22:07/E10 0 0/N20 0 0/inf", 10.0,
                     20.0, 0.0f, 2016},
        AcceptedCase{"HugeSpeedIsNoNumber", "2016-03-18 14:22:07/E10 0 0/N20 0 0/1e300", 10.0, 20.0,
                     0.0f, 2016},
        AcceptedCase{"SpeedWithLeadingSpaceAndTail", "2016-03-18 14:22:07/E10 0 0/N20 0 0/  +10kn",
                     10.0, 20.0, 18.52f, 2016},
        AcceptedCase{"MinutesOverSixtyAsTheyStand", "2016-03-18 14:22:07/E10 75 0/N20 0 0/0", 11.25,
                     20.0, 0.0f, 2016},
        AcceptedCase{"LettersForYearGiveZero", "abcd-03-18 14:22:07/E10 0 0/N20 0 0/0", 10.0, 20.0,
                     0.0f, 0},
        AcceptedCase{"YearScanStopsAtFirstUnfit", " 20x-03-18 14:22:07/E10 0 0/N20 0 0/0", 10.0,
                     20.0, 0.0f, 20},
        AcceptedCase{"SeparatorsNeverExamined", "2016#03#18#14#22#07/E10 0 0/N20 0 0/0", 10.0, 20.0,
                     0.0f, 2016},
        AcceptedCase{"SubtitleCounterPrefixIgnored",
                     "12\n00:00:01,100 --> 00:00:01,200\n2016-03-18 14:22:07/E10 0 0/N20 0 0/0",
                     10.0, 20.0, 0.0f, 2016},
        AcceptedCase{"SevenCharacterTexts", "2016-03-18 14:22:07/E0000010 0 0.50000/N20 0 0/0",
                     10.0 + 0.5 / 3600.0, 20.0, 0.0f, 2016},
        AcceptedCase{"TrailingLineBreaks", "2016-03-18 14:22:07/E10 0 0/N20 0 0/10/X:1/Y:2/Z:3\n\n",
                     10.0, 20.0, 18.52f, 2016},
        AcceptedCase{"CommaIsNoDecimalPoint", "2016-03-18 14:22:07/E10 0 36,9/N20 0 0/10,5", 10.01,
                     20.0, 18.52f, 2016}),
    [](const testing::TestParamInfo<AcceptedCase>& info) { return std::string(info.param.name); });

// Lines the full form rejects; `live` says whether the live form accepts them.
struct RejectedCase {
  const char* name;
  std::string line;
  bool live;
};
std::ostream& operator<<(std::ostream& out, const RejectedCase& c) {
  return out << c.name;
}

class RejectedLines : public testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedLines, AreRejectedByTheFullForm) {
  const RejectedCase& c = GetParam();
  CTelemetryParser parser;
  ASSERT_TRUE(parser.ParseFull(kExample));
  EXPECT_FALSE(parser.ParseFull(c.line.c_str())) << c.line;
  EXPECT_FALSE(parser.record().valid);
  EXPECT_EQ(parser.ParseLive(c.line.c_str()), c.live) << c.line;
  EXPECT_EQ(parser.liveValid(), c.live);
}

INSTANTIATE_TEST_SUITE_P(
    Format, RejectedLines,
    testing::Values(
        RejectedCase{"Empty", "", false},
        RejectedCase{"NineteenCharacters", "2016-03-18 14:22:0/", false},
        RejectedCase{"ShortEvenWithSlashes", "/E1 2 3/N1 2 3/", false},
        RejectedCase{"NoSlash", "2016-03-18 14:22:07 E113 56 21.52 N22 32 8.36", false},
        RejectedCase{"LessThanNineteenBeforeSlash", "16-03-18 14:22:07/E113 56 21.52/N22 32 8.36",
                     false},
        RejectedCase{"BlankYear", "    -03-18 14:22:07/E113 56 21.52/N22 32 8.36", false},
        RejectedCase{"LetterMonth", "2016-x1-18 14:22:07/E113 56 21.52/N22 32 8.36", false},
        RejectedCase{"BlankSecond", "2016-03-18 14:22:  /E113 56 21.52/N22 32 8.36", false},
        RejectedCase{"NoLatitude", "2016-03-18 14:22:07/E113 56 21.52", false},
        RejectedCase{"WrongLongitudeLetter", "2016-03-18 14:22:07/N113 56 21.52/N22 32 8.36",
                     false},
        RejectedCase{"WrongLatitudeLetter", "2016-03-18 14:22:07/E113 56 21.52/E22 32 8.36", false},
        RejectedCase{"SpaceAfterLetter", "2016-03-18 14:22:07/E 113 56 21.52/N22 32 8.36", false},
        RejectedCase{"TwoSpacesBeforeMinutes", "2016-03-18 14:22:07/E113  56 21.52/N22 32 8.36",
                     false},
        RejectedCase{"NoSecondsSpace", "2016-03-18 14:22:07/E113 56/N22 32 8.36", false},
        RejectedCase{"EmptySeconds", "2016-03-18 14:22:07/E113 56 /N22 32 8.36", false},
        RejectedCase{"LetterSeconds", "2016-03-18 14:22:07/E113 56 x/N22 32 8.36", false},
        RejectedCase{"InfiniteSeconds", "2016-03-18 14:22:07/E113 56 inf/N22 32 8.36", false},
        RejectedCase{"DegreesLongerThanSeven", "2016-03-18 14:22:07/E00000113 56 21.52/N22 32 8.36",
                     false},
        RejectedCase{"SecondsLongerThanSeven", "2016-03-18 14:22:07/E113 56 21.52000/N22 32 8.36",
                     false},
        RejectedCase{"FourthSlashWithoutAccelerations",
                     "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/", true},
        RejectedCase{"AccelerationsOutOfOrder",
                     "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/Y:12/X:-4/Z:98", true},
        RejectedCase{"TwoCharacterAcceleration",
                     "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:/Y:-4/Z:98", true},
        RejectedCase{"LetterAcceleration",
                     "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:12/Y:ab/Z:98", true},
        RejectedCase{"NoZ", "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:12/Y:-4", true},
        RejectedCase{"AccelerationLongerThanSeven",
                     "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:12345678/Y:-4/Z:98",
                     true}),
    [](const testing::TestParamInfo<RejectedCase>& info) { return std::string(info.param.name); });

TEST(TelemetryParser, FieldsALineDoesNotCarryKeepTheirLastValues) {
  CTelemetryParser parser;
  ASSERT_TRUE(parser.ParseFull(kExample));
  // Date and position only: speed and accelerations stay from the example.
  ASSERT_TRUE(parser.ParseFull("2017-01-02 03:04:05/E10 0 0/N20 0 0"));
  EXPECT_EQ(parser.record().year, 2017);
  EXPECT_NEAR(parser.record().longitude, 10.0, kCoordTolerance);
  EXPECT_NEAR(parser.record().speedKmh, 65.93, 0.005);
  EXPECT_EQ(parser.record().accelX, 12);
  EXPECT_EQ(parser.record().accelZ, 98);
  // With a speed but no accelerations: the speed changes, the accelerations stay.
  ASSERT_TRUE(parser.ParseFull("2017-01-02 03:04:05/E10 0 0/N20 0 0/10"));
  EXPECT_NEAR(parser.record().speedKmh, 18.52, 1e-4);
  EXPECT_EQ(parser.record().accelY, -4);
}

TEST(TelemetryParser, LiveFormNeverReadsAccelerations) {
  CTelemetryParser parser;
  ASSERT_TRUE(parser.ParseLive("2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:1/Y:2/Z:3"));
  EXPECT_EQ(parser.record().accelX, 0);
  EXPECT_EQ(parser.record().accelZ, 0);
  EXPECT_NEAR(parser.record().speedKmh, 65.93, 0.005);
}

TEST(TelemetryParser, DateTimePartsKeepTheirLowEightBits) {
  CTelemetryParser parser;
  ASSERT_TRUE(parser.ParseFull("2016--1-99 +7:-0:61/E300 0 0/N20 0 0"));
  EXPECT_EQ(parser.record().month, 255);
  EXPECT_EQ(parser.record().day, 99);
  EXPECT_EQ(parser.record().hour, 7);
  EXPECT_EQ(parser.record().minute, 0);
  EXPECT_EQ(parser.record().second, 61);
  EXPECT_EQ(parser.record().lonDegrees, 300 - 256);
  EXPECT_NEAR(parser.record().longitude, 44.0, kCoordTolerance);
}

TEST(TelemetryParser, RejectedLineMayHaveOverwrittenEarlierFields) {
  CTelemetryParser parser;
  ASSERT_TRUE(parser.ParseFull(kExample));
  ASSERT_FALSE(
      parser.ParseFull("2020-12-31 23:59:58/E113 56 21.52/N22 32 8.36/35.6/X:7/Y:oops/Z:1"));
  EXPECT_EQ(parser.record().year, 2020);
  EXPECT_EQ(parser.record().accelX, 7);
  EXPECT_EQ(parser.record().accelY, -4);
  EXPECT_STREQ(parser.dateTimeText(), "2020-12-31 23:59:58");
}

TEST(TelemetryParser, NoReadingMarkReadsAsZeroGAndARealReadingClearsIt) {
  struct Case {
    const char* line;
    bool parsed;
    bool noReading;
    std::int32_t x, y, z;
  };
  const Case cases[] = {
      {"2026-05-18 08:30:07/E127 1 23.459/N37 30 12.301/27.00/X:-/Y:-/Z:-", true, true, 2000, 2000,
       2000},
      {"2026-05-18 08:30:07/E127 1 23.459/N37 30 12.301/27.00/X:5/Y:-/Z:7", true, true, 5, 2000, 7},
      {"2026-05-18 08:30:07/E127 1 23.459/N37 30 12.301/27.00/X:1/Y:2/Z:3", true, false, 1, 2, 3},
      {"2026-05-18 08:30:07/E127 1 23.459/N37 30 12.301/27.00/X:--/Y:-/Z:-", false, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    CTelemetryParser parser;
    ASSERT_TRUE(parser.ParseFull("2026-05-18 08:30:06/E1 0 0/N1 0 0/1/X:-/Y:-/Z:-"));
    EXPECT_EQ(parser.ParseFull(c.line), c.parsed) << c.line;
    if (!c.parsed) continue;
    const TelemetryRecord& r = parser.record();
    EXPECT_EQ(r.noGReading, c.noReading) << c.line;
    EXPECT_EQ(r.accelX, c.x) << c.line;
    EXPECT_EQ(r.accelY, c.y) << c.line;
    EXPECT_EQ(r.accelZ, c.z) << c.line;
  }
}

TEST(TelemetryParser, NullLineIsRejected) {
  CTelemetryParser parser;
  EXPECT_FALSE(parser.ParseFull(nullptr));
  EXPECT_FALSE(parser.ParseLive(nullptr));
}

}  // namespace
}  // namespace korvane
