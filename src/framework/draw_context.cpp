#include "framework/draw_context.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <cstdlib>

#include "framework/paint_manager.h"
#include "framework/qt_bridge.h"

namespace DuiLib {

namespace {

QColor FromColorRef(COLORREF c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
QColor FromArgb(DWORD argb) {
  return QColor::fromRgba(argb);
}
Qt::PenStyle ToQtStyle(int style) {
  switch (style) {
    case PS_DASH:
      return Qt::DashLine;
    case PS_DOT:
      return Qt::DotLine;
    case PS_DASHDOT:
      return Qt::DashDotLine;
    case PS_DASHDOTDOT:
      return Qt::DashDotDotLine;
    case PS_NULL:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

int ToQtAlignment(UINT format) {
  int flags = 0;
  if (format & DT_CENTER)
    flags |= Qt::AlignHCenter;
  else if (format & DT_RIGHT)
    flags |= Qt::AlignRight;
  else
    flags |= Qt::AlignLeft;
  if (format & DT_VCENTER)
    flags |= Qt::AlignVCenter;
  else if (format & DT_BOTTOM)
    flags |= Qt::AlignBottom;
  else
    flags |= Qt::AlignTop;
  if (format & DT_WORDBREAK)
    flags |= Qt::TextWordWrap;
  else
    flags |= Qt::TextSingleLine;
  return flags;
}

void DrawQText(QPainter& p, const QRect& r, const QString& text, UINT format) {
  QString shown = text;
  if ((format & DT_END_ELLIPSIS) && !(format & DT_WORDBREAK)) {
    shown = p.fontMetrics().elidedText(text, Qt::ElideRight, r.width());
  }
  p.drawText(r, ToQtAlignment(format), shown);
}

// Reads `key='value'` pairs of an image description.
std::string_view ImageField(std::string_view image, std::string_view key) {
  std::size_t pos = 0;
  while ((pos = image.find(key, pos)) != std::string_view::npos) {
    const bool startOk = pos == 0 || image[pos - 1] == ' ';
    std::size_t p = pos + key.size();
    while (p < image.size() && image[p] == ' ') ++p;
    if (startOk && p < image.size() && image[p] == '=') {
      ++p;
      while (p < image.size() && image[p] == ' ') ++p;
      if (p < image.size() && (image[p] == '\'' || image[p] == '"')) {
        const char quote = image[p];
        const std::size_t end = image.find(quote, p + 1);
        if (end == std::string_view::npos) return {};
        return image.substr(p + 1, end - p - 1);
      }
    }
    pos += key.size();
  }
  return {};
}

}  // namespace

DWORD ParseColor(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty()) return 0;
  std::string s(text);
  char* end = nullptr;
  if (s[0] == '#') {
    const unsigned long v = std::strtoul(s.c_str() + 1, &end, 16);
    const std::size_t digits = static_cast<std::size_t>(end - (s.c_str() + 1));
    if (digits == 6) return static_cast<DWORD>(0xFF000000u | v);
    if (digits == 8) return static_cast<DWORD>(v);
    return 0;
  }
  return static_cast<DWORD>(std::strtoul(s.c_str(), &end, 0));
}

RECT ParseRect(std::string_view text) {
  int v[4] = {0, 0, 0, 0};
  std::string s(text);
  const char* p = s.c_str();
  for (int i = 0; i < 4 && *p != '\0'; ++i) {
    char* end = nullptr;
    v[i] = static_cast<int>(std::strtol(p, &end, 10));
    if (end == p) break;
    p = end;
    while (*p == ',' || *p == ' ') ++p;
  }
  return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSize(std::string_view text) {
  const RECT r = ParseRect(text);
  return SIZE{r.left, r.top};
}

CDrawContext::CDrawContext(QPainter& painter, CPaintManagerUI* manager)
    : painter_(painter), manager_(manager) {
  painter_.save();
  if (manager_ != nullptr) font_ = manager_->GetFont(-1);
  ApplyFont();
}

CDrawContext::~CDrawContext() {
  painter_.restore();
}

Pen CDrawContext::SelectPen(const Pen& pen) {
  const Pen old = pen_;
  pen_ = pen;
  return old;
}

LOGFONT CDrawContext::SelectFont(const LOGFONT& font) {
  const LOGFONT old = font_;
  font_ = font;
  ApplyFont();
  return old;
}

void CDrawContext::ApplyFont() {
  painter_.setFont(ToQFont(font_));
}

COLORREF CDrawContext::SetTextColor(COLORREF color) {
  const COLORREF old = textColor_;
  textColor_ = color;
  return old;
}

void CDrawContext::MoveTo(int x, int y) {
  current_ = {x, y};
}

void CDrawContext::ApplyPen() {
  QPen qpen(FromColorRef(pen_.color));
  qpen.setWidth(pen_.width <= 1 ? 0 : pen_.width);
  qpen.setStyle(ToQtStyle(pen_.style));
  qpen.setCapStyle(Qt::FlatCap);
  painter_.setPen(qpen);
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void CDrawContext::LineTo(int x, int y) {
  if (pen_.style != PS_NULL) {
    ApplyPen();
    painter_.drawLine(current_.x, current_.y, x, y);
  }
  current_ = {x, y};
}

void CDrawContext::DrawLines(const POINT* ends, std::size_t count) {
  if (ends == nullptr || count == 0) return;
  if (pen_.style != PS_NULL) {
    ApplyPen();
    // One painter call per line, as LineTo: a batched drawLines would run the dash pattern on
    // across lines and draw shared end pixels that separate lines leave out.
    for (std::size_t i = 0; i < count; ++i) {
      const POINT& a = ends[2 * i];
      const POINT& b = ends[2 * i + 1];
      painter_.drawLine(a.x, a.y, b.x, b.y);
    }
  }
  current_ = ends[2 * count - 1];
}

void CDrawContext::FrameRect(const RECT& rc) {
  MoveTo(rc.left, rc.top);
  LineTo(rc.right - 1, rc.top);
  LineTo(rc.right - 1, rc.bottom - 1);
  LineTo(rc.left, rc.bottom - 1);
  LineTo(rc.left, rc.top);
}

void CDrawContext::FillSolidRect(const RECT& rc, COLORREF color) {
  if (IsRectEmpty(rc)) return;
  painter_.fillRect(ToQRect(rc), FromColorRef(color));
}

void CDrawContext::TextOut(int x, int y, std::string_view text) {
  painter_.setPen(FromColorRef(textColor_));
  const QFontMetrics fm(painter_.font());
  if (font_.lfEscapement != 0) {
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-font_.lfEscapement / 10.0);
    painter_.drawText(0, fm.ascent(), ToQ(text));
    painter_.restore();
    return;
  }
  painter_.drawText(x, y + fm.ascent(), ToQ(text));
}

void CDrawContext::DrawText(const RECT& rc, std::string_view text, UINT format) {
  painter_.setPen(FromColorRef(textColor_));
  DrawQText(painter_, ToQRect(rc), ToQ(text), format);
}

TEXTMETRIC CDrawContext::GetTextMetrics() const {
  const QFontMetrics fm(painter_.font());
  return TEXTMETRIC{fm.height(), fm.ascent(), fm.descent(), fm.averageCharWidth()};
}

int CDrawContext::MeasureText(std::string_view text) const {
  return QFontMetrics(painter_.font()).horizontalAdvance(ToQ(text));
}

void CDrawContext::SetClip(const RECT& rc) {
  painter_.setClipRect(ToQRect(rc));
}
void CDrawContext::ClearClip() {
  painter_.setClipping(false);
}
bool CDrawContext::HasClip() const {
  return painter_.hasClipping();
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD argb) {
  if (hDC == nullptr || argb <= 0x00FFFFFF || IsRectEmpty(rc)) return;
  hDC->Painter().fillRect(ToQRect(rc), FromArgb(argb));
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD argb1, DWORD argb2, bool vertical) {
  if (hDC == nullptr || IsRectEmpty(rc)) return;
  const QRect r = ToQRect(rc);
  QLinearGradient g(r.topLeft(), vertical ? r.bottomLeft() : r.topRight());
  g.setColorAt(0, FromArgb(argb1));
  g.setColorAt(1, FromArgb(argb2));
  hDC->Painter().fillRect(r, g);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int size, DWORD argb) {
  if (hDC == nullptr || size <= 0 || argb <= 0x00FFFFFF) return;
  QPainter& p = hDC->Painter();
  p.save();
  QPen pen(FromArgb(argb));
  pen.setWidth(size);
  pen.setJoinStyle(Qt::MiterJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const qreal half = size / 2.0;
  p.drawRect(
      QRectF(rc.left + half, rc.top + half, rc.right - rc.left - size, rc.bottom - rc.top - size));
  p.restore();
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int size, int radius, DWORD argb,
                                  DWORD fillArgb) {
  if (hDC == nullptr || IsRectEmpty(rc)) return;
  QPainter& p = hDC->Painter();
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  if (size > 0 && argb > 0x00FFFFFF) {
    QPen pen(FromArgb(argb));
    pen.setWidth(size);
    p.setPen(pen);
  } else {
    p.setPen(Qt::NoPen);
  }
  p.setBrush(fillArgb > 0x00FFFFFF ? QBrush(FromArgb(fillArgb)) : QBrush(Qt::NoBrush));
  const qreal half = size / 2.0;
  p.drawRoundedRect(
      QRectF(rc.left + half, rc.top + half, rc.right - rc.left - size, rc.bottom - rc.top - size),
      radius, radius);
  p.restore();
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int size, DWORD argb) {
  if (hDC == nullptr || argb <= 0x00FFFFFF) return;
  QPainter& p = hDC->Painter();
  p.save();
  QPen pen(FromArgb(argb));
  pen.setWidth(size);
  p.setPen(pen);
  p.drawLine(rc.left, rc.top, rc.right, rc.bottom);
  p.restore();
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem,
                                    const RECT& rcPaint, std::string_view image) {
  if (hDC == nullptr || manager == nullptr || image.empty()) return false;
  std::string_view file = ImageField(image, "file");
  if (file.empty() && image.find('=') == std::string_view::npos) file = image;
  if (file.empty()) return false;
  const CPaintManagerUI::ImageEntry* entry = manager->GetImage(file);
  if (entry == nullptr || !entry->ok) return false;

  RECT dest = rcItem;
  if (auto d = ImageField(image, "dest"); !d.empty()) {
    const RECT r = ParseRect(d);
    dest = RECT{rcItem.left + r.left, rcItem.top + r.top, rcItem.left + r.right,
                rcItem.top + r.bottom};
  }
  RECT clipped;
  if (!IntersectRect(&clipped, dest, rcPaint)) return true;
  const std::string_view source = ImageField(image, "source");
  QPainter& p = hDC->Painter();
  if (entry->svg) {
    if (!source.empty()) {
      const RECT s = ParseRect(source);
      entry->svg->setViewBox(QRectF(s.left, s.top, s.right - s.left, s.bottom - s.top));
    } else {
      entry->svg->setViewBox(QRectF(QPointF(0, 0), entry->size));
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    entry->svg->render(&p, QRectF(ToQRect(dest)));
    p.restore();
    return true;
  }
  QRect src(QPoint(0, 0), entry->size);
  if (!source.empty()) src = ToQRect(ParseRect(source));
  p.save();
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(ToQRect(dest), entry->raster, src);
  p.restore();
  return true;
}

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* manager, const RECT& rc,
                             std::string_view text, DWORD argb, int font, UINT style) {
  if (hDC == nullptr || text.empty() || IsRectEmpty(rc)) return;
  QPainter& p = hDC->Painter();
  p.save();
  p.setFont(manager != nullptr ? manager->GetQFont(font) : p.font());
  p.setPen(FromArgb(argb | (argb <= 0x00FFFFFF ? 0xFF000000u : 0u)));
  DrawQText(p, ToQRect(rc), ToQ(text), style);
  p.restore();
}

SIZE CRenderEngine::MeasureText(CPaintManagerUI* manager, std::string_view text, int font) {
  const QFont f = manager != nullptr ? manager->GetQFont(font) : QFont();
  const QFontMetrics fm(f);
  return SIZE{fm.horizontalAdvance(ToQ(text)), fm.height()};
}

std::unique_ptr<CPaintManagerUI::ImageEntry> LoadImageEntry(const QString& path) {
  auto entry = std::make_unique<CPaintManagerUI::ImageEntry>();
  if (!QFile::exists(path)) return entry;
  if (path.endsWith(".svg", Qt::CaseInsensitive)) {
    auto svg = std::make_unique<QSvgRenderer>(path);
    if (svg->isValid()) {
      entry->size = svg->viewBox().size();
      if (entry->size.isEmpty()) entry->size = svg->defaultSize();
      entry->svg = std::move(svg);
      entry->ok = true;
    }
    return entry;
  }
  QImage image(path);
  if (!image.isNull()) {
    entry->raster = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    entry->size = image.size();
    entry->ok = true;
  }
  return entry;
}

}  // namespace DuiLib
