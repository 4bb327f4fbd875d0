// The korvane-indexer program on generated sample clips: every cue at full rate through the
// program's own parser, bad clips stored as "no telemetry" with the reason, the serving protocol,
// and an index that cannot grow or cannot be written.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "index/indexer_protocol.h"
#include "index/overview_line.h"
#include "index/track_summary.h"
#include "indexer_run.h"
#include "platform/process.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/extract_clip_maker.h"
#include "telemetry/telemetry_parser.h"

namespace korvane::test {
namespace {

class IndexerProgram : public testing::Test {
 protected:
  TempDir dir;
  std::string db = dir.str() + "index.sqlite";
};

TEST_F(IndexerProgram, KeepsEveryCueOfTheTrackAtFullRate) {
  const std::vector<std::string> clips = {DefaultClip(), CuesClip(641), SamplePath("long_cue.mp4")};
  const ProgramRun run = IndexClips(db, clips);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  EXPECT_EQ(run.out, "done\tindexed\t\ndone\tindexed\t\ndone\tindexed\t\n");

  CIndexReader reader(db);
  for (const std::string& clip : clips) {
    SCOPED_TRACE(clip);
    const std::vector<IndexPoint> expected = ParsedLines(TelemetryOf(clip));
    const std::vector<IndexPoint> points = reader.GetPoints(clip);
    EXPECT_EQ(points, expected);
    const ClipSummary s = reader.GetClip(clip);
    EXPECT_EQ(s.status, ClipStatus::Indexed);
    EXPECT_EQ(s.pointCount, static_cast<int>(expected.size()));
    EXPECT_EQ(s.size, static_cast<std::int64_t>(std::filesystem::file_size(clip)));
    EXPECT_EQ(s.firstCameraTime, expected.front().seconds());
    EXPECT_EQ(s.lastCameraTime, expected.back().seconds());
    ASSERT_EQ(reader.GetOverviews(std::vector<std::string>{clip}).size(), 1u);
    EXPECT_EQ(reader.GetOverviews(std::vector<std::string>{clip})[0].points,
              SimplifyOverview(expected));
  }
  EXPECT_EQ(reader.GetPoints(DefaultClip()).size(), 600u) << "not one cue in ten";
  EXPECT_EQ(reader.GetPoints(CuesClip(641)).size(), 641u);
  const ClipSummary drive = reader.GetClip(DefaultClip());
  EXPECT_EQ(drive.durationMs, 60'000);
  EXPECT_GT(drive.distanceM, 700);  // about 50 km/h for a minute
  EXPECT_LT(drive.distanceM, 1000);
  EXPECT_NEAR(drive.maxSpeedKmh, 70.0, 0.5);
}

struct BadClip {
  const char* name;
  void (*make)(const std::string& path);
  const char* reason;
};

void ZeroBytes(const std::string& path) {
  WriteFileText(path, "");
}
void Truncated(const std::string& path) {
  const std::string bytes = ReadFileText(DefaultClip());
  WriteFileText(path, bytes.substr(0, bytes.size() / 2));
}
void RenamedText(const std::string& path) {
  WriteFileText(path, "2026-05-18 08:30:00/E113 56 21.48/N22 32 8.16/0.0/X:2000/Y:2075/Z:2333\n");
}
void WithoutSubtitles(const std::string& path) {
  std::filesystem::copy_file(NoSubtitleClip(), path);
}
void OrdinarySubtitles(const std::string& path) {
  std::filesystem::copy_file(PlainSubtitleClip(), path);
}
void Missing(const std::string&) {}
// Every sample table of the clip claims 2^31 entries, far more than its box holds.
void ClaimsBillionsOfRecords(const std::string& path) {
  std::string bytes = ReadFileText(DefaultClip());
  for (const std::string table : {"stsz", "stts", "stco", "stsc"}) {
    const std::size_t countAt = table == "stsz" ? 12 : 8;  // after version, flags (and size)
    for (std::size_t at = bytes.find(table); at != std::string::npos;
         at = bytes.find(table, at + 4)) {
      bytes.replace(at + countAt, 4, std::string("\x80\0\0\0", 4));
    }
  }
  WriteFileText(path, bytes);
}
// 100 000 movie boxes, each the only content of the one around it.
void BoxesNestWithoutEnd(const std::string& path) {
  constexpr std::uint32_t kDepth = 100'000;
  std::string bytes(
      "\0\0\0\x14"
      "ftypisom\0\0\2\0isom",
      20);
  for (std::uint32_t level = 0; level < kDepth; ++level) {
    const std::uint32_t size = 8 * (kDepth - level);
    for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(size >> shift);
    bytes += "moov";
  }
  WriteFileText(path, bytes);
}

class BadClips : public IndexerProgram, public testing::WithParamInterface<BadClip> {};

TEST_P(BadClips, AreStoredAsNoTelemetryWithTheReason) {
  const std::string clip = dir.str() + "clip.mp4";
  GetParam().make(clip);
  const ProgramRun run = IndexClips(db, {clip});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.rfind("done\tno_telemetry\t", 0), 0u) << run.out;
  const ClipSummary s = CIndexReader(db).GetClip(clip);
  EXPECT_EQ(s.status, ClipStatus::NoTelemetry);
  EXPECT_NE(s.reason.find(GetParam().reason), std::string::npos) << s.reason;
  EXPECT_EQ(s.pointCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Clips, BadClips,
    testing::Values(BadClip{"ZeroBytes", ZeroBytes, "empty file"},
                    BadClip{"Truncated", Truncated, "not a readable video file"},
                    BadClip{"RenamedText", RenamedText, "not a readable video file"},
                    BadClip{"WithoutSubtitles", WithoutSubtitles, "no subtitle track"},
                    BadClip{"OrdinarySubtitles", OrdinarySubtitles, "no telemetry line among 60"},
                    BadClip{"Missing", Missing, "No such file"},
                    BadClip{"BoxesNestWithoutEnd", BoxesNestWithoutEnd,
                            "not a readable video file"}),
    [](const auto& info) { return std::string(info.param.name); });

// The sample table's reader keeps the entries the boxes hold and says what they claimed.
TEST_F(IndexerProgram, TablesClaimingBillionsOfEntriesKeepTheCuesTheyHold) {
  const std::string clip = dir.str() + "clip.mp4";
  ClaimsBillionsOfRecords(clip);
  ASSERT_EQ(IndexClips(db, {clip}).exitCode, 0);
  const ClipSummary s = CIndexReader(db).GetClip(clip);
  EXPECT_EQ(s.status, ClipStatus::Indexed);
  EXPECT_NE(s.reason.find("the stsz lists more entries than it holds"), std::string::npos)
      << s.reason;
  EXPECT_EQ(s.pointCount, 600);
}

TEST_F(IndexerProgram, AClipCutShortKeepsTheCuesBeforeTheCut) {
  // Index at the front, as some cameras write it: the head of the clip still reads.
  const std::string clip = MakeTelemetryClip(SourceDir(), dir.str(), "front", 3000, true);
  ASSERT_FALSE(clip.empty());
  const std::string bytes = ReadFileText(clip);
  WriteFileText(clip, bytes.substr(0, bytes.size() * 2 / 3));
  ASSERT_EQ(IndexClips(db, {clip}).exitCode, 0);
  const ClipSummary s = CIndexReader(db).GetClip(clip);
  EXPECT_EQ(s.status, ClipStatus::Indexed) << s.reason;
  EXPECT_GT(s.pointCount, 100);
  EXPECT_LT(s.pointCount, 3000);
}

TEST_F(IndexerProgram, ServesRequestsForAnyPathAndMarksClipsFailed) {
  const std::string odd = dir.str() + "odd 'name' \"q\"\t行车\nclip.MP4";
  std::filesystem::copy_file(CuesClip(5), odd);
  const std::string input = FormatRequest({IndexerRequest::Kind::Index, odd, ""}) +
                            FormatRequest({IndexerRequest::Kind::Fail, DefaultClip(),
                                           "the indexer crashed twice (signal 11)"}) +
                            "nonsense\n";
  const ProgramRun run = RunProgram(Indexer(), {"--db", db, "--serve"}, input);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "done\tindexed\t\ndone\tfailed\tthe indexer crashed twice (signal 11)\n"
            "dberror\tbad request\n");
  CIndexReader reader(db);
  EXPECT_EQ(reader.GetPoints(odd).size(), 5u);
  const ClipSummary failed = reader.GetClip(DefaultClip());
  EXPECT_EQ(failed.status, ClipStatus::Failed);
  EXPECT_EQ(failed.reason, "the indexer crashed twice (signal 11)");
  EXPECT_EQ(failed.size, static_cast<std::int64_t>(std::filesystem::file_size(DefaultClip())))
      << "a changed file is tried again";
}

TEST_F(IndexerProgram, AnIndexThatCannotGrowLosesNothingAlreadyStored) {
  ASSERT_EQ(IndexClips(db, {DefaultClip(), CuesClip(641)}).exitCode, 0);
  const std::vector<IndexPoint> before = CIndexReader(db).GetPoints(DefaultClip());
  ASSERT_EQ(before.size(), 600u);
  const std::string big = MakeTelemetryClip(SourceDir(), dir.str(), "big", 3000, false);
  ASSERT_FALSE(big.empty());

  // No file of the process may grow past 40 kB: room for the shared-memory index, not for the
  // 3000 points of the new clip.
  const ProgramRun full =
      RunProgram("/usr/bin/prlimit", {"--fsize=40000", Indexer(), "--db", db, big});
  EXPECT_EQ(full.exitCode, 3);
  EXPECT_EQ(full.out.rfind("dberror\t", 0), 0u) << full.out;

  CIndexReader reader(db);
  EXPECT_EQ(reader.GetPoints(DefaultClip()), before);
  EXPECT_EQ(reader.GetClip(CuesClip(641)).pointCount, 641);
  EXPECT_EQ(reader.GetClip(big).status, ClipStatus::Unknown);
  SqliteDb raw;
  ASSERT_EQ(raw.Open(db, SQLITE_OPEN_READONLY), SQLITE_OK);
  SqliteStatement check;
  ASSERT_EQ(check.Prepare(raw, "PRAGMA integrity_check"), SQLITE_OK);
  ASSERT_EQ(check.Step(), SQLITE_ROW);
  EXPECT_EQ(check.ColumnText(0), "ok");

  EXPECT_EQ(IndexClips(db, {big}).exitCode, 0) << "with room again it goes on";
  EXPECT_EQ(reader.GetClip(big).pointCount, 3000);
}

TEST_F(IndexerProgram, AReadOnlyIndexIsReportedAndLeftAsItWas) {
  // Permissions do not stop root, so as root the indexer runs as "nobody".
  std::vector<std::string> prefix;
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr || !std::filesystem::exists("/usr/bin/setpriv")) {
      GTEST_SKIP() << "needs the user nobody and setpriv";
    }
    prefix = {"--reuid=" + std::to_string(nobody->pw_uid),
              "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
    ASSERT_EQ(chown(dir.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  }
  auto indexAs = [&](const std::string& clip) {
    std::vector<std::string> args = prefix;
    if (!prefix.empty()) args.push_back(Indexer());
    for (const std::string& a : {std::string("--db"), db, clip}) args.push_back(a);
    return prefix.empty() ? RunProgram(Indexer(), args) : RunProgram("/usr/bin/setpriv", args);
  };
  ASSERT_EQ(indexAs(CuesClip(5)).exitCode, 0);
  std::filesystem::permissions(db, std::filesystem::perms::owner_read);
  std::filesystem::permissions(
      dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const ProgramRun run = indexAs(CuesClip(641));
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_EQ(run.out.rfind("dberror\t", 0), 0u) << run.out;
  CIndexReader reader(db);
  EXPECT_EQ(reader.GetClip(CuesClip(5)).pointCount, 5);
  EXPECT_EQ(reader.GetClip(CuesClip(641)).status, ClipStatus::Unknown);
}

}  // namespace
}  // namespace korvane::test
