// The snapshot preview, snapshot-folder and clear-list tips on the real skins and language files:
// texts, results, where the preview goes, and the "not again" boxes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "dialog_fixture.h"
#include "dialogs/clean_tip_wnd.h"
#include "dialogs/preview_rect.h"
#include "dialogs/show_snaps_tip_wnd.h"
#include "dialogs/snapshot_tip_wnd.h"
#include "rect_printer.h"

namespace korvane {
namespace {

using namespace DuiLib;
using test::ClickControl;
using test::RunModal;

// The picture's rectangle relative to the preview area.
PreviewRect PlaceInPreviewer(const CDuiSnapshotTipWnd& tip) {
  const RECT area = tip.previewer->GetPos();
  const RECT rc = tip.picture->GetPos();
  return {rc.left - area.left, rc.top - area.top, rc.right - area.left, rc.bottom - area.top};
}

struct RectCase {
  int width, height;
  PreviewRect expected;
};

class SnapshotTip : public test::DialogTest {
 protected:
  // A real PNG of the given size made by ffmpeg from the sample clip.
  std::string MakePng(int width, int height) {
    const std::string path = dir.str() + "shot" + std::to_string(width) + ".png";
    const std::string command = test::ProgramDir() + "FFMpeg/ffmpeg -v error -y -i '" +
                                test::DefaultClip() +
                                "' -frames:v 1 -vf scale=" + std::to_string(width) + ":" +
                                std::to_string(height) + " '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
  }
};

class SnapshotTipRects : public SnapshotTip, public testing::WithParamInterface<RectCase> {};

TEST_P(SnapshotTipRects, PlacesThePictureByTheRatioRule) {
  CDuiSnapshotTipWnd tip(context);
  tip.imagePath = dir.str() + "shot0001.png";
  tip.imageWidth = GetParam().width;
  tip.imageHeight = GetParam().height;
  ASSERT_NE(test::CreateDialog(tip, "SnapshotTipWnd"), 0u);
  ASSERT_NE(tip.previewer, nullptr);
  ASSERT_NE(tip.picture, nullptr);
  EXPECT_EQ(tip.previewer->GetWidth(), kPreviewWidth);
  EXPECT_EQ(tip.previewer->GetHeight(), kPreviewHeight);
  EXPECT_TRUE(tip.picture->IsFloat());
  EXPECT_EQ(tip.picture->GetBkImage(), tip.imagePath);
  EXPECT_EQ(PlaceInPreviewer(tip), GetParam().expected);
  // A new layout keeps the place.
  tip.m_PaintManager.UpdateLayout(true);
  EXPECT_EQ(PlaceInPreviewer(tip), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SnapshotTipRects,
                         testing::Values(RectCase{1920, 1080, {0, 0, 600, 337}},
                                         RectCase{640, 480, {75, 0, 525, 338}},
                                         RectCase{720, 576, {89, 0, 511, 338}}));

TEST_F(SnapshotTip, UnknownSizeTakesThePicturesOwnSize) {
  CDuiSnapshotTipWnd small(context);
  small.imagePath = MakePng(320, 180);
  ASSERT_NE(test::CreateDialog(small, "SnapshotTipWnd"), 0u);
  EXPECT_EQ(PlaceInPreviewer(small), (PreviewRect{140, 79, 460, 259}));

  CDuiSnapshotTipWnd large(context);
  large.imagePath = MakePng(640, 480);
  large.imageHeight = 480;  // width still 0: the size is unknown
  ASSERT_NE(test::CreateDialog(large, "SnapshotTipWnd"), 0u);
  EXPECT_EQ(PlaceInPreviewer(large), (PreviewRect{75, 0, 525, 338}));

  CDuiSnapshotTipWnd missing(context);
  missing.imagePath = dir.str() + "missing.png";
  ASSERT_NE(test::CreateDialog(missing, "SnapshotTipWnd"), 0u);
  EXPECT_EQ(PlaceInPreviewer(missing), (PreviewRect{0, 0, 600, 338}));
}

TEST_F(SnapshotTip, TitleAndBoxTextsComeFromTheLanguageFile) {
  CDuiSnapshotTipWnd tip(context);
  tip.imagePath = "/data/KORVANE/shot0003.png";
  ASSERT_NE(test::CreateDialog(tip, "SnapshotTipWnd"), 0u);
  EXPECT_EQ(tip.m_PaintManager.FindControl("titleLabel")->GetText(),
            "Snapshot saved:/data/KORVANE/shot0003.png");
  ASSERT_NE(tip.noAgainBox, nullptr);
  EXPECT_EQ(tip.noAgainBox->GetText(), "Don't show again");
}

TEST_F(SnapshotTip, NotAgainTurnsThePreviewOffForTheRunAndInTheFile) {
  for (bool tick : {false, true}) {
    context.settings.snapshotPreview = true;
    CDuiSnapshotTipWnd tip(context);
    tip.imagePath = MakePng(640, 360);
    tip.imageWidth = 640;
    tip.imageHeight = 360;
    ASSERT_NE(test::CreateDialog(tip, "SnapshotTipWnd"), 0u);
    RunModal(tip, [&] {
      if (tick) ClickControl(tip, tip.noAgainBox);
      ClickControl(tip, tip.m_PaintManager.FindControl("closebtn"));
    });
    EXPECT_EQ(context.settings.snapshotPreview, !tick);
    EXPECT_EQ(SettingsText(), tick ? "[MPlayer]\nSSPreview=0\n" : "");
  }
}

TEST_F(SnapshotTip, PathsWithEqualsSignsStillDrawTheirPicture) {
  EXPECT_EQ(ImageForPath("/a/b.png"), "/a/b.png");
  EXPECT_EQ(ImageForPath("/a=b/c.png"), "file='/a=b/c.png'");
  EXPECT_EQ(ImageForPath("/a=b/it's.png"), "");
}

class CleanTip : public test::DialogTest {};

TEST_F(CleanTip, ShowsItsTextsFromTheLanguageFile) {
  CDuiCleanTipWnd tip(context);
  ASSERT_NE(test::CreateDialog(tip, "CleanTipWindow"), 0u);
  const CPaintManagerUI& pm = tip.m_PaintManager;
  EXPECT_EQ(pm.FindControl("CleanTitleLabel")->GetText(), "Clear playlist");
  EXPECT_EQ(pm.FindControl("CleanContentLabelOne")->GetText(),
            "Remove all files from the playlist?");
  EXPECT_EQ(pm.FindControl("CleanContentLabelTwo")->GetText(),
            "The files themselves are not deleted.");
  EXPECT_EQ(pm.FindControl("CleanOKButton")->GetText(), "OK");
  EXPECT_EQ(pm.FindControl("CleanCancleButton")->GetText(), "Cancel");
  ASSERT_NE(tip.noAgainBox, nullptr);
  EXPECT_EQ(tip.noAgainBox->GetText(), "Don't show again");
}

struct CleanCase {
  const char* button;
  bool tick;
  UINT result;
};

class CleanTipClose : public CleanTip, public testing::WithParamInterface<CleanCase> {};

TEST_P(CleanTipClose, ReturnsTheButtonsCodeAndSavesTheBoxHoweverItCloses) {
  context.settings.cleanTip = true;
  CDuiCleanTipWnd tip(context);
  ASSERT_NE(test::CreateDialog(tip, "CleanTipWindow"), 0u);
  const UINT result = RunModal(tip, [&] {
    if (GetParam().tick) ClickControl(tip, tip.noAgainBox);
    ClickControl(tip, tip.m_PaintManager.FindControl(GetParam().button));
  });
  EXPECT_EQ(result, GetParam().result);
  EXPECT_EQ(context.settings.cleanTip, !GetParam().tick);
  EXPECT_EQ(SettingsText(), GetParam().tick ? "[MPlayer]\nCleanTip=0\n" : "");
}

INSTANTIATE_TEST_SUITE_P(Buttons, CleanTipClose,
                         testing::Values(CleanCase{"CleanOKButton", false, 1},
                                         CleanCase{"CleanOKButton", true, 1},
                                         CleanCase{"CleanCancleButton", false, 2},
                                         CleanCase{"CleanCancleButton", true, 2},
                                         CleanCase{"closebtn", false, IDCANCEL},
                                         CleanCase{"closebtn", true, IDCANCEL}));

TEST_F(CleanTip, AFailedWriteStillTurnsTheQuestionOffForTheRun) {
  context.settings.cleanTip = true;
  test::WriteFileText(dir.path() / "file", "x");
  context.settingsPath = dir.str() + "file/Velmora.ini";  // parent is a regular file
  CDuiCleanTipWnd tip(context);
  ASSERT_NE(test::CreateDialog(tip, "CleanTipWindow"), 0u);
  EXPECT_EQ(RunModal(tip,
                     [&] {
                       ClickControl(tip, tip.noAgainBox);
                       ClickControl(tip, tip.m_PaintManager.FindControl("CleanCancleButton"));
                     }),
            2u);
  EXPECT_FALSE(context.settings.cleanTip);
}

class ShowSnapsTip : public test::DialogTest {};

TEST_F(ShowSnapsTip, ShowsThePathAndOkReturnsOne) {
  CDuiShowSnapsTipWnd tip(context);
  tip.savedPath = "/home/user/Documents/KORVANE/shot0001.png";
  ASSERT_NE(test::CreateDialog(tip, "ShowSnapsTipWindow"), 0u);
  const CPaintManagerUI& pm = tip.m_PaintManager;
  EXPECT_EQ(pm.FindControl("PathTitleLabel")->GetText(), "Snapshots are saved to:");
  EXPECT_EQ(pm.FindControl("PathContentEdit")->GetText(), tip.savedPath);
  EXPECT_EQ(pm.FindControl("PathContentEdit")->GetToolTip(), tip.savedPath);
  EXPECT_EQ(pm.FindControl("ShowPathOKButton")->GetText(), "OK");
  EXPECT_EQ(RunModal(tip, [&] { ClickControl(tip, pm.FindControl("ShowPathOKButton")); }), 1u);
  EXPECT_FALSE(SettingsFileExists());
}

}  // namespace
}  // namespace korvane
