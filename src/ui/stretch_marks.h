// The stretch the window saves: the start and end marks the I and O keys set at the playing
// moment, and "this moment" of the S key. Pure rules; the marks are clip offsets, which the save
// turns into camera time with the clips' own clocks, so a stretch may run across clips.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "export/stretch_plan.h"

namespace korvane {

struct MarkedStretch {
  StretchTime from;
  StretchTime to;
};

class CStretchMarks {
 public:
  // Sets one mark at `ms` into `clip`, replacing the earlier mark of that end. When the other end
  // is marked too the pair is the stretch to save now, and both marks are cleared so the next
  // stretch starts afresh; a reversed pair is handed on as it is, for the save to refuse it.
  std::optional<MarkedStretch> MarkStart(const std::string& clip, std::int64_t ms);
  std::optional<MarkedStretch> MarkEnd(const std::string& clip, std::int64_t ms);

  const std::optional<StretchTime>& start() const { return start_; }
  const std::optional<StretchTime>& end() const { return end_; }

 private:
  std::optional<MarkedStretch> Pair();

  std::optional<StretchTime> start_;
  std::optional<StretchTime> end_;
};

// "This moment": `reachSeconds` before to `reachSeconds` after `ms` into `clip`; the ends may
// lie before the clip's start or after its end, where the clips around it take over.
MarkedStretch MomentStretch(const std::string& clip, std::int64_t ms, int reachSeconds);

}  // namespace korvane
