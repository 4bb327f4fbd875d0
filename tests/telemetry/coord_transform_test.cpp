#include "telemetry/coord_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace korvane {
namespace {

constexpr double kTolerance = 1e-6;
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();  // no published value

// Checks only where a published value exists.
void ExpectPoint(double lat, double lon, double expectLat, double expectLon) {
  if (std::isnan(expectLat)) return;
  EXPECT_NEAR(lat, expectLat, kTolerance);
  EXPECT_NEAR(lon, expectLon, kTolerance);
}

// Independently published pairs: the widely quoted Beijing pair of the open-source coordtransform
// project, and a point near Beijing checked against other implementations of the same formulas.
struct ReferenceCase {
  const char* name;
  double lat, lon;
  double gcjLat, gcjLon;
  double bdLat, bdLon;                // BD-09 from the WGS-84 point
  double bdOfInputLat, bdOfInputLon;  // BD-09 taking the input point as GCJ-02
};
std::ostream& operator<<(std::ostream& out, const ReferenceCase& c) {
  return out << c.name;
}

class ReferenceValues : public testing::TestWithParam<ReferenceCase> {};

TEST_P(ReferenceValues, SinglePointFormsMatch) {
  const ReferenceCase& c = GetParam();
  double lat = 0.0;
  double lon = 0.0;
  WgsToGcj(c.lat, c.lon, lat, lon);
  ExpectPoint(lat, lon, c.gcjLat, c.gcjLon);
  WgsToBd(c.lat, c.lon, lat, lon);
  ExpectPoint(lat, lon, c.bdLat, c.bdLon);
  GcjToBd(c.lat, c.lon, lat, lon);
  ExpectPoint(lat, lon, c.bdOfInputLat, c.bdOfInputLon);
}

TEST_P(ReferenceValues, BatchFormsMatch) {
  const ReferenceCase& c = GetParam();
  TelemetryRecord point;
  point.valid = true;
  point.latitude = c.lat;
  point.longitude = c.lon;
  ASSERT_TRUE(ConvertChunkForGoogle(1, &point, "China"));
  ExpectPoint(point.mapLatitude, point.mapLongitude, c.gcjLat, c.gcjLon);
  ASSERT_TRUE(ConvertChunkForBaidu(1, &point));
  ExpectPoint(point.mapLatitude, point.mapLongitude, c.bdLat, c.bdLon);
}

INSTANTIATE_TEST_SUITE_P(
    CoordTransform, ReferenceValues,
    testing::Values(
        ReferenceCase{"Lat40Lon116", 40.0, 116.0, 40.0012137, 116.0061412, 40.007149, 116.012681,
                      kNone, kNone},
        // coordtransform README: wgs84togcj02(116.404, 39.915) and gcj02tobd09(116.404, 39.915).
        ReferenceCase{"CoordtransformReadme", 39.915, 116.404, 39.91640428150164,
                      116.41024449916938, kNone, kNone, 39.92133699351021, 116.41036949371029}),
    [](const testing::TestParamInfo<ReferenceCase>& info) { return std::string(info.param.name); });

// Where the single-point forms convert. The bounds themselves are inside.
struct BoxCase {
  const char* name;
  double lat, lon;
  bool converts;
};
std::ostream& operator<<(std::ostream& out, const BoxCase& c) {
  return out << c.name;
}

class ChinaBox : public testing::TestWithParam<BoxCase> {};

TEST_P(ChinaBox, SinglePointFormsConvertOnlyInside) {
  const BoxCase& c = GetParam();
  EXPECT_EQ(OutOfChina(c.lon, c.lat), !c.converts);
  for (auto form : {&WgsToGcj, &WgsToBd}) {
    double lat = 0.0;
    double lon = 0.0;
    form(c.lat, c.lon, lat, lon);
    EXPECT_EQ(lat != c.lat || lon != c.lon, c.converts);
  }
}

TEST_P(ChinaBox, BatchFormsAlwaysConvert) {
  const BoxCase& c = GetParam();
  TelemetryRecord point;
  point.valid = true;
  point.latitude = c.lat;
  point.longitude = c.lon;
  ASSERT_TRUE(ConvertChunkForBaidu(1, &point));
  EXPECT_NE(point.mapLatitude, c.lat);
  EXPECT_NE(point.mapLongitude, c.lon);
  point.mapLatitude = point.mapLongitude = 0.0;
  ASSERT_TRUE(ConvertChunkForGoogle(1, &point, "China"));
  EXPECT_NE(point.mapLatitude, c.lat);
  EXPECT_NE(point.mapLongitude, c.lon);
}

INSTANTIATE_TEST_SUITE_P(CoordTransform, ChinaBox,
                         testing::Values(BoxCase{"WestEdge", 30.0, 72.004, true},
                                         BoxCase{"NorthEdge", 55.8271, 110.0, true},
                                         BoxCase{"EastEdge", 30.0, 135.1, true},
                                         BoxCase{"SouthEdge", 18.1, 110.0, true},
                                         BoxCase{"WestOfEdge", 30.0, 72.0039, false},
                                         BoxCase{"NorthOfEdge", 55.8272, 110.0, false},
                                         BoxCase{"EastOf135_1", 30.0, 136.0, false},
                                         BoxCase{"SouthOf18_1", 10.0, 106.0, false}),
                         [](const testing::TestParamInfo<BoxCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CoordTransform, IdentityReturnsTheInput) {
  double lat = 0.0;
  double lon = 0.0;
  IdentityTransform(12.5, -3.25, lat, lon);
  EXPECT_EQ(lat, 12.5);
  EXPECT_EQ(lon, -3.25);
}

TEST(CoordTransform, NanIsOutsideTheBox) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(OutOfChina(nan, 30.0));
  EXPECT_TRUE(OutOfChina(110.0, nan));
}

TEST(CoordTransform, BatchFormsSkipInvalidPointsAndRefuseEmptyInput) {
  TelemetryRecord points[2];
  points[0].valid = false;
  points[0].latitude = 40.0;
  points[0].longitude = 116.0;
  points[0].mapLatitude = -1.0;
  points[1].valid = true;
  points[1].latitude = 40.0;
  points[1].longitude = 116.0;
  ASSERT_TRUE(ConvertChunkForBaidu(2, points));
  EXPECT_EQ(points[0].mapLatitude, -1.0);
  EXPECT_NEAR(points[1].mapLatitude, 40.007149, kTolerance);

  for (const std::int32_t count : {0, -3}) {
    TelemetryRecord untouched;
    untouched.valid = true;
    untouched.latitude = 40.0;
    EXPECT_FALSE(ConvertChunkForBaidu(count, &untouched));
    EXPECT_FALSE(ConvertChunkForGoogle(count, &untouched, "China"));
    EXPECT_FALSE(ConvertChunkForGoogle(count, &untouched, "Oversea"));
    EXPECT_EQ(untouched.mapLatitude, 0.0);
  }
  EXPECT_FALSE(ConvertChunkForBaidu(1, nullptr));
  EXPECT_FALSE(ConvertChunkForGoogle(1, nullptr, "Oversea"));
}

TEST(CoordTransform, GoogleCopiesUnlessLocaleIsExactlyChina) {
  for (const char* locale : {"Oversea", "china", "CHINA", "China ", ""}) {
    TelemetryRecord point;
    point.valid = true;
    point.latitude = 40.0;
    point.longitude = 116.0;
    ASSERT_TRUE(ConvertChunkForGoogle(1, &point, locale));
    EXPECT_EQ(point.mapLatitude, 40.0) << locale;
    EXPECT_EQ(point.mapLongitude, 116.0) << locale;
  }
}

}  // namespace
}  // namespace korvane
