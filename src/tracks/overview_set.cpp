#include "ui/route_overview.h"

#include <unordered_map>

namespace korvane {

void CRouteOverview::Show(std::vector<std::string> folderClips) {
  clips_ = std::move(folderClips);
  looked_.assign(clips_.size(), false);
  set_ = ++lastSet_;
  map_.SetOverviewLines(browser_(), set_, {}, true);
  Refresh();
}

void CRouteOverview::Hide() {
  clips_.clear();
  looked_.clear();
  set_ = 0;
  map_.SetOverviewLines(browser_(), 0, {}, true);
}

int CRouteOverview::Refresh() {
  if (set_ == 0) return 0;
  std::vector<std::string> waiting;
  std::unordered_map<std::string, std::uint32_t> numberOf;
  for (std::size_t i = 0; i < clips_.size(); ++i) {
    if (looked_[i]) continue;
    waiting.push_back(clips_[i]);
    numberOf.emplace(clips_[i], static_cast<std::uint32_t>(i));
  }
  if (waiting.empty()) return 0;
  // A clip read by the indexer is looked at once: a clip without telemetry has no line to wait for.
  std::vector<std::string> indexed;
  for (const ClipSummary& clip : reader_.GetClips(waiting)) {
    const auto number = numberOf.find(clip.path);
    if (clip.status == ClipStatus::Unknown || number == numberOf.end()) continue;
    looked_[number->second] = true;
    indexed.push_back(clip.path);
  }
  std::vector<ClipOverview> lines;
  for (OverviewLine& line : reader_.GetOverviews(indexed)) {
    const auto number = numberOf.find(line.path);
    if (number == numberOf.end()) continue;
    ClipOverview overview{number->second, {}};
    overview.points.reserve(line.points.size());
    for (const IndexPoint& point : line.points) {
      overview.points.push_back({point.latitude, point.longitude, point.mediaMs});
    }
    lines.push_back(std::move(overview));
  }
  if (!lines.empty()) map_.SetOverviewLines(browser_(), set_, lines, false);
  return static_cast<int>(lines.size());
}

std::string CRouteOverview::ClipPath(std::uint32_t clip) const {
  return clip < clips_.size() ? clips_[clip] : std::string();
}

}  // namespace korvane
