#include "chart/chart_painter.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "chart/chart_cursor.h"

namespace DuiLib {
namespace {

constexpr int kMajorTick = 6;
constexpr int kMinorTick = 3;
constexpr COLORREF kCursorColor = 0x0000A5FF;  // orange, apart from the three curves
constexpr int kCursorWidth = 2;
constexpr COLORREF kHoverColor = 0x00FFFFFF;
constexpr DWORD kBoxBackground = 0xD0202020;  // ARGB: dark, a little see-through
constexpr int kBoxGap = 6;
constexpr int kBoxPadding = 4;
constexpr int kEventWidth = 2;
constexpr int kEventFlag = 8;  // the square at the top of an event's line
// ARGB: the amber of the progress bar's stretch, faint enough for the curves to show through.
constexpr DWORD kStretchFill = 0x50E8B04A;

struct EventColour {
  COLORREF pen;  // 0x00BBGGRR
  DWORD fill;    // 0xAARRGGBB, the same colour
};
EventColour ColourOf(korvane::DriveEventKind kind) {
  switch (kind) {
    case korvane::DriveEventKind::Braking:
      return {0x002530D9, 0xFFD93025};
    case korvane::DriveEventKind::Acceleration:
      return {0x00559D1F, 0xFF1F9D55};
    case korvane::DriveEventKind::Cornering:
      return {0x00C1AC00, 0xFF00ACC1};  // cyan, apart from the orange cursor
    case korvane::DriveEventKind::Impact:
      break;
  }
  return {0x00AA248E, 0xFF8E24AA};
}

void PaintGrid(const CChartModel& chart, const ChartTicks& ticks, const RECT& plot,
               IChartCanvas& canvas) {
  std::vector<POINT> ends;
  if (chart.verticalGrid) {
    for (const int x : GridLines(ticks.x, plot.left, plot.right)) {
      ends.insert(ends.end(), {{x, plot.bottom}, {x, plot.top}});
    }
  }
  const int g = chart.gridAxis;
  if (g >= 0 && g < kChartAxes && chart.axisEnabled[g] && chart.horizontalGrid) {
    for (const int y : GridLines(ticks.y[g], plot.bottom, plot.top)) {
      ends.insert(ends.end(), {{plot.left, y}, {plot.right, y}});
    }
  }
  if (ends.empty()) return;
  canvas.SetPen({PS_DOT, 1, chart.gridColor});
  canvas.Lines(ends.data(), ends.size() / 2);
}

void PaintFrameAndXTicks(const CChartModel& chart, const ChartTicks& ticks, const RECT& plot,
                         IChartCanvas& canvas) {
  canvas.SetPen({PS_SOLID, chart.frameWidth, chart.frameColor});
  canvas.SetTextColor(chart.frameColor);
  std::vector<POINT> ends = {{plot.left, plot.bottom},
                             {plot.right, plot.bottom},
                             {plot.left, plot.top},
                             {plot.right, plot.top}};
  for (const TickMark& t : AxisTickMarks(ticks.x, plot.left, plot.right, chart.xMinorTicks)) {
    const int len = t.major ? kMajorTick : kMinorTick;
    ends.insert(
        ends.end(),
        {{t.px, plot.bottom}, {t.px, plot.bottom - len}, {t.px, plot.top}, {t.px, plot.top + len}});
  }
  canvas.Lines(ends.data(), ends.size() / 2);
}

void PaintAxis(const CChartModel& chart, int k, const TickPixels& ticks, const RECT& plot,
               IChartCanvas& canvas) {
  const int s = chart.axisSide[k] < 0 ? -1 : 1;
  const int x = (s < 0 ? plot.left : plot.right) + chart.axisOffset[k];
  canvas.SetPen({PS_SOLID, chart.axisWidth[k], chart.axisColor[k]});
  const POINT axis[] = {{x, plot.bottom}, {x, plot.top},
                        {x, plot.bottom}, {x - kMajorTick * s, plot.bottom},
                        {x, plot.top},    {x - kMajorTick * s, plot.top}};
  canvas.Lines(axis, std::size(axis) / 2);
  const int halfHeight = canvas.TextHeight() / 2;
  canvas.SetTextColor(chart.axisColor[k]);
  for (const TickMark& t : AxisTickMarks(ticks, plot.bottom, plot.top, chart.axisMinorTicks[k])) {
    const int len = t.major ? kMajorTick : kMinorTick;
    canvas.Line({x, t.px}, {x - len * s, t.px});
    if (t.major) canvas.Text({x + 20 * s - 4, t.px - halfHeight}, TickLabel(t.value, chart.unit));
  }
}

}  // namespace

namespace {

int TextBoxWidth(const std::string& text, IChartCanvas& canvas) {
  return canvas.TextWidth(text) + 2 * kBoxPadding;
}

// A text in a box of the hover colours, its top left corner at `at`.
void PaintTextBox(const std::string& text, POINT at, IChartCanvas& canvas) {
  const RECT box{at.x, at.y, at.x + TextBoxWidth(text, canvas), at.y + canvas.TextHeight() + 2};
  canvas.Fill(box, kBoxBackground);
  canvas.SetTextColor(kHoverColor);
  canvas.Text({at.x + kBoxPadding, box.top + 1}, text);
}

}  // namespace

void PaintMarks(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas) {
  const double scale = PowerOfTen(chart.xExp);
  const ClipWindow window = ClipWindow::FromRanges(chart.xLo, chart.xHi, 0, 0);
  const PixelMap map(plot, chart.xLo, chart.xHi, 0, 1);
  // The column of raw x, or nothing when it is not a number or outside the visible range.
  const auto column = [&](double rawX) -> std::optional<int> {
    const double x = rawX / scale;
    if (!(x >= window.x1 && x <= window.x2)) return std::nullopt;
    return map.DataToPixel(x, 0).x;
  };
  if (!chart.curves.empty()) {
    for (const ChartEventMark& mark : chart.eventMarks) {
      const auto x = column(XShownAt(chart.curves.front(), mark.ms));
      if (!x) continue;
      const EventColour colour = ColourOf(mark.kind);
      canvas.SetPen({PS_SOLID, kEventWidth, colour.pen});
      canvas.Line({*x, plot.bottom}, {*x, plot.top});
      canvas.Fill({*x - kEventFlag / 2, plot.top, *x + kEventFlag / 2, plot.top + kEventFlag},
                  colour.fill);
    }
  }
  if (const auto x = column(chart.cursorX)) {
    canvas.SetPen({PS_SOLID, kCursorWidth, kCursorColor});
    canvas.Line({*x, plot.bottom}, {*x, plot.top});
  }
  const auto x = column(chart.hoverX);
  if (!x) return;
  canvas.SetPen({PS_DOT, 1, kHoverColor});
  canvas.Line({*x, plot.bottom}, {*x, plot.top});
  if (chart.hoverText.empty()) return;
  // The box goes right of the line, else left of it, else as far right as the plot lets it.
  const int width = TextBoxWidth(chart.hoverText, canvas);
  int left = *x + kBoxGap;
  if (left + width > plot.right) left = *x - kBoxGap - width;
  if (left < plot.left) left = std::max(plot.left, plot.right - width);
  PaintTextBox(chart.hoverText, {left, plot.top + kBoxGap}, canvas);
}

void PaintStretch(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas) {
  if (chart.curves.empty() || chart.stretchFromMs < 0 || chart.stretchToMs < chart.stretchFromMs) {
    return;
  }
  const auto span = XSpanOf(chart.curves.front(), chart.stretchFromMs, chart.stretchToMs);
  if (!span) return;
  const double scale = PowerOfTen(chart.xExp);
  const PixelMap map(plot, chart.xLo, chart.xHi, 0, 1);
  const int left = std::max<int>(plot.left, map.DataToPixel(span->first / scale, 0).x);
  // At least a column wide: a stretch of one point still shows.
  const int right =
      std::min<int>(plot.right, std::max(left + 1, map.DataToPixel(span->second / scale, 0).x));
  if (left >= right) return;  // wholly outside the visible range
  canvas.Fill({left, plot.top, right, plot.bottom}, kStretchFill);
}

void PaintNotice(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas) {
  if (chart.notice.empty()) return;
  const int width = TextBoxWidth(chart.notice, canvas);
  const int height = canvas.TextHeight() + 2;
  PaintTextBox(chart.notice,
               {std::max(plot.left, (plot.left + plot.right - width) / 2),
                (plot.top + plot.bottom - height) / 2},
               canvas);
}

RECT PlotRect(const RECT& pos, const RECT& inset) {
  return {pos.left + inset.left, pos.top + inset.top, pos.right - inset.right,
          pos.bottom - inset.bottom};
}

ChartTicks UpdateTicks(const CChartModel& chart, const RECT& plot) {
  ChartTicks ticks;
  ticks.x = HorizontalTickPixels(chart.xLo, chart.xHi, plot.left, plot.right);
  for (int k = 0; k < kChartAxes; ++k) {
    if (chart.axisEnabled[k]) {
      ticks.y[k] = VerticalTickPixels(chart.yLo[k], chart.yHi[k], plot.top, plot.bottom);
    }
  }
  return ticks;
}

void PaintChartBackground(const CChartModel& chart, const RECT& pos, DWORD background,
                          DWORD plotBackground, IChartCanvas& canvas) {
  if (!chart.ready) return;
  canvas.Fill(pos, background);
  canvas.Fill(PlotRect(pos, chart.inset), plotBackground);
}

void PaintCurve(const CChartModel& chart, const CCurve& curve, const RECT& plot,
                IChartCanvas& canvas) {
  const std::size_t n = curve.PointCount();
  const int a = curve.axis;
  if (n < 2 || a < 0 || a >= kChartAxes) return;
  const double xScale = PowerOfTen(chart.xExp);
  const double yScale = PowerOfTen(chart.yExp[a]);
  const ClipWindow window =
      ClipWindow::FromRanges(chart.xLo, chart.xHi, chart.yLo[a], chart.yHi[a]);
  const PixelMap map(plot, chart.xLo, chart.xHi, chart.yLo[a], chart.yHi[a]);
  // Reused across paints: a long curve would otherwise allocate (and fault in) a fresh buffer
  // every time.
  thread_local std::vector<POINT> ends;
  ends.clear();
  ends.reserve(2 * (n - 1));
  const auto scaled = [&](std::size_t i) {
    return ValuePoint{curve.xs[i] / xScale, curve.ys[i] / yScale};
  };
  // Each point is mapped to pixels once; only segments that leave the window go through the full
  // clipping rules, which keep a segment with both ends inside whole (ordered by x).
  ValuePoint prev = scaled(0);
  bool prevInside = window.Contains(prev);
  POINT prevPx = map.DataToPixel(prev.x, prev.y);
  for (std::size_t i = 1; i < n; ++i) {
    const ValuePoint next = scaled(i);
    const bool nextInside = window.Contains(next);
    const POINT nextPx = map.DataToPixel(next.x, next.y);
    if (prevInside && nextInside) {
      const bool backwards = next.x < prev.x;
      ends.push_back(backwards ? nextPx : prevPx);
      ends.push_back(backwards ? prevPx : nextPx);
    } else if (const ClippedSegment part = ClipSegment(prev, next, window); part.visible) {
      ends.push_back(map.DataToPixel(part.a.x, part.a.y));
      ends.push_back(map.DataToPixel(part.b.x, part.b.y));
    }
    prev = next;
    prevInside = nextInside;
    prevPx = nextPx;
  }
  if (ends.empty()) return;
  canvas.SetPen({curve.style, curve.width, curve.color});
  canvas.Lines(ends.data(), ends.size() / 2);
}

void PaintChartContent(const CChartModel& chart, const RECT& plot, IChartCanvas& canvas) {
  if (!chart.ready) return;
  const ChartTicks ticks = UpdateTicks(chart, plot);
  canvas.Save();
  LOGFONT font = chart.font;
  font.lfEscapement = 0;
  canvas.SetFont(font);
  PaintStretch(chart, plot, canvas);
  PaintGrid(chart, ticks, plot, canvas);
  for (const CCurve& curve : chart.curves) PaintCurve(chart, curve, plot, canvas);
  PaintMarks(chart, plot, canvas);
  PaintNotice(chart, plot, canvas);
  canvas.RemoveClip();
  PaintFrameAndXTicks(chart, ticks, plot, canvas);
  for (int k = 0; k < kChartAxes; ++k) {
    if (chart.axisEnabled[k]) PaintAxis(chart, k, ticks.y[k], plot, canvas);
  }
  canvas.Restore();
}

}  // namespace DuiLib
