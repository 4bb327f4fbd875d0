#include "ui/playlist.h"

#include <algorithm>

namespace korvane {

const KnownExtension KnownExtensions[] = {
    {"wmv", 1},  {"avi", 1}, {"rm", 1},  {"rmvb", 1}, {"mp4", 1}, {"mpg", 1},
    {"mpeg", 1}, {"vob", 1}, {"mkv", 1}, {"mov", 1},  {"mod", 1}, {nullptr, 0},
};

int Playlist::AddEntry(std::string path, std::string fileName) {
  if (!paths_.insert(path).second) return -1;
  entries_.push_back(
      std::make_unique<PlaylistEntry>(PlaylistEntry{std::move(path), std::move(fileName)}));
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
  if (current_ < 0 || current_ >= count()) return 0;
  path = entries_[current_]->path;
  return 1;
}

int Playlist::SetCurrent(int index) {
  current_ = (index >= 0 && index < count()) ? index : -1;
  return current_;
}

int Playlist::StepFromCurrent(int step) const {
  if (current_ < 0) return -1;
  int target = current_ + step;
  return (target >= 0 && target < count()) ? target : -1;
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
