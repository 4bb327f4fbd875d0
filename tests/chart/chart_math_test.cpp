#include "chart/chart_math.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace DuiLib {
namespace {

using ::testing::ElementsAre;

struct NormaliseCase {
  double lo, hi;
  double wantLo, wantHi;
  int wantExp;
};

class NormaliseRangeTest : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseRangeTest, ScalesByTheLargerBoundExponentOutsideMinusTwoToTwo) {
  const NormaliseCase c = GetParam();
  const NormalisedRange r = NormaliseRange(c.lo, c.hi);
  EXPECT_DOUBLE_EQ(r.lo, c.wantLo);
  EXPECT_DOUBLE_EQ(r.hi, c.wantHi);
  EXPECT_EQ(r.exponent, c.wantExp);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NormaliseRangeTest,
    ::testing::Values(NormaliseCase{0, 16, 0, 16, 0}, NormaliseCase{0, 300, 0, 300, 0},
                      NormaliseCase{0, 4000, 0, 4, 3}, NormaliseCase{0, 1000, 0, 1, 3},
                      NormaliseCase{-550, 4950, -0.55, 4.95, 3}, NormaliseCase{-4000, 0, -4, 0, 3},
                      NormaliseCase{0, 99999, 0, 9.9999, 4}, NormaliseCase{0.001, 0.002, 1, 2, -3},
                      NormaliseCase{0, 0.001, 0, 0.001, 0}, NormaliseCase{0, 0, 0, 0, 0},
                      NormaliseCase{5, 5, 5, 5, 0}, NormaliseCase{-9.99, 999, -9.99, 999, 0}));

TEST(NormaliseRange, NonFiniteBoundsEndAndKeepExponentZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(NormaliseRange(0, inf).exponent, 0);
  EXPECT_EQ(NormaliseRange(-inf, 10).exponent, 0);
  EXPECT_EQ(NormaliseRange(std::nan(""), 4000).exponent, 3);
  EXPECT_EQ(NormaliseRange(0, std::numeric_limits<double>::denorm_min()).exponent, 0);
  EXPECT_EQ(NormaliseRange(1e-300, 2e-300).exponent, -300);
}

TEST(ParseInset, ReadsFourNumbersSeparatedByAnySingleCharacter) {
  EXPECT_EQ(ParseInset("10,5,10,20"), (RECT{10, 5, 10, 20}));
  EXPECT_EQ(ParseInset("1 2 3 4"), (RECT{1, 2, 3, 4}));
  EXPECT_EQ(ParseInset("-3,+4, 5,6"), (RECT{-3, 4, 5, 6}));
}

TEST(ParseInset, ShortOrBrokenValuesReadZeroWithoutOverrunning) {
  EXPECT_EQ(ParseInset(""), (RECT{}));
  EXPECT_EQ(ParseInset("10"), (RECT{10, 0, 0, 0}));
  EXPECT_EQ(ParseInset("a,b,7"), (RECT{}));  // "a" ends before itself, so ",b,7" is next
  EXPECT_EQ(ParseInset("1,a2,3"), (RECT{1, 0, 2, 3}));
  EXPECT_EQ(ParseInset("10,,20"), (RECT{10, 0, 20, 0}));
  EXPECT_EQ(ParseInset("99999999999,-99999999999"), (RECT{INT_MAX, INT_MIN, 0, 0}));
}

struct StepCase {
  double lo, hi;
  double step, first;
};

class ComputeTickStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(ComputeTickStepTest, PicksOneTwoOrFiveTimesAPowerOfTen) {
  const StepCase c = GetParam();
  const TickStep t = ComputeTickStep(c.lo, c.hi);
  EXPECT_DOUBLE_EQ(t.step, c.step);
  EXPECT_DOUBLE_EQ(t.first, c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ComputeTickStepTest,
    ::testing::Values(StepCase{0, 16, 5, 0}, StepCase{0, 4, 1, 0}, StepCase{0, 16.2, 5, 0},
                      StepCase{-0.55, 4.95, 1, 0}, StepCase{0, 100, 20, 0},
                      StepCase{3, 1000, 200, 200}, StepCase{0.12, 0.19, 0.01, 0.12},
                      StepCase{16, 0, -5, 15},  // descending: floor and a negative step
                      StepCase{0, 1, 0.2, 0},   // the step q = 1 is scaled up, not kept
                      StepCase{7, 7, 0, 7}));   // zero span: no ticks

TEST(ComputeTickStep, NonFiniteSpanGivesNoTicks) {
  EXPECT_EQ(ComputeTickStep(0, std::numeric_limits<double>::infinity()).step, 0);
  EXPECT_EQ(ComputeTickStep(std::nan(""), 1).step, 0);
}

TEST(TickLabel, ShowsTheIntegerPartOfVMinusTwoTimesThree) {
  EXPECT_EQ(TickLabel(1.8, "G"), " 0G");
  EXPECT_EQ(TickLabel(0.9, "G"), "-3G");
  EXPECT_EQ(TickLabel(0, "G"), "-6G");
  EXPECT_EQ(TickLabel(1, "G"), "-3G");
  EXPECT_EQ(TickLabel(3, "G"), " 3G");
  EXPECT_EQ(TickLabel(4, "G"), " 6G");
  EXPECT_EQ(TickLabel(2, ""), " 0");
}

TEST(TickLabel, SurvivesHugeValuesAndLongUnits) {
  EXPECT_EQ(TickLabel(1e300, "G"), " 300000000G");
  EXPECT_EQ(TickLabel(std::nan(""), "G"), " 0G");
  EXPECT_EQ(TickLabel(2, std::string(2000, 'u')).size(), 511u);
}

TEST(PixelRound, RoundsHalvesUpOnBothSidesOfZeroAndClamps) {
  EXPECT_EQ(PixelRound(2.4), 2);
  EXPECT_EQ(PixelRound(2.5), 3);
  EXPECT_EQ(PixelRound(-0.5), 0);
  EXPECT_EQ(PixelRound(-0.7), -1);
  EXPECT_EQ(PixelRound(-1.2), -1);
  EXPECT_EQ(PixelRound(1e300), 1 << 30);
  EXPECT_EQ(PixelRound(-1e300), -(1 << 30));
  EXPECT_EQ(PixelRound(std::nan("")), 0);
}

TEST(TickPixels, SetUpRangesPlaceMajorTicksOnWholePixels) {
  const TickPixels x = HorizontalTickPixels(0, 16, 0, 160);
  EXPECT_DOUBLE_EQ(x.stepPx, 50);
  EXPECT_DOUBLE_EQ(x.firstPx, 0);
  const TickPixels y = VerticalTickPixels(0, 4, 10, 50);
  EXPECT_DOUBLE_EQ(y.stepPx, 10);
  EXPECT_DOUBLE_EQ(y.firstPx, 50);
  const TickPixels shifted = HorizontalTickPixels(-0.55, 4.95, 100, 210);
  EXPECT_DOUBLE_EQ(shifted.firstPx, 111);  // value 0 lies 0.55 of 5.5 units into 110 pixels
}

TEST(TickPixels, ZeroSpanOrZeroSizeGivesNoTicks) {
  EXPECT_TRUE(AxisTickMarks(HorizontalTickPixels(3, 3, 0, 160), 0, 160, true).empty());
  EXPECT_TRUE(AxisTickMarks(HorizontalTickPixels(0, 16, 50, 50), 50, 50, true).empty());
  EXPECT_TRUE(GridLines(VerticalTickPixels(0, 4, 40, 40), 40, 40).empty());
  EXPECT_TRUE(AxisTickMarks(VerticalTickPixels(0, 4, 80, 40), 40, 80, true).empty());
}

std::vector<int> Pixels(const std::vector<TickMark>& marks, bool major) {
  std::vector<int> out;
  for (const TickMark& m : marks) {
    if (m.major == major) out.push_back(m.px);
  }
  return out;
}

TEST(AxisTickMarks, IncludeTicksOnBothEdges) {
  const TickPixels x = HorizontalTickPixels(0, 16, 0, 160);
  const auto marks = AxisTickMarks(x, 0, 160, true);
  EXPECT_THAT(Pixels(marks, true), ElementsAre(0, 50, 100, 150));
  const auto minor = Pixels(marks, false);
  EXPECT_EQ(minor.size(), 13u);  // 10..40, 60..90, 110..140, 160 on the right edge
  EXPECT_EQ(minor.back(), 160);
  EXPECT_THAT(Pixels(AxisTickMarks(x, 0, 160, false), false), ElementsAre());
}

TEST(AxisTickMarks, VerticalAxisWalksUpwardsWithValues) {
  const TickPixels y = VerticalTickPixels(0, 4, 0, 40);
  const auto marks = AxisTickMarks(y, 40, 0, false);
  ASSERT_EQ(marks.size(), 5u);
  EXPECT_EQ(marks.front(), (TickMark{40, true, 0}));
  EXPECT_EQ(marks.back(), (TickMark{0, true, 4}));
}

TEST(AxisTickMarks, MinorTicksBeforeTheFirstMajorComeLastAndShort) {
  // -0.55 .. 4.95 over 110 px: first major (value 0) at pixel 99 counted from the bottom 110.
  const TickPixels y = VerticalTickPixels(-0.55, 4.95, 0, 110);
  const auto marks = AxisTickMarks(y, 110, 0, true);
  EXPECT_THAT(Pixels(marks, true), ElementsAre(99, 79, 59, 39, 19));
  EXPECT_EQ(marks.back().px, 107);  // r = -2: 99 + 8, the last one above the bottom edge
  EXPECT_FALSE(marks.back().major);
}

TEST(GridLines, SkipLinesOnTheEdges) {
  EXPECT_THAT(GridLines(HorizontalTickPixels(0, 16, 0, 160), 0, 160), ElementsAre(50, 100, 150));
  EXPECT_THAT(GridLines(VerticalTickPixels(0, 4, 0, 40), 40, 0), ElementsAre(30, 20, 10));
}

TEST(DataToPixel, MapsLowEndsToLeftAndBottomAndHighEndsToRightAndTop) {
  const PixelMap map({10, 20, 110, 70}, 0, 16, 0, 4);
  EXPECT_EQ(map.DataToPixel(0, 0), (POINT{10, 70}));
  EXPECT_EQ(map.DataToPixel(16, 4), (POINT{110, 20}));
  EXPECT_EQ(map.DataToPixel(8, 2), (POINT{60, 45}));
  EXPECT_EQ(map.DataToPixel(0.08, 0), (POINT{11, 70}));  // 10.5 rounds up
}

TEST(DataToPixel, ZeroSpanMapsOntoTheLowEdge) {
  const PixelMap map({10, 20, 110, 70}, 3, 3, 1, 1);
  EXPECT_EQ(map.DataToPixel(3, 1), (POINT{10, 70}));
  EXPECT_EQ(map.DataToPixel(99, -5), (POINT{10, 70}));
}

struct ClipCase {
  const char* what;
  ValuePoint p, q;
  bool visible;
  ValuePoint a, b;
};

class ClipSegmentTest : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipSegmentTest, KeepsThePartInsideTheWindow) {
  const ClipCase c = GetParam();
  const ClippedSegment s = ClipSegment(c.p, c.q, ClipWindow::FromRanges(0, 16, 0, 4));
  ASSERT_EQ(s.visible, c.visible) << c.what;
  if (!c.visible) return;
  EXPECT_DOUBLE_EQ(s.a.x, c.a.x) << c.what;
  EXPECT_DOUBLE_EQ(s.a.y, c.a.y) << c.what;
  EXPECT_DOUBLE_EQ(s.b.x, c.b.x) << c.what;
  EXPECT_DOUBLE_EQ(s.b.y, c.b.y) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Segments, ClipSegmentTest,
    ::testing::Values(ClipCase{"inside", {1, 1}, {2, 3}, true, {1, 1}, {2, 3}},
                      ClipCase{"reversed order", {2, 3}, {1, 1}, true, {1, 1}, {2, 3}},
                      ClipCase{"on the edges", {0, 0}, {16, 4}, true, {0, 0}, {16, 4}},
                      ClipCase{"leaves at the top", {2, 2}, {6, 6}, true, {2, 2}, {4, 4}},
                      ClipCase{"enters from the left", {-2, 1}, {2, 3}, true, {0, 2}, {2, 3}},
                      ClipCase{"enters from below", {1, -2}, {3, 2}, true, {2, 0}, {3, 2}},
                      ClipCase{"crosses top to bottom", {8, 6}, {10, -2}, true, {8.5, 4}, {9.5, 0}},
                      ClipCase{"leaves at the right", {15, 1}, {17, 3}, true, {15, 1}, {16, 2}},
                      ClipCase{"vertical, cut both ends", {3, -1}, {3, 9}, true, {3, 0}, {3, 4}},
                      ClipCase{
                          "horizontal, cut both ends", {-5, 2}, {20, 2}, true, {0, 2}, {16, 2}},
                      ClipCase{"wholly above", {1, 5}, {3, 7}, false, {}, {}},
                      ClipCase{"wholly below", {1, -5}, {3, -1}, false, {}, {}},
                      ClipCase{"wholly left", {-3, 1}, {-1, 2}, false, {}, {}},
                      ClipCase{"wholly right", {17, 1}, {19, 2}, false, {}, {}},
                      ClipCase{"line misses the corner", {15, 5}, {17, 3.5}, false, {}, {}},
                      ClipCase{"touches a corner", {-1, 2}, {0.5, -1}, true, {0, 0}, {0, 0}}));

TEST(ClipSegment, NonFiniteEndsAreInvisible) {
  const ClipWindow w = ClipWindow::FromRanges(0, 16, 0, 4);
  EXPECT_FALSE(ClipSegment({std::nan(""), 1}, {2, 2}, w).visible);
  EXPECT_FALSE(ClipSegment({1, 1}, {std::numeric_limits<double>::infinity(), 2}, w).visible);
}

}  // namespace
}  // namespace DuiLib
