// The G-sensor's raw readings in G, for everything that shows or writes them (the chart, the
// export): the camera writes 2000 for 0 G and 1000 units for 3 G.
#pragma once

namespace korvane {

inline constexpr double kAccZeroRaw = 2000.0;
inline constexpr double kAccRawPerG = 1000.0 / 3.0;

inline double AccelerationInG(double raw) {
  return (raw - kAccZeroRaw) / kAccRawPerG;
}

}  // namespace korvane
