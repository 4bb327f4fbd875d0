// Every skin file builds and provides the control names the program looks up, letter for letter.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "framework/xml_wnd.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"

namespace korvane {
namespace {

struct SkinCase {
  const char* file;
  std::vector<const char*> names;
};

void PrintTo(const SkinCase& c, std::ostream* os) {
  *os << c.file;
}

class SkinWindow : public CXMLWnd {
 public:
  using CXMLWnd::CXMLWnd;
};

class DialogSkins : public ::testing::TestWithParam<SkinCase> {};

TEST_P(DialogSkins, BuildWithEveryNamedControl) {
  DuiLib::CPaintManagerUI::SetResourcePath(test::SourceDir() + "/resources/skin/");
  SkinWindow window(GetParam().file);
  ASSERT_NE(window.Create(0, "skin", DuiLib::WS_POPUP, 0, 0, 0, 0, 0), 0u);
  for (const char* name : GetParam().names) {
    EXPECT_NE(window.m_PaintManager.FindControl(name), nullptr) << name;
  }
  window.ShowWindow(true, false);
  window.m_PaintManager.UpdateLayout(true);
  // KORVANE_SKIN_SHOTS=folder saves what each window looks like, for a person to check.
  if (const char* folder = getenv("KORVANE_SKIN_SHOTS")) {
    for (const char* name : GetParam().names) {
      DuiLib::CControlUI* c = window.m_PaintManager.FindControl(name);
      if (c->GetInterface("Combo") != nullptr || std::string(name) == "closebtn") continue;
      c->SetText(name);
    }
    window.GetWidget()->grab().save(QString(folder) + "/" + GetParam().file + ".png");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DialogSkins,
    ::testing::Values(
        SkinCase{"Setting.xml",
                 {"LanguangeCombo", "VideoCombo", "SoundCombo", "SoundCardCombo", "OKButton",
                  "CancleButton", "LanguangeLabel", "VideoLabel", "SoundLabel", "SoundCardLabel",
                  "VersionLabel", "GeneralOption", "showBox", "closebtn"}},
        SkinCase{"Snapshot.xml", {"titleLabel", "showBox", "SnapshotPreviewer", "closebtn"}},
        SkinCase{"CleanTipWnd.xml",
                 {"CleanTitleLabel", "ShowAgainCheckBox", "CleanContentLabelOne",
                  "CleanContentLabelTwo", "CleanOKButton", "CleanCancleButton", "closebtn"}},
        SkinCase{"ShowSnapshotPath.xml",
                 {"PathTitleLabel", "PathContentEdit", "ShowPathOKButton", "closebtn"}}),
    [](const auto& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

TEST(DialogSkinsLayout, SnapshotPreviewAreaIs600By338) {
  DuiLib::CPaintManagerUI::SetResourcePath(test::SourceDir() + "/resources/skin/");
  SkinWindow window("Snapshot.xml");
  ASSERT_NE(window.Create(0, "skin", DuiLib::WS_POPUP, 0, 0, 0, 0, 0), 0u);
  window.m_PaintManager.UpdateLayout(true);
  const DuiLib::RECT rc = window.m_PaintManager.FindControl("SnapshotPreviewer")->GetPos();
  EXPECT_EQ(rc.right - rc.left, 600);
  EXPECT_EQ(rc.bottom - rc.top, 338);
}

TEST(DialogSkinsLayout, ControlTypesMatchTheirUse) {
  DuiLib::CPaintManagerUI::SetResourcePath(test::SourceDir() + "/resources/skin/");
  SkinWindow window("Setting.xml");
  ASSERT_NE(window.Create(0, "skin", DuiLib::WS_POPUP, 0, 0, 0, 0, 0), 0u);
  auto& pm = window.m_PaintManager;
  for (const char* combo : {"LanguangeCombo", "VideoCombo", "SoundCombo", "SoundCardCombo"}) {
    EXPECT_NE(DuiLib::FindControlAs<DuiLib::CComboUI>(pm, combo), nullptr) << combo;
  }
  EXPECT_NE(DuiLib::FindControlAs<DuiLib::CCheckBoxUI>(pm, "showBox"), nullptr);
}

}  // namespace
}  // namespace korvane
