#include "framework/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "framework/qt_bridge.h"
#include "framework/window_wnd.h"
#include "platform/path_parts.h"

namespace DuiLib {

namespace {
OpenFileDialogHook& Hook() {
  static OpenFileDialogHook hook;
  return hook;
}
SaveFileDialogHook& SaveHook() {
  static SaveFileDialogHook hook;
  return hook;
}
}  // namespace

UINT DragQueryFileCount(HDROP drop) {
  return drop == nullptr ? 0 : static_cast<UINT>(drop->paths.size());
}

std::string DragQueryFilePath(HDROP drop, UINT index) {
  if (drop == nullptr || index >= drop->paths.size()) return {};
  return drop->paths[index];
}

OpenFileRequest ParseOpenFilter(const char* buffer, std::size_t size) {
  OpenFileRequest request;
  if (buffer == nullptr || size == 0) return request;
  const std::string_view all(buffer, size);
  const std::size_t firstNul = all.find('\0');
  request.filterText = std::string(all.substr(0, firstNul));
  if (firstNul == std::string_view::npos) {
    request.filterPattern = "*";
    return request;
  }
  const std::string_view rest = all.substr(firstNul + 1);
  request.filterPattern = std::string(rest.substr(0, rest.find('\0')));
  if (request.filterPattern.empty()) request.filterPattern = "*";
  return request;
}

std::string DialogNameFilter(const OpenFileRequest& request) {
  std::string patterns = request.filterPattern.empty() ? "*" : request.filterPattern;
  for (char& c : patterns) {
    if (c == ';') c = ' ';
  }
  const std::string tail = "(" + request.filterPattern + ")";
  const std::string& text = request.filterText;
  if (!request.filterPattern.empty() && text.size() >= tail.size() &&
      text.compare(text.size() - tail.size(), tail.size(), tail) == 0) {
    return text.substr(0, text.size() - tail.size()) + "(" + patterns + ")";
  }
  return text + " (" + patterns + ")";
}

void SetOpenFileDialogHook(OpenFileDialogHook hook) {
  Hook() = std::move(hook);
}

bool ShowOpenFileDialog(const OpenFileRequest& request, std::string& chosenPath) {
  if (Hook()) return Hook()(request, chosenPath);
  CWindowWnd* owner = CWindowWnd::FromHandle(request.owner);
  const QString filter = ToQ(DialogNameFilter(request));
  const QString path = QFileDialog::getOpenFileName(owner != nullptr ? owner->GetWidget() : nullptr,
                                                    ToQ(request.title), QString(), filter);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  chosenPath = path.toStdString();
  return true;
}

std::string WithPatternExtension(const std::string& path, const std::string& pattern) {
  const std::size_t dot = pattern.rfind('.');
  if (dot == std::string::npos || dot + 1 == pattern.size() ||
      pattern.find_first_of("*?", dot) != std::string::npos) {
    return path;
  }
  const std::string name = korvane::SplitPath(path).fileName;
  if (name.find('.') != std::string::npos || name.empty()) return path;
  return path + pattern.substr(dot);
}

void SetSaveFileDialogHook(SaveFileDialogHook hook) {
  SaveHook() = std::move(hook);
}

bool ShowSaveFileDialog(const SaveFileRequest& request, SaveFileChoice& choice) {
  if (SaveHook()) return SaveHook()(request, choice);
  QStringList filters;
  for (const SaveFileFilter& filter : request.filters) {
    filters << ToQ(DialogNameFilter(OpenFileRequest{0, {}, filter.text, filter.pattern}));
  }
  CWindowWnd* owner = CWindowWnd::FromHandle(request.owner);
  QString selected = filters.isEmpty() ? QString() : filters.front();
  const QString path = QFileDialog::getSaveFileName(owner != nullptr ? owner->GetWidget() : nullptr,
                                                    ToQ(request.title), ToQ(request.suggestedPath),
                                                    filters.join(";;"), &selected);
  if (path.isEmpty()) return false;
  choice.filter = std::max(0, static_cast<int>(filters.indexOf(selected)));
  const std::string pattern =
      request.filters.empty() ? std::string()
                              : request.filters[static_cast<std::size_t>(choice.filter)].pattern;
  choice.path = WithPatternExtension(path.toStdString(), pattern);
  return true;
}

}  // namespace DuiLib
