#include "tracks/incident_save.h"

#include <system_error>
#include <utility>

#include "settings/localization.h"
#include "tracks/clip_track.h"

namespace korvane {

StampCaptions ReadStampCaptions(const ApplicationContext& context) {
  const auto read = [&context](const char* key) {
    return ReadLanguageText(context, kMainInterfaceSection, key);
  };
  return {read("IDS_TIME"), read("IDS_SPEED"),  read("IDS_LAT"),
          read("IDS_LNG"),  read("IDS_STATUS"), read("IDS_NOGPS")};
}

CIncidentSave::~CIncidentSave() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool CIncidentSave::Start(SaveRequest request) {
  if (running_) return false;
  if (worker_.joinable()) worker_.join();
  cancel_ = false;
  running_ = true;
  request.cancel = &cancel_;
  const IncidentSaveSetup setup = setup_;
  try {
    worker_ = std::thread([this, setup, request = std::move(request)]() mutable {
      int shown = -1;
      request.progress = [&shown, &setup](double done) {
        const int percent = static_cast<int>(done * 100);
        if (percent == shown) return;
        shown = percent;
        PostWindowMessage(setup.notifyWindow, setup.progressMessage, static_cast<WPARAM>(percent),
                          0);
      };
      CClipTracks clipTracks(setup.indexPath, setup.dataFolder, request.zone);
      CClipPoints source = ClipPointsOf(setup.indexPath, setup.indexerPath, clipTracks);
      SaveResult result = RunSave(request, source);
      {
        std::lock_guard lock(mutex_);
        outcome_ = std::move(result);
      }
      running_ = false;
      PostWindowMessage(setup.notifyWindow, setup.doneMessage, 0, 0);
    });
  } catch (const std::system_error&) {
    running_ = false;
    return false;
  }
  return true;
}

SaveResult CIncidentSave::outcome() {
  std::lock_guard lock(mutex_);
  return outcome_;
}

}  // namespace korvane
