#include "tracks/overview_set.h"

#include <unordered_map>

#include "index/clip_channels.h"
#include "index/trips.h"

namespace korvane {

std::uint32_t COverviewSet::Start(std::vector<std::string> folderClips) {
  clips_ = std::move(folderClips);
  looked_.assign(clips_.size(), false);
  drawn_.clear();
  set_ = ++lastSet_;
  return set_;
}

void COverviewSet::Clear() {
  clips_.clear();
  looked_.clear();
  drawn_.clear();
  set_ = 0;
}

std::vector<NumberedOverview> COverviewSet::TakeNewLines() {
  if (set_ == 0) return {};
  std::vector<std::string> waiting;
  std::unordered_map<std::string, std::uint32_t> numberOf;
  for (std::size_t i = 0; i < clips_.size(); ++i) {
    if (looked_[i]) continue;
    waiting.push_back(clips_[i]);
    numberOf.emplace(clips_[i], static_cast<std::uint32_t>(i));
  }
  if (waiting.empty()) return {};
  // A clip read by the indexer is looked at once: a clip without telemetry has no line to wait for.
  std::vector<ClipSummary> read;
  for (ClipSummary& clip : reader_.GetClips(waiting)) {
    const auto number = numberOf.find(clip.path);
    if (clip.status == ClipStatus::Unknown || number == numberOf.end()) continue;
    looked_[number->second] = true;
    read.push_back(std::move(clip));
  }
  std::vector<std::string> indexed;
  for (const ClipSummary& clip : OnePerMoment(std::move(read))) {
    if (clip.pointCount > 0 && drawn_.insert(MomentOf(clip.path).moment).second) {
      indexed.push_back(clip.path);
    }
  }
  std::vector<NumberedOverview> lines;
  for (OverviewLine& line : reader_.GetOverviews(indexed)) {
    const auto number = numberOf.find(line.path);
    if (number == numberOf.end()) continue;
    lines.push_back({number->second, std::move(line.points)});
  }
  return lines;
}

std::string COverviewSet::ClipPath(std::uint32_t clip) const {
  return clip < clips_.size() ? clips_[clip] : std::string();
}

}  // namespace korvane
