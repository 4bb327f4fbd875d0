// Paint time of the acceleration chart holding one hour of kept samples: 3 curves x 36 000 points,
// 800 x 200 pixels, every segment clipped and drawn.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "chart/chart_binding.h"
#include "chart/chart_painter.h"
#include "chart/zell_chart_ui.h"
#include "framework/draw_context.h"

namespace {

using namespace DuiLib;

constexpr int kPoints = 36000;

// A sensor-like signal per curve: slow swings around the 0 G mark of raw 2000 plus jitter of up to
// `jitterPx` pixels of the 180-pixel plot either way.
void FillChart(CChartModel& chart, korvane::ChartBinding& binding, int jitterPx) {
  binding.InitAccChart(&chart);
  for (int c = 0; c < 3; ++c) {
    CCurve& curve = chart.curves[c];
    for (int i = 0; i < kPoints; ++i) {
      const double jitter = ((i * 7919 + c * 104729) % 201 - 100) / 100.0 * jitterPx * 5500 / 180;
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
  void Fill(const RECT&, DWORD) override {}
  void SetPen(const Pen&) override {}
  void SetFont(const LOGFONT&) override {}
  void SetTextColor(COLORREF) override {}
  int TextHeight() override { return 16; }
  int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * 8; }
  void Lines(const POINT* ends, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) sum += ends[2 * i + 1].y;
    segments += count;
  }
  void Text(POINT, const std::string&) override {}
  void RemoveClip() override {}
  std::size_t segments = 0;
  long sum = 0;
};

void BM_ChartGeometryOnly(benchmark::State& state) {
  CChartModel chart;
  korvane::ChartBinding binding;
  FillChart(chart, binding, 10);
  chart.inset = {32, 10, 10, 10};
  const RECT pos{0, 0, 800, 200};
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

// The real control painting into an offscreen 800 x 200 image through the framework's context.
void BM_ChartPaint(benchmark::State& state) {
  CZellChartUI chart;
  chart.SetBkColor(0xFF1C1F26);
  chart.SetBkColor2(0xFF101217);
  chart.SetAttribute("inset", "32,10,10,10");
  korvane::ChartBinding binding;
  FillChart(chart, binding, state.range(0));
  QImage image(800, 200, QImage::Format_RGB32);
  const RECT pos{0, 0, 800, 200};
  chart.SetPos(pos, false);
  for (auto _ : state) {
    QPainter painter(&image);
    CDrawContext dc(painter, nullptr);
    chart.DoPaint(&dc, pos);
  }
}
BENCHMARK(BM_ChartPaint)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

// Text needs the application object; the offscreen platform needs no display.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
