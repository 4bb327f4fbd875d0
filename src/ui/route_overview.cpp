#include "ui/route_overview.h"

namespace korvane {

void CRouteOverview::Show(std::vector<std::string> folderClips) {
  const std::uint32_t set = lines_.Start(std::move(folderClips));
  map_.SetOverviewLines(browser_(), set, {}, true);
  Refresh();
}

void CRouteOverview::Hide() {
  lines_.Clear();
  map_.SetOverviewLines(browser_(), 0, {}, true);
}

int CRouteOverview::Refresh() {
  std::vector<ClipOverview> lines;
  for (const NumberedOverview& line : lines_.TakeNewLines()) {
    ClipOverview overview{line.clip, {}};
    overview.points.reserve(line.points.size());
    for (const IndexPoint& point : line.points) {
      overview.points.push_back({point.latitude, point.longitude, point.mediaMs});
    }
    lines.push_back(std::move(overview));
  }
  if (!lines.empty()) map_.SetOverviewLines(browser_(), set(), lines, false);
  return static_cast<int>(lines.size());
}

}  // namespace korvane
