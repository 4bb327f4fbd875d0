// Paints a chart model through a canvas: background, plot area, grid, curves, frame, x ticks and
// the vertical axes with their labels. All positions come from chart_math.h.
#pragma once
#include "chart/chart_canvas.h"
#include "chart/chart_model.h"

namespace DuiLib {

struct ChartTicks {
  TickPixels x;
  TickPixels y[kChartAxes];  // only enabled axes are filled in
};

// The control's rectangle shrunk by the inset margins.
RECT PlotRect(const RECT& pos, const RECT& inset);

// Major tick steps and their pixel positions for the x axis and every enabled vertical axis.
ChartTicks UpdateTicks(const CChartModel& chart, const RECT& plot);

// The control's background and the plot area; nothing at all before the chart is set up.
void PaintChartBackground(const CChartModel& chart, const RECT& pos, DWORD background,
                          DWORD plotBackground, IChartCanvas& canvas);

// The marked stretch's band behind the curves, over the points it holds, held to the plot.
void PaintStretch(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas);

// The stretch's band, grid, curves, frame, ticks and axes inside `plot`; nothing before the chart
// is set up.
void PaintChartContent(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas);

// The moment being played (a solid line at cursorX) and the point under the mouse (a dotted line
// at hoverX with hoverText in a box beside it), where they fall inside the visible x range.
void PaintMarks(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas);

// The chart's notice in a box of the hover colours in the middle of the plot; nothing without one.
void PaintNotice(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas);

// Every segment of the curve that shows in the visible window, each clipped on its own. A curve
// with fewer than two points, or on an axis outside 0..3, draws nothing.
void PaintCurve(const CChartModel& chart, const CCurve& curve, const RECT& plot,
                IChartCanvas& canvas);

}  // namespace DuiLib
