// The map table and the choice of the map loader at start-up.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "map/map_loader.h"
#include "settings/settings.h"

namespace korvane {

// The map kind of a known map name ("BaiduMap", "GoogleMap", "YandexMap", any case), else 0.
std::uint8_t MapKindOfName(std::string_view mapName);

// Gives `display` the loader for `mapName` and sets `mapKind` to its kind; true when the name was
// known. An unknown name falls back by `locale`: "China" (exact) gives Baidu (1), anything else
// Yandex (3), and the result is false.
bool SelectMapLoader(std::string_view mapName, CMapDisplay& display, const std::string& locale,
                     std::uint8_t& mapKind);
// The same with the settings record's `locale`, setting its `mapKind`.
bool SelectMapLoader(std::string_view mapName, CMapDisplay& display, Settings& settings);

}  // namespace korvane
