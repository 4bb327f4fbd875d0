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

std::string ReadLanguageTextOrEnglish(const ApplicationContext& context, std::string_view section,
                                      std::string_view key) {
  std::string text = ReadLanguageText(context, section, key);
  if (!text.empty()) return text;
  return ReadProfileString(context.programFolder + kLanguageFolder + kFallbackLanguageFile, section,
                           key, "");
}

std::string WriteFailureText(const ApplicationContext& context, WriteFailure failure) {
  const char* key = "IDS_WRITEFAILED";
  switch (failure) {
    case WriteFailure::DiskFull:
      key = "IDS_DISKFULL";
      break;
    case WriteFailure::NotAllowed:
      key = "IDS_WRITENOTALLOWED";
      break;
    case WriteFailure::Other:
      break;
  }
  return ReadLanguageTextOrEnglish(context, kMainInterfaceSection, key);
}

}  // namespace korvane
