// The debug category "map.route": the Baidu loader's trace of every route point it sends, the
// program's only diagnostic output. Off by default; KORVANE_DEBUG=map.route turns it on.
#pragma once
#include <functional>
#include <string>

namespace korvane {

// True when the trace is on (read from KORVANE_DEBUG once, unless set below).
bool RouteTraceEnabled();
void SetRouteTraceEnabled(bool enabled);

// Where the trace goes; an empty sink restores the default, standard error.
void SetRouteTraceSink(std::function<void(const std::string&)> sink);

// Writes `text` when the trace is on; nothing otherwise.
void RouteTrace(const std::string& text);

}  // namespace korvane
