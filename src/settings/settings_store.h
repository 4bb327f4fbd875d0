// Reads and writes of the settings file named by the context's settingsPath, and the start-up
// load of the settings record. Nothing here fails visibly: a missing or unreadable file gives the
// defaults, and a write that fails is ignored by every caller.
#pragma once
#include <string>
#include <string_view>

#include "settings/application_context.h"

namespace korvane {

// The value cut to 254 characters; `defaultValue` when the file or key is missing.
std::string ReadSettingString(const ApplicationContext& context, std::string_view section,
                              std::string_view key, std::string_view defaultValue);
// The value's leading decimal number ("abc" gives 0); `defaultValue` when missing or empty.
int ReadSettingInt(const ApplicationContext& context, std::string_view section,
                   std::string_view key, int defaultValue);
// Creates the file, section and key as needed. False when the write failed (callers ignore it).
bool WriteSettingString(const ApplicationContext& context, std::string_view section,
                        std::string_view key, std::string_view value);
// The value written as "%d".
bool WriteSettingInt(const ApplicationContext& context, std::string_view section,
                     std::string_view key, int value);

// Fills the context's settings record from the file and sets languagePath from languageFile.
// Nothing is validated: an empty "VO" loads as empty.
void LoadSettings(ApplicationContext& context);

}  // namespace korvane
