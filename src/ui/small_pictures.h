// The small pictures of a moment's other channels: where each lies over a corner of the video area,
// which picture a click lands on, and which channel is the main picture after a swap. Pure
// arithmetic on rectangles and channel numbers; the video host moves the native windows.
#pragma once
#include <vector>

#include "settings/settings.h"

namespace korvane {

struct PictureRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// The gap kept to the edges and between pictures. The corner and the width share are the
// settings' (settings.h).
constexpr int kPictureGap = 8;

// One rectangle per aspect (width / height; a value that is not a positive finite number counts as
// 16:9), in `area`'s coordinates: `widthPercent` (clamped to 20..45) of the area's width, the
// aspect kept, the first in `corner` and the next stacked away from it. When the stack is taller
// than the area, every picture shrinks by one factor so it fits. None for an empty area.
std::vector<PictureRect> LayOutPictures(const PictureRect& area, PictureCorner corner,
                                        int widthPercent, const std::vector<double>& aspects);

// The index of the rectangle holding the point, -1 for none.
int PictureAt(const std::vector<PictureRect>& pictures, int x, int y);

// Which channel shows where: the main one fills the video area, the others are the small pictures.
// Channel numbers run 0 … count-1; channel 0 is the leader, the main picture at the start.
class CPictureArrangement {
 public:
  explicit CPictureArrangement(int count = 1) { Reset(count); }
  // Back to channel 0 as the main picture with `count` channels (at least one).
  void Reset(int count);
  int main() const { return order_.empty() ? -1 : order_.front(); }
  int count() const { return static_cast<int>(order_.size()); }
  // The channels the small pictures show, first the one nearest the corner (never the main one).
  std::vector<int> smalls() const {
    return {order_.begin() + (order_.empty() ? 0 : 1), order_.end()};
  }
  // The channel of small picture `index` becomes the main picture and the main one takes its
  // place; an index out of range changes nothing. Returns whether it changed.
  bool SwapWithSmall(int index);
  // `V`: the channel numbered after the main one (after the last, the first) becomes the main
  // picture, trading places with it. False for one channel.
  bool SwapNext();
  // A channel leaves (its follower was dropped): the rest keep their order, so when it was the
  // main picture the first small picture becomes the main one. Unknown channels, and the last
  // one left, change nothing.
  void Remove(int channel);
  bool showSmalls = true;  // `H` hides and shows the small pictures

 private:
  std::vector<int> order_;  // order_[0] is the main picture
};

}  // namespace korvane
