#include "chart/zell_chart_ui.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "chart/chart_binding.h"
#include "framework/draw_context.h"
#include "sample_track.h"
#include "support/framework_test_window.h"
#include "support/temp_dir.h"

namespace DuiLib {
namespace {

constexpr QRgb kUntouched = 0xFFFF00FF;
// The dark player skin's colours and margins for the chart (resources/skin/Orvix.xml).
constexpr DWORD kControlBackground = 0xFF181B20;
constexpr DWORD kPlotBackground = 0xFF0F1114;
constexpr const char* kSkinInset = "44,12,14,14";

// Paints the control alone into a w x h image, the way the window paints it.
QImage Render(CZellChartUI& chart, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kUntouched);
  QPainter painter(&image);
  CDrawContext dc(painter, nullptr);
  chart.SetPos({0, 0, w, h}, false);
  chart.DoPaint(&dc, {0, 0, w, h});
  return image;
}

// Where a render is written: the folder KORVANE_CHART_SHOTS names, to keep it for a person to look
// at, else the test's own temporary folder (gone with the test, shared with no other run).
QString LookAtPath(const korvane::test::TempDir& folder, const char* name) {
  const char* keep = std::getenv("KORVANE_CHART_SHOTS");
  const std::filesystem::path dir = keep != nullptr && *keep != '\0' ? keep : folder.path();
  return QString::fromStdString((dir / name).string());
}

int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
}

// The chart draws its segments in one batch; that must look exactly like one MoveTo/LineTo each.
TEST(CDrawContext, DrawLinesDrawsWhatMoveToLineToPairsDraw) {
  const POINT ends[] = {{5, 5}, {60, 30}, {60, 30}, {10, 50}, {30, 2}, {30, 2}, {0, 59}, {79, 0}};
  const std::size_t count = std::size(ends) / 2;
  for (const Pen pen : {Pen{PS_SOLID, 0, 0x0000FF}, Pen{PS_DOT, 1, 0x00FF00},
                        Pen{PS_SOLID, 3, 0xFFFFFF}, Pen{PS_NULL, 1, 0xFFFFFF}}) {
    QImage batched(80, 60, QImage::Format_RGB32);
    QImage single(80, 60, QImage::Format_RGB32);
    batched.fill(Qt::black);
    single.fill(Qt::black);
    {
      QPainter painter(&batched);
      CDrawContext dc(painter, nullptr);
      dc.SelectPen(pen);
      dc.DrawLines(ends, count);
      EXPECT_EQ(dc.GetCurrentPosition(), (POINT{79, 0}));
      dc.DrawLines(nullptr, 3);
      dc.DrawLines(ends, 0);
    }
    {
      QPainter painter(&single);
      CDrawContext dc(painter, nullptr);
      dc.SelectPen(pen);
      for (std::size_t i = 0; i < count; ++i)
        dc.DrawLine(ends[2 * i].x, ends[2 * i].y, ends[2 * i + 1].x, ends[2 * i + 1].y);
    }
    EXPECT_EQ(batched, single) << "pen style " << pen.style << " width " << pen.width;
  }
}

TEST(CZellChartUI, AnswersToItsClassAndInterfaceNames) {
  CZellChartUI chart;
  EXPECT_STREQ(chart.GetClass(), "ZellChartUI");
  EXPECT_EQ(chart.GetInterface("ZellChart"), static_cast<void*>(&chart));
  EXPECT_EQ(chart.GetInterface("zellchart"), nullptr);
  EXPECT_NE(chart.GetInterface("Control"), nullptr);
}

TEST(CZellChartUI, InsetAttributeSetsThePlotMarginsOthersGoToTheBase) {
  CZellChartUI chart;
  chart.SetAttribute("inset", "10,5,10,20");
  EXPECT_EQ(chart.inset, (RECT{10, 5, 10, 20}));
  chart.SetAttribute("Inset", "1,1,1,1");
  EXPECT_EQ(chart.inset, (RECT{10, 5, 10, 20}));
  chart.SetAttribute("name", "accChart");
  EXPECT_EQ(chart.GetName(), "accChart");
}

TEST(CZellChartUI, PaintsNothingAtAllBeforeTheSetUp) {
  CZellChartUI chart;
  chart.SetBkColor(kControlBackground);
  chart.SetBkColor2(kPlotBackground);
  const QImage image = Render(chart, 200, 80);
  EXPECT_EQ(CountPixels(image, image.rect(), kUntouched), 200 * 80);
}

// The chart as the main window's skin and set-up leave it.
struct SkinnedChart : ::testing::Test {
  SkinnedChart() {
    chart.SetBkColor(kControlBackground);
    chart.SetBkColor2(kPlotBackground);
    chart.SetAttribute("inset", kSkinInset);
    binding.InitAccChart(&chart);
  }
  CZellChartUI chart;
  korvane::ChartBinding binding;
  korvane::test::TempDir shots;
};

TEST_F(SkinnedChart, SampleClipOnADarkSkin) {
  korvane::CTrackStore store;
  ASSERT_EQ(korvane::test::FillStoreFromClip(store, korvane::test::DefaultClip()), 600);
  binding.AppendAccData(&store, store.readyChunks());

  const QImage image = Render(chart, 800, 150);
  EXPECT_TRUE(image.save(LookAtPath(shots, "korvane_chart_sample_drive.png")));
  const QRect plot(QPoint(44, 12), QPoint(800 - 14, 150 - 14));  // edges included
  EXPECT_EQ(CountPixels(image, image.rect(), kUntouched), 0);
  EXPECT_EQ(image.pixel(2, 100), QRgb(kControlBackground));
  // The clip's readings lie around 0 G (2000 raw; Z near 1 G, 2333 raw): the middle of the plot.
  const QRect middle(plot.left(), plot.top() + plot.height() * 3 / 10, plot.width(),
                     plot.height() * 3 / 10);
  EXPECT_GT(CountPixels(image, middle, qRgb(255, 0, 0)), 300);    // XAcceleration
  EXPECT_GT(CountPixels(image, middle, qRgb(0, 255, 0)), 300);    // YAcceleration
  EXPECT_GT(CountPixels(image, middle, qRgb(255, 255, 0)), 300);  // ZAcceleration
  EXPECT_EQ(CountPixels(image, plot, qRgb(255, 0, 0)), CountPixels(image, middle, qRgb(255, 0, 0)));
  EXPECT_GT(CountPixels(image, QRect(0, 0, 44, 150), qRgb(255, 255, 255)), 30);  // labels
  EXPECT_EQ(image.pixel(400, 150 - 14), qRgb(255, 255, 255));  // bottom frame line
}

TEST_F(SkinnedChart, SwingingReadingsStayInsideThePlot) {
  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < 3000; ++i) {
      chart.curves[c].AddPoint(i * 0.2, 2000 + (1500 - 400 * c) * std::sin(i / (60.0 + 25 * c)));
    }
  }
  chart.FitXRange();
  chart.FitYRange(korvane::kAccFill);
  const QImage image = Render(chart, 800, 150);
  EXPECT_TRUE(image.save(LookAtPath(shots, "korvane_chart_swinging.png")));
  const QRect plot(QPoint(44, 12), QPoint(800 - 14, 150 - 14));  // edges included
  for (const QRgb colour : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0)}) {
    EXPECT_GT(CountPixels(image, plot, colour), 500);
    EXPECT_EQ(CountPixels(image, image.rect(), colour), CountPixels(image, plot, colour));
  }
}

}  // namespace
// The start-up worker sets the chart up on its own thread: the window must not be touched from
// there. The repaint is handed to the window's thread, which asks for it when it runs.
TEST(ZellChartInAWindow, SetUpOnAWorkerRepaintsFromTheWindowsThread) {
  korvane::test::TestSkinWindow window(
      "<Window size=\"400,200\"><VerticalLayout name=\"box\"/></Window>");
  ASSERT_NE(window.CreateHidden(), 0u);
  auto* chart = new CZellChartUI();
  ASSERT_TRUE(static_cast<CContainerUI*>(window.Find("box"))->Add(chart));
  window.ShowWindow(true, false);
  QElapsedTimer settle;  // everything the show asked for is done
  settle.start();
  korvane::test::PumpUntil([&] { return settle.elapsed() > 300; });

  struct UpdateCounter : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      updates += e->type() == QEvent::UpdateRequest;
      return false;
    }
    int updates = 0;
  } counter;
  window.GetWidget()->installEventFilter(&counter);
  korvane::ChartBinding binding;
  std::thread([&] { binding.InitAccChart(chart); }).join();
  EXPECT_TRUE(chart->ready);
  // Only update requests the worker itself made are delivered here.
  QCoreApplication::sendPostedEvents(window.GetWidget(), QEvent::UpdateRequest);
  EXPECT_EQ(counter.updates, 0) << "the worker invalidated the window";
  EXPECT_TRUE(korvane::test::PumpUntil([&] { return counter.updates > 0; }))
      << "the repaint was lost";
  window.GetWidget()->removeEventFilter(&counter);
}

}  // namespace DuiLib
