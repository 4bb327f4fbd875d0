// GPMF payloads as action cameras write them, for the tests and benchmarks of the GPMF reader:
// items by hand, and one second of a camera's GPS5 and ACCL streams. Bytes only: nothing of the
// program's reader is used.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test {

// One item: key, type, structure size, repeat, then `data` padded to 32 bits. The sizes are
// given, not computed, so a test can make them lie.
std::string GpmfItemBytes(const std::string& key, char type, int structSize, int repeat,
                          const std::string& data);
// A nested item (type 0) holding `items`.
std::string GpmfNest(const std::string& key, const std::string& items);

struct GpmfSecond {
  std::string gpsu = "260518083000.000";  // yymmddhhmmss.sss of the first reading
  std::vector<std::vector<double>> gps5;  // lat, lon, alt, 2D speed, 3D speed
  std::vector<std::vector<double>> accl;  // m/s², in stream order
  int fix = 3;                            // GPSF
  int precision = 150;                    // GPSP
  std::string orin;                       // ORIN; none when empty
};

// A camera's DEVC for one sample: ACCL (SCAL 418) and GPS5 (SCAL 1e7 1e7 1000 1000 100).
std::string GpmfCameraSample(const GpmfSecond& second);

// Second `i` of a drive north-east at about 36 km/h with 10 readings a second and 200 ACCL
// readings of 1 g on the first axis (up) and 0.25 g braking on the third, from `gpsu` at second 0.
GpmfSecond GpmfDriveSecond(int i);

// A clip made from `mp4` (an ffmpeg MP4) with a `gpmd` track of `seconds` of that drive, a
// sample a second. False when `mp4` is no such MP4.
bool WriteGoProClip(const std::string& mp4, const std::string& out, int seconds);

}  // namespace korvane::test
