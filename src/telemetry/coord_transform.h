// Datum conversions for the maps of China: WGS-84 → GCJ-02 (Google China) and GCJ-02 → BD-09
// (Baidu), as single-point forms for the car marker and batch forms for a chunk of track points.
// Pure arithmetic: no state, no allocation.
#pragma once
#include <cstdint>
#include <string>

#include "telemetry/telemetry_record.h"

namespace korvane {

// True when the point lies outside the box in which the single-point forms convert; the bounds
// themselves count as inside. A NaN coordinate counts as outside.
bool OutOfChina(double lon, double lat);

// The two polynomial-and-sine terms of the published WGS-84 → GCJ-02 offset, in x = lon − 105,
// y = lat − 35. Any double is accepted (non-finite in, non-finite out).
double TransformLat(double x, double y);
double TransformLon(double x, double y);

// Single-point forms: read (lat, lon), write (outLat, outLon). Outside the box the input comes back
// unchanged; non-finite inputs give non-finite outputs, never a fault.
void IdentityTransform(double lat, double lon, double& outLat, double& outLon);
void WgsToGcj(double lat, double lon, double& outLat, double& outLon);
void WgsToBd(double lat, double lon, double& outLat, double& outLon);
// GCJ-02 → BD-09 for one point, with no box test (the second half of WgsToBd).
void GcjToBd(double gcjLat, double gcjLon, double& bdLat, double& bdLon);

// Batch forms over `count` points: write mapLongitude/mapLatitude of each valid point, with no
// out-of-China test; invalid points are left alone. False (nothing written) for no points or a
// count below 1. Google converts to GCJ-02 only when `locale` is exactly "China", else copies.
bool ConvertChunkForBaidu(std::int32_t count, TelemetryRecord* points);
bool ConvertChunkForGoogle(std::int32_t count, TelemetryRecord* points, const std::string& locale);

}  // namespace korvane
