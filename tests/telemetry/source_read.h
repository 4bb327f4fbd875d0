// What a telemetry source reads of a clip, gathered for a test: the read, its fixes and how
// many moments without a fix came with them.
#pragma once
#include <string>
#include <tuple>
#include <vector>

#include "telemetry/telemetry_source.h"

namespace korvane::test {

struct SourceRead {
  TelemetryRead read;
  std::vector<TelemetryRecord> fixes;
  int noFix = 0;
};

template <typename Source>
SourceRead ReadSource(const std::string& clip) {
  SourceRead r;
  Source source;
  r.read = source.Read(clip, [&](const TelemetryRecord& record) {
    if (record.valid) {
      r.fixes.push_back(record);
    } else {
      ++r.noFix;
    }
  });
  return r;
}

// A record's date and time on the clock it was written on, to compare as one value.
inline std::tuple<int, int, int, int, int, int> CivilOf(const TelemetryRecord& r) {
  return {r.year, r.month, r.day, r.hour, r.minute, r.second};
}

}  // namespace korvane::test
