// Records of the cameras' telemetry tracks as the cameras write them (SigmaStar's 40-byte `ssmd`
// records, Vueroid's 72-byte `mp4s` records), and clips holding a drive of them, for the tests
// and benchmarks of those readers. Bytes only: nothing of the program's decoders is used.
#pragma once
#include <cstdint>
#include <string>

namespace korvane::test {

struct SsmdFields {
  bool fix = true;  // else the no-fix mark, with the camera's clock
  double latitude = 50.45, longitude = 30.52;
  std::int32_t altitude = 160;
  std::uint16_t speedKmh = 50;
  std::uint8_t halfHeading = 45;
  std::uint8_t day = 18, hour = 8, minute = 30, second = 0;
};
std::string SsmdRecordBytes(const SsmdFields& f);

struct VueroidFields {
  bool fix = true;
  std::uint8_t hemispheres = 0;   // bit 0 south, bit 1 west
  float latitudeDdmm = 5027.0f;   // 50° 27'
  float longitudeDdmm = 3031.2f;  // 30° 31.2'
  float speedKmh = 50.0f;
  std::int16_t altitude = 160;
  float g[3] = {0.75f, -0.04f, 0.33f};       // a camera's reading at rest: its offset
  std::uint32_t cameraSeconds = 1779093000;  // 2026-05-18 08:30:00 on its clock
};
std::string VueroidRecordBytes(const VueroidFields& f);

// A clip made from `mp4` (an ffmpeg MP4) with `seconds` of a drive north-east at about 50 km/h
// from 50.45 N 30.52 E on 2026-05-18 08:30:00: SigmaStar's `ssmd` track, one record a second
// (timescale 90000), or Vueroid's `mp4s` under `tvxt`, twenty a second, its G readings resting
// at the offset above but for a 0.5 g jolt forward at second 2. False when `mp4` is no such MP4.
bool WriteSsmdClip(const std::string& mp4, const std::string& out, int seconds);
bool WriteVueroidClip(const std::string& mp4, const std::string& out, int seconds);

// A family's generated clip for the tests over both: the family, a file name its camera would
// write (its name's date the drive's, on the camera's clock), the track's format, the writer.
struct TrackClip {
  const char* family;
  const char* fileName;
  const char* format;
  int recordsPerSecond;
  bool (*write)(const std::string& mp4, const std::string& out, int seconds);
};
inline constexpr TrackClip kSsmdClip{"SigmaStar", "2026_0518_113000_F.mp4", "ssmd", 1,
                                     WriteSsmdClip};
inline constexpr TrackClip kVueroidClip{"Vueroid", "INF_20260518_083000_F.mp4", "mp4s", 20,
                                        WriteVueroidClip};

}  // namespace korvane::test
