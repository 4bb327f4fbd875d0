#include "ui/playlist_manager.h"

#include <filesystem>
#include <system_error>

#include "settings/settings.h"

namespace korvane {
namespace {

// Stands in for a skin without the tree, so the operations need no null checks.
class NoPlaylistView final : public IPlaylistView {
 public:
  void RemoveAllNodes() override {}
  void AppendNode(const PlaylistEntry&) override {}
  void RemoveNodeAt(int) override {}
  void SelectNode(int) override {}
  void SetPlayingNode(int, bool) override {}
  int GetDeleteItemIndex() const override { return -1; }
};
NoPlaylistView noView;

bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

CPlaylistManager::CPlaylistManager(IPlaylistHost& host, IPlaylistView* view)
    : host_(host), view_(view != nullptr ? view : &noView) {}

void CPlaylistManager::SetView(IPlaylistView* view) {
  view_ = view != nullptr ? view : &noView;
}

void CPlaylistManager::LoadPlaylistOptions() {
  std::string associate = host_.ReadSettingString("Associate", "");
  if (associate.empty()) {
    associate = kDefaultAssociate;
    host_.WriteSettingString("Associate", associate);
  }
  supportedExtensions_ = ParseSupportedExtensions(associate);

  std::string caption = host_.ReadLanguageText("IDS_FILTER");
  std::string pattern = host_.ReadSettingString("Filter", kDefaultFilter);
  if (pattern.empty()) {
    pattern = kDefaultFilter;
    host_.WriteSettingString("Filter", pattern);
  }
  openFilter_ = MakeOpenFilter(caption, pattern);
}

int CPlaylistManager::OpenFileDialog() {
  std::optional<std::string> chosen = host_.ChooseFile(openFilter_);
  if (!chosen || chosen->empty()) return 0;
  SplitPathResult parts = SplitPath(*chosen);
  LoadFolderOf(parts.fileName, parts.folder);
  return 1;
}

void CPlaylistManager::DropFiles(const std::vector<std::string>& paths) {
  const std::string* lastFile = nullptr;
  bool supportedDropped = false;
  for (const std::string& path : paths) {
    if (!IsRegularFile(path)) continue;
    lastFile = &path;
    if (IsSupportedExtension(supportedExtensions_, SplitPath(path).extension)) {
      supportedDropped = true;
    }
  }
  if (!supportedDropped) return;
  SplitPathResult parts = SplitPath(*lastFile);
  LoadFolderOf(parts.fileName, parts.folder);
}

void CPlaylistManager::LoadFolderOf(const std::string& fileName, const std::string& folder) {
  std::optional<std::vector<std::string>> names = ListFolder(folder);
  if (!names) return;
  const bool grew = AddSupportedFiles(playlist_, folder, *names, supportedExtensions_) > 0;
  if (grew) {
    playlist_.SortByName();
    RebuildView();
  }
  int oldCurrent = playlist_.current();
  int chosen = playlist_.SetCurrent(playlist_.FindEntry(folder + fileName));
  view_->SelectNode(chosen);
  MoveMark(oldCurrent, chosen);
  if (grew) host_.ListChanged(Paths(), chosen);
}

int CPlaylistManager::LoadClips(const std::vector<std::string>& paths) {
  Playlist clips;
  for (const std::string& path : paths) {
    if (IsRegularFile(path)) clips.AddEntry(path, SplitPath(path).fileName);
  }
  if (clips.count() == 0) return 0;
  clips.SetCurrent(0);
  playlist_ = std::move(clips);
  RebuildView();
  view_->SelectNode(0);
  MoveMark(-1, 0);
  host_.ListChanged(Paths(), 0);
  return playlist_.count();
}

void CPlaylistManager::ActivateEntry(int index) {
  if (index == -1) return;
  int oldCurrent = playlist_.current();
  MoveMark(oldCurrent, playlist_.SetCurrent(index));
}

int CPlaylistManager::DeleteClickedEntry() {
  int wasCurrent = playlist_.current();
  int deleted = view_->GetDeleteItemIndex();
  // A stale or foreign index must not remove a node that still has its entry.
  if (deleted < 0 || deleted >= playlist_.count()) return 0;
  view_->RemoveNodeAt(deleted);
  playlist_.RemoveEntry(deleted);
  if (deleted != wasCurrent) return 0;
  // RemoveEntry already stepped back from a deleted last entry; the node at the current index is
  // the entry that moved up, or the new last one. The deleted moment's other channels may lie
  // anywhere, so every mark is set anew.
  for (int i = 0; i < playlist_.count(); ++i) view_->SetPlayingNode(i, false);
  MoveMark(-1, playlist_.current());
  return 1;
}

bool CPlaylistManager::ClearPlaylist() {
  if (host_.AskBeforeClear() && host_.ShowClearTip() != 1) return false;
  playlist_.ClearEntries();
  view_->RemoveAllNodes();
  host_.ListChanged({}, -1);
  return true;
}

int CPlaylistManager::SelectNext() {
  return Step(+1);
}
int CPlaylistManager::SelectPrevious() {
  return Step(-1);
}

int CPlaylistManager::Step(int step) {
  int target = playlist_.StepFromCurrent(step);
  if (target < 0) return 0;
  int oldCurrent = playlist_.current();
  playlist_.SetCurrent(target);
  view_->SelectNode(target);
  MoveMark(oldCurrent, target);
  return 1;
}

std::vector<std::string> CPlaylistManager::Paths() const {
  std::vector<std::string> paths;
  paths.reserve(playlist_.entries().size());
  for (const auto& entry : playlist_.entries()) paths.push_back(entry->path);
  return paths;
}

void CPlaylistManager::RebuildView() {
  view_->RemoveAllNodes();
  for (const auto& entry : playlist_.entries()) view_->AppendNode(*entry);
}

void CPlaylistManager::MoveMark(int oldCurrent, int newCurrent) {
  // Every channel's entry of the playing moment is marked together.
  for (const int i : playlist_.MomentEntries(oldCurrent)) view_->SetPlayingNode(i, false);
  for (const int i : playlist_.MomentEntries(newCurrent)) view_->SetPlayingNode(i, true);
}

}  // namespace korvane
