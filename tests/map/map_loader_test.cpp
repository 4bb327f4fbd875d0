// The map loaders driving each real map page in QtWebEngine: the page's own state (points, lines,
// marker) and the order of the calls it received are read back from the page.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "map/map_loaders.h"
#include "map/page_texts.h"
#include "map/route_trace.h"
#include "map/select_map_loader.h"
#include "page_driver.h"
#include "support/sample_paths.h"
#include "telemetry/coord_transform.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

using test::Evaluate;
using test::MapState;

// A drive near Shenzhen, 20 m a point.
TelemetryRecord Point(int i, bool valid = true) {
  TelemetryRecord r;
  r.valid = valid;
  r.latitude = 22.5300 + i * 0.00015;
  r.longitude = 114.0500 + i * 0.00012;
  return r;
}

// Appends `count` points (those in `invalid` not valid), converts them for `mapKind` as the track
// builder does, and marks every full chunk, and a partial last one, ready.
void Fill(CTrackStore& store, int first, int count, std::uint8_t mapKind, const std::string& locale,
          const std::vector<int>& invalid = {}) {
  for (int i = first; i < first + count; ++i) {
    const bool bad = std::find(invalid.begin(), invalid.end(), i) != invalid.end();
    store.AppendNext(Point(i, !bad));
  }
  const std::int32_t last = store.currentChunk() + (store.chunk(store.currentChunk()) &&
                                                    store.chunk(store.currentChunk())->count > 0);
  for (std::int32_t c = 0; c < last; ++c) {
    TrackChunk* chunk = store.chunk(c);
    if (mapKind == kMapKindBaidu) ConvertChunkForBaidu(chunk->count, chunk->points.data());
    if (mapKind == kMapKindGoogle)
      ConvertChunkForGoogle(chunk->count, chunk->points.data(), locale);
  }
  store.MarkReady(last);
}

// What the main window does on a 516.
void HandleChunkReady(CMapDisplay& display, DuiLib::CWebBrowserUI& browser, CTrackStore& store) {
  display.UpdateRoute(&browser, store, store.readyChunks());
  store.SetConsumedChunks(store.readyChunks());
}

// Records the names of the six functions as the page receives them.
constexpr const char* kRecordCalls = R"((function(){window.korvaneCalls=[];
['createCarMarker','setCarMarker','clearLinePoints','addLinePoints','createPolyline','reloadPolyline']
.forEach(function(n){var f=window[n];window[n]=function(){korvaneCalls.push(n);return f.apply(this,arguments)}});
return true})())";

// The recorded calls with runs of one name collapsed to "name×count".
std::vector<std::string> CallRuns(DuiLib::CWebBrowserUI& browser) {
  std::vector<std::string> runs;
  std::string last;
  int count = 0;
  auto flush = [&] {
    if (count) runs.push_back(count == 1 ? last : last + "x" + std::to_string(count));
  };
  for (const QJsonValue& v : Evaluate(browser, "korvaneCalls").toArray()) {
    const std::string name = v.toString().toStdString();
    if (name != last) {
      flush();
      last = name;
      count = 0;
    }
    ++count;
  }
  flush();
  return runs;
}

struct MapCase {
  const char* mapName;
  const char* locale;
  const char* page;  // korvaneMapState().page
  std::uint8_t mapKind;
  bool known;
};

std::ostream& operator<<(std::ostream& os, const MapCase& c) {
  return os << c.mapName << "/" << c.locale;
}

class MapPageTest : public ::testing::TestWithParam<MapCase> {
 protected:
  void SetUp() override {
    const MapCase& c = GetParam();
    EXPECT_EQ(SelectMapLoader(c.mapName, display_, c.locale, mapKind_), c.known);
    ASSERT_EQ(mapKind_, c.mapKind);
    ASSERT_NE(display_.GetLoader(), nullptr);
    display_.LoadPage(&browser(), test::ProgramDir());
  }
  void WaitAndRecord() {
    ASSERT_TRUE(test::WaitForPage(browser()));
    ASSERT_TRUE(Evaluate(browser(), kRecordCalls).toBool());
  }
  // The position a WGS-84 point has on this map.
  void Expected(double lat, double lon, double& outLat, double& outLon) const {
    if (mapKind_ == kMapKindBaidu)
      WgsToBd(lat, lon, outLat, outLon);
    else if (mapKind_ == kMapKindGoogle && std::string(GetParam().locale) == "China")
      WgsToGcj(lat, lon, outLat, outLon);
    else
      IdentityTransform(lat, lon, outLat, outLon);
  }
  DuiLib::CWebBrowserUI& browser() { return shown_.browser; }
  const CPageMapLoader& loader() const {
    return *static_cast<CPageMapLoader*>(display_.GetLoader());
  }

  test::ShownBrowser shown_;
  CMapDisplay display_;
  std::uint8_t mapKind_ = 0;
  CTrackStore store_;
};

TEST_P(MapPageTest, LoadsThePageOfTheSelectedMap) {
  WaitAndRecord();
  const QJsonObject state = MapState(browser());
  EXPECT_EQ(state["page"].toString().toStdString(), GetParam().page);
  EXPECT_EQ(state["points"].toInt(), 0);
  EXPECT_EQ(state["markerCount"].toInt(), 0);
}

TEST_P(MapPageTest, RouteOfTwoChunksArrivesInOrderAndIsDrawn) {
  WaitAndRecord();
  Fill(store_, 0, 64, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 64);
  EXPECT_TRUE(state["fitted"].toBool());

  Fill(store_, 64, 36, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  EXPECT_EQ(CallRuns(browser()),
            (std::vector<std::string>{"clearLinePoints", "addLinePointsx64", "createPolyline",
                                      "addLinePointsx36", "reloadPolyline"}));
  state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 100);
  EXPECT_EQ(state["segments"].toInt(), 2);
  EXPECT_EQ(state["pendingPoints"].toInt(), 0);
  double lat = 0, lon = 0;
  Expected(Point(99).latitude, Point(99).longitude, lat, lon);
  EXPECT_NEAR(state["last"].toArray()[0].toDouble(), lat, 1e-6);
  EXPECT_NEAR(state["last"].toArray()[1].toDouble(), lon, 1e-6);
  Expected(Point(0).latitude, Point(0).longitude, lat, lon);
  EXPECT_NEAR(state["first"].toArray()[0].toDouble(), lat, 1e-6);
  EXPECT_NEAR(state["first"].toArray()[1].toDouble(), lon, 1e-6);
}

TEST_P(MapPageTest, BothChunksReadyAtOnceGiveTheSameSequence) {
  WaitAndRecord();
  Fill(store_, 0, 100, mapKind_, GetParam().locale);
  ASSERT_EQ(store_.readyChunks(), 2);
  HandleChunkReady(display_, browser(), store_);
  HandleChunkReady(display_, browser(), store_);  // a second 516 hands over nothing
  EXPECT_EQ(CallRuns(browser()),
            (std::vector<std::string>{"clearLinePoints", "addLinePointsx64", "createPolyline",
                                      "addLinePointsx36", "reloadPolyline"}));
  EXPECT_EQ(MapState(browser())["points"].toInt(), 100);
}

TEST_P(MapPageTest, InvalidPointsAreSkippedAndTheChunkStillCloses) {
  WaitAndRecord();
  Fill(store_, 0, 64, mapKind_, GetParam().locale, {0, 5, 6, 7, 20, 33, 40, 41, 62, 63});
  HandleChunkReady(display_, browser(), store_);
  EXPECT_EQ(CallRuns(browser()),
            (std::vector<std::string>{"clearLinePoints", "addLinePointsx54", "createPolyline"}));
  EXPECT_EQ(MapState(browser())["points"].toInt(), 54);
}

TEST_P(MapPageTest, MarkerIsCreatedThenMovedAndCreatedAgainAfterReset) {
  WaitAndRecord();
  const double lat1 = 22.54, lon1 = 114.06, lat2 = 22.5412, lon2 = 114.0611;
  display_.SetCarPosition(&browser(), lon1, lat1);
  display_.SetCarPosition(&browser(), lon2, lat2);
  double lat = 0, lon = 0;
  Expected(lat2, lon2, lat, lon);
  EXPECT_DOUBLE_EQ(loader().LastLatitude(), lat);
  EXPECT_DOUBLE_EQ(loader().LastLongitude(), lon);
  QJsonObject state = MapState(browser());
  EXPECT_NEAR(state["marker"].toArray()[0].toDouble(), lat, 1e-6);
  EXPECT_NEAR(state["marker"].toArray()[1].toDouble(), lon, 1e-6);
  EXPECT_TRUE(state["carInView"].toBool());

  display_.ResetMarker();
  EXPECT_FALSE(loader().IsMarkerCreated());
  EXPECT_EQ(loader().LastLatitude(), 0.0);
  display_.SetCarPosition(&browser(), lon1, lat1);
  EXPECT_EQ(CallRuns(browser()),
            (std::vector<std::string>{"createCarMarker", "setCarMarker", "createCarMarker"}));
  state = MapState(browser());
  EXPECT_EQ(state["markerCount"].toInt(), 1);
  Expected(lat1, lon1, lat, lon);
  EXPECT_NEAR(state["marker"].toArray()[0].toDouble(), lat, 1e-6);
  EXPECT_EQ(loader().GetWebPage().GetLastError(), "");
}

// A file opened at start-up sends its first chunk and positions before the page has loaded.
TEST_P(MapPageTest, CallsMadeBeforeThePageHasLoadedAreNotLost) {
  ASSERT_FALSE(browser().IsPageReady());
  Fill(store_, 0, 100, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  display_.SetCarPosition(&browser(), 114.051, 22.531);
  display_.SetCarPosition(&browser(), 114.052, 22.532);
  ASSERT_TRUE(test::WaitForPage(browser()));
  const QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 100);
  EXPECT_EQ(state["segments"].toInt(), 1);  // delivered in one script, drawn as one line
  double lat = 0, lon = 0;
  Expected(22.532, 114.052, lat, lon);
  EXPECT_NEAR(state["marker"].toArray()[0].toDouble(), lat, 1e-6);
  EXPECT_EQ(loader().GetWebPage().GetLastError(), "");
}

// After the page was reloaded the loader still thinks the marker exists; the page creates it.
TEST_P(MapPageTest, MovingAMarkerThePageLostCreatesIt) {
  ASSERT_TRUE(test::WaitForPage(browser()));
  display_.SetCarPosition(&browser(), 114.05, 22.53);
  ASSERT_EQ(MapState(browser())["markerCount"].toInt(), 1);
  display_.ReloadPage(&browser(), test::ProgramDir());
  ASSERT_FALSE(browser().IsPageReady());
  WaitAndRecord();
  ASSERT_EQ(MapState(browser())["markerCount"].toInt(), 0);
  display_.SetCarPosition(&browser(), 114.06, 22.54);
  EXPECT_EQ(CallRuns(browser()), std::vector<std::string>{"setCarMarker"});
  EXPECT_EQ(MapState(browser())["markerCount"].toInt(), 1);
}

TEST_P(MapPageTest, TheCarStaysInViewWhenItLeavesTheFittedRoute) {
  WaitAndRecord();
  Fill(store_, 0, 64, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  display_.SetCarPosition(&browser(), 114.05, 22.53);
  EXPECT_TRUE(MapState(browser())["carInView"].toBool());
  display_.SetCarPosition(&browser(), 114.20, 22.65);  // some 20 km further on
  const QJsonObject state = MapState(browser());
  EXPECT_TRUE(state["carInView"].toBool());
  EXPECT_EQ(state["points"].toInt(), 64);
}

TEST_P(MapPageTest, ANewTrackClearsTheOldRoute) {
  WaitAndRecord();
  Fill(store_, 0, 100, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  store_.Reset();
  Fill(store_, 500, 10, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  const QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 10);
  EXPECT_EQ(state["segments"].toInt(), 1);
}

// A file without telemetry never sends a first chunk, so its start clears the route itself.
TEST_P(MapPageTest, ClearRouteEmptiesTheDrawnRoute) {
  WaitAndRecord();
  Fill(store_, 0, 100, mapKind_, GetParam().locale);
  HandleChunkReady(display_, browser(), store_);
  display_.ClearRoute(&browser());
  const QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 0);
  EXPECT_EQ(state["segments"].toInt(), 0);
}

TEST_P(MapPageTest, ThePageRefusesTextThatIsNoPosition) {
  WaitAndRecord();
  for (const char* bad : {"nan", "", "abc", "95.0", "1e999"}) {
    EXPECT_FALSE(Evaluate(browser(), std::string("addLinePoints('") + bad + "','10.0')").toBool());
    EXPECT_FALSE(Evaluate(browser(), std::string("setCarMarker('") + bad + "','10.0')").toBool());
  }
  Evaluate(browser(), "createPolyline()");
  const QJsonObject state = MapState(browser());
  EXPECT_EQ(state["points"].toInt(), 0);
  EXPECT_EQ(state["markerCount"].toInt(), 0);
}

// The notice that tiles cannot be fetched speaks the interface language: the texts given before
// the page loaded arrive, a later language change replaces them on the shown notice, and a text the
// language lacks keeps the page's own English one.
TEST_P(MapPageTest, TheNoticeShowsTheTextsTheProgramGives) {
  const auto german = [](std::string_view key) {
    return std::string(key) == "IDS_TILESUNAVAILABLE" ? "Kacheln \"fehlen\" </script>" : "";
  };
  display_.SetPageTexts(&browser(), ComposePageTexts(german));
  ASSERT_TRUE(test::WaitForPage(browser()));
  EXPECT_EQ(MapState(browser())["noticeText"].toString().toStdString(),
            "Kacheln \"fehlen\" </script>");
  // No network here: the tiles fail and the notice shows.
  ASSERT_TRUE(test::PumpUntil([&] { return MapState(browser())["noticeShown"].toBool(); }));
  display_.SetPageTexts(&browser(), ComposePageTexts([](std::string_view) { return "Тайлы"; }));
  const char* shown = "document.querySelector('.korvane-notice').textContent";
  EXPECT_EQ(Evaluate(browser(), shown).toString().toStdString(), "Тайлы");
  display_.SetPageTexts(&browser(), ComposePageTexts([](std::string_view) { return ""; }));
  EXPECT_EQ(Evaluate(browser(), shown).toString().toStdString(), "Тайлы");
  EXPECT_FALSE(Evaluate(browser(), "setPageTexts('not json')").toBool());
  EXPECT_EQ(loader().GetWebPage().GetLastError(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Maps, MapPageTest,
    ::testing::Values(MapCase{"BaiduMap", "China", "BaiduMap", 1, true},
                      MapCase{"googlemap", "China", "GoogleMap_China", 2, true},
                      MapCase{"GoogleMap", "Oversea", "GoogleMap_Oversea", 2, true},
                      MapCase{"YANDEXMAP", "Oversea", "YandexMap", 3, true},
                      // Not in the table: the fallback by locale.
                      MapCase{"Yandex", "Oversea", "YandexMap", 3, false},
                      MapCase{"SomethingElse", "China", "BaiduMap", 1, false}),
    [](const ::testing::TestParamInfo<MapCase>& info) {
      return std::string(info.param.mapName) + "_" + info.param.locale;
    });

TEST(SelectMapLoaderTest, NamesCompareWholeAndIgnoringCase) {
  struct Row {
    const char* name;
    std::uint8_t kind;
  };
  for (const Row& row :
       {Row{"BaiduMap", 1}, Row{"baidumap", 1}, Row{"GOOGLEMAP", 2}, Row{"YandexMap", 3},
        Row{"Yandex", 0}, Row{"", 0}, Row{"BaiduMap ", 0}, Row{"GoogleMaps", 0}}) {
    EXPECT_EQ(MapKindOfName(row.name), row.kind) << row.name;
  }
}

TEST(SelectMapLoaderTest, SetsTheMapKindOfTheSettingsRecord) {
  CMapDisplay display;
  Settings settings;
  settings.locale = "China";
  EXPECT_FALSE(SelectMapLoader("Yandex", display, settings));
  EXPECT_EQ(settings.mapKind, kMapKindBaidu);
  EXPECT_NE(dynamic_cast<CBaiduMapLoader*>(display.GetLoader()), nullptr);
  EXPECT_TRUE(SelectMapLoader("googleMAP", display, settings));
  EXPECT_EQ(settings.mapKind, kMapKindGoogle);
  EXPECT_EQ(static_cast<CPageMapLoader*>(display.GetLoader())->PagePath("/"),
            "/Map/GoogleMap_China.html");
}

TEST(SelectMapLoaderTest, FallbackLocaleComparisonIsExact) {
  CMapDisplay display;
  std::uint8_t kind = 0;
  EXPECT_FALSE(SelectMapLoader("", display, "china", kind));
  EXPECT_EQ(kind, kMapKindYandex);
  EXPECT_NE(dynamic_cast<CYandexMapLoader*>(display.GetLoader()), nullptr);
}

TEST(MapLoaderTest, PagePathsFollowTheLocale) {
  EXPECT_EQ(CBaiduMapLoader().PagePath("/p/"), "/p/Map/BaiduMap.html");
  EXPECT_EQ(CGoogleMapLoader("China").PagePath("/p/"), "/p/Map/GoogleMap_China.html");
  EXPECT_EQ(CGoogleMapLoader("Oversea").PagePath("/p/"), "/p/Map/GoogleMap_Oversea.html");
  EXPECT_EQ(CGoogleMapLoader("CHINA").PagePath("/p/"), "/p/Map/GoogleMap_Oversea.html");
  EXPECT_EQ(CYandexMapLoader().PagePath("/p/"), "/p/Map/YandexMap.html");
}

TEST(MapLoaderTest, CoordinatesHaveSixDecimalsAndAPoint) {
  struct Row {
    double value;
    const char* text;
  };
  for (const Row& row :
       {Row{22.535656, "22.535656"}, Row{116.0, "116.000000"}, Row{-0.5, "-0.500000"},
        Row{40.0071494, "40.007149"}, Row{179.9999996, "180.000000"}}) {
    EXPECT_EQ(FormatCoordinate(row.value), row.text);
  }
  EXPECT_EQ(FormatCoordinate(std::nan("")), "nan");
}

TEST(MapLoaderTest, EventMarksGoToThePageInTheMapsDatumWithTheirTipsEscaped) {
  const std::vector<EventMark> marks = {
      {{DriveEventKind::Cornering, 0.7f, 35000, 22.5, 113.9}, "Kurve \"links\"\\ · 00:00:35"},
      {{DriveEventKind::Impact, 2.5f, 50000, 22.6, 114.0}, "Impact\n"}};
  const auto shift = [](double lat, double lon, double& outLat, double& outLon) {
    outLat = lat + 1;
    outLon = lon - 1;
  };
  EXPECT_EQ(EventMarksJson(marks, shift),
            "[{\"t\":35000,\"lat\":\"23.500000\",\"lon\":\"112.900000\",\"kind\":\"cornering\","
            "\"tip\":\"Kurve \\\"links\\\"\\\\ · 00:00:35\"},"
            "{\"t\":50000,\"lat\":\"23.600000\",\"lon\":\"113.000000\",\"kind\":\"impact\","
            "\"tip\":\"Impact\\u000a\"}]");
  EXPECT_EQ(EventMarksJson({}, shift), "[]");
}

// The toolkit takes LC_NUMERIC from the environment; a comma there must not reach the page.
TEST(MapLoaderTest, CoordinatesKeepTheirPointUnderACommaLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  bool found = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name)) {
      found = true;
      break;
    }
  }
  if (!found) GTEST_SKIP() << "no locale with a decimal comma installed";
  char printed[32];
  std::snprintf(printed, sizeof printed, "%f", 22.535656);
  const std::string formatted = FormatCoordinate(22.535656);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_STREQ(printed, "22,535656");  // what "%lf" would have sent
  EXPECT_EQ(formatted, "22.535656");
}

TEST(MapLoaderTest, DisplayWithoutLoaderDoesNothing) {
  CMapDisplay display;
  CTrackStore store;
  display.LoadPage(nullptr, "/");
  display.SetCarPosition(nullptr, 1.0, 2.0);
  display.UpdateRoute(nullptr, store, store.readyChunks());
  display.ResetMarker();
  EXPECT_EQ(display.GetLoader(), nullptr);
}

TEST(MapLoaderTest, BaiduTracesRoutePointsOnlyWhenTheCategoryIsOn) {
  std::vector<std::string> lines;
  SetRouteTraceSink([&](const std::string& text) { lines.push_back(text); });
  CBaiduMapLoader loader;
  CTrackStore store;
  Fill(store, 0, 3, kMapKindBaidu, "China", {1});
  SetRouteTraceEnabled(false);
  loader.UpdateRoute(nullptr, store, store.readyChunks());
  EXPECT_TRUE(lines.empty());
  SetRouteTraceEnabled(true);
  loader.UpdateRoute(nullptr, store, store.readyChunks());
  SetRouteTraceEnabled(false);
  SetRouteTraceSink({});
  ASSERT_EQ(lines.size(), 2u);
  const TrackChunk* chunk = store.chunk(0);
  EXPECT_EQ(lines[0], FormatCoordinate(chunk->points[0].mapLatitude) + "\n" +
                          FormatCoordinate(chunk->points[0].mapLongitude));
}

}  // namespace
}  // namespace korvane
