#include "framework/message_dispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <algorithm>

#include "framework/message_event.h"
#include "framework/window_wnd.h"
#include "platform/thread_hand_over.h"

namespace DuiLib {

void CWindowMessageDispatcher::PendingSend::Complete(korvane::LRESULT value) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (done) return;
    done = true;
    result = value;
  }
  cv.notify_all();
}

CMessageEvent::CMessageEvent(UINT msg, WPARAM w, LPARAM l,
                             std::shared_ptr<CWindowMessageDispatcher::PendingSend> p)
    : QEvent(EventType()), message(msg), wParam(w), lParam(l), pending(std::move(p)) {
  // The message and whatever its parameters point to reach the window's thread through Qt's
  // event queue.
  korvane::HandOver(this);
}

CMessageEvent::~CMessageEvent() {
  korvane::TakeOver(this);  // an event deleted unhandled, on the window's thread
  // An event dropped with its target (window deleted) must still release a waiting sender.
  if (pending) pending->Complete(0);
}

QEvent::Type CMessageEvent::EventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

CWindowMessageDispatcher& CWindowMessageDispatcher::Instance() {
  static CWindowMessageDispatcher instance;
  return instance;
}

void CWindowMessageDispatcher::EnsureInstalled() {
  if (korvane::GetWindowMessageDispatcher() == nullptr) {
    korvane::SetWindowMessageDispatcher(&Instance());
  }
}

bool CWindowMessageDispatcher::Post(korvane::WindowHandle window, std::uint32_t message,
                                    korvane::WPARAM wParam, korvane::LPARAM lParam) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(window);
  if (shutdown_ || it == windows_.end()) return false;
  QCoreApplication::postEvent(it->second.target,
                              new CMessageEvent(message, wParam, lParam, nullptr));
  return true;
}

korvane::LRESULT CWindowMessageDispatcher::Send(korvane::WindowHandle window, std::uint32_t message,
                                                korvane::WPARAM wParam, korvane::LPARAM lParam) {
  std::shared_ptr<PendingSend> pending;
  CWindowWnd* direct = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(window);
    if (shutdown_ || it == windows_.end()) return 0;
    if (QThread::currentThread() == it->second.target->thread()) {
      direct = it->second.window;
    } else {
      pending = std::make_shared<PendingSend>();
      it->second.pending.push_back(pending);
      QCoreApplication::postEvent(it->second.target,
                                  new CMessageEvent(message, wParam, lParam, pending));
    }
  }
  if (direct != nullptr) return direct->RouteMessage(message, wParam, lParam);

  std::unique_lock<std::mutex> wait(pending->mutex);
  pending->cv.wait(wait, [&] { return pending->done; });
  const korvane::LRESULT result = pending->result;
  wait.unlock();
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto it = windows_.find(window); it != windows_.end()) {
    auto& list = it->second.pending;
    list.erase(std::remove(list.begin(), list.end(), pending), list.end());
  }
  return result;
}

korvane::WindowHandle CWindowMessageDispatcher::Register(CWindowWnd* window, QObject* target) {
  std::lock_guard<std::mutex> lock(mutex_);
  const korvane::WindowHandle handle = next_++;
  windows_[handle] = Entry{window, target, {}};
  return handle;
}

void CWindowMessageDispatcher::Unregister(korvane::WindowHandle window) {
  std::vector<std::shared_ptr<PendingSend>> pending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    pending.swap(it->second.pending);
    windows_.erase(it);
  }
  for (auto& p : pending) p->Complete(0);
}

CWindowWnd* CWindowMessageDispatcher::Find(korvane::WindowHandle window) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.window;
}

void CWindowMessageDispatcher::Shutdown() {
  std::vector<std::shared_ptr<PendingSend>> pending;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    shutdown_ = true;
    for (auto& [handle, entry] : windows_) {
      pending.insert(pending.end(), entry.pending.begin(), entry.pending.end());
      entry.pending.clear();
    }
  }
  for (auto& p : pending) p->Complete(0);
}

}  // namespace DuiLib
