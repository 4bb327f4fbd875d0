// The telemetry line parser (full form for the track, live form for the current moment) and the
// live-line worker: one thread that parses the newest submitted line and tells the main window.
// Owns its record, the date-time text, the live buffers and the worker thread.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/auto_reset_event.h"
#include "platform/window_message.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

constexpr std::size_t kDateTimeLength = 19;
constexpr std::size_t kLiveLineSize = 128;  // a live line holds at most 127 characters and a NUL

class CTelemetryParser {
 public:
  CTelemetryParser() = default;
  // Stops the live worker if it runs (see StopLiveWorker).
  ~CTelemetryParser();
  CTelemetryParser(const CTelemetryParser&) = delete;
  CTelemetryParser& operator=(const CTelemetryParser&) = delete;

  // Parses a NUL-terminated line in the full form into the record and sets `valid` to the result.
  // False for a null pointer or any malformed line; the record may then be partly overwritten.
  bool ParseFull(const char* line);
  // Parses the live form (date, position, speed; never the accelerations) and stores the result in
  // liveValid(); `valid` is left alone. False for a null pointer or a malformed line.
  bool ParseLive(const char* line);

  // Never cleared between lines: a field a line does not carry keeps its last value.
  const TelemetryRecord& record() const { return record_; }
  // The 19 date-time characters of the last line that got that far, NUL-terminated.
  const char* dateTimeText() const { return dateTimeText_; }
  bool liveValid() const { return liveValid_; }

  // Starts the live worker, which sends WM_TELEMETRY_LIVE to `notifyWindow` after each parse.
  // False when it already runs or the thread cannot be started.
  bool StartLiveWorker(WindowHandle notifyWindow);
  // Ends the worker and waits for it. A worker inside SendWindowMessage is released by the
  // dispatcher when the window is being destroyed, so calling this after the window has gone
  // cannot hang. Harmless when the worker does not run.
  void StopLiveWorker();
  bool LiveWorkerRunning() const { return worker_.joinable(); }

  // Hands a line to the worker and wakes it; returns at once, from any thread. A line waiting from
  // before is replaced. Longer lines are cut to 127 characters; a null pointer counts as "".
  void SubmitLiveLine(const char* line, std::uint32_t value);
  void SubmitLiveLine(std::string_view line, std::uint32_t value);

 private:
  bool ParseLine(const char* line, bool full);
  void LiveWorkerLoop();

  char dateTimeText_[kDateTimeLength + 1] = {};
  TelemetryRecord record_;
  char lineBuffer_[kLiveLineSize] = {};  // only the worker touches it
  bool liveValid_ = false;

  std::mutex handOverLock_;  // guards handOver_ and handOverValue_
  char handOver_[kLiveLineSize] = {};
  std::uint32_t handOverValue_ = 0;
  AutoResetEvent lineReady_;

  std::thread worker_;
  std::atomic<bool> stopping_{false};
  WindowHandle notifyWindow_ = 0;
};

}  // namespace korvane
