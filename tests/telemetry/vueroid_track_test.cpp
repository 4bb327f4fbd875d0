// Vueroid's `mp4s` telemetry track: the record decoder on its bad values and hemispheres, the
// per-clip accelerometer offset and the milliseconds within a second, the source on generated
// clips, and the corpus clip pinned to fixes decoded by hand from its bytes (skipped without the
// corpus beside the source tree).
#include "telemetry/vueroid_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "source_read.h"
#include "support/camera_track_records.h"
#include "support/mp4_data_track.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"
#include "telemetry/vueroid_source.h"

namespace korvane::test {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
using K = korvane::VueroidRecord::Kind;

struct RecordCase {
  const char* name;
  std::function<void(VueroidFields&)> edit;
  K kind;
  std::size_t size = 72;
};

class VueroidRecordRead : public testing::TestWithParam<RecordCase> {};

TEST_P(VueroidRecordRead, GivesAFixOnlyForARealPositionAndTime) {
  VueroidFields f;
  GetParam().edit(f);
  std::string bytes = VueroidRecordBytes(f);
  bytes.resize(GetParam().size);
  EXPECT_EQ(DecodeVueroidRecord(Bytes(bytes)).kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VueroidRecordRead,
    testing::Values(
        RecordCase{"Fix", [](VueroidFields&) {}, K::Fix},
        RecordCase{"NoFix", [](VueroidFields& f) { f.fix = false; }, K::NoFix},
        RecordCase{"Empty", [](VueroidFields& f) { f = {.fix = false, .cameraSeconds = 0}; },
                   K::NoFix},
        RecordCase{"NanLatitude", [](VueroidFields& f) { f.latitudeDdmm = kNan; }, K::Unreadable},
        RecordCase{"InfLongitude", [](VueroidFields& f) { f.longitudeDdmm = kInf; }, K::Unreadable},
        RecordCase{"Minutes60", [](VueroidFields& f) { f.latitudeDdmm = 5060.0f; }, K::Unreadable},
        RecordCase{"Latitude91", [](VueroidFields& f) { f.latitudeDdmm = 9100.0f; }, K::Unreadable},
        RecordCase{"NanSpeed", [](VueroidFields& f) { f.speedKmh = kNan; }, K::Unreadable},
        RecordCase{"InfG", [](VueroidFields& f) { f.g[2] = -kInf; }, K::Unreadable},
        RecordCase{"G20", [](VueroidFields& f) { f.g[0] = 20.0f; }, K::Unreadable},
        RecordCase{"TimeBefore2000", [](VueroidFields& f) { f.cameraSeconds = 900'000'000; },
                   K::Unreadable},
        RecordCase{"Short", [](VueroidFields&) {}, K::Unreadable, 71}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VueroidRecordRead, SignsTheDegreesOfDdmmByTheHemisphereBits) {
  for (const std::uint8_t flags : {0, 1, 2, 3}) {
    VueroidFields f;
    f.hemispheres = flags;
    f.latitudeDdmm = 3352.5f;    // 33° 52.5'
    f.longitudeDdmm = 15112.5f;  // 151° 12.5'
    const VueroidRecord r = DecodeVueroidRecord(Bytes(VueroidRecordBytes(f)));
    ASSERT_EQ(r.kind, K::Fix);
    EXPECT_NEAR(r.latitude, (flags & 1 ? -1 : 1) * 33.875, 1e-9) << int{flags};
    EXPECT_NEAR(r.longitude, (flags & 2 ? -1 : 1) * 151.20833333333334, 1e-9) << int{flags};
  }
}

TEST(VueroidTrack, TakesTheClipsMeanReadingOffAndTimesTheTwentiethsOfASecond) {
  CVueroidTrackDecoder decoder;
  // Half a second in the second before, then a whole one; the third reading jolts 0.3 g.
  for (int i = 0; i < 30; ++i) {
    VueroidFields f;
    f.cameraSeconds += i < 10 ? 0 : 1;
    f.g[0] = i == 12 ? 1.05f : 0.75f;
    decoder.AddSample(Bytes(VueroidRecordBytes(f)), 500 + 50 * i);
  }
  decoder.AddSample(Bytes(VueroidRecordBytes({.g = {0.0f, 0.0f, 30.0f}})), 2000);
  const VueroidTrack track = decoder.Finish();
  EXPECT_EQ(track.fixes, 30);
  EXPECT_EQ(track.skipped, 1);
  EXPECT_TRUE(track.gValues);
  EXPECT_NEAR(track.offsetG[0], 0.76f, 1e-6);
  EXPECT_NEAR(track.offsetG[2], 0.33f, 1e-6);
  EXPECT_NEAR(track.records[12].gX, 0.29f, 1e-6);
  EXPECT_NEAR(track.records[13].gX, -0.01f, 1e-6);
  EXPECT_NEAR(track.records[13].gZ, 0.0f, 1e-6);
  EXPECT_EQ(track.records[9].second, 0u);
  EXPECT_EQ(track.records[9].millisecond, 450u);
  EXPECT_EQ(track.records[10].second, 1u);
  EXPECT_EQ(track.records[10].millisecond, 0u);
  EXPECT_EQ(track.records[29].millisecond, 950u);
}

TEST(VueroidSource, IsNotThereForAnotherMp4sTrack) {
  TempDir dir;
  const std::string clip = dir.str() + "other.mp4";
  const DataTrack track{"sdsm", "mp4s", 1000, {{VueroidRecordBytes({}), 1000}}, {}};
  ASSERT_TRUE(WriteClipWithDataTrack(NoSubtitleClip(), clip, track));
  const SourceRead r = ReadSource<CVueroidSource>(clip);
  EXPECT_FALSE(r.read.present);
  EXPECT_EQ(r.read.reason, "no Vueroid GPS track");
}

TEST(VueroidSource, CorpusClipGivesTheFixesDecodedByHand) {
  const char* file = "vueroid-tvxt/vueroid-s1-real-anonymized.mp4";
  KORVANE_NEED_CORPUS(file);
  const SourceRead r = ReadSource<CVueroidSource>(CorpusFile(file));
  EXPECT_TRUE(r.read.gValues);
  EXPECT_EQ(r.read.reason, "");
  ASSERT_EQ(r.fixes.size(), 60u);  // and one empty record at the end
  const TelemetryRecord& first = r.fixes.front();
  EXPECT_EQ(first.mediaTimeMs, 0);
  // 1762851263: the camera's clock, written as if UTC.
  EXPECT_EQ(SecondsFromCivil(
                {first.year, first.month, first.day, first.hour, first.minute, first.second}),
            1762851263);
  EXPECT_EQ(first.latitude, 50.0);
  EXPECT_EQ(first.longitude, 30.0);
  EXPECT_EQ(first.speedKmh, 27.0f);
  EXPECT_EQ(first.altitudeM, 55.0f);
  // The clip's mean reading (0.73971, -0.03535, 0.33040) taken off.
  EXPECT_NEAR(first.gX, -0.0014323, 1e-6);
  EXPECT_NEAR(first.gY, -0.0779297, 1e-6);
  EXPECT_NEAR(first.gZ, -0.0491536, 1e-6);
  const TelemetryRecord& last = r.fixes.back();
  EXPECT_EQ(last.mediaTimeMs, 2971);
  EXPECT_EQ(last.second, 26u);
  EXPECT_EQ(last.millisecond, 554u);
  EXPECT_DOUBLE_EQ(last.latitude, 50.000301106770834);
  EXPECT_DOUBLE_EQ(last.longitude, 30.000301106770834);
  EXPECT_EQ(last.speedKmh, 47.0f);
  EXPECT_NEAR(last.gX, -0.0326823, 1e-6);
  EXPECT_NEAR(last.gZ, 0.0055339, 1e-6);
}

}  // namespace
}  // namespace korvane::test
