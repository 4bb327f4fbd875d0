#include "ui/route_tip.h"

#include "telemetry/telemetry_text.h"
#include "ui/time_text.h"

namespace korvane {

std::string RouteTipText(const NavPoint& point, SpeedUnit unit) {
  // FormatSpeed's text starts with its own space.
  return FormatClock(point.timeMs / 1000) + " \xC2\xB7 " + FormatDateTime(point) + " \xC2\xB7" +
         FormatSpeed(point.speedKmh, unit);
}

}  // namespace korvane
