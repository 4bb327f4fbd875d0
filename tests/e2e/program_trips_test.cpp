// The real program on the sample card folder, driven with the real mouse (xdotool): the Trips
// button lists the folder's trips, a double click on one makes its clips the playlist in time
// order and plays the first, and the end of a clip goes on to the next clip of the trip; with every
// route of the folder on, a click on another clip's line plays that clip from the clicked moment.
// On a two-camera card each moment is one trip's clip, played through its front camera.
#include <gtest/gtest.h>

#include <string>

#include "index/index_reader.h"
#include "program_driver.h"

namespace korvane::test {
namespace {

// Where in the Trips window (skin "Trips.xml") the first row's middle lies: the 46 px title bar,
// the list's 12 px inset and its 32 px header, then half a 30 px row.
constexpr int kFirstRowX = 200;
constexpr int kFirstRowY = 1 + 46 + 12 + 32 + 15;

std::vector<int> Ints(const std::string& text) {
  std::vector<int> values;
  for (const double v : Numbers(text)) values.push_back(static_cast<int>(v));
  return values;
}

void ClickAt(const std::string& display, int x, int y) {
  ASSERT_TRUE(XdoTool(
      display, {"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "1"}));
}

void ClickCentre(const std::string& display, const std::vector<int>& rect) {
  ASSERT_EQ(rect.size(), 4u);
  ClickAt(display, (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2);
}

std::string IndexOf(ProgramRun& run) {
  return run.home().str() + ".cache/korvane/index.sqlite";
}

// The state once the first clip plays, the folder's clips are indexed and the Trips button shows.
ProbeState WaitUntilIndexed(ProgramRun& run, const std::vector<std::string>& clips) {
  const std::string db = IndexOf(run);
  return run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("state") == 3 && p.Str("indexProgress").empty() &&
               Ints(p.Str("tripsButton")).size() == 4 &&
               CIndexReader(db).GetClips(clips).size() == clips.size();
      },
      120000);
}

// Double-clicks row `row` (from 0) of the Trips window once it is open.
void DoubleClickTripRow(const std::string& display, int row) {
  ASSERT_TRUE(
      XdoTool(display, {"search", "--sync", "--name", "^TripsWnd$", "mousemove", "--window", "%1",
                        std::to_string(kFirstRowX), std::to_string(kFirstRowY + 30 * row), "sleep",
                        "0.3", "click", "--repeat", "2", "--delay", "80", "1"}));
}

TEST(ProgramTrips, ATripPlaysInTimeOrderAndAClickOnAnotherClipsLinePlaysItFromThere) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  const std::string folder = TripFolder();
  std::vector<std::string> clips;
  for (const char* name : {"083000_F", "083020_F", "083040_F", "090000_F", "091000_F"}) {
    clips.push_back(folder + "20260518_" + name + ".mp4");
  }
  ProgramRun run(display.name());
  ASSERT_TRUE(run.Start({folder + "20260518_090000_F.mp4"}));
  ProbeState s = WaitUntilIndexed(run, clips);
  ASSERT_EQ(CIndexReader(IndexOf(run)).GetClips(clips).size(), clips.size()) << s.json;

  ClickCentre(display.name(), Ints(s.Str("tripsButton")));
  // The first row is the earliest trip: the three front-camera clips from 08:30:00.
  DoubleClickTripRow(display.name(), 0);
  s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Int("entries") == 3 && p.Str("current") == clips[0] && p.Int("state") == 3;
      },
      30000);
  ASSERT_EQ(s.Int("entries"), 3) << s.json;
  EXPECT_EQ(s.Str("current"), clips[0]);
  EXPECT_EQ(s.Int("state"), 3) << "the trip's first clip plays: " << s.json;

  // Near the end of the first clip, its end leads to the second of the trip.
  run.Command("seek 19");
  s = run.WaitFor(
      [&](const ProbeState& p) { return p.Str("current") == clips[1] && p.Int("state") == 3; },
      30000);
  EXPECT_EQ(s.Str("current"), clips[1]) << s.json;

  // Every route of the folder, by the toggle in the map's corner: the four clips with telemetry
  // have a line (the fifth has none).
  const std::vector<int> map = Ints(s.Str("mapRect"));
  const std::vector<int> toggle = Ints(s.Map("routesToggle"));
  ASSERT_EQ(map.size(), 4u) << s.json;
  ASSERT_EQ(toggle.size(), 2u) << "the toggle shows once the page reached the program: " << s.json;
  ClickAt(display.name(), map[0] + toggle[0], map[1] + toggle[1]);
  s = run.WaitFor([](const ProbeState& p) { return p.Map("overviewLines") == "4"; }, 10000);
  ASSERT_EQ(s.Map("overviewLines"), "4") << s.json;
  // Clip number 3 of the folder (09:00:00, to the east, a trip of its own), halfway along.
  run.Command("linetarget 3,0.5");
  s = run.WaitFor([](const ProbeState& p) { return Numbers(p.Str("mapTarget")).size() == 3; },
                  5000);
  const std::vector<double> target = Numbers(s.Str("mapTarget"));
  ASSERT_EQ(target.size(), 3u) << s.json;
  ASSERT_TRUE(target[0] > map[0] && target[0] < map[2] && target[1] > map[1] && target[1] < map[3])
      << "the line's point is on the map: " << s.json;
  ClickAt(display.name(), static_cast<int>(target[0]), static_cast<int>(target[1]));
  const double seconds = target[2] / 1000.0;
  s = run.WaitFor(
      [&](const ProbeState& p) {
        return p.Str("current") == clips[3] && p.Int("state") == 3 &&
               p.Num("timePosition") >= seconds - 1.0;
      },
      30000);
  EXPECT_EQ(s.Str("current"), clips[3]) << s.json;
  EXPECT_GE(s.Num("timePosition"), seconds - 1.0) << "played from the clicked moment: " << s.json;
  EXPECT_LT(s.Num("timePosition"), seconds + 5.0) << s.json;

  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

TEST(ProgramTrips, ATwoCameraCardListsEachMomentOnceAndPlaysItsFront) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  const std::string folder = SamplePath("dualcard/");
  std::vector<std::string> clips;
  for (const char* time : {"08_30_00", "08_30_20", "08_30_40", "08_50_00"}) {
    for (const char* channel : {"F", "R"}) {
      clips.push_back(folder + "REC_2026_05_18_" + time + "_" + channel + ".mp4");
    }
  }
  ProgramRun run(display.name());
  // Opening the rear camera's file opens its moment, which plays its front.
  ASSERT_TRUE(run.Start({clips[7]}));
  ProbeState s = WaitUntilIndexed(run, clips);
  ASSERT_EQ(CIndexReader(IndexOf(run)).GetClips(clips).size(), clips.size()) << s.json;
  EXPECT_EQ(s.Int("entries"), 8) << "every file is an entry: " << s.json;
  EXPECT_EQ(s.Str("current"), clips[6]) << s.json;

  // Two trips, not four: the rear clips share their fronts' moments. The second row is the
  // 08:50 moment alone.
  ClickCentre(display.name(), Ints(s.Str("tripsButton")));
  DoubleClickTripRow(display.name(), 1);
  s = run.WaitFor([&](const ProbeState& p) { return p.Int("entries") == 1 && p.Int("state") == 3; },
                  30000);
  EXPECT_EQ(s.Int("entries"), 1) << s.json;
  EXPECT_EQ(s.Str("current"), clips[6]) << s.json;

  ClickCentre(display.name(), Ints(s.Str("tripsButton")));
  DoubleClickTripRow(display.name(), 0);
  s = run.WaitFor([&](const ProbeState& p) { return p.Int("entries") == 3 && p.Int("state") == 3; },
                  30000);
  EXPECT_EQ(s.Int("entries"), 3) << "one entry a moment of the trip: " << s.json;
  EXPECT_EQ(s.Str("current"), clips[0]) << s.json;

  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
}

}  // namespace
}  // namespace korvane::test
