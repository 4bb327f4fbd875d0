// The small pictures: their rectangles per corner and width, the click's picture, and the swaps.
#include "ui/small_pictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvane {
namespace {

constexpr PictureRect kArea{0, 0, 1000, 600};
constexpr double k169 = 16.0 / 9.0;

struct LayoutCase {
  const char* name;
  PictureCorner corner;
  int widthPercent;
  std::vector<double> aspects;
  std::vector<PictureRect> expected;
};

class PictureLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(PictureLayout, PlacesEachPictureInItsCorner) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(LayOutPictures(kArea, c.corner, c.widthPercent, c.aspects), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, PictureLayout,
    testing::Values(
        // 30 % of 1000 is 300 wide; 16:9 makes it 169 high (168.75 rounded).
        LayoutCase{"TopRight", PictureCorner::kTopRight, 30, {k169}, {{692, 8, 300, 169}}},
        LayoutCase{"TopLeft", PictureCorner::kTopLeft, 30, {k169}, {{8, 8, 300, 169}}},
        LayoutCase{"BottomLeft", PictureCorner::kBottomLeft, 30, {k169}, {{8, 423, 300, 169}}},
        LayoutCase{"BottomRightStacksUpwards",
                   PictureCorner::kBottomRight,
                   30,
                   {k169, 4.0 / 3.0},
                   {{692, 423, 300, 169}, {692, 190, 300, 225}}},
        LayoutCase{"TopRightStacksDownwards",
                   PictureCorner::kTopRight,
                   20,
                   {k169, k169},
                   {{792, 8, 200, 113}, {792, 129, 200, 113}}},
        LayoutCase{"WidthBelowTheRangeIsTwentyPercent",
                   PictureCorner::kTopLeft,
                   5,
                   {k169},
                   {{8, 8, 200, 113}}},
        LayoutCase{"WidthAboveTheRangeIsFortyFivePercent",
                   PictureCorner::kTopLeft,
                   90,
                   {2.25},
                   {{8, 8, 450, 200}}},
        LayoutCase{"UnknownAspectIsSixteenByNine",
                   PictureCorner::kTopLeft,
                   30,
                   {0.0, std::numeric_limits<double>::quiet_NaN()},
                   {{8, 8, 300, 169}, {8, 185, 300, 169}}},
        // Four 16:9 pictures at 45 % are 1012 high together: all shrink by one factor to fit
        // 600 less five gaps, keeping their aspect.
        LayoutCase{"TooTallAStackShrinksToFit",
                   PictureCorner::kTopLeft,
                   45,
                   {k169, k169, k169, k169},
                   {{8, 8, 249, 140}, {8, 156, 249, 140}, {8, 304, 249, 140}, {8, 452, 249, 140}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PictureLayout, AnEmptyAreaOrNoPictureHasNoRectangle) {
  EXPECT_TRUE(LayOutPictures({0, 0, 0, 0}, PictureCorner::kTopRight, 30, {k169}).empty());
  EXPECT_TRUE(LayOutPictures(kArea, PictureCorner::kTopRight, 30, {}).empty());
}

TEST(PictureLayout, TheAreaOriginMovesEveryPicture) {
  EXPECT_EQ(LayOutPictures({100, 50, 1000, 600}, PictureCorner::kTopRight, 30, {k169}),
            (std::vector<PictureRect>{{792, 58, 300, 169}}));
}

struct CornerCase {
  const char* text;
  PictureCorner expected;
};

class CornerSetting : public testing::TestWithParam<CornerCase> {};

TEST_P(CornerSetting, ReadsTheCorner) {
  EXPECT_EQ(PictureCornerOf(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, CornerSetting,
                         testing::Values(CornerCase{"TopLeft", PictureCorner::kTopLeft},
                                         CornerCase{"bottomleft", PictureCorner::kBottomLeft},
                                         CornerCase{"BOTTOMRIGHT", PictureCorner::kBottomRight},
                                         CornerCase{"", PictureCorner::kTopRight},
                                         CornerCase{"middle", PictureCorner::kTopRight}));

TEST(PictureAt, FindsThePictureUnderThePointAndNoneOutside) {
  const std::vector<PictureRect> pictures{{10, 10, 100, 50}, {10, 70, 100, 50}};
  EXPECT_EQ(PictureAt(pictures, 10, 10), 0);
  EXPECT_EQ(PictureAt(pictures, 109, 119), 1);
  EXPECT_EQ(PictureAt(pictures, 110, 30), -1);  // the right edge is outside
  EXPECT_EQ(PictureAt(pictures, 50, 65), -1);   // the gap between them
}

TEST(PictureArrangement, ASwapTradesThePlacesOfMainAndSmall) {
  CPictureArrangement arrangement(3);
  EXPECT_EQ(arrangement.main(), 0);
  EXPECT_EQ(arrangement.smalls(), (std::vector<int>{1, 2}));
  EXPECT_TRUE(arrangement.SwapWithSmall(1));
  EXPECT_EQ(arrangement.main(), 2);
  EXPECT_EQ(arrangement.smalls(), (std::vector<int>{1, 0}));
  EXPECT_FALSE(arrangement.SwapWithSmall(2));
  EXPECT_FALSE(arrangement.SwapWithSmall(-1));
  EXPECT_EQ(arrangement.main(), 2);
}

TEST(PictureArrangement, NextCyclesThroughTheChannelsStillThere) {
  CPictureArrangement arrangement(4);
  arrangement.Remove(1);
  std::vector<int> mains;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(arrangement.SwapNext());
    mains.push_back(arrangement.main());
  }
  EXPECT_EQ(mains, (std::vector<int>{2, 3, 0, 2}));
  EXPECT_EQ(arrangement.count(), 3);
}

TEST(PictureArrangement, DroppingTheMainChannelHandsTheMainPictureOn) {
  CPictureArrangement arrangement(3);
  arrangement.SwapWithSmall(0);  // 1 main; 0, 2 small
  arrangement.Remove(1);
  EXPECT_EQ(arrangement.main(), 0);
  EXPECT_EQ(arrangement.smalls(), (std::vector<int>{2}));
  arrangement.Remove(7);
  arrangement.Remove(2);
  arrangement.Remove(0);  // the last one stays
  EXPECT_EQ(arrangement.main(), 0);
  EXPECT_FALSE(arrangement.SwapNext());
}

}  // namespace
}  // namespace korvane
