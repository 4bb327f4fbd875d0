#include "chart/zell_chart_ui.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <filesystem>

#include "chart/chart_binding.h"
#include "framework/draw_context.h"
#include "sample_track.h"

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

// Where a render is kept for a person to look at: the system's temporary folder.
QString LookAtPath(const char* name) {
  return QString::fromStdString((std::filesystem::temp_directory_path() / name).string());
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
};

TEST_F(SkinnedChart, SampleClipOnADarkSkin) {
  korvane::CTrackStore store;
  ASSERT_EQ(korvane::test::FillStoreFromClip(store, korvane::test::DefaultClip()), 600);
  binding.AppendAccData(&store);

  const QImage image = Render(chart, 800, 150);
  image.save(LookAtPath("korvane_chart_sample_drive.png"));
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
  image.save(LookAtPath("korvane_chart_swinging.png"));
  const QRect plot(QPoint(44, 12), QPoint(800 - 14, 150 - 14));  // edges included
  for (const QRgb colour : {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0)}) {
    EXPECT_GT(CountPixels(image, plot, colour), 500);
    EXPECT_EQ(CountPixels(image, image.rect(), colour), CountPixels(image, plot, colour));
  }
}

}  // namespace
}  // namespace DuiLib
