// The indexer on clips whose telemetry is not (only) their own track: the generated mixed folder,
// where a clip has its own track, a GPS log beside it or nothing, and the choices between sources.
// A GPS log without G-sensor lines has no G values: no events are found in it, whatever the
// rules; a camera's log with them (upper-case .NMEA, $GSENSORD in g) has both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "index/clip_events.h"
#include "index/clip_file.h"
#include "index/index_reader.h"
#include "index/trips.h"
#include "indexer_run.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/nmea_sentence.h"

namespace korvane::test {
namespace {

namespace fs = std::filesystem;

std::string Mixed(const std::string& name) {
  return SamplePath("mixed/" + name);
}

class SidecarIndex : public testing::Test {
 protected:
  TempDir dir;
  std::string db = dir.str() + "index.sqlite";
};

TEST_F(SidecarIndex, TheMixedFolderIsIndexedFromOwnTrackGpsLogOrNotAtAll) {
  const ProgramRun run =
      IndexClips(db, {Mixed("own_track.mp4"), Mixed("sidecar_only.mp4"), Mixed("no_gps.mp4")});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  CIndexReader reader(db);

  const ClipSummary own = reader.GetClip(Mixed("own_track.mp4"));
  EXPECT_EQ(own.status, ClipStatus::Indexed);
  EXPECT_EQ(own.source, kSubtitleSource);
  EXPECT_EQ(own.traits, (SourceTraits{true, SourceClock::Camera, true, true}));
  EXPECT_EQ(reader.GetPoints(own.path), ParsedLines(TelemetryOf(own.path)));

  const ClipSummary log = reader.GetClip(Mixed("sidecar_only.mp4"));
  ASSERT_EQ(log.status, ClipStatus::Indexed) << log.reason;
  EXPECT_EQ(log.source, kNmeaSource);
  EXPECT_EQ(log.traits, (SourceTraits{false, SourceClock::Receiver, false, false}));
  EXPECT_EQ(log.besideFiles, kNmeaSource);
  EXPECT_EQ(log.pointCount, 190) << "no status V fix";
  EXPECT_EQ(log.durationMs, 20'000) << "from the clip, not the log";
  EXPECT_EQ(log.firstCameraTime, 1779085800);  // 2026-05-18 06:30:00, the receiver's UTC
  EXPECT_EQ(log.lastCameraTime, 1779085819);
  EXPECT_NE(log.reason.find("4 bad sentences"), std::string::npos) << log.reason;
  EXPECT_GT(log.distanceM, 150);
  const std::vector<IndexPoint> points = reader.GetPoints(log.path);
  ASSERT_EQ(points.size(), 190u);
  EXPECT_NEAR(points.front().latitude, 38.72, 0.01);
  EXPECT_NEAR(points.front().longitude, -9.14, 0.01);
  EXPECT_EQ(reader.GetOverviews(std::vector<std::string>{log.path}).size(), 1u);
  // Zeros would read as −6 G on every axis: not one event, with stored or other rules.
  EXPECT_EQ(log.eventCount, 0);
  for (const EventRules rules : {EventRules{}, EventRules{0.1, true}}) {
    const auto events = LoadClipEvents(reader, log.path, rules);
    ASSERT_TRUE(events.has_value());
    EXPECT_TRUE(events->empty());
  }

  const ClipSummary none = reader.GetClip(Mixed("no_gps.mp4"));
  EXPECT_EQ(none.status, ClipStatus::NoTelemetry);
  EXPECT_EQ(none.reason, "no subtitle track");

  // The clip with only a log has its own place in the folder's trips; the one without GPS none.
  const std::vector<std::string> folder = {own.path, log.path, none.path};
  const std::vector<Trip> trips = GroupTrips(reader.GetClips(folder));
  ASSERT_EQ(trips.size(), 2u);
  const auto logTrip = std::find_if(trips.begin(), trips.end(),
                                    [&](const Trip& t) { return t.clips[0].path == log.path; });
  ASSERT_NE(logTrip, trips.end());
  EXPECT_EQ(logTrip->clips.size(), 1u);
  EXPECT_EQ(logTrip->firstCameraTime, log.firstCameraTime);
}

struct SourceChoice {
  const char* name;
  const char* clip;  // copied from the mixed folder
  const char* log;   // text of the log beside it; nullptr: the generated log
  ClipStatus status;
  std::string_view source;
  const char* reason;
};

class SourceChoices : public SidecarIndex, public testing::WithParamInterface<SourceChoice> {};

TEST_P(SourceChoices, TheClipsOwnTrackComesFirstAndABadLogSaysWhy) {
  const SourceChoice& c = GetParam();
  const std::string clip = dir.str() + "clip 1.mp4";
  fs::copy_file(Mixed(c.clip), clip);
  if (c.log == nullptr) {
    fs::copy_file(Mixed("sidecar_only.nmea"), dir.str() + "clip 1.gps");
  } else {
    WriteFileText(dir.str() + "clip 1.NMEA", c.log);
  }
  ASSERT_EQ(IndexClips(db, {clip}).exitCode, 0);
  const ClipSummary s = CIndexReader(db).GetClip(clip);
  EXPECT_EQ(s.status, c.status);
  EXPECT_EQ(s.source, c.source);
  EXPECT_NE(s.reason.find(c.reason), std::string::npos) << s.reason;
}

INSTANTIATE_TEST_SUITE_P(
    Clips, SourceChoices,
    testing::Values(SourceChoice{"OwnTrackAndLog", "own_track.mp4", nullptr, ClipStatus::Indexed,
                                 kSubtitleSource, ""},
                    SourceChoice{"BinaryJunk", "no_gps.mp4",
                                 "\x7f"
                                 "ELF\x02\x01\x01\xff\xfe\x80 junk",
                                 ClipStatus::NoTelemetry, kNmeaSource, "no NMEA sentence"},
                    SourceChoice{"OnlyNoFix", "no_gps.mp4",
                                 "$GPRMC,063000.00,V,,,,,,,180526,,,A*7F\r\n",
                                 ClipStatus::NoTelemetry, kNmeaSource, "no valid fix"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SidecarIndex, ACamerasLogWithGSensorLinesGivesGValuesAndEvents) {
  const std::string clip = dir.str() + "FILE0042.MP4";
  fs::copy_file(Mixed("no_gps.mp4"), clip);
  std::string log;
  for (int s = 0; s < 30; ++s) {
    char time[16];
    std::snprintf(time, sizeof time, "0448%02d.000", s);
    log += FormatNmeaSentence(std::string("GPGGA,") + time +
                              ",2300.0000,S,15000.0000,E,1,12,0.7,13.9,M,48.6,M,,0000") +
           "\r\n";
    log += FormatNmeaSentence(std::string("GPRMC,") + time +
                              ",A,2300.0000,S,15000.0000,E,20.00,90.00,250626,,,A") +
           "\r\n";
    log += s == 15 ? "$GSENSORD,0.100,-2.500,1.000\r\n" : "$GSENSORD,0.010,0.020,1.000\r\n";
  }
  WriteFileText(dir.str() + "FILE0042.NMEA", log);
  ASSERT_EQ(IndexClips(db, {clip}).exitCode, 0);
  CIndexReader reader(db);
  const ClipSummary row = reader.GetClip(clip);
  ASSERT_EQ(row.status, ClipStatus::Indexed) << row.reason;
  EXPECT_EQ(row.source, kNmeaSource);
  EXPECT_EQ(row.traits, (SourceTraits{true, SourceClock::Receiver, false, false}));
  const std::vector<IndexPoint> points = reader.GetPoints(clip);
  ASSERT_EQ(points.size(), 30u);
  EXPECT_FLOAT_EQ(points[15].gY, -2.5f);
  EXPECT_FLOAT_EQ(points[3].gZ, 1.0f);
  EXPECT_FLOAT_EQ(points[3].altitudeM, 13.9f);
  const auto events = LoadClipEvents(reader, clip, EventRules{});
  ASSERT_TRUE(events.has_value());
  ASSERT_EQ(events->size(), 1u);
  EXPECT_EQ(events->front().mediaMs, 15'000);
}

// A GPS log copied beside a clip after it was indexed makes its row stale, so the log's track
// reaches trips and export; so does removing it. A log that held nothing is not read again.
TEST_F(SidecarIndex, AGpsLogThatCameOrWentSinceIndexingMakesTheRowStale) {
  const std::string clip = dir.str() + "clip 1.mp4";
  const std::string log = dir.str() + "clip 1.nmea";
  fs::copy_file(Mixed("no_gps.mp4"), clip);
  const auto indexedRow = [&] {
    EXPECT_EQ(IndexClips(db, {clip}).exitCode, 0);
    return CIndexReader(db).GetClip(clip);
  };
  const auto current = [](const ClipSummary& row) {
    std::string factsError;
    const bool isCurrent = IsStoredRowCurrent(row, factsError);
    EXPECT_EQ(factsError, "");
    return isCurrent;
  };

  ClipSummary row = indexedRow();
  ASSERT_EQ(row.status, ClipStatus::NoTelemetry);
  EXPECT_TRUE(current(row));
  fs::copy_file(Mixed("sidecar_only.nmea"), log);
  EXPECT_FALSE(current(row)) << "a log came";
  row = indexedRow();
  EXPECT_EQ(row.status, ClipStatus::Indexed);
  EXPECT_TRUE(current(row));
  fs::remove(log);
  EXPECT_FALSE(current(row)) << "the log went";
  WriteFileText(log, "not a GPS log\n");
  row = indexedRow();
  EXPECT_EQ(row.status, ClipStatus::NoTelemetry);
  EXPECT_TRUE(current(row)) << "a log read in vain is not read on every run";

  // A clip's own track goes before a log: one beside it changes nothing.
  const std::string own = dir.str() + "own.mp4";
  fs::copy_file(Mixed("own_track.mp4"), own);
  ASSERT_EQ(IndexClips(db, {own}).exitCode, 0);
  fs::copy_file(Mixed("sidecar_only.nmea"), dir.str() + "own.gps");
  EXPECT_TRUE(current(CIndexReader(db).GetClip(own)));
}

}  // namespace
}  // namespace korvane::test
