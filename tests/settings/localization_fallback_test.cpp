// The newer keys fall back to the English file; the older ones keep giving an empty text.
#include <gtest/gtest.h>

#include "settings/localization.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

class LanguageFallback : public testing::Test {
 protected:
  void SetUp() override {
    context.programFolder = temp.str();
    test::WriteFileText(temp.path() / "conf/sysconfig/english.ini",
                        "[Main_Interface]\nIDS_OK=OK\nIDS_STAMPSHOT=Stamp\n"
                        "[Map_Interface]\nIDS_TILESUNAVAILABLE=Map tiles are unavailable\n");
    test::WriteFileText(temp.path() / "conf/sysconfig/german.ini",
                        "[Main_Interface]\nIDS_STAMPSHOT=\n[Map_Interface]\nIDS_OTHER=x\n");
    context.settings.languageFile = "german.ini";
    RebuildLanguagePath(context);
  }
  test::TempDir temp;
  ApplicationContext context;
};

TEST_F(LanguageFallback, NewKeysTakeTheEnglishTextWhenTheLanguageLacksThem) {
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMapInterfaceSection, "IDS_TILESUNAVAILABLE"),
            "Map tiles are unavailable");
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMainInterfaceSection, "IDS_STAMPSHOT"), "Stamp")
      << "a key left empty falls back too";
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMapInterfaceSection, "IDS_MISSING"), "");
  // The older keys have no fallback: the German file lacks IDS_OK and shows an empty caption.
  EXPECT_EQ(ReadLanguageText(context, kMainInterfaceSection, "IDS_OK"), "");

  test::WriteFileText(temp.path() / "conf/sysconfig/german.ini",
                      "[Map_Interface]\nIDS_TILESUNAVAILABLE=Kacheln fehlen\n");
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMapInterfaceSection, "IDS_TILESUNAVAILABLE"),
            "Kacheln fehlen");
}

}  // namespace
}  // namespace korvane
