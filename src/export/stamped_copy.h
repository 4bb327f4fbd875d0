// The stamped copy of a saved stretch: ffmpeg's arguments that re-encode the saved file's main
// picture with the stamp (stamp_track.h) burned in and the other channels as small pictures in the
// top right corner, and the copy's name beside the saved file. Pure, no I/O.
#pragma once
#include <string>
#include <vector>

namespace korvane {

struct StampedFiles {
  std::string savedPath;   // the lossless file, whole: every channel's video (main first), sound
  std::string stampPath;   // the ASS script
  int channels = 1;        // video streams in the saved file
  int width = 0;           // of the main picture; 0 when unknown (small pictures 480 wide)
  bool hasAudio = false;   // the saved file's sound fits an MP4 already: copied
  std::string outputPath;  // written as MP4 whatever its extension (the temporary name)
};

// The share of a stamped save's progress the lossless file takes: copying is quick, encoding not.
inline constexpr double kLosslessShare = 0.1;

// The arguments after the program's name: libx264 (superfast, CRF 23) of the filtered main
// picture, the sound and the telemetry track copied. Empty when a path is missing or there is no
// channel.
std::vector<std::string> StampedArguments(const StampedFiles& files);

// "… incident stamped.mp4" for "… incident.mp4" (or for its ".gpx"): " stamped.mp4" in place of
// the extension.
std::string StampedBeside(const std::string& mp4Path);

// A path as a filter's option value inside a filter graph: escaped for the option, then for the
// graph, so colons, quotes, commas and brackets in a folder's name stay part of the path.
std::string FilterGraphPath(const std::string& path);

}  // namespace korvane
