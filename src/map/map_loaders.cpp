#include "map/map_loaders.h"

#include "map/route_trace.h"
#include "telemetry/coord_transform.h"
#include "telemetry/telemetry_record.h"

namespace korvane {

namespace {

void MapCoordinates(const TelemetryRecord& point, double& latitude, double& longitude) {
  latitude = point.mapLatitude;
  longitude = point.mapLongitude;
}

void CameraCoordinates(const TelemetryRecord& point, double& latitude, double& longitude) {
  latitude = point.latitude;
  longitude = point.longitude;
}

}  // namespace

std::string CBaiduMapLoader::PagePath(const std::string& programFolder) const {
  return programFolder + "Map/BaiduMap.html";
}

void CBaiduMapLoader::ToMapDatum(double latitude, double longitude, double& outLatitude,
                                 double& outLongitude) const {
  WgsToBd(latitude, longitude, outLatitude, outLongitude);
}

void CBaiduMapLoader::RoutePoint(const TelemetryRecord& point, double& latitude,
                                 double& longitude) const {
  MapCoordinates(point, latitude, longitude);
}

void CBaiduMapLoader::TraceRoutePoint(const std::string& latitude, const std::string& longitude) {
  if (RouteTraceEnabled()) RouteTrace(latitude + "\n" + longitude);
}

std::string CGoogleMapLoader::PagePath(const std::string& programFolder) const {
  return programFolder + (InChina() ? "Map/GoogleMap_China.html" : "Map/GoogleMap_Oversea.html");
}

void CGoogleMapLoader::ToMapDatum(double latitude, double longitude, double& outLatitude,
                                  double& outLongitude) const {
  (InChina() ? &WgsToGcj : &IdentityTransform)(latitude, longitude, outLatitude, outLongitude);
}

void CGoogleMapLoader::RoutePoint(const TelemetryRecord& point, double& latitude,
                                  double& longitude) const {
  MapCoordinates(point, latitude, longitude);
}

std::string CYandexMapLoader::PagePath(const std::string& programFolder) const {
  return programFolder + "Map/YandexMap.html";
}

void CYandexMapLoader::ToMapDatum(double latitude, double longitude, double& outLatitude,
                                  double& outLongitude) const {
  IdentityTransform(latitude, longitude, outLatitude, outLongitude);
}

void CYandexMapLoader::RoutePoint(const TelemetryRecord& point, double& latitude,
                                  double& longitude) const {
  CameraCoordinates(point, latitude, longitude);
}

}  // namespace korvane
