// The pure rules of saving a stretch: the plan over the clips of every channel, the times the
// command line takes, ffmpeg's concat lists and arguments, the comment, the saved file's name and
// the telemetry lines, read back by the player's own line reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "export/save_command.h"
#include "export/saved_track.h"
#include "export/stretch_plan.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {
namespace {

// 2026-05-18 08:30:00 on the camera clock, in ms since 1970.
constexpr std::int64_t kT0 = 1779093000000;
constexpr std::int64_t kMinute = 60000;

StretchClip Clip(const char* path, std::int64_t startMs, std::int64_t durationMs,
                 CameraChannel channel = CameraChannel::Front, int trip = 0) {
  return {path, startMs, durationMs, channel, trip};
}

struct PieceText {
  std::string path;
  std::int64_t inMs, outMs, atMs;
  friend bool operator==(const PieceText&, const PieceText&) = default;
};
std::ostream& operator<<(std::ostream& out, const PieceText& p) {
  return out << p.path << " [" << p.inMs << ", " << p.outMs << ") at " << p.atMs;
}

struct PlanCase {
  const char* name;
  std::vector<StretchClip> clips;
  std::int64_t from, to;
  std::string error;                           // empty: the plan below
  std::vector<std::vector<PieceText>> pieces;  // per channel, main first
  std::vector<std::int64_t> gapLengths;        // of every channel, in order
};
std::ostream& operator<<(std::ostream& out, const PlanCase& c) {
  return out << c.name;
}

class StretchPlanRules : public testing::TestWithParam<PlanCase> {};

TEST_P(StretchPlanRules, CutsEachChannelAtItsOwnTimesOrSaysWhyNot) {
  const PlanCase& c = GetParam();
  const StretchPlan plan = PlanStretch(c.clips, c.from, c.to);
  ASSERT_EQ(plan.error, c.error);
  if (!c.error.empty()) return;
  std::vector<std::vector<PieceText>> pieces;
  std::vector<std::int64_t> gaps;
  for (const ChannelPlan& channel : plan.channels) {
    pieces.emplace_back();
    for (const StretchPiece& p : channel.pieces) {
      pieces.back().push_back({p.path, p.inMs, p.outMs, p.atMs});
    }
    for (const StretchGap& g : channel.gaps) gaps.push_back(g.lengthMs);
  }
  EXPECT_EQ(pieces, c.pieces);
  EXPECT_EQ(gaps, c.gapLengths);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StretchPlanRules,
    testing::Values(
        PlanCase{"inside one clip",
                 {Clip("a", kT0, kMinute)},
                 kT0 + 10000,
                 kT0 + 40000,
                 "",
                 {{{"a", 10000, 40000, 0}}},
                 {}},
        PlanCase{"across the seam of two clips",
                 {Clip("b", kT0 + kMinute, kMinute), Clip("a", kT0, kMinute)},
                 kT0 + 45000,
                 kT0 + 75000,
                 "",
                 {{{"a", 45000, 60000, 0}, {"b", 0, 15000, 15000}}},
                 {}},
        PlanCase{"a gap between clips stays a gap",
                 {Clip("a", kT0, kMinute), Clip("b", kT0 + kMinute + 5000, kMinute)},
                 kT0 + 50000,
                 kT0 + 80000,
                 "",
                 {{{"a", 50000, 60000, 0}, {"b", 0, 15000, 15000}}},
                 {5000}},
        PlanCase{
            "an overlapping event copy is used once",
            {Clip("a", kT0, kMinute), Clip("event", kT0 + 40000, 30000),
             Clip("b", kT0 + kMinute, kMinute)},
            kT0 + 30000,
            kT0 + 90000,
            "",
            {{{"a", 30000, 60000, 0}, {"event", 20000, 30000, 30000}, {"b", 10000, 30000, 40000}}},
            {}},
        PlanCase{"the rear follows the front, later start placed by time",
                 {Clip("aR", kT0 + 2000, kMinute, CameraChannel::Rear), Clip("aF", kT0, kMinute)},
                 kT0,
                 kT0 + 30000,
                 "",
                 {{{"aF", 0, 30000, 0}}, {{"aR", 0, 28000, 2000}}},
                 {2000}},
        PlanCase{"a stretch past the clips is cut to them",
                 {Clip("a", kT0, kMinute)},
                 kT0 - 15000,
                 kT0 + 15000,
                 "",
                 {{{"a", 0, 15000, 0}}},
                 {}},
        PlanCase{"the first channel present leads without a front",
                 {Clip("i", kT0, kMinute, CameraChannel::Cabin),
                  Clip("r", kT0, kMinute, CameraChannel::Rear)},
                 kT0,
                 kT0 + 1000,
                 "",
                 {{{"r", 0, 1000, 0}}, {{"i", 0, 1000, 0}}},
                 {}},
        PlanCase{"zero length",
                 {Clip("a", kT0, kMinute)},
                 kT0 + 5,
                 kT0 + 5,
                 "the stretch has no length",
                 {},
                 {}},
        PlanCase{"reversed",
                 {Clip("a", kT0, kMinute)},
                 kT0 + 9,
                 kT0 + 5,
                 "the stretch ends before it starts",
                 {},
                 {}},
        PlanCase{"beyond the clips",
                 {Clip("a", kT0, kMinute), Clip("z", kT0, 0)},
                 kT0 + kMinute,
                 kT0 + 2 * kMinute,
                 "no clip covers the stretch",
                 {},
                 {}},
        PlanCase{"across two trips",
                 {Clip("a", kT0, kMinute, CameraChannel::Front, 1),
                  Clip("b", kT0 + 2 * kMinute, kMinute, CameraChannel::Front, 2)},
                 kT0 + 50000,
                 kT0 + 130000,
                 "the stretch runs across two trips",
                 {},
                 {}}));

struct TimeCase {
  const char* text;
  std::optional<StretchTime> time;
};

TEST(StretchTimeText, ReadsACameraTimeOrAClipOffsetAndNothingElse) {
  const TimeCase cases[] = {
      {"2026-05-18T08:30:00", StretchTime{"", kT0}},
      {"/card/a b.MP4@00:00:42", StretchTime{"/card/a b.MP4", 42000}},
      {"a@1:02:03.5", StretchTime{"a", 3723500}},
      {"a@42.25", StretchTime{"a", 42250}},
      {"a@b@07", StretchTime{"a@b", 7000}},
      {"2026-05-18 08:30:00", std::nullopt},
      {"2026-02-30T08:30:00", std::nullopt},
      {"2026-05-18T24:00:00", std::nullopt},
      {"a@00:61", std::nullopt},
      {"a@", std::nullopt},
      {"@5", std::nullopt},
      {"a@-5", std::nullopt},
      {"a@1:2:3:4", std::nullopt},
      {"a@5.1234", std::nullopt},
      {"a@5:", std::nullopt},
  };
  for (const TimeCase& c : cases) {
    const auto time = ParseStretchTime(c.text);
    ASSERT_EQ(time.has_value(), c.time.has_value()) << c.text;
    if (!time) continue;
    EXPECT_EQ(time->clip, c.time->clip) << c.text;
    EXPECT_EQ(time->valueMs, c.time->valueMs) << c.text;
  }
}

StretchPlan TwoChannelPlanWithAGap() {
  const std::vector<StretchClip> clips = {
      Clip("/card/it's F.mp4", kT0, kMinute), Clip("/card/b F.mp4", kT0 + kMinute + 3000, kMinute),
      Clip("/card/a R.mp4", kT0 + 500, kMinute, CameraChannel::Rear)};
  return PlanStretch(clips, kT0 + 45250, kT0 + 75250);
}

TEST(SaveCommand, ConcatListKeepsTheGapAsTheFirstPiecesLength) {
  const StretchPlan plan = TwoChannelPlanWithAGap();
  ASSERT_EQ(plan.error, "");
  EXPECT_EQ(ConcatList(plan.channels[0]),
            "ffconcat version 1.0\n"
            "file '/card/it'\\''s F.mp4'\ninpoint 45.250\noutpoint 60.000\nduration 17.750\n"
            "file '/card/b F.mp4'\ninpoint 0.000\noutpoint 12.250\nduration 12.250\n");
}

TEST(SaveCommand, ArgumentsCopyEveryChannelMainFirstWithSoundCuesAndComment) {
  const StretchPlan plan = TwoChannelPlanWithAGap();
  SaveFiles files{{"/tmp/f.txt", "/tmp/r.txt"}, "/tmp/cues.srt", true, true, "/out/.x.part"};
  const std::vector<std::string> args = SaveArguments(plan, files);
  auto after = [&](const std::string& flag, int nth = 0) {
    auto it = args.begin();
    for (int i = 0; i <= nth; ++i) {
      it = std::find(i == 0 ? args.begin() : it + 1, args.end(), flag);
      if (it == args.end()) return std::string("<none>");
    }
    return it + 1 == args.end() ? std::string("<end>") : *(it + 1);
  };
  EXPECT_EQ(after("-i", 0), "/tmp/f.txt");
  EXPECT_EQ(after("-i", 1), "/tmp/r.txt");
  EXPECT_EQ(after("-i", 2), "/tmp/cues.srt");
  EXPECT_EQ(after("-itsoffset"), "<none>") << "both channels cover the stretch's start";
  EXPECT_EQ(after("-map", 0), "0:v:0");
  EXPECT_EQ(after("-map", 1), "1:v:0");
  EXPECT_EQ(after("-map", 2), "0:a:0");
  EXPECT_EQ(after("-map", 3), "2:s:0");
  EXPECT_EQ(after("-c:v"), "copy");
  EXPECT_EQ(after("-c:a"), "aac");
  EXPECT_EQ(after("-c:s"), "mov_text");
  EXPECT_EQ(after("-t"), "30.000");
  EXPECT_EQ(after("-metadata"), "comment=" + SaveComment(plan));
  EXPECT_EQ(args.back(), "/out/.x.part");

  files.audioToAac = false;
  EXPECT_EQ(
      SaveArguments(plan, files)[std::find(args.begin(), args.end(), "-c:a") - args.begin() + 1],
      "copy");
  files.concatLists.pop_back();
  EXPECT_TRUE(SaveArguments(plan, files).empty()) << "a list per channel or nothing";
}

TEST(SaveCommand, ALaterChannelIsPlacedByItsOffset) {
  const std::vector<StretchClip> clips = {Clip("f", kT0, kMinute),
                                          Clip("r", kT0 + 1500, kMinute, CameraChannel::Rear)};
  const StretchPlan plan = PlanStretch(clips, kT0, kT0 + 10000);
  const auto args = SaveArguments(plan, {{"f.txt", "r.txt"}, "", false, false, "o"});
  const auto offset = std::find(args.begin(), args.end(), "-itsoffset");
  ASSERT_NE(offset, args.end());
  EXPECT_EQ(*(offset + 1), "1.500");
  EXPECT_EQ(*(offset + 7), "r.txt") << "the offset belongs to the rear's input";
  EXPECT_EQ(std::count(args.begin(), args.end(), "-c:a"), 0) << "no sound, no sound codec";
}

TEST(SaveCommand, CommentHoldsTheTrueStartAndEveryGap) {
  EXPECT_EQ(SaveComment(TwoChannelPlanWithAGap()),
            "Saved by KORVANE: camera time 2026-05-18 08:30:45.250 to 08:31:15.250; "
            "no picture 00:00:14 to 00:00:17 (F); no picture 00:00:15 to 00:00:30 (R)");
}

TEST(SavedName, IsTheStartTimeAndANumberWhenTheMp4OrGpxIsTaken) {
  std::set<std::string> existing;
  auto taken = [&](const std::string& p) { return existing.count(p) > 0; };
  const std::string first = "/home/d/Documents/KORVANE/Saved/2026-05-18 08-30-07 incident.mp4";
  EXPECT_EQ(SavedFileName("/home/d/Documents/KORVANE/Saved", kT0 + 7400, taken), first);
  existing.insert(first);
  existing.insert("/s/2026-05-18 08-30-07 incident 2.gpx");
  EXPECT_EQ(SavedFileName("/home/d/Documents/KORVANE/Saved/", kT0 + 7000, taken),
            "/home/d/Documents/KORVANE/Saved/2026-05-18 08-30-07 incident 2.mp4");
  existing.insert("/s/2026-05-18 08-30-07 incident.mp4");
  EXPECT_EQ(SavedFileName("/s", kT0 + 7000, taken), "/s/2026-05-18 08-30-07 incident 3.mp4");
  EXPECT_EQ(SavedFileName("/s", kT0, [](const std::string&) { return true; }), "");
  EXPECT_EQ(BesideGpx("/a.b/c"), "/a.b/c.gpx");
  EXPECT_EQ(BesideGpx("/a/.c"), "/a/.c.gpx");
}

struct LineCase {
  const char* name;
  SavedPoint point;
  const char* line;
};

TEST(SavedTrack, LinesReadBackThroughThePlayersLineReader) {
  const LineCase cases[] = {
      {"north-east with G",
       {0, kT0 + 7999, 37.503417, 127.023183, 50.0f, true, 0.0f, -0.5f, 1.0f},
       "2026-05-18 08:30:07/E127 1 23.459/N37 30 12.301/27.00/X:2000/Y:1833/Z:2333"},
      {"south-west without G",
       {0, kT0, -33.5, -70.75, 0.0f, false, 9.0f, 9.0f, 9.0f},
       "2026-05-18 08:30:00/W70 45 0.000/S33 30 0.000/0.00/X:-/Y:-/Z:-"},
      {"seconds rounding up carry into the minute",
       {0, kT0, 10.0 + 59.9999 / 3600.0, 0.0, -3.0f, true, 0.0f, 0.0f, 0.0f},
       "2026-05-18 08:30:00/E0 0 0.000/N10 1 0.000/0.00/X:2000/Y:2000/Z:2000"},
  };
  for (const LineCase& c : cases) {
    const std::string line = SavedTrackLine(c.point);
    EXPECT_EQ(line, c.line) << c.name;
    CTelemetryParser parser;
    ASSERT_TRUE(parser.ParseFull(line.c_str())) << c.name;
    const TelemetryRecord& r = parser.record();
    EXPECT_NEAR(r.latitude, c.point.latitude, 1e-6) << c.name;
    EXPECT_NEAR(r.longitude, c.point.longitude, 1e-6) << c.name;
    EXPECT_NEAR(r.speedKmh, std::max(0.0f, c.point.speedKmh), 0.01) << c.name;
    EXPECT_EQ(r.noGReading, !c.point.hasG) << c.name;
  }
}

TEST(SavedTrack, CuesRunFromPointToPointAndSkipPointsOutOfOrder) {
  SavedPoint a{0, kT0, 1, 1, 0, false, 0, 0, 0};
  SavedPoint b = a, c = a, d = a;
  b.stretchMs = 1000;
  c.stretchMs = 500;  // behind b: left out
  d.stretchMs = 3723400;
  const SavedPoint points[] = {a, b, c, d};
  const std::string line = SavedTrackLine(a);
  EXPECT_EQ(SavedTrackCues(points, 3723400), "1\n00:00:00,000 --> 00:00:01,000\n" + line + "\n\n" +
                                                 "2\n00:00:01,000 --> 01:02:03,400\n" + line +
                                                 "\n\n" + "3\n01:02:03,400 --> 01:02:03,500\n" +
                                                 line + "\n\n");
}

}  // namespace
}  // namespace korvane
