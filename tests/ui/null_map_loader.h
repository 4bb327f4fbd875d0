// A map loader that does nothing, for tests to override only the calls they watch.
#pragma once
#include "map/map_loader.h"

namespace korvane::test {

class NullMapLoader : public CMapLoader {
 public:
  void LoadPage(DuiLib::CWebBrowserUI*, const std::string&) override {}
  void ReloadPage(DuiLib::CWebBrowserUI*, const std::string&) override {}
  void SetCarPosition(DuiLib::CWebBrowserUI*, double, double) override {}
  void UpdateRoute(DuiLib::CWebBrowserUI*, const CTrackStore&, std::int32_t) override {}
  void ResetMarker() override {}
  void ClearRoute(DuiLib::CWebBrowserUI*) override {}
  void SetPageTexts(DuiLib::CWebBrowserUI*, const std::string&) override {}
  void SetRouteStyle(DuiLib::CWebBrowserUI*, bool, SpeedUnit) override {}
  void SetRouteId(std::uint32_t) override {}
  void ShowRouteTip(DuiLib::CWebBrowserUI*, std::int32_t, const std::string&) override {}
  void SetEventMarks(DuiLib::CWebBrowserUI*, std::span<const EventMark>) override {}
  void SetOverviewLines(DuiLib::CWebBrowserUI*, std::uint32_t, std::span<const ClipOverview>,
                        bool) override {}
  void SetTrackChoice(DuiLib::CWebBrowserUI*, bool, bool) override {}
};

}  // namespace korvane::test
