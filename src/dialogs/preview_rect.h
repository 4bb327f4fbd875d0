// Where a snapshot is drawn inside the preview area: scaled to keep its aspect, filling the area
// in one direction and centred in the other; and the size read from a PNG file's header for
// pictures whose size the caller does not know.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "framework/ui_defs.h"

namespace korvane {

inline constexpr int kPreviewWidth = 600;
inline constexpr int kPreviewHeight = 338;

// Rectangle relative to the preview area's top-left corner.
using PreviewRect = DuiLib::RECT;

// The ratio rule for a picture of width x height pixels. A 0 width or height has no ratio:
// std::nullopt then (the caller decides what to show).
std::optional<PreviewRect> ScalePreview(std::uint32_t width, std::uint32_t height);

// Where a picture of unknown size is shown: centred and unscaled when its size is known and it
// fits, scaled by the ratio rule when larger, the whole area when its size cannot be found.
PreviewRect PlaceUnsizedPreview(std::optional<std::pair<std::uint32_t, std::uint32_t>> size);

// Width and height from the header of a PNG file; std::nullopt when the file cannot be read or
// is no PNG.
std::optional<std::pair<std::uint32_t, std::uint32_t>> ReadPngSize(const std::string& path);

}  // namespace korvane
