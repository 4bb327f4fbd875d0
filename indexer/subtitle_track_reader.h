// Reads the cues of a clip's telemetry track in-process with libavformat: the first subtitle
// stream in stream order, which is the track the player (-sid 0) and ffmpeg's automatic choice
// take. Every other stream is discarded before reading, so the demuxer skips their samples.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

struct SubtitleTrackRead {
  bool opened = false;          // the file was recognised as a media file
  bool hasSubtitle = false;     // it has a subtitle stream
  bool textSubtitle = false;    // ... and that stream carries text (not pictures)
  std::int64_t durationMs = 0;  // the container's duration; 0 when unknown
  int cues = 0;                 // cues handed to the callback
  std::string error;            // why reading stopped before the end; empty when it did not
};

// Calls onCue(mediaMs, text) for every non-empty cue of the track, in file order; mediaMs counts
// from the clip's start. mov_text samples are reduced to their text (MovTextCueText). Never
// throws; a file that cannot be opened or read gives opened false or an error text.
SubtitleTrackRead ReadSubtitleTrack(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue);

}  // namespace korvane
