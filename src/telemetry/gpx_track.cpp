#include "telemetry/gpx_track.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <numbers>
#include <pugixml.hpp>

#include "telemetry/civil_date.h"
#include "telemetry/nmea_source.h"

namespace korvane {

namespace {

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& out) {
  if (at + count > text.size()) return false;
  out = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = out * 10 + (text[i] - '0');
  }
  return true;
}

// The element's name without a namespace prefix.
std::string_view LocalName(const pugi::xml_node& node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name) {
  for (pugi::xml_node child : node.children()) {
    if (LocalName(child) == name) return child;
  }
  return {};
}

bool ReadCoordinate(const pugi::xml_node& point, const char* name, double limit, double& out) {
  const std::string_view text = point.attribute(name).value();
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(out) &&
         std::fabs(out) <= limit;
}

// Metres between two nearby positions (equirectangular; the points are seconds apart).
double NearbyMetres(const GpxPoint& a, const GpxPoint& b) {
  constexpr double kRad = std::numbers::pi / 180.0;
  constexpr double kEarthRadiusM = 6371008.8;
  const double x =
      (b.longitude - a.longitude) * kRad * std::cos((a.latitude + b.latitude) / 2 * kRad);
  const double y = (b.latitude - a.latitude) * kRad;
  return std::hypot(x, y) * kEarthRadiusM;
}

}  // namespace

std::optional<std::int64_t> ParseGpxTime(std::string_view t) {
  int year, month, day, hour, minute, second;
  if (!Digits(t, 0, 4, year) || t.size() < 19 || t[4] != '-' || !Digits(t, 5, 2, month) ||
      t[7] != '-' || !Digits(t, 8, 2, day) || (t[10] != 'T' && t[10] != 't' && t[10] != ' ') ||
      !Digits(t, 11, 2, hour) || t[13] != ':' || !Digits(t, 14, 2, minute) || t[16] != ':' ||
      !Digits(t, 17, 2, second)) {
    return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) {
    return std::nullopt;
  }
  std::size_t at = 19;
  std::int64_t ms = 0;
  if (at < t.size() && t[at] == '.') {
    std::int64_t scale = 100;
    for (++at; at < t.size() && t[at] >= '0' && t[at] <= '9'; ++at, scale /= 10) {
      ms += (t[at] - '0') * scale;
    }
  }
  std::int64_t offsetMinutes = 0;
  if (at < t.size() && (t[at] == 'Z' || t[at] == 'z')) {
    ++at;
  } else if (at < t.size() && (t[at] == '+' || t[at] == '-')) {
    int oh, om;
    if (!Digits(t, at + 1, 2, oh) || at + 3 >= t.size() || t[at + 3] != ':' ||
        !Digits(t, at + 4, 2, om) || oh > 14 || om > 59) {
      return std::nullopt;
    }
    offsetMinutes = (t[at] == '-' ? -1 : 1) * (oh * 60 + om);
    at += 6;
  }
  if (at != t.size()) return std::nullopt;
  const std::int64_t seconds =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
      hour * 3600 + minute * 60 + second - offsetMinutes * 60;
  return seconds * 1000 + ms;
}

std::optional<GpxTrack> ParseGpxText(std::string_view xml, std::string& error) {
  pugi::xml_document doc;
  // The default mode skips the DOCTYPE and expands only XML's own five entities and character
  // references: a declared entity is never expanded.
  const pugi::xml_parse_result parsed =
      doc.load_buffer(xml.data(), xml.size(), pugi::parse_default);
  if (!parsed) {
    error = std::string("not an XML file: ") + parsed.description();
    return std::nullopt;
  }
  const pugi::xml_node gpx = doc.document_element();
  if (LocalName(gpx) != "gpx") {
    error = "not a GPX file";
    return std::nullopt;
  }
  GpxTrack track;
  for (pugi::xml_node trk : gpx.children()) {
    if (LocalName(trk) != "trk") continue;
    for (pugi::xml_node seg : trk.children()) {
      if (LocalName(seg) != "trkseg") continue;
      bool first = true;
      for (pugi::xml_node pt : seg.children()) {
        if (LocalName(pt) != "trkpt") continue;
        GpxPoint point;
        if (!ReadCoordinate(pt, "lat", 90.0, point.latitude) ||
            !ReadCoordinate(pt, "lon", 180.0, point.longitude)) {
          ++track.badPoints;
          continue;
        }
        const std::optional<std::int64_t> time = ParseGpxTime(Child(pt, "time").text().get());
        if (!time) {
          ++track.untimed;
          continue;
        }
        point.utcMs = *time;
        if (const pugi::xml_node speed = Child(pt, "speed"); speed) {
          const double ms = speed.text().as_double(-1.0);
          if (std::isfinite(ms) && ms >= 0.0) point.speedKmh = static_cast<float>(ms * 3.6);
        }
        if (const pugi::xml_node ele = Child(pt, "ele"); ele) {
          const double metres = ele.text().as_double(std::nan(""));
          if (std::isfinite(metres)) point.altitudeM = static_cast<float>(metres);
        }
        point.segmentStart = first;
        first = false;
        track.points.push_back(point);
      }
    }
  }
  if (track.points.empty()) {
    error = track.untimed > 0 ? "no track point has a time" : "no track point";
    return std::nullopt;
  }
  if (!std::is_sorted(track.points.begin(), track.points.end(),
                      [](const GpxPoint& a, const GpxPoint& b) { return a.utcMs < b.utcMs; })) {
    std::stable_sort(track.points.begin(), track.points.end(),
                     [](const GpxPoint& a, const GpxPoint& b) { return a.utcMs < b.utcMs; });
  }
  return track;
}

std::optional<GpxTrack> ReadGpxFile(const std::string& path, std::string& error,
                                    std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return std::nullopt;
  }
  std::string text;
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    if (text.size() + static_cast<std::size_t>(in.gcount()) > maxBytes) {
      error = path + " is larger than " + std::to_string(maxBytes >> 20) + " MiB";
      return std::nullopt;
    }
    text.append(block, static_cast<std::size_t>(in.gcount()));
  }
  return ParseGpxText(text, error);
}

std::optional<GpxPoint> GpxPositionAt(std::span<const GpxPoint> points, std::int64_t utcMs) {
  const auto after =
      std::upper_bound(points.begin(), points.end(), utcMs,
                       [](std::int64_t t, const GpxPoint& p) { return t < p.utcMs; });
  if (after == points.begin()) return std::nullopt;
  const GpxPoint& a = *std::prev(after);
  if (after == points.end() || after->segmentStart || after->utcMs - a.utcMs > kGpxMaxGapMs) {
    if (a.utcMs != utcMs) return std::nullopt;
    GpxPoint exact = a;
    if (exact.speedKmh < 0) exact.speedKmh = 0.0f;
    return exact;
  }
  const GpxPoint& b = *after;
  const double f = static_cast<double>(utcMs - a.utcMs) / static_cast<double>(b.utcMs - a.utcMs);
  GpxPoint p;
  p.utcMs = utcMs;
  p.latitude = a.latitude + (b.latitude - a.latitude) * f;
  p.longitude = a.longitude + (b.longitude - a.longitude) * f;
  p.altitudeM = static_cast<float>(a.altitudeM + (b.altitudeM - a.altitudeM) * f);
  p.speedKmh = a.speedKmh >= 0 && b.speedKmh >= 0
                   ? static_cast<float>(a.speedKmh + (b.speedKmh - a.speedKmh) * f)
                   : static_cast<float>(NearbyMetres(a, b) / ((b.utcMs - a.utcMs) / 1000.0) * 3.6);
  return p;
}

std::vector<TelemetryRecord> GpxClipRecords(std::span<const GpxPoint> points,
                                            std::int64_t clipStartUtcMs, std::int64_t durationMs,
                                            std::int32_t stepMs) {
  std::vector<TelemetryRecord> records;
  if (points.empty() || stepMs <= 0 || durationMs <= 0) return records;
  if (points.back().utcMs < clipStartUtcMs || points.front().utcMs > clipStartUtcMs + durationMs) {
    return records;
  }
  bool any = false;
  for (std::int64_t t = 0; t <= durationMs; t += stepMs) {
    const std::int64_t at = clipStartUtcMs + t;
    const std::optional<GpxPoint> p = GpxPositionAt(points, at);
    NmeaFix fix;
    fix.mediaMs = static_cast<std::int32_t>(t);
    fix.cameraTime = at >= 0 ? at / 1000 : (at - 999) / 1000;
    fix.milliseconds = static_cast<std::int32_t>(at - fix.cameraTime * 1000);
    fix.valid = p.has_value();
    if (p) {
      fix.latitude = p->latitude;
      fix.longitude = p->longitude;
      fix.speedKmh = p->speedKmh;
      fix.altitudeM = p->altitudeM;
      any = true;
    }
    records.push_back(NmeaFixRecord(fix));
  }
  if (!any) records.clear();
  return records;
}

}  // namespace korvane
