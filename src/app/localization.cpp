#include "app/localization.h"

#include "platform/profile_file.h"

namespace korvane {

std::string LanguagePathFor(const std::string& programFolder, const std::string& languageFile) {
  return programFolder + kLanguageFolder + languageFile;
}

void RebuildLanguagePath(ApplicationContext& context) {
  context.languagePath = LanguagePathFor(context.programFolder, context.settings.languageFile);
}

std::string ReadLanguageText(const ApplicationContext& context, std::string_view section,
                             std::string_view key) {
  return ReadProfileString(context.languagePath, section, key, "");
}

}  // namespace korvane
