// The three map services: Baidu (BD-09), Google (GCJ-02 in China, WGS-84 elsewhere) and Yandex
// (WGS-84), each with its page under "Map/" of the program folder.
#pragma once
#include <string>

#include "map/page_map_loader.h"

namespace korvane {

class CBaiduMapLoader : public CPageMapLoader {
 public:
  std::string PagePath(const std::string& programFolder) const override;

 protected:
  void ToMapDatum(double latitude, double longitude, double& outLatitude,
                  double& outLongitude) const override;
  void RoutePoint(const TelemetryRecord& point, double& latitude, double& longitude) const override;
  // To the debug category "map.route" (route_trace.h).
  void TraceRoutePoint(const std::string& latitude, const std::string& longitude) override;
};

class CGoogleMapLoader : public CPageMapLoader {
 public:
  // `locale` "China" (exact) gives the China page in GCJ-02; anything else the elsewhere page.
  explicit CGoogleMapLoader(std::string locale) : locale_(std::move(locale)) {}
  std::string PagePath(const std::string& programFolder) const override;

 protected:
  void ToMapDatum(double latitude, double longitude, double& outLatitude,
                  double& outLongitude) const override;
  void RoutePoint(const TelemetryRecord& point, double& latitude, double& longitude) const override;

 private:
  bool InChina() const { return locale_ == "China"; }

  // Fixed for the loader's life, so the datum never differs between the page and the positions.
  std::string locale_;
};

class CYandexMapLoader : public CPageMapLoader {
 public:
  std::string PagePath(const std::string& programFolder) const override;

 protected:
  void ToMapDatum(double latitude, double longitude, double& outLatitude,
                  double& outLongitude) const override;
  void RoutePoint(const TelemetryRecord& point, double& latitude, double& longitude) const override;
};

}  // namespace korvane
