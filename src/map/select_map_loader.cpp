#include "map/select_map_loader.h"

#include <memory>

#include "map/map_loaders.h"
#include "platform/ascii_text.h"

namespace korvane {

namespace {

std::unique_ptr<CMapLoader> MakeLoader(std::uint8_t mapKind, const std::string& locale) {
  switch (mapKind) {
    case kMapKindBaiduMap:
      return std::make_unique<CBaiduMapLoader>();
    case kMapKindGoogleMap:
      return std::make_unique<CGoogleMapLoader>(locale);
    case kMapKindYandexMap:
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
      {"BaiduMap", kMapKindBaiduMap},
      {"GoogleMap", kMapKindGoogleMap},
      {"YandexMap", kMapKindYandexMap},
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
  mapKind = (locale == "China") ? kMapKindBaiduMap : kMapKindYandexMap;
  display.SetLoader(MakeLoader(mapKind, locale));
  return false;
}

bool SelectMapLoader(std::string_view mapName, CMapDisplay& display, Settings& settings) {
  return SelectMapLoader(mapName, display, settings.locale, settings.mapKind);
}

}  // namespace korvane
