// The route coloured by speed on each real map page: fixed bands whatever the clip, the legend in
// the chosen unit, one colour on request, and speeds that are no speed at all.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <cmath>
#include <vector>

#include "map/map_loaders.h"
#include "map/select_map_loader.h"
#include "page_driver.h"
#include "support/sample_paths.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

using test::Evaluate;
using test::MapState;
using test::PageCase;

class RouteColour : public testing::TestWithParam<PageCase> {
 protected:
  void SetUp() override {
    std::uint8_t mapKind = 0;
    ASSERT_TRUE(SelectMapLoader(GetParam().map, display_, GetParam().locale, mapKind));
    display_.LoadPage(&browser(), test::ProgramDir());
    ASSERT_TRUE(test::WaitForPage(browser()));
  }

  // One point a second, 20 m apart, with these speeds; `invalid` points are not valid.
  void AppendPoints(const std::vector<double>& speeds, const std::vector<int>& invalid = {}) {
    for (std::size_t i = 0; i < speeds.size(); ++i) {
      TelemetryRecord r;
      r.valid = std::find(invalid.begin(), invalid.end(), static_cast<int>(i)) == invalid.end();
      r.latitude = 22.53 + i * 0.00015;
      r.longitude = 114.05 + i * 0.00012;
      r.mapLatitude = r.latitude;
      r.mapLongitude = r.longitude;
      r.speedKmh = static_cast<float>(speeds[i]);
      r.mediaTimeMs = static_cast<std::int32_t>(i) * 1000;
      store_.AppendNext(r);
    }
  }

  // Hands the chunks up to `ready` to the page, as one route update.
  void UpdateTo(std::int32_t ready) {
    store_.MarkReady(ready);
    display_.UpdateRoute(&browser(), store_, store_.readyChunks());
    store_.SetConsumedChunks(store_.readyChunks());
  }

  void DrawRoute(const std::vector<double>& speeds, const std::vector<int>& invalid = {}) {
    AppendPoints(speeds, invalid);
    UpdateTo(store_.currentChunk() + 1);
  }

  DuiLib::CWebBrowserUI& browser() { return shown_.browser; }

  test::ShownBrowser shown_;
  CMapDisplay display_;
  CTrackStore store_;
};

TEST_P(RouteColour, StretchesTakeTheirSpeedBandAndTheLegendFollowsTheUnit) {
  // Stretches from points of 0, 0, 400 km/h (top band), not a number, 45 and 49 km/h: in km/h the
  // last two share the 30-50 band, four runs; in mph they are 28 and 30.4, two bands, five runs.
  DrawRoute({0, 0, 400, std::nan(""), 45, 49, 49});
  QJsonObject state = MapState(browser());
  EXPECT_TRUE(state["bySpeed"].toBool()) << "speed colours are the default look";
  EXPECT_EQ(state["colourRuns"].toInt(), 4);
  EXPECT_EQ(state["legend"].toString().toStdString(), "Speed (km/h)01030507090110130+");
  EXPECT_TRUE(state["scale"].toString().endsWith(" m")) << state["scale"].toString().toStdString();

  display_.SetRouteStyle(&browser(), true, SpeedUnit::Mph);
  state = MapState(browser());
  EXPECT_EQ(state["legend"].toString().toStdString(), "Speed (mph)05203045557080+");
  EXPECT_TRUE(state["scale"].toString().endsWith(" ft")) << state["scale"].toString().toStdString();
  EXPECT_EQ(state["colourRuns"].toInt(), 5) << "the stretches take the bands of the new unit";

  display_.SetRouteStyle(&browser(), false, SpeedUnit::Mph);
  state = MapState(browser());
  EXPECT_FALSE(state["bySpeed"].toBool());
  EXPECT_EQ(state["colourRuns"].toInt(), 0);
  EXPECT_EQ(state["legend"].toString(), "") << "no legend for a route in one colour";
  EXPECT_EQ(state["points"].toInt(), 7);
  EXPECT_EQ(state["segments"].toInt(), 1);
}

TEST_P(RouteColour, ARunGoesOnAcrossTheLinesOfLaterRouteUpdates) {
  AppendPoints(std::vector<double>(100, 20.0));
  UpdateTo(1);
  ASSERT_EQ(MapState(browser())["points"].toInt(), TrackChunk::kCapacity);
  UpdateTo(2);
  const QJsonObject state = MapState(browser());
  EXPECT_EQ(state["segments"].toInt(), 2);
  EXPECT_EQ(state["colourRuns"].toInt(), 1);
}

TEST_P(RouteColour, InvalidPointsAndARouteOfOnePointDrawWithoutHarm) {
  DrawRoute({30, 35, 200, 40}, {1, 2});
  QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 2);
  EXPECT_EQ(state["colourRuns"].toInt(), 1);
  display_.ClearRoute(&browser());
  store_.Reset();
  DrawRoute({12});
  state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 1);
  EXPECT_EQ(state["colourRuns"].toInt(), 0) << "a single point has no stretch";
  EXPECT_NE(state["legend"].toString(), "");
  // Speeds that are no speed take the colour of none; a point without a position is refused.
  Evaluate(browser(),
           "clearLinePoints('9');addLinePoints('22.5','114','0','fast');"
           "addLinePoints('22.6','114.1','1000','-5');addLinePoints('x','114.1','2000','50');"
           "createPolyline()");
  state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 2);
  EXPECT_EQ(state["colourRuns"].toInt(), 1);
  // The style's words the page does not know fall back to speed colours in km/h.
  EXPECT_TRUE(Evaluate(browser(), "setRouteStyle('rainbow','furlongs')").toBool());
  EXPECT_EQ(MapState(browser())["legend"].toString().toStdString(),
            "Speed (km/h)01030507090110130+");
}

INSTANTIATE_TEST_SUITE_P(AllPages, RouteColour, test::AllFourPages(), test::PageCaseName);

}  // namespace
}  // namespace korvane
