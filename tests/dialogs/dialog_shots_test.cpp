// Pictures of every dialog for a person to look at: runs only when KORVANE_DIALOG_SHOTS names a
// folder, and writes one PNG per window there (works offscreen and under X).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <cstdlib>

#include "dialog_fixture.h"
#include "dialogs/clean_tip_wnd.h"
#include "dialogs/setting_wnd.h"
#include "dialogs/show_snaps_tip_wnd.h"
#include "dialogs/snapshot_tip_wnd.h"

namespace korvane {
namespace {

class DialogShots : public test::DialogTest {
 protected:
  void SetUp() override {
    const char* folder = std::getenv("KORVANE_DIALOG_SHOTS");
    if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "KORVANE_DIALOG_SHOTS not set";
    out = std::string(folder) + "/";
    DialogTest::SetUp();
  }
  template <class Wnd>
  void Shoot(Wnd& wnd, const char* windowName, const std::string& file) {
    ASSERT_NE(test::CreateDialog(wnd, windowName), 0u);
    Settle();
    EXPECT_TRUE(wnd.GetWidget()->grab().save(QString::fromStdString(out + file)));
    wnd.Close(2);
    test::PumpUntil([&] { return wnd.GetHWND() == 0; });
  }
  static void Settle() {
    QElapsedTimer timer;
    timer.start();
    test::PumpUntil([&] { return timer.elapsed() > 300; });
  }
  std::string Png(int width, int height) {
    const std::string path = dir.str() + "shot.png";
    const std::string command = test::ProgramDir() + "FFMpeg/ffmpeg -v error -y -ss 5 -i '" +
                                test::DefaultClip() +
                                "' -frames:v 1 -vf scale=" + std::to_string(width) + ":" +
                                std::to_string(height) + " '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return path;
  }
  std::string out;
};

TEST_F(DialogShots, EveryWindow) {
  for (const char* language : {"english.ini", "russian.ini", "chinese.ini"}) {
    UseLanguage(language);
    context.settings.videoOutput = "gl:force-pbo";
    context.settings.audioOutput = "dsound";
    context.settings.soundDevice = 1;
    CDuiSettingWnd settings(context);
    Shoot(settings, "SettingWnd", std::string("setting-") + language + ".png");
  }
  UseLanguage("english.ini");
  {
    // ALSA chosen: the sound card combo is disabled. Then the video list dropped down.
    context.settings.audioOutput = "win32";
    CDuiSettingWnd settings(context);
    ASSERT_NE(test::CreateDialog(settings, "SettingWnd"), 0u);
    Settle();
    QTimer::singleShot(400, [this] {
      QWidget* popup = QApplication::activePopupWidget();
      ASSERT_NE(popup, nullptr);
      if (std::getenv("DISPLAY") != nullptr) {
        const std::string command = "import -window root " + out + "dropdown.png";
        EXPECT_EQ(std::system(command.c_str()), 0);
      } else {
        EXPECT_TRUE(popup->grab().save(QString::fromStdString(out + "dropdown.png")));
      }
      popup->close();
    });
    test::MouseClick(settings.GetWidget(), test::CenterOf(settings.videoCombo));
    EXPECT_TRUE(settings.GetWidget()->grab().save(QString::fromStdString(out + "win32.png")));
    settings.Close(2);
    test::PumpUntil([&] { return settings.GetHWND() == 0; });
  }
  for (auto [w, h] : {std::pair{1280, 720}, std::pair{640, 480}}) {
    CDuiSnapshotTipWnd snapshot(context);
    snapshot.imagePath = Png(w, h);
    snapshot.imageWidth = w;
    snapshot.imageHeight = h;
    Shoot(snapshot, "SnapshotTipWnd", "snapshot-" + std::to_string(w) + ".png");
  }
  CDuiCleanTipWnd clean(context);
  Shoot(clean, "CleanTipWindow", "clean.png");
  CDuiShowSnapsTipWnd path(context);
  path.savedPath = "/home/user/Documents/KORVANE/shot0001.png";
  Shoot(path, "ShowSnapsTipWindow", "path.png");
}

}  // namespace
}  // namespace korvane
