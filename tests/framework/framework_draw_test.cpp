// The drawing context own controls paint with: COLORREF byte order, pens, fills, clipping, text,
// ARGB colours and images that are missing; and a bar's marks over its track.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "framework/UIlib.h"

namespace DuiLib {
namespace {

QRgb At(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFF;
}

struct Canvas {
  Canvas() : image(100, 60, QImage::Format_RGB32) { image.fill(Qt::black); }
  QImage image;
};

TEST(FrameworkDraw, ColorRefIsBlueGreenRed) {
  Canvas c;
  {
    QPainter p(&c.image);
    CDrawContext dc(p, nullptr);
    dc.FillSolidRect(RECT{0, 0, 10, 10}, RGB(255, 0, 0));
    dc.FillSolidRect(RECT{10, 0, 20, 10}, 0x00FF0000);               // COLORREF blue
    CRenderEngine::DrawColor(&dc, RECT{20, 0, 30, 10}, 0xFFFF0000);  // ARGB red
    CRenderEngine::DrawColor(&dc, RECT{30, 0, 40, 10}, 0x00FF0000);  // alpha 0: nothing
  }
  EXPECT_EQ(At(c.image, 5, 5), 0xFF0000u);
  EXPECT_EQ(At(c.image, 15, 5), 0x0000FFu);
  EXPECT_EQ(At(c.image, 25, 5), 0xFF0000u);
  EXPECT_EQ(At(c.image, 35, 5), 0x000000u);
}

TEST(FrameworkDraw, DottedPenLeavesGapsAndSolidPenDoesNot) {
  Canvas c;
  {
    QPainter p(&c.image);
    CDrawContext dc(p, nullptr);
    dc.SelectPen(Pen{PS_DOT, 1, RGB(255, 255, 255)});
    dc.DrawLine(0, 10, 99, 10);
    const Pen old = dc.SelectPen(Pen{PS_SOLID, 1, RGB(0, 255, 0)});
    EXPECT_EQ(old.style, PS_DOT);
    dc.DrawLine(0, 20, 99, 20);
    dc.SelectPen(Pen{PS_SOLID, 3, RGB(0, 0, 255)});
    dc.DrawLine(0, 30, 99, 30);
  }
  int lit = 0;
  for (int x = 0; x < 90; ++x) lit += At(c.image, x, 10) != 0 ? 1 : 0;
  EXPECT_GT(lit, 20);
  EXPECT_LT(lit, 70);
  for (int x = 0; x < 90; ++x) ASSERT_EQ(At(c.image, x, 20), 0x00FF00u) << x;
  EXPECT_EQ(At(c.image, 50, 29), 0x0000FFu);  // width 3 covers the rows around the line
  EXPECT_EQ(At(c.image, 50, 31), 0x0000FFu);
}

TEST(FrameworkDraw, ClipCanBeLiftedForTheRestOfThePaint) {
  Canvas c;
  {
    QPainter p(&c.image);
    CDrawContext dc(p, nullptr);
    dc.SetClip(RECT{0, 0, 50, 60});
    dc.FillSolidRect(RECT{0, 0, 100, 10}, RGB(255, 255, 255));
    EXPECT_TRUE(dc.HasClip());
    dc.SelectClipRgn(nullptr);
    EXPECT_FALSE(dc.HasClip());
    dc.FillSolidRect(RECT{0, 20, 100, 30}, RGB(255, 255, 255));
  }
  EXPECT_EQ(At(c.image, 40, 5), 0xFFFFFFu);
  EXPECT_EQ(At(c.image, 60, 5), 0x000000u);
  EXPECT_EQ(At(c.image, 60, 25), 0xFFFFFFu);
}

TEST(FrameworkDraw, TextUsesTheSelectedColourAndFont) {
  Canvas c;
  int height = 0;
  {
    QPainter p(&c.image);
    CDrawContext dc(p, nullptr);
    LOGFONT f;
    f.lfHeight = 20;
    dc.SelectFont(f);
    dc.SetTextColor(RGB(255, 0, 0));
    height = dc.GetTextMetrics().tmHeight;
    dc.TextOut(2, 2, "MMMM");
  }
  EXPECT_GE(height, 18);
  bool red = false;
  for (int x = 0; x < 60 && !red; ++x) {
    for (int y = 0; y < 30 && !red; ++y) {
      const QRgb px = At(c.image, x, y);
      red = qRed(px) > 150 && qGreen(px) < 80 && qBlue(px) < 80;
    }
  }
  EXPECT_TRUE(red);
}

TEST(FrameworkDraw, MissingImagesDrawNothing) {
  Canvas c;
  CPaintManagerUI pm;
  {
    QPainter p(&c.image);
    CDrawContext dc(p, &pm);
    EXPECT_FALSE(CRenderEngine::DrawImageString(&dc, &pm, RECT{0, 0, 50, 50}, RECT{0, 0, 100, 60},
                                                "file='no-such-image.png' source='0,0,18,18'"));
    EXPECT_FALSE(CRenderEngine::DrawImageString(&dc, &pm, RECT{0, 0, 50, 50}, RECT{0, 0, 100, 60},
                                                "/no/such/file.svg"));
  }
  for (int x = 0; x < 100; x += 7) {
    for (int y = 0; y < 60; y += 7) ASSERT_EQ(At(c.image, x, y), 0u);
  }
}

TEST(FrameworkDraw, ColourAndRectangleParsing) {
  EXPECT_EQ(ParseColor("#FF202428"), 0xFF202428u);
  EXPECT_EQ(ParseColor("#202428"), 0xFF202428u);
  EXPECT_EQ(ParseColor("#12"), 0u);
  EXPECT_EQ(ParseColor(""), 0u);
  EXPECT_EQ(ParseColor("0xFFC8C6CB"), 0xFFC8C6CBu);
  EXPECT_EQ(ParseRect("10,5,10,20"), (RECT{10, 5, 10, 20}));
  EXPECT_EQ(ParseRect("7"), (RECT{7, 0, 0, 0}));
  EXPECT_EQ(ParseRect("x"), (RECT{0, 0, 0, 0}));
}

TEST(FrameworkDraw, BarMarksTintTheirSpanAndStandAboveTheTrack) {
  Canvas c;
  CProgressUI bar;
  for (const auto& [name, value] : {std::pair{"trackheight", "4"},
                                    {"trackcolor", "#FF0000FF"},
                                    {"spancolor", "#FF00FF00"},
                                    {"tickcolor", "#FFFF0000"}}) {
    bar.SetAttribute(name, value);
  }
  bar.SetPos(RECT{0, 20, 100, 40}, false);  // the track: rows 28..31
  bar.SetMarks({0.2, 0.5, {0.7, 1.5}});
  {
    QPainter p(&c.image);
    CDrawContext dc(p, nullptr);
    bar.PaintStatusImage(&dc);
  }
  // Along the track: bare, the span, bare, a tick, and a share past the end held there.
  for (const auto& [x, colour] : {std::pair{10, 0x0000FFu},
                                  {30, 0x00FF00u},
                                  {49, 0x00FF00u},
                                  {60, 0x0000FFu},
                                  {70, 0xFF0000u},
                                  {99, 0xFF0000u}}) {
    EXPECT_EQ(At(c.image, x, 29), colour) << x;
  }
  EXPECT_EQ(At(c.image, 30, 25), 0x000000u);  // the span keeps to the track
  EXPECT_EQ(At(c.image, 70, 24), 0xFF0000u);  // a tick stands above and below it
  EXPECT_EQ(At(c.image, 70, 35), 0xFF0000u);
}

}  // namespace
}  // namespace DuiLib
