// The presentation times of a saved file's first video stream, read back with ffprobe, for tests
// that check a join has no gap and no repeated frame.
#pragma once
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "support/command_output.h"

namespace korvane::test {

// In seconds, in time order; empty when ffprobe cannot read the file.
inline std::vector<double> VideoPacketTimes(const std::string& path) {
  std::istringstream times(
      CommandOutput("ffprobe -v error -select_streams v:0 -show_entries packet=pts_time -of "
                    "csv=p=0 '" +
                    path + "' | sort -g"));
  std::vector<double> pts;
  for (double t; times >> t;) pts.push_back(t);
  return pts;
}

// The longest step from one packet to the next; 0 for fewer than two.
inline double LongestStep(const std::vector<double>& pts) {
  double worst = 0.0;
  for (std::size_t i = 1; i < pts.size(); ++i) worst = std::max(worst, pts[i] - pts[i - 1]);
  return worst;
}

}  // namespace korvane::test
