#include "chart/chart_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace DuiLib {
namespace {

struct Extent {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  bool empty() const { return lo > hi; }
  void Add(double v) {
    if (!std::isfinite(v)) return;  // a broken sample must not stretch the axes
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
};

}  // namespace

int CChartModel::AddCurve(const std::string& name, int axis) {
  if (axis < 0 || axis >= kChartAxes) return -1;
  curves.push_back(CCurve(name, axis, this));
  return static_cast<int>(curves.size()) - 1;
}

CCurve* CChartModel::FindCurve(const std::string& name) {
  const auto it =
      std::find_if(curves.begin(), curves.end(), [&](const CCurve& c) { return c.name == name; });
  return it == curves.end() ? nullptr : &*it;
}

void CChartModel::SetXRange(double lo, double hi) {
  const NormalisedRange r = NormaliseRange(lo, hi);
  xLo = r.lo;
  xHi = r.hi;
  xExp = r.exponent;
}

void CChartModel::SetYRange(double lo, double hi) {
  const NormalisedRange r0 = NormaliseRange(lo, hi);
  yLo[0] = r0.lo;
  yHi[0] = r0.hi;
  yExp[0] = r0.exponent;
  const double scale0 = PowerOfTen(yExp[0]);
  for (int k = 1; k < kChartAxes; ++k) {
    const double lowRaw = yLo[0] * scale0 * linkFactor[k] + linkOffset[k];
    const double highRaw = linkOffset[k] + linkFactor[k] * (yHi[0] * scale0);
    const NormalisedRange r = NormaliseRange(lowRaw, highRaw);
    yLo[k] = r.lo;
    yHi[k] = r.hi;
    yExp[k] = r.exponent;
  }
}

void CChartModel::UpdateAxisLinks() {
  const double span0 = yDataHi[0] - yDataLo[0];
  if (span0 == 0 || !std::isfinite(span0)) return;
  for (int k = 1; k < kChartAxes; ++k) {
    linkFactor[k] = (yDataHi[k] - yDataLo[k]) / span0;
    linkOffset[k] = yDataLo[k] - yDataLo[0] * linkFactor[k];
  }
}

void CChartModel::FitXRange() {
  Extent x;
  for (const CCurve& c : curves) {
    for (std::size_t i = 0, n = c.PointCount(); i < n; ++i) x.Add(c.xs[i]);
  }
  if (x.empty()) return;
  bool changed = false;
  if (x.lo != x.hi) {
    if (x.hi > xDataHi) {
      xDataHi = x.hi;
      if (x.lo < xDataLo) xDataLo = x.lo;
      changed = true;
    } else if (x.lo < xDataLo) {
      xDataLo = x.lo;
      changed = true;
    }
  }
  if (changed) SetXRange(xDataLo, xDataHi);
  RequestRepaint();
}

void CChartModel::FitYRange(double fill) {
  if (!(fill > 0) || !std::isfinite(fill)) return;
  Extent y;
  for (const CCurve& c : curves) {
    if (c.axis != 0) continue;
    for (std::size_t i = 0, n = c.PointCount(); i < n; ++i) y.Add(c.ys[i]);
  }
  if (y.empty()) return;
  const double lo = yDataLo[0];
  const double hi = yDataHi[0];
  if (y.lo != y.hi && (y.hi > hi || y.lo < lo)) {
    const double a = y.lo < lo ? y.lo : lo;
    const double b = y.hi > hi ? y.hi : hi;
    const double centre = (a + b) / 2;
    const double halfWidth = (b - a) * (1 / fill) / 2;
    yDataLo[0] = centre - halfWidth;
    yDataHi[0] = centre + halfWidth;
    UpdateAxisLinks();
    SetYRange(yDataLo[0], yDataHi[0]);
  }
  RequestRepaint();
}

}  // namespace DuiLib
