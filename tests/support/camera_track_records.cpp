#include "support/camera_track_records.h"

#include <cstring>

#include "support/mp4_data_track.h"

namespace korvane::test {
namespace {

template <typename T>
void Put(std::string& bytes, std::size_t at, T value) {
  // The cameras write little-endian, as the machines the tests run on are.
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

constexpr double kNoFix = 4294967295.0;
// A step of the drive: about 50 km/h north-east.
constexpr double kStepDegrees = 0.0001;

}  // namespace

std::string SsmdRecordBytes(const SsmdFields& f) {
  std::string b(40, '\0');
  Put(b, 0, f.fix ? f.latitude : kNoFix);
  Put(b, 8, f.fix ? f.longitude : kNoFix);
  Put(b, 16, f.fix ? f.altitude : -1);
  Put<std::uint16_t>(b, 20, f.fix ? f.speedKmh : 0xffff);
  b[22] = 126;
  b[23] = f.fix ? 7 : 4;
  b[24] = static_cast<char>(f.day);
  b[25] = static_cast<char>(f.hour);
  b[26] = static_cast<char>(f.minute);
  b[27] = static_cast<char>(f.second);
  b[28] = static_cast<char>(f.fix ? f.halfHeading : 0xff);
  b[29] = f.fix ? 1 : 0;
  return b;
}

std::string VueroidRecordBytes(const VueroidFields& f) {
  std::string b(72, '\0');
  for (int axis = 0; axis < 3; ++axis) Put(b, 40 + 4 * axis, f.g[axis]);
  b[52] = f.fix ? 1 : 0;
  b[53] = static_cast<char>(f.hemispheres);
  Put(b, 54, f.altitude);
  Put(b, 56, f.speedKmh);
  Put(b, 60, f.latitudeDdmm);
  Put(b, 64, f.longitudeDdmm);
  Put(b, 68, f.cameraSeconds);
  return b;
}

bool WriteSsmdClip(const std::string& mp4, const std::string& out, int seconds) {
  DataTrack track{"meta", "ssmd", 90000, {}, {}};
  for (int i = 0; i < seconds; ++i) {
    SsmdFields f;
    f.latitude += i * kStepDegrees;
    f.longitude += i * kStepDegrees;
    f.minute = static_cast<std::uint8_t>(30 + i / 60);
    f.second = static_cast<std::uint8_t>(i % 60);
    track.samples.push_back({SsmdRecordBytes(f), 90000});
  }
  return WriteClipWithDataTrack(mp4, out, track);
}

bool WriteVueroidClip(const std::string& mp4, const std::string& out, int seconds) {
  DataTrack track{"tvxt", "mp4s", 1000, {}, {}};
  for (int i = 0; i < seconds * 20; ++i) {
    VueroidFields f;
    const int second = i / 20;
    // DDmm: a step of 0.0001 degrees is 0.006 minutes.
    f.latitudeDdmm += static_cast<float>(second * kStepDegrees * 60);
    f.longitudeDdmm += static_cast<float>(second * kStepDegrees * 60);
    f.cameraSeconds += static_cast<std::uint32_t>(second);
    if (second == 2 && i % 20 == 0) f.g[0] += 0.5f;
    track.samples.push_back({VueroidRecordBytes(f), 50});
  }
  return WriteClipWithDataTrack(mp4, out, track);
}

}  // namespace korvane::test
