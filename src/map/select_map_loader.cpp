#include "map/select_map_loader.h"

#include <memory>

#include "map/map_loaders.h"
#include "platform/ascii_text.h"

namespace korvane {

namespace {

std::unique_ptr<CMapLoader> MakeLoader(std::uint8_t mapKind, const std::string& locale) {
  switch (mapKind) {
    case kMapKindBaidu:
      return std::make_unique<CBaiduMapLoader>();
    case kMapKindGoogle:
      return std::make_unique<CGoogleMapLoader>(locale);
    case kMapKindYandex:
      return std::make_unique<CYandexMapLoader>();
    default:
      return nullptr;
  }
}

}  // namespace

std::uint8_t MapKindOfName(std::string_view mapName) {
  struct Entry {
    std::string_view name;
    std::uint8_t kind;
  };
  static constexpr Entry kMapTable[] = {
      {"BaiduMap", kMapKindBaidu},
      {"GoogleMap", kMapKindGoogle},
      {"YandexMap", kMapKindYandex},
  };
  for (const Entry& entry : kMapTable) {
    if (EqualsIgnoringAsciiCase(mapName, entry.name)) return entry.kind;
  }
  return kMapKindNone;
}

bool SelectMapLoader(std::string_view mapName, CMapDisplay& display, const std::string& locale,
                     std::uint8_t& mapKind) {
  const std::uint8_t known = MapKindOfName(mapName);
  if (known != kMapKindNone) {
    mapKind = known;
    display.SetLoader(MakeLoader(mapKind, locale));
    return true;
  }
  mapKind = (locale == "China") ? kMapKindBaidu : kMapKindYandex;
  display.SetLoader(MakeLoader(mapKind, locale));
  return false;
}

bool SelectMapLoader(std::string_view mapName, CMapDisplay& display, Settings& settings) {
  return SelectMapLoader(mapName, display, settings.locale, settings.mapKind);
}

}  // namespace korvane
