#include "ui/playlist_host.h"

#include "framework/file_dialog.h"
#include "settings/localization.h"
#include "settings/settings_store.h"

namespace korvane {

std::string AppPlaylistHost::ReadSettingString(std::string_view key, std::string_view fallback) {
  return korvane::ReadSettingString(context_, kSettingsSection, key, fallback);
}

void AppPlaylistHost::WriteSettingString(std::string_view key, std::string_view value) {
  korvane::WriteSettingString(context_, kSettingsSection, key, value);
}

std::string AppPlaylistHost::ReadLanguageText(std::string_view key) {
  return korvane::ReadLanguageText(context_, kMainInterfaceSection, key);
}

std::optional<std::string> AppPlaylistHost::ChooseFile(const OpenFilter& filter) {
  DuiLib::OpenFileRequest request;
  request.owner = context_.mainWindowHandle;
  request.filterText = filter.displayText;
  request.filterPattern = filter.pattern;
  std::string chosen;
  if (!DuiLib::ShowOpenFileDialog(request, chosen)) return std::nullopt;
  return chosen;
}

bool AppPlaylistHost::AskBeforeClear() {
  return clearTip_ && context_.settings.cleanTip;
}

int AppPlaylistHost::ShowClearTip() {
  return clearTip_ ? clearTip_() : 1;
}

void AppPlaylistHost::ListChanged(const std::vector<std::string>& paths, int current) {
  if (listWatcher_) listWatcher_(paths, current);
}

}  // namespace korvane
