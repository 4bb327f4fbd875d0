// SigmaStar's `ssmd` GPS track: the record decoder on its bad values, the dating of a day in the
// clip's month, the source on generated clips with broken samples, and the corpus clips pinned to
// fixes decoded by hand from their bytes (skipped without the corpus beside the source tree).
#include "telemetry/sigmastar_ssmd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "corpus_sidecar.h"
#include "source_read.h"
#include "support/camera_track_records.h"
#include "support/mp4_data_track.h"
#include "support/temp_dir.h"
#include "telemetry/sigmastar_source.h"

namespace korvane::test {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::int64_t Ms(std::int64_t y, unsigned mo, unsigned d, unsigned h, unsigned mi, unsigned s) {
  return SecondsFromCivil({y, mo, d, h, mi, s}) * 1000;
}

std::int64_t TimeOf(const TelemetryRecord& r) {
  return Ms(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct RecordCase {
  const char* name;
  std::function<void(SsmdFields&)> edit;
  korvane::SsmdRecord::Kind kind;
  std::size_t size = 40;
};

class SsmdRecordRead : public testing::TestWithParam<RecordCase> {};

TEST_P(SsmdRecordRead, GivesAFixOnlyForARealPositionAndTime) {
  SsmdFields f;
  GetParam().edit(f);
  std::string bytes = SsmdRecordBytes(f);
  bytes.resize(GetParam().size);
  EXPECT_EQ(DecodeSsmdRecord(Bytes(bytes)).kind, GetParam().kind);
}

using K = korvane::SsmdRecord::Kind;
INSTANTIATE_TEST_SUITE_P(
    Cases, SsmdRecordRead,
    testing::Values(
        RecordCase{"Fix", [](SsmdFields&) {}, K::Fix},
        RecordCase{"NoFixMark", [](SsmdFields& f) { f.fix = false; }, K::NoFix},
        RecordCase{"Day0", [](SsmdFields& f) { f.day = 0; }, K::Unreadable},
        RecordCase{"Day32", [](SsmdFields& f) { f.day = 32; }, K::Unreadable},
        RecordCase{"Hour25", [](SsmdFields& f) { f.hour = 25; }, K::Unreadable},
        RecordCase{"NanLatitude", [](SsmdFields& f) { f.latitude = kNan; }, K::Unreadable},
        RecordCase{"InfLongitude", [](SsmdFields& f) { f.longitude = -kInf; }, K::Unreadable},
        RecordCase{"Latitude91", [](SsmdFields& f) { f.latitude = 91; }, K::Unreadable},
        RecordCase{"Short", [](SsmdFields&) {}, K::Unreadable, 39}),
    [](const auto& info) { return std::string(info.param.name); });

struct MonthCase {
  const char* name;
  CivilDate clip;
  std::vector<unsigned> days;
  std::vector<std::pair<std::int64_t, unsigned>> months;  // year and month of each day
};

class SsmdDating : public testing::TestWithParam<MonthCase> {};

TEST_P(SsmdDating, PutsEachDayInTheClipsMonthOrTheNext) {
  const MonthCase& c = GetParam();
  CSsmdTrackDecoder decoder(c.clip);
  for (const unsigned day : c.days) {
    SsmdFields f;
    f.day = static_cast<std::uint8_t>(day);
    decoder.AddSample(Bytes(SsmdRecordBytes(f)), 0, 1000);
  }
  const SsmdTrack& track = decoder.track();
  ASSERT_EQ(track.records.size(), c.months.size());
  for (std::size_t i = 0; i < c.months.size(); ++i) {
    EXPECT_EQ(track.records[i].year, c.months[i].first) << i;
    EXPECT_EQ(track.records[i].month, c.months[i].second) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SsmdDating,
    testing::Values(
        MonthCase{"SameMonth", {2026, 7, 20}, {20, 21}, {{2026, 7}, {2026, 7}}},
        MonthCase{"RollsIntoTheNextMonth", {2026, 5, 31}, {31, 1}, {{2026, 5}, {2026, 6}}},
        MonthCase{"RollsIntoTheNextYear", {2026, 12, 31}, {31, 1}, {{2026, 12}, {2027, 1}}},
        MonthCase{"ALocalNameAfterTheUtcMonthsEnd", {2026, 6, 1}, {31, 31}, {{2026, 5}, {2026, 5}}},
        MonthCase{
            "ADayLessIsTheClockAroundMidnight", {2026, 7, 21}, {21, 20}, {{2026, 7}, {2026, 7}}},
        MonthCase{"ADayTheMonthHasNot", {2026, 4, 10}, {10, 31}, {{2026, 4}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SsmdTrack, SpreadsASamplesRecordsOverItsDuration) {
  CSsmdTrackDecoder decoder({2026, 5, 18});
  decoder.AddSample(
      Bytes(SsmdRecordBytes({}) + SsmdRecordBytes({}) + SsmdRecordBytes({}) + SsmdRecordBytes({})),
      2000, 1000);
  std::vector<std::int32_t> media;
  for (const TelemetryRecord& r : decoder.track().records) media.push_back(r.mediaTimeMs);
  EXPECT_EQ(media, (std::vector<std::int32_t>{2000, 2250, 2500, 2750}));
}

struct SourceCase {
  const char* name;
  std::vector<std::string> samples;
  int cut;  // bytes cut off the file's end
  bool present;
  int records;
  const char* reason;
};

class SsmdSource : public testing::TestWithParam<SourceCase> {};

TEST_P(SsmdSource, SaysWhatItReadAndSkipped) {
  const SourceCase& c = GetParam();
  TempDir dir;
  const std::string clip = dir.str() + "2026_0518_113000_F.mp4";
  DataTrack track{"meta", "ssmd", 1000, {}, {}};
  for (const std::string& sample : c.samples) track.samples.push_back({sample, 1000});
  ASSERT_TRUE(WriteClipWithDataTrack(NoSubtitleClip(), clip, track));
  std::filesystem::resize_file(clip, std::filesystem::file_size(clip) - c.cut);
  const SourceRead r = ReadSource<CSigmaStarSource>(clip);
  EXPECT_EQ(r.read.present, c.present);
  EXPECT_EQ(r.read.records, c.records);
  EXPECT_EQ(static_cast<int>(r.fixes.size()), c.records);
  EXPECT_EQ(r.read.reason, c.reason);
}

const std::string kFix = SsmdRecordBytes({});
const std::string kNoFix = SsmdRecordBytes({.fix = false});
INSTANTIATE_TEST_SUITE_P(
    Cases, SsmdSource,
    testing::Values(
        SourceCase{"NoFixMarksOnly", {kNoFix, kNoFix}, 0, true, 0, "SigmaStar GPS track: no fix"},
        SourceCase{"AnotherMakersSsmd",
                   {std::string(184, 'x')},
                   0,
                   false,
                   0,
                   "a track of the SigmaStar GPS track's format that does not read (5 records "
                   "unread)"},
        SourceCase{"RecordsSkipped",
                   {kFix, SsmdRecordBytes({.day = 0}), kFix + "x"},
                   0,
                   true,
                   1,
                   "SigmaStar GPS track: year and month from the clip's file name; 3 records "
                   "unread"},
        SourceCase{
            "ATableOutsideTheFile",
            {kFix, kFix, kFix},
            60,
            true,
            1,
            "SigmaStar GPS track: year and month from the clip's file name; samples outside the "
            "file were dropped"}),
    [](const auto& info) { return std::string(info.param.name); });

// A fix decoded by hand from the bytes: media ms, UTC, altitude, speed, heading.
struct HandFix {
  std::int32_t mediaMs;
  std::int64_t utc;
  float altitude, speed, heading;
};

struct CorpusCase {
  const char* file;
  const char* datedName;  // a copy named for its day, for the year and month
  int fixes, noFix;
  HandFix first, last;
  double latitude, longitude;  // the anonymiser's whole degrees
};

void ExpectFix(const TelemetryRecord& r, const HandFix& f, const CorpusCase& c) {
  EXPECT_EQ(r.mediaTimeMs, f.mediaMs);
  EXPECT_EQ(TimeOf(r), f.utc);
  EXPECT_EQ(r.altitudeM, f.altitude);
  EXPECT_EQ(r.speedKmh, f.speed);
  EXPECT_EQ(r.headingDeg, f.heading);
  EXPECT_EQ(r.latitude, c.latitude);
  EXPECT_EQ(r.longitude, c.longitude);
}

class SsmdCorpus : public testing::TestWithParam<CorpusCase> {};

TEST_P(SsmdCorpus, GivesTheFixesDecodedByHand) {
  const CorpusCase& c = GetParam();
  KORVANE_NEED_CORPUS(c.file);
  TempDir dir;
  const std::string clip = dir.str() + c.datedName;
  std::filesystem::copy_file(CorpusFile(c.file), clip);
  const SourceRead r = ReadSource<CSigmaStarSource>(clip);
  EXPECT_EQ(r.read.reason, "SigmaStar GPS track: year and month from the clip's file name");
  ASSERT_EQ(static_cast<int>(r.fixes.size()), c.fixes);
  EXPECT_EQ(r.noFix, c.noFix);
  ExpectFix(r.fixes.front(), c.first, c);
  ExpectFix(r.fixes.back(), c.last, c);
}

// Named in July 2026; the fixes' UTC is three hours behind the no-fix rows' camera clock.
INSTANTIATE_TEST_SUITE_P(
    Files, SsmdCorpus,
    testing::Values(CorpusCase{"sigmastar-ssmd/neoline-spectrum-front.mp4",
                               "2026_0720_214500.mp4",
                               72,
                               120,
                               {0, Ms(2026, 7, 20, 18, 45, 27), 365, 16, 244},
                               {178910, Ms(2026, 7, 20, 18, 48, 26), 300, 128, 110},
                               45.0,
                               39.0},
                    CorpusCase{"sigmastar-ssmd/neoline-spectrum-4k-front.mp4",
                               "2026_0725_120400.mp4",
                               237,
                               64,
                               {62993, Ms(2026, 7, 25, 9, 4, 25), 153, 15, 0},
                               {299035, Ms(2026, 7, 25, 9, 8, 21), 133, 0, 22},
                               56.0,
                               40.0}),
    [](const auto& info) {
      return std::string(info.index == 0 ? "NeolineSpectrum" : "NeolineSpectrum4k");
    });

}  // namespace
}  // namespace korvane::test
