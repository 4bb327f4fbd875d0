#include "ui/small_pictures.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace korvane {

namespace {

constexpr double kFallbackAspect = 16.0 / 9.0;

}  // namespace

std::vector<PictureRect> LayOutPictures(const PictureRect& area, PictureCorner corner,
                                        int widthPercent, const std::vector<double>& aspects) {
  std::vector<PictureRect> pictures;
  if (area.width <= 2 * kPictureGap || area.height <= 2 * kPictureGap || aspects.empty()) {
    return pictures;
  }
  const int percent = std::clamp(widthPercent, kMinPictureWidthPercent, kMaxPictureWidthPercent);
  const double width = area.width * percent / 100.0;
  std::vector<double> heights;
  for (double aspect : aspects) {
    heights.push_back(width / (std::isfinite(aspect) && aspect > 0.0 ? aspect : kFallbackAspect));
  }
  const double gaps = kPictureGap * static_cast<double>(aspects.size() + 1);
  const double total = std::accumulate(heights.begin(), heights.end(), 0.0);
  const double room = area.height - gaps;
  const double scale = room <= 0.0 ? 0.0 : std::min(1.0, room / total);

  const bool left = corner == PictureCorner::kTopLeft || corner == PictureCorner::kBottomLeft;
  const bool top = corner == PictureCorner::kTopLeft || corner == PictureCorner::kTopRight;
  const int w = static_cast<int>(std::lround(width * scale));
  const int x = left ? area.x + kPictureGap : area.x + area.width - kPictureGap - w;
  int edge = top ? area.y + kPictureGap : area.y + area.height - kPictureGap;
  for (double height : heights) {
    const int h = static_cast<int>(std::lround(height * scale));
    if (top) {
      pictures.push_back({x, edge, w, h});
      edge += h + kPictureGap;
    } else {
      edge -= h;
      pictures.push_back({x, edge, w, h});
      edge -= kPictureGap;
    }
  }
  return pictures;
}

int PictureAt(const std::vector<PictureRect>& pictures, int x, int y) {
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const PictureRect& r = pictures[i];
    if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void CPictureArrangement::Reset(int count) {
  order_.resize(static_cast<std::size_t>(std::max(count, 1)));
  std::iota(order_.begin(), order_.end(), 0);
}

bool CPictureArrangement::SwapWithSmall(int index) {
  if (index < 0 || index + 1 >= count()) return false;
  std::swap(order_[0], order_[static_cast<std::size_t>(index) + 1]);
  return true;
}

bool CPictureArrangement::SwapNext() {
  if (count() < 2) return false;
  // The next number still present: channels dropped earlier leave gaps in the numbering.
  const int highest = *std::max_element(order_.begin(), order_.end());
  for (int step = 1; step <= highest + 1; ++step) {
    const int wanted = (main() + step) % (highest + 1);
    const auto at = std::find(order_.begin() + 1, order_.end(), wanted);
    if (at != order_.end()) return SwapWithSmall(static_cast<int>(at - order_.begin()) - 1);
  }
  return false;
}

void CPictureArrangement::Remove(int channel) {
  if (count() < 2) return;
  const auto at = std::find(order_.begin(), order_.end(), channel);
  if (at != order_.end()) order_.erase(at);
}

}  // namespace korvane
