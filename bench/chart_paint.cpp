// Paint time of the acceleration chart holding one hour of kept samples: 3 curves x 36 000 points,
// 800 x 200 pixels, every segment clipped and drawn.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/chart_binding.h"
#include "chart/chart_painter.h"

namespace {

using namespace DuiLib;

constexpr int kPoints = 36000;

// A sensor-like signal per curve: slow swings plus jitter, around the 0 G mark of raw 2000.
void FillChart(CChartModel& chart, korvane::ChartBinding& binding) {
  binding.InitAccChart(&chart);
  for (int c = 0; c < 3; ++c) {
    CCurve& curve = chart.curves[c];
    for (int i = 0; i < kPoints; ++i) {
      const double jitter = ((i * 7919 + c * 104729) % 201 - 100) * 3.0;
      curve.AddPoint(i * 0.2, 2000 + 900 * std::sin(i / (150.0 + 40 * c)) + jitter);
    }
  }
  chart.FitXRange();
  chart.FitYRange(korvane::kAccFill);
}

// Counts what would be drawn; measures the arithmetic alone.
class CountingCanvas : public IChartCanvas {
 public:
  void Save() override {}
  void Restore() override {}
  void Fill(const ChartRect&, DWORD) override {}
  void SetPen(const ChartPen&) override {}
  void SetFont(const ChartFont&) override {}
  void SetTextColor(COLORREF) override {}
  int TextHeight() override { return 16; }
  void Lines(const ChartPoint* ends, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) sum += ends[2 * i + 1].y;
    segments += count;
  }
  void Text(ChartPoint, const std::string&) override {}
  void RemoveClip() override {}
  std::size_t segments = 0;
  long sum = 0;
};

void BM_ChartGeometryOnly(benchmark::State& state) {
  CChartModel chart;
  korvane::ChartBinding binding;
  FillChart(chart, binding);
  chart.inset = {40, 8, 12, 8};
  const ChartRect pos{0, 0, 800, 200};
  CountingCanvas canvas;
  for (auto _ : state) {
    PaintChartBackground(chart, pos, 0xFF202020, 0xFF101010, canvas);
    PaintChartContent(chart, PlotRect(pos, chart.inset), canvas);
    benchmark::DoNotOptimize(canvas.sum);
  }
  state.counters["segments/paint"] =
      benchmark::Counter(static_cast<double>(canvas.segments) / state.iterations());
}
BENCHMARK(BM_ChartGeometryOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
