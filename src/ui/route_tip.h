// The tooltip of a route point on the map: its moment in the clip, the camera's date and time
// there and the speed, e.g. "00:01:23 · 2026-05-18 08:31:23 · 54.0 km/h". Pure text work.
#pragma once
#include <string>

#include "settings/settings.h"
#include "telemetry/navigation_track.h"

namespace korvane {

// The speed in `unit`.
std::string RouteTipText(const NavPoint& point, SpeedUnit unit);

}  // namespace korvane
