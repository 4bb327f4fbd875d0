// What ffmpeg is told to save a stretch: one concat list per channel, the argument list that joins
// them with the telemetry cues into one MP4 (streams copied, never re-encoded), the comment tag
// with the true start, and the name of the saved file. Pure, no I/O.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/stretch_plan.h"

namespace korvane {

// ffmpeg's concat list (ffconcat 1.0) of a channel's pieces: in and out points in seconds, and a
// piece followed by a gap lasts until the next piece, so the gap stays a gap in the timeline.
std::string ConcatList(const ChannelPlan& channel);

struct SaveFiles {
  std::vector<std::string> concatLists;  // one per plan channel, in the plan's order
  std::string cuesPath;                  // SubRip cues (saved_track.h); empty: no track
  bool mainHasAudio = false;
  bool audioToAac = false;  // the main channel's sound is one MP4 cannot hold (PCM)
  std::string outputPath;   // written as MP4 whatever its extension (the temporary name)
};

// The arguments after the program's name: each channel a concat input placed at its first
// piece's time, the main one's video first, its sound, the cues as a mov_text track, the comment.
// An empty list when the files do not match the plan.
std::vector<std::string> SaveArguments(const StretchPlan& plan, const SaveFiles& files);

// "Saved by KORVANE: camera time 2026-05-18 08:30:07.250 to 08:30:37.250; no picture 00:00:28 to
// 00:00:31 (F)": the true start, and every gap of every channel.
std::string SaveComment(const StretchPlan& plan);

// `folder`/"2026-05-18 08-30-07 incident.mp4", or with " 2", " 3" … before the extension while
// `taken` says the MP4 or the GPX of that name exists. Empty when a thousand names are taken.
std::string SavedFileName(const std::string& folder, std::int64_t fromCameraMs,
                          const std::function<bool(const std::string&)>& taken);

// The GPX beside a saved MP4: the same name with ".gpx" in place of the extension.
std::string BesideGpx(const std::string& mp4Path);

}  // namespace korvane
