#include "app/command_line.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "export/camera_time_zone.h"
#include "export/clip_points.h"
#include "export/export_job.h"
#include "index/index_database.h"
#include "settings/data_folder.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "telemetry/clock_offset_store.h"
#include "tracks/clip_track.h"
#include "ui/playlist_files.h"

namespace korvane {
namespace {

bool IsOption(const std::string& arg, const char* name) {
  return arg == name;
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

int RunExportCommand(const CommandLine& command, const std::string& programFolder) {
  ApplicationContext context;
  context.programFolder = programFolder;
  context.settingsPath = ExistingSettingsPath(programFolder);
  std::string associate = ReadSettingString(context, kSettingsSection, kKeyAssociate, "");
  if (associate.empty()) associate = kDefaultAssociate;

  ExportRequest request;
  request.format = command.format;
  request.outputPath = command.output;
  bool isFolder = false;
  std::string reason;
  const auto clips = ClipsOf(command.input, ParseSupportedExtensions(associate), isFolder, reason);
  if (!clips) {
    std::fprintf(stderr, "korvane: %s\n", reason.c_str());
    return kExitExportFailed;
  }
  request.clips = *clips;
  request.byTrip = isFolder;

  const std::string zoneText =
      ReadSettingString(context, kSettingsSection, kKeyTimeZone, kDefaultTimeZone);
  std::string zoneWarning;
  if (const auto zone = ParseCameraTimeZone(zoneText)) {
    request.zone = *zone;
  } else {
    zoneWarning = "TimeZone \"" + zoneText + "\" is neither local nor ±HH:MM; using local";
  }

  const std::string dataFolder = ExistingDataFolder(programFolder);
  request.clockOffsets = ReadClockOffsets(dataFolder);
  CClipTracks clipTracks(IndexDatabasePath(), dataFolder, request.zone);
  request.importedTracks = [&clipTracks](std::span<const std::string> clips) {
    return clipTracks.ImportedTracks(clips, false);
  };

  CClipPoints source(IndexDatabasePath(), programFolder + "korvane-indexer");
  const ExportResult result = RunExport(request, source);
  // A failure is one line; what a written file leaves out goes to the log.
  if (!result.error.empty()) {
    std::fprintf(stderr, "korvane: export failed: %s\n", result.error.c_str());
    return kExitExportFailed;
  }
  if (!zoneWarning.empty()) std::fprintf(stderr, "korvane: %s\n", zoneWarning.c_str());
  for (const std::string& line : result.log) std::fprintf(stderr, "korvane: %s\n", line.c_str());
  return 0;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine command;
  if (args.empty()) return command;
  if (IsOption(args[0], "--help") || IsOption(args[0], "-h")) {
    command.kind = CommandLine::Kind::Help;
    return command;
  }
  if (!IsOption(args[0], "--export")) return command;
  command.kind = CommandLine::Kind::Bad;
  if (args.size() != 4) {
    command.error = "--export needs a format, a clip or folder and an output file";
    return command;
  }
  const auto format = ParseExportFormat(args[1]);
  if (!format) {
    command.error = "unknown export format \"" + args[1] + "\" (gpx, kml or csv)";
    return command;
  }
  command.kind = CommandLine::Kind::Export;
  command.format = *format;
  command.input = args[2];
  command.output = args[3];
  return command;
}

std::string UsageText() {
  return "Usage: korvane [FILE...]\n"
         "       korvane --export gpx|kml|csv CLIP|FOLDER OUTPUT\n"
         "       korvane --help\n"
         "\n"
         "Without options the window opens, playing the files given.\n"
         "--export writes the telemetry of a clip (one track), or of a folder's clips (one track\n"
         "         per trip), to OUTPUT as GPX 1.1, KML or CSV, with times in UTC (the TimeZone\n"
         "         setting says the zone of the camera's clock: local or +HH:MM). It needs no\n"
         "         display and runs beside an open window. Exit code 0, else 1 (2: bad usage).\n";
}

std::optional<int> RunCommandLine(const CommandLine& command, const std::string& programFolder) {
  switch (command.kind) {
    case CommandLine::Kind::Window:
      return std::nullopt;
    case CommandLine::Kind::Help:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case CommandLine::Kind::Bad:
      std::fprintf(stderr, "korvane: %s (see korvane --help)\n", command.error.c_str());
      return kExitUsage;
    case CommandLine::Kind::Export:
      return RunExportCommand(command, programFolder);
  }
  return std::nullopt;
}

}  // namespace korvane
