// Hand-overs between threads that ThreadSanitizer cannot see, told to it by hand. A queue inside a
// library built without the sanitizer (Qt's event queue) orders the sender's writes before the
// receiver's reads through a lock the sanitizer never sees, so without these marks every value
// passed that way would be reported as a race. In a build without ThreadSanitizer all three are
// empty.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define KORVANE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KORVANE_THREAD_SANITIZER 1
#endif
#endif

#ifdef KORVANE_THREAD_SANITIZER
extern "C" {
void __tsan_acquire(void* addr);
void __tsan_release(void* addr);
void __tsan_ignore_thread_begin();
void __tsan_ignore_thread_end();
}
#endif

namespace korvane {

// Sender, before queuing: everything this thread has written so far goes with `token` (any
// address both sides know, such as the queued item or its receiver).
inline void HandOver([[maybe_unused]] const void* token) {
#ifdef KORVANE_THREAD_SANITIZER
  __tsan_release(const_cast<void*>(token));
#endif
}

// Receiver, before reading what came: what was handed over with `token` happened before this
// thread's next steps. A token nothing was handed over with is harmless.
inline void TakeOver([[maybe_unused]] const void* token) {
#ifdef KORVANE_THREAD_SANITIZER
  __tsan_acquire(const_cast<void*>(token));
#endif
}

// Sender: runs `queue`, the library call that queues the item, with this thread's memory accesses
// unchecked. The queue's bookkeeping is guarded by the library's own lock, and whatever the call
// builds from values already handed over (a copy of a callable, say) the receiver reads only
// after TakeOver.
template <typename Queue>
void QueueUnchecked(Queue&& queue) {
#ifdef KORVANE_THREAD_SANITIZER
  struct Unchecked {
    Unchecked() { __tsan_ignore_thread_begin(); }
    ~Unchecked() { __tsan_ignore_thread_end(); }
  } unchecked;
#endif
  queue();
}

}  // namespace korvane
