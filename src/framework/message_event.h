// Internal: the queued Qt event that carries a window message (and, for a send, the waiting
// sender's completion) to the window's paint widget.
#pragma once
#include <QEvent>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "framework/message_dispatcher.h"
#include "framework/ui_defs.h"

namespace DuiLib {

struct CWindowMessageDispatcher::PendingSend {
  std::mutex mutex;
  std::condition_variable cv;
  bool done = false;
  korvane::LRESULT result = 0;
  // Releases the sender with the value; later calls are ignored.
  void Complete(korvane::LRESULT value);
};

class CMessageEvent : public QEvent {
 public:
  CMessageEvent(UINT msg, WPARAM w, LPARAM l,
                std::shared_ptr<CWindowMessageDispatcher::PendingSend> p);
  ~CMessageEvent() override;
  static QEvent::Type EventType();

  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::shared_ptr<CWindowMessageDispatcher::PendingSend> pending;
};

}  // namespace DuiLib
