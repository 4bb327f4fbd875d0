// One saved stretch from clips to an MP4 and the GPX beside it: the clips' times and points
// (through CClipPoints), the plan, ffprobe's look at the clips, and ffmpeg joining them in a child
// process. Both files appear whole or not at all; a failure or a cancel leaves neither. A stamped
// copy that fails alone leaves the two and is named in the result (stampedFailure).
#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "export/camera_time_zone.h"
#include "export/clip_points.h"
#include "export/stamp_track.h"
#include "export/stretch_plan.h"
#include "platform/write_failure.h"
#include "telemetry/clock_offset.h"

namespace korvane {

struct SaveRequest {
  std::vector<std::string> clips;  // absolute paths: every channel's clips around the stretch
  StretchTime from;
  StretchTime to;
  std::string outputPath;  // the MP4; the GPX goes beside it (BesideGpx)
  // With no outputPath: the folder (made when missing) where the MP4 is named after the stretch's
  // true start (SavedFileName), never over a file that exists.
  std::string outputFolder;
  std::string ffmpegProgram;
  std::string ffprobeProgram;
  CameraTimeZone zone;
  ClockOffsets clockOffsets;
  // Also "… stamped.mp4" (StampedBeside): the main picture re-encoded with the panel's lines in
  // these captions and unit burned in. A cancel leaves none of the three files; a copy that
  // fails alone leaves the other two.
  bool stamped = false;
  StampCaptions stampCaptions;
  SpeedUnit speedUnit = SpeedUnit::Kmh;
  const std::atomic<bool>* cancel = nullptr;  // set from any thread: the save stops soon
  std::function<void(double done)> progress;  // 0..1, from the saving thread
};

struct SaveResult {
  std::string
      error;  // empty on success: one English line for the log saying why nothing was written
  SaveFailure failure = SaveFailure::None;  // the cause the window names (not set on a cancel)
  // With SaveFailure::NotWritten as `failure` or as `stampedFailure`: from the errno.
  WriteFailure writeFailure = WriteFailure::Other;
  std::string clip;  // the file name of the clip the failure is about, if it is about one
  bool cancelled = false;
  std::string mp4Path;
  std::string gpxPath;
  std::string stampedPath;  // with a stamped copy
  // The MP4 and GPX are saved but the stamped copy is not: why (Other: ffmpeg's failure, or
  // NotWritten), and the English line for the log. None when it was made or not asked for.
  SaveFailure stampedFailure = SaveFailure::None;
  std::string stampedError;
  std::string comment;  // the saved file's comment tag: the true start
};

// The folders that hold the channels of the moments of `folder`'s clips: `folder` itself and,
// when it is named for a channel ("Normal/Front"), every sibling named for one ("Normal/Back"),
// in name order. Just `folder` when its parent cannot be listed.
std::vector<std::string> MomentFolders(const std::string& folder);

// The ffprobe that comes with `ffmpegProgram` (beside what it links to); the system's when that
// cannot be resolved.
std::string FfprobeBeside(const std::string& ffmpegProgram);

// Never throws. Fails, leaving no file, for a stretch PlanStretch refuses, a clip without video or
// that ffprobe cannot read, an output folder that cannot be written or fills up, a cancel. A
// stamped copy that fails keeps the saved file: a success with stampedFailure set.
SaveResult RunSave(const SaveRequest& request, CClipPoints& source);

}  // namespace korvane
