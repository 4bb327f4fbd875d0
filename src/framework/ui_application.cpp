#include "framework/ui_application.h"

#include <stdlib.h>
#include <unistd.h>

#include <QApplication>

#include "framework/message_dispatcher.h"

namespace DuiLib {

struct CUIApplication::Impl {
  Impl(int& argc, char** argv) : app(argc, argv) {}
  QApplication app;
};

CUIApplication::CUIApplication(int& argc, char** argv) {
  // Chromium in the map view refuses to start as root with its sandbox on. Set here, and only
  // here, so the program, the tests and the benchmarks start the web engine alike.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
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
