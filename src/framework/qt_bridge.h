// Internal: conversions between the framework's value types and Qt's, and a loaded skin image
// (raster or SVG) as the paint manager caches it. Only framework sources include this.
#pragma once
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QSvgRenderer>
#include <cstdlib>
#include <memory>

#include "framework/paint_manager.h"

namespace DuiLib {

struct CPaintManagerUI::ImageEntry {
  QImage raster;
  std::unique_ptr<QSvgRenderer> svg;
  bool ok = false;
  QSize size;
};

// Loads the file; an entry with ok == false when it cannot be read.
std::unique_ptr<CPaintManagerUI::ImageEntry> LoadImageEntry(const QString& path);

inline QRect ToQRect(const RECT& rc) {
  return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}
inline RECT FromQRect(const QRect& r) {
  return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
inline QString ToQ(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}
inline QFont ToQFont(const LOGFONT& f) {
  QFont font(QString::fromStdString(f.lfFaceName));
  font.setPixelSize(std::max(1, std::abs(f.lfHeight)));
  font.setWeight(f.lfWeight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(f.lfItalic);
  font.setUnderline(f.lfUnderline);
  return font;
}

}  // namespace DuiLib
