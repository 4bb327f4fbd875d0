// The stamp burned into a saved stretch's copy: the GPS panel's lines (its captions, its value
// texts, the user's speed unit) for each telemetry point, timed from the stretch's start, and the
// ASS subtitle file ffmpeg's `ass` filter draws them from. Pure, no I/O.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "export/saved_track.h"
#include "settings/settings.h"

namespace korvane {

// The panel's captions as the interface language's file has them (section Main_Interface).
struct StampCaptions {
  std::string time = "Time:";  // IDS_TIME
  std::string speed = "Speed: ";
  std::string latitude = "Latitude: ";
  std::string longitude = "Longitude: ";
  std::string status = "GPS:";      // IDS_STATUS
  std::string noFix = "No signal";  // IDS_NOGPS
};

// Two rows as the panel composes its labels: "Time: 2026-05-18 08:30:07   Speed:  42.0 km/h" and
// "Latitude:  N 37°30'12.30"   Longitude:  E 127°1'23.46"   G X +0.01  Y -0.02  Z +1.00" (no G
// part for a point without readings). Rows are parted by '\n'.
std::string StampText(const SavedPoint& point, const StampCaptions& captions, SpeedUnit unit);

// "Time: 2026-05-18 08:30:09   GPS: No signal": a moment no position covers, as the panel's
// status reads without a fix.
std::string NoFixStampText(std::int64_t cameraMs, const StampCaptions& captions);

struct StampCue {
  std::int64_t startMs = 0;  // in the stretch
  std::int64_t endMs = 0;    // after startMs
  std::string text;
};

// The stamp over [0, lengthMs): each point (in stretchMs order; others are left out) shows from
// its time until the next one, but no longer than one and a half of the points' usual spacing, so
// a lost fix never freezes the picture's clock. Time no point covers gets a no-fix line for each
// second of the camera clock, which runs on from the nearest point (from `fromCameraMs` when there
// is none). Nothing for a length of 0 or less.
std::vector<StampCue> StampCues(std::span<const SavedPoint> points, std::int64_t fromCameraMs,
                                std::int64_t lengthMs, const StampCaptions& captions,
                                SpeedUnit unit);

// The font the stamp is drawn in: it has the CJK glyphs every interface language needs.
inline constexpr char kStampFont[] = "Noto Sans CJK JP";

// The cues as an ASS script for a picture of `width` x `height` (a 16:9 1080p one when either is
// 0 or less): bottom left, white on a half-dark box, sized to the picture's height.
std::string StampSubtitles(std::span<const StampCue> cues, int width, int height);

}  // namespace korvane
