#include "chart/chart_binding.h"

#include <algorithm>

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
  for (const char* name : kAccCurveNames) ClearAccCurve(name);
  if (chart) chart->RequestRepaint();
}

void ChartBinding::ClearAccCurve(const std::string& name) {
  if (!chart) return;
  CCurve* curve = chart->FindCurve(name);
  if (!curve) return;
  std::lock_guard lock(chart->dataLock);
  curve->Clear();
}

void ChartBinding::AppendAccData(const CTrackStore* store) {
  if (!chart || !store) return;
  CCurve* curves[3];
  for (int i = 0; i < 3; ++i) {
    curves[i] = chart->FindCurve(kAccCurveNames[i]);
    if (!curves[i]) return;
  }
  {
    std::lock_guard lock(chart->dataLock);
    for (std::int32_t i = store->consumedChunks(); i < store->readyChunks(); ++i) {
      const TrackChunk* chunk = store->chunk(i);
      if (!chunk || chunk->count <= 0) continue;
      const auto count = std::min<std::size_t>(chunk->count, chunk->points.size());
      for (std::size_t p = 0; p < count; ++p) {
        const TelemetryRecord& point = chunk->points[p];
        if (point.valid) {
          curves[0]->AddPoint(nextX, point.accelX);
          curves[1]->AddPoint(nextX, point.accelY);
          curves[2]->AddPoint(nextX, point.accelZ);
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
