#include "index/clip_events.h"

#include <cmath>

#include "index/event_detector.h"

namespace korvane {

namespace {
// The index keeps the threshold in thousandths of a G.
bool SameRules(const EventRules& a, const EventRules& b) {
  return std::llround(a.thresholdG * 1000) == std::llround(b.thresholdG * 1000) &&
         a.flipY == b.flipY;
}
}  // namespace

std::optional<std::vector<DriveEvent>> LoadClipEvents(CIndexReader& reader,
                                                      const std::string& clipPath,
                                                      const EventRules& rules) {
  const ClipSummary clip = reader.GetClip(clipPath);
  if (clip.status == ClipStatus::Unknown) return std::nullopt;
  if (clip.status != ClipStatus::Indexed || !clip.traits.gSensor) return std::vector<DriveEvent>{};
  if (SameRules(clip.eventRules, rules)) return reader.GetEvents(clipPath);
  return DetectEvents(reader.GetPoints(clipPath), rules);
}

}  // namespace korvane
