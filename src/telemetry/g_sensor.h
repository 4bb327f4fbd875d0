// The G-sensor's raw readings in G: the camera writes 2000 for 0 G and 333.3 units per G.
#pragma once
#include <cstdint>

namespace korvane {

inline constexpr double kGSensorZeroRaw = 2000.0;
inline constexpr double kGSensorRawPerG = 333.3;

inline double GFromRaw(std::int32_t raw) {
  return (raw - kGSensorZeroRaw) / kGSensorRawPerG;
}

}  // namespace korvane
