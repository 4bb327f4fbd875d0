// Settings and language files in the private-profile (INI) format: the stand-in for
// GetPrivateProfileString, GetPrivateProfileInt and WritePrivateProfileString on UTF-8 files.
// No call ever fails visibly: a missing or unreadable file reads as empty.
#pragma once
#include <string>
#include <string_view>

namespace korvane {

// The value cut to 254 characters, or `defaultValue` when the file, section or key is missing.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// The leading decimal integer of the value ("abc" gives 0, "-5x" gives -5), or `defaultValue`
// when the file, section or key is missing or the value is empty.
int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int defaultValue);

// Sets the key, creating the file, section or key as needed and leaving every other line as it
// was. The file is replaced in one step (a crash never leaves half a file). False when the file
// cannot be written (missing folder, read-only place) or the section or key cannot be written.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace korvane
