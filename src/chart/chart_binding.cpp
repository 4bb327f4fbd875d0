#include "chart/chart_binding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "chart/chart_cursor.h"
#include "telemetry/track_store.h"

namespace korvane {

using DuiLib::CChartModel;
using DuiLib::CCurve;

void ChartBinding::InitAccChart(CChartModel* target) {
  if (!target) return;
  chart = target;
  CChartModel& c = *target;
  c.gridColor = 0x808040;
  c.unit = std::string("G");  // a move: GCC 12 warns falsely on assigning a literal here
  const DuiLib::COLORREF axisColors[DuiLib::kChartAxes] = {0xFFFFFF, 0x00DCFF, 0xFF96FF, 0x00FF78};
  for (int k = 0; k < DuiLib::kChartAxes; ++k) c.axisColor[k] = axisColors[k];
  c.axisWidth[2] = c.axisWidth[3] = 2;
  c.frameColor = 0xFFFFFF;
  c.frameWidth = 2;
  c.axisSide[2] = -1;
  c.axisOffset[2] = -70;
  c.axisSide[3] = 1;
  c.axisOffset[3] = 70;
  c.yDataLo[0] = 0;
  c.yDataHi[0] = 4000;
  c.UpdateAxisLinks();
  c.SetYRange(0, 4000);
  c.xDataLo = 0;
  c.xDataHi = 16;
  c.SetXRange(0, 16);
  c.xMinorTicks = 1;
  const DuiLib::COLORREF curveColors[3] = {0x0000FF, 0x00FF00, 0x00FFFF};
  for (int i = 0; i < 3; ++i) {
    const int index = c.AddCurve(kAccCurveNames[i], 0);
    if (index < 0) continue;
    CCurve& curve = c.curves[index];
    curve.color = curveColors[i];
    curve.width = 1;
    curve.style = DuiLib::PS_SOLID;
  }
  c.ready = 1;
  c.RequestRepaint();
}

void ChartBinding::ResetAccChart() {
  nextX = 0;
  gValues = true;
  for (const char* name : kAccCurveNames) ClearAccCurve(name);
  if (!chart) return;
  // The cursor and the hover mark stood on points that are gone.
  chart->cursorX = chart->hoverX = std::numeric_limits<double>::quiet_NaN();
  chart->hoverText.clear();
  chart->notice.clear();
  chart->RequestRepaint();
}

void ChartBinding::ShowNoGValues(const std::string& text) {
  gValues = false;
  if (!chart) return;
  chart->notice = text;
  chart->RequestRepaint();
}

void ChartBinding::ClearAccCurve(const std::string& name) {
  if (!chart) return;
  CCurve* curve = chart->FindCurve(name);
  if (!curve) return;
  std::lock_guard lock(chart->dataLock);
  curve->Clear();
}

void ChartBinding::AppendAccData(const CTrackStore* store, std::int32_t readyChunks) {
  if (!chart || !store || !gValues) return;
  CCurve* curves[3];
  for (int i = 0; i < 3; ++i) {
    curves[i] = chart->FindCurve(kAccCurveNames[i]);
    if (!curves[i]) return;
  }
  {
    std::lock_guard lock(chart->dataLock);
    const std::int32_t ready = std::min(readyChunks, store->readyChunks());
    for (std::int32_t i = store->consumedChunks(); i < ready; ++i) {
      const TrackChunk* chunk = store->chunk(i);
      if (!chunk || chunk->count <= 0) continue;
      const auto count = std::min<std::size_t>(chunk->count, chunk->points.size());
      for (std::size_t p = 0; p < count; ++p) {
        const TelemetryRecord& point = chunk->points[p];
        if (point.valid) {
          curves[0]->AddPoint(nextX, point.accelX, point.mediaTimeMs);
          curves[1]->AddPoint(nextX, point.accelY, point.mediaTimeMs);
          curves[2]->AddPoint(nextX, point.accelZ, point.mediaTimeMs);
        }
        nextX += kAccStepX;
      }
    }
    chart->FitXRange();
    chart->FitYRange(kAccFill);
  }
  chart->RequestRepaint();
}

}  // namespace korvane

namespace korvane {

namespace {

std::string HoverText(double x, double y, double z) {
  char text[96];
  std::snprintf(text, sizeof text, "X %+.2f G  Y %+.2f G  Z %+.2f G", DuiLib::AccelerationInG(x),
                DuiLib::AccelerationInG(y), DuiLib::AccelerationInG(z));
  return text;
}

bool SameX(double a, double b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

int ChartBinding::PointAtColumn(int px) {
  const CCurve* x = chart ? chart->FindCurve(kAccCurveNames[0]) : nullptr;
  if (!x) return -1;
  const DuiLib::RECT& plot = chart->plotRect;
  if (px < plot.left || px > plot.right || plot.right <= plot.left) return -1;
  return DuiLib::NearestTimedPoint(
      *x, DuiLib::RawXAtPixel(plot, chart->xLo, chart->xHi, chart->xExp, px));
}

const DuiLib::ChartEventMark* ChartBinding::MarkAtColumn(int px) {
  constexpr int kReachPixels = 5;
  const CCurve* x = chart ? chart->FindCurve(kAccCurveNames[0]) : nullptr;
  if (!x || chart->eventMarks.empty()) return nullptr;
  const DuiLib::RECT& plot = chart->plotRect;
  if (px < plot.left || px > plot.right || plot.right <= plot.left) return nullptr;
  const double at = DuiLib::RawXAtPixel(plot, chart->xLo, chart->xHi, chart->xExp, px);
  const double reach = std::fabs(
      DuiLib::RawXAtPixel(plot, chart->xLo, chart->xHi, chart->xExp, px + kReachPixels) - at);
  const DuiLib::ChartEventMark* nearest = nullptr;
  double best = reach;
  for (const DuiLib::ChartEventMark& mark : chart->eventMarks) {
    const double d = std::fabs(DuiLib::XShownAt(*x, mark.ms) - at);
    if (d <= best) {
      best = d;
      nearest = &mark;
    }
  }
  return nearest;
}

void ChartBinding::SetEventMarks(std::vector<DuiLib::ChartEventMark> marks) {
  if (!chart) return;
  chart->eventMarks = std::move(marks);
  chart->RequestRepaint();
}

void ChartBinding::SetStretch(std::int64_t fromMs, std::int64_t toMs) {
  if (!chart || (fromMs == chart->stretchFromMs && toMs == chart->stretchToMs)) return;
  chart->stretchFromMs = fromMs;
  chart->stretchToMs = toMs;
  chart->RequestRepaint();
}

void ChartBinding::SetCursor(double seconds) {
  if (!chart) return;
  double x = std::numeric_limits<double>::quiet_NaN();
  if (const CCurve* curve = chart->FindCurve(kAccCurveNames[0]); curve && seconds >= 0) {
    std::lock_guard lock(chart->dataLock);
    const int i = DuiLib::PointShownAt(*curve, std::llround(std::min(seconds, 1e9) * 1000));
    if (i >= 0) x = curve->xs[static_cast<std::size_t>(i)];
  }
  if (SameX(x, chart->cursorX)) return;
  chart->cursorX = x;
  chart->RequestRepaint();
}

void ChartBinding::HoverAt(int px) {
  if (!chart) return;
  double x = std::numeric_limits<double>::quiet_NaN();
  std::string text;
  {
    std::lock_guard lock(chart->dataLock);
    const int i = PointAtColumn(px);
    const DuiLib::ChartEventMark* mark = MarkAtColumn(px);
    const CCurve* curves[3] = {chart->FindCurve(kAccCurveNames[0]),
                               chart->FindCurve(kAccCurveNames[1]),
                               chart->FindCurve(kAccCurveNames[2])};
    const auto at = static_cast<std::size_t>(i);
    if (i >= 0 && curves[1] && curves[2] && at < curves[1]->PointCount() &&
        at < curves[2]->PointCount()) {
      x = curves[0]->xs[at];
      text = HoverText(curves[0]->ys[at], curves[1]->ys[at], curves[2]->ys[at]);
    }
    if (mark != nullptr) {
      x = DuiLib::XShownAt(*curves[0], mark->ms);
      text = mark->text;
    }
  }
  if (SameX(x, chart->hoverX) && text == chart->hoverText) return;
  chart->hoverX = x;
  chart->hoverText = std::move(text);
  chart->RequestRepaint();
}

std::int32_t ChartBinding::TimeAtPixel(int px) {
  if (!chart) return -1;
  std::lock_guard lock(chart->dataLock);
  if (const DuiLib::ChartEventMark* mark = MarkAtColumn(px)) return mark->ms;
  const int i = PointAtColumn(px);
  const CCurve* x = chart->FindCurve(kAccCurveNames[0]);
  return i >= 0 && x ? x->TimeOf(static_cast<std::size_t>(i)) : -1;
}

}  // namespace korvane
