// Trips: the drives a card's clips make up. Clips of one camera channel form a trip while each
// one's first camera time is at most kTripGapSeconds after the previous one's last. Pure rules on
// the index's summaries, no I/O.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "index/index_point.h"
#include "telemetry/clock_offset.h"

namespace korvane {

inline constexpr std::int64_t kTripGapSeconds = 10;

// The clip's camera channel: its folder plus its file name with every digit removed, separators
// left side by side counting once, and the extension kept ("/card/20210105_101500_F.mp4" →
// "/card/_F.mp4"), so front and rear cameras, which overlap in time, make trips of their own.
std::string TripChannel(std::string_view clipPath);

// A trip counts each moment once: a clip that starts before the end of the clips before it (a
// camera that keeps an event copy of a stretch) adds only its part after that end, to the time
// from first to last and to the distance alike. The summaries hold no distance by time, so the
// part's distance is the clip's in proportion to the part's share of the clip's time.
struct Trip {
  std::string channel;
  std::vector<ClipSummary> clips;  // in camera-time order
  std::int64_t firstCameraTime = 0;
  std::int64_t lastCameraTime = 0;
  double distanceM = 0.0;  // counted once, as above; a distance that is not finite adds nothing
};

// The clips' first and last camera times corrected by the camera clock offset of each one's
// folder, where they come from the camera's clock (a source whose traits say so); a clip with no
// time (both 0) keeps none.
void ApplyClockOffsets(std::span<ClipSummary> clips, const ClockOffsets& offsets);

// The trips of the clips, ordered by first camera time (then channel). Clips without telemetry
// (no valid point, or no point with a real camera date) are in no trip. Equal or out-of-order
// camera times are fine: clips sort by first camera time, then path, and a clip that starts before
// the trip's last time so far joins it.
std::vector<Trip> GroupTrips(std::vector<ClipSummary> clips);

}  // namespace korvane
