// The index file through its writer and its reader: what goes in reads back, bad files are moved
// aside and rebuilt, a file deleted under the writer comes back, readers never fail on bad files.
#include "index/index_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "index/index_writer.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "support/file_text.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::ReadFileText;
using test::TempDir;
using test::WriteFileText;

std::vector<IndexPoint> Track(int n, double lat0) {
  std::vector<IndexPoint> points;
  for (int i = 0; i < n; ++i) {
    points.push_back({i * 100, (1779093000 + i / 10) * 1000LL, lat0 + i * 1e-5,
                      113.9 + (i % 7) * 1e-6, static_cast<float>(i % 90), i * 1e-3f, -i * 1e-3f,
                      1.0f});
  }
  return points;
}

ClipSummary Summary(const std::string& path, const std::vector<IndexPoint>& points) {
  ClipSummary s;
  s.path = path;
  s.size = 1234;
  s.mtimeNs = 1'700'000'000'123'456'789;
  s.durationMs = points.size() * 100;
  s.status = points.empty() ? ClipStatus::NoTelemetry : ClipStatus::Indexed;
  s.reason = points.empty() ? "no subtitle track" : "";
  SummarizeTrack(points, s);
  return s;
}

void ExpectSameSummary(const ClipSummary& got, const ClipSummary& want) {
  EXPECT_EQ(got.path, want.path);
  EXPECT_EQ(got.size, want.size);
  EXPECT_EQ(got.mtimeNs, want.mtimeNs);
  EXPECT_EQ(got.durationMs, want.durationMs);
  EXPECT_EQ(got.firstCameraTime, want.firstCameraTime);
  EXPECT_EQ(got.lastCameraTime, want.lastCameraTime);
  EXPECT_EQ(got.pointCount, want.pointCount);
  EXPECT_DOUBLE_EQ(got.distanceM, want.distanceM);
  EXPECT_EQ(got.maxSpeedKmh, want.maxSpeedKmh);
  EXPECT_EQ(got.status, want.status);
  EXPECT_EQ(got.reason, want.reason);
}

class IndexFile : public testing::Test {
 protected:
  // Stores a clip of `n` points; returns its points.
  std::vector<IndexPoint> StoreClip(CIndexWriter& writer, const std::string& clip, int n,
                                    double lat0 = 22.5) {
    const std::vector<IndexPoint> points = Track(n, lat0);
    EXPECT_EQ(writer.Store(Summary(clip, points), points, SimplifyOverview(points)), "");
    return points;
  }

  TempDir dir;
  std::string db = dir.str() + "cache/korvane/index.sqlite";
};

TEST_F(IndexFile, WhatTheWriterStoresTheReaderAnswers) {
  CIndexWriter writer(db);
  const auto a = StoreClip(writer, "/clips/a.mp4", 1800);
  const auto b = StoreClip(writer, "/clips/行车 'b'.mp4", 50, 48.8);
  ASSERT_EQ(writer.Store(Summary("/clips/none.mp4", {}), {}, {}), "");

  CIndexReader reader(db);
  ExpectSameSummary(reader.GetClip("/clips/a.mp4"), Summary("/clips/a.mp4", a));
  ExpectSameSummary(reader.GetClip("/clips/none.mp4"), Summary("/clips/none.mp4", {}));
  EXPECT_EQ(reader.GetPoints("/clips/a.mp4"), a);
  EXPECT_EQ(reader.GetPoints("/clips/行车 'b'.mp4"), b);
  EXPECT_TRUE(reader.GetPoints("/clips/none.mp4").empty());

  const ClipSummary unknown = reader.GetClip("/clips/other.mp4");
  EXPECT_EQ(unknown.status, ClipStatus::Unknown);
  EXPECT_EQ(unknown.path, "/clips/other.mp4");

  // Lines only for clips with points, in the order asked, each the stored overview.
  const std::vector<std::string> asked = {"/clips/行车 'b'.mp4", "/clips/none.mp4",
                                          "/clips/other.mp4", "/clips/a.mp4"};
  const std::vector<OverviewLine> lines = reader.GetOverviews(asked);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].path, asked[0]);
  EXPECT_EQ(lines[0].points, b);
  EXPECT_EQ(lines[1].path, "/clips/a.mp4");
  EXPECT_EQ(lines[1].points, SimplifyOverview(a));
  EXPECT_EQ(reader.GetClips(asked).size(), 3u);
}

TEST_F(IndexFile, IndexingAClipAgainReplacesItsRowAndTrack) {
  CIndexWriter writer(db);
  StoreClip(writer, "/clips/a.mp4", 300);
  const auto again = StoreClip(writer, "/clips/a.mp4", 20, 10.0);
  CIndexReader reader(db);
  EXPECT_EQ(reader.GetClip("/clips/a.mp4").pointCount, 20);
  EXPECT_EQ(reader.GetPoints("/clips/a.mp4"), again);
  SqliteDb raw;
  ASSERT_EQ(raw.Open(db, SQLITE_OPEN_READONLY), SQLITE_OK);
  EXPECT_EQ(raw.QueryInt("SELECT count(*) FROM clip", -1), 1);
  EXPECT_EQ(raw.QueryInt("SELECT count(*) FROM clip_track", -1), 1);
}

// A file at the index's path that is not a usable index, made by `make`.
struct BadFile {
  const char* name;
  void (*make)(const std::string& path);
};

void Garbage(const std::string& path) {
  WriteFileText(path, "this is not a database\n");
}
void ForeignSqlite(const std::string& path) {
  SqliteDb other;
  other.Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  other.Exec("CREATE TABLE photos(name TEXT); INSERT INTO photos VALUES('x')");
}
void OtherSchemaVersion(const std::string& path) {
  {
    CIndexWriter writer(path);
    writer.Open();
  }
  SqliteDb raw;
  raw.Open(path, SQLITE_OPEN_READWRITE);
  raw.Exec("PRAGMA user_version=99");
}
// An index as the version before made it: without the telemetry source columns.
void PreviousSchemaVersion(const std::string& path) {
  {
    CIndexWriter writer(path);
    writer.Open();
  }
  SqliteDb raw;
  raw.Open(path, SQLITE_OPEN_READWRITE);
  raw.Exec("ALTER TABLE clip DROP COLUMN source; ALTER TABLE clip DROP COLUMN has_g_sensor;");
  raw.Exec(("PRAGMA user_version=" + std::to_string(kIndexSchemaVersion - 1)).c_str());
}
void DamagedPages(const std::string& path) {
  {
    CIndexWriter writer(path);
    for (int i = 0; i < 40; ++i) {
      const auto points = Track(400, 20.0 + i);
      writer.Store(Summary("/c" + std::to_string(i), points), points, points);
    }
  }
  std::string bytes = ReadFileText(path);
  ASSERT_GT(bytes.size(), 40'000u);
  for (std::size_t i = 8192; i < bytes.size() - 4096; i += 7) bytes[i] = static_cast<char>(i * 31);
  WriteFileText(path, bytes);
}

class BadIndexFile : public IndexFile, public testing::WithParamInterface<BadFile> {};

TEST_P(BadIndexFile, IsMovedAsideAndANewIndexMade) {
  std::filesystem::create_directories(std::filesystem::path(db).parent_path());
  GetParam().make(db);
  const std::string before = ReadFileText(db);
  ASSERT_FALSE(before.empty());

  CIndexReader reader(db);
  EXPECT_EQ(reader.GetClip("/c1").status, ClipStatus::Unknown) << "a reader takes it as empty";
  EXPECT_TRUE(reader.GetPoints("/c1").empty());

  CIndexWriter writer(db);
  const auto points = StoreClip(writer, "/clips/a.mp4", 100);
  EXPECT_TRUE(writer.movedAside());
  EXPECT_EQ(ReadFileText(MovedAsidePath(db)), before) << "kept beside, byte for byte";
  EXPECT_EQ(reader.GetPoints("/clips/a.mp4"), points) << "the reader follows the new file";
  EXPECT_EQ(reader.GetClip("/c1").status, ClipStatus::Unknown);
}

INSTANTIATE_TEST_SUITE_P(Files, BadIndexFile,
                         testing::Values(BadFile{"Garbage", Garbage},
                                         BadFile{"ForeignSqlite", ForeignSqlite},
                                         BadFile{"OtherSchemaVersion", OtherSchemaVersion},
                                         BadFile{"PreviousSchemaVersion", PreviousSchemaVersion},
                                         BadFile{"DamagedPages", DamagedPages}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IndexFile, AnIndexDeletedWhileOpenIsMadeAgainByTheNextStore) {
  CIndexWriter writer(db);
  CIndexReader reader(db);
  StoreClip(writer, "/clips/a.mp4", 10);
  ASSERT_EQ(reader.GetClip("/clips/a.mp4").status, ClipStatus::Indexed);
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);

  EXPECT_EQ(reader.GetClip("/clips/a.mp4").status, ClipStatus::Unknown);
  const auto b = StoreClip(writer, "/clips/b.mp4", 10);
  ASSERT_TRUE(std::filesystem::exists(db));
  EXPECT_FALSE(writer.movedAside());
  EXPECT_EQ(reader.GetPoints("/clips/b.mp4"), b);
  EXPECT_EQ(reader.GetClip("/clips/a.mp4").status, ClipStatus::Unknown);
}

TEST_F(IndexFile, AnIndexThatCannotBeWrittenIsReportedNotCrashedOn) {
  // A folder in place of the index's folder cannot hold it.
  WriteFileText(dir.str() + "cache/korvane", "a file where the folder should be");
  CIndexWriter writer(db);
  EXPECT_NE(writer.Open(), "");
  const auto points = Track(5, 1.0);
  EXPECT_NE(writer.Store(Summary("/a", points), points, points), "");
  EXPECT_EQ(CIndexReader(db).GetClip("/a").status, ClipStatus::Unknown);
}

TEST(IndexLocation, FollowsTheXdgCacheFolder) {
  test::ScopedEnv env;
  env.Set("XDG_CACHE_HOME", "/var/cache-test");
  EXPECT_EQ(IndexDatabasePath(), "/var/cache-test/korvane/index.sqlite");
  env.Set("XDG_CACHE_HOME", "relative/ignored");
  env.Set("HOME", "/home/someone");
  EXPECT_EQ(IndexDatabasePath(), "/home/someone/.cache/korvane/index.sqlite");
}

}  // namespace
}  // namespace korvane
