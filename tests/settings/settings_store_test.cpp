#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings/localization.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    context.programFolder = temp.str() + "program/";
    context.settingsPath = temp.str() + "Velmora.ini";
  }
  void WriteFile(const std::string& text) { test::WriteFileText(context.settingsPath, text); }
  std::string FileText() { return test::ReadFileText(context.settingsPath); }
  test::TempDir temp;
  ApplicationContext context;
};

TEST_F(SettingsStore, MissingFileLoadsEveryDefault) {
  context.settings.snapshotPreview = context.settings.cleanTip = true;
  LoadSettings(context);
  const Settings& s = context.settings;
  EXPECT_EQ(s.languageFile, "russian.ini");
  EXPECT_EQ(context.languagePath, temp.str() + "program/conf/sysconfig/russian.ini");
  EXPECT_EQ(s.locale, "Oversea");
  EXPECT_EQ(s.videoOutput, "directx:noaccel");
  EXPECT_EQ(s.audioOutput, "dsound");
  EXPECT_EQ(s.soundDevice, 0);
  EXPECT_EQ(s.volume, 40);
  EXPECT_FALSE(s.snapshotPreview) << "a missing key turns the option off";
  EXPECT_FALSE(s.cleanTip);
  EXPECT_FALSE(s.snapshotStamp);
}

TEST_F(SettingsStore, LoadsTheFileWithoutValidating) {
  WriteFile(
      "[MPlayer]\n"
      "language=german.ini\n"
      "LOCALE=China\n"
      "VO=\n"
      "AO=alsa\n"
      "DEVICE=2\n"
      "volume=abc\n"
      "SSPreview=2\n"
      "CleanTip=0\n"
      "ssstamp=3\n");
  LoadSettings(context);
  const Settings& s = context.settings;
  EXPECT_EQ(s.languageFile, "german.ini");
  EXPECT_EQ(context.languagePath, temp.str() + "program/conf/sysconfig/german.ini");
  EXPECT_EQ(s.locale, "China");
  EXPECT_EQ(s.videoOutput, "") << "present but empty stays empty";
  EXPECT_EQ(s.audioOutput, "alsa");
  EXPECT_EQ(s.soundDevice, 2);
  EXPECT_EQ(s.volume, 0) << "\"abc\" reads as 0";
  EXPECT_TRUE(s.snapshotPreview) << "any value but 0 is true";
  EXPECT_FALSE(s.cleanTip);
  EXPECT_TRUE(s.snapshotStamp);
}

TEST_F(SettingsStore, EventKeysLoadAndAGarbageThresholdIsTheDefault) {
  LoadSettings(context);
  EXPECT_DOUBLE_EQ(context.settings.eventThresholdG, 0.5);
  EXPECT_FALSE(context.settings.eventFlipY);
  WriteFile("[MPlayer]\neventthreshold=1.2\nEventFlipY=1\n");
  LoadSettings(context);
  EXPECT_DOUBLE_EQ(context.settings.eventThresholdG, 1.2);
  EXPECT_TRUE(context.settings.eventFlipY);
  WriteFile("[MPlayer]\nEventThreshold=\x01lots\n");
  LoadSettings(context);
  EXPECT_DOUBLE_EQ(context.settings.eventThresholdG, 0.5);
}

struct RouteKeys {
  const char* file;
  bool bySpeed;
  SpeedUnit unit;
};

TEST_F(SettingsStore, RouteColourAndSpeedUnitFallBackToSpeedAndKmh) {
  for (const RouteKeys c :
       {RouteKeys{"", true, SpeedUnit::Kmh},
        RouteKeys{"routecolour=PLAIN\nspeedunit=MPH\n", false, SpeedUnit::Mph},
        RouteKeys{"RouteColour=plainly\nSpeedUnit=mphx\n", true, SpeedUnit::Kmh},
        RouteKeys{"RouteColour=rainbow\nSpeedUnit=knots\n", true, SpeedUnit::Kmh},
        RouteKeys{"RouteColour=\nSpeedUnit=\xFF\xFE\n", true, SpeedUnit::Kmh}}) {
    WriteFile(std::string("[MPlayer]\n") + c.file);
    context.settings.routeBySpeed = !c.bySpeed;
    context.settings.speedUnit = c.unit == SpeedUnit::Mph ? SpeedUnit::Kmh : SpeedUnit::Mph;
    LoadSettings(context);
    EXPECT_EQ(context.settings.routeBySpeed, c.bySpeed) << c.file;
    EXPECT_EQ(context.settings.speedUnit, c.unit) << c.file;
  }
}

TEST_F(SettingsStore, SmallPicturesTakeTheFilesCornerAndWidthOrTopRightAndThirtyPercent) {
  WriteFile("[MPlayer]\n");
  context.settings.pictureCorner = "BottomLeft";
  context.settings.pictureWidthPercent = 44;
  LoadSettings(context);
  EXPECT_EQ(context.settings.pictureCorner, "TopRight");
  EXPECT_EQ(context.settings.pictureWidthPercent, 30);
  WriteFile("[MPlayer]\npicturecorner=BottomLeft\nPictureWidth=40\n");
  LoadSettings(context);
  EXPECT_EQ(context.settings.pictureCorner, "BottomLeft");
  EXPECT_EQ(context.settings.pictureWidthPercent, 40);
}

TEST_F(SettingsStore, VolumeOutOfRangeIsLoadedAsItIs) {
  WriteFile("[MPlayer]\nVolume=250\n");
  LoadSettings(context);
  EXPECT_EQ(context.settings.volume, 250);
  WriteFile("[MPlayer]\nVolume=-3\n");
  LoadSettings(context);
  EXPECT_EQ(context.settings.volume, -3);
}

TEST_F(SettingsStore, WritesKeepTheRestOfTheFile) {
  const std::string original =
      "; user notes stay\n[MPlayer]\nLanguage=english.ini\nvolume = 55\n\n[Extra]\nx=1\n";
  WriteFile(original);
  EXPECT_TRUE(WriteSettingInt(context, kSettingsSection, kKeySnapshotPreview, 0));
  EXPECT_TRUE(WriteSettingString(context, kSettingsSection, kKeyVideoOutput, "gl"));
  EXPECT_TRUE(WriteSettingInt(context, kSettingsSection, "VOLUME", -7));
  EXPECT_EQ(FileText(),
            "; user notes stay\n[MPlayer]\nLanguage=english.ini\nvolume=-7\nSSPreview=0\nVO=gl\n"
            "\n[Extra]\nx=1\n");
  EXPECT_EQ(ReadSettingInt(context, kSettingsSection, kKeyVolume, 40), -7);
  EXPECT_EQ(ReadSettingString(context, "mplayer", "vo", ""), "gl");
}

TEST_F(SettingsStore, LongValuesAreCutTo254Characters) {
  const std::string longValue(300, 'v');
  EXPECT_TRUE(WriteSettingString(context, kSettingsSection, kKeyAssociate, longValue));
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyAssociate, ""),
            longValue.substr(0, 254));
}

TEST_F(SettingsStore, FailedWriteIsHarmless) {
  std::ofstream(temp.str() + "blocker") << "x";
  context.settingsPath = temp.str() + "blocker/Velmora.ini";
  EXPECT_FALSE(WriteSettingString(context, kSettingsSection, kKeyMap, "Yandex"));
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyMap, "none"), "none");
}

TEST_F(SettingsStore, LanguageTextsComeFromTheLanguageFile) {
  context.languagePath = temp.str() + "lang.ini";
  std::ofstream(context.languagePath)
      << "[Main_Interface]\nIDS_SPEED=Скорость:\nIDS_TITLE=" << std::string(300, 't') << "\n";
  EXPECT_EQ(ReadLanguageText(context, kMainInterfaceSection, "IDS_SPEED"), "Скорость:");
  EXPECT_EQ(ReadLanguageText(context, kMainInterfaceSection, "IDS_TITLE"), std::string(254, 't'));
  EXPECT_EQ(ReadLanguageText(context, kSnapshotInterfaceSection, "IDS_SPEED"), "");
  context.languagePath = temp.str() + "missing.ini";
  EXPECT_EQ(ReadLanguageText(context, kMainInterfaceSection, "IDS_SPEED"), "");
}

TEST_F(SettingsStore, LanguagePathFollowsTheLanguageFile) {
  context.settings.languageFile = "no such language.ini";
  RebuildLanguagePath(context);
  EXPECT_EQ(context.languagePath, context.programFolder + "conf/sysconfig/no such language.ini");
  EXPECT_EQ(ReadLanguageText(context, kMainInterfaceSection, "IDS_TITLE"), "");
}

}  // namespace
}  // namespace korvane
