// What the chart control holds apart from being a control: its appearance settings, its curves,
// the scale state they are drawn against, the rules by which the ranges follow the data, and the
// lock that guards the curves' arrays. The control (zell_chart_ui.h) repaints when told to.
#pragma once
#include <atomic>
#include <limits>
#include <mutex>
#include <string>
#include <vector>

#include "chart/chart_math.h"
#include "chart/curve.h"
#include "framework/draw_context.h"
#include "telemetry/drive_event.h"

namespace DuiLib {

constexpr int kChartAxes = 4;

// A driving event on the chart: drawn at the curve point shown at its moment, with the text the
// hover box shows when the mouse is on it.
struct ChartEventMark {
  std::int32_t ms = 0;
  korvane::DriveEventKind kind = korvane::DriveEventKind::Braking;
  std::string text;
};

class CChartModel {
 public:
  CChartModel() = default;
  virtual ~CChartModel() = default;
  CChartModel(const CChartModel&) = delete;
  CChartModel& operator=(const CChartModel&) = delete;

  // Index of the new curve, or -1 (nothing added) for an axis outside 0..3.
  int AddCurve(const std::string& name, int axis);
  // First curve with exactly this name, or null.
  CCurve* FindCurve(const std::string& name);

  // Normalise the pair into the visible x range; any pair is accepted.
  void SetXRange(double lo, double hi);
  // Normalise the pair into axis 0 and derive axes 1..3 through their links.
  void SetYRange(double lo, double hi);
  // Links axes 1..3 to axis 0 by their data ranges; a zero axis-0 span keeps the old links.
  void UpdateAxisLinks();
  // Grow the x range to the data (no margin). No points: nothing happens, not even a repaint.
  void FitXRange();
  // Grow axis 0 to cover its curves' data, the covered span taking `fill` of the new one.
  // A fill that is not positive and finite changes nothing.
  void FitYRange(double fill);

  // Nothing is painted while 0. Atomic because the set-up may run on another thread than the
  // paints: it is set last, so a paint that sees 1 sees the whole set-up.
  std::atomic<int> ready{0};
  std::string unit;
  LOGFONT font{16, 0, 0, false, false, "Arial"};  // the tick labels' font
  int verticalGrid = 0;
  int horizontalGrid = 0;
  COLORREF gridColor = 0x202020;
  COLORREF frameColor = 0;
  COLORREF axisColor[kChartAxes] = {0, 0, 0, 0};
  int frameWidth = 1;
  int axisWidth[kChartAxes] = {0, 0, 0, 0};
  int xMinorTicks = 0;
  int axisMinorTicks[kChartAxes] = {0, 0, 0, 0};
  RECT inset;
  int axisSide[kChartAxes] = {-1, 1, -1, 1};
  int axisOffset[kChartAxes] = {0, 0, -50, 50};
  int axisEnabled[kChartAxes] = {1, 0, 0, 0};
  int gridAxis = 0;

  // Guards the curves' arrays against concurrent change; painting does not take it.
  std::mutex dataLock;
  std::vector<CCurve> curves;

  // Scale state: visible ranges scaled by 10^exponent, data ranges raw.
  double xLo = 0, xHi = 1;
  double yLo[kChartAxes] = {0, 0, 0, 0};
  double yHi[kChartAxes] = {1, 1, 1, 1};
  double xDataLo = 0, xDataHi = 1;
  double yDataLo[kChartAxes] = {0, 0, 0, 0};
  double yDataHi[kChartAxes] = {1, 1, 1, 1};
  int xExp = 0;
  int yExp[kChartAxes] = {0, 0, 0, 0};
  double linkFactor[kChartAxes] = {1, 1, 1, 1};
  double linkOffset[kChartAxes] = {0, 0, 0, 0};

  // Plot area of the last paint, in window coordinates.
  RECT plotRect;
  // Marks over the curves, raw x; NaN for none: the moment being played, and the point the mouse
  // is on with the text describing it.
  double cursorX = std::numeric_limits<double>::quiet_NaN();
  double hoverX = std::numeric_limits<double>::quiet_NaN();
  std::string hoverText;
  // The clip's driving events; only a change of file replaces them. Set on the UI thread.
  std::vector<ChartEventMark> eventMarks;
  // The part of a marked stretch in this clip, ms of the clip, tinted behind the curves over the
  // points it holds; −1 for none. Set on the UI thread.
  std::int64_t stretchFromMs = -1;
  std::int64_t stretchToMs = -1;
  // A text in the middle of the plot saying why there are no curves (a clip without G values);
  // empty for none. Set on the UI thread.
  std::string notice;

  // Asks for a repaint; the control invalidates itself, a bare model ignores it.
  virtual void RequestRepaint() {}
};

}  // namespace DuiLib
