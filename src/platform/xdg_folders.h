// The user's folders as the XDG base-directory and user-dirs conventions name them: the stand-in
// for the shell's documents folder and for the per-user runtime folder.
#pragma once
#include <string>
#include <string_view>

namespace korvane {

// The user's home folder ($HOME, else the password database), no trailing "/"; empty when
// neither gives one.
std::string HomeFolder();

// The documents folder as `xdg-user-dir DOCUMENTS` finds it: XDG_DOCUMENTS_DIR of
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else ~/Documents. No trailing "/"; empty
// without a home folder. Whether the folder exists is the caller's question.
std::string DocumentsFolder();

// XDG_DOCUMENTS_DIR from the text of a user-dirs.dirs file, with "$HOME" expanded to `home`;
// empty when the file does not set it or sets it to something that is not an absolute path.
std::string DocumentsFolderFromUserDirs(std::string_view fileText, const std::string& home);

// The user's data home: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share. No
// trailing "/"; empty without a home folder.
std::string DataHomeFolder();

// $XDG_RUNTIME_DIR when it is an absolute path to a folder this user may write, without a
// trailing "/"; else empty.
std::string UsableXdgRuntimeDir();

}  // namespace korvane
