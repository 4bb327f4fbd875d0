// The process-wide values written once during start-up and read afterwards by every thread:
// folders, settings and language paths, the settings record, the main window and the track store.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "platform/window_message.h"
#include "settings/settings.h"

namespace korvane {

class CTrackStore;

struct ApplicationContext {
  // The executable's folder, ending in "/" (entry point).
  std::string programFolder;
  // The per-user data folder or the fallback "Screencut/", ending in "/" (PrepareDataFolder).
  std::string dataFolder;
  // The settings file (PrepareDataFolder).
  std::string settingsPath;
  // The current language file (LoadSettings; rebuilt after a language change).
  std::string languagePath;
  Settings settings;
  // Target of every message a worker posts or sends (the main window's start-up).
  WindowHandle mainWindowHandle = 0;
  // Published by the start-up worker once the store exists; null before.
  std::atomic<CTrackStore*> trackStore{nullptr};
  // Files named on the command line, as given (options left out).
  std::vector<std::string> commandLineFiles;
  // Where a second start hands its files to this run (entry point); empty when this run holds no
  // instance lock and so serves none.
  std::string handOverSocket;
};

}  // namespace korvane
