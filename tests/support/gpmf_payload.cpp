#include "support/gpmf_payload.h"

#include <cmath>
#include <cstdio>

#include "support/mp4_bytes.h"
#include "support/mp4_data_track.h"

namespace korvane::test {
namespace {

std::string Values(const std::vector<std::vector<double>>& rows, const std::vector<double>& scale,
                   int bytes) {
  std::string s;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      const auto v = static_cast<std::int64_t>(std::llround(row[i] * scale[i % scale.size()]));
      s += Be(static_cast<std::uint64_t>(v), bytes);
    }
  }
  return s;
}

}  // namespace

std::string GpmfItemBytes(const std::string& key, char type, int structSize, int repeat,
                          const std::string& data) {
  std::string padded = data;
  padded.resize((data.size() + 3) / 4 * 4, '\0');
  return key + type + static_cast<char>(structSize) + Be(static_cast<std::uint64_t>(repeat), 2) +
         padded;
}

std::string GpmfNest(const std::string& key, const std::string& items) {
  return key + '\0' + '\1' + Be(items.size(), 2) + items;
}

std::string GpmfCameraSample(const GpmfSecond& s) {
  std::string accl = GpmfItemBytes("SCAL", 's', 2, 1, Be(418, 2));
  if (!s.orin.empty()) accl += GpmfItemBytes("ORIN", 'c', 1, 3, s.orin);
  accl += GpmfItemBytes("ACCL", 's', 6, static_cast<int>(s.accl.size()), Values(s.accl, {418}, 2));
  const std::vector<double> scale = {1e7, 1e7, 1000, 1000, 100};
  std::string scal;
  for (double v : scale) scal += Be(static_cast<std::uint64_t>(v), 4);
  const std::string gps =
      GpmfItemBytes("GPSF", 'L', 4, 1, Be32(s.fix)) + GpmfItemBytes("GPSU", 'U', 16, 1, s.gpsu) +
      GpmfItemBytes("GPSP", 'S', 2, 1, Be(s.precision, 2)) +
      GpmfItemBytes("SCAL", 'l', 4, 5, scal) +
      GpmfItemBytes("GPS5", 'l', 20, static_cast<int>(s.gps5.size()), Values(s.gps5, scale, 4));
  return GpmfNest("DEVC", GpmfItemBytes("DVID", 'L', 4, 1, Be32(1)) +
                              GpmfItemBytes("DVNM", 'c', 1, 6, "Camera") + GpmfNest("STRM", accl) +
                              GpmfNest("STRM", gps));
}

GpmfSecond GpmfDriveSecond(int i) {
  GpmfSecond s;
  char gpsu[32];
  std::snprintf(gpsu, sizeof gpsu, "2605180830%02d.000", i % 60);
  s.gpsu = gpsu;
  for (int k = 0; k < 10; ++k) {
    const double t = i + k / 10.0;
    s.gps5.push_back({50.45 + 0.00007 * t, 30.52 + 0.00011 * t, 180, 10, 10});
  }
  for (int k = 0; k < 200; ++k) s.accl.push_back({9.80665, 0, -0.25 * 9.80665});
  return s;
}

bool WriteGoProClip(const std::string& mp4, const std::string& out, int seconds) {
  DataTrack track;
  for (int i = 0; i < seconds; ++i) {
    track.samples.push_back({GpmfCameraSample(GpmfDriveSecond(i)), 1000});
  }
  return WriteClipWithDataTrack(mp4, out, track);
}

}  // namespace korvane::test
