// The main window's hold on the acceleration chart: sets it up, feeds it the new chunks of the
// track store as three curves (X, Y and Z acceleration) and empties it between files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chart/chart_model.h"

namespace korvane {

class CTrackStore;

inline constexpr const char* kAccCurveNames[3] = {"XAcceleration", "YAcceleration",
                                                  "ZAcceleration"};
// Track position that one track point advances: five points per x unit.
constexpr double kAccStepX = 0.2;
constexpr double kAccFill = 0.8;

struct ChartBinding {
  DuiLib::CChartModel* chart = nullptr;  // not owned
  double nextX = 0;
  bool gValues = true;  // false: the clip's track has no G values (ShowNoGValues)

  // Gives the chart its look, its ranges and its three curves, and marks it ready. Null: nothing.
  void InitAccChart(DuiLib::CChartModel* target);
  // Empties the three curves, takes the cursor, hover marks and notice away and starts x at 0
  // again, ready for G values; the ranges stay. Not set up: nothing.
  void ResetAccChart();
  // The clip's track has no G values: no curves are drawn from it until the next reset, and
  // `text` says so in the middle of the plot.
  void ShowNoGValues(const std::string& text);
  // Empties the named curve under the chart's data lock; an unknown name does nothing.
  void ClearAccCurve(const std::string& name);
  // Appends the valid points of the store's chunks consumedChunks .. `readyChunks` - 1 (the count
  // the caller read once for every consumer), each with its media time, and widens the ranges.
  // Before the set-up, with a curve missing, without a store or without G values: nothing.
  void AppendAccData(const CTrackStore* store, std::int32_t readyChunks);

  // Marks the clip's driving events, replacing the marks shown (none: removes them). The resets
  // between moments of the same file keep them.
  void SetEventMarks(std::vector<DuiLib::ChartEventMark> marks);

  // Tints the part [fromMs, toMs] of a marked stretch that lies in the clip; −1 for none. Repaints
  // only on a change; the resets keep it, as the window sets it again whenever the marks or the
  // clip change.
  void SetStretch(std::int64_t fromMs, std::int64_t toMs);

  // Puts the cursor on the point shown at `seconds` of the clip; none for a negative time or a
  // moment the curves hold no point for. Repaints only when it moved.
  void SetCursor(double seconds);
  // The point nearest pixel column `px` of the plot: its X, Y and Z readings in G beside a line
  // there; on an event mark, the mark's text instead. A column outside the plot, or no timed
  // point, hides them. Repaints only on a change.
  void HoverAt(int px);
  void EndHover() { HoverAt(kNoColumn); }
  // Media time (ms) of the event mark at pixel column `px`, else of the point nearest it; −1
  // outside the plot or without one.
  std::int32_t TimeAtPixel(int px);

 private:
  static constexpr int kNoColumn = -1'000'000;
  // Index of the X curve's timed point nearest column `px`, under the data lock; −1 for none.
  int PointAtColumn(int px);
  // The event mark drawn within a few pixels of column `px`, under the data lock; null for none.
  const DuiLib::ChartEventMark* MarkAtColumn(int px);
};

}  // namespace korvane
