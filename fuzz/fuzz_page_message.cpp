// Arbitrary page messages (a known name chosen by the first byte, or any name, then any JSON
// text): no crash, and what comes through is the message named, for the route drawn last, with a
// time a clip can have.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "map/page_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size == 0) return 0;
  constexpr std::string_view kNames[] = {"routeClick",    "routeHover",     "routeLeave",
                                         "overviewClick", "overviewToggle", "trackChoice"};
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view name;
  const std::size_t pick = data[0] % (std::size(kNames) + 1);
  if (pick < std::size(kNames)) {
    name = kNames[pick];
  } else {
    const std::size_t end = rest.find('\0');
    name = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  const auto event = ValidatePageMessage(name, rest, 7, 3);
  if (!event) return 0;
  const bool known = pick < std::size(kNames) ||
                     std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
  if (!known || event->timeMs < 0) std::abort();
  if (event->kind == PageEventKind::RouteLeave && event->timeMs != 0) std::abort();
  return 0;
}
