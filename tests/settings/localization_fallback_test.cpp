// The newer keys fall back to the English file; the older ones keep giving an empty text.
#include <gtest/gtest.h>

#include "settings/localization.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

TEST(LanguageFallback, OnlyTheNewerKeysTakeTheEnglishTextWhenTheLanguageLacksThem) {
  test::TempDir temp;
  ApplicationContext context;
  context.programFolder = temp.str();
  context.settings.languageFile = "german.ini";
  RebuildLanguagePath(context);
  test::WriteFileText(temp.path() / "conf/sysconfig/english.ini",
                      "[Main_Interface]\nIDS_OK=OK\nIDS_STAMPSHOT=Stamp\n"
                      "[Map_Interface]\nIDS_TILESUNAVAILABLE=No tiles\n");
  test::WriteFileText(context.languagePath, "[Main_Interface]\nIDS_STAMPSHOT=\n");
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMapInterfaceSection, "IDS_TILESUNAVAILABLE"),
            "No tiles");
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMainInterfaceSection, "IDS_STAMPSHOT"), "Stamp")
      << "a key left empty falls back too";
  EXPECT_EQ(ReadLanguageText(context, kMainInterfaceSection, "IDS_OK"), "") << "no fallback";

  test::WriteFileText(context.languagePath, "[Map_Interface]\nIDS_TILESUNAVAILABLE=Keine\n");
  EXPECT_EQ(ReadLanguageTextOrEnglish(context, kMapInterfaceSection, "IDS_TILESUNAVAILABLE"),
            "Keine");
}

}  // namespace
}  // namespace korvane
