// Which clips play from the GPS log beside them, and the feed on the generated mixed folder: the
// log read into the track store and the navigation track, the record at the player's time, none
// in a stretch without a fix.
#include "ui/track_feed.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

struct FedCase {
  const char* name;
  ClipStatus status;
  TelemetrySourceKind source;
  bool hasSidecar;
  bool fed;
};

class FedClipRule : public testing::TestWithParam<FedCase> {};

TEST_P(FedClipRule, ALogFeedsTheClipUnlessTheIndexKnowsItsOwnTrack) {
  ClipSummary indexed;
  indexed.status = GetParam().status;
  indexed.source = GetParam().source;
  EXPECT_EQ(IsFedClip(indexed, GetParam().hasSidecar), GetParam().fed);
}

INSTANTIATE_TEST_SUITE_P(Clips, FedClipRule,
                         testing::Values(FedCase{"NotIndexedWithLog", ClipStatus::Unknown,
                                                 TelemetrySourceKind::None, true, true},
                                         FedCase{"IndexedFromLog", ClipStatus::Indexed,
                                                 TelemetrySourceKind::NmeaSidecar, true, true},
                                         FedCase{"OwnTrackAndLog", ClipStatus::Indexed,
                                                 TelemetrySourceKind::SubtitleTrack, true, false},
                                         FedCase{"NoTelemetryYetALogNow", ClipStatus::NoTelemetry,
                                                 TelemetrySourceKind::None, true, true},
                                         FedCase{"NoLog", ClipStatus::Unknown,
                                                 TelemetrySourceKind::None, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrackFeed, TheMixedFolderLogFillsStoreAndNavigationAndIsShownAtThePlayersTime) {
  TempDir dir;
  CTrackStore store;
  CNavigationTrack navigation;
  Settings settings;
  CTrackFeed feed(dir.str() + "no index.sqlite", store, navigation, settings);
  const std::string clip = SamplePath("mixed/sidecar_only.mp4");
  EXPECT_FALSE(feed.Feeds(SamplePath("mixed/own_track.mp4")));
  EXPECT_FALSE(feed.Feeds(SamplePath("mixed/no_gps.mp4")));
  ASSERT_TRUE(feed.Feeds(clip));

  const std::uint32_t generation = navigation.generation();
  ASSERT_TRUE(feed.Load(clip));
  EXPECT_EQ(store.totalPoints(), 198) << "every moment the log has, those without a fix too";
  EXPECT_EQ(store.readyChunks(), 4);
  EXPECT_EQ(navigation.size(), 188u) << "only fixes to seek to";
  EXPECT_TRUE(navigation.complete());
  EXPECT_NE(navigation.generation(), generation) << "the route of the clip before is old";

  const auto at6 = feed.RecordAt(6.05);
  ASSERT_TRUE(at6.has_value());
  EXPECT_EQ(at6->mediaTimeMs, 6000);
  EXPECT_NEAR(at6->latitude, 38.72, 0.01);
  EXPECT_LT(at6->longitude, -9.0);
  EXPECT_FALSE(feed.RecordAt(8.5).has_value()) << "status V";
  EXPECT_TRUE(feed.RecordAt(9.0).has_value());
  EXPECT_FALSE(feed.RecordAt(-0.5).has_value());
  EXPECT_TRUE(feed.RecordAt(21.5).has_value()) << "the last fix lives on for a moment";
  EXPECT_FALSE(feed.RecordAt(25.0).has_value());
  EXPECT_FALSE(feed.RecordAt(std::nan("")).has_value());
}

}  // namespace
}  // namespace korvane::test
