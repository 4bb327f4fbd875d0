#include "platform/recording_dispatcher.h"

#include <algorithm>

namespace korvane {

void RecordingDispatcher::Record(const RecordedMessage& m) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(m);
  }
  arrived_.notify_all();
}

bool RecordingDispatcher::Post(WindowHandle window, std::uint32_t message, WPARAM wParam,
                               LPARAM lParam) {
  Record({window, message, wParam, lParam, false});
  std::lock_guard lock(mutex_);
  return postResult_;
}

LRESULT RecordingDispatcher::Send(WindowHandle window, std::uint32_t message, WPARAM wParam,
                                  LPARAM lParam) {
  const RecordedMessage m{window, message, wParam, lParam, true};
  Record(m);
  SendHandler handler;
  {
    std::lock_guard lock(mutex_);
    handler = sendHandler_;
  }
  // Called outside the lock so a handler may look at the recorded messages.
  return handler ? handler(m) : 0;
}

void RecordingDispatcher::SetPostResult(bool result) {
  std::lock_guard lock(mutex_);
  postResult_ = result;
}

void RecordingDispatcher::SetSendHandler(SendHandler handler) {
  std::lock_guard lock(mutex_);
  sendHandler_ = std::move(handler);
}

std::vector<RecordedMessage> RecordingDispatcher::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<RecordedMessage> RecordingDispatcher::MessagesOf(std::uint32_t message) const {
  std::lock_guard lock(mutex_);
  std::vector<RecordedMessage> result;
  std::copy_if(messages_.begin(), messages_.end(), std::back_inserter(result),
               [&](const RecordedMessage& m) { return m.message == message; });
  return result;
}

std::size_t RecordingDispatcher::Count(std::uint32_t message) const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(
      std::count_if(messages_.begin(), messages_.end(),
                    [&](const RecordedMessage& m) { return m.message == message; }));
}

void RecordingDispatcher::Clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

std::optional<RecordedMessage> RecordingDispatcher::WaitFor(const Match& match,
                                                            std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  std::optional<RecordedMessage> found;
  arrived_.wait_for(lock, timeout, [&] {
    auto it = std::find_if(messages_.begin(), messages_.end(), match);
    if (it != messages_.end()) found = *it;
    return found.has_value();
  });
  return found;
}

std::optional<RecordedMessage> RecordingDispatcher::WaitForMessage(
    std::uint32_t message, std::chrono::milliseconds timeout) {
  return WaitFor([message](const RecordedMessage& m) { return m.message == message; }, timeout);
}

std::optional<RecordedMessage> RecordingDispatcher::WaitForMessage(
    std::uint32_t message, WPARAM wParam, std::chrono::milliseconds timeout) {
  return WaitFor(
      [message, wParam](const RecordedMessage& m) {
        return m.message == message && m.wParam == wParam;
      },
      timeout);
}

bool RecordingDispatcher::WaitForCount(std::uint32_t message, std::size_t count,
                                       std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] {
    return static_cast<std::size_t>(std::count_if(
               messages_.begin(), messages_.end(),
               [&](const RecordedMessage& m) { return m.message == message; })) >= count;
  });
}

}  // namespace korvane
