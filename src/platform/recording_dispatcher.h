// A window-message dispatcher for tests: records every post and send, thread-safely, and lets a
// test wait until a given message has arrived. Sends answer with a result the test chooses.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/window_message.h"

namespace korvane {

struct RecordedMessage {
  WindowHandle window = 0;
  std::uint32_t message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool sent = false;  // SendWindowMessage rather than PostWindowMessage
};

class RecordingDispatcher : public IWindowMessageDispatcher {
 public:
  using Match = std::function<bool(const RecordedMessage&)>;
  using SendHandler = std::function<LRESULT(const RecordedMessage&)>;

  bool Post(WindowHandle window, std::uint32_t message, WPARAM wParam, LPARAM lParam) override;
  LRESULT Send(WindowHandle window, std::uint32_t message, WPARAM wParam, LPARAM lParam) override;

  // What Post returns (default true).
  void SetPostResult(bool result);
  // Called for every send on the sender's thread, after it is recorded; its value is returned.
  // Without a handler a send returns 0.
  void SetSendHandler(SendHandler handler);

  std::vector<RecordedMessage> Messages() const;
  // Messages with this number, in arrival order.
  std::vector<RecordedMessage> MessagesOf(std::uint32_t message) const;
  std::size_t Count(std::uint32_t message) const;
  void Clear();

  // The first recorded message (since the last Clear) that matches, waiting up to `timeout` for
  // it; nullopt on time-out.
  std::optional<RecordedMessage> WaitFor(const Match& match, std::chrono::milliseconds timeout);
  std::optional<RecordedMessage> WaitForMessage(std::uint32_t message,
                                                std::chrono::milliseconds timeout);
  std::optional<RecordedMessage> WaitForMessage(std::uint32_t message, WPARAM wParam,
                                                std::chrono::milliseconds timeout);
  // True once at least `count` messages with this number have arrived within `timeout`.
  bool WaitForCount(std::uint32_t message, std::size_t count, std::chrono::milliseconds timeout);

 private:
  void Record(const RecordedMessage& m);

  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<RecordedMessage> messages_;
  bool postResult_ = true;
  SendHandler sendHandler_;
};

// Installs a dispatcher for the lifetime of the object and restores the previous one after.
class ScopedWindowMessageDispatcher {
 public:
  explicit ScopedWindowMessageDispatcher(IWindowMessageDispatcher* dispatcher)
      : previous_(GetWindowMessageDispatcher()) {
    SetWindowMessageDispatcher(dispatcher);
  }
  ~ScopedWindowMessageDispatcher() { SetWindowMessageDispatcher(previous_); }
  ScopedWindowMessageDispatcher(const ScopedWindowMessageDispatcher&) = delete;
  ScopedWindowMessageDispatcher& operator=(const ScopedWindowMessageDispatcher&) = delete;

 private:
  IWindowMessageDispatcher* previous_;
};

}  // namespace korvane
