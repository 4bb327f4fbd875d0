#include "index/index_point.h"

#include <array>
#include <utility>

namespace korvane {

namespace {
constexpr std::array<std::pair<ClipStatus, std::string_view>, 3> kStatusTexts{{
    {ClipStatus::Indexed, "indexed"},
    {ClipStatus::NoTelemetry, "no_telemetry"},
    {ClipStatus::Failed, "failed"},
}};
}  // namespace

std::string_view ClipStatusText(ClipStatus status) {
  for (const auto& [value, text] : kStatusTexts) {
    if (value == status) return text;
  }
  return "unknown";
}

ClipStatus ClipStatusFromText(std::string_view text) {
  for (const auto& [value, spelling] : kStatusTexts) {
    if (spelling == text) return value;
  }
  return ClipStatus::Unknown;
}

}  // namespace korvane
