// Running the korvane-indexer program (or any program) to its end for the index tests, and the
// points the program's own parser makes of a sample clip's telemetry lines.
#pragma once
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "index/index_point.h"
#include "index/track_summary.h"
#include "platform/process.h"
#include "support/sample_paths.h"
#include "telemetry/telemetry_parser.h"

namespace korvane::test {

inline std::string Indexer() {
  return ProgramDir() + "korvane-indexer";
}

struct ProgramRun {
  int exitCode = -1;
  std::string out;
};

// Runs `program` with `args`, feeding `input` to its standard input; waits for the end.
inline ProgramRun RunProgram(const std::string& program, std::vector<std::string> args,
                             const std::string& input = "") {
  ChildProcess child;
  ProcessOptions options;
  options.program = program;
  options.args = std::move(args);
  options.pipeStdin = options.pipeStdout = true;
  ProgramRun run;
  if (child.Start(options) != 0) return run;
  child.WriteStdin(input);
  child.CloseStdin();
  char buffer[4096];
  for (ssize_t got; (got = child.ReadStdout(buffer, sizeof buffer)) > 0;)
    run.out.append(buffer, got);
  if (child.WaitForExit(60'000)) run.exitCode = child.exitCode();
  return run;
}

inline ProgramRun IndexClips(const std::string& db, const std::vector<std::string>& clips) {
  std::vector<std::string> args = {"--db", db};
  args.insert(args.end(), clips.begin(), clips.end());
  return RunProgram(Indexer(), args);
}

// The points the program's parser makes of a file of telemetry lines, one cue per 100 ms.
inline std::vector<IndexPoint> ParsedLines(const std::string& lineFile) {
  std::ifstream lines(lineFile);
  CTelemetryParser parser;
  std::vector<IndexPoint> points;
  std::string line;
  for (int i = 0; std::getline(lines, line); ++i) {
    line.resize(std::min<std::size_t>(line.size(), 127));
    if (parser.ParseFull(line.c_str())) points.push_back(ToIndexPoint(parser.record(), i * 100));
  }
  return points;
}

}  // namespace korvane::test
