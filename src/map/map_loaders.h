// The three map services: Baidu (BD-09), Google (GCJ-02 in China, WGS-84 elsewhere) and Yandex
// (WGS-84), each with its page under "Map/" of the program folder.
#pragma once
#include <string>

#include "map/page_map_loader.h"

namespace korvane {

// Route points in BD-09, traced to the "map.route" debug category.
class CBaiduMapLoader : public CPageMapLoader {
 public:
  CBaiduMapLoader();
};

// `locale` "China" (exact) gives the China page in GCJ-02, anything else the elsewhere page in
// WGS-84. The locale is fixed for the loader's life, so the page and the positions always agree.
class CGoogleMapLoader : public CPageMapLoader {
 public:
  explicit CGoogleMapLoader(const std::string& locale);
};

// Route points as the camera recorded them.
class CYandexMapLoader : public CPageMapLoader {
 public:
  CYandexMapLoader();
};

}  // namespace korvane
