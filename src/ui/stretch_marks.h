// The stretch the window saves: the start and end marks the I and O keys (and their two buttons)
// set at the playing moment, "this moment" of the S key, and where the marked stretch lies in the
// playing clip for the progress bar and the chart. Pure rules; the marks are clip offsets, which
// the save turns into camera time with the clips' own clocks, so a stretch may run across clips.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "export/stretch_plan.h"

namespace korvane {

struct MarkedStretch {
  StretchTime from;
  StretchTime to;
};

// The marks the window shows; either may be missing.
struct ShownMarks {
  std::optional<StretchTime> start;
  std::optional<StretchTime> end;
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

  // The stretch a save is writing, shown until the save ends so the user sees what goes into the
  // file although its marks are spent.
  void SaveStarted(const MarkedStretch& stretch) { saving_ = stretch; }
  void SaveEnded() { saving_.reset(); }
  // The marks waiting for their pair when there are any (the next stretch being marked), else
  // the stretch being saved, else none.
  ShownMarks Shown() const;

 private:
  std::optional<MarkedStretch> Pair();

  std::optional<StretchTime> start_;
  std::optional<StretchTime> end_;
  std::optional<MarkedStretch> saving_;
};

// Where the shown stretch lies in the playing clip, in ms of the clip: a tick for each mark that
// lies in it, and the part of the stretch inside it to tint. FractionOf gives the share of the
// clip's length, as the progress bar draws it.
struct StretchInClip {
  std::int64_t durationMs = 0;
  std::optional<std::int64_t> startTickMs;
  std::optional<std::int64_t> endTickMs;
  std::optional<std::int64_t> tintFromMs;  // both or neither; from before to
  std::optional<std::int64_t> tintToMs;
  double FractionOf(std::int64_t ms) const;
  friend bool operator==(const StretchInClip&, const StretchInClip&) = default;
};

// Places `marks` in `clip` of `durationMs`. `orderOf` gives a clip's place in the play order
// (nullopt: not known), which says whether a mark in another clip lies before or after this one:
// then the stretch's part in this clip is tinted from its start, or to its end, or all of it when
// the stretch runs right across. A mark whose clip has no known place counts as missing. A mark of
// this clip outside 0..durationMs (a moment reaching into the clips around) has no tick and tints
// from this clip's start or to its end. A reversed stretch is tinted nowhere; its ticks stay. No
// length: nothing.
StretchInClip PlaceStretch(const ShownMarks& marks, const std::string& clip,
                           std::int64_t durationMs,
                           const std::function<std::optional<int>(const std::string&)>& orderOf);

// "This moment": `reachSeconds` before to `reachSeconds` after `ms` into `clip`; the ends may
// lie before the clip's start or after its end, where the clips around it take over.
MarkedStretch MomentStretch(const std::string& clip, std::int64_t ms, int reachSeconds);

}  // namespace korvane
