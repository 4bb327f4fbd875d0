// Windows built from skins: notifications with the right sender and type, the "click" map,
// sliders, combos, modal results, keys, the forwarded double click and dropped files.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "support/framework_test_window.h"

namespace DuiLib {
namespace {

using korvane::test::KeyClick;
using korvane::test::KeyCounter;
using korvane::test::MouseClick;
using korvane::test::MouseMoveHeld;
using korvane::test::MousePress;
using korvane::test::MouseRelease;
using korvane::test::PumpUntil;
using korvane::test::TestSkinWindow;

constexpr const char* kSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="400,300">
  <VerticalLayout name="root" bkcolor="#FF101010">
    <HorizontalLayout height="40">
      <Button name="btnPlay" width="40"/>
      <Button name="closebtn" width="40"/>
      <Button name="btnOff" width="40" enabled="false"/>
      <CheckBox name="showBox" width="40"/>
    </HorizontalLayout>
    <Slider name="sliderProgress" height="20" max="100" thumbsize="0,0"/>
    <Combo name="combo" height="24"/>
    <Control/>
  </VerticalLayout>
</Window>)";

QPoint Center(CControlUI* c) {
  const RECT& r = c->GetPos();
  return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class FrameworkWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window.CreateHidden(), 0u);
    window.GetWidget()->resize(400, 300);
    window.m_PaintManager.UpdateLayout(true);
  }
  void Click(CControlUI* c) { MouseClick(window.GetWidget(), Center(c)); }
  TestSkinWindow window{kSkin};
};

TEST_F(FrameworkWindow, ClickReachesOnClickWithItsSenderAndDisabledButtonsStaySilent) {
  CControlUI* play = window.Find("btnPlay");
  Click(play);
  Click(window.Find("btnOff"));
  ASSERT_EQ(window.clicks, std::vector<std::string>{"btnPlay"});
  ASSERT_EQ(window.CountNotes("click"), 1);
  EXPECT_EQ(window.notes.back().pSender, play);
  EXPECT_NE(window.notes.back().dwTimestamp, 0u);
}

TEST_F(FrameworkWindow, PressAndReleaseOutsideTheButtonIsNoClick) {
  QWidget* w = window.GetWidget();
  MousePress(w, Center(window.Find("btnPlay")));
  MouseMoveHeld(w, QPoint(300, 200));
  MouseRelease(w, QPoint(300, 200));
  EXPECT_TRUE(window.clicks.empty());
}

bool g_volumeHandlerSawSlider = false;
bool OnSlider(void* param) {
  auto* msg = static_cast<TNotifyUI*>(param);
  if (msg->sType == DUI_MSGTYPE_VALUECHANGED) g_volumeHandlerSawSlider = true;
  return true;
}

TEST_F(FrameworkWindow, DraggingTheSliderRaisesValueChangedWhileMoving) {
  auto* slider = FindControlAs<CSliderUI>(window.m_PaintManager, "sliderProgress");
  ASSERT_NE(slider, nullptr);
  g_volumeHandlerSawSlider = false;
  slider->OnNotify += MakeDelegate(&OnSlider);
  const RECT r = slider->GetPos();
  const int y = (r.top + r.bottom) / 2;
  QWidget* w = window.GetWidget();
  MousePress(w, QPoint(r.left, y));
  std::vector<int> values;
  for (int x : {r.left + 100, r.left + 200, r.right - 1}) {
    MouseMoveHeld(w, QPoint(x, y));
    EXPECT_TRUE(slider->IsDragging());
    values.push_back(slider->GetValue());
  }
  MouseRelease(w, QPoint(r.right - 1, y));
  EXPECT_FALSE(slider->IsDragging());
  EXPECT_EQ(values.front(), 25);
  EXPECT_EQ(values.back(), 100);
  EXPECT_EQ(window.CountNotes("valuechanged"), 3);
  for (const auto& n : window.notes) {
    if (n.sType == "valuechanged") {
      EXPECT_EQ(n.pSender, slider);
    }
  }
  EXPECT_TRUE(g_volumeHandlerSawSlider);
}

TEST(FrameworkProgress, ValuesStayInsideTheRange) {
  CProgressUI p;
  p.SetMaxValue(10);
  p.SetValue(15);
  EXPECT_EQ(p.GetValue(), 10);
  p.SetValue(-3);
  EXPECT_EQ(p.GetValue(), 0);
  p.SetValue(7);
  p.SetMaxValue(0);
  EXPECT_EQ(p.GetValue(), 0);
  EXPECT_EQ(p.GetMaxValue(), 0);
  p.SetMaxValue(-5);
  EXPECT_EQ(p.GetMaxValue(), 0);
}

TEST_F(FrameworkWindow, ComboSelectionRaisesItemSelectWithNewAndOldIndex) {
  auto* combo = FindControlAs<CComboUI>(window.m_PaintManager, "combo");
  for (const char* text : {" English", " Deutsch", " Español"}) {
    auto* item = new CListLabelElementUI();
    item->SetText(text);
    item->SetAttribute("hscrollbar", "true");
    ASSERT_TRUE(combo->Add(item));
  }
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_TRUE(combo->SelectItem(2, false, false));
  EXPECT_EQ(window.CountNotes("itemselect"), 0);
  EXPECT_TRUE(combo->SelectItem(1));
  ASSERT_EQ(window.CountNotes("itemselect"), 1);
  EXPECT_EQ(window.notes.back().pSender, combo);
  EXPECT_EQ(window.notes.back().wParam, 1u);
  EXPECT_EQ(window.notes.back().lParam, 2);
  EXPECT_EQ(combo->GetText(), " Deutsch");
  EXPECT_FALSE(combo->SelectItem(3));
  EXPECT_TRUE(static_cast<CListLabelElementUI*>(combo->GetItemAt(1))->IsSelected());
  EXPECT_TRUE(combo->RemoveAt(0));
  EXPECT_EQ(combo->GetCurSel(), 0);
}

TEST_F(FrameworkWindow, CheckBoxTogglesOnClick) {
  auto* box = FindControlAs<CCheckBoxUI>(window.m_PaintManager, "showBox");
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(box->GetCheck());
  Click(box);
  EXPECT_TRUE(box->GetCheck());
  box->SetCheck(false);
  EXPECT_FALSE(box->GetCheck());
}

TEST_F(FrameworkWindow, ForwardedDoubleClickBecomesDbclickCarryingItsLParam) {
  window.SendMessage(WM_LBUTTONDBLCLK, 1, 8);
  ASSERT_EQ(window.CountNotes("dbclick"), 1);
  EXPECT_EQ(window.notes.back().lParam, 8);
  EXPECT_EQ(window.notes.back().wParam, 1u);
  EXPECT_NE(window.notes.back().pSender, nullptr);
}

TEST_F(FrameworkWindow, DroppedFilesArriveAsOneDropMessageWithEveryPath) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile("/tmp/a b.mp4"), QUrl::fromLocalFile("/tmp/c.MP4")});
  window.ShowWindow(true, false);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.GetWidget(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.GetWidget(), &drop);
  int drops = 0;
  for (const auto& m : window.messages) {
    if (m.message != WM_DROPFILES) continue;
    ++drops;
    EXPECT_EQ(m.dropped, (std::vector<std::string>{"/tmp/a b.mp4", "/tmp/c.MP4"}));
  }
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(DragQueryFileCount(nullptr), 0u);
  EXPECT_EQ(DragQueryFilePath(nullptr, 0), "");
}

TEST(FrameworkModal, ShowModalReturnsTheCodeGivenToClose) {
  for (UINT code : {1u, 2u, 7u}) {
    TestSkinWindow window(kSkin);
    ASSERT_NE(window.CreateHidden(), 0u);
    QTimer::singleShot(0, [&] { window.Close(code); });
    EXPECT_EQ(window.ShowModal(), code);
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.GetHWND(), 0u);
  }
}

TEST(FrameworkModal, EscapeAndTheSkinCloseButtonNeverConfirm) {
  {
    TestSkinWindow window(kSkin);
    ASSERT_NE(window.CreateHidden(), 0u);
    QTimer::singleShot(0, [&] { KeyClick(window.GetWidget(), Qt::Key_Escape); });
    EXPECT_EQ(window.ShowModal(), IDCANCEL);
  }
  {
    TestSkinWindow window(kSkin);
    ASSERT_NE(window.CreateHidden(), 0u);
    window.GetWidget()->resize(400, 300);
    window.m_PaintManager.UpdateLayout(true);
    QTimer::singleShot(0, [&] { MouseClick(window.GetWidget(), Center(window.Find("closebtn"))); });
    EXPECT_NE(window.ShowModal(), IDOK);
  }
}

TEST(FrameworkModal, AMalformedSkinFailsCreateWithAMessage) {
  TestSkinWindow window("<Window><VerticalLayout></Window>");
  testing::internal::CaptureStderr();
  EXPECT_EQ(window.CreateHidden(), 0u);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("malformed"), std::string::npos) << err;
  EXPECT_EQ(window.ShowModal(), static_cast<UINT>(-1));
}

TEST(FrameworkModal, KeysPassThePreFilterFirst) {
  class Filter : public IMessageFilterUI {
   public:
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& handled) override {
      if (uMsg == WM_KEYDOWN) keys.push_back(wParam);
      handled = wParam == VK_F8;
      return 0;
    }
    std::vector<WPARAM> keys;
  } filter;
  TestSkinWindow window(kSkin);
  ASSERT_NE(window.CreateHidden(), 0u);
  window.m_PaintManager.AddPreMessageFilter(&filter);
  EXPECT_FALSE(window.m_PaintManager.AddPreMessageFilter(&filter));
  KeyClick(window.GetWidget(), Qt::Key_F8);
  KeyClick(window.GetWidget(), Qt::Key_Return);
  EXPECT_EQ(filter.keys, (std::vector<WPARAM>{VK_F8, VK_RETURN}));
  int keydowns = 0;
  for (const auto& m : window.messages) keydowns += m.message == WM_KEYDOWN ? 1 : 0;
  EXPECT_EQ(keydowns, 1);  // F8 stopped in the filter
}

TEST(FrameworkKeys, KeysOfHostedWidgetsPassTheFilterOnceWithTheirModifiers) {
  class Filter : public IMessageFilterUI {
   public:
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override {
      if (uMsg == WM_KEYDOWN) keys.emplace_back(wParam, lParam);
      handled = wParam == VK_F8;
      return 0;
    }
    std::vector<std::pair<WPARAM, LPARAM>> keys;
  } filter;
  TestSkinWindow window(R"(<Window size="400,300"><VerticalLayout>
      <Slider name="slider" height="20" max="100"/><Edit name="edit" height="24"/>
      <Control name="host"/></VerticalLayout></Window>)");
  ASSERT_NE(window.CreateHidden(), 0u);
  window.GetWidget()->show();
  window.m_PaintManager.AddPreMessageFilter(&filter);
  auto* host = new QWidget();
  window.Find("host")->SetHostedWidget(host);
  auto* edit = static_cast<QLineEdit*>(window.Find("edit")->GetHostedWidget());
  KeyCounter atHost(host), atEdit(edit);
  auto keydowns = [&] {
    int n = 0;
    for (const auto& m : window.messages) n += m.message == WM_KEYDOWN ? 1 : 0;
    return n;
  };

  host->setFocus();
  KeyClick(host, Qt::Key_F8);  // kept by the filter: the widget never sees it
  KeyClick(host, Qt::Key_A);   // offered, then the widget's; the window's controls never see it
  EXPECT_EQ(atHost.presses, 1);
  EXPECT_EQ(keydowns(), 0);

  edit->setFocus();
  KeyClick(edit, Qt::Key_A, Qt::NoModifier, "a");
  EXPECT_EQ(edit->text(), "a");
  EXPECT_EQ(atEdit.presses, 1);

  window.GetWidget()->setFocus();
  window.m_PaintManager.SetFocus(window.Find("slider"));
  KeyClick(window.GetWidget(), Qt::Key_Comma, Qt::ShiftModifier);
  KeyClick(window.GetWidget(), Qt::Key_BracketRight, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(keydowns(), 2) << "keys of the window's own controls take the whole route";
  const std::vector<std::pair<WPARAM, LPARAM>> expected{
      {VK_F8, 0},
      {'A', 0},
      {'A', KEY_TEXTFIELD},
      {VK_OEM_COMMA, static_cast<LPARAM>(MK_SHIFT)},
      {VK_OEM_6, static_cast<LPARAM>(MK_CONTROL | MK_ALT)}};
  EXPECT_EQ(filter.keys, expected);
  window.m_PaintManager.RemovePreMessageFilter(&filter);
}

}  // namespace
}  // namespace DuiLib
