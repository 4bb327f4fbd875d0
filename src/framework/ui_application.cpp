#include "ui/framework/ui_application.h"

#include <QApplication>

#include "ui/framework/message_dispatcher.h"

namespace DuiLib {

struct CUIApplication::Impl {
  Impl(int& argc, char** argv) : app(argc, argv) {}
  QApplication app;
};

CUIApplication::CUIApplication(int& argc, char** argv) {
  // The web view and the rest of the window share one GL context.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  impl_ = std::make_unique<Impl>(argc, argv);
  CWindowMessageDispatcher::EnsureInstalled();
}

CUIApplication::~CUIApplication() {
  // Workers still sending after the loop ended are released at once.
  CWindowMessageDispatcher::Instance().Shutdown();
}

}  // namespace DuiLib
