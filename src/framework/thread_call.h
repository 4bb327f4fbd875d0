// Internal: a call handed to the thread of a Qt object through Qt's event queue, the one way the
// framework's controls let other threads reach the UI thread besides window messages. The
// hand-over is marked for ThreadSanitizer, which cannot see the queue's lock.
#pragma once
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <utility>

#include "platform/thread_hand_over.h"

namespace DuiLib {

// Queues `fn` to run on `target`'s thread, after what is queued there already. A null target
// drops it.
template <typename Fn>
void QueueCall(QObject* target, Fn fn) {
  if (target == nullptr) return;
  korvane::HandOver(target);
  korvane::QueueUnchecked([&] {
    QMetaObject::invokeMethod(
        target,
        [target, fn = std::move(fn)]() mutable {
          korvane::TakeOver(target);
          fn();
        },
        Qt::QueuedConnection);
  });
}

// Runs `fn` on `target`'s thread: at once when called there (or without a target), else queued.
template <typename Fn>
void RunOnThreadOf(QObject* target, Fn fn) {
  if (target == nullptr || QThread::currentThread() == target->thread()) {
    fn();
    return;
  }
  QueueCall(target, std::move(fn));
}

}  // namespace DuiLib
