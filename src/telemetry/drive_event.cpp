#include "telemetry/drive_event.h"

#include <array>
#include <utility>

namespace korvane {

namespace {
constexpr std::array<std::pair<DriveEventKind, std::string_view>, 4> kKindTexts{{
    {DriveEventKind::Braking, "braking"},
    {DriveEventKind::Acceleration, "acceleration"},
    {DriveEventKind::Cornering, "cornering"},
    {DriveEventKind::Impact, "impact"},
}};
}  // namespace

std::string_view DriveEventKindText(DriveEventKind kind) {
  for (const auto& [value, text] : kKindTexts) {
    if (value == kind) return text;
  }
  return "braking";
}

std::optional<DriveEventKind> DriveEventKindFromText(std::string_view text) {
  for (const auto& [value, spelling] : kKindTexts) {
    if (spelling == text) return value;
  }
  return std::nullopt;
}

}  // namespace korvane
