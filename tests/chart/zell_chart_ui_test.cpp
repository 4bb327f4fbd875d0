#include "chart/zell_chart_ui.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "chart/chart_binding.h"
#include "sample_track.h"
#include "ui/framework/draw_context.h"

namespace DuiLib {
namespace {

constexpr QRgb kUntouched = 0xFFFF00FF;
constexpr DWORD kControlBackground = 0xFF1C1F26;  // the dark player skin's panel colour
constexpr DWORD kPlotBackground = 0xFF101217;

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

int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
  }
  return n;
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

TEST(CZellChartUI, SampleClipOnADarkSkin) {
  CZellChartUI chart;
  chart.SetBkColor(kControlBackground);
  chart.SetBkColor2(kPlotBackground);
  chart.SetAttribute("inset", "32,10,10,10");
  korvane::ChartBinding binding;
  binding.InitAccChart(&chart);
  korvane::CTrackStore store;
  ASSERT_EQ(korvane::test::FillStoreFromClip(store, korvane::test::DefaultClip()), 600);
  binding.AppendAccData(&store);

  const QImage image = Render(chart, 800, 200);
  image.save("chart_sample_drive.png");
  const QRect plot(32, 10, 800 - 32 - 10, 200 - 20);
  EXPECT_EQ(CountPixels(image, image.rect(), kUntouched), 0);
  EXPECT_EQ(image.pixel(2, 100), QRgb(kControlBackground));
  EXPECT_GT(CountPixels(image, plot, qRgb(255, 0, 0)), 100);                     // XAcceleration
  EXPECT_GT(CountPixels(image, plot, qRgb(0, 255, 0)), 100);                     // YAcceleration
  EXPECT_GT(CountPixels(image, plot, qRgb(255, 255, 0)), 100);                   // ZAcceleration
  EXPECT_GT(CountPixels(image, QRect(0, 0, 32, 200), qRgb(255, 255, 255)), 30);  // labels
  EXPECT_EQ(image.pixel(400, 190), qRgb(255, 255, 255));  // bottom frame line
}

}  // namespace
}  // namespace DuiLib
