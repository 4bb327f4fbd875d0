#include "export/save_job.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <span>

#include "export/export_track.h"
#include "export/save_command.h"
#include "export/saved_track.h"
#include "export/stamped_copy.h"
#include "export/track_writers.h"
#include "index/clip_channels.h"
#include "index/trips.h"
#include "platform/path_parts.h"
#include "platform/process.h"
#include "platform/small_file.h"

namespace korvane {
namespace {

// What a child process wrote, bounded: a chatty one cannot fill the memory.
constexpr std::size_t kMaxChildOutput = 1 << 20;

// A failed save: its cause and the English line for the log.
SaveResult Failed(SaveFailure failure, std::string error) {
  SaveResult result;
  result.failure = failure;
  result.error = std::move(error);
  return result;
}

// A failure one clip of the stretch causes; the log line starts with its name.
SaveResult ClipFailed(SaveFailure failure, const std::string& path, const char* why) {
  SaveResult result = Failed(failure, SplitPath(path).fileName + why);
  result.clip = SplitPath(path).fileName;
  return result;
}

// A file of the output that cannot be written, with the errno the write left.
SaveResult NotWritten(const std::string& path, int error) {
  if (error == 0) error = EIO;
  SaveResult result =
      Failed(SaveFailure::NotWritten, "cannot write " + path + ": " + std::strerror(error));
  result.writeFailure = WriteFailureOf(error);
  return result;
}

SaveResult Cancelled() {
  SaveResult result;
  result.cancelled = true;
  result.error = "cancelled";
  return result;
}

bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

struct ChildRun {
  int exitCode = -1;
  bool cancelled = false;
  std::string output;
};

// An ffmpeg that ended because the output folder filled up (or hit a file-size limit).
std::optional<SaveResult> OutputFull(const ChildRun& run) {
  if (run.exitCode != 128 + SIGXFSZ && run.output.find("File too large") == std::string::npos &&
      run.output.find("No space left") == std::string::npos) {
    return std::nullopt;
  }
  SaveResult full = Failed(SaveFailure::NotWritten, "the output folder is full");
  full.writeFailure = WriteFailure::DiskFull;
  return full;
}

// Runs the program to its end, feeding each line it writes to `line`; killed on a cancel.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& args,
                  const std::atomic<bool>* cancel,
                  const std::function<void(const std::string&)>& line = {}) {
  ChildRun run;
  ChildProcess child;
  ProcessOptions options;
  options.program = program;
  options.args = args;
  options.pipeStdout = true;
  options.stderrToStdout = true;
  // Killed with the program, so an ffmpeg never goes on writing a save nobody waits for.
  options.endWithParent = true;
  if (const int error = child.Start(options); error != 0) {
    run.output = program + " cannot be started: " + std::strerror(error);
    return run;
  }
  std::string pending;
  char buffer[4096];
  for (;;) {
    if (cancel != nullptr && cancel->load()) {
      child.Kill();
      run.cancelled = true;
      return run;
    }
    if (!child.WaitStdoutReadable(100)) continue;
    const ssize_t got = child.ReadStdout(buffer, sizeof buffer);
    if (got <= 0) break;
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const std::string text = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (line) line(text);
      if (run.output.size() < kMaxChildOutput) run.output += text + '\n';
    }
  }
  child.WaitForExit(-1);
  run.exitCode = child.exitCode();
  return run;
}

// The last line a failed child wrote that is not a progress report, for the message.
std::string LastWords(const std::string& output) {
  std::string last;
  std::size_t start = 0;
  while (start < output.size()) {
    std::size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string text = output.substr(start, end - start);
    if (!text.empty() && text.find('=') == std::string::npos) last = text;
    start = end + 1;
  }
  return last;
}

// ": " and ffmpeg's last words, or nothing when it said none.
std::string Words(const ChildRun& run) {
  const std::string words = LastWords(run.output);
  return words.empty() ? "" : ": " + words;
}

struct ClipLook {
  bool readable = false;
  bool video = false;
  std::string audioCodec;  // of its first sound stream; empty without one
  std::int64_t durationMs = 0;
  int width = 0;  // of its first video stream; 0 when ffprobe did not say
  int height = 0;
};

ClipLook LookAt(const std::string& ffprobe, const std::string& clip,
                const std::atomic<bool>* cancel) {
  const ChildRun run = RunChild(
      ffprobe,
      {"-v", "error", "-show_entries", "stream=codec_type,codec_name,width,height:format=duration",
       "-of", "default=noprint_wrappers=1", "file:" + clip},
      cancel);
  ClipLook look;
  look.readable = run.exitCode == 0;
  std::string codec;
  std::string type;
  std::size_t start = 0;
  while (start < run.output.size()) {
    const std::size_t end = run.output.find('\n', start);
    const std::string text = run.output.substr(start, end - start);
    start = end == std::string::npos ? run.output.size() : end + 1;
    if (text.rfind("codec_name=", 0) == 0) codec = text.substr(11);
    if (text.rfind("codec_type=", 0) == 0) type = text.substr(11);
    if (text == "codec_type=video") look.video = true;
    // A stream's type comes before its size.
    if (type == "video" && text.rfind("width=", 0) == 0 && look.width == 0) {
      look.width = std::atoi(text.c_str() + 6);
    }
    if (type == "video" && text.rfind("height=", 0) == 0 && look.height == 0) {
      look.height = std::atoi(text.c_str() + 7);
    }
    if (text == "codec_type=audio" && look.audioCodec.empty()) look.audioCodec = codec;
    if (text.rfind("duration=", 0) == 0) {
      look.durationMs = static_cast<std::int64_t>(std::atof(text.c_str() + 9) * 1000.0 + 0.5);
    }
  }
  return look;
}

// A private folder for the concat lists and cues, gone with the object.
class CScratchFolder {
 public:
  CScratchFolder() {
    const char* base = getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/korvane-save-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
  }
  ~CScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  bool Write(const std::string& name, const std::string& text) const {
    std::ofstream out(path_ + name, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return !out.fail();
  }

 private:
  std::string path_;
};

// The camera clock reading of a point: the folder's offset on a camera's time, the zone on a
// receiver's UTC.
std::int64_t CameraMsOf(const IndexPoint& point, int offsetSeconds, const CameraTimeZone& zone) {
  if (point.timeMs == kNoTime) return kNoTime;
  if (!point.receiverTime) return point.timeMs + std::int64_t{offsetSeconds} * 1000;
  const std::int64_t seconds = point.seconds();
  return UtcToCameraTime(seconds, zone) * 1000 + (point.timeMs - seconds * 1000);
}

struct KnownClip {
  ClipSummary summary;
  std::vector<IndexPoint> points;
  int offsetSeconds = 0;
};

// The stamped copy of the whole saved file `saved` into `stamped`'s temporary file (opened);
// a result without error, or why not. `main` is the look at the main channel's first clip,
// whose picture the saved file copies.
SaveResult MakeStampedCopy(const SaveRequest& request, const std::string& saved,
                           const StretchPlan& plan, std::span<const SavedPoint> points,
                           const CScratchFolder& scratch, const ClipLook& main,
                           CFileReplacement& stamped) {
  const std::atomic<bool>* cancel = request.cancel;
  StampedFiles files;
  files.width = main.width;
  const int pictureHeight = main.height;
  const std::int64_t lengthMs = plan.toMs - plan.fromMs;
  const std::vector<StampCue> cues =
      StampCues(points, plan.fromMs, lengthMs, request.stampCaptions, request.speedUnit);
  if (!scratch.Write("stamp.ass", StampSubtitles(cues, files.width, pictureHeight))) {
    return Failed(SaveFailure::Other, "the temporary folder cannot be written");
  }
  files.savedPath = "file:" + saved;
  files.stampPath = scratch.path() + "stamp.ass";
  files.channels = static_cast<int>(plan.channels.size());
  files.hasAudio = !main.audioCodec.empty();
  files.outputPath = stamped.temporaryPath();
  std::vector<std::string> args = StampedArguments(files);
  args.insert(args.begin(), {"-progress", "pipe:1", "-nostats"});
  const double lengthUs = static_cast<double>(lengthMs) * 1000.0;
  const ChildRun run = RunChild(request.ffmpegProgram, args, cancel, [&](const std::string& line) {
    if (!request.progress || line.rfind("out_time_us=", 0) != 0) return;
    const double done = std::clamp(std::atof(line.c_str() + 12) / lengthUs, 0.0, 1.0);
    request.progress(kLosslessShare + (1.0 - kLosslessShare) * done);
  });
  if (run.cancelled) return Cancelled();
  if (run.exitCode == 0) return {};
  if (std::optional<SaveResult> full = OutputFull(run)) return *full;
  return Failed(SaveFailure::Other, "ffmpeg could not make the stamped copy" + Words(run));
}

}  // namespace

std::vector<std::string> MomentFolders(const std::string& folder) {
  std::string own = folder;
  while (own.size() > 1 && own.back() == '/') own.pop_back();
  const std::filesystem::path path(own);
  if (!ChannelOfFolder(path.filename().string())) return {folder};
  std::vector<std::string> folders;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), error)) {
    std::error_code ignored;
    if (entry.is_directory(ignored) && ChannelOfFolder(entry.path().filename().string())) {
      folders.push_back(entry.path().string() + "/");
    }
  }
  if (error || folders.empty()) return {folder};
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::string FfprobeBeside(const std::string& ffmpegProgram) {
  std::error_code error;
  const auto ffmpeg = std::filesystem::canonical(ffmpegProgram, error);
  return error ? "/usr/bin/ffprobe" : (ffmpeg.parent_path() / "ffprobe").string();
}

SaveResult RunSave(const SaveRequest& request, CClipPoints& source) {
  const std::atomic<bool>* cancel = request.cancel;
  std::vector<ClipSummary> summaries;
  if (std::string error = source.Refresh(request.clips, summaries); !error.empty()) {
    return Failed(SaveFailure::Unreadable, std::move(error));
  }

  // Each clip's place on the camera clock: from its first timed point, or from the clip of the
  // same moment that has one (a rear camera often writes no telemetry).
  std::map<std::string, KnownClip> known;
  std::map<std::string, std::int64_t> momentStart;
  std::map<std::string, std::int64_t> momentLength;
  for (ClipSummary& summary : summaries) {
    KnownClip clip{summary, {}, 0};
    std::string reason;
    if (summary.pointCount > 0 && source.Points(clip.summary, clip.points, reason)) {
      clip.offsetSeconds = clip.summary.traits.clock == SourceClock::Camera
                               ? request.clockOffsets.OfClip(summary.path)
                               : 0;
      for (const IndexPoint& p : clip.points) {
        const std::int64_t camera = CameraMsOf(p, clip.offsetSeconds, request.zone);
        if (camera == kNoTime) continue;
        const std::string moment = MomentOf(summary.path).moment;
        momentStart.emplace(moment, camera - p.mediaMs);
        momentLength.emplace(moment, summary.durationMs);
        break;
      }
    }
    known.emplace(summary.path, std::move(clip));
  }
  ApplyClockOffsets(summaries, request.clockOffsets);
  std::map<std::string, int> tripOfMoment;
  int tripNumber = 0;
  for (const Trip& trip : GroupTrips(summaries)) {
    for (const ClipSummary& clip : trip.clips)
      tripOfMoment[MomentOf(clip.path).moment] = tripNumber;
    ++tripNumber;
  }
  std::vector<StretchClip> clips;
  for (const auto& [path, clip] : known) {
    const ClipMoment moment = MomentOf(path);
    const auto start = momentStart.find(moment.moment);
    if (start == momentStart.end()) continue;  // no time to place it by
    const auto trip = tripOfMoment.find(moment.moment);
    std::int64_t durationMs = clip.summary.durationMs;
    if (durationMs <= 0) durationMs = LookAt(request.ffprobeProgram, path, cancel).durationMs;
    // A file of the moment whose length cannot be read is taken as long as its moment, so a
    // broken one is named when the stretch needs it instead of silently left out.
    if (durationMs <= 0) durationMs = momentLength[moment.moment];
    clips.push_back(
        {path, start->second, durationMs, moment.channel,
         trip == tripOfMoment.end() ? -1 - static_cast<int>(clips.size()) : trip->second});
  }
  SaveResult unresolved;
  auto resolve = [&](const StretchTime& time, std::int64_t& ms) {
    if (time.clip.empty()) {
      ms = time.valueMs;
      return true;
    }
    std::error_code ignored;
    const std::string wanted =
        std::filesystem::absolute(time.clip, ignored).lexically_normal().string();
    for (const StretchClip& clip : clips) {
      if (clip.path == wanted) {
        ms = clip.startMs + time.valueMs;
        return true;
      }
    }
    unresolved = Failed(SaveFailure::BeyondClips,
                        time.clip + ": not a clip with a camera time among the clips");
    return false;
  };
  std::int64_t fromMs = 0;
  std::int64_t toMs = 0;
  if (!resolve(request.from, fromMs) || !resolve(request.to, toMs)) return unresolved;
  const StretchPlan plan = PlanStretch(clips, fromMs, toMs);
  if (!plan.error.empty()) return Failed(plan.failure, plan.error);

  // Every piece must be a clip with video that ffprobe reads; the main one's sound decides the
  // codec (PCM from a MOV camera does not fit an MP4).
  ClipLook main;
  for (std::size_t c = 0; c < plan.channels.size(); ++c) {
    for (const StretchPiece& piece : plan.channels[c].pieces) {
      const ClipLook look = LookAt(request.ffprobeProgram, piece.path, cancel);
      if (cancel != nullptr && cancel->load()) return Cancelled();
      if (!Exists(piece.path)) {
        return ClipFailed(SaveFailure::ClipVanished, piece.path, ": the clip is gone");
      }
      if (!look.readable) {
        return ClipFailed(SaveFailure::Unreadable, piece.path, ": the clip cannot be read");
      }
      if (!look.video)
        return ClipFailed(SaveFailure::NoVideo, piece.path, ": the clip has no video");
      if (c == 0 && &piece == &plan.channels[0].pieces.front()) main = look;
    }
  }

  // The telemetry of the first channel whose clips have points, placed in the stretch.
  std::vector<SavedPoint> saved;
  ExportTrack gpx;
  gpx.name = CameraClockText(plan.fromMs, ':');
  ExportCounts counts;
  for (const ChannelPlan& channel : plan.channels) {
    for (const StretchPiece& piece : channel.pieces) {
      const KnownClip& clip = known.at(piece.path);
      std::vector<IndexPoint> inside;
      for (const IndexPoint& p : clip.points) {
        if (p.mediaMs < piece.inMs || p.mediaMs >= piece.outMs) continue;
        if (!IsExportablePosition(p.latitude, p.longitude)) continue;
        const std::int64_t camera = CameraMsOf(p, clip.offsetSeconds, request.zone);
        if (camera == kNoTime) continue;
        inside.push_back(p);
        saved.push_back({piece.atMs + p.mediaMs - piece.inMs, camera, p.latitude, p.longitude,
                         p.speedKmh, clip.summary.traits.gSensor, p.gX, p.gY, p.gZ});
      }
      ExportClip exported{SplitPath(piece.path).fileName,
                          ExportPointsOf(inside, ZoneOfSource(clip.summary.traits, request.zone),
                                         clip.offsetSeconds, counts),
                          clip.summary.traits.gSensor};
      if (!exported.points.empty()) gpx.clips.push_back(std::move(exported));
    }
    if (!saved.empty()) break;
  }

  const CScratchFolder scratch;
  if (scratch.path().empty()) return NotWritten("a temporary folder", errno);
  SaveFiles files;
  for (std::size_t c = 0; c < plan.channels.size(); ++c) {
    const std::string name = "channel" + std::to_string(c) + ".ffconcat";
    if (!scratch.Write(name, ConcatList(plan.channels[c]))) {
      return NotWritten(scratch.path() + name, errno);
    }
    files.concatLists.push_back(scratch.path() + name);
  }
  if (!saved.empty()) {
    files.cuesPath = scratch.path() + "track.srt";
    if (!scratch.Write("track.srt", SavedTrackCues(saved, plan.toMs - plan.fromMs))) {
      return NotWritten(files.cuesPath, errno);
    }
  }
  files.mainHasAudio = !main.audioCodec.empty();
  files.audioToAac = main.audioCodec.rfind("pcm_", 0) == 0;

  std::string outputPath = request.outputPath;
  if (outputPath.empty()) {
    std::error_code error;
    std::filesystem::create_directories(request.outputFolder, error);
    std::string folder = request.outputFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    outputPath = SavedFileName(folder, plan.fromMs, [&](const std::string& path) {
      return Exists(path) || (request.stamped && Exists(StampedBeside(path)));
    });
    if (outputPath.empty() || request.outputFolder.empty()) {
      return Failed(SaveFailure::NotWritten,
                    request.outputFolder + ": no free name for the saved file");
    }
  }
  const std::string gpxPath = BesideGpx(outputPath);
  CFileReplacement gpxFile(gpxPath);
  if (!gpxFile.opened()) return NotWritten(gpxPath, gpxFile.error());
  const auto writer = MakeTrackWriter(ExportFormat::Gpx);
  writer->Begin(gpxFile.out());
  if (!gpx.clips.empty()) writer->Write(gpxFile.out(), gpx);
  writer->End(gpxFile.out());

  CFileReplacement mp4File(outputPath);
  if (!mp4File.opened()) return NotWritten(outputPath, mp4File.error());
  files.outputPath = mp4File.temporaryPath();
  std::vector<std::string> args = SaveArguments(plan, files);
  args.insert(args.begin(), {"-progress", "pipe:1", "-nostats"});
  const double lengthUs = static_cast<double>(plan.toMs - plan.fromMs) * 1000.0;
  const ChildRun run = RunChild(request.ffmpegProgram, args, cancel, [&](const std::string& line) {
    if (!request.progress || line.rfind("out_time_us=", 0) != 0) return;
    const double done = std::atof(line.c_str() + 12) / lengthUs;
    request.progress(std::clamp(done, 0.0, 1.0) * (request.stamped ? kLosslessShare : 1.0));
  });
  if (run.cancelled) return Cancelled();
  if (run.exitCode != 0) {
    if (std::optional<SaveResult> full = OutputFull(run)) return *full;
    for (const ChannelPlan& channel : plan.channels) {
      for (const StretchPiece& piece : channel.pieces) {
        if (!Exists(piece.path)) {
          return ClipFailed(SaveFailure::ClipVanished, piece.path,
                            ": the clip went away while saving");
        }
      }
    }
    return Failed(SaveFailure::Other, "ffmpeg could not save the stretch" + Words(run));
  }
  // The lossless file is what the user asked to keep: a stamped copy that cannot be made (or put
  // in place) leaves it and its track, and says why beside them.
  const std::string stampedPath = request.stamped ? StampedBeside(outputPath) : std::string();
  std::optional<CFileReplacement> stampedFile;
  SaveResult stampedFailed;
  if (request.stamped) {
    stampedFile.emplace(stampedPath);
    SaveResult stamped = stampedFile->opened()
                             ? MakeStampedCopy(request, mp4File.temporaryPath(), plan, saved,
                                               scratch, main, *stampedFile)
                             : NotWritten(stampedPath, stampedFile->error());
    if (stamped.cancelled) return stamped;
    if (!stamped.error.empty()) {
      stampedFailed = std::move(stamped);
      stampedFile.reset();
    }
  }
  if (!mp4File.Commit()) return NotWritten(outputPath, mp4File.error());
  if (!gpxFile.Commit()) {
    // The two files are one output: the video does not stay without its track.
    std::remove(outputPath.c_str());
    return NotWritten(gpxPath, gpxFile.error());
  }
  if (stampedFile && !stampedFile->Commit()) {
    stampedFailed = NotWritten(stampedPath, stampedFile->error());
    stampedFile.reset();
  }
  if (request.progress) request.progress(1.0);
  SaveResult result;
  result.mp4Path = outputPath;
  result.gpxPath = gpxPath;
  if (stampedFile) result.stampedPath = stampedPath;
  result.stampedFailure = stampedFailed.failure;
  result.stampedError = std::move(stampedFailed.error);
  result.writeFailure = stampedFailed.writeFailure;
  result.comment = SaveComment(plan);
  return result;
}

}  // namespace korvane
