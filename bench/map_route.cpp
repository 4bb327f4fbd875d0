// Route hand-over to a real map page (canvas renderer): 10 000 track points through UpdateRoute
// (one call per chunk, as the main window makes them) until the page has drawn them, against the
// same points given to Leaflet's setLatLngs in one call inside the page; and 36 000 points of a
// realistic drive, with moments and speeds, drawn in one colour and coloured by speed, against the
// same plain setLatLngs. Both on the same page in the same run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "framework/ui_application.h"
#include "framework/web_browser_ui.h"
#include "map/map_loaders.h"
#include "map/select_map_loader.h"
#include "map_page_bench.h"
#include "telemetry/coord_transform.h"
#include "telemetry/track_store.h"

namespace {

using namespace korvane;
using bench::DrawAndWaitForFrame;
using bench::Evaluate;
using bench::PumpUntil;

TelemetryRecord Point(int i) {
  TelemetryRecord r;
  r.valid = true;
  // A winding drive, so the line is not one straight stroke.
  r.latitude = 22.50 + i * 0.00004 + 0.002 * std::sin(i / 50.0);
  r.longitude = 114.00 + i * 0.00005 + 0.002 * std::cos(i / 70.0);
  return r;
}

struct Page {
  DuiLib::CWebBrowserUI browser;
  CMapDisplay display;
  Page() {
    browser.GetWidget()->resize(1000, 700);
    browser.GetWidget()->show();
    std::uint8_t kind = 0;
    SelectMapLoader("GoogleMap", display, "Oversea", kind);
    display.LoadPage(&browser, KORVANE_BENCH_PROGRAM_DIR);
    if (!PumpUntil([&] { return browser.IsPageReady(); })) {
      std::fprintf(stderr, "map page did not load\n");
      std::exit(1);
    }
  }
};

std::unique_ptr<Page>& PageSlot() {
  static std::unique_ptr<Page> page;
  return page;
}

Page& ThePage() {
  if (!PageSlot()) PageSlot() = std::make_unique<Page>();
  return *PageSlot();
}

// A drive with a realistic speed profile, a point a second with its moment: standstills, town
// traffic and motorway stretches with the ramps between them, so the route falls into runs of
// speed bands as a real one does.
TelemetryRecord SpeedPoint(int i) {
  TelemetryRecord r = Point(i);
  r.mediaTimeMs = i * 1000;
  const int phase = i % 1200;  // 20 minutes: 1 stopped, 7 in town, 2 ramp, 9 motorway, 1 down
  double kmh = 0;
  if (phase < 60) {
    kmh = 0;
  } else if (phase < 480) {
    kmh = 42 + 14 * std::sin(i / 23.0) + 6 * std::sin(i / 5.0);
  } else if (phase < 600) {
    kmh = 42 + (phase - 480) * 0.65;
  } else if (phase < 1140) {
    kmh = 118 + 9 * std::sin(i / 41.0) + 4 * std::sin(i / 7.0);
  } else {
    kmh = 118 - (phase - 1140) * 1.9;
  }
  r.speedKmh = static_cast<float>(std::max(kmh, 0.0));
  return r;
}

// Both hand-overs of the same points, alternating in every iteration so that the load of the
// machine falls on both alike: the route through the loader in the given style, and the points
// in one setLatLngs of a plain line. The iteration time is the route's; the counters give both,
// their ratio and, for a coloured route, the runs of one colour it was drawn as. Each iteration
// moves the route by a metre, so the page meets new texts as with a new clip rather than the
// scripts it has just compiled.
void RouteVersusSetLatLngs(benchmark::State& state, TelemetryRecord (*point)(int), bool bySpeed) {
  const int points = static_cast<int>(state.range(0));
  Page& page = ThePage();
  page.display.SetRouteStyle(&page.browser, bySpeed, SpeedUnit::Kmh);
  const std::int32_t chunks = (points + TrackChunk::kCapacity - 1) / TrackChunk::kCapacity;

  double routeMs = 0, directMs = 0, runs = 0;
  std::vector<double> routeRuns, directRuns;
  int iteration = 0;
  for (auto _ : state) {
    const double shift = 0.00001 * ++iteration;
    auto shifted = [&](int i) {
      TelemetryRecord r = point(i);
      r.latitude += shift;
      return r;
    };
    std::string flat;
    flat.reserve(static_cast<std::size_t>(points) * 24);
    for (int i = 0; i < points; ++i) {
      const TelemetryRecord r = shifted(i);
      flat += (i ? "," : "") + FormatCoordinate(r.latitude) + "," + FormatCoordinate(r.longitude);
    }
    const std::string direct = "korvaneBenchSetLatLngs([" + flat + "])";

    // Through the loader: one UpdateRoute per chunk, as the main window calls it per 516.
    Evaluate(page.browser, "korvaneBenchClear()");
    CTrackStore store;
    for (int i = 0; i < points; ++i) store.AppendNext(shifted(i));
    for (std::int32_t c = 0; c < chunks; ++c) {
      ConvertChunkForGoogle(store.chunk(c)->count, store.chunk(c)->points.data(), "Oversea");
    }
    QElapsedTimer timer;
    timer.start();
    for (std::int32_t c = 1; c <= chunks; ++c) {
      store.MarkReady(c);
      page.display.UpdateRoute(&page.browser, store, store.readyChunks());
      store.SetConsumedChunks(store.readyChunks());
    }
    const std::string drawn = DrawAndWaitForFrame(page.browser, "korvaneMapState().points");
    const double route = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    runs = std::stod(Evaluate(page.browser, "korvaneMapState().colourRuns"));

    // The same points straight to Leaflet.
    Evaluate(page.browser, "korvaneBenchClear()");
    timer.restart();
    Evaluate(page.browser, direct);
    const std::string line =
        DrawAndWaitForFrame(page.browser, "korvaneBenchLine.getLatLngs().length");
    const double directRun = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    if (drawn != std::to_string(points) || line != std::to_string(points)) {
      state.SkipWithError(("page holds " + drawn + " / " + line).c_str());
      break;
    }
    state.SetIterationTime(route / 1e3);
    routeMs += route;
    directMs += directRun;
    routeRuns.push_back(route);
    directRuns.push_back(directRun);
  }
  if (routeRuns.empty()) return;
  const double n = static_cast<double>(routeRuns.size());
  state.counters["route_ms"] = routeMs / n;
  state.counters["setLatLngs_ms"] = directMs / n;
  state.counters["ratio"] = routeMs / directMs;
  std::sort(routeRuns.begin(), routeRuns.end());
  std::sort(directRuns.begin(), directRuns.end());
  state.counters["ratio_of_medians"] =
      routeRuns[routeRuns.size() / 2] / directRuns[directRuns.size() / 2];
  if (bySpeed) state.counters["colour_runs"] = runs;
}

// The plain route, one colour, as the pages drew it before speed colours.
void BM_RouteVersusSetLatLngs(benchmark::State& state) {
  RouteVersusSetLatLngs(state, &Point, false);
}

// A drive with speeds and moments, as a route in one colour (range 1: 0) and coloured by speed
// (1), so the figures also show what the colours cost.
void BM_SpeedRouteVersusSetLatLngs(benchmark::State& state) {
  RouteVersusSetLatLngs(state, &SpeedPoint, state.range(1) != 0);
}

BENCHMARK(BM_RouteVersusSetLatLngs)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(20);
BENCHMARK(BM_RouteVersusSetLatLngs)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_SpeedRouteVersusSetLatLngs)
    ->Args({36000, 0})
    ->Args({36000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  DuiLib::CUIApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The page goes before the application object.
  PageSlot().reset();
  return 0;
}
