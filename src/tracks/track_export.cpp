#include "tracks/track_export.h"

#include <signal.h>

#include "platform/path_parts.h"

namespace korvane {
namespace {

// The name without its folder and extension; a name that is all extension (".mp4") is kept whole.
std::string StemOf(const std::string& path) {
  SplitPathResult parts = SplitPath(path);
  return parts.stem.empty() ? parts.fileName : parts.stem;
}

}  // namespace

ExportTarget ExportTargetAt(int index) {
  if (index < 0 || index >= kExportTargetCount) index = 0;
  constexpr ExportFormat kFormats[] = {ExportFormat::Gpx, ExportFormat::Kml, ExportFormat::Csv};
  return ExportTarget{kFormats[index % 3], index >= 3};
}

std::string SuggestedExportPath(const ExportTarget& target, const std::string& clipPath) {
  const std::string folder = SplitPath(clipPath).folder;
  std::string stem = StemOf(clipPath);
  if (target.wholeFolder) {
    const std::string withoutSlash = folder.empty() ? folder : folder.substr(0, folder.size() - 1);
    stem = withoutSlash.empty() ? "trips" : StemOf(withoutSlash);
  }
  return folder + stem + "." + std::string(ExportFormatName(target.format));
}

std::vector<std::string> ExportArguments(const ExportTarget& target, const std::string& clipPath,
                                         const std::string& outputPath) {
  const std::string input = target.wholeFolder ? SplitPath(clipPath).folder : clipPath;
  return {"--export", std::string(ExportFormatName(target.format)), input.empty() ? "." : input,
          outputPath};
}

CTrackExport::CTrackExport(std::string program, WindowHandle notifyWindow,
                           std::uint32_t doneMessage)
    : program_(std::move(program)), notifyWindow_(notifyWindow), doneMessage_(doneMessage) {}

CTrackExport::~CTrackExport() {
  // The waiter reaps the process: only the signal here, which ends its read.
  if (process_.IsStarted()) kill(process_.pid(), SIGKILL);
  if (waiter_.joinable()) waiter_.join();
  process_.Release();
}

bool CTrackExport::Start(const std::vector<std::string>& args, const std::string& outputPath) {
  {
    std::lock_guard lock(mutex_);
    if (running_) return false;
  }
  if (waiter_.joinable()) waiter_.join();
  process_.Release();
  ProcessOptions options;
  options.program = program_;
  options.args = args;
  options.pipeStdout = options.stderrToStdout = true;
  if (process_.Start(options) != 0) return false;
  std::lock_guard lock(mutex_);
  running_ = true;
  outcome_ = ExportOutcome{-1, outputPath, {}};
  waiter_ = std::thread([this] { Wait(); });
  return true;
}

void CTrackExport::Wait() {
  std::string printed;
  char buffer[4096];
  for (ssize_t got; (got = process_.ReadStdout(buffer, sizeof buffer)) > 0;) {
    printed.append(buffer, static_cast<std::size_t>(got));
  }
  process_.WaitForExit(-1);
  {
    std::lock_guard lock(mutex_);
    running_ = false;
    outcome_.exitCode = process_.exitCode();
    if (outcome_.exitCode != 0) {
      // The failure is the last line the export printed.
      while (!printed.empty() && printed.back() == '\n') printed.pop_back();
      outcome_.message = printed.substr(printed.rfind('\n') + 1);
      if (outcome_.message.empty())
        outcome_.message = "exit code " + std::to_string(outcome_.exitCode);
    }
  }
  PostWindowMessage(notifyWindow_, doneMessage_, 0, 0);
}

ExportOutcome CTrackExport::outcome() {
  std::lock_guard lock(mutex_);
  return outcome_;
}

}  // namespace korvane
