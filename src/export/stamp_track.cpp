#include "export/stamp_track.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "telemetry/telemetry_text.h"

namespace korvane {
namespace {

constexpr char kGap[] = "   ";
// A source whose spacing cannot be seen (a single point) is taken as writing once a second.
constexpr std::int64_t kUsualSpacingMs = 1000;

// The panel's value text of a signed angle: rounded once to hundredths of a second, so 59.996"
// carries into the next minute instead of reading 60.00".
std::string Degrees(double value, char positive, char negative) {
  const double magnitude = std::isfinite(value) ? std::fabs(value) : 0.0;
  const long long hundredths = std::llround(magnitude * 360000.0);
  return FormatDegrees(value < 0 ? negative : positive, static_cast<int>(hundredths / 360000),
                       static_cast<int>(hundredths % 360000 / 6000),
                       static_cast<double>(hundredths % 6000) / 100.0);
}

std::string GPart(const SavedPoint& point) {
  if (!point.hasG) return {};
  char text[96];
  std::snprintf(text, sizeof text, "%sG X %+.2f  Y %+.2f  Z %+.2f", kGap,
                std::isfinite(point.gX) ? point.gX : 0.0, std::isfinite(point.gY) ? point.gY : 0.0,
                std::isfinite(point.gZ) ? point.gZ : 0.0);
  return text;
}

// The median gap between points that follow each other in time.
std::int64_t UsualSpacing(std::span<const SavedPoint> points) {
  std::vector<std::int64_t> gaps;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const std::int64_t gap = points[i].stretchMs - points[i - 1].stretchMs;
    if (gap > 0) gaps.push_back(gap);
  }
  if (gaps.empty()) return kUsualSpacingMs;
  // The lower middle, so one lost point among few does not stretch the hold.
  const std::size_t middle = (gaps.size() - 1) / 2;
  std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(middle), gaps.end());
  return gaps[middle];
}

// ASS's "0:00:01.25": centiseconds, cut rather than rounded so a cue never reaches past the next.
std::string AssTime(std::int64_t ms) {
  const std::int64_t cs = std::max<std::int64_t>(ms, 0) / 10;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", static_cast<long long>(cs / 360000),
                static_cast<long long>(cs / 6000 % 60), static_cast<long long>(cs / 100 % 60),
                static_cast<long long>(cs % 100));
  return text;
}

// A caption is drawn as written: braces would open an override block and a backslash an escape.
std::string AssText(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += "\\N";
    } else if (c == '{' || c == '}' || c == '\\') {
      out += c == '\\' ? '/' : (c == '{' ? '(' : ')');
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string StampText(const SavedPoint& point, const StampCaptions& captions, SpeedUnit unit) {
  return captions.time + " " + CameraClockText(point.cameraMs, ':') + kGap + captions.speed +
         FormatSpeed(std::max(0.0, static_cast<double>(point.speedKmh)), unit) + '\n' +
         captions.latitude + Degrees(point.latitude, 'N', 'S') + kGap + captions.longitude +
         Degrees(point.longitude, 'E', 'W') + GPart(point);
}

std::string NoFixStampText(std::int64_t cameraMs, const StampCaptions& captions) {
  return captions.time + " " + CameraClockText(cameraMs, ':') + kGap + captions.status + " " +
         captions.noFix;
}

std::vector<StampCue> StampCues(std::span<const SavedPoint> points, std::int64_t fromCameraMs,
                                std::int64_t lengthMs, const StampCaptions& captions,
                                SpeedUnit unit) {
  std::vector<StampCue> cues;
  if (lengthMs <= 0) return cues;
  std::vector<SavedPoint> kept;
  for (const SavedPoint& point : points) {
    if (point.stretchMs < 0 || point.stretchMs >= lengthMs) continue;
    if (!kept.empty() && point.stretchMs <= kept.back().stretchMs) continue;
    kept.push_back(point);
  }
  const std::int64_t hold = std::max<std::int64_t>(UsualSpacing(kept) * 3 / 2, 10);
  // The camera clock over [from, to) no point covers, cut at its whole seconds.
  auto noFix = [&](std::int64_t from, std::int64_t to, std::int64_t clockOffset) {
    while (from < to) {
      const std::int64_t camera = from + clockOffset;
      const std::int64_t intoSecond = (camera % 1000 + 1000) % 1000;
      const std::int64_t end = std::min(to, from + 1000 - intoSecond);
      cues.push_back({from, end, NoFixStampText(camera, captions)});
      from = end;
    }
  };
  std::int64_t covered = 0;
  std::int64_t clockOffset =
      kept.empty() ? fromCameraMs : kept.front().cameraMs - kept.front().stretchMs;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const SavedPoint& point = kept[i];
    noFix(covered, point.stretchMs, clockOffset);
    clockOffset = point.cameraMs - point.stretchMs;
    const std::int64_t next = i + 1 < kept.size() ? kept[i + 1].stretchMs : lengthMs;
    covered = std::min(next, point.stretchMs + hold);
    cues.push_back({point.stretchMs, covered, StampText(point, captions, unit)});
  }
  noFix(covered, lengthMs, clockOffset);
  return cues;
}

std::string StampSubtitles(std::span<const StampCue> cues, int width, int height) {
  if (width <= 0 || height <= 0) {
    width = 1920;
    height = 1080;
  }
  const int size = std::max(12, height / 32);
  const int margin = std::max(8, height / 45);
  // Border style 3 draws the outline colour as an opaque box behind each row: legible on sky
  // and asphalt alike.
  std::string script = "[Script Info]\nScriptType: v4.00+\nPlayResX: " + std::to_string(width) +
                       "\nPlayResY: " + std::to_string(height) +
                       "\nWrapStyle: 2\nScaledBorderAndShadow: yes\n\n[V4+ Styles]\n"
                       "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, "
                       "OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, "
                       "ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, "
                       "MarginR, MarginV, Encoding\nStyle: Stamp," +
                       std::string(kStampFont) + "," + std::to_string(size) +
                       ",&H00FFFFFF,&H00FFFFFF,&H60000000,&H60000000,0,0,0,0,100,100,0,0,3," +
                       std::to_string(std::max(2, size / 5)) + ",0,1," + std::to_string(margin) +
                       "," + std::to_string(margin) + "," + std::to_string(margin) +
                       ",1\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, "
                       "MarginV, Effect, Text\n";
  for (const StampCue& cue : cues) {
    if (cue.endMs / 10 <= cue.startMs / 10) continue;  // shorter than ASS can time
    script += "Dialogue: 0," + AssTime(cue.startMs) + "," + AssTime(cue.endMs) + ",Stamp,,0,0,0,," +
              AssText(cue.text) + "\n";
  }
  return script;
}

}  // namespace korvane
