// Files from the user: the open-file and save-file dialogs and the file list of a drop
// (WM_DROPFILES).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "framework/ui_defs.h"

namespace DuiLib {

// The dropped paths a WM_DROPFILES message carries in wParam (as HDROP). The framework frees it
// after HandleMessage returns; DragFinish is accepted for callers written that way.
struct DropFiles {
  std::vector<std::string> paths;
};
using HDROP = DropFiles*;
// Number of paths; 0 for null.
UINT DragQueryFileCount(HDROP drop);
// The index-th path; empty for null or an index out of range.
std::string DragQueryFilePath(HDROP drop, UINT index);
inline void DragFinish(HDROP) {}

struct OpenFileRequest {
  WindowHandle owner = 0;
  std::string title;
  std::string filterText;     // shown to the user, e.g. "Video files(*.mp4)"
  std::string filterPattern;  // e.g. "*.mp4" or "*.mp4;*.avi"
};

// Shows the open-file dialog; true and the chosen path when the user picked an existing file,
// false when cancelled.
bool ShowOpenFileDialog(const OpenFileRequest& request, std::string& chosenPath);
// The filter in the Windows form: display text, NUL, pattern, NUL, NUL. A buffer without a NUL
// is taken as a display text with pattern "*".
OpenFileRequest ParseOpenFilter(const char* buffer, std::size_t size);
// The dialog's name filter "text (patterns)": ';' between patterns becomes a space, and a text
// that already ends with its patterns in parentheses (the Windows habit) is used as it stands.
std::string DialogNameFilter(const OpenFileRequest& request);

// Tests replace the dialog; an empty function restores the real one.
using OpenFileDialogHook = std::function<bool(const OpenFileRequest&, std::string&)>;
void SetOpenFileDialogHook(OpenFileDialogHook hook);

// The save dialog: one filter per kind of file offered; the user's choice of filter says which.
struct SaveFileFilter {
  std::string text;     // e.g. "GPX 1.1, this clip"
  std::string pattern;  // e.g. "*.gpx"
};
struct SaveFileRequest {
  WindowHandle owner = 0;
  std::string title;
  std::string suggestedPath;  // folder and name offered first; may be a folder only
  std::vector<SaveFileFilter> filters;
};
struct SaveFileChoice {
  std::string path;
  int filter = 0;  // index into the request's filters
};

// Shows the save dialog, which asks before replacing a file. True with the path (the chosen
// filter's extension added when the name has none) and the filter chosen; false when cancelled.
bool ShowSaveFileDialog(const SaveFileRequest& request, SaveFileChoice& choice);
// `path` with the extension of `pattern` ("*.gpx") added when its file name has no extension;
// unchanged for a pattern without one ("*").
std::string WithPatternExtension(const std::string& path, const std::string& pattern);

// Tests replace the dialog; an empty function restores the real one.
using SaveFileDialogHook = std::function<bool(const SaveFileRequest&, SaveFileChoice&)>;
void SetSaveFileDialogHook(SaveFileDialogHook hook);

}  // namespace DuiLib
