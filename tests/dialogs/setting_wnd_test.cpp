// The settings window on the real skin and language files: the lists it shows, what it selects,
// and what OK, Cancel and the close button write.
#include "dialogs/setting_wnd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "dialog_fixture.h"
#include "settings/settings_store.h"

namespace korvane {
namespace {

using namespace DuiLib;
using test::ClickControl;
using test::RunModal;
using namespace std::chrono_literals;

std::vector<std::string> Texts(const CComboUI* combo) {
  std::vector<std::string> texts;
  for (int i = 0; i < combo->GetCount(); ++i) texts.push_back(combo->GetItemAt(i)->GetText());
  return texts;
}

class SettingWnd : public test::DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    context.settings.videoOutput = "directx:noaccel";
    context.settings.audioOutput = "dsound";
    context.settings.soundDevice = 1;
    context.settings.snapshotPreview = false;
  }
  SoundDeviceSource Devices() {
    return [this] { return devices; };
  }
  // Creates the window as the main window does and waits for its sound card list.
  static bool Open(CDuiSettingWnd& wnd) {
    return test::CreateDialog(wnd, "SettingWnd") != 0 &&
           test::PumpUntil([&] { return wnd.soundDevicesListed(); });
  }
  std::vector<std::string> devices{"Autoselect device", "Default (alsa)", "Default (jack)"};
};

TEST_F(SettingWnd, EnglishShowsTheEnglishTablesCaptionsAndCurrentChoices) {
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  ASSERT_NE(wnd.languageCombo, nullptr);
  ASSERT_NE(wnd.videoCombo, nullptr);
  ASSERT_NE(wnd.soundCombo, nullptr);
  ASSERT_NE(wnd.soundCardCombo, nullptr);
  ASSERT_NE(wnd.previewCheck, nullptr);
  EXPECT_EQ(wnd.okButton->GetText(), "OK");
  EXPECT_EQ(wnd.cancelButton->GetText(), "Cancel");
  EXPECT_EQ(wnd.languageLabel->GetText(), "Language:");
  EXPECT_EQ(wnd.soundCardLabel->GetText(), "Sound card:");
  EXPECT_EQ(wnd.versionLabel->GetText(), std::string("Version: ") + KORVANE_VERSION);
  EXPECT_EQ(wnd.generalOption->GetText(), "Player");
  EXPECT_EQ(wnd.previewCheck->GetText(), "Show snapshot preview");
  EXPECT_FALSE(wnd.previewCheck->GetCheck());
  ASSERT_NE(wnd.stampCheck, nullptr);
  EXPECT_EQ(wnd.stampCheck->GetText(), "Stamp time, position and speed on snapshots");
  EXPECT_FALSE(wnd.stampCheck->GetCheck());
  ASSERT_NE(wnd.speedUnitCombo, nullptr);
  EXPECT_EQ(wnd.speedUnitLabel->GetText(), "Speed unit:");
  EXPECT_EQ(Texts(wnd.speedUnitCombo), (std::vector<std::string>{"km/h", "mph"}));
  EXPECT_EQ(wnd.speedUnitCombo->GetCurSel(), 0);

  const std::vector<std::string> languages = Texts(wnd.languageCombo);
  ASSERT_EQ(languages.size(), kLanguages.size());
  for (std::size_t i = 0; i < kLanguages.size(); ++i)
    EXPECT_EQ(languages[i], kLanguages[i].displayName);
  EXPECT_EQ(wnd.languageCombo->GetCurSel(), 1);

  EXPECT_EQ(Texts(wnd.videoCombo).at(3), " X11 — no hardware acceleration");
  EXPECT_EQ(wnd.videoCombo->GetCount(), 12);
  EXPECT_EQ(wnd.videoCombo->GetCurSel(), 3);
  EXPECT_EQ(Texts(wnd.soundCombo), (std::vector<std::string>{" ALSA", " Default sound server"}));
  EXPECT_EQ(wnd.soundCombo->GetCurSel(), 1);
  EXPECT_EQ(Texts(wnd.soundCardCombo),
            (std::vector<std::string>{" Autoselect device", " Default (alsa)", " Default (jack)"}));
  EXPECT_EQ(wnd.soundCardCombo->GetCurSel(), 1);
  EXPECT_TRUE(wnd.soundCardCombo->IsEnabled());
  EXPECT_EQ(CDuiSettingWnd::Current(), &wnd);
}

TEST_F(SettingWnd, ChineseShowsTheSimplifiedChineseTables) {
  UseLanguage("chinese.ini");
  context.settings.audioOutput = "win32";
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  EXPECT_EQ(Texts(wnd.videoCombo).at(3), " X11 — 无硬件加速");
  EXPECT_EQ(Texts(wnd.soundCombo).at(0), " ALSA 音频输出");
  EXPECT_EQ(wnd.soundCombo->GetCurSel(), 0);
  EXPECT_EQ(wnd.languageCombo->GetCurSel(), 2);
  EXPECT_FALSE(wnd.soundCardCombo->IsEnabled());
  EXPECT_FALSE(wnd.okButton->GetText().empty());
}

TEST_F(SettingWnd, SharedVideoValueSelectsRowZeroAndUnknownValuesSelectNothing) {
  context.settings.videoOutput = "gl:yuv=0:force-pbo";
  context.settings.audioOutput = "DSOUND";  // not "dsound" exactly: no row, combo disabled
  context.settings.soundDevice = 7;
  UseLanguage("klingon.ini");
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  EXPECT_EQ(wnd.videoCombo->GetCurSel(), 0);
  EXPECT_EQ(wnd.soundCombo->GetCurSel(), -1);
  EXPECT_EQ(wnd.languageCombo->GetCurSel(), -1);
  EXPECT_EQ(wnd.soundCardCombo->GetCurSel(), -1);
  EXPECT_FALSE(wnd.soundCardCombo->IsEnabled());
  // A missing language file leaves the captions empty and the version bare.
  EXPECT_EQ(wnd.okButton->GetText(), "");
  EXPECT_EQ(wnd.versionLabel->GetText(), KORVANE_VERSION);

  EXPECT_EQ(RunModal(wnd, [&] { ClickControl(wnd, wnd.okButton); }), 1u);
  EXPECT_EQ(context.settings.audioOutput, "DSOUND");
  EXPECT_EQ(context.settings.languageFile, "klingon.ini");
  EXPECT_EQ(context.settings.soundDevice, 7);
  EXPECT_EQ(SettingsText(), "[MPlayer]\nVO=gl:yuv=0:force-pbo\n");
}

TEST_F(SettingWnd, RowElevenChosenLastTimeReopensOnRowZero) {
  {
    CDuiSettingWnd wnd(context, Devices());
    ASSERT_TRUE(Open(wnd));
    EXPECT_EQ(RunModal(wnd,
                       [&] {
                         wnd.videoCombo->SelectItem(11);
                         ClickControl(wnd, wnd.okButton);
                       }),
              1u);
  }
  EXPECT_EQ(context.settings.videoOutput, "gl:yuv=0:force-pbo");
  CDuiSettingWnd again(context, Devices());
  ASSERT_TRUE(Open(again));
  EXPECT_EQ(again.videoCombo->GetCurSel(), 0);
}

TEST_F(SettingWnd, DeviceDescriptionsAreTrimmedWithOneLeadingSpace) {
  devices = {"  a  b  ", "   ", "c\td"};
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  EXPECT_EQ(Texts(wnd.soundCardCombo), (std::vector<std::string>{" a b", " ", " c\td"}));
  ASSERT_EQ(wnd.soundDevices().size(), 3u);
  EXPECT_EQ(wnd.soundDevices()[0]->number, 0);
  EXPECT_EQ(wnd.soundDevices()[0]->name, "   a  b  ");
  EXPECT_EQ(wnd.soundDevices()[2]->number, 2);
}

TEST_F(SettingWnd, OkWritesEveryChoiceInOrderAndReturnsOne) {
  context.settings.audioOutput = "win32";
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  const UINT result = RunModal(wnd, [&] {
    wnd.videoCombo->SelectItem(5);
    wnd.soundCombo->SelectItem(1);  // "dsound": the sound card combo comes back
    EXPECT_TRUE(wnd.soundCardCombo->IsEnabled());
    wnd.soundCardCombo->SelectItem(2);
    wnd.languageCombo->SelectItem(5);
    ClickControl(wnd, wnd.previewCheck);
    ClickControl(wnd, wnd.stampCheck);
    wnd.eventCombo->SelectItem(9);
    ClickControl(wnd, wnd.flipCheck);
    wnd.speedUnitCombo->SelectItem(1);
    ClickControl(wnd, wnd.okButton);
  });
  EXPECT_EQ(result, 1u);
  EXPECT_TRUE(context.settings.snapshotStamp);
  EXPECT_EQ(context.settings.speedUnit, SpeedUnit::Mph);
  EXPECT_EQ(context.settings.videoOutput, "gl:force-pbo");
  EXPECT_EQ(context.settings.audioOutput, "dsound");
  EXPECT_EQ(context.settings.soundDevice, 2);
  EXPECT_EQ(context.settings.languageFile, "german.ini");
  EXPECT_TRUE(context.settings.snapshotPreview);
  EXPECT_EQ(SettingsText(),
            "[MPlayer]\nVO=gl:force-pbo\nAO=dsound\nDEVICE=2\nLanguage=german.ini\nSSPreview=1\n"
            "SSStamp=1\nEventThreshold=1.5\nEventFlipY=1\nSpeedUnit=mph\n");
}

TEST_F(SettingWnd, TheEventThresholdAndDirectionAreOfferedAndWrittenWhenChanged) {
  context.settings.eventThresholdG = 0.7;  // a value from the file that the list lacks
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  ASSERT_NE(wnd.eventCombo, nullptr);
  ASSERT_NE(wnd.flipCheck, nullptr);
  const std::vector<std::string> rows = Texts(wnd.eventCombo);
  ASSERT_EQ(rows.size(), 11u);
  EXPECT_EQ(rows.front(), " 0.1 G");
  EXPECT_EQ(rows.back(), " 2.0 G");
  EXPECT_EQ(rows.at(static_cast<std::size_t>(wnd.eventCombo->GetCurSel())), " 0.6 G");
  EXPECT_EQ(wnd.flipCheck->GetText(), "Camera faces backwards (swap braking and acceleration)");
  // OK without a change keeps 0.7.
  EXPECT_EQ(RunModal(wnd, [&] { ClickControl(wnd, wnd.okButton); }), 1u);
  EXPECT_DOUBLE_EQ(context.settings.eventThresholdG, 0.7);
  EXPECT_EQ(SettingsText().find("Event"), std::string::npos) << SettingsText();

  CDuiSettingWnd again(context, Devices());
  ASSERT_TRUE(Open(again));
  EXPECT_EQ(RunModal(again,
                     [&] {
                       again.eventCombo->SelectItem(9);
                       ClickControl(again, again.flipCheck);
                       ClickControl(again, again.okButton);
                     }),
            1u);
  EXPECT_DOUBLE_EQ(context.settings.eventThresholdG, 1.5);
  EXPECT_TRUE(context.settings.eventFlipY);
  EXPECT_NE(SettingsText().find("EventThreshold=1.5\nEventFlipY=1\n"), std::string::npos)
      << SettingsText();
}

// The small pictures' corner and width: shown as the record has them (a width the list lacks on
// its nearest row), and written only when another row was picked.
TEST_F(SettingWnd, ThePictureCornerAndWidthAreOfferedAndWrittenWhenChanged) {
  context.settings.pictureCorner = "bottomleft";  // as a hand-edited file may spell it
  context.settings.pictureWidthPercent = 33;
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  ASSERT_NE(wnd.pictureCornerCombo, nullptr);
  ASSERT_NE(wnd.pictureWidthCombo, nullptr);
  EXPECT_EQ(Texts(wnd.pictureCornerCombo),
            (std::vector<std::string>{" Top left corner", " Top right corner",
                                      " Bottom left corner", " Bottom right corner"}));
  EXPECT_EQ(wnd.pictureCornerCombo->GetCurSel(), 2);
  const std::vector<std::string> widths = Texts(wnd.pictureWidthCombo);
  ASSERT_EQ(widths.size(), 6u);
  EXPECT_EQ(widths.front(), " 20 %");
  EXPECT_EQ(widths.back(), " 45 %");
  EXPECT_EQ(widths.at(static_cast<std::size_t>(wnd.pictureWidthCombo->GetCurSel())), " 35 %");
  EXPECT_EQ(RunModal(wnd, [&] { ClickControl(wnd, wnd.okButton); }), 1u);
  EXPECT_EQ(context.settings.pictureCorner, "bottomleft");
  EXPECT_EQ(context.settings.pictureWidthPercent, 33);
  EXPECT_EQ(SettingsText().find("Picture"), std::string::npos) << SettingsText();

  CDuiSettingWnd again(context, Devices());
  ASSERT_TRUE(Open(again));
  EXPECT_EQ(RunModal(again,
                     [&] {
                       again.pictureCornerCombo->SelectItem(3);
                       again.pictureWidthCombo->SelectItem(5);
                       ClickControl(again, again.okButton);
                     }),
            1u);
  EXPECT_EQ(context.settings.pictureCorner, "BottomRight");
  EXPECT_EQ(context.settings.pictureWidthPercent, 45);
  EXPECT_NE(SettingsText().find("PictureCorner=BottomRight\nPictureWidth=45\n"), std::string::npos)
      << SettingsText();
}

TEST_F(SettingWnd, Win32DisablesTheSoundCardAndOkKeepsTheDevice) {
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  const UINT result = RunModal(wnd, [&] {
    wnd.soundCardCombo->SelectItem(2);
    wnd.soundCombo->SelectItem(0);
    EXPECT_FALSE(wnd.soundCardCombo->IsEnabled());
    ClickControl(wnd, wnd.okButton);
  });
  EXPECT_EQ(result, 1u);
  EXPECT_EQ(context.settings.audioOutput, "win32");
  EXPECT_EQ(context.settings.soundDevice, 1);
  EXPECT_EQ(SettingsText(), "[MPlayer]\nVO=directx:noaccel\nAO=win32\nLanguage=english.ini\n");
}

TEST_F(SettingWnd, CancelTheCloseButtonAndEscapeWriteNothing) {
  const Settings before = context.settings;
  for (const char* how : {"CancleButton", "closebtn", "escape"}) {
    CDuiSettingWnd wnd(context, Devices());
    ASSERT_TRUE(Open(wnd));
    const UINT result = RunModal(wnd, [&] {
      wnd.videoCombo->SelectItem(7);
      wnd.soundCombo->SelectItem(0);
      wnd.languageCombo->SelectItem(2);
      ClickControl(wnd, wnd.previewCheck);
      if (std::string(how) == "escape") {
        test::KeyClick(wnd.GetWidget(), Qt::Key_Escape);
      } else {
        ClickControl(wnd, wnd.m_PaintManager.FindControl(how));
      }
    });
    EXPECT_EQ(result, 2u) << how;
    EXPECT_FALSE(SettingsFileExists()) << how;
    EXPECT_EQ(context.settings.videoOutput, before.videoOutput) << how;
    EXPECT_EQ(context.settings.audioOutput, before.audioOutput) << how;
    EXPECT_EQ(context.settings.languageFile, before.languageFile) << how;
    EXPECT_EQ(context.settings.snapshotPreview, before.snapshotPreview) << how;
  }
  EXPECT_EQ(CDuiSettingWnd::Current(), nullptr);
}

TEST_F(SettingWnd, OkWithoutChangesLeavesSnapshotPreviewUnwritten) {
  context.settings.snapshotPreview = true;
  WriteSettingString(context, kSettingsSection, "Volume", "55");
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  EXPECT_TRUE(wnd.previewCheck->GetCheck());
  EXPECT_EQ(RunModal(wnd, [&] { ClickControl(wnd, wnd.okButton); }), 1u);
  EXPECT_EQ(SettingsText(),
            "[MPlayer]\nVolume=55\nVO=directx:noaccel\nAO=dsound\nDEVICE=1\n"
            "Language=english.ini\n");
}

TEST_F(SettingWnd, NoSoundCardsLeaveTheComboEmptyAndDeviceUnwritten) {
  devices.clear();
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  EXPECT_EQ(wnd.soundCardCombo->GetCount(), 0);
  EXPECT_EQ(RunModal(wnd, [&] { ClickControl(wnd, wnd.okButton); }), 1u);
  EXPECT_EQ(SettingsText().find("DEVICE"), std::string::npos);
}

// Listing the sound cards runs the player program (or waits for one that hangs): the window is
// up and answering first, and the list fills its combo when it comes.
TEST_F(SettingWnd, OpensBeforeTheSoundCardsAreListedAndFillsThemIn) {
  std::atomic<bool> release{false};
  CDuiSettingWnd wnd(context, [&] {
    for (int i = 0; i < 300 && !release; ++i) std::this_thread::sleep_for(10ms);
    return devices;
  });
  ASSERT_NE(test::CreateDialog(wnd, "SettingWnd"), 0u);
  EXPECT_FALSE(wnd.soundDevicesListed()) << "the list was made on the UI thread";
  EXPECT_EQ(wnd.soundCardCombo->GetCount(), 0);
  release = true;
  ASSERT_TRUE(test::PumpUntil([&] { return wnd.soundDevicesListed(); }));
  EXPECT_EQ(wnd.soundCardCombo->GetCount(), 3);
  EXPECT_EQ(wnd.soundCardCombo->GetCurSel(), 1);
}

TEST_F(SettingWnd, ListsTheSoundCardsOfTheRealPlayerProgram) {
  const std::vector<std::string> listed =
      ListPlayerAudioDevices(PlayerProgramPath(context.programFolder));
  ASSERT_FALSE(listed.empty());
  CDuiSettingWnd wnd(context);
  ASSERT_TRUE(Open(wnd));
  ASSERT_EQ(wnd.soundCardCombo->GetCount(), static_cast<int>(listed.size()));
  EXPECT_EQ(wnd.soundCardCombo->GetItemAt(0)->GetText(), SoundCardText(listed[0]));
  EXPECT_EQ(wnd.soundCardCombo->GetCurSel(), 1);
}

TEST_F(SettingWnd, ASkinWithoutItsControlsStillOpensAndOkWritesNothingItCannotRead) {
  test::TempDir skins;
  test::WriteFileText(skins.path() / kSettingSkin,
                      "<Window size=\"300,200\"><VerticalLayout>"
                      "<Button name=\"OKButton\" height=\"40\"/></VerticalLayout></Window>");
  CPaintManagerUI::SetResourcePath(skins.str());
  CDuiSettingWnd wnd(context, Devices());
  ASSERT_TRUE(Open(wnd));
  EXPECT_EQ(wnd.videoCombo, nullptr);
  EXPECT_EQ(wnd.soundDevices().size(), 3u);
  EXPECT_EQ(RunModal(wnd, [&] { ClickControl(wnd, wnd.okButton); }), 1u);
  EXPECT_FALSE(SettingsFileExists());
}

}  // namespace
}  // namespace korvane
