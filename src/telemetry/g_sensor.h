// The G-sensor's raw readings in G, for everything that shows or writes them (the chart, the
// export): the camera writes 2000 for 0 G and 1000 units for 3 G.
#pragma once
#include <cmath>
#include <cstdint>

namespace korvane {

inline constexpr double kAccZeroRaw = 2000.0;
inline constexpr double kAccRawPerG = 1000.0 / 3.0;
// Stands in a line's G field for a source without a G-sensor ("X:-"): raw 0 would be −6 G.
inline constexpr char kNoGReadingMark[] = "-";

inline double AccelerationInG(double raw) {
  return (raw - kAccZeroRaw) / kAccRawPerG;
}

// The camera's raw reading of `g`, for the chart, which draws raw units.
inline std::int32_t RawOfG(double g) {
  return static_cast<std::int32_t>(std::lround(g * kAccRawPerG + kAccZeroRaw));
}

}  // namespace korvane
