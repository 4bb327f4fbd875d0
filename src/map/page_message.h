// What a map page may tell the program, checked before anything acts on it. The page channel hands
// over the page's message as it came: a name and a JSON text. Only a known name with a flat object
// of finite numbers, for the route the program drew last and a moment that can be in a clip, comes
// through; everything else is dropped. Pure: no I/O.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace korvane {

// The page's messages:
//   "routeClick" {"route": id, "t": ms}  the user clicked on or near the route point of moment t
//   "routeHover" {"route": id, "t": ms}  the mouse rests on or near that point
//   "routeLeave" {"route": id}           the mouse is no longer near the route
//   "overviewClick" {"set": n, "clip": c, "t": ms}  a click near clip c's overview line of set n
//   "overviewToggle" {"on": 1 or 0}      the user wants every route of the folder shown, or not
//   "trackChoice" {"gpx": 1 or 0}        the user wants the clip played from the folder's imported
//                                        GPX track, or from its own track
// `route` is the id the page got with clearLinePoints; `t` the media time the point came with.
enum class PageEventKind {
  RouteClick,
  RouteHover,
  RouteLeave,
  OverviewClick,
  OverviewToggle,
  TrackChoice
};

struct PageEvent {
  PageEventKind kind = PageEventKind::RouteLeave;
  std::int32_t timeMs = 0;  // 0 for RouteLeave
  std::uint32_t clip = 0;   // OverviewClick only
  bool on = false;          // OverviewToggle; TrackChoice: the imported track
  friend bool operator==(const PageEvent&, const PageEvent&) = default;
};

// The event, or nullopt for an unknown name, a text that is not a flat JSON object of numbers, a
// missing field, a route other than `routeId` (a page still showing another file), or a time that
// is not a finite number from 0 to the largest 32-bit count of ms. A fractional time is cut to
// whole ms; whether it lies within the clip is for the seek to settle. An overview click counts
// only for `overviewSet`, the set of lines shown (0: none, so none counts), with a whole clip
// number.
std::optional<PageEvent> ValidatePageMessage(std::string_view name, std::string_view json,
                                             std::uint32_t routeId, std::uint32_t overviewSet = 0);

}  // namespace korvane
