// Interface texts: the nine language files with their display names, the language file's path,
// and the read of one text from it.
#pragma once
#include <array>
#include <string>
#include <string_view>

#include "platform/write_failure.h"
#include "settings/application_context.h"

namespace korvane {

inline constexpr char kMainInterfaceSection[] = "Main_Interface";
inline constexpr char kSnapshotInterfaceSection[] = "Snapshot_Interface";
// The map page's texts; every key of it falls back to English (ReadLanguageTextOrEnglish).
inline constexpr char kMapInterfaceSection[] = "Map_Interface";
// The driving events' texts (settings, marks, jump buttons); every key falls back to English.
inline constexpr char kEventInterfaceSection[] = "Event_Interface";
// The trips window's texts; every key falls back to English.
inline constexpr char kTripInterfaceSection[] = "Trip_Interface";
// Where the language files lie, relative to the program folder.
inline constexpr char kLanguageFolder[] = "conf/sysconfig/";

struct LanguageEntry {
  const char* file;
  const char* displayName;  // as the settings window lists it, with its leading space
};

// In the order the settings window lists them.
inline constexpr std::array<LanguageEntry, 9> kLanguages{{
    {"russian.ini", " русский"},
    {"english.ini", " English"},
    {"chinese.ini", " 中文简体"},
    {"big5chinese.ini", " 中文繁體"},
    {"french.ini", " français"},
    {"german.ini", " Deutsch"},
    {"japanese.ini", " 日本語"},
    {"portuguese.ini", " português"},
    {"spanish.ini", " Español"},
}};

// Sets the context's languagePath to programFolder + "conf/sysconfig/" + settings.languageFile. A
// file outside the list is used as it is; one that cannot be read gives empty texts.
void RebuildLanguagePath(ApplicationContext& context);

// The text cut to 254 characters; empty when the file, section or key is missing.
std::string ReadLanguageText(const ApplicationContext& context, std::string_view section,
                             std::string_view key);

// The English file, which every language file that lacks one of the newer keys falls back to.
inline constexpr char kFallbackLanguageFile[] = "english.ini";

// For keys added after the nine files were first written (the map page's texts, the snapshot
// stamp option): the current language's text, or when that file lacks the key or leaves it empty,
// the English file's. Empty only when both lack it. The older keys keep ReadLanguageText's rule of
// no fallback.
std::string ReadLanguageTextOrEnglish(const ApplicationContext& context, std::string_view section,
                                      std::string_view key);

// Why a write the user asked for failed, in the interface language ("the disk is full"); shown
// after what failed ("Export failed: the disk is full").
std::string WriteFailureText(const ApplicationContext& context, WriteFailure failure);

}  // namespace korvane
