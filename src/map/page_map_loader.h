// What the three map loaders share: driving a map page through its six script functions. A loader
// of one service says only where its page is, which datum its positions are in and which
// coordinates of a track point it sends.
#pragma once
#include <span>
#include <string>

#include "map/map_loader.h"
#include "map/web_page.h"

namespace korvane {

// The page's functions, the same on every page.
inline constexpr const char* kSetCarMarker = "setCarMarker";
inline constexpr const char* kCreateCarMarker = "createCarMarker";
inline constexpr const char* kClearLinePoints = "clearLinePoints";
inline constexpr const char* kAddLinePoints = "addLinePoints";
inline constexpr const char* kCreatePolyline = "createPolyline";
inline constexpr const char* kReloadPolyline = "reloadPolyline";
inline constexpr const char* kSetPageTexts = "setPageTexts";
inline constexpr const char* kShowRouteTip = "showRouteTip";
inline constexpr const char* kSetEventMarks = "setEventMarks";
inline constexpr const char* kSetRouteStyle = "setRouteStyle";
inline constexpr const char* kSetOverviewLines = "setOverviewLines";
inline constexpr const char* kAddOverviewLines = "addOverviewLines";
inline constexpr const char* kSetTrackChoice = "setTrackChoice";

// Six decimals with a point whatever the process locale says ("nan"/"inf" for non-finite values,
// which the pages refuse).
std::string FormatCoordinate(double value);

// The trailing arguments of addLinePoints: the point's media time in whole ms ("" for a point
// without one, which the page draws but does not offer for a click), and its speed in km/h with
// one decimal and a point.
std::string PageMoment(std::int32_t ms);
std::string PageSpeed(double kmh);

// The argument of setEventMarks: a JSON array of {"t": ms, "lat": "…", "lon": "…", "kind": "…",
// "tip": "…"}, the position put into the map's datum by `toMapDatum` and written as
// FormatCoordinate does; "[]" for none.
std::string EventMarksJson(std::span<const EventMark> marks,
                           void (*toMapDatum)(double, double, double&, double&));

// The JSON argument of setOverviewLines / addOverviewLines: an array of {"id": clip, "p": [lat,
// lon, ms, …]}, the positions put into the map's datum by `toMapDatum` (none: as given) with six
// decimals; lines without a point are left out, "[]" for none.
std::string OverviewLinesJson(std::span<const ClipOverview> lines,
                              void (*toMapDatum)(double, double, double&, double&));

class CPageMapLoader : public CMapLoader {
 public:
  // A WGS-84 position (lat, lon) in the map's datum (outLat, outLon).
  using Transform = void (*)(double, double, double&, double&);
  struct PageSetup {
    std::string pageFile;  // under "Map/" of the program folder
    Transform toMapDatum;  // for the car marker
    bool routeInMapDatum;  // route points send mapLatitude/mapLongitude, else the camera's
    bool traceRoute;       // route points go to the "map.route" debug category
  };

  explicit CPageMapLoader(PageSetup setup) : setup_(std::move(setup)) {}

  void LoadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) override;
  void ReloadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) override;
  void SetCarPosition(DuiLib::CWebBrowserUI* browser, double longitude, double latitude) override;
  void UpdateRoute(DuiLib::CWebBrowserUI* browser, const CTrackStore& store,
                   std::int32_t readyChunks) override;
  void ResetMarker() override;
  void ClearRoute(DuiLib::CWebBrowserUI* browser) override;
  void SetPageTexts(DuiLib::CWebBrowserUI* browser, const std::string& textsJson) override;
  void SetRouteStyle(DuiLib::CWebBrowserUI* browser, bool bySpeed, SpeedUnit unit) override;
  void SetRouteId(std::uint32_t routeId) override { routeId_ = routeId; }
  void ShowRouteTip(DuiLib::CWebBrowserUI* browser, std::int32_t timeMs,
                    const std::string& text) override;
  void SetEventMarks(DuiLib::CWebBrowserUI* browser, std::span<const EventMark> marks) override;
  void SetOverviewLines(DuiLib::CWebBrowserUI* browser, std::uint32_t set,
                        std::span<const ClipOverview> lines, bool replace) override;
  void SetTrackChoice(DuiLib::CWebBrowserUI* browser, bool offered, bool import) override;

  // The page file under `programFolder` (which ends in "/").
  std::string PagePath(const std::string& programFolder) const;

  bool IsMarkerCreated() const { return markerCreated_; }
  double LastLatitude() const { return lastLatitude_; }
  double LastLongitude() const { return lastLongitude_; }
  const CWebPage& GetWebPage() const { return page_; }

 private:
  PageSetup setup_;
  CWebPage page_;
  CWebMapEventHandler handler_;
  bool markerCreated_ = false;
  std::uint32_t routeId_ = 0;
  double lastLatitude_ = 0.0;
  double lastLongitude_ = 0.0;
};

}  // namespace korvane
