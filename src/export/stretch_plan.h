// The plan of a saved stretch: from the clips of a card (every channel) and [from, to] on the
// camera clock, the pieces of each channel with their in and out points and where they sit in the
// stretch. Pure rules, no I/O; the shell turns a plan into ffmpeg's concat lists.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "index/clip_channels.h"

namespace korvane {

// Why a stretch was not saved, in causes the window names in its own language; the English line
// beside it goes to the log.
enum class SaveFailure {
  None,
  NoLength,     // it ends where it starts
  Reversed,     // it ends before it starts
  BeyondClips,  // no clip covers it, or a clip it names has no camera time
  AcrossTrips,
  NoVideo,       // a clip of it has no video stream
  Unreadable,    // a clip of it cannot be read (a broken moov, say)
  ClipVanished,  // a clip of it went away while it was being saved
  NotWritten,    // the output cannot be written: the write's own cause says why
  Other,         // ffmpeg failed for a reason of its own
};

struct StretchClip {
  std::string path;
  std::int64_t startMs = 0;     // camera time of its first frame, ms since 1970 (offset applied)
  std::int64_t durationMs = 0;  // a clip of no length is never used
  CameraChannel channel = CameraChannel::Front;
  int trip = 0;  // the trip it belongs to (trips.h); a stretch stays inside one
};

struct StretchPiece {
  std::string path;
  std::int64_t inMs = 0;   // in the clip
  std::int64_t outMs = 0;  // in the clip, after inMs
  std::int64_t atMs = 0;   // where inMs sits in the stretch
};

struct StretchGap {
  std::int64_t atMs = 0;  // in the stretch
  std::int64_t lengthMs = 0;
};

struct ChannelPlan {
  CameraChannel channel = CameraChannel::Front;
  std::vector<StretchPiece> pieces;  // in time order, never overlapping
  std::vector<StretchGap> gaps;      // the time between its pieces that no clip covers
};

struct StretchPlan {
  std::string error;  // empty when the plan can be saved: else one line saying why not
  SaveFailure failure = SaveFailure::None;
  std::int64_t fromMs = 0;  // the stretch as saved: [from, to] cut to what the main channel covers
  std::int64_t toMs = 0;
  std::vector<ChannelPlan> channels;  // the main channel (the front where there is one) first
};

// The plan for [fromMs, toMs]. A clip that starts inside the part already covered (an event copy
// of the same moments) adds only its part after what came before. Errors: a stretch of no length
// or reversed, one that no clip of the main channel touches, one across clips of two trips.
StretchPlan PlanStretch(std::span<const StretchClip> clips, std::int64_t fromMs, std::int64_t toMs);

// A point of a stretch as the command line names it: a camera time ("2026-05-18T08:30:07") or an
// offset into a clip ("CLIP@00:00:42", "CLIP@42.5"). nullopt for anything else.
struct StretchTime {
  std::string clip;          // empty for a camera time
  std::int64_t valueMs = 0;  // camera ms since 1970, or ms into `clip`
};
std::optional<StretchTime> ParseStretchTime(std::string_view text);

}  // namespace korvane
