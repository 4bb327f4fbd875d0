// The GPS panel's texts: the value formats, the no-GPS state and the language change.
#include "ui/gps_panel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvane {
namespace {

struct DegreesCase {
  char hemisphere;
  int degrees, minutes;
  double seconds;
  const char* expected;
};

class DegreesFormat : public ::testing::TestWithParam<DegreesCase> {};

TEST_P(DegreesFormat, ShowsHemisphereDegreesMinutesAndTwoDecimalSeconds) {
  const DegreesCase& c = GetParam();
  EXPECT_EQ(FormatDegrees(c.hemisphere, c.degrees, c.minutes, c.seconds), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, DegreesFormat,
    ::testing::Values(DegreesCase{'E', 113, 56, 7.5,
                                  " E 113\xC2\xB0"
                                  "56'7.50\""},
                      DegreesCase{'N', 22, 0, 0.0,
                                  " N 22\xC2\xB0"
                                  "0'0.00\""},
                      // Seconds are rounded as written, never carried into the minutes.
                      DegreesCase{'W', 0, 59, 59.996,
                                  " W 0\xC2\xB0"
                                  "59'60.00\""},
                      DegreesCase{0, 1, 2, 3.0,
                                  " ? 1\xC2\xB0"
                                  "2'3.00\""}));

TEST(GpsFormats, SpeedHasOneDecimalInItsUnitAndDateTimeIsZeroPadded) {
  struct SpeedCase {
    double kmh;
    const char* kmhText;
    const char* mphText;
  };
  for (const SpeedCase c :
       {SpeedCase{0, " 0.0 km/h", " 0.0 mph"}, SpeedCase{68.46, " 68.5 km/h", " 42.5 mph"},
        SpeedCase{400, " 400.0 km/h", " 248.5 mph"}, SpeedCase{std::nan(""), " -- km/h", " -- mph"},
        SpeedCase{HUGE_VAL, " -- km/h", " -- mph"}}) {
    EXPECT_EQ(FormatSpeed(c.kmh), c.kmhText);
    EXPECT_EQ(FormatSpeed(c.kmh, SpeedUnit::Mph), c.mphText);
  }
  TelemetryRecord r;
  r.year = 2026;
  r.month = 5;
  r.day = 8;
  r.hour = 7;
  r.minute = 3;
  r.second = 9;
  EXPECT_EQ(FormatDateTime(r), "2026-05-08 07:03:09");
}

class GpsPanelTest : public ::testing::Test {
 protected:
  GpsPanelTest() {
    texts.timeCaption = "Time:";
    texts.longitudeCaption = "Lng:";
    texts.latitudeCaption = "Lat:";
    texts.speedCaption = "Speed:";
    texts.statusCaption = "GPS:";
    texts.gpsCaption = "fixed";
    texts.noGpsCaption = "none";
    record.year = 2026;
    record.month = 5;
    record.day = 18;
    record.hour = 8;
    record.minute = 30;
    record.second = 1;
    record.lonHemisphere = 'E';
    record.lonDegrees = 113;
    record.lonMinutes = 56;
    record.lonSeconds = 7.5f;
    record.latHemisphere = 'N';
    record.latDegrees = 22;
    record.latMinutes = 32;
    record.latSeconds = 10.25f;
    record.speedKmh = 0;
  }
  GpsFlags flags() { return GpsFlags{shown, valid}; }

  ViewTexts texts;
  TelemetryRecord record;
  int shown = 0, valid = 0;
};

TEST_F(GpsPanelTest, TelemetryFillsEveryLabelAndTheStatus) {
  ShowTelemetryTexts(texts, flags(), record);
  EXPECT_EQ(texts.timeLabel, "Time: 2026-05-18 08:30:01");
  EXPECT_EQ(texts.longitudeLabel,
            "Lng: E 113\xC2\xB0"
            "56'7.50\"");
  EXPECT_EQ(texts.latitudeLabel,
            "Lat: N 22\xC2\xB0"
            "32'10.25\"");
  EXPECT_EQ(texts.speedLabel, "Speed: 0.0 km/h");
  EXPECT_EQ(texts.statusLabel, "GPS: fixed");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(valid, 1);
}

TEST_F(GpsPanelTest, SpeedFollowsTheUnitBeforeAndAfterTheFirstReport) {
  ShowSpeedIn(texts, SpeedUnit::Mph);
  EXPECT_EQ(texts.speedValue, " 0 mph") << "the start-up text in the unit";
  record.speedKmh = 100.0f;
  ShowTelemetryTexts(texts, flags(), record, SpeedUnit::Mph);
  EXPECT_EQ(texts.speedLabel, "Speed: 62.1 mph");
  ShowSpeedIn(texts, SpeedUnit::Kmh);  // the unit changed in the settings window
  RecomposeLabels(texts, shown, valid);
  EXPECT_EQ(texts.speedLabel, "Speed: 100.0 km/h");
}

TEST_F(GpsPanelTest, NoGpsShowsBareCaptionsAndKeepsTheValues) {
  ShowTelemetryTexts(texts, flags(), record);
  ShowNoGpsTexts(texts, flags());
  EXPECT_EQ(texts.timeLabel, "Time:");
  EXPECT_EQ(texts.longitudeLabel, "Lng:");
  EXPECT_EQ(texts.speedLabel, "Speed:");
  EXPECT_EQ(texts.statusLabel, "GPS: none");
  EXPECT_EQ(texts.speedValue, " 0.0 km/h");
  EXPECT_EQ(valid, 0);
  EXPECT_EQ(shown, 1);
}

TEST_F(GpsPanelTest, LanguageChangeAfterNoGpsShowsNewCaptionsWithTheLastValues) {
  ShowTelemetryTexts(texts, flags(), record);
  ShowNoGpsTexts(texts, flags());
  texts.longitudeCaption = "Longitude:";
  texts.statusCaption = "Status:";
  texts.noGpsCaption = "no fix";
  RecomposeLabels(texts, shown, valid);
  EXPECT_EQ(texts.longitudeLabel,
            "Longitude: E 113\xC2\xB0"
            "56'7.50\"");
  EXPECT_EQ(texts.statusLabel, "Status: no fix");
}

TEST_F(GpsPanelTest, StatusStaysTheBareCaptionUntilAReportWasShown) {
  EXPECT_EQ(ComposeStatusLabel(texts, 0, 1), "GPS:");
  RecomposeLabels(texts, 0, 0);
  EXPECT_EQ(texts.statusLabel, "GPS:");
  EXPECT_EQ(texts.speedLabel, "Speed: 0 km/h") << "the start-up speed value";
}

}  // namespace
}  // namespace korvane
