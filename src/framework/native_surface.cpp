#include "framework/native_surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "framework/qt_bridge.h"

namespace DuiLib {

namespace {

class CNativeSurface : public QWidget {
 public:
  CNativeSurface(std::function<void()> onDoubleClick, std::function<void()> onClick)
      : onDoubleClick_(std::move(onDoubleClick)), onClick_(std::move(onClick)) {
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
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && onClick_ && rect().contains(e->position().toPoint())) {
      onClick_();
    }
  }

 private:
  std::function<void()> onDoubleClick_;
  std::function<void()> onClick_;
};

}  // namespace

QWidget* CreateNativeSurface(std::function<void()> onDoubleClick, std::function<void()> onClick) {
  return new CNativeSurface(std::move(onDoubleClick), std::move(onClick));
}

void PlaceSurface(QWidget* surface, QWidget* parent, const RECT& rc, bool visible) {
  if (surface == nullptr) return;
  if (parent != nullptr && surface->parentWidget() != parent) surface->setParent(parent);
  surface->setGeometry(ToQRect(rc));
  surface->setVisible(visible && parent != nullptr);
  if (visible) surface->raise();
}

void DeleteSurface(QWidget* surface) {
  delete surface;
}

WindowHandle NativeWindowOf(QWidget* surface) {
  if (surface == nullptr) return 0;
  const auto id = static_cast<WindowHandle>(surface->winId());
  surface->update();  // the new native window starts empty
  return id;
}

}  // namespace DuiLib
