#include "chart/chart_math.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <utility>

namespace DuiLib {
namespace {

// Decimal exponent of one bound: the count of divisions by ten (or minus the count of
// multiplications) that bring it into 1 <= |v| < 10. Doubles stay within about ±330 steps.
int BoundExponent(double v) {
  if (!std::isfinite(v) || v == 0) return 0;
  int e = 0;
  while (v >= 10 || v <= -10) {
    v /= 10;
    ++e;
  }
  while (v > -1 && v < 1 && v != 0) {
    v *= 10;
    --e;
  }
  return e;
}

// Ticks narrower than this would paint a solid bar; such an axis gets no ticks at all.
constexpr double kMinMajorStepPx = 0.5;
// A bound on every tick walk, so that no input can make a paint loop for long.
constexpr int kMaxTickSteps = 100000;

bool UsableAxis(const TickPixels& axis) {
  return std::isfinite(axis.firstPx) && std::isfinite(axis.stepPx) &&
         axis.stepPx >= kMinMajorStepPx;
}

}  // namespace

RECT ParseInset(std::string_view value) {
  int numbers[4] = {0, 0, 0, 0};
  std::size_t at = 0;
  for (int& n : numbers) {
    if (at >= value.size()) break;
    const std::size_t start = at;
    while (at < value.size() && std::isspace(static_cast<unsigned char>(value[at]))) ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == '-' || value[at] == '+')) negative = value[at++] == '-';
    long long v = 0;
    const std::size_t digits = at;
    while (at < value.size() && value[at] >= '0' && value[at] <= '9') {
      v = std::min<long long>(v * 10 + (value[at++] - '0'), 1LL << 31);
    }
    if (at == digits) at = start;  // no number here: the next one starts one character on
    n = static_cast<int>(std::clamp<long long>(negative ? -v : v, INT_MIN, INT_MAX));
    ++at;  // the separator
  }
  return {numbers[0], numbers[1], numbers[2], numbers[3]};
}

double PowerOfTen(int exponent) {
  // Exact powers up to 10^22 come from repeated multiplication of exact integers; negative
  // exponents divide so that 1e-3 is the nearest double, as a literal would be.
  double p = 1;
  for (int i = 0; i < std::abs(exponent) && i < 400; ++i) p *= 10;
  return exponent < 0 ? 1 / p : p;
}

NormalisedRange NormaliseRange(double lo, double hi) {
  int m = std::max(BoundExponent(lo), BoundExponent(hi));
  if (m >= -2 && m <= 2) m = 0;
  if (m == 0) return {lo, hi, 0};
  const double scale = PowerOfTen(m);
  return {lo / scale, hi / scale, m};
}

TickStep ComputeTickStep(double lo, double hi) {
  double span = hi - lo;
  if (!std::isfinite(span) || span == 0) return {0, lo};
  const bool descending = span < 0;
  if (descending) span = -span;
  int bestError = 100;
  double bestStep = 0;
  for (const int m : {1, 2, 5}) {
    double q = span / m;
    int p = 0;
    while (q >= 20) {
      q /= 10;
      ++p;
    }
    while (q <= 1) {
      q *= 10;
      --p;
    }
    const int error = static_cast<int>(std::abs(std::trunc(q) - 5));
    if (error < bestError) {
      bestError = error;
      bestStep = m * PowerOfTen(p);
    }
  }
  if (descending) return {-bestStep, std::floor(lo / bestStep) * bestStep};
  return {bestStep, std::ceil(lo / bestStep) * bestStep};
}

TickPixels HorizontalTickPixels(double lo, double hi, int left, int right) {
  TickPixels out{ComputeTickStep(lo, hi)};
  if (out.ticks.step == 0) return out;
  const double width = right - left;
  out.stepPx = width / (hi - lo) * out.ticks.step;
  out.firstPx = (hi * left + width * out.ticks.first - lo * right) / (hi - lo);
  return out;
}

TickPixels VerticalTickPixels(double lo, double hi, int top, int bottom) {
  TickPixels out{ComputeTickStep(lo, hi)};
  if (out.ticks.step == 0) return out;
  out.stepPx = (bottom - top) / (hi - lo) * out.ticks.step;
  out.firstPx = ((top - bottom) * out.ticks.first + hi * bottom - lo * top) / (hi - lo);
  return out;
}

std::vector<TickMark> AxisTickMarks(const TickPixels& axis, int from, int to, bool minor) {
  std::vector<TickMark> marks;
  if (!UsableAxis(axis)) return marks;
  const int dir = to >= from ? 1 : -1;
  const auto at = [&](int r) {
    return TickMark{PixelRound(axis.firstPx + dir * (r * axis.stepPx / 5)), r % 5 == 0,
                    r * axis.ticks.step / 5 + axis.ticks.first};
  };
  const auto reachedFrom = [&](int px) { return dir * (px - from) >= 0; };
  const auto beforeTo = [&](int px) { return dir * (to - px) >= 0; };
  for (int r = 0; r < kMaxTickSteps; ++r) {
    const TickMark mark = at(r);
    if (!beforeTo(mark.px)) break;
    if (reachedFrom(mark.px) && (mark.major || minor)) marks.push_back(mark);
  }
  if (minor) {
    for (int r = -1; r > -kMaxTickSteps; --r) {
      TickMark mark = at(r);
      if (!reachedFrom(mark.px)) break;
      mark.major = false;  // the walk back only adds the short ticks before the first major one
      marks.push_back(mark);
    }
  }
  return marks;
}

std::vector<int> GridLines(const TickPixels& axis, int from, int to) {
  std::vector<int> lines;
  if (!UsableAxis(axis)) return lines;
  const int dir = to >= from ? 1 : -1;
  for (int r = 0; r < kMaxTickSteps; ++r) {
    const int px = PixelRound(axis.firstPx + dir * (r * axis.stepPx));
    if (dir * (px - from) > 0 && dir * (to - px) > 0) lines.push_back(px);
    if (dir * (to - px) <= 0) break;
  }
  return lines;
}

std::string TickLabel(double v, const std::string& unit) {
  const double whole = std::isfinite(v) ? std::trunc(std::clamp(v - 2.0, -1e8, 1e8)) : 0;
  const int n = static_cast<int>(whole) * 3;
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, n < 0 ? "%d%s" : " %d%s", n, unit.c_str());
  return buffer;
}

double RawXAtPixel(const RECT& plot, double xLo, double xHi, int xExp, int px) {
  const int width = plot.right - plot.left;
  const double scaled =
      width == 0 || xHi == xLo ? xLo : xLo + (px - plot.left) * (xHi - xLo) / width;
  return scaled * PowerOfTen(xExp);
}

PixelMap::PixelMap(const RECT& plot, double xLo, double xHi, double yLo, double yHi) {
  const double xSpan = xHi - xLo;
  const double ySpan = yHi - yLo;
  if (xSpan == 0) {
    xOffset_ = plot.left;
  } else {
    xScale_ = (plot.right - plot.left) / xSpan;
    xOffset_ = (plot.left * xHi - plot.right * xLo) / xSpan;
  }
  if (ySpan == 0) {
    yOffset_ = plot.bottom;
  } else {
    yScale_ = (plot.top - plot.bottom) / ySpan;
    yOffset_ = (plot.bottom * yHi - plot.top * yLo) / ySpan;
  }
}

ClipWindow ClipWindow::FromRanges(double xLo, double xHi, double yLo, double yHi) {
  return {std::min(xLo, xHi), std::max(xLo, xHi), std::min(yLo, yHi), std::max(yLo, yHi)};
}

ClippedSegment ClipSegment(ValuePoint p, ValuePoint q, const ClipWindow& w) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(q.x) || !std::isfinite(q.y)) {
    return {};
  }
  if (q.x < p.x) std::swap(p, q);
  const auto inside = [&w](ValuePoint v) { return w.Contains(v); };
  // The common case, and what the full rules below give for it.
  if (inside(p) && inside(q)) return {true, p, q};
  if (p.x > w.x2 || q.x < w.x1 || (p.y > w.y2 && q.y > w.y2) || (p.y < w.y1 && q.y < w.y1)) {
    return {};
  }
  if (p.x == q.x) {
    return {
        true, {p.x, std::max(w.y1, std::min(p.y, q.y))}, {p.x, std::min(w.y2, std::max(p.y, q.y))}};
  }
  if (p.y == q.y) {
    return {true, {std::max(w.x1, p.x), p.y}, {std::min(w.x2, q.x), p.y}};
  }
  const double slope = (q.y - p.y) / (q.x - p.x);
  const double yAtX1 = p.y + (w.x1 - p.x) * slope;
  const double yAtX2 = p.y + (w.x2 - p.x) * slope;
  const double xAtY1 = p.x + (w.y1 - p.y) / slope;
  const double xAtY2 = p.x + (w.y2 - p.y) / slope;
  if ((yAtX1 > w.y2 && yAtX2 > w.y2) || (yAtX1 < w.y1 && yAtX2 < w.y1)) return {};
  ClippedSegment out{true, p, q};
  if (!inside(p)) {
    if (yAtX1 >= w.y1 && yAtX1 <= w.y2) {
      out.a = {w.x1, yAtX1};
    } else if (yAtX1 < w.y1) {
      out.a = {xAtY1, w.y1};
    } else {
      out.a = {xAtY2, w.y2};
    }
  }
  if (!inside(q)) {
    if (yAtX2 > w.y2) {
      out.b = {xAtY2, w.y2};
    } else if (yAtX2 >= w.y1) {
      out.b = {w.x2, yAtX2};
    } else {
      out.b = {xAtY1, w.y1};
    }
  }
  return out;
}

}  // namespace DuiLib
