// The stamp of a stamped copy: it reads as the GPS panel reads the saved file's own line, follows
// the points at their rate, says "no signal" where no fix covers a moment, and is an ASS script.
#include "export/stamp_track.h"

#include <gtest/gtest.h>

#include "telemetry/telemetry_parser.h"
#include "telemetry/telemetry_text.h"

namespace korvane {
namespace {

// 2026-05-18 08:30:00 on the camera clock, in ms since 1970.
constexpr std::int64_t kT0 = 1779093000000;

SavedPoint Point(std::int64_t stretchMs, std::int64_t cameraMs, float speedKmh = 50.0f) {
  return {stretchMs, cameraMs, 37.503417, -127.023183, speedKmh, true, 0.02f, -0.5f, 1.0f};
}

struct PanelCase {
  const char* name;
  SavedPoint point;
  SpeedUnit unit;
};

TEST(StampText, ReadsAsThePanelShowsTheSavedLineInTheUsersUnit) {
  const StampCaptions japanese{"時刻：", "速度：", "緯度：", "経度：", "GPS：", "未測位"};
  const PanelCase cases[] = {
      {"km/h", Point(0, kT0 + 7999), SpeedUnit::Kmh},
      {"mph", Point(0, kT0 + 59'000, 100.0f), SpeedUnit::Mph},
  };
  for (const PanelCase& c : cases) {
    CTelemetryParser parser;
    ASSERT_TRUE(parser.ParseFull(SavedTrackLine(c.point).c_str())) << c.name;
    const TelemetryRecord& r = parser.record();
    const std::string panel =
        japanese.time + " " + FormatDateTime(r) + "   " + japanese.speed +
        FormatSpeed(r.speedKmh, c.unit) + "\n" + japanese.latitude +
        FormatDegrees(r.latHemisphere, r.latDegrees, r.latMinutes, r.latSeconds) + "   " +
        japanese.longitude +
        FormatDegrees(r.lonHemisphere, r.lonDegrees, r.lonMinutes, r.lonSeconds) +
        "   G X +0.02  Y -0.50  Z +1.00";
    EXPECT_EQ(StampText(c.point, japanese, c.unit), panel) << c.name;
  }
  SavedPoint noG = Point(0, kT0);
  noG.hasG = false;
  EXPECT_EQ(StampText(noG, {}, SpeedUnit::Kmh).find(" G "), std::string::npos);
}

struct CueText {
  std::int64_t startMs, endMs;
  std::string text;
  friend bool operator==(const CueText&, const CueText&) = default;
};
std::ostream& operator<<(std::ostream& out, const CueText& c) {
  return out << "[" << c.startMs << ", " << c.endMs << ") " << c.text;
}

std::vector<CueText> Texts(const std::vector<StampCue>& cues) {
  std::vector<CueText> texts;
  for (const StampCue& cue : cues) texts.push_back({cue.startMs, cue.endMs, cue.text});
  return texts;
}

TEST(StampCues, FollowThePointsAndTellTheTimeNoFixCoversSecondBySecond) {
  const StampCaptions en;
  auto fix = [&](std::int64_t at) {
    return StampText(Point(at, kT0 + 250 + at), en, SpeedUnit::Kmh);
  };
  auto none = [&](std::int64_t cameraMs) { return NoFixStampText(cameraMs, en); };
  // One a second from 0.5 s, one lost at 2.5 s, one out of order; the clock 250 ms past the
  // stretch's.
  const SavedPoint points[] = {Point(500, kT0 + 750), Point(1500, kT0 + 1750),
                               Point(1000, kT0 + 1250), Point(3500, kT0 + 3750)};
  const std::vector<CueText> expected = {
      {0, 500, none(kT0 + 250)},      {500, 1500, fix(500)},
      {1500, 3000, fix(1500)},  // held one and a half spacings, then the clock runs on
      {3000, 3500, none(kT0 + 3250)}, {3500, 5000, fix(3500)},
      {5000, 5500, none(kT0 + 5250)},
  };
  EXPECT_EQ(Texts(StampCues(points, kT0, 5500, en, SpeedUnit::Kmh)), expected);
  // Without points the stretch's own clock is told, a line per second, none frozen or skipped.
  EXPECT_EQ(Texts(StampCues({}, kT0 + 600, 1500, en, SpeedUnit::Kmh)),
            (std::vector<CueText>{{0, 400, none(kT0 + 600)},
                                  {400, 1400, none(kT0 + 1000)},
                                  {1400, 1500, none(kT0 + 2000)}}));
  EXPECT_TRUE(StampCues(points, kT0, 0, en, SpeedUnit::Kmh).empty());
}

TEST(StampSubtitles, TimesEachCueInCentisecondsAndDrawsCaptionsAsWritten) {
  const StampCue cues[] = {
      {0, 1250, "Zeit: {x}\\y\nrow two"}, {1250, 1255, "too short"}, {3723400, 3723500, "late"}};
  const std::string script = StampSubtitles(cues, 1280, 720);
  EXPECT_NE(script.find("PlayResX: 1280\nPlayResY: 720\n"), std::string::npos);
  EXPECT_NE(script.find(std::string("Style: Stamp,") + kStampFont + ",22,"), std::string::npos);
  EXPECT_NE(script.find("Dialogue: 0,0:00:00.00,0:00:01.25,Stamp,,0,0,0,,Zeit: (x)/y\\Nrow two\n"),
            std::string::npos)
      << script;
  EXPECT_EQ(script.find("too short"), std::string::npos);
  EXPECT_NE(script.find("Dialogue: 0,1:02:03.40,1:02:03.50,Stamp,,0,0,0,,late\n"),
            std::string::npos);
  EXPECT_NE(StampSubtitles({}, 0, 0).find("PlayResY: 1080\n"), std::string::npos);
}

}  // namespace
}  // namespace korvane
