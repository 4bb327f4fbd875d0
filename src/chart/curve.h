// One data series of the chart: its points, pen and the vertical axis it is drawn against.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ui_defs.h"

namespace DuiLib {

class CChartModel;

class CCurve {
 public:
  CCurve(std::string name, int axis, CChartModel* owner)
      : name(std::move(name)), chart(owner), axis(axis) {}
  virtual ~CCurve() = default;
  CCurve(const CCurve&) = default;
  CCurve& operator=(const CCurve&) = default;

  // `t`: the moment of the clip the point belongs to, in ms; −1 for none.
  void AddPoint(double x, double y, std::int32_t t = -1) {
    xs.push_back(x);
    ys.push_back(y);
    ts.push_back(t);
  }
  // Keeps name, pen and axis.
  void Clear() {
    xs.clear();
    ys.clear();
    ts.clear();
  }
  // Media time of point i in ms; −1 when it has none or i is not a point.
  std::int32_t TimeOf(std::size_t i) const { return i < ts.size() ? ts[i] : -1; }
  // Points held: the shorter of the two arrays decides.
  std::size_t PointCount() const { return xs.size() < ys.size() ? xs.size() : ys.size(); }

  std::string name;
  std::vector<double> xs;
  std::vector<double> ys;
  std::vector<std::int32_t> ts;  // media time per point, as AddPoint got it
  COLORREF color = 0xFF0000;     // 0x00BBGGRR
  int width = 1;
  int style = 0;                 // pen style: 0 solid, 2 dotted
  CChartModel* chart = nullptr;  // not owned
  int axis = 0;
};

}  // namespace DuiLib
