// The playlist's outside world in the running program: the settings and language files of the
// application context, the framework's open dialog owned by the main window, and the clear tip.
#pragma once
#include <functional>

#include "ui/playlist_view.h"

namespace korvane {

struct ApplicationContext;

class AppPlaylistHost final : public IPlaylistHost {
 public:
  // Shows the clear confirmation and returns its result (1 = clear).
  using ClearTip = std::function<int()>;
  // Hears of every change of the list's files (background indexing).
  using ListWatcher = std::function<void(const std::vector<std::string>&, int)>;

  // Without a clear tip the list is cleared without asking, whatever the settings say.
  explicit AppPlaylistHost(ApplicationContext& context, ClearTip clearTip = {})
      : context_(context), clearTip_(std::move(clearTip)) {}
  void SetClearTip(ClearTip clearTip) { clearTip_ = std::move(clearTip); }
  void SetListWatcher(ListWatcher watcher) { listWatcher_ = std::move(watcher); }

  std::string ReadSettingString(std::string_view key, std::string_view fallback) override;
  void WriteSettingString(std::string_view key, std::string_view value) override;
  std::string ReadLanguageText(std::string_view key) override;
  std::optional<std::string> ChooseFile(const OpenFilter& filter) override;
  bool AskBeforeClear() override;
  int ShowClearTip() override;
  void ListChanged(const std::vector<std::string>& paths, int current) override;

 private:
  ApplicationContext& context_;
  ClearTip clearTip_;
  ListWatcher listWatcher_;
};

}  // namespace korvane
