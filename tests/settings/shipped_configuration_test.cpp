// The configuration the program folder ships: the default settings file and the nine language
// files, read through the same code the program uses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "settings/localization.h"
#include "settings/settings_store.h"
#include "support/sample_paths.h"

namespace korvane {
namespace {

struct TextKey {
  const char* section;
  const char* key;
};

constexpr TextKey kTextKeys[] = {
    {kMainInterfaceSection, "IDS_TITLE"},
    {kMainInterfaceSection, "IDS_LAT"},
    {kMainInterfaceSection, "IDS_LNG"},
    {kMainInterfaceSection, "IDS_TIME"},
    {kMainInterfaceSection, "IDS_SPEED"},
    {kMainInterfaceSection, "IDS_STATUS"},
    {kMainInterfaceSection, "IDS_GPS"},
    {kMainInterfaceSection, "IDS_NOGPS"},
    {kMainInterfaceSection, "IDS_PLAYLIST"},
    {kMainInterfaceSection, "IDS_INDEXING"},
    {kMainInterfaceSection, "IDS_FILTER"},
    {kMainInterfaceSection, "IDS_OK"},
    {kMainInterfaceSection, "IDS_CANCEL"},
    {kMainInterfaceSection, "IDS_LANGUAGE"},
    {kMainInterfaceSection, "IDS_VIDEO"},
    {kMainInterfaceSection, "IDS_SOUND"},
    {kMainInterfaceSection, "IDS_SOUNDCARD"},
    {kMainInterfaceSection, "IDS_VERSION"},
    {kMainInterfaceSection, "IDS_PLAYER"},
    {kMainInterfaceSection, "IDS_SHOWSHOT"},
    {kMainInterfaceSection, "IDS_STAMPSHOT"},
    {kMainInterfaceSection, "IDS_DISKFULL"},
    {kMainInterfaceSection, "IDS_WRITENOTALLOWED"},
    {kMainInterfaceSection, "IDS_WRITEFAILED"},
    {kMainInterfaceSection, "IDS_SAVED"},
    {kMainInterfaceSection, "IDS_SAVEFAILED"},
    {kMainInterfaceSection, "IDS_SAVECANCELLED"},
    {kMainInterfaceSection, "IDS_SAVENOLENGTH"},
    {kMainInterfaceSection, "IDS_SAVEREVERSED"},
    {kMainInterfaceSection, "IDS_SAVEBEYONDCLIPS"},
    {kMainInterfaceSection, "IDS_SAVETWOTRIPS"},
    {kMainInterfaceSection, "IDS_SAVENOVIDEO"},
    {kMainInterfaceSection, "IDS_SAVEUNREADABLE"},
    {kMainInterfaceSection, "IDS_SAVEVANISHED"},
    {kMainInterfaceSection, "IDS_SAVEJOINFAILED"},
    {kMainInterfaceSection, "IDS_STAMPEDFAILED"},
    {kMainInterfaceSection, "IDS_MARKSTARTBUTTON"},
    {kMainInterfaceSection, "IDS_MARKENDBUTTON"},
    {kSnapshotInterfaceSection, "IDS_SSHOTVIEW"},
    {kSnapshotInterfaceSection, "IDS_NOAGAIN"},
    {kSnapshotInterfaceSection, "IDS_CLEANTITLE"},
    {kSnapshotInterfaceSection, "IDS_CLEANTIPCONTENT"},
    {kSnapshotInterfaceSection, "IDS_CLEANTIPCONTENTTWO"},
    {kSnapshotInterfaceSection, "IDS_SAVEPATH"},
    {kSnapshotInterfaceSection, "IDS_SNAPSHOTNOTTAGGED"},
    {kMapInterfaceSection, "IDS_TILESUNAVAILABLE"},
    {kMapInterfaceSection, "IDS_ALLROUTES"},
    {kMapInterfaceSection, "IDS_CAMERATRACK"},
    {kMapInterfaceSection, "IDS_GPXTRACK"},
    {kEventInterfaceSection, "IDS_EVENTLIMIT"},
    {kEventInterfaceSection, "IDS_EVENTFLIP"},
    {kEventInterfaceSection, "IDS_EVENT_BRAKING"},
    {kEventInterfaceSection, "IDS_EVENT_ACCELERATION"},
    {kEventInterfaceSection, "IDS_EVENT_CORNERING"},
    {kEventInterfaceSection, "IDS_EVENT_IMPACT"},
    {kEventInterfaceSection, "IDS_PREVEVENT"},
    {kEventInterfaceSection, "IDS_NEXTEVENT"},
    {kEventInterfaceSection, "IDS_NOGVALUES"},
    {kEventInterfaceSection, "IDS_GPXIMPORTED"},
    {kEventInterfaceSection, "IDS_GPXNOTIMPORTED"},
    {kEventInterfaceSection, "IDS_CHOICENOTSAVED"},
    {kTripInterfaceSection, "IDS_TRIPS"},
    {kTripInterfaceSection, "IDS_TRIPDATE"},
    {kTripInterfaceSection, "IDS_TRIPTIME"},
    {kTripInterfaceSection, "IDS_TRIPCLIPS"},
    {kTripInterfaceSection, "IDS_TRIPDISTANCE"},
    {kTripInterfaceSection, "IDS_TRIPDURATION"},
    {kTripInterfaceSection, "IDS_TRIPAVERAGE"},
    {kTripInterfaceSection, "IDS_TRIPMAXIMUM"},
    {kTripInterfaceSection, "IDS_TRIPCOUNT"},
    {kTripInterfaceSection, "IDS_NOTELEMETRY"},
    {kTripInterfaceSection, "IDS_NOTINDEXED"},
    {kTripInterfaceSection, "IDS_TRIPSOURCES"},
    {kTripInterfaceSection, "IDS_IMPORTGPX"},
    {kTripInterfaceSection, "IDS_CLOCKOFFSET"},
    {kTripInterfaceSection, "IDS_CLOCKAPPLY"},
    {kTripInterfaceSection, "IDS_CLOCKHINT"},
    {kTripInterfaceSection, "IDS_CLOCKREFUSED"},
    {kTripInterfaceSection, "IDS_CLOCKNOTSAVED"},
    {kTripInterfaceSection, "IDS_CLOCKAPPLIED"},
};

// True when `text` is well-formed UTF-8.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80         ? 0
                      : (c >> 5) == 6  ? 1
                      : (c >> 4) == 14 ? 2
                      : (c >> 3) == 30 ? 3
                                       : -1;
    if (extra < 0 || i + extra >= text.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

class LanguageFile : public ::testing::TestWithParam<LanguageEntry> {};

TEST_P(LanguageFile, HasEveryKeyWithATextInUtf8) {
  ApplicationContext context;
  context.programFolder = test::ProgramDir();
  context.settings.languageFile = GetParam().file;
  RebuildLanguagePath(context);
  std::ifstream in(context.languagePath, std::ios::binary);
  ASSERT_TRUE(in) << context.languagePath;
  std::stringstream raw;
  raw << in.rdbuf();
  EXPECT_TRUE(IsUtf8(raw.str()));

  std::vector<std::string> texts;
  for (const auto& k : kTextKeys) {
    const std::string text = ReadLanguageText(context, k.section, k.key);
    EXPECT_FALSE(text.empty()) << k.section << "/" << k.key;
    texts.push_back(text);
  }
  // Captions that a value follows directly carry their own separator.
  for (const char* captioned : {"IDS_LAT", "IDS_LNG", "IDS_SPEED", "IDS_VERSION"}) {
    const std::string text = ReadLanguageText(context, kMainInterfaceSection, captioned);
    ASSERT_FALSE(text.empty());
    const bool separated =
        text.back() == ' ' || (text.size() >= 3 && text.substr(text.size() - 3) == "：");
    EXPECT_TRUE(separated) << captioned << " = [" << text << "]";
  }
  EXPECT_EQ(GetParam().displayName[0], ' ');
}

std::string NameOf(const ::testing::TestParamInfo<LanguageEntry>& info) {
  std::string name = info.param.file;
  return name.substr(0, name.find('.'));
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFile, ::testing::ValuesIn(kLanguages), NameOf);

TEST(LanguageFiles, AreTranslationsNotCopies) {
  ApplicationContext context;
  context.programFolder = test::ProgramDir();
  std::vector<std::string> cancelTexts;
  for (const auto& language : kLanguages) {
    context.settings.languageFile = language.file;
    RebuildLanguagePath(context);
    cancelTexts.push_back(ReadLanguageText(context, kMainInterfaceSection, "IDS_CANCEL"));
  }
  std::sort(cancelTexts.begin(), cancelTexts.end());
  // Cancel: Portuguese and Spanish share "Cancelar", Chinese scripts share "取消"; the rest differ.
  EXPECT_EQ(std::unique(cancelTexts.begin(), cancelTexts.end()) - cancelTexts.begin(), 7);
}

TEST(DefaultSettings, LoadIntoAWorkingRecord) {
  ApplicationContext context;
  context.programFolder = test::ProgramDir();
  context.settingsPath = test::ProgramDir() + "conf/TotalConfig/Velmora.ini";
  LoadSettings(context);
  const Settings& s = context.settings;
  EXPECT_TRUE(std::any_of(kLanguages.begin(), kLanguages.end(),
                          [&](const LanguageEntry& l) { return s.languageFile == l.file; }));
  EXPECT_EQ(s.locale, "Oversea");
  EXPECT_EQ(s.videoOutput, "directx:noaccel");
  EXPECT_EQ(s.audioOutput, "dsound");
  EXPECT_EQ(s.volume, 40);
  EXPECT_TRUE(s.snapshotPreview);
  EXPECT_TRUE(s.cleanTip);
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyAssociate, ""), "MP4;MOV;TS");
  EXPECT_EQ(ReadSettingString(context, kSettingsSection, kKeyFilter, ""), "*.mp4 *.mov *.ts");
  EXPECT_FALSE(ReadLanguageText(context, kMainInterfaceSection, "IDS_TITLE").empty());
}

}  // namespace
}  // namespace korvane
