// The options the program handles on its own before anything else (no instance lock, no display):
//   korvane --help | -h
//   korvane --version
//   korvane --info [--json] CLIP|FOLDER
//   korvane --export gpx|kml|csv <clip or folder> <output file>
//   korvane --save <clip or folder> --from TIME --to TIME <output file>
// Any other command line starts the window, its arguments being files to open. An argument that
// begins with "--" is always an option: one the program does not have, or one out of its place,
// is bad usage (a file of such a name is given as "./--name"; a lone "-" is a file).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "export/export_format.h"
#include "export/save_job.h"

namespace korvane {

inline constexpr int kExitExportFailed = 1;  // also a report (--info) that failed
inline constexpr int kExitUsage = 2;
// 3 to 5: an output that cannot be written (kExitExportNotWritten and the write's cause).
inline constexpr int kExitStampedFailed = 6;  // saved, but the stamped copy could not be made

struct CommandLine {
  enum class Kind { Window, Help, Version, Info, Export, Save, Bad };
  Kind kind = Kind::Window;
  ExportFormat format = ExportFormat::Gpx;
  bool json = false;  // Info: one JSON object a line
  std::string input;
  std::string output;
  std::string from;  // Save: the stretch's ends as given (ParseStretchTime reads them)
  std::string to;
  bool stamped = false;  // Save: a stamped copy beside the file
  std::string error;     // Bad: the one line to print
};

// Pure: what the arguments (after the program name) ask for.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Pure: the exit code of a finished --save: 0, kExitStampedFailed when only the stamped copy
// failed, kExitExportFailed, or kExitExportNotWritten plus the write's cause.
int SaveExitCode(const SaveResult& result);

// The usage text --help prints.
std::string UsageText();

// Runs a Help, Version, Info, Export, Save or Bad command line, printing to stdout/stderr, and
// returns the exit code; nullopt for a Window one, which the caller starts. Never opens a display.
std::optional<int> RunCommandLine(const CommandLine& command, const std::string& programFolder);

}  // namespace korvane
