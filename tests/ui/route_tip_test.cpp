#include "ui/route_tip.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(RouteTip, ClipTimeCameraDateTimeAndSpeed) {
  NavPoint point;
  point.timeMs = 3723999;  // 1 h 2 min 3.999 s: the whole seconds count
  point.year = 2026;
  point.month = 5;
  point.day = 18;
  point.hour = 8;
  point.minute = 31;
  point.second = 7;
  point.speedKmh = 54.04f;
  EXPECT_EQ(RouteTipText(point, SpeedUnit::Kmh),
            "01:02:03 \xC2\xB7 2026-05-18 08:31:07 \xC2\xB7 54.0 km/h");
  EXPECT_EQ(RouteTipText(point, SpeedUnit::Mph),
            "01:02:03 \xC2\xB7 2026-05-18 08:31:07 \xC2\xB7 33.6 mph");
}

}  // namespace
}  // namespace korvane
