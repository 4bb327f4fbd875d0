#include "settings/localization.h"

#include "platform/profile_file.h"

namespace korvane {

void RebuildLanguagePath(ApplicationContext& context) {
  context.languagePath = context.programFolder + kLanguageFolder + context.settings.languageFile;
}

std::string ReadLanguageText(const ApplicationContext& context, std::string_view section,
                             std::string_view key) {
  return ReadProfileString(context.languagePath, section, key, "");
}

}  // namespace korvane
