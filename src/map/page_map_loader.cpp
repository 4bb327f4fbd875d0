#include "map/page_map_loader.h"

#include <algorithm>

#include "framework/web_browser_ui.h"
#include "map/page_texts.h"
#include "map/route_trace.h"
#include "platform/json_text.h"
#include "telemetry/track_store.h"

namespace korvane {

std::string FormatCoordinate(double value) {
  // "%lf" would follow LC_NUMERIC, which the UI toolkit sets from the environment: a comma there
  // would turn 22.535656 into 22 on the page.
  return FixedText(value, 6);
}

std::string PageMoment(std::int32_t ms) {
  return ms < 0 ? std::string() : std::to_string(ms);
}

std::string PageSpeed(double kmh) {
  return FixedText(kmh, 1);
}

std::string CPageMapLoader::PagePath(const std::string& programFolder) const {
  return programFolder + "Map/" + setup_.pageFile;
}

void CPageMapLoader::LoadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) {
  if (!browser) return;
  browser->SetWebBrowserEventHandler(&handler_);
  browser->NavigateUrl(PagePath(programFolder));
}

void CPageMapLoader::ReloadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) {
  LoadPage(browser, programFolder);
}

void CPageMapLoader::SetCarPosition(DuiLib::CWebBrowserUI* browser, double longitude,
                                    double latitude) {
  setup_.toMapDatum(latitude, longitude, lastLatitude_, lastLongitude_);
  const std::vector<std::string> args{FormatCoordinate(lastLatitude_),
                                      FormatCoordinate(lastLongitude_)};
  // The flag is set even when the creation call fails; the page's setCarMarker creates a marker
  // that is missing.
  const char* function = markerCreated_ ? kSetCarMarker : kCreateCarMarker;
  markerCreated_ = true;
  CallPageFunction(browser, function, page_, args);
}

void CPageMapLoader::UpdateRoute(DuiLib::CWebBrowserUI* browser, const CTrackStore& store,
                                 std::int32_t readyChunks) {
  const std::int32_t ready = std::min(readyChunks, store.readyChunks());
  for (std::int32_t c = std::max(store.consumedChunks(), 0); c < ready; ++c) {
    if (c == 0) ClearRoute(browser);
    if (const TrackChunk* chunk = store.chunk(c)) {
      const std::int32_t count = std::clamp(chunk->count, 0, TrackChunk::kCapacity);
      for (std::int32_t i = 0; i < count; ++i) {
        const TelemetryRecord& point = chunk->points[static_cast<std::size_t>(i)];
        if (!point.valid) continue;
        const std::vector<std::string> args{
            FormatCoordinate(setup_.routeInMapDatum ? point.mapLatitude : point.latitude),
            FormatCoordinate(setup_.routeInMapDatum ? point.mapLongitude : point.longitude),
            PageMoment(point.mediaTimeMs), PageSpeed(point.speedKmh)};
        if (setup_.traceRoute && RouteTraceEnabled()) RouteTrace(args[0] + "\n" + args[1]);
        CallPageFunction(browser, kAddLinePoints, page_, args);
      }
    }
    CallPageFunction(browser, c == 0 ? kCreatePolyline : kReloadPolyline, page_);
  }
}

void CPageMapLoader::ClearRoute(DuiLib::CWebBrowserUI* browser) {
  CallPageFunction(browser, kClearLinePoints, page_, {std::to_string(routeId_)});
}

void CPageMapLoader::SetRouteStyle(DuiLib::CWebBrowserUI* browser, bool bySpeed, SpeedUnit unit) {
  CallPageFunction(browser, kSetRouteStyle, page_,
                   {bySpeed ? "speed" : "plain", SpeedUnitValue(unit)});
}

void CPageMapLoader::ShowRouteTip(DuiLib::CWebBrowserUI* browser, std::int32_t timeMs,
                                  const std::string& text) {
  CallPageFunction(browser, kShowRouteTip, page_, {PageMoment(timeMs), text});
}

std::string EventMarksJson(std::span<const EventMark> marks,
                           void (*toMapDatum)(double, double, double&, double&)) {
  std::string json = "[";
  for (const EventMark& mark : marks) {
    double lat = mark.event.latitude, lon = mark.event.longitude;
    if (toMapDatum != nullptr) toMapDatum(mark.event.latitude, mark.event.longitude, lat, lon);
    if (json.size() > 1) json += ',';
    json += "{\"t\":" + std::to_string(mark.event.mediaMs) + ",\"lat\":\"" + FormatCoordinate(lat) +
            "\",\"lon\":\"" + FormatCoordinate(lon) + "\",\"kind\":";
    AppendJsonString(json, DriveEventKindText(mark.event.kind));
    json += ",\"tip\":";
    AppendJsonString(json, mark.tip);
    json += '}';
  }
  return json + "]";
}

void CPageMapLoader::SetEventMarks(DuiLib::CWebBrowserUI* browser,
                                   std::span<const EventMark> marks) {
  CallPageFunction(browser, kSetEventMarks, page_, {EventMarksJson(marks, setup_.toMapDatum)});
}

std::string OverviewLinesJson(std::span<const ClipOverview> lines,
                              void (*toMapDatum)(double, double, double&, double&)) {
  std::string json = "[";
  for (const ClipOverview& line : lines) {
    if (line.points.empty()) continue;
    if (json.size() > 1) json += ',';
    json += "{\"id\":" + std::to_string(line.clip) + ",\"p\":[";
    bool first = true;
    for (const OverviewPoint& point : line.points) {
      double lat = point.latitude, lon = point.longitude;
      if (toMapDatum != nullptr) toMapDatum(point.latitude, point.longitude, lat, lon);
      if (!first) json += ',';
      first = false;
      json += FormatCoordinate(lat) + ',' + FormatCoordinate(lon) + ',' +
              std::to_string(std::max(point.mediaMs, 0));
    }
    json += "]}";
  }
  return json + "]";
}

void CPageMapLoader::SetOverviewLines(DuiLib::CWebBrowserUI* browser, std::uint32_t set,
                                      std::span<const ClipOverview> lines, bool replace) {
  CallPageFunction(browser, replace ? kSetOverviewLines : kAddOverviewLines, page_,
                   {std::to_string(set), OverviewLinesJson(lines, setup_.toMapDatum)});
}

void CPageMapLoader::SetTrackChoice(DuiLib::CWebBrowserUI* browser, bool offered, bool import) {
  CallPageFunction(browser, kSetTrackChoice, page_, {offered ? "1" : "0", import ? "1" : "0"});
}

void CPageMapLoader::SetPageTexts(DuiLib::CWebBrowserUI* browser, const std::string& textsJson) {
  CallPageFunction(browser, kSetPageTexts, page_, {textsJson});
}

void CPageMapLoader::ResetMarker() {
  markerCreated_ = false;
  lastLatitude_ = 0.0;
  lastLongitude_ = 0.0;
}

}  // namespace korvane
