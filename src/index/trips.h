// Trips: the drives a card's clips make up. The moments of one camera form a trip while each
// one's first camera time is at most kTripGapSeconds after the previous one's last; a moment
// counts once, however many channels (front, rear, cabin files) it has. Pure rules on the index's
// summaries, no I/O.
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

// True when the summary has points with a real camera date: the clip can be in a trip.
bool HasTripTelemetry(const ClipSummary& clip);

// One summary per moment (MomentOf, index/clip_channels.h), in the order of each moment's first
// clip: the one of the channel that has telemetry, the front when several have, else the moment's
// first clip as given.
std::vector<ClipSummary> OnePerMoment(std::vector<ClipSummary> clips);

// A trip counts each moment once: a clip that starts before the end of the clips before it (a
// camera that keeps an event copy of a stretch) adds only its part after that end, to the time
// from first to last and to the distance alike. The summaries hold no distance by time, so the
// part's distance is the clip's in proportion to the part's share of the clip's time.
struct Trip {
  std::string camera;              // MomentOf's camera of its clips
  std::vector<ClipSummary> clips;  // in camera-time order
  std::int64_t firstCameraTime = 0;
  std::int64_t lastCameraTime = 0;
  double distanceM = 0.0;  // counted once, as above; a distance that is not finite adds nothing
};

// The clips' first and last camera times corrected by the camera clock offset of each one's
// folder, where they come from the camera's clock (a source whose traits say so); a clip with no
// time (both 0) keeps none.
void ApplyClockOffsets(std::span<ClipSummary> clips, const ClockOffsets& offsets);

// The trips of the clips, ordered by first camera time (then camera), each moment taken once
// (OnePerMoment). Clips without telemetry (no valid point, or no point with a real camera date)
// are in no trip. Equal or out-of-order
// camera times are fine: clips sort by first camera time, then path, and a clip that starts before
// the trip's last time so far joins it.
std::vector<Trip> GroupTrips(std::vector<ClipSummary> clips);

}  // namespace korvane
