#include "dialogs/preview_rect.h"

#include <array>
#include <cstring>
#include <fstream>

namespace korvane {
namespace {

// Height over width of the preview area, in single precision like the ratio it is compared with.
constexpr float kAreaRatio = 0.563333f;

}  // namespace

std::optional<PreviewRect> ScalePreview(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0) return std::nullopt;
  const float ratio = static_cast<float>(height) / static_cast<float>(width);
  if (ratio > kAreaRatio) {
    const int w = static_cast<int>(static_cast<float>(kPreviewHeight) / ratio);
    const int x = (kPreviewWidth - w) / 2;
    return PreviewRect{x, 0, x + w, kPreviewHeight};
  }
  const int h = static_cast<int>(ratio * static_cast<float>(kPreviewWidth));
  const int y = (kPreviewHeight - h) / 2;
  return PreviewRect{0, y, kPreviewWidth, y + h};
}

PreviewRect PlaceUnsizedPreview(std::optional<std::pair<std::uint32_t, std::uint32_t>> size) {
  const PreviewRect whole{0, 0, kPreviewWidth, kPreviewHeight};
  if (!size) return whole;
  const auto [width, height] = *size;
  if (width > static_cast<std::uint32_t>(kPreviewWidth) ||
      height > static_cast<std::uint32_t>(kPreviewHeight)) {
    return ScalePreview(width, height).value_or(whole);
  }
  if (width == 0 || height == 0) return whole;
  const int w = static_cast<int>(width);
  const int h = static_cast<int>(height);
  const int x = (kPreviewWidth - w) / 2;
  const int y = (kPreviewHeight - h) / 2;
  return PreviewRect{x, y, x + w, y + h};
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> ReadPngSize(const std::string& path) {
  // Signature (8 bytes), IHDR length and type (8), then width and height, big-endian.
  static constexpr std::array<unsigned char, 8> kSignature{0x89, 'P',  'N',  'G',
                                                           '\r', '\n', 0x1A, '\n'};
  std::array<unsigned char, 24> header{};
  std::ifstream file(path, std::ios::binary);
  if (!file.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
  if (std::memcmp(header.data(), kSignature.data(), kSignature.size()) != 0 ||
      std::memcmp(header.data() + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  auto be32 = [&](std::size_t at) {
    return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
           (std::uint32_t{header[at + 2]} << 8) | std::uint32_t{header[at + 3]};
  };
  return std::make_pair(be32(16), be32(20));
}

}  // namespace korvane
