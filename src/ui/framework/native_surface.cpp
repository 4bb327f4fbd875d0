#include "ui/framework/native_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace DuiLib {

namespace {

class CNativeSurface : public QWidget {
 public:
  explicit CNativeSurface(std::function<void()> onDoubleClick)
      : onDoubleClick_(std::move(onDoubleClick)) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    // A faint camera mark shows where the picture appears until the player draws over it.
    const int size = std::min(72, std::min(width(), height()) / 4);
    if (size < 16) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor mark(0x2A, 0x2E, 0x35);
    QPen pen(mark, size / 14.0);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = QRectF(rect()).center();
    const QRectF body(c.x() - size * 0.55, c.y() - size * 0.32, size * 0.8, size * 0.64);
    p.drawRoundedRect(body, size * 0.1, size * 0.1);
    QPolygonF lens;
    lens << QPointF(body.right() + size * 0.06, c.y() - size * 0.08)
         << QPointF(body.right() + size * 0.32, c.y() - size * 0.24)
         << QPointF(body.right() + size * 0.32, c.y() + size * 0.24)
         << QPointF(body.right() + size * 0.06, c.y() + size * 0.08);
    p.drawPolygon(lens);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && onDoubleClick_) onDoubleClick_();
  }

 private:
  std::function<void()> onDoubleClick_;
};

}  // namespace

QWidget* CreateNativeSurface(std::function<void()> onDoubleClick) {
  return new CNativeSurface(std::move(onDoubleClick));
}

WindowHandle NativeWindowOf(QWidget* surface) {
  return surface == nullptr ? 0 : static_cast<WindowHandle>(surface->winId());
}

}  // namespace DuiLib
