// What the track builder reads and touches of the extraction pipeline that calls it: the run state,
// the 64 line slots of the current batch, the pipeline's own parser, and its notifications.
// The extraction pipeline implements it; tests implement it with a plain struct.
#pragma once
#include <cstdint>

#include "platform/window_message.h"

namespace korvane {

class CTelemetryParser;

enum class PipelineState : std::int32_t { Idle = 0, Stopping = 1, Starting = 2, Running = 3 };

constexpr int kLineSlotCount = 64;
constexpr int kLineSlotSize = 128;  // one kept line of at most 127 bytes and a NUL

constexpr WPARAM kExtractorQuitFailed = 512;
constexpr WPARAM kExtractorChunkReady = 516;
constexpr WPARAM kExtractorFirstChunkOrNothing = 518;
// The run read the extractor's output to its end: the track is complete. The last 516 cannot say
// so, and a track of a multiple of 64 kept lines gets no partial batch that would mark its end.
constexpr WPARAM kExtractorTrackComplete = 520;

class IPipelineLines {
 public:
  virtual ~IPipelineLines() = default;
  virtual PipelineState state() const = 0;
  // Lines held in the current batch (0..64).
  virtual std::int32_t lineCount() const = 0;
  // Slot `index` (0..63): kLineSlotSize bytes, possibly starting with NUL bytes.
  virtual const char* lineSlot(std::int32_t index) const = 0;
  virtual CTelemetryParser& parser() = 0;
  virtual void clearStopRequested() = 0;
  // Posts WM_EXTRACTOR_NOTIFY with this wParam and lParam 0 to the notification window, if one is
  // set.
  virtual void notify(WPARAM code) = 0;
};

}  // namespace korvane
