#include "export/clip_report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/json_text.h"
#include "telemetry/civil_date.h"

namespace korvane {
namespace {

constexpr int kDegreeDecimals = 7;
constexpr int kSpeedDecimals = 2;

ReportFix FixOf(const IndexPoint& point) {
  ReportFix fix;
  if (point.timeMs != kNoTime) fix.timeMs = point.timeMs;
  fix.mediaMs = point.mediaMs;
  fix.latitude = point.latitude;
  fix.longitude = point.longitude;
  fix.speedKmh = point.speedKmh;
  return fix;
}

std::string_view SourceName(std::string_view source) {
  return source.empty() ? "none" : source;
}

std::string JsonNumber(double value, int decimals) {
  return std::isfinite(value) ? FixedText(value, decimals) : "null";
}

std::string FixJson(const std::optional<ReportFix>& fix, SourceClock clock) {
  if (!fix) return "null";
  std::string json = "{\"time\":";
  if (fix->timeMs) {
    AppendJsonString(json, SourceTimeText(*fix->timeMs, clock));
  } else {
    json += "null";
  }
  json += ",\"media_ms\":" + std::to_string(fix->mediaMs);
  json += ",\"lat\":" + JsonNumber(fix->latitude, kDegreeDecimals);
  json += ",\"lon\":" + JsonNumber(fix->longitude, kDegreeDecimals);
  json += ",\"speed_kmh\":" + JsonNumber(fix->speedKmh, kSpeedDecimals);
  return json + "}";
}

std::string FixText(const ReportFix& fix, SourceClock clock) {
  return (fix.timeMs ? SourceTimeText(*fix.timeMs, clock) : std::string("(no real date)")) +
         " at " + std::to_string(fix.mediaMs) + " ms, " + FixedText(fix.latitude, kDegreeDecimals) +
         " " + FixedText(fix.longitude, kDegreeDecimals) + ", " +
         FixedText(fix.speedKmh, kSpeedDecimals) + " km/h";
}

}  // namespace

ClipReport ReportOfClip(const ClipSummary& summary, std::span<const IndexPoint> points) {
  ClipReport report;
  report.path = summary.path;
  report.source = summary.source;
  report.clock = summary.source.empty() ? SourceClock::None : summary.traits.clock;
  report.fixes = static_cast<std::int64_t>(points.size());
  if (!points.empty()) {
    report.first = FixOf(points.front());
    report.last = FixOf(points.back());
  }
  report.gSensor = !points.empty() && summary.traits.gSensor;
  report.durationMs = summary.durationMs;
  report.reason = summary.reason;
  return report;
}

std::string SourceTimeText(std::int64_t ms, SourceClock clock) {
  const std::int64_t seconds = ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
  const auto milliseconds = static_cast<int>(ms - seconds * 1000);
  const CivilTime t = CivilFromSeconds(seconds);
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02u.%03d%s",
                static_cast<long long>(t.year), t.month, t.day, t.hour, t.minute, t.second,
                milliseconds, clock == SourceClock::Receiver ? "Z" : "");
  return text;
}

std::string ClipReportJson(const ClipReport& report) {
  const SourceClock clock = report.clock;
  std::string json = "{\"path\":";
  AppendJsonString(json, report.path);
  json += ",\"source\":";
  AppendJsonString(json, SourceName(report.source));
  json += ",\"clock\":";
  AppendJsonString(json, SourceClockText(clock));
  json += ",\"fixes\":" + std::to_string(report.fixes);
  json += ",\"first\":" + FixJson(report.first, clock);
  json += ",\"last\":" + FixJson(report.last, clock);
  json += report.gSensor ? ",\"g_sensor\":true" : ",\"g_sensor\":false";
  json += ",\"duration_ms\":" + std::to_string(report.durationMs);
  json += ",\"reason\":";
  if (report.reason.empty()) {
    json += "null";
  } else {
    AppendJsonString(json, report.reason);
  }
  json += ",\"family\":";
  AppendJsonString(json, SourceFamily(report.source));
  return json + "}";
}

std::string ClipReportText(const ClipReport& report) {
  const SourceClock clock = report.clock;
  std::string text = report.path + "\n";
  text += "  source:    " + std::string(SourceName(report.source));
  if (clock != SourceClock::None) text += " (" + std::string(SourceClockText(clock)) + " clock)";
  if (const std::string family = SourceFamily(report.source); family != SourceName(report.source)) {
    text += "\n  family:    " + family;
  }
  text += "\n  fixes:     " + std::to_string(report.fixes) + "\n";
  if (report.first) text += "  first:     " + FixText(*report.first, clock) + "\n";
  if (report.last) text += "  last:      " + FixText(*report.last, clock) + "\n";
  text += std::string("  G values:  ") + (report.gSensor ? "yes" : "no") + "\n";
  text += "  duration:  " + std::to_string(report.durationMs) + " ms\n";
  if (!report.reason.empty()) text += "  reason:    " + report.reason + "\n";
  return text;
}

}  // namespace korvane
