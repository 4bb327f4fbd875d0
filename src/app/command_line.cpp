#include "app/command_line.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string_view>

#include "export/camera_time_zone.h"
#include "export/clip_points.h"
#include "export/export_job.h"
#include "export/report_job.h"
#include "export/save_job.h"
#include "index/background_indexer.h"
#include "index/index_database.h"
#include "settings/data_folder.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "telemetry/clock_offset_store.h"
#include "telemetry/extract_command.h"
#include "tracks/clip_track.h"
#include "tracks/incident_save.h"
#include "ui/playlist_files.h"

namespace korvane {
namespace {

// Every option the program has that begins with "--".
constexpr std::string_view kLongOptions[] = {
    "--help", "--version", "--info", "--json", "--export", "--save", "--from", "--to", "--stamped"};

bool IsLongOption(const std::string& arg) {
  return arg.starts_with("--");
}

bool IsProgramOption(const std::string& arg) {
  return std::find(std::begin(kLongOptions), std::end(kLongOptions), arg) != std::end(kLongOptions);
}

CommandLine Bad(std::string error) {
  CommandLine command;
  command.kind = CommandLine::Kind::Bad;
  command.error = std::move(error);
  return command;
}

// args[0] is "--export".
CommandLine ParseExport(const std::vector<std::string>& args) {
  if (args.size() != 4) return Bad("--export needs a format, a clip or folder and an output file");
  if (const auto misplaced = std::find_if(args.begin() + 1, args.end(), IsLongOption);
      misplaced != args.end()) {
    return Bad(*misplaced + " is out of place");
  }
  const auto format = ParseExportFormat(args[1]);
  if (!format) return Bad("unknown export format \"" + args[1] + "\" (gpx, kml or csv)");
  CommandLine command;
  command.kind = CommandLine::Kind::Export;
  command.format = *format;
  command.input = args[2];
  command.output = args[3];
  return command;
}

// args[0] is "--save"; --from and --to may come in either order, each before its time.
CommandLine ParseSave(const std::vector<std::string>& args) {
  CommandLine command;
  command.kind = CommandLine::Kind::Save;
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--from" || args[i] == "--to") {
      if (i + 1 == args.size()) return Bad(args[i] + " needs a time");
      if (!ParseStretchTime(args[i + 1])) {
        return Bad("\"" + args[i + 1] + "\" is no time (2026-05-18T08:30:07 or CLIP@00:00:42)");
      }
      (args[i] == "--from" ? command.from : command.to) = args[i + 1];
      ++i;
    } else if (args[i] == "--stamped") {
      command.stamped = true;
    } else if (IsLongOption(args[i])) {
      return Bad(args[i] + " is out of place");
    } else {
      paths.push_back(args[i]);
    }
  }
  if (paths.size() != 2 || command.from.empty() || command.to.empty()) {
    return Bad("--save needs a clip or folder, --from TIME, --to TIME and an output file");
  }
  command.input = paths[0];
  command.output = paths[1];
  return command;
}

// args[0] is "--info"; --json may stand anywhere after it.
CommandLine ParseInfo(const std::vector<std::string>& args) {
  CommandLine command;
  command.kind = CommandLine::Kind::Info;
  std::vector<std::string> paths;
  for (auto arg = args.begin() + 1; arg != args.end(); ++arg) {
    if (*arg == "--json") {
      command.json = true;
    } else if (IsLongOption(*arg)) {
      return Bad(*arg + " is out of place");
    } else {
      paths.push_back(*arg);
    }
  }
  if (paths.size() != 1) return Bad("--info needs one clip or folder");
  command.input = paths[0];
  return command;
}

// The clips an input names: the file itself, or the folder's files of the supported types
// (the playlist's rule), sorted. nullopt with the reason when it names neither.
std::optional<std::vector<std::string>> ClipsOf(const std::string& input,
                                                const std::vector<std::string>& supported,
                                                bool& isFolder, std::string& reason) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path path = fs::absolute(fs::path(input), error).lexically_normal();
  isFolder = fs::is_directory(path, error);
  if (!isFolder) {
    if (!fs::is_regular_file(path, error)) {
      reason = input + ": no such clip or folder";
      return std::nullopt;
    }
    if (access(path.c_str(), R_OK) != 0) {
      reason = input + ": cannot be read: " + std::strerror(errno);
      return std::nullopt;
    }
    return std::vector<std::string>{path.string()};
  }
  std::string folder = path.string();
  if (folder.back() != '/') folder += '/';
  const auto names = ListFolder(folder);
  if (!names) {
    reason = input + ": the folder cannot be read";
    return std::nullopt;
  }
  std::vector<std::string> clips;
  for (const std::string& name : *names) {
    if (IsSupportedExtension(supported, ExtensionOf(name))) clips.push_back(folder + name);
  }
  std::sort(clips.begin(), clips.end());
  return clips;
}

// What the headless commands read of the user's settings and data folder, and the clips their
// input names.
struct HeadlessSetup {
  std::vector<std::string> clips;
  bool isFolder = false;
  std::string error;  // the input names no clip or folder that can be read: nothing else is set
  CameraTimeZone zone;
  std::string zoneWarning;  // the TimeZone setting could not be read
  std::string dataFolder;
};

HeadlessSetup ReadHeadlessSetup(const std::string& programFolder, const std::string& input) {
  ApplicationContext context;
  context.programFolder = programFolder;
  context.settingsPath = ExistingSettingsPath(programFolder);
  HeadlessSetup setup;
  std::string associate = ReadSettingString(context, kSettingsSection, kKeyAssociate, "");
  if (associate.empty()) associate = kDefaultAssociate;
  auto clips = ClipsOf(input, ParseSupportedExtensions(associate), setup.isFolder, setup.error);
  if (!clips) return setup;
  setup.clips = std::move(*clips);
  const std::string zoneText =
      ReadSettingString(context, kSettingsSection, kKeyTimeZone, kDefaultTimeZone);
  if (const auto zone = ParseCameraTimeZone(zoneText)) {
    setup.zone = *zone;
  } else {
    setup.zoneWarning = "TimeZone \"" + zoneText + "\" is neither local nor ±HH:MM; using local";
  }
  setup.dataFolder = ExistingDataFolder(programFolder);
  return setup;
}

int RunExportCommand(const CommandLine& command, const std::string& programFolder) {
  const HeadlessSetup setup = ReadHeadlessSetup(programFolder, command.input);
  if (!setup.error.empty()) {
    std::fprintf(stderr, "korvane: %s\n", setup.error.c_str());
    return kExitExportFailed;
  }
  ExportRequest request;
  request.format = command.format;
  request.outputPath = command.output;
  request.clips = setup.clips;
  request.byTrip = setup.isFolder;
  request.zone = setup.zone;
  request.clockOffsets = ReadClockOffsets(setup.dataFolder);

  CClipTracks clipTracks(IndexDatabasePath(), setup.dataFolder, request.zone);
  CClipPoints source =
      ClipPointsOf(IndexDatabasePath(), programFolder + kIndexerRelativePath, clipTracks);
  const ExportResult result = RunExport(request, source);
  // A failure is one line; what a written file leaves out goes to the log.
  if (!result.error.empty()) {
    std::fprintf(stderr, "korvane: export failed: %s\n", result.error.c_str());
    if (result.writeError == 0) return kExitExportFailed;
    return kExitExportNotWritten + static_cast<int>(WriteFailureOf(result.writeError));
  }
  if (!setup.zoneWarning.empty()) std::fprintf(stderr, "korvane: %s\n", setup.zoneWarning.c_str());
  for (const std::string& line : result.log) std::fprintf(stderr, "korvane: %s\n", line.c_str());
  return 0;
}

// A clip saves a stretch of its folder's clips (and of its moments' other channels), so the
// stretch may run on into the next one.
int RunSaveCommand(const CommandLine& command, const std::string& programFolder) {
  // A file-size limit fails a write as a full disk does, here and in ffmpeg, which inherits this,
  // instead of ending the program with a part file left behind.
  signal(SIGXFSZ, SIG_IGN);
  std::error_code error;
  const bool clip = std::filesystem::is_regular_file(command.input, error);
  const std::string folder =
      clip ? std::filesystem::absolute(command.input, error).parent_path().string() : command.input;
  const HeadlessSetup setup = ReadHeadlessSetup(programFolder, folder);
  if (!setup.error.empty()) {
    std::fprintf(stderr, "korvane: %s\n", setup.error.c_str());
    return kExitExportFailed;
  }
  SaveRequest request;
  // A camera that keeps each channel in a folder of its own brings the other channels' clips.
  for (const std::string& channelFolder : MomentFolders(folder)) {
    const HeadlessSetup channel = ReadHeadlessSetup(programFolder, channelFolder);
    request.clips.insert(request.clips.end(), channel.clips.begin(), channel.clips.end());
  }
  request.from = *ParseStretchTime(command.from);
  request.to = *ParseStretchTime(command.to);
  request.outputPath = command.output;
  request.ffmpegProgram = programFolder + kExtractorRelativePath;
  request.ffprobeProgram = FfprobeBeside(request.ffmpegProgram);
  request.zone = setup.zone;
  request.clockOffsets = ReadClockOffsets(setup.dataFolder);
  if (command.stamped) {
    // The stamp reads as the window's panel: its language and speed unit from the settings.
    ApplicationContext context;
    context.programFolder = programFolder;
    context.settingsPath = ExistingSettingsPath(programFolder);
    LoadSettings(context);
    request.stamped = true;
    request.stampCaptions = ReadStampCaptions(context);
    request.speedUnit = context.settings.speedUnit;
  }
  CClipTracks clipTracks(IndexDatabasePath(), setup.dataFolder, request.zone);
  CClipPoints source =
      ClipPointsOf(IndexDatabasePath(), programFolder + kIndexerRelativePath, clipTracks);
  const SaveResult result = RunSave(request, source);
  if (!result.error.empty()) {
    std::fprintf(stderr, "korvane: save failed: %s\n", result.error.c_str());
    return SaveExitCode(result);
  }
  if (!setup.zoneWarning.empty()) std::fprintf(stderr, "korvane: %s\n", setup.zoneWarning.c_str());
  std::fprintf(stderr, "korvane: saved %s and %s (%s)\n", result.mp4Path.c_str(),
               result.gpxPath.c_str(), result.comment.c_str());
  if (!result.stampedPath.empty()) {
    std::fprintf(stderr, "korvane: stamped copy %s\n", result.stampedPath.c_str());
  }
  if (result.stampedFailure != SaveFailure::None) {
    std::fprintf(stderr, "korvane: the stamped copy failed, the saved files are kept: %s\n",
                 result.stampedError.c_str());
  }
  return SaveExitCode(result);
}

// Reports go to stdout, a clip that could not be indexed to stderr (and the exit code).
int RunInfoCommand(const CommandLine& command, const std::string& programFolder) {
  const HeadlessSetup setup = ReadHeadlessSetup(programFolder, command.input);
  if (!setup.error.empty()) {
    std::fprintf(stderr, "korvane: %s\n", setup.error.c_str());
    return kExitExportFailed;
  }
  if (setup.clips.empty()) {
    std::fprintf(stderr, "korvane: %s: no clips\n", command.input.c_str());
    return 0;
  }
  CClipTracks clipTracks(IndexDatabasePath(), setup.dataFolder, setup.zone);
  CClipPoints source =
      ClipPointsOf(IndexDatabasePath(), programFolder + kIndexerRelativePath, clipTracks);
  const ReportResult result = ReportClips(setup.clips, source);
  if (!result.error.empty()) {
    std::fprintf(stderr, "korvane: %s: %s\n", command.input.c_str(), result.error.c_str());
    return kExitExportFailed;
  }
  for (std::size_t i = 0; i < result.reports.size(); ++i) {
    const ClipReport& report = result.reports[i];
    const std::string text =
        command.json ? ClipReportJson(report) + "\n" : (i > 0 ? "\n" : "") + ClipReportText(report);
    std::fputs(text.c_str(), stdout);
  }
  std::fflush(stdout);
  for (const std::string& line : result.failures) {
    std::fprintf(stderr, "korvane: %s\n", line.c_str());
  }
  return result.failures.empty() ? 0 : kExitExportFailed;
}

}  // namespace

int SaveExitCode(const SaveResult& result) {
  if (result.error.empty()) {
    return result.stampedFailure == SaveFailure::None ? 0 : kExitStampedFailed;
  }
  if (result.failure != SaveFailure::NotWritten) return kExitExportFailed;
  return kExitExportNotWritten + static_cast<int>(result.writeFailure);
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (IsLongOption(arg) && !IsProgramOption(arg)) return Bad("unknown option " + arg);
  }
  if (args.empty()) return {};
  CommandLine command;
  const std::string& first = args[0];
  if (first == "--help" || first == "-h") {
    command.kind = CommandLine::Kind::Help;
  } else if (first == "--version") {
    command.kind = CommandLine::Kind::Version;
  } else if (first == "--export") {
    return ParseExport(args);
  } else if (first == "--info") {
    return ParseInfo(args);
  } else if (first == "--save") {
    return ParseSave(args);
  } else if (const auto misplaced = std::find_if(args.begin(), args.end(), IsLongOption);
             misplaced != args.end()) {
    return Bad(*misplaced + " is out of place");
  }
  return command;
}

std::string UsageText() {
  return "Usage: korvane [FILE...]\n"
         "       korvane --info [--json] CLIP|FOLDER\n"
         "       korvane --export gpx|kml|csv CLIP|FOLDER OUTPUT\n"
         "       korvane --save CLIP|FOLDER --from TIME --to TIME [--stamped] OUTPUT\n"
         "       korvane --version\n"
         "       korvane --help\n"
         "\n"
         "Without options the window opens, playing the files given (a file whose name begins\n"
         "with \"--\" is given as ./--NAME). The window needs a display (DISPLAY or\n"
         "WAYLAND_DISPLAY): without one it says so and ends with exit code 1.\n"
         "--info   says of a clip, or of each of a folder's clips, where its telemetry comes from\n"
         "         (subtitle: its own track; nmea: the GPS log beside it; gpx: the track imported\n"
         "         for its folder; none) and on whose clock (camera, utc or none), the number of\n"
         "         fixes, the first and last fix (time, media time, position, speed), whether it\n"
         "         has G values, its duration, and what the index found wrong. Times are as the\n"
         "         source wrote them, without the folder's clock offset or the TimeZone setting:\n"
         "         ISO 8601 with milliseconds, \"Z\" for a receiver's UTC. With --json, one JSON\n"
         "         object a line (path, source, clock, fixes, first, last, g_sensor, duration_ms,\n"
         "         reason; null where there is none). Clips not indexed yet are indexed first.\n"
         "--export writes the telemetry of a clip (one track), or of a folder's clips (one track\n"
         "         per trip), to OUTPUT as GPX 1.1, KML or CSV, with times in UTC (the TimeZone\n"
         "         setting says the zone of the camera's clock: local or +HH:MM).\n"
         "--save   saves the stretch from one TIME to the other of the clips of FOLDER (or of\n"
         "         CLIP's folder), every camera, as one MP4 in OUTPUT with the video copied and\n"
         "         the telemetry as a subtitle track, and a GPX beside it. TIME is a camera time\n"
         "         (2026-05-18T08:30:07) or a time into a clip (CLIP@00:00:42). With --stamped\n"
         "         also \"OUTPUT stamped.mp4\": the main camera re-encoded with the GPS panel's\n"
         "         time, speed, position and G burned in (in the settings' language and speed\n"
         "         unit), the other cameras small in the top right corner.\n"
         "--version prints the program's version.\n"
         "--info, --export and --save need no display and run beside an open window. Exit\n"
         "code 0, else 1 (a path that does not exist, cannot be read or cannot be indexed; a\n"
         "stretch that cannot be saved), 2 for bad usage; an export or a save whose OUTPUT\n"
         "cannot be written ends with 3 (disk full), 4 (not allowed) or 5 (any other cause);\n"
         "a save with --stamped whose stamped copy alone failed keeps OUTPUT and its GPX and\n"
         "ends with 6.\n";
}

std::optional<int> RunCommandLine(const CommandLine& command, const std::string& programFolder) {
  switch (command.kind) {
    case CommandLine::Kind::Window:
      return std::nullopt;
    case CommandLine::Kind::Help:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case CommandLine::Kind::Version:
      std::fputs("korvane " KORVANE_VERSION "\n", stdout);
      return 0;
    case CommandLine::Kind::Bad:
      std::fprintf(stderr, "korvane: %s\n%s", command.error.c_str(), UsageText().c_str());
      return kExitUsage;
    case CommandLine::Kind::Info:
      return RunInfoCommand(command, programFolder);
    case CommandLine::Kind::Export:
      return RunExportCommand(command, programFolder);
    case CommandLine::Kind::Save:
      return RunSaveCommand(command, programFolder);
  }
  return std::nullopt;
}

}  // namespace korvane
