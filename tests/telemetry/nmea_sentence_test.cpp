// One NMEA line decoded: the fixes' times with milliseconds, positions, speed, course and
// altitude, the cameras' G-sensor lines in counts and in g, and every way a line fails.
#include "telemetry/nmea_sentence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::test {
namespace {

TEST(NmeaSentence, FixesReadTheirTimeToTheMillisecondPositionSpeedCourseAndAltitude) {
  const NmeaSentence rmc = DecodeNmeaSentence(
      "[1359437411000]" +
      FormatNmeaSentence("GPRMC,190227.696,A,4529.4279,N,00909.0627,W,5.15,311.25,090410,,,A") +
      "\r");
  ASSERT_EQ(rmc.kind, NmeaKind::Rmc) << "a logger's prefix before '$' is passed over";
  EXPECT_EQ(rmc.dayMs, (19 * 3600 + 2 * 60 + 27) * 1000 + 696);
  EXPECT_EQ(rmc.days, 14708);  // 2010-04-09
  EXPECT_TRUE(rmc.fix);
  EXPECT_NEAR(rmc.latitude, 45.490465, 1e-6);
  EXPECT_NEAR(rmc.longitude, -9.151045, 1e-6);
  EXPECT_DOUBLE_EQ(rmc.knots, 5.15);
  EXPECT_DOUBLE_EQ(rmc.courseDeg, 311.25);

  const NmeaSentence gga = DecodeNmeaSentence(FormatNmeaSentence(
      "GNGGA,200642.000,3549.4991,S,08650.8239,E,1,07,1.1,269.9,M,-31.4,M,,0000"));
  ASSERT_EQ(gga.kind, NmeaKind::Gga);
  EXPECT_EQ(gga.dayMs, (20 * 3600 + 6 * 60 + 42) * 1000);
  EXPECT_TRUE(gga.fix);
  EXPECT_NEAR(gga.latitude, -35.824985, 1e-6);
  EXPECT_DOUBLE_EQ(gga.altitudeM, 269.9);

  const NmeaSentence noFix =
      DecodeNmeaSentence(FormatNmeaSentence("GPGGA,200643.00,,,,,0,00,,,M,,M,,"));
  ASSERT_EQ(noFix.kind, NmeaKind::Gga) << "no position is needed without a fix";
  EXPECT_FALSE(noFix.fix);
  const NmeaSentence standing = DecodeNmeaSentence(
      FormatNmeaSentence("GPRMC,200641.000,A,3549.4991,N,08650.8239,W,,,050608,,,A"));
  ASSERT_EQ(standing.kind, NmeaKind::Rmc);
  EXPECT_TRUE(std::isnan(standing.knots));
  EXPECT_TRUE(std::isnan(standing.courseDeg));
}

TEST(NmeaSentence, GSensorLinesAreInCountsOrInGWithOrWithoutAChecksum) {
  const NmeaSentence counts = DecodeNmeaSentence("$GSENSOR,0,-976,1960\r");
  ASSERT_EQ(counts.kind, NmeaKind::Accel);
  EXPECT_DOUBLE_EQ(counts.g[0], 0.0);
  EXPECT_DOUBLE_EQ(counts.g[1], -0.976);
  EXPECT_DOUBLE_EQ(counts.g[2], 1.96);
  const NmeaSentence g = DecodeNmeaSentence(FormatNmeaSentence("GSENSORD,0.250,0.060,-0.060"));
  ASSERT_EQ(g.kind, NmeaKind::Accel);
  EXPECT_DOUBLE_EQ(g.g[0], 0.25);
  EXPECT_DOUBLE_EQ(g.g[2], -0.06);
  std::string broken = FormatNmeaSentence("GSENSORD,0.250,0.060,-0.060");
  broken[10] = '3';
  EXPECT_EQ(DecodeNmeaSentence(broken).kind, NmeaKind::Bad) << "a checksum written is checked";
}

TEST(NmeaSentence, LinesThatAreNotOursOrDoNotReadAreToldApart) {
  const std::string good =
      FormatNmeaSentence("GPRMC,053011.000,A,3400.0000,S,15100.0000,E,28.68,323.73,290113,,,A");
  struct Case {
    std::string line;
    NmeaKind kind;
  };
  const Case cases[] = {
      {"", NmeaKind::Blank},
      {"\r", NmeaKind::Blank},
      {FormatNmeaSentence("GPGSA,A,3,32,31,20,14,30,16,22,,,,,,2.1,1.1,1.8"), NmeaKind::Other},
      {FormatNmeaSentence("ADPMB,5,0"), NmeaKind::Other},
      {"A simple NMEA file recorded by a logger", NmeaKind::Bad},
      {good.substr(0, good.size() - 3), NmeaKind::Bad},  // no checksum
      {good.substr(0, good.size() - 1) + "0", NmeaKind::Bad},
      {std::string("$GPRMC,053011.000,A,34\0"
                   "00.0000,S",
                   30) +
           good.substr(30),
       NmeaKind::Bad},
      {"$" + std::string(1 << 20, 'G') + "*00", NmeaKind::Bad},  // a line of 1 MB
      {"\x7f"
       "ELF\x02\x01\x01\xff\xfe$\x80\x81*",
       NmeaKind::Bad},
      {FormatNmeaSentence("GPRMC,053011.000,A,3400.0000,S,15100.0000,E,28.68,323.73,290113"),
       NmeaKind::Rmc},
      {FormatNmeaSentence("GPRMC,053011.000,A,3400.0000,S,15100.0000,E,fast,323.73,290113"),
       NmeaKind::Bad},
      {FormatNmeaSentence("GPGGA,200642.000,3549.4991,N,08650.8239,W,x,07"), NmeaKind::Bad},
      {FormatNmeaSentence("GPGGA,200642.000,,N,08650.8239,W,1,07"), NmeaKind::Bad},
      // A fix quality no int holds.
      {FormatNmeaSentence("GPGGA,200642.000,3549.4991,N,08650.8239,W,177777777777777,07"),
       NmeaKind::Bad},
      {"$GSENSOR,1,2", NmeaKind::Bad},
      {"$GSENSOR,1,2,nan", NmeaKind::Bad},
      {"$GSENSORD,1e300,0,0", NmeaKind::Bad},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeNmeaSentence(c.line).kind, c.kind) << c.line.substr(0, 80);
  }
}

TEST(NmeaSentence, RmcFieldsKeptInAnotherLayoutReadAsTheirCheckedSentence) {
  using Fields = std::vector<std::string_view>;
  const Fields cases[] = {
      {"190227.696", "A", "4529.4279", "N", "00909.0627", "W", "5.15", "311.25", "090410"},
      {"001555", "V", "", "", "", "", "", "", "110526"},
      {"001555", "A", "3700.0000", "N", "12100.0000", "W", "", "", "110526"},
      {"001555", "A", "37x0.0000", "N", "12100.0000", "W", "", "", "110526"},
      {"001555", "A", "3700.0000", "N", "12100.0000", "W", "", "", "320526"},
      {"", "A", "3700.0000", "N", "12100.0000", "W", "", "", "110526"},
  };
  for (const Fields& f : cases) {
    std::string body = "GPRMC";
    for (const std::string_view field : f) body.append(",").append(field);
    const NmeaSentence checked = DecodeNmeaSentence(FormatNmeaSentence(body));
    const NmeaSentence laid = DecodeRmcFields(f);
    EXPECT_EQ(laid.kind, checked.kind) << body;
    if (checked.kind != NmeaKind::Rmc) continue;
    EXPECT_EQ(laid.dayMs, checked.dayMs) << body;
    EXPECT_EQ(laid.days, checked.days) << body;
    EXPECT_EQ(laid.fix, checked.fix) << body;
    EXPECT_EQ(laid.latitude, checked.latitude) << body;
    EXPECT_EQ(laid.longitude, checked.longitude) << body;
  }
  EXPECT_EQ(DecodeRmcFields(Fields(cases[0].begin(), cases[0].end() - 1)).kind, NmeaKind::Bad)
      << "the date missing";
}

}  // namespace
}  // namespace korvane::test
