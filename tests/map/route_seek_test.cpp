// The route on each real map page as a way through the clip: every point carries its moment and
// speed, a click on or near the route reports the nearest point's moment through the channel with
// the route's id, resting on it asks for its tooltip, and points without a moment are drawn but
// never offered.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include "map/map_loaders.h"
#include "map/page_message.h"
#include "map/select_map_loader.h"
#include "page_driver.h"
#include "support/sample_paths.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

using test::Evaluate;
using test::MapState;
using test::PageCase;

constexpr std::uint32_t kRouteId = 41;

class RouteSeek : public testing::TestWithParam<PageCase> {
 protected:
  void SetUp() override {
    std::uint8_t mapKind = 0;
    ASSERT_TRUE(SelectMapLoader(GetParam().map, display_, GetParam().locale, mapKind));
    browser().SetPageMessageHandler([this](const std::string& name, const std::string& json) {
      if (auto event = ValidatePageMessage(name, json, currentRoute_, overviewSet_)) {
        events_.push_back(*event);
      }
    });
    display_.LoadPage(&browser(), test::ProgramDir());
    ASSERT_TRUE(test::WaitForPage(browser()));
    ASSERT_TRUE(test::PumpUntil([&] { return MapState(browser())["channel"].toInt() == 1; }));
    display_.SetRouteId(kRouteId);
  }

  // A drive of `count` points 1 s and some 20 m apart; point i at moment i s, 30 + i km/h.
  void DrawRoute(int count, int untimed = -1) {
    for (int i = 0; i < count; ++i) {
      TelemetryRecord r;
      r.valid = true;
      r.latitude = 22.5300 + i * 0.00015;
      r.longitude = 114.0500 + i * 0.00012;
      r.speedKmh = 30.0f + i;
      r.mediaTimeMs = i == untimed ? -1 : i * 1000;
      store_.AppendNext(r);
    }
    // The map datum does not matter here: every page gets the camera's coordinates.
    for (std::int32_t c = 0; c <= store_.currentChunk(); ++c) {
      TrackChunk* chunk = store_.chunk(c);
      for (std::int32_t i = 0; chunk != nullptr && i < chunk->count; ++i) {
        chunk->points[i].mapLatitude = chunk->points[i].latitude;
        chunk->points[i].mapLongitude = chunk->points[i].longitude;
      }
    }
    store_.MarkReady(store_.currentChunk() + 1);
    display_.UpdateRoute(&browser(), store_, store_.readyChunks());
    store_.SetConsumedChunks(store_.readyChunks());
  }

  // Where the timed point at `fraction` of the route is on the page, and its moment.
  QJsonObject Target(double fraction) {
    return Evaluate(browser(), "korvaneRoutePointAt(" + std::to_string(fraction) + ")").toObject();
  }

  // A mouse event of `type` at page pixel (x, y), as the user's pointer makes it.
  void Mouse(const char* type, int x, int y) {
    Evaluate(browser(),
             std::string("document.getElementById('map').dispatchEvent(new MouseEvent('") + type +
                 "',{clientX:" + std::to_string(x) + ",clientY:" + std::to_string(y) +
                 ",bubbles:true}))");
  }

  bool WaitForEvents(std::size_t count) {
    return test::PumpUntil([&] { return events_.size() >= count; }, 5000);
  }

  DuiLib::CWebBrowserUI& browser() { return shown_.browser; }

  test::ShownBrowser shown_;
  CMapDisplay display_;
  CTrackStore store_;
  std::vector<PageEvent> events_;
  std::uint32_t currentRoute_ = kRouteId;  // the route the program would check against
  std::uint32_t overviewSet_ = 0;          // the overview lines the program would check against
};

TEST_P(RouteSeek, AClickOnOrBesideTheRouteReportsTheNearestPointsMoment) {
  DrawRoute(100);
  QJsonObject state = MapState(browser());
  EXPECT_EQ(state["routeId"].toInt(), static_cast<int>(kRouteId));
  EXPECT_EQ(state["timedPoints"].toInt(), 100);
  const QJsonObject target = Target(0.25);
  ASSERT_EQ(target["t"].toInt(), 25000);
  Mouse("click", target["x"].toInt(), target["y"].toInt());
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_[0], (PageEvent{PageEventKind::RouteClick, 25000}));
  // Beside the line, within the pick distance: still the route. Far off it: nothing.
  Mouse("click", target["x"].toInt() + 6, target["y"].toInt() - 6);
  Mouse("click", target["x"].toInt() + 60, target["y"].toInt() - 60);
  ASSERT_TRUE(WaitForEvents(2));
  test::PumpUntil([] { return false; }, 200);
  ASSERT_EQ(events_.size(), 2u);
  EXPECT_EQ(events_[1].kind, PageEventKind::RouteClick);
  EXPECT_NEAR(events_[1].timeMs, 25000, 2000);
}

TEST_P(RouteSeek, RestingOnTheRouteAsksForTheTooltipWhichShowsOnlyForThatPoint) {
  DrawRoute(50);
  const QJsonObject target = Target(0.5);
  const int t = target["t"].toInt();
  Mouse("mousemove", target["x"].toInt(), target["y"].toInt());
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_[0], (PageEvent{PageEventKind::RouteHover, t}));
  display_.ShowRouteTip(&browser(), t + 1000, "another point");  // the mouse is not there
  EXPECT_EQ(MapState(browser())["tip"].toString(), "");
  display_.ShowRouteTip(&browser(), t, "00:00:24 · 2026-05-18 08:30:24 · 54.0 km/h");
  EXPECT_EQ(MapState(browser())["tip"].toString().toStdString(),
            "00:00:24 · 2026-05-18 08:30:24 · 54.0 km/h");
  // Away from the route the tooltip goes and the program hears so.
  Mouse("mousemove", target["x"].toInt() + 80, target["y"].toInt() - 80);
  ASSERT_TRUE(WaitForEvents(2));
  EXPECT_EQ(events_[1].kind, PageEventKind::RouteLeave);
  EXPECT_EQ(MapState(browser())["tip"].toString(), "");
}

TEST_P(RouteSeek, PointsWithoutAMomentAreDrawnButNeverOffered) {
  DrawRoute(1, 0);  // one point, no moment
  QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 1);
  EXPECT_EQ(state["timedPoints"].toInt(), 0);
  EXPECT_TRUE(Evaluate(browser(), "korvaneRoutePointAt(0)").isNull());
  // Where the point is drawn: the middle of the view, as the route was fitted to it.
  const int w = Evaluate(browser(), "innerWidth").toInt();
  const int h = Evaluate(browser(), "innerHeight").toInt();
  Mouse("click", w / 2, h / 2);
  test::PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(events_.empty());
  // The calls of a program that knows no moments still draw the route.
  EXPECT_TRUE(Evaluate(browser(), "addLinePoints('22.5','114.0')&&createPolyline()").toBool());
  EXPECT_EQ(MapState(browser())["points"].toInt(), 2);
}

TEST_P(RouteSeek, ARouteOfOneTimedPointCanBeClicked) {
  DrawRoute(1);
  const QJsonObject target = Target(0);
  ASSERT_EQ(target["t"].toInt(), 0);
  Mouse("click", target["x"].toInt(), target["y"].toInt());
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_[0], (PageEvent{PageEventKind::RouteClick, 0}));
}

TEST_P(RouteSeek, APageStillShowingAnotherFilesRouteIsNotListenedTo) {
  DrawRoute(20);
  // The next file began; its route has not come yet.
  currentRoute_ = kRouteId + 1;
  display_.SetRouteId(currentRoute_);
  const QJsonObject target = Target(0.5);
  Mouse("click", target["x"].toInt(), target["y"].toInt());
  test::PumpUntil([] { return false; }, 300);
  EXPECT_TRUE(events_.empty()) << "the page sent the old id, which the check refuses";
  display_.ClearRoute(&browser());
  EXPECT_EQ(MapState(browser())["routeId"].toInt(), static_cast<int>(kRouteId + 1));
}

TEST_P(RouteSeek, EventMarksAreDrawnAClickOnOneSeeksToItsMomentAndNoneClearsThem) {
  DrawRoute(100);
  const std::vector<EventMark> marks = {
      {{DriveEventKind::Braking, 0.8f, 20000, 22.5300 + 20 * 0.00015, 114.0500 + 20 * 0.00012},
       "Hard braking · 0.80 G · 00:00:20"},
      {{DriveEventKind::Impact, 2.5f, 70500, 22.5300 + 70 * 0.00015, 114.0500 + 70 * 0.00012},
       "Impact \"x\" · 2.50 G · 00:01:10"}};
  display_.SetEventMarks(&browser(), marks);
  EXPECT_EQ(MapState(browser())["eventMarks"].toInt(), 2);
  const QJsonArray placed = Evaluate(browser(), "korvaneEventMarks()").toArray();
  ASSERT_EQ(placed.size(), 2);
  const QJsonObject impact = placed[1].toObject();
  EXPECT_EQ(impact["t"].toInt(), 70500);
  // As the pointer clicks: on whatever is drawn there.
  const std::string x = std::to_string(impact["x"].toInt()),
                    y = std::to_string(impact["y"].toInt());
  Evaluate(browser(), "document.elementFromPoint(" + x + "," + y +
                          ").dispatchEvent(new MouseEvent('click',{clientX:" + x + ",clientY:" + y +
                          ",bubbles:true}))");
  ASSERT_TRUE(WaitForEvents(1));
  test::PumpUntil([] { return false; }, 200);
  ASSERT_EQ(events_.size(), 1u) << "the mark's click, not the route's under it as well";
  EXPECT_EQ(events_[0], (PageEvent{PageEventKind::RouteClick, 70500}));

  display_.SetEventMarks(&browser(), {});
  EXPECT_EQ(MapState(browser())["eventMarks"].toInt(), 0);
  EXPECT_FALSE(Evaluate(browser(), "setEventMarks('[{\"t\":1')").toBool());
  EXPECT_TRUE(Evaluate(browser(),
                       "setEventMarks('[{\"t\":-5,\"lat\":\"1\",\"lon\":\"2\"},"
                       "{\"t\":5,\"lat\":\"x\",\"lon\":\"2\"},7]')")
                  .toBool());
  EXPECT_EQ(MapState(browser())["eventMarks"].toInt(), 0) << "marks without a moment or a place";
}

// Other clips' lines, grey under the route: a set replaces the lines shown, additions of another
// set are dropped, a click near a line (and not near the route) names the clip and the moment of
// its nearest point, and set 0 with nothing removes them.
TEST_P(RouteSeek, OverviewLinesOfOtherClipsAreDrawnUnderTheRouteAndTellWhichWasClicked) {
  DrawRoute(30);
  auto line = [](std::uint32_t clip, double latitude) {
    ClipOverview overview{clip, {}};
    for (int i = 0; i < 50; ++i) {
      overview.points.push_back({latitude, 114.0500 + i * 0.0001, i * 2000});
    }
    return overview;
  };
  overviewSet_ = 5;
  const std::vector<ClipOverview> first = {line(3, 22.5320), line(9, 22.5350), ClipOverview{4, {}}};
  display_.SetOverviewLines(&browser(), 5, first, true);
  EXPECT_EQ(MapState(browser())["overviewLines"].toInt(), 2) << "a clip without points has none";
  display_.SetOverviewLines(&browser(), 4, std::vector{line(1, 22.5330)}, false);
  display_.SetOverviewLines(&browser(), 5, std::vector{line(7, 22.5340)}, false);
  QJsonObject state = MapState(browser());
  EXPECT_EQ(state["overviewLines"].toInt(), 3);
  EXPECT_EQ(state["overviewPoints"].toInt(), 150);
  EXPECT_EQ(state["overviewSet"].toInt(), 5);

  const QJsonObject target = Evaluate(browser(), "korvaneOverviewPointAt(9, 0.5)").toObject();
  ASSERT_FALSE(target.isEmpty());
  Mouse("click", target["x"].toInt(), target["y"].toInt() + 3);
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_[0], (PageEvent{PageEventKind::OverviewClick, target["t"].toInt(), 9}));
  // On the route the route wins, even with a line near.
  const QJsonObject route = Target(0.5);
  Mouse("click", route["x"].toInt(), route["y"].toInt());
  ASSERT_TRUE(WaitForEvents(2));
  EXPECT_EQ(events_[1].kind, PageEventKind::RouteClick);

  display_.SetOverviewLines(&browser(), 0, {}, true);
  EXPECT_EQ(MapState(browser())["overviewLines"].toInt(), 0);
  EXPECT_EQ(Evaluate(browser(), "setOverviewLines(1, 'x')").toInt(), -1);
}

INSTANTIATE_TEST_SUITE_P(AllPages, RouteSeek, test::AllFourPages(), test::PageCaseName);

}  // namespace
}  // namespace korvane
