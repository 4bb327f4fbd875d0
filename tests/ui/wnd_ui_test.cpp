// The video host: letter-boxing, showing and hiding with the control, the native window only
// after the first show, and the forwarded double click.
#include "ui/wnd_ui.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/framework_test_window.h"

namespace DuiLib {
namespace {

struct BoxCase {
  const char* name;
  RECT rc;
  double aspect;
  RECT expected;
};

void PrintTo(const BoxCase& c, std::ostream* os) {
  *os << c.name;
}

class LetterBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(LetterBox, FitsTheVideoInsideTheControl) {
  EXPECT_EQ(LetterBoxRect(GetParam().rc, GetParam().aspect), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LetterBox,
    ::testing::Values(
        BoxCase{"unset_aspect_fills", {10, 20, 810, 320}, 0.0, {10, 20, 810, 320}},
        BoxCase{"wide_box_16_9", {0, 0, 800, 300}, 16.0 / 9.0, {133, 0, 666, 300}},
        BoxCase{"square_box_4_3", {0, 0, 400, 400}, 4.0 / 3.0, {0, 50, 400, 350}},
        BoxCase{"offset_box_keeps_origin", {100, 50, 500, 450}, 4.0 / 3.0, {100, 100, 500, 400}},
        BoxCase{"exact_fit_unchanged", {0, 0, 640, 360}, 16.0 / 9.0, {0, 0, 640, 360}},
        BoxCase{"zero_height_raw", {5, 5, 300, 5}, 16.0 / 9.0, {5, 5, 300, 5}},
        BoxCase{"negative_height_raw", {5, 50, 300, 10}, 16.0 / 9.0, {5, 50, 300, 10}},
        BoxCase{"negative_aspect_raw", {0, 0, 100, 100}, -1.5, {0, 0, 100, 100}},
        BoxCase{"nan_aspect_raw",
                {0, 0, 100, 100},
                std::numeric_limits<double>::quiet_NaN(),
                {0, 0, 100, 100}},
        BoxCase{"zero_width_tall_video", {0, 0, 0, 100}, 0.5, {0, 50, 0, 50}}),
    [](const auto& info) { return std::string(info.param.name); });

constexpr const char* kSkin = R"(<Window size="800,400"><VerticalLayout>
    <VerticalLayout name="box"/>
  </VerticalLayout></Window>)";

class HostWindow : public korvane::test::TestSkinWindow {
 public:
  HostWindow() : TestSkinWindow(kSkin) {}
  CControlUI* CreateControl(const char*) override { return nullptr; }
};

TEST(WndUI, AnswersToItsOwnInterfaceNameOnly) {
  CWndUI host;
  EXPECT_EQ(host.GetInterface("WndUI"), &host);
  EXPECT_EQ(host.GetInterface("wndui"), nullptr);
  EXPECT_EQ(host.GetInterface("Control"), &host);
  EXPECT_STREQ(host.GetClass(), "WndUI");
}

TEST(WndUI, ChildFollowsPositionAspectAndVisibility) {
  HostWindow window;
  ASSERT_NE(window.CreateHidden(), 0u);
  auto* box = static_cast<CContainerUI*>(window.Find("box"));
  auto* host = new CWndUI();
  host->SetName("wndMedia");
  ASSERT_TRUE(box->Add(host));
  window.GetWidget()->resize(800, 400);
  window.m_PaintManager.UpdateLayout(true);
  window.ShowWindow(true, false);
  QWidget* child = host->GetHostedWidget();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->geometry(), QRect(0, 0, 800, 400));

  host->SetAspect(4.0 / 3.0);
  host->SetPos(host->GetPos());
  EXPECT_EQ(child->geometry(), QRect(133, 0, 533, 400));
  EXPECT_TRUE(child->isVisible());

  box->SetVisible(false);  // a hidden container hides the video too
  EXPECT_FALSE(child->isVisible());
  box->SetVisible(true);
  EXPECT_TRUE(child->isVisible());
  host->SetVisible(false);
  EXPECT_FALSE(child->isVisible());
}

TEST(WndUI, NativeWindowExistsOnlyAfterTheWindowWasShown) {
  HostWindow window;
  ASSERT_NE(window.CreateHidden(), 0u);
  auto* host = new CWndUI();
  ASSERT_TRUE(static_cast<CContainerUI*>(window.Find("box"))->Add(host));
  EXPECT_EQ(host->EnsureVideoWindow(), 0u);
  EXPECT_FALSE(host->GetHostedWidget()->testAttribute(Qt::WA_NativeWindow));
  window.ShowWindow(true, false);
  EXPECT_NE(host->GetVideoWindow(), 0u);
  EXPECT_EQ(host->EnsureVideoWindow(), host->GetVideoWindow());
}

TEST(WndUI, DoubleClickOnTheVideoReachesTheWindowAsDbclickWithMarker) {
  HostWindow window;
  ASSERT_NE(window.CreateHidden(), 0u);
  auto* host = new CWndUI();
  ASSERT_TRUE(static_cast<CContainerUI*>(window.Find("box"))->Add(host));
  window.GetWidget()->resize(800, 400);
  window.ShowWindow(true, false);
  QWidget* child = host->GetHostedWidget();
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), child->mapToGlobal(QPointF(5, 5)),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(child, &dbl);
  ASSERT_EQ(window.CountNotes("dbclick"), 1);
  EXPECT_EQ(window.notes.back().lParam, kVideoDoubleClickMarker);
}

void ReleaseOn(QWidget* widget) {
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)),
                 Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &up);
}

TEST(WndUI, OtherChannelsAreSmallPicturesAndAClickOnOneMakesItTheMainPicture) {
  HostWindow window;
  ASSERT_NE(window.CreateHidden(), 0u);
  auto* host = new CWndUI();
  ASSERT_TRUE(static_cast<CContainerUI*>(window.Find("box"))->Add(host));
  window.GetWidget()->resize(800, 400);
  window.m_PaintManager.UpdateLayout(true);
  EXPECT_EQ(host->ChannelWindow(1), 0u);  // not before the first show
  window.ShowWindow(true, false);
  const WindowHandle rear = host->ChannelWindow(1);
  EXPECT_NE(rear, 0u);
  EXPECT_NE(host->ChannelWindow(2), 0u);
  EXPECT_NE(rear, host->ChannelWindow(2));
  host->StartMoment(3, {1, 2});
  QWidget* leader = host->ChannelSurface(0);
  QWidget* first = host->ChannelSurface(1);
  QWidget* second = host->ChannelSurface(2);
  // 30 % of 800 wide at 16:9, stacked down from the top right corner, 8 pixels apart.
  EXPECT_EQ(leader->geometry(), QRect(0, 0, 800, 400));
  EXPECT_EQ(first->geometry(), QRect(552, 8, 240, 135));
  EXPECT_EQ(second->geometry(), QRect(552, 151, 240, 135));
  EXPECT_TRUE(first->isVisible() && second->isVisible());

  int changes = 0;
  host->onArrangementChanged = [&changes] { ++changes; };
  ReleaseOn(leader);  // the main picture: nothing to swap
  EXPECT_EQ(host->arrangement().main(), 0);
  ReleaseOn(second);
  EXPECT_EQ(host->arrangement().main(), 2);
  EXPECT_EQ(second->geometry(), QRect(0, 0, 800, 400));
  EXPECT_EQ(leader->geometry(), QRect(552, 151, 240, 135));
  EXPECT_EQ(changes, 1);

  host->ToggleSmallPictures();
  EXPECT_FALSE(leader->isVisible() || first->isVisible());
  EXPECT_TRUE(second->isVisible());
  host->ToggleSmallPictures();
  host->RemoveChannel(1);
  EXPECT_FALSE(first->isVisible());
  EXPECT_EQ(leader->geometry(), QRect(552, 8, 240, 135));

  host->StartMoment(1, {});  // a clip of one channel: the leader fills the host again
  EXPECT_EQ(leader->geometry(), QRect(0, 0, 800, 400));
  EXPECT_FALSE(second->isVisible());
}

}  // namespace
}  // namespace DuiLib
