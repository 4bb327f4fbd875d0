// Stamping a line into a picture's bottom edge: the band and its text are drawn there and only
// there, and a file that is no picture is left alone.
#include "framework/image_stamp.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "support/file_text.h"
#include "support/temp_dir.h"

namespace DuiLib {
namespace {

TEST(ImageStamp, DrawsTheLineInABandAtTheBottomAndKeepsTheRest) {
  korvane::test::TempDir dir;
  const std::string path = dir.str() + "shot 0001.png";
  QImage picture(640, 360, QImage::Format_RGB32);
  picture.fill(QColor(60, 160, 90));
  ASSERT_TRUE(picture.save(QString::fromStdString(path)));

  ASSERT_TRUE(StampBottomLine(path,
                              "2026-05-18 08:30:07  S 33\xC2\xB0"
                              "52'7.98\"  45.0 km/h"));
  const QImage stamped(QString::fromStdString(path));
  ASSERT_EQ(stamped.size(), picture.size());
  const int band = 20;  // the smallest band: 360 / 25 would be too small to read
  int untouched = 0, dark = 0, light = 0;
  for (int y = 0; y < stamped.height(); ++y) {
    for (int x = 0; x < stamped.width(); ++x) {
      const QColor c = stamped.pixelColor(x, y);
      if (y < stamped.height() - band) {
        untouched += c == QColor(60, 160, 90) ? 1 : 0;
      } else if (c.lightness() < 60) {
        ++dark;
      } else if (c.lightness() > 200) {
        ++light;
      }
    }
  }
  EXPECT_EQ(untouched, 640 * (360 - band)) << "nothing above the band changes";
  EXPECT_GT(dark, 640 * band / 2) << "the band is dark";
  EXPECT_GT(light, 100) << "the text is light on it";
}

TEST(ImageStamp, LeavesAFileThatIsNoPictureAlone) {
  korvane::test::TempDir dir;
  const std::string path = dir.str() + "shot0001.png";
  korvane::test::WriteFileText(path, "not a picture");
  EXPECT_FALSE(StampBottomLine(path, "line"));
  EXPECT_EQ(korvane::test::ReadFileText(path), "not a picture");
}

}  // namespace
}  // namespace DuiLib
