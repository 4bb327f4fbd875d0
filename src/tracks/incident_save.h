// CIncidentSave: the window's save of a stretch, RunSave on a thread of its own so the window
// stays usable. The thread posts the share done to the window as it grows and a message at the
// end; a cancel, or the destruction (the window closing), stops ffmpeg and leaves no file.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "export/save_job.h"
#include "platform/window_message.h"
#include "settings/application_context.h"

namespace korvane {

struct IncidentSaveSetup {
  std::string indexPath;    // the index database the clips' points come from
  std::string indexerPath;  // reads the clips the index lacks or holds stale
  std::string dataFolder;   // imports and clock offsets
  WindowHandle notifyWindow = 0;
  std::uint32_t progressMessage = 0;  // wParam: percent done, 0..100, each value once
  std::uint32_t doneMessage = 0;      // the outcome is ready
};

// The GPS panel's captions in the context's interface language, for a stamped copy; a caption
// the language file lacks stays empty, as the panel shows it.
StampCaptions ReadStampCaptions(const ApplicationContext& context);

class CIncidentSave {
 public:
  explicit CIncidentSave(IncidentSaveSetup setup) : setup_(std::move(setup)) {}
  ~CIncidentSave();
  CIncidentSave(const CIncidentSave&) = delete;
  CIncidentSave& operator=(const CIncidentSave&) = delete;

  // Starts saving `request` (its cancel and progress are the job's own); false while a save runs
  // or no thread can be had.
  bool Start(SaveRequest request);
  // Asks the running save to stop; its done message follows.
  void Cancel() { cancel_ = true; }
  bool running() const { return running_; }
  // What the finished save gave (after the done message).
  SaveResult outcome();

 private:
  IncidentSaveSetup setup_;
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> running_{false};
  std::mutex mutex_;
  SaveResult outcome_;
};

}  // namespace korvane
