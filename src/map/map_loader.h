// The map loaders' interface, and CMapDisplay, the main window's map that owns the one loader
// chosen at start-up and forwards every operation to it.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "telemetry/drive_event.h"

namespace DuiLib {
class CWebBrowserUI;
}

namespace korvane {

class CTrackStore;

// A driving event as the map marks it: where and when, and the text of its tooltip.
struct EventMark {
  DriveEvent event;
  std::string tip;
};

// A clip's overview line as the map draws it under the route: WGS-84 points with their moment in
// the clip; `clip` is the caller's number for the clip, which a click on the line gives back.
struct OverviewPoint {
  double latitude = 0.0;
  double longitude = 0.0;
  std::int32_t mediaMs = 0;
};
struct ClipOverview {
  std::uint32_t clip = 0;
  std::vector<OverviewPoint> points;
};

class CMapLoader {
 public:
  virtual ~CMapLoader() = default;
  // Installs the loader's event handler and navigates `browser` to the loader's page under
  // `programFolder` (ending in "/"); does not wait for the page. A null browser does nothing.
  virtual void LoadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) = 0;
  // The same as LoadPage.
  virtual void ReloadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) = 0;
  // Creates the car marker at a WGS-84 position, or moves it once created. Failed calls are
  // ignored.
  virtual void SetCarPosition(DuiLib::CWebBrowserUI* browser, double longitude,
                              double latitude) = 0;
  // Hands the store's chunks from consumedChunks to `readyChunks` − 1 to the page; valid points
  // only. The caller reads the store's readyChunks once and gives the same count to everything
  // that consumes the chunks, since the pipeline may raise it meanwhile.
  virtual void UpdateRoute(DuiLib::CWebBrowserUI* browser, const CTrackStore& store,
                           std::int32_t readyChunks) = 0;
  // The next SetCarPosition creates the marker again.
  virtual void ResetMarker() = 0;
  // Removes the route drawn so far, so a file without telemetry never shows the previous file's.
  // Failed calls are ignored.
  virtual void ClearRoute(DuiLib::CWebBrowserUI* browser) = 0;
  // Gives the page the texts it shows of its own, as the JSON object ComposePageTexts makes
  // (page_texts.h). A call made while the page loads waits for it; failed calls are ignored.
  virtual void SetPageTexts(DuiLib::CWebBrowserUI* browser, const std::string& textsJson) = 0;
  // Colours the route by the speed of each stretch (with a legend in `unit`) or in one colour.
  // A call made while the page loads waits for it; failed calls are ignored.
  virtual void SetRouteStyle(DuiLib::CWebBrowserUI* browser, bool bySpeed, SpeedUnit unit) = 0;
  // The id the next cleared route is given; the page sends it back with every message about the
  // route, so a page still showing another file's route is told apart.
  virtual void SetRouteId(std::uint32_t routeId) = 0;
  // Shows `text` beside the route point of moment `timeMs`, if the mouse still rests there.
  virtual void ShowRouteTip(DuiLib::CWebBrowserUI* browser, std::int32_t timeMs,
                            const std::string& text) = 0;
  // Marks the clip's driving events on the map, replacing the marks shown; none removes them. A
  // click on a mark comes back as a click on the route at the event's moment.
  virtual void SetEventMarks(DuiLib::CWebBrowserUI* browser, std::span<const EventMark> marks) = 0;
  // Draws the overview lines thin and grey under the route as set `set`: replacing every line shown
  // (`replace`), or adding to the lines of that set (a call for another set is ignored by the
  // page). Set 0 with no lines removes them. A click on a line comes back with the set, the clip
  // and the moment of the nearest point. Failed calls are ignored.
  virtual void SetOverviewLines(DuiLib::CWebBrowserUI* browser, std::uint32_t set,
                                std::span<const ClipOverview> lines, bool replace) = 0;
  // Offers the playing clip's choice between its own track and the folder's imported GPX track in
  // the map's corner, showing which one it plays from (`import`), or hides it (`offered` false).
  // The user's pick comes back as "trackChoice". Failed calls are ignored.
  virtual void SetTrackChoice(DuiLib::CWebBrowserUI* browser, bool offered, bool import) = 0;
};

class CMapDisplay : public CMapLoader {
 public:
  // Takes the loader (null: none; every operation then does nothing).
  void SetLoader(std::unique_ptr<CMapLoader> loader) { loader_ = std::move(loader); }
  CMapLoader* GetLoader() const { return loader_.get(); }

  void LoadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) override;
  void ReloadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) override;
  void SetCarPosition(DuiLib::CWebBrowserUI* browser, double longitude, double latitude) override;
  void UpdateRoute(DuiLib::CWebBrowserUI* browser, const CTrackStore& store,
                   std::int32_t readyChunks) override;
  void ResetMarker() override;
  void ClearRoute(DuiLib::CWebBrowserUI* browser) override;
  void SetPageTexts(DuiLib::CWebBrowserUI* browser, const std::string& textsJson) override;
  void SetRouteStyle(DuiLib::CWebBrowserUI* browser, bool bySpeed, SpeedUnit unit) override;
  void SetRouteId(std::uint32_t routeId) override;
  void ShowRouteTip(DuiLib::CWebBrowserUI* browser, std::int32_t timeMs,
                    const std::string& text) override;
  void SetEventMarks(DuiLib::CWebBrowserUI* browser, std::span<const EventMark> marks) override;
  void SetOverviewLines(DuiLib::CWebBrowserUI* browser, std::uint32_t set,
                        std::span<const ClipOverview> lines, bool replace) override;
  void SetTrackChoice(DuiLib::CWebBrowserUI* browser, bool offered, bool import) override;

 private:
  std::unique_ptr<CMapLoader> loader_;
};

}  // namespace korvane
