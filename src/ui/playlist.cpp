#include "ui/playlist.h"

#include <algorithm>

#include "index/clip_channels.h"

namespace korvane {

const KnownExtension KnownExtensions[] = {
    {"wmv", 1}, {"avi", 1}, {"rm", 1},  {"rmvb", 1}, {"mp4", 1}, {"mpg", 1},   {"mpeg", 1},
    {"vob", 1}, {"mkv", 1}, {"mov", 1}, {"mod", 1},  {"ts", 1},  {nullptr, 0},
};

int Playlist::AddEntry(std::string path, std::string fileName) {
  if (!paths_.insert(path).second) return -1;
  ClipMoment moment = MomentOf(path);
  std::string mark = moment.named ? std::string(ChannelMark(moment.channel)) : std::string();
  entries_.push_back(std::make_unique<PlaylistEntry>(
      PlaylistEntry{std::move(path), std::move(fileName), std::move(moment.moment), std::move(mark),
                    static_cast<int>(moment.channel)}));
  return count() - 1;
}

int Playlist::RemoveEntry(int index) {
  if (entries_.empty()) return 1;
  if (index < 0 || index >= count()) return 0;
  if (index < current_ || (index == current_ && current_ == count() - 1)) --current_;
  paths_.erase(entries_[index]->path);
  entries_.erase(entries_.begin() + index);
  return 1;
}

int Playlist::FindEntry(std::string_view path) const {
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const auto& entry) { return entry->path == path; });
  return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

void Playlist::ClearEntries() {
  entries_.clear();
  paths_.clear();
  current_ = -1;
}

int Playlist::GetCurrentPath(std::string& path) const {
  const std::vector<std::string> channels = CurrentChannelPaths();
  if (channels.empty()) return 0;
  path = channels.front();
  return 1;
}

std::vector<std::string> Playlist::CurrentChannelPaths() const {
  std::vector<int> same = MomentEntries(current_);
  std::stable_sort(same.begin(), same.end(),
                   [this](int a, int b) { return entries_[a]->channel < entries_[b]->channel; });
  std::vector<std::string> paths;
  for (const int i : same) paths.push_back(entries_[i]->path);
  return paths;
}

std::vector<int> Playlist::MomentEntries(int index) const {
  std::vector<int> same;
  if (index < 0 || index >= count()) return same;
  for (int i = 0; i < count(); ++i) {
    if (entries_[i]->moment == entries_[index]->moment) same.push_back(i);
  }
  return same;
}

int Playlist::SetCurrent(int index) {
  current_ = (index >= 0 && index < count()) ? index : -1;
  return current_;
}

int Playlist::StepFromCurrent(int step) const {
  if (current_ < 0 || step == 0) return -1;
  const std::string& moment = entries_[current_]->moment;
  for (int target = current_ + step; target >= 0 && target < count(); target += step) {
    if (entries_[target]->moment != moment) return target;
  }
  return -1;
}

void Playlist::SortByName() {
  const PlaylistEntry* kept = current_ >= 0 ? entries_[current_].get() : nullptr;
  // std::string compares as unsigned bytes, which for UTF-8 is code-point order.
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const auto& a, const auto& b) { return a->fileName < b->fileName; });
  if (kept == nullptr) return;
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const auto& entry) { return entry.get() == kept; });
  current_ = static_cast<int>(found - entries_.begin());
}

}  // namespace korvane
