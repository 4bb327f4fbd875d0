#include "ui/save_notice.h"

#include "settings/localization.h"

namespace korvane {

const char* SaveFailureKey(SaveFailure failure) {
  switch (failure) {
    case SaveFailure::NoLength:
      return "IDS_SAVENOLENGTH";
    case SaveFailure::Reversed:
      return "IDS_SAVEREVERSED";
    case SaveFailure::BeyondClips:
      return "IDS_SAVEBEYONDCLIPS";
    case SaveFailure::AcrossTrips:
      return "IDS_SAVETWOTRIPS";
    case SaveFailure::NoVideo:
      return "IDS_SAVENOVIDEO";
    case SaveFailure::Unreadable:
      return "IDS_SAVEUNREADABLE";
    case SaveFailure::ClipVanished:
      return "IDS_SAVEVANISHED";
    case SaveFailure::Other:
      return "IDS_SAVEJOINFAILED";
    case SaveFailure::None:
    case SaveFailure::NotWritten:
      break;
  }
  return nullptr;
}

std::string SaveOutcomeText(const ApplicationContext& context, const SaveResult& result) {
  const auto text = [&context](const char* key) {
    return ReadLanguageTextOrEnglish(context, kMainInterfaceSection, key);
  };
  if (result.cancelled) return text("IDS_SAVECANCELLED");
  if (result.error.empty()) {
    std::string line = text("IDS_SAVED") + " " + result.mp4Path +
                       (result.stampedPath.empty() ? "" : ", " + result.stampedPath);
    // Kept, but without the copy: ffmpeg's own words mean nothing to the user, a full disk does.
    if (result.stampedFailure != SaveFailure::None) {
      line += "; " + text("IDS_STAMPEDFAILED");
      if (result.stampedFailure == SaveFailure::NotWritten) {
        line += ": " + WriteFailureText(context, result.writeFailure);
      }
    }
    return line;
  }
  const char* key = SaveFailureKey(result.failure);
  std::string line = text("IDS_SAVEFAILED") + " " +
                     (key != nullptr ? text(key) : WriteFailureText(context, result.writeFailure));
  if (!result.clip.empty()) line += ": " + result.clip;
  return line;
}

}  // namespace korvane
