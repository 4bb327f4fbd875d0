// The chart's arithmetic, free of any drawing: decimal normalisation of ranges, tick steps, tick
// pixel positions, the value-to-pixel mapping, segment clipping and tick label text.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ui_defs.h"

namespace DuiLib {

struct ValuePoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const ValuePoint&, const ValuePoint&) = default;
};

// Four base-10 integers (left, top, right, bottom), each read from one character after the end of
// the previous one, so any single separator works: "10,5,10,20". Missing or malformed numbers
// read as 0; out-of-range numbers saturate.
RECT ParseInset(std::string_view value);

// A range written as scaled bounds times 10^exponent.
struct NormalisedRange {
  double lo = 0;
  double hi = 1;
  int exponent = 0;
};

// Splits (lo, hi) into scaled bounds and one decimal exponent; ranges whose larger bound exponent
// lies within -2..2 stay unscaled. A non-finite bound counts as exponent 0 and is kept as it is.
NormalisedRange NormaliseRange(double lo, double hi);

// 10^exponent, exact for the small exponents the chart uses.
double PowerOfTen(int exponent);

struct TickStep {
  double step = 0;   // negative for a descending range
  double first = 0;  // value of the first major tick
};

// A major step of 1, 2 or 5 times a power of ten cutting (lo, hi) into about five parts, and the
// first major tick. Equal or non-finite bounds give step 0 (no ticks) and first = lo.
TickStep ComputeTickStep(double lo, double hi);

// The nearest pixel, halves rounded up, clamped to a range every painter accepts; NaN gives 0.
inline int PixelRound(double v) {
  constexpr double kLimit = 1 << 30;
  if (!(v > -kLimit)) return v != v ? 0 : -(1 << 30);  // NaN, or far below
  if (v > kLimit) return 1 << 30;
  // floor(v + 0.5) without a library call; not a cast's truncation, so that -0.5 does not land
  // on pixel 0 and put a tick for a value beyond the range onto the edge.
  const double h = v + 0.5;
  const int i = static_cast<int>(h);
  return i > h ? i - 1 : i;
}

// Where the major ticks of one axis fall in pixels: the first one and the distance between two.
struct TickPixels {
  TickStep ticks;
  double firstPx = 0;
  double stepPx = 0;  // 0 when the axis has no usable ticks
};

// The x axis runs from pixel `left` (value lo) to `right` (value hi); a zero span gives stepPx 0.
TickPixels HorizontalTickPixels(double lo, double hi, int left, int right);
// The vertical axis runs from pixel `bottom` (value lo) up to `top` (value hi).
TickPixels VerticalTickPixels(double lo, double hi, int top, int bottom);

// One tick mark along an axis. Minor ticks lie a fifth of a major step apart.
struct TickMark {
  int px = 0;
  bool major = false;
  double value = 0;
  friend bool operator==(const TickMark&, const TickMark&) = default;
};

// Major (and, with `minor`, minor) ticks from `from` to `to` inclusive, walking from the first
// major tick in the direction of `to` and then, for minor ticks, back towards `from`. Pixel
// positions are rounded as the painter places them. An unusable step gives no ticks.
std::vector<TickMark> AxisTickMarks(const TickPixels& axis, int from, int to, bool minor);

// Grid line positions at the major ticks strictly between `from` and `to`.
std::vector<int> GridLines(const TickPixels& axis, int from, int to);

// Tick label: the integer part of (v - 2) times 3, then `unit`; a space stands where a minus sign
// would. Cut to 511 bytes like the fixed label buffer.
std::string TickLabel(double v, const std::string& unit);

// Maps scaled values onto a plot rectangle: xLo to left, xHi to right, yLo to bottom, yHi to top.
// A zero span maps every value onto the low edge (left or bottom).
class PixelMap {
 public:
  PixelMap(const RECT& plot, double xLo, double xHi, double yLo, double yHi);
  POINT DataToPixel(double x, double y) const {
    return {PixelRound(x * xScale_ + xOffset_), PixelRound(y * yScale_ + yOffset_)};
  }

 private:
  // px = x * xScale + xOffset, worked out once: a paint maps hundreds of thousands of points.
  double xScale_ = 0, xOffset_ = 0, yScale_ = 0, yOffset_ = 0;
};

// The raw x value under pixel column `px` of `plot`, the inverse of the painter's mapping of
// the visible range xLo … xHi (scaled by 10^xExp); xLo for a plot or a range of no width.
double RawXAtPixel(const RECT& plot, double xLo, double xHi, int xExp, int px);

// The visible window of a clip in scaled units; its edges belong to it.
struct ClipWindow {
  double x1 = 0, x2 = 1, y1 = 0, y2 = 1;  // x1 <= x2, y1 <= y2
  static ClipWindow FromRanges(double xLo, double xHi, double yLo, double yHi);
  bool Contains(ValuePoint v) const { return v.x >= x1 && v.x <= x2 && v.y >= y1 && v.y <= y2; }
};

struct ClippedSegment {
  bool visible = false;
  ValuePoint a;
  ValuePoint b;
};

// The part of segment p-q (already scaled) inside the window, ordered by x; a segment with both
// ends inside stays whole. Segments with a non-finite end are invisible.
ClippedSegment ClipSegment(ValuePoint p, ValuePoint q, const ClipWindow& window);

}  // namespace DuiLib
