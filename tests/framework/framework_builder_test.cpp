// Building control trees from skin XML: names, tags, callbacks, window attributes and layout.
#include <gtest/gtest.h>

#include <cstring>

#include "support/framework_test_window.h"

namespace DuiLib {
namespace {

class RecordingCallback : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(const char* pstrClass) override {
    asked.emplace_back(pstrClass);
    if (std::strcmp(pstrClass, "Custom") == 0) {
      auto* c = new CControlUI();
      c->SetUserData("custom");
      return c;
    }
    return nullptr;
  }
  std::vector<std::string> asked;
};

TEST(FrameworkBuilder, FindsControlsByExactNameAndAsksTheCallbackOnlyForUnknownTags) {
  CPaintManagerUI pm;
  RecordingCallback callback;
  CDialogBuilder builder;
  CControlUI* root = builder.CreateFromString(
      R"(<Window size="640,480"><VerticalLayout name="root">
           <Button name="btnPlay" text="Play"/>
           <Custom name="mine"/>
           <Mystery name="unknownTag" width="40"/>
           <Slider name="sliderVolume" max="100" value="30"/>
         </VerticalLayout></Window>)",
      &callback, &pm);
  ASSERT_NE(root, nullptr) << builder.GetLastError();
  ASSERT_TRUE(pm.AttachDialog(root));
  EXPECT_EQ(callback.asked, (std::vector<std::string>{"Custom", "Mystery"}));
  EXPECT_NE(pm.FindControl("btnPlay")->GetInterface("Button"), nullptr);
  EXPECT_EQ(pm.FindControl("btnplay"), nullptr);
  EXPECT_EQ(pm.FindControl("absent"), nullptr);
  EXPECT_EQ(pm.FindControl("mine")->GetUserData(), "custom");
  // An unknown tag becomes a plain control that keeps its place in the layout.
  EXPECT_EQ(pm.FindControl("unknownTag")->GetFixedWidth(), 40);
  auto* slider = FindControlAs<CSliderUI>(pm, "sliderVolume");
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetValue(), 30);
  EXPECT_EQ(FindControlAs<CSliderUI>(pm, "btnPlay"), nullptr);
  EXPECT_EQ(pm.GetInitSize(), (SIZE{640, 480}));
}

TEST(FrameworkBuilder, MalformedOrMissingSkinsGiveNullAndAReason) {
  CDialogBuilder builder;
  EXPECT_EQ(builder.CreateFromString("<Window><VerticalLayout></Window>"), nullptr);
  EXPECT_NE(builder.GetLastError().find("line 1"), std::string::npos) << builder.GetLastError();
  EXPECT_EQ(builder.CreateFromString(""), nullptr);
  EXPECT_FALSE(builder.GetLastError().empty());
  EXPECT_EQ(builder.Create("/nonexistent/skin.xml"), nullptr);
  EXPECT_NE(builder.GetLastError().find("cannot be read"), std::string::npos);
}

TEST(FrameworkBuilder, FontsDefaultsAndAttributeListsReachTheControls) {
  CPaintManagerUI pm;
  CDialogBuilder builder;
  CControlUI* root = builder.CreateFromString(
      R"(<Window><Font id="3" name="DejaVu Sans" size="17" bold="true"/>
           <Default name="Label" value="textcolor=&quot;#FF112233&quot; font=&quot;3&quot;"/>
           <HorizontalLayout><Label name="a"/><Label name="b" textcolor="#445566"/></HorizontalLayout>
         </Window>)",
      nullptr, &pm);
  ASSERT_NE(root, nullptr) << builder.GetLastError();
  pm.AttachDialog(root);
  auto* a = FindControlAs<CLabelUI>(pm, "a");
  auto* b = FindControlAs<CLabelUI>(pm, "b");
  EXPECT_EQ(a->GetTextColor(), 0xFF112233u);
  EXPECT_EQ(a->GetFont(), 3);
  EXPECT_EQ(b->GetTextColor(), 0xFF445566u);  // own attributes win over defaults
  EXPECT_EQ(pm.GetFont(3).lfHeight, 17);
  EXPECT_EQ(pm.GetFont(3).lfWeight, 700);

  CControlUI node;
  node.ApplyAttributeList(R"(width="18" height="22" name='x y' bogus)");
  EXPECT_EQ(node.GetFixedWidth(), 18);
  EXPECT_EQ(node.GetFixedHeight(), 22);
  EXPECT_EQ(node.GetName(), "x y");
}

struct LayoutCase {
  const char* name;
  const char* xml;
  RECT root;
  std::vector<std::pair<const char*, RECT>> expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
  *os << c.name;
}

class FrameworkLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FrameworkLayout, PlacesChildren) {
  const LayoutCase& c = GetParam();
  CPaintManagerUI pm;
  CDialogBuilder builder;
  CControlUI* root = builder.CreateFromString(c.xml, nullptr, &pm);
  ASSERT_NE(root, nullptr) << builder.GetLastError();
  pm.AttachDialog(root);
  root->SetPos(c.root, false);
  for (const auto& [name, rect] : c.expected) {
    CControlUI* control = pm.FindControl(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(control->GetPos(), rect) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameworkLayout,
    ::testing::Values(
        LayoutCase{"vertical_fixed_and_shared",
                   R"(<VerticalLayout inset="10,10,10,10" childpadding="4">
                        <Control name="top" height="30"/>
                        <Control name="a"/><Control name="b"/>
                        <Control name="bottom" height="20" padding="5,0,5,0"/>
                      </VerticalLayout>)",
                   RECT{0, 0, 200, 200},
                   {{"top", {10, 10, 190, 40}},
                    {"a", {10, 44, 190, 103}},
                    {"b", {10, 107, 190, 166}},
                    {"bottom", {15, 170, 185, 190}}}},
        LayoutCase{"horizontal_fixed_widths_and_hidden_child",
                   R"(<HorizontalLayout>
                        <Control name="l" width="50"/>
                        <Control name="hidden" width="70" visible="false"/>
                        <Control name="fill"/>
                        <Control name="r" width="40" height="10"/>
                      </HorizontalLayout>)",
                   RECT{0, 0, 300, 40},
                   {{"l", {0, 0, 50, 40}}, {"fill", {50, 0, 260, 40}}, {"r", {260, 15, 300, 25}}}},
        LayoutCase{"float_child_relative_to_parent",
                   R"(<VerticalLayout><Container name="box" height="100">
                        <Control name="f" float="true" pos="5,6,25,16"/>
                      </Container></VerticalLayout>)",
                   RECT{100, 100, 300, 300},
                   {{"box", {100, 100, 300, 200}}, {"f", {105, 106, 125, 116}}}},
        LayoutCase{"min_width_takes_from_the_shared_rest",
                   R"(<HorizontalLayout><Control name="a" minwidth="150"/><Control name="b"/>
                      </HorizontalLayout>)",
                   RECT{0, 0, 200, 10},
                   {{"a", {0, 0, 150, 10}}, {"b", {150, 0, 200, 10}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameworkContainer, ARowShortOfRoomLeavesOutTheHighestDropOrdersAndGetsThemBackWhenWider) {
  CPaintManagerUI pm;
  CDialogBuilder builder;
  CControlUI* root = builder.CreateFromString(
      R"(<HorizontalLayout childpadding="10">
           <Control name="keep" width="100"/><Control name="second" width="40" droporder="1"/>
           <Control name="first" width="60" droporder="2"/><Control name="fill"/>
           <Control name="end" width="50"/>
         </HorizontalLayout>)",
      nullptr, &pm);
  ASSERT_NE(root, nullptr) << builder.GetLastError();
  pm.AttachDialog(root);
  const auto shown = [&](const char* name) { return pm.FindControl(name)->IsVisible(); };

  root->SetPos(RECT{0, 0, 240, 20}, false);  // 100 + 40 + 50 and two gaps fit; 60 more does not
  EXPECT_FALSE(shown("first"));
  EXPECT_TRUE(shown("second"));
  EXPECT_EQ(pm.FindControl("second")->GetPos(), (RECT{110, 0, 150, 20}));
  EXPECT_EQ(pm.FindControl("end")->GetPos(), (RECT{190, 0, 240, 20}));

  root->SetPos(RECT{0, 0, 170, 20}, false);  // only the undroppable ones are left
  EXPECT_FALSE(shown("first"));
  EXPECT_FALSE(shown("second"));
  EXPECT_EQ(pm.FindControl("end")->GetPos(), (RECT{120, 0, 170, 20}));

  root->SetPos(RECT{0, 0, 400, 20}, false);
  EXPECT_TRUE(shown("first"));
  EXPECT_TRUE(shown("second"));
  EXPECT_EQ(pm.FindControl("end")->GetPos(), (RECT{350, 0, 400, 20}));
}

TEST(FrameworkContainer, AFloatingChildIsPlacedRelativeToItsParent) {
  CContainerUI box;
  auto* child = new CControlUI();
  child->SetFloat(true);
  ASSERT_TRUE(box.Add(child));
  box.SetPos(RECT{24, 66, 624, 404});
  child->SetPos(RECT{0, 0, 600, 337});
  EXPECT_EQ(child->GetPos(), (RECT{24, 66, 624, 403}));
  box.SetPos(RECT{10, 10, 610, 348});  // the parent moves: the child goes with it
  EXPECT_EQ(child->GetPos(), (RECT{10, 10, 610, 347}));
}

bool g_deleted = false;
bool MarkDeleted(void*) {
  g_deleted = true;
  return true;
}

TEST(FrameworkContainer, HidingAContainerHidesItsChildrenAndRemovingDeletes) {
  CVerticalLayoutUI box;
  auto* child = new CLabelUI();
  g_deleted = false;
  child->OnDestroy += &MarkDeleted;
  ASSERT_TRUE(box.Add(child));
  EXPECT_FALSE(box.Add(nullptr));
  box.SetVisible(false);
  EXPECT_FALSE(child->IsVisible());
  box.SetVisible(true);
  EXPECT_TRUE(child->IsVisible());
  EXPECT_EQ(box.GetItemIndex(child), 0);
  EXPECT_EQ(box.GetItemAt(1), nullptr);
  EXPECT_TRUE(box.RemoveAt(0));
  EXPECT_TRUE(g_deleted);
  EXPECT_FALSE(box.RemoveAt(0));
}

}  // namespace
}  // namespace DuiLib
