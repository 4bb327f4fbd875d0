// The window's export: what the save dialog offers, and CTrackExport, which runs the chosen
// export as "korvane --export" in a process of its own (the headless command: one export code,
// and a clip that brings the reading down takes no window with it). A thread waits for the
// process and posts `doneMessage` to the window; destruction kills a running export, whose indexer
// ends with it.
#pragma once
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "export/export_format.h"
#include "platform/process.h"
#include "platform/window_message.h"

namespace korvane {

struct ExportTarget {
  ExportFormat format = ExportFormat::Gpx;
  bool wholeFolder = false;  // the clip's folder, one track per trip; else the clip
};

// The kinds the save dialog offers, in its order: GPX, KML and CSV of the clip, then of its folder.
inline constexpr int kExportTargetCount = 6;
// Filter `index` of that list; the first one for an index out of range.
ExportTarget ExportTargetAt(int index);

// The output offered first: beside the clip, named after it (or after its folder) with the
// format's extension.
std::string SuggestedExportPath(const ExportTarget& target, const std::string& clipPath);
// The arguments after the program: --export FORMAT INPUT OUTPUT.
std::vector<std::string> ExportArguments(const ExportTarget& target, const std::string& clipPath,
                                         const std::string& outputPath);

struct ExportOutcome {
  int exitCode = -1;
  std::string output;   // the file asked for
  std::string message;  // the failure line the export printed; empty on success
};

class CTrackExport {
 public:
  CTrackExport(std::string program, WindowHandle notifyWindow, std::uint32_t doneMessage);
  ~CTrackExport();
  CTrackExport(const CTrackExport&) = delete;
  CTrackExport& operator=(const CTrackExport&) = delete;

  // Starts the export; false while another one runs or when the program cannot be started.
  bool Start(const std::vector<std::string>& args, const std::string& outputPath);
  // What the finished export gave (after the done message).
  ExportOutcome outcome();

 private:
  void Wait();

  std::string program_;
  WindowHandle notifyWindow_;
  std::uint32_t doneMessage_;
  ChildProcess process_;
  std::thread waiter_;
  std::mutex mutex_;
  bool running_ = false;
  ExportOutcome outcome_;
};

}  // namespace korvane
