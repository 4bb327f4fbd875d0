#include "platform/window_message.h"

#include <atomic>

namespace korvane {

namespace {
std::atomic<IWindowMessageDispatcher*> g_dispatcher{nullptr};
}

void SetWindowMessageDispatcher(IWindowMessageDispatcher* dispatcher) {
  g_dispatcher = dispatcher;
}

IWindowMessageDispatcher* GetWindowMessageDispatcher() {
  return g_dispatcher;
}

bool PostWindowMessage(WindowHandle window, std::uint32_t message, WPARAM wParam, LPARAM lParam) {
  IWindowMessageDispatcher* dispatcher = g_dispatcher;
  if (dispatcher == nullptr || window == 0) return false;
  return dispatcher->Post(window, message, wParam, lParam);
}

LRESULT SendWindowMessage(WindowHandle window, std::uint32_t message, WPARAM wParam,
                          LPARAM lParam) {
  IWindowMessageDispatcher* dispatcher = g_dispatcher;
  if (dispatcher == nullptr || window == 0) return 0;
  return dispatcher->Send(window, message, wParam, lParam);
}

}  // namespace korvane
