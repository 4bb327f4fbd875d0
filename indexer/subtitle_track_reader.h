// Reads the cues of a clip's telemetry track in-process: the first subtitle stream in stream
// order, which is the track the player (-sid 0) and ffmpeg's automatic choice take. An MP4 is
// settled through the sample table when it can be; other files go to libavformat, loaded then.
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
// from the clip's start. mov_text samples are reduced to their text (MovTextCueText). An MP4
// without a subtitle track, or whose first one is timed text, never loads libavformat: the
// demuxer's start-up outweighs such a read. Such a clip whose sample table claims more entries
// than its boxes hold keeps the cues they hold (the demuxer refuses the file), with the error
// naming the tables. Never throws; a file that cannot be opened or read
// gives opened false or an error text.
SubtitleTrackRead ReadSubtitleTrack(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue);

// The same read through libavformat whatever the file: what ReadSubtitleTrack does with the files
// the sample table does not settle, and the answer its MP4 reading must agree with.
SubtitleTrackRead ReadSubtitleTrackWithDemuxer(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue);

}  // namespace korvane
