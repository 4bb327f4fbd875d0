#include "map/route_trace.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace korvane {

namespace {

bool EnabledByEnvironment() {
  const char* value = std::getenv("KORVANE_DEBUG");
  return value && std::strstr(value, "map.route") != nullptr;
}

std::atomic<int>& EnabledState() {
  static std::atomic<int> state{EnabledByEnvironment() ? 1 : 0};
  return state;
}

std::mutex& SinkMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<void(const std::string&)>& Sink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

}  // namespace

bool RouteTraceEnabled() {
  return EnabledState().load(std::memory_order_relaxed) != 0;
}

void SetRouteTraceEnabled(bool enabled) {
  EnabledState().store(enabled ? 1 : 0);
}

void SetRouteTraceSink(std::function<void(const std::string&)> sink) {
  std::lock_guard lock(SinkMutex());
  Sink() = std::move(sink);
}

void RouteTrace(const std::string& text) {
  if (!RouteTraceEnabled()) return;
  std::lock_guard lock(SinkMutex());
  if (Sink()) {
    Sink()(text);
  } else {
    std::fprintf(stderr, "map.route: %s\n", text.c_str());
  }
}

}  // namespace korvane
