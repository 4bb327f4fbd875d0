#include "map/map_loader.h"

namespace korvane {

void CMapDisplay::LoadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) {
  if (loader_) loader_->LoadPage(browser, programFolder);
}

void CMapDisplay::ReloadPage(DuiLib::CWebBrowserUI* browser, const std::string& programFolder) {
  if (loader_) loader_->ReloadPage(browser, programFolder);
}

void CMapDisplay::SetCarPosition(DuiLib::CWebBrowserUI* browser, double longitude,
                                 double latitude) {
  if (loader_) loader_->SetCarPosition(browser, longitude, latitude);
}

void CMapDisplay::UpdateRoute(DuiLib::CWebBrowserUI* browser, const CTrackStore& store,
                              std::int32_t readyChunks) {
  if (loader_) loader_->UpdateRoute(browser, store, readyChunks);
}

void CMapDisplay::ResetMarker() {
  if (loader_) loader_->ResetMarker();
}

void CMapDisplay::ClearRoute(DuiLib::CWebBrowserUI* browser) {
  if (loader_) loader_->ClearRoute(browser);
}

void CMapDisplay::SetPageTexts(DuiLib::CWebBrowserUI* browser, const std::string& textsJson) {
  if (loader_) loader_->SetPageTexts(browser, textsJson);
}

void CMapDisplay::SetRouteStyle(DuiLib::CWebBrowserUI* browser, bool bySpeed, SpeedUnit unit) {
  if (loader_) loader_->SetRouteStyle(browser, bySpeed, unit);
}

void CMapDisplay::SetRouteId(std::uint32_t routeId) {
  if (loader_) loader_->SetRouteId(routeId);
}

void CMapDisplay::ShowRouteTip(DuiLib::CWebBrowserUI* browser, std::int32_t timeMs,
                               const std::string& text) {
  if (loader_) loader_->ShowRouteTip(browser, timeMs, text);
}

void CMapDisplay::SetEventMarks(DuiLib::CWebBrowserUI* browser, std::span<const EventMark> marks) {
  if (loader_) loader_->SetEventMarks(browser, marks);
}

void CMapDisplay::SetOverviewLines(DuiLib::CWebBrowserUI* browser, std::uint32_t set,
                                   std::span<const ClipOverview> lines, bool replace) {
  if (loader_) loader_->SetOverviewLines(browser, set, lines, replace);
}

void CMapDisplay::SetTrackChoice(DuiLib::CWebBrowserUI* browser, bool offered, bool import) {
  if (loader_) loader_->SetTrackChoice(browser, offered, import);
}

}  // namespace korvane
