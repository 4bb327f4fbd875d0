// The GPMF reader: the raw payloads cameras wrote (counts and first and last positions as the
// GoPro telemetry library reads them), a drone's clip against ExifTool's fixes point by point,
// the rule that spreads a sample's readings over its duration, and payloads that lie.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "support/file_text.h"
#include "support/gpmf_payload.h"
#include "support/mp4_bytes.h"
#include "support/mp4_data_track.h"
#include "telemetry/civil_date.h"
#include "telemetry/gpmf_file.h"
#include "telemetry/gpmf_klv.h"

namespace korvane::test {
namespace {

std::span<const std::uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct RawCase {
  const char* file;
  const char* device;
  const char* stream;
  std::size_t counts[3];  // GPS readings, fixes, ACCL readings
  double ends[4];         // the first and the last reading's latitude and longitude
};

class GpmfRawTest : public testing::TestWithParam<RawCase> {};

TEST_P(GpmfRawTest, ReadsThePayloadAsTheTelemetryLibraryDoes) {
  const RawCase& c = GetParam();
  const std::string name = std::string("gopro-gpmf/raw/") + c.file;
  KORVANE_NEED_CORPUS(name);
  const std::string bytes = ReadFileText(CorpusFile(name));
  const GpmfPayload payload = DecodeGpmfPayload(Span(bytes));
  EXPECT_EQ(payload.problem, "");
  std::vector<GpmfFix> gps;
  std::size_t accel = 0;
  ASSERT_FALSE(payload.devices.empty());
  EXPECT_EQ(payload.devices.front().name, c.device);
  for (const GpmfDevice& d : payload.devices) {
    if (!d.gps.empty()) {
      EXPECT_EQ(d.gpsStream, c.stream);
    }
    gps.insert(gps.end(), d.gps.begin(), d.gps.end());
    accel += d.accel.size();
  }
  EXPECT_EQ(gps.size(), c.counts[0]);
  EXPECT_EQ(static_cast<std::size_t>(
                std::count_if(gps.begin(), gps.end(), [](const GpmfFix& f) { return f.fix; })),
            c.counts[1]);
  EXPECT_EQ(accel, c.counts[2]);
  if (c.ends[0] == 0) return;
  EXPECT_NEAR(gps.front().latitude, c.ends[0], 1e-7);
  EXPECT_NEAR(gps.front().longitude, c.ends[1], 1e-7);
  EXPECT_NEAR(gps.back().latitude, c.ends[2], 1e-7);
  EXPECT_NEAR(gps.back().longitude, c.ends[3], 1e-7);
  // Resting or moving, the accelerometer's magnitude is about 1 g (9.8 m/s²) on every camera.
  const std::array<double, 3>& a = payload.devices.front().accel.front();
  EXPECT_NEAR(std::hypot(a[0], a[1], a[2]), 9.8, 2.5);
}

INSTANTIATE_TEST_SUITE_P(
    Cameras, GpmfRawTest,
    testing::Values(RawCase{"hero5.raw",
                            "Camera",
                            "GPS5",
                            {18, 18, 199},
                            {33.1264969, -117.3273542, 33.1264973, -117.3273579}},
                    // GPSF 0 and GPSP 9999 (a receiver without a fix): readings, but no points.
                    RawCase{"hero6.raw",
                            "Hero6 Black",
                            "GPS5",
                            {17, 0, 204},
                            {33.1265542, -117.3271299, 33.1265624, -117.3271188}},
                    // The same, with a Bluetooth sensor's device after the camera's.
                    RawCase{"hero6+ble.raw",
                            "Hero6 Black",
                            "GPS5",
                            {18, 0, 198},
                            {33.1267334, -117.3274448, 33.1267334, -117.3274448}},
                    RawCase{"hero7.raw",
                            "Hero7 Black",
                            "GPS5",
                            {308, 308, 3369},
                            {42.3425835, -8.7526142, 42.3423429, -8.752681}},
                    // GPS5 and GPS9 both, with the same 110 readings: GPS9 is read.
                    RawCase{"hero11.raw",
                            "HERO11 Black",
                            "GPS9",
                            {110, 110, 2192},
                            {42.4261529, -8.6499795, 42.4261379, -8.6499978}},
                    RawCase{"Fusion.raw",
                            "Fusion",
                            "GPS5",
                            {19, 19, 197},
                            {33.1266299, -117.3274386, 33.1266363, -117.3274444}},
                    // The camera has no GPS; the drone's position stream (which the library does
                    // not read) has four readings.
                    RawCase{"karma.raw", "Camera", "GLPI", {4, 4, 196}, {}}),
    [](const auto& info) {
      std::string n = info.param.file;
      n = n.substr(0, n.find('.'));
      if (const auto plus = n.find('+'); plus != std::string::npos) n.replace(plus, 1, "_");
      return n;
    });

// ExifTool's fixes of a drone's clip (its -ee read, kept beside the corpus), against ours: the
// count, the time to 1 ms, the position to 1e-6° and the horizontal speed to 0.1 km/h.
TEST(GpmfFileTest, ReadsTheDronesFixesAsExifToolDoes) {
  KORVANE_NEED_CORPUS("gopro-gpmf/karma.mp4");
  KORVANE_NEED_CORPUS("reference/gopro-gpmf__karma.mp4.et12");
  struct Fix {
    std::string time;
    double lat = 0, lon = 0, vx = 0, vy = 0;
  };
  std::vector<Fix> expected;
  std::ifstream reference(CorpusFile("reference/gopro-gpmf__karma.mp4.et12"));
  for (std::string line; std::getline(reference, line);) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos || line.rfind("[Doc", 0) != 0) continue;
    std::istringstream tag(line.substr(line.find(']') + 1));
    std::string name;
    tag >> name;
    const std::string value = line.substr(colon + 2);
    if (name == "GPSDateTime") expected.push_back({value});
    if (expected.empty()) continue;
    if (name == "GPSLatitude") expected.back().lat = std::stod(value);
    if (name == "GPSLongitude") expected.back().lon = std::stod(value);
    if (name == "GPSSpeedX") expected.back().vx = std::stod(value);
    if (name == "GPSSpeedY") expected.back().vy = std::stod(value);
  }
  ASSERT_EQ(expected.size(), 47u);
  CMp4File file(CorpusFile("gopro-gpmf/karma.mp4"));
  const GpmfFile gpmf = ReadGpmfFile(file.size(), file.readAt());
  EXPECT_EQ(gpmf.problem, "");
  EXPECT_EQ(gpmf.samples, 13);
  EXPECT_EQ(gpmf.track.device, "GoPro Karma v1.0");
  EXPECT_TRUE(gpmf.track.otherDevice);
  EXPECT_TRUE(gpmf.track.gValues);  // the camera's accelerometer under the drone's GPS
  ASSERT_EQ(gpmf.track.records.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TelemetryRecord& r = gpmf.track.records[i];
    const Fix& e = expected[i];
    // "2017:04:17 19:27:57.52602"
    const CivilTime t{std::stoi(e.time.substr(0, 4)),
                      unsigned(std::stoi(e.time.substr(5, 2))),
                      unsigned(std::stoi(e.time.substr(8, 2))),
                      unsigned(std::stoi(e.time.substr(11, 2))),
                      unsigned(std::stoi(e.time.substr(14, 2))),
                      0};
    const double seconds = std::stod(e.time.substr(17));
    const double expectedMs = (SecondsFromCivil(t) + seconds) * 1000;
    const double gotMs = static_cast<double>(SecondsFromCivil(
                             {r.year, r.month, r.day, r.hour, r.minute, r.second})) *
                             1000 +
                         r.millisecond;
    EXPECT_NEAR(gotMs, expectedMs, 1) << i;
    EXPECT_TRUE(r.valid) << i;
    EXPECT_NEAR(r.latitude, e.lat, 1e-6) << i;
    EXPECT_NEAR(r.longitude, e.lon, 1e-6) << i;
    EXPECT_NEAR(r.speedKmh, std::hypot(e.vx, e.vy) * 3.6, 0.1) << i;
  }
  // At most twice the track's samples and the moov, never the video.
  std::uint64_t moov = 0;
  std::string ignored;
  ForEachMp4Box(file.readAt(), 0, file.size(), ignored, [&](const Mp4Box& box) {
    if (box.Is("moov")) moov = box.size;
    return true;
  });
  EXPECT_GT(gpmf.sampleBytes, 0u);
  EXPECT_LE(file.bytesRead(), 2 * gpmf.sampleBytes + moov);
}

// One sample of ten readings and 200 accelerometer readings lasting 1001 ms: reading i plays at
// i × 100.1 ms and is timed GPSU + i × 100.1 ms; each carries the mean of its 20 ACCL readings.
TEST(GpmfTrackTest, SpreadsASamplesReadingsOverItsDuration) {
  GpmfSecond second = GpmfDriveSecond(0);
  for (std::size_t k = 0; k < second.accl.size(); ++k) {
    second.accl[k] = {9.80665, 0, k < 100 ? 0.0 : -9.80665};
  }
  second.orin = "ZXY";
  const std::string bytes = GpmfCameraSample(second);
  const GpmfSample samples[] = {{DecodeGpmfPayload(Span(bytes)), 5000, 1001}};
  const GpmfTrack track = ReadGpmfTrack(samples);
  ASSERT_EQ(track.records.size(), 10u);
  EXPECT_EQ(track.fixes, 10);
  EXPECT_EQ(track.gpsStream, "GPS5");
  for (int i = 0; i < 10; ++i) {
    const TelemetryRecord& r = track.records[static_cast<std::size_t>(i)];
    const std::int64_t at = 1001 * i / 10;
    EXPECT_EQ(r.mediaTimeMs, 5000 + at) << i;
    EXPECT_EQ(r.second * 1000 + r.millisecond, at) << i;
    EXPECT_NEAR(r.speedKmh, 36, 1e-3);
    // ORIN ZXY: the first value is z, the second x, the third y.
    EXPECT_NEAR(r.gZ, 1, 1e-3) << i;
    EXPECT_NEAR(r.gY, i < 5 ? 0 : -1, 1e-3) << i;
  }
}

struct BadCase {
  const char* name;
  std::string bytes;
  const char* problem;  // a part of it
  std::size_t readings;
};

class GpmfBadInputTest : public testing::TestWithParam<BadCase> {};

TEST_P(GpmfBadInputTest, KeepsWhatReadsAndSaysWhatDidNot) {
  const BadCase& c = GetParam();
  const GpmfPayload payload = DecodeGpmfPayload(Span(c.bytes));
  std::size_t readings = 0;
  for (const GpmfDevice& d : payload.devices) readings += d.gps.size();
  EXPECT_EQ(readings, c.readings);
  EXPECT_NE(payload.problem.find(c.problem), std::string::npos) << payload.problem;
}

std::string Gps5Stream(const std::string& scal, int repeat, const std::string& values) {
  return GpmfNest("DEVC", GpmfNest("STRM", scal + GpmfItemBytes("GPS5", 'l', 20, repeat, values)));
}
const std::string kScale = GpmfItemBytes(
    "SCAL", 'l', 4, 5, Be32(10000000) + Be32(10000000) + Be32(1000) + Be32(1000) + Be32(100));
const std::string kOneReading = Be32(504500000) + Be32(305200000) + Be32(1000) + Be32(1) + Be32(1);

std::string Nested(int depth) {
  std::string s = GpmfItemBytes("GPS5", 'l', 20, 1, kOneReading);
  for (int i = 0; i < depth; ++i) s = GpmfNest("STRM", s);
  return GpmfNest("DEVC", s);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, GpmfBadInputTest,
    testing::Values(
        BadCase{"SizePastTheEnd", Gps5Stream(kScale, 3, kOneReading), "runs past", 0},
        // 255 × 65535 bytes claimed by a 12-byte item.
        BadCase{"RepeatBeyondTheSample",
                GpmfNest("DEVC", GpmfNest("STRM", std::string("GPS5\x6c\xff\xff\xff\xff", 8))),
                "runs past", 0},
        BadCase{"UnknownType",
                GpmfNest("DEVC",
                         GpmfNest("STRM", kScale + GpmfItemBytes("GPS5", 'Z', 20, 1, kOneReading))),
                "unknown layout", 0},
        BadCase{"ZeroScale",
                Gps5Stream(GpmfItemBytes("SCAL", 'l', 4, 5, Be(0, 20)), 1, kOneReading),
                "SCAL does not fit", 0},
        BadCase{"ScaleOfAnotherWidth",
                Gps5Stream(GpmfItemBytes("SCAL", 'l', 4, 2, Be(7, 8)), 1, kOneReading),
                "SCAL does not fit", 0},
        // Only DEVC > STRM > readings is walked: nesting deeper is not followed.
        BadCase{"NestingWithoutEnd", Nested(200), "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A clip whose `gpmd` sample table points outside the file: nothing is read from beyond it.
TEST(GpmfFileTest, ATablePointingOutsideTheFileGivesNoTrack) {
  TempDir dir;
  DataTrack track;
  track.samples.push_back({GpmfCameraSample(GpmfDriveSecond(0)), 1000});
  const std::string clip = dir.str() + "gopro.mp4";
  ASSERT_TRUE(WriteClipWithDataTrack(SamplePath("mixed/no_gps.mp4"), clip, track));
  std::string bytes = ReadFileText(clip);
  const std::size_t co64 = bytes.rfind("co64");
  ASSERT_NE(co64, std::string::npos);
  PutBe(bytes, co64 + 12, bytes.size() + 100, 8);
  const GpmfFile gpmf = ReadGpmfFile(bytes.size(), MemoryReadAt(Span(bytes)));
  EXPECT_FALSE(gpmf.hasTrack);
  EXPECT_NE(gpmf.problem, "");
}

}  // namespace
}  // namespace korvane::test
