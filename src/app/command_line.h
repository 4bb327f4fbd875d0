// The options the program handles on its own before anything else (no instance lock, no display):
//   korvane --help | -h
//   korvane --export gpx|kml|csv <clip or folder> <output file>
// Any other command line starts the window, its arguments being files to open.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "export/export_format.h"

namespace korvane {

inline constexpr int kExitExportFailed = 1;
inline constexpr int kExitUsage = 2;

struct CommandLine {
  enum class Kind { Window, Help, Export, Bad };
  Kind kind = Kind::Window;
  ExportFormat format = ExportFormat::Gpx;
  std::string input;
  std::string output;
  std::string error;  // Bad: the one line to print
};

// Pure: what the arguments (after the program name) ask for.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The usage text --help prints.
std::string UsageText();

// Runs a Help, Export or Bad command line, printing to stdout/stderr, and returns the exit code;
// nullopt for a Window one, which the caller starts. Never opens a display.
std::optional<int> RunCommandLine(const CommandLine& command, const std::string& programFolder);

}  // namespace korvane
