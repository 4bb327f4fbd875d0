// Which clips play from the index's points or an imported track, and the feed on the generated
// mixed folder: a clip the index does not know read by the real indexer, its points into the
// track store and the navigation track, the record at the player's time, none in a gap.
#include "tracks/track_feed.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>
#include <tuple>

#include "index/clip_file.h"
#include "index/index_writer.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/track_import_store.h"
#include "tracks/trip_rows.h"

namespace korvane::test {
namespace {

struct FedCase {
  const char* name;
  ClipStatus status;
  const char* source;
  bool fed;
};

class FedClipRule : public testing::TestWithParam<FedCase> {};

// Any source but the clip's own subtitle track, one this program knows or not, plays from the
// index's points: the row's traits decide, never the name.
TEST_P(FedClipRule, TheIndexFeedsEveryClipReadFromAnotherSourceThanItsSubtitleTrack) {
  ClipSummary indexed;
  indexed.status = GetParam().status;
  indexed.source = GetParam().source;
  indexed.traits = TraitsOf(indexed.source);
  if (indexed.source == std::string("box")) indexed.traits = {true, SourceClock::Camera, true};
  EXPECT_EQ(IsIndexFedClip(indexed), GetParam().fed);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, FedClipRule,
    testing::Values(FedCase{"NotIndexed", ClipStatus::Unknown, "", false},
                    FedCase{"IndexedFromLog", ClipStatus::Indexed, "nmea", true},
                    FedCase{"OwnTrack", ClipStatus::Indexed, "subtitle", false},
                    FedCase{"ASourceNotKnownHere", ClipStatus::Indexed, "box", true},
                    FedCase{"LogWithoutFix", ClipStatus::NoTelemetry, "nmea", false},
                    FedCase{"Failed", ClipStatus::Failed, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

enum Own { kOwnTrack, kLog, kNone, kNotRead };
struct DecisionCase {
  const char* name;
  Own own;
  bool hasImport;
  bool chosen;
  ClipTrack track;
  TrackChoice choice;
};

class ClipTrackRule : public testing::TestWithParam<DecisionCase> {};

// A clip with a track of its own (its subtitle track, or a log beside it) plays from the folder's
// import only when the user chose it, and is offered the choice while the folder has one; a clip
// the index found without telemetry plays from the import; a clip not read yet keeps its own.
TEST_P(ClipTrackRule, TheImportFeedsAClipWithItsOwnTrackOnlyWhenChosen) {
  const DecisionCase& c = GetParam();
  ClipSummary indexed;
  indexed.status = c.own == kOwnTrack || c.own == kLog ? ClipStatus::Indexed
                   : c.own == kNone                    ? ClipStatus::NoTelemetry
                                                       : ClipStatus::Unknown;
  indexed.source = c.own == kOwnTrack ? kSubtitleSource : c.own == kLog ? kNmeaSource : "";
  indexed.traits = TraitsOf(indexed.source);
  const ClipTrackDecision decision = DecideClipTrack(indexed, c.hasImport, c.chosen);
  EXPECT_EQ(decision.track, c.track);
  EXPECT_EQ(decision.choice, c.choice);
}

constexpr TrackChoice kNoChoice{false, false}, kOwnOffered{true, false}, kImportChosen{true, true};
INSTANTIATE_TEST_SUITE_P(
    Clips, ClipTrackRule,
    testing::Values(
        DecisionCase{"OwnTrack", kOwnTrack, false, false, ClipTrack::Own, kNoChoice},
        DecisionCase{"OwnTrackChosenNoImport", kOwnTrack, false, true, ClipTrack::Own, kNoChoice},
        DecisionCase{"OwnTrackImport", kOwnTrack, true, false, ClipTrack::Own, kOwnOffered},
        DecisionCase{"OwnTrackImportChosen", kOwnTrack, true, true, ClipTrack::Import,
                     kImportChosen},
        DecisionCase{"Log", kLog, false, false, ClipTrack::Index, kNoChoice},
        DecisionCase{"LogChosenNoImport", kLog, false, true, ClipTrack::Index, kNoChoice},
        DecisionCase{"LogImport", kLog, true, false, ClipTrack::Index, kOwnOffered},
        DecisionCase{"LogImportChosen", kLog, true, true, ClipTrack::Import, kImportChosen},
        DecisionCase{"None", kNone, false, false, ClipTrack::Own, kNoChoice},
        DecisionCase{"NoneChosenNoImport", kNone, false, true, ClipTrack::Own, kNoChoice},
        DecisionCase{"NoneImport", kNone, true, false, ClipTrack::Import, kNoChoice},
        DecisionCase{"NoneImportChosen", kNone, true, true, ClipTrack::Import, kImportChosen},
        DecisionCase{"NotReadImport", kNotRead, true, false, ClipTrack::Own, kNoChoice}),
    [](const auto& info) { return std::string(info.param.name); });

// A feed whose clips the index does not know are read by the real indexer program.
struct ReadingFeed {
  ReadingFeed(const std::string& index, const std::string& data, const CameraTimeZone& zone = {})
      : feed(index, data, store, navigation, settings, zone, ProgramDir() + "korvane-indexer",
             [this] { reads.fetch_add(1); }) {}
  // Has the indexer read the clip, and waits (at most 20 s) until it has.
  bool ReadNow(const std::string& clip) {
    const int before = reads.load();
    feed.ReadNow(clip);
    for (int i = 0; i < 2000 && reads.load() == before; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return feed.ReadDone(clip);
  }
  CTrackStore store;
  CNavigationTrack navigation;
  Settings settings;
  std::atomic<int> reads{0};
  CTrackFeed feed;
};

// The log beside a clip is read by the indexer only: the clip is unread until then, and plays from
// the points the read gave, in the index's private copy when the shared one cannot be written.
TEST(TrackFeed, AClipTheIndexDoesNotKnowIsReadThenFedFromItsPoints) {
  TempDir dir;
  std::ofstream(dir.path() / "a file") << "no folder";
  ReadingFeed reading(dir.str() + "a file/index.sqlite", dir.str() + "data");
  CTrackFeed& feed = reading.feed;
  const std::string clip = SamplePath("mixed/sidecar_only.mp4");
  EXPECT_EQ(feed.FeedOf(clip), ClipFeed::Unread);
  EXPECT_FALSE(feed.ReadDone(clip)) << "not asked for";
  ASSERT_TRUE(reading.ReadNow(clip));
  ASSERT_EQ(feed.FeedOf(clip), ClipFeed::Fed);
  EXPECT_FALSE(feed.ReadDone(clip)) << "once";

  const std::uint32_t generation = reading.navigation.generation();
  ASSERT_TRUE(feed.Load(clip));
  EXPECT_FALSE(feed.loadedHasGValues()) << "a GPS log";
  EXPECT_EQ(reading.store.totalPoints(), 190) << "every fix of the log";
  EXPECT_EQ(reading.store.readyChunks(), 3);
  EXPECT_EQ(reading.navigation.size(), 190u);
  EXPECT_TRUE(reading.navigation.complete());
  EXPECT_NE(reading.navigation.generation(), generation) << "the route of the clip before is old";

  const auto at6 = feed.RecordAt(6.05);
  ASSERT_TRUE(at6.has_value());
  EXPECT_EQ(at6->mediaTimeMs, 6000);
  EXPECT_NEAR(at6->latitude, 38.72, 0.01);
  EXPECT_LT(at6->longitude, -9.0);
  EXPECT_EQ(std::tuple(at6->hour, at6->minute, at6->second), std::tuple(6, 30, 6)) << "UTC";
  EXPECT_FALSE(feed.RecordAt(-0.5).has_value());
  EXPECT_TRUE(feed.RecordAt(21.5).has_value()) << "the last fix lives on for a moment";
  EXPECT_FALSE(feed.RecordAt(25.0).has_value());
  EXPECT_FALSE(feed.RecordAt(std::nan("")).has_value());

  // A clip with its own subtitle track plays through the pipeline once read; one without
  // telemetry too, as before.
  for (const char* name : {"mixed/own_track.mp4", "mixed/no_gps.mp4"}) {
    ASSERT_TRUE(reading.ReadNow(SamplePath(name))) << name;
    EXPECT_EQ(feed.FeedOf(SamplePath(name)), ClipFeed::Pipeline) << name;
  }
}

// A row of `clip` as the indexer writes it for the file as it is now.
ClipSummary RowOf(const std::string& clip, ClipStatus status) {
  ClipSummary summary;
  summary.path = clip;
  summary.status = status;
  std::string reason;
  EXPECT_TRUE(ReadFileFacts(clip, summary, reason)) << reason;
  return summary;
}

void IndexWithoutTelemetry(const std::string& indexPath, const std::string& clip) {
  ASSERT_EQ(CIndexWriter(indexPath).Store(RowOf(clip, ClipStatus::NoTelemetry), {}, {}), "");
}

// An import lives in the data folder: a program started again (a new feed) with the index cache
// deleted still has it, and the clip without telemetry plays from it once the index has read the
// clip again, across midnight. A clip not read yet, one with a log beside it, one in the track's
// gap and another folder do not use it. The track is the generated phone_log.gpx: its night
// stretch runs east from 9.1400 W at 0.0002° a second from 23:59:50, with no point from 00:00:10
// to 00:00:30.
TEST(TrackFeed, AnImportIsKeptInTheDataFolderAndFeedsTheFolderAfterARestartWithoutTheCache) {
  TempDir dir;
  const std::filesystem::path clips = dir.path() / "clips";
  std::filesystem::create_directories(clips);
  const std::string noGps = (clips / "20260518_235958_no_gps.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), noGps);
  const std::string withLog = (clips / "sidecar_only.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/sidecar_only.mp4"), withLog);
  std::filesystem::copy_file(SamplePath("mixed/sidecar_only.nmea"), clips / "sidecar_only.nmea");
  const std::string notRead = (clips / "20260518_235959_not_read.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), notRead);
  const std::string inGap = (clips / "20260519_000012_in_gap.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), inGap);
  const std::filesystem::path dropped = dir.path() / "drive.gpx";
  std::filesystem::copy_file(SamplePath("phone_log.gpx"), dropped);
  const std::string data = dir.str() + "data";
  const std::string index = dir.str() + "cache/index.sqlite";
  std::filesystem::create_directories(dir.path() / "cache");
  IndexWithoutTelemetry(index, noGps);
  IndexWithoutTelemetry(index, inGap);

  CTrackStore store;
  CNavigationTrack navigation;
  Settings settings;
  {
    CTrackFeed feed(index, data, store, navigation, settings);
    EXPECT_FALSE(feed.Feeds(noGps));
    const TrackImportResult result =
        feed.ImportTrack(dropped.string(), clips.string() + "/", {noGps, withLog, notRead, inGap});
    ASSERT_TRUE(result.stored) << result.error;
    EXPECT_EQ(result.clipsWithTrack, 1) << "the clip in the gap has no position";
    EXPECT_TRUE(feed.Feeds(noGps));
  }
  std::filesystem::remove(dropped);  // the import is a copy
  std::filesystem::remove_all(dir.path() / "cache");

  ReadingFeed reading(index, data);
  CTrackFeed& restarted = reading.feed;
  EXPECT_TRUE(StoredFolderImport(data, clips.string()).has_value()) << "trailing / or not";
  EXPECT_FALSE(StoredFolderImport(data, dir.str()).has_value());
  EXPECT_FALSE(restarted.Feeds(noGps)) << "not read by the new index yet";
  IndexWithoutTelemetry(index, noGps);
  ASSERT_TRUE(restarted.Feeds(noGps));
  ASSERT_TRUE(restarted.Load(noGps));
  EXPECT_EQ(reading.navigation.size(), 21u) << "every 200 ms of the 4 s clip";
  const auto at2 = restarted.RecordAt(2.0);  // 00:00:00, the next day
  ASSERT_TRUE(at2.has_value());
  EXPECT_EQ(at2->day, 19);
  EXPECT_EQ(at2->second, 0);
  EXPECT_NEAR(at2->longitude, -9.1400 + 10 * 0.0002, 1e-6);
  EXPECT_EQ(restarted.FeedOf(withLog), ClipFeed::Unread);
  ASSERT_TRUE(reading.ReadNow(withLog));
  EXPECT_TRUE(restarted.Feeds(withLog));
  ASSERT_TRUE(restarted.Load(withLog));
  EXPECT_NEAR(restarted.RecordAt(6.05)->longitude, -9.14, 0.01) << "its log, not the import";

  // A track that cannot be read is not stored and leaves the one before.
  std::ofstream(dir.path() / "junk.gpx") << "not xml";
  const TrackImportResult junk =
      restarted.ImportTrack((dir.path() / "junk.gpx").string(), clips.string(), {noGps});
  EXPECT_FALSE(junk.stored);
  EXPECT_FALSE(junk.error.empty());
  EXPECT_TRUE(restarted.Feeds(noGps));
}

// The generated phone_log.gpx chosen for a copy of own_track.mp4, which the index has read from its
// own track (camera clock 2026-05-18 08:30:00, UTC): the choice is kept in the data folder, the
// clip then plays from the track's morning stretch placed by its camera times, and chosen back from
// its own track; a program started again without the index cache still plays it from the import.
TEST(TrackFeed, AClipWithItsOwnTrackPlaysFromTheImportOnlyWhileChosenAndTheChoiceOutlivesTheCache) {
  TempDir dir;
  const std::filesystem::path clips = dir.path() / "clips";
  std::filesystem::create_directories(clips);
  const std::string own = (clips / "own_track.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/own_track.mp4"), own);
  const std::string data = dir.str() + "data";
  const std::string index = dir.str() + "cache/index.sqlite";
  std::filesystem::create_directories(dir.path() / "cache");
  ClipSummary summary = RowOf(own, ClipStatus::Indexed);
  summary.source = kSubtitleSource;
  summary.traits = TraitsOf(kSubtitleSource);
  summary.firstCameraTime = 1'779'093'000;  // 2026-05-18 08:30:00
  summary.pointCount = 100;
  ASSERT_EQ(CIndexWriter(index).Store(summary, {}, {}), "");

  CTrackStore store;
  CNavigationTrack navigation;
  Settings settings;
  const CameraTimeZone utc{false, 0};
  CTrackFeed feed(index, data, store, navigation, settings, utc);
  ASSERT_TRUE(feed.ChooseImport(own, true));
  EXPECT_FALSE(feed.Feeds(own)) << "no import yet";
  EXPECT_EQ(feed.ChoiceOf(own), (TrackChoice{false, false}));
  const TrackImportResult result =
      feed.ImportTrack(SamplePath("phone_log.gpx"), clips.string(), {own});
  ASSERT_TRUE(result.stored) << result.error;
  EXPECT_EQ(result.clipsWithTrack, 1) << "matched by its camera times";
  EXPECT_EQ(feed.ChoiceOf(own), (TrackChoice{true, true}));
  ASSERT_TRUE(feed.Feeds(own));
  ASSERT_TRUE(feed.Load(own));
  EXPECT_EQ(navigation.size(), 51u) << "every 200 ms of the 10 s clip";
  const auto at2 = feed.RecordAt(2.0);  // 08:30:02, seven seconds into the morning stretch
  ASSERT_TRUE(at2.has_value());
  EXPECT_NEAR(at2->latitude, 38.7007, 1e-6);
  EXPECT_NEAR(at2->longitude, -9.15, 1e-6);

  ASSERT_TRUE(feed.ChooseImport(own, false));
  EXPECT_FALSE(feed.Feeds(own));
  EXPECT_EQ(feed.ChoiceOf(own), (TrackChoice{true, false}));
  ASSERT_TRUE(feed.ChooseImport(own, true));

  std::filesystem::remove_all(dir.path() / "cache");
  CTrackFeed restarted(index, data, store, navigation, settings, utc);
  EXPECT_TRUE(restarted.Feeds(own)) << "the choice is in the data folder";
  EXPECT_EQ(restarted.ChoiceOf(own), (TrackChoice{true, true}));
}

// Trips count the clips that play from the folder's import by what the track gives them: the clip
// without telemetry named 20260518_235958 runs 4 s east along the track's night stretch
// (0.0008° of longitude at 38.72° N: 69.4 m) across midnight; own_track.mp4, chosen for the
// import, is placed on the track by its camera clock (10:30:00 at +02:00, the track's 08:30:00Z)
// and listed on that clock with the track's 10 s north (0.001° of latitude: 111.2 m).
TEST(TrackFeed, TripsTakeTheClipsThatPlayFromTheImportWithTheTracksFigures) {
  TempDir dir;
  const std::filesystem::path clips = dir.path() / "clips";
  std::filesystem::create_directories(clips);
  const std::string noGps = (clips / "20260518_235958_no_gps.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), noGps);
  const std::string own = (clips / "own_track.mp4").string();
  std::filesystem::copy_file(SamplePath("mixed/own_track.mp4"), own);
  const std::string index = dir.str() + "index.sqlite";
  IndexWithoutTelemetry(index, noGps);
  constexpr std::int64_t kMidnight = 1'779'062'400;  // 2026-05-18 00:00:00
  ClipSummary ownRow = RowOf(own, ClipStatus::Indexed);
  ownRow.source = kSubtitleSource;
  ownRow.traits = TraitsOf(kSubtitleSource);
  ownRow.firstCameraTime = kMidnight + 10 * 3600 + 30 * 60;
  ownRow.lastCameraTime = ownRow.firstCameraTime + 10;
  ownRow.pointCount = 100;
  ownRow.distanceM = 5.0;
  ASSERT_EQ(CIndexWriter(index).Store(ownRow, {}, {}), "");

  CTrackStore store;
  CNavigationTrack navigation;
  Settings settings;
  CTrackFeed feed(index, dir.str() + "data", store, navigation, settings, {false, 120});
  const std::vector<std::string> folder{noGps, own};
  TripList trips = BuildTripList(folder, feed.TripSummaries(folder));
  ASSERT_EQ(trips.trips.size(), 1u) << "no import yet";
  EXPECT_EQ(trips.withoutTelemetry, 1);

  ASSERT_TRUE(feed.ImportTrack(SamplePath("phone_log.gpx"), clips.string(), folder).stored);
  ASSERT_TRUE(feed.ChooseImport(own, true));
  trips = BuildTripList(folder, feed.TripSummaries(folder));
  EXPECT_EQ(trips.withoutTelemetry, 0);
  ASSERT_EQ(trips.trips.size(), 2u);
  const TripRow& morning = trips.trips[0];
  EXPECT_EQ(morning.clips, std::vector<std::string>{own});
  EXPECT_EQ(morning.start, ownRow.firstCameraTime);
  EXPECT_EQ(morning.end, ownRow.firstCameraTime + 10);
  EXPECT_NEAR(morning.distanceM, 111.2, 0.5) << "the track's, not the clip's own";
  const TripRow& night = trips.trips[1];
  EXPECT_EQ(night.clips, std::vector<std::string>{noGps});
  EXPECT_EQ(night.start, kMidnight + 86'398);
  EXPECT_EQ(night.end, kMidnight + 86'402);
  EXPECT_NEAR(night.distanceM, 69.4, 0.5);
}

}  // namespace
}  // namespace korvane::test
