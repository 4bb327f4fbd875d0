#include "framework/native_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

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
  if (surface == nullptr) return 0;
  const auto id = static_cast<WindowHandle>(surface->winId());
  surface->update();  // the new native window starts empty
  return id;
}

}  // namespace DuiLib
