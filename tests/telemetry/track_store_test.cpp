#include "telemetry/track_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "fake_pipeline.h"
#include "support/sample_paths.h"
#include "telemetry/coord_transform.h"

namespace korvane {
namespace {

using test::FakePipeline;

// A valid line whose position moves with `i`, so points can be told apart.
std::string GoodLine(int i) {
  return "2026-05-18 08:30:" + std::string(i % 60 < 10 ? "0" : "") + std::to_string(i % 60) +
         "/E113 56 " + std::to_string(i % 50) + ".5/N22 32 8.36/35.6/X:" + std::to_string(i) +
         "/Y:-4/Z:98";
}
constexpr const char* kBadLine = "2026-05-18 08:30:00/E113  56 1.5/N22 32 8.36";

std::vector<std::string> GoodBatch(int lines, int first = 0) {
  std::vector<std::string> batch;
  for (int i = 0; i < lines; ++i) batch.push_back(GoodLine(first + i));
  return batch;
}

TEST(TrackStore, StartsWithFiveEmptyChunks) {
  CTrackStore store;
  EXPECT_EQ(store.chunkCount(), 5);
  for (int i = 0; i < 5; ++i) {
    ASSERT_NE(store.chunk(i), nullptr);
    EXPECT_EQ(store.chunk(i)->capacity, 64);
    EXPECT_EQ(store.chunk(i)->count, 0);
  }
  EXPECT_EQ(store.chunk(5), nullptr);
  EXPECT_EQ(store.chunk(-1), nullptr);
  EXPECT_EQ(
      store.currentChunk() + store.readyChunks() + store.consumedChunks() + store.totalPoints(), 0);
}

TEST(TrackStore, The321stLineGrowsASixthChunkAndResetKeepsIt) {
  CTrackStore store;
  FakePipeline pipeline;
  for (int batch = 0; batch < 5; ++batch) {
    pipeline.SetLines(GoodBatch(64, batch * 64));
    ASSERT_EQ(ProcessBatch(batch, pipeline, store, 0, "China"), 0);
  }
  EXPECT_EQ(store.chunkCount(), 5);
  EXPECT_EQ(store.totalPoints(), 320);
  EXPECT_EQ(store.currentChunk(), 5);
  pipeline.SetLines({GoodLine(320)});
  ProcessBatch(5, pipeline, store, 0, "China");
  EXPECT_EQ(store.chunkCount(), 6);
  EXPECT_EQ(store.chunk(5)->count, 1);
  EXPECT_EQ(store.totalPoints(), 321);
  EXPECT_EQ(store.readyChunks(), 6) << "the final partial chunk is ready once processed";

  store.SetConsumedChunks(4);
  store.Reset();
  EXPECT_EQ(store.chunkCount(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(store.chunk(i)->count, 0);
  EXPECT_EQ(
      store.currentChunk() + store.readyChunks() + store.consumedChunks() + store.totalPoints(), 0);
}

TEST(TrackStore, InvalidLinesStillBecomePointsInTheirPlace) {
  CTrackStore store;
  FakePipeline pipeline;
  std::vector<std::string> lines = GoodBatch(64);
  for (int i = 0; i < 10; ++i) lines[i * 6] = kBadLine;
  pipeline.SetLines(lines);
  ProcessBatch(0, pipeline, store, kMapKindBaidu, "China");
  const TrackChunk& chunk = *store.chunk(0);
  EXPECT_EQ(chunk.count, 64);
  int valid = 0;
  for (const TelemetryRecord& p : chunk.points) valid += p.valid;
  EXPECT_EQ(valid, 54);
  EXPECT_FALSE(chunk.points[6].valid);
  EXPECT_TRUE(chunk.points[7].valid);
  EXPECT_EQ(chunk.points[7].accelX, 7) << "points stay in step with the lines";
  EXPECT_EQ(store.totalPoints(), 64);
  EXPECT_EQ(store.readyChunks(), 1);
  EXPECT_EQ(store.currentChunk(), 1);
}

TEST(TrackStore, AppendCopiesOnlyWhatReadersUseAndOnlyForValidRecords) {
  TrackChunk chunk;
  chunk.points[0].lonDegrees = 42;
  chunk.points[0].longitude = -1.0;
  TelemetryRecord record;
  record.valid = true;
  record.longitude = 113.5;
  record.lonDegrees = 113;
  record.accelZ = 98;
  EXPECT_EQ(CTrackStore::Append(&chunk, &record), 0);
  EXPECT_EQ(chunk.points[0].longitude, 113.5);
  EXPECT_EQ(chunk.points[0].accelZ, 98);
  EXPECT_EQ(chunk.points[0].lonDegrees, 42) << "degree parts are never copied";

  record.valid = false;
  record.longitude = 1.0;
  chunk.points[1].longitude = 7.0;
  EXPECT_EQ(CTrackStore::Append(&chunk, &record), 0);
  EXPECT_FALSE(chunk.points[1].valid);
  EXPECT_EQ(chunk.points[1].longitude, 7.0) << "an invalid point keeps what the slot held";

  EXPECT_EQ(CTrackStore::Append(&chunk, nullptr), -1);
  EXPECT_EQ(CTrackStore::Append(nullptr, &record), -1);
  EXPECT_EQ(chunk.count, 2);
  chunk.count = 63;
  EXPECT_EQ(CTrackStore::Append(&chunk, &record), 1);
  EXPECT_EQ(CTrackStore::Append(&chunk, &record), -1) << "a full chunk takes no more";
  EXPECT_EQ(chunk.count, 64);
}

// What each map kind writes into the map coordinates of a fresh batch.
struct MapKindCase {
  const char* name;
  std::uint8_t mapKind;
  const char* locale;
  int result;
  enum { Untouched, Copied, Gcj, Bd } expect;
};
std::ostream& operator<<(std::ostream& out, const MapKindCase& c) {
  return out << c.name;
}

class MapKinds : public testing::TestWithParam<MapKindCase> {};

TEST_P(MapKinds, ConvertTheBatchForTheMap) {
  const MapKindCase& c = GetParam();
  CTrackStore store;
  // What a slot held from an earlier file: only a conversion may replace it.
  for (TelemetryRecord& p : store.chunk(0)->points) p.mapLatitude = p.mapLongitude = -1.0;
  FakePipeline pipeline;
  pipeline.SetLines(GoodBatch(64));
  EXPECT_EQ(ProcessBatch(0, pipeline, store, c.mapKind, c.locale), c.result);
  for (const TelemetryRecord& p : store.chunk(0)->points) {
    double lat = p.latitude;  // MapKindCase::Copied
    double lon = p.longitude;
    if (c.expect == MapKindCase::Gcj) WgsToGcj(p.latitude, p.longitude, lat, lon);
    if (c.expect == MapKindCase::Bd) WgsToBd(p.latitude, p.longitude, lat, lon);
    if (c.expect == MapKindCase::Untouched) lat = lon = -1.0;
    EXPECT_NEAR(p.mapLatitude, lat, 1e-9);
    EXPECT_NEAR(p.mapLongitude, lon, 1e-9);
  }
  EXPECT_EQ(store.readyChunks(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    TrackStore, MapKinds,
    testing::Values(MapKindCase{"Baidu", 1, "Oversea", 1, MapKindCase::Bd},
                    MapKindCase{"GoogleChina", 2, "China", 1, MapKindCase::Gcj},
                    MapKindCase{"GoogleOversea", 2, "Oversea", 1, MapKindCase::Copied},
                    MapKindCase{"GoogleLowerCaseChina", 2, "china", 1, MapKindCase::Copied},
                    MapKindCase{"Yandex", 3, "China", 0, MapKindCase::Untouched},
                    MapKindCase{"Unknown", 0, "China", 0, MapKindCase::Untouched}),
    [](const testing::TestParamInfo<MapKindCase>& info) { return std::string(info.param.name); });

TEST(ProcessBatch, PostsChunkReadyAndAfterBatchZeroAlsoFirstChunk) {
  CTrackStore store;
  FakePipeline pipeline;
  pipeline.SetLines(GoodBatch(64));
  ProcessBatch(0, pipeline, store, kMapKindGoogle, "China");
  EXPECT_EQ(pipeline.notified, (std::vector<WPARAM>{516, 518}));
  EXPECT_FALSE(pipeline.stopRequested) << "batch 0 clears the stop request";

  pipeline.stopRequested = true;
  pipeline.notified.clear();
  pipeline.SetLines(GoodBatch(64, 64));
  ProcessBatch(1, pipeline, store, kMapKindGoogle, "China");
  EXPECT_EQ(pipeline.notified, (std::vector<WPARAM>{516}));
  EXPECT_TRUE(pipeline.stopRequested) << "only batch 0 clears it";
}

TEST(ProcessBatch, StopsAtEachCheckWithoutPosting) {
  // state() is asked before the lines, after them and after the conversion.
  for (int stopAt = 0; stopAt < 3; ++stopAt) {
    CTrackStore store;
    FakePipeline pipeline;
    pipeline.SetLines(GoodBatch(64));
    pipeline.StopFromCall(stopAt);
    EXPECT_EQ(ProcessBatch(0, pipeline, store, kMapKindBaidu, "China"), -1) << stopAt;
    EXPECT_TRUE(pipeline.notified.empty()) << stopAt;
    EXPECT_TRUE(pipeline.stopRequested) << stopAt;
    EXPECT_EQ(store.totalPoints(), stopAt == 0 ? 0 : 64) << stopAt;
  }
}

TEST(ProcessBatch, BatchIndexNamingNoChunkStoresButPostsNothing) {
  for (const std::int32_t index : {-1, 5, 1000}) {
    CTrackStore store;
    FakePipeline pipeline;
    pipeline.SetLines(GoodBatch(3));
    EXPECT_EQ(ProcessBatch(index, pipeline, store, kMapKindBaidu, "China"), 0) << index;
    EXPECT_TRUE(pipeline.notified.empty()) << index;
    EXPECT_EQ(store.totalPoints(), 3) << index;
    EXPECT_EQ(store.readyChunks(), 0) << index;
  }
}

TEST(ProcessBatch, ReadsSlotsFromTheirFirstNonNulByte) {
  CTrackStore store;
  FakePipeline pipeline;
  pipeline.SetLines({"", "", ""});
  const std::string line = GoodLine(9);
  std::memcpy(pipeline.rawSlot(0) + 5, line.c_str(), line.size() + 1);
  std::memset(pipeline.rawSlot(1), 'x', kLineSlotSize);  // unterminated slot
  ProcessBatch(0, pipeline, store, kMapKindBaidu, "China");
  ASSERT_EQ(store.chunk(0)->count, 3);
  EXPECT_TRUE(store.chunk(0)->points[0].valid);
  EXPECT_EQ(store.chunk(0)->points[0].accelX, 9);
  EXPECT_FALSE(store.chunk(0)->points[1].valid);
  EXPECT_FALSE(store.chunk(0)->points[2].valid) << "an all-NUL slot is an empty line";
}

// A kept cue as the pipeline stores it: counter, timing line, the telemetry line and the line
// breaks of the blank line that ends the cue. Every line the live parser takes is a track point.
TEST(ProcessBatch, CuesEndingInTheirBlankLineParseAsTheLiveParserParsesTheLine) {
  const std::vector<std::string> lines = {
      "2016-03-18 14:22:07/E113 56 21.52/N22 32 18.365",  // seconds of 6 characters
      "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6/X:12/Y:-4/Z:-12345",  // Z of 6
      "2016-03-18 14:22:07/E113 56 21.52/N22 32 8.36/35.6",
  };
  for (const char* blank : {"\n\n", "\r\n\r\n", "\n"}) {
    std::vector<std::string> cues;
    for (const std::string& line : lines) {
      cues.push_back("7\n00:00:07,000 --> 00:00:07,100\n" + line + blank);
    }
    CTrackStore store;
    FakePipeline pipeline;
    pipeline.SetLines(cues);
    ProcessBatch(0, pipeline, store, kMapKindYandex, "Oversea");
    for (std::size_t i = 0; i < lines.size(); ++i) {
      CTelemetryParser live;
      ASSERT_TRUE(live.ParseLive(lines[i].c_str())) << lines[i];
      EXPECT_TRUE(store.chunk(0)->points[i].valid) << lines[i];
    }
    EXPECT_EQ(store.chunk(0)->points[1].accelZ, -12345);
  }
}

TEST(ProcessBatch, LineCountOutsideTheSlotsIsClamped) {
  CTrackStore store;
  FakePipeline pipeline;
  pipeline.SetLines(GoodBatch(64));
  pipeline.SetLineCount(1000);
  ProcessBatch(0, pipeline, store, kMapKindBaidu, "China");
  EXPECT_EQ(store.totalPoints(), 64);
  pipeline.SetLineCount(-5);
  ProcessBatch(1, pipeline, store, kMapKindBaidu, "China");
  EXPECT_EQ(store.totalPoints(), 64);
}

TEST(TrackStore, ConsumedChunksNeverPassReadyChunks) {
  CTrackStore store;
  FakePipeline pipeline;
  pipeline.SetLines(GoodBatch(64));
  ProcessBatch(0, pipeline, store, kMapKindBaidu, "China");
  store.SetConsumedChunks(store.readyChunks());
  EXPECT_EQ(store.consumedChunks(), 1);
  store.SetConsumedChunks(store.readyChunks());  // a second 516 hands over nothing new
  EXPECT_EQ(store.consumedChunks(), store.readyChunks());
  store.SetConsumedChunks(9);
  EXPECT_EQ(store.consumedChunks(), 1);
}

TEST(TrackStore, GrowStopsAtTheDirectoryBound) {
  CTrackStore store;
  while (store.chunkCount() < CTrackStore::kMaxChunks) ASSERT_TRUE(store.Grow());
  EXPECT_FALSE(store.Grow());
  EXPECT_EQ(store.chunkCount(), CTrackStore::kMaxChunks);
}

TEST(TrackStore, ReaderOnAnotherThreadSeesOnlyConvertedChunks) {
  // The UI thread reads chunks below readyChunks while the pipeline's thread keeps appending,
  // growing and converting; a ready chunk must already carry its map coordinates.
  CTrackStore store;
  std::atomic<bool> done{false};
  std::atomic<int> unconverted{0};
  std::thread reader([&] {
    while (!done.load()) {
      const std::int32_t ready = store.readyChunks();
      for (std::int32_t c = 0; c < ready; ++c) {
        const TrackChunk* chunk = store.chunk(c);
        if (chunk == nullptr || chunk->count != TrackChunk::kCapacity) ++unconverted;
        for (std::int32_t i = 0; chunk != nullptr && i < chunk->count; ++i) {
          if (chunk->points[i].mapLongitude == 0.0) ++unconverted;
        }
      }
    }
  });
  FakePipeline pipeline;
  for (int batch = 0; batch < 40; ++batch) {
    pipeline.SetLines(GoodBatch(64, batch * 64));
    ProcessBatch(batch, pipeline, store, kMapKindBaidu, "China");
  }
  done = true;
  reader.join();
  EXPECT_EQ(unconverted.load(), 0);
  EXPECT_EQ(store.readyChunks(), 40);
  EXPECT_EQ(store.chunkCount(), 40);
}

TEST(TrackStore, WholeSampleClipTrackIsStoredAndConverted) {
  std::ifstream in(test::TelemetryOf(test::DefaultClip()));
  ASSERT_TRUE(in) << "sample clip lines missing; build korvane_samples";
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 600u);
  CTrackStore store;
  FakePipeline pipeline;
  int batch = 0;
  for (std::size_t first = 0; first < lines.size(); first += 64, ++batch) {
    pipeline.SetLines(
        {lines.begin() + first, lines.begin() + std::min(lines.size(), first + std::size_t{64})});
    ProcessBatch(batch, pipeline, store, kMapKindBaidu, "China");
  }
  EXPECT_EQ(store.totalPoints(), 600);
  EXPECT_EQ(store.readyChunks(), 10);
  for (int c = 0; c < store.readyChunks(); ++c) {
    for (int i = 0; i < store.chunk(c)->count; ++i) {
      const TelemetryRecord& p = store.chunk(c)->points[i];
      ASSERT_TRUE(p.valid) << lines[c * 64 + i];
      EXPECT_NEAR(p.latitude, 22.5356, 0.05);
      EXPECT_NEAR(p.mapLongitude - p.longitude, 0.0117, 0.002) << "BD-09 offset near Shenzhen";
    }
  }
}

}  // namespace
}  // namespace korvane
