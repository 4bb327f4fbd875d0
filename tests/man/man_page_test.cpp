#include "man_page.h"

#include <gtest/gtest.h>

#include "framework/ui_defs.h"
#include "framework/ui_notify.h"
#include "ui/player_keys.h"

namespace korvane {
namespace {

TEST(ManPage, ListsEveryKeyOfTheKeyTableByItsName) {
  const std::string keys = KeysSection();
  ASSERT_FALSE(keys.empty());
  for (unsigned key = 1; key < 256; ++key) {
    if (PlayerKeyOf(key, 0).action == KeyAction::kNone) continue;
    const std::string name = KeyName(key);
    ASSERT_FALSE(name.empty()) << "key " << key;
    const std::string tag = name == "." ? "\\&." : name;
    EXPECT_NE(keys.find(".B " + tag + "\n"), std::string::npos) << name;
  }
}

TEST(ManPage, ListsShiftOnlyWhereItChangesWhatAKeyDoes) {
  const std::string keys = KeysSection();
  EXPECT_NE(keys.find(".B Shift+Left\nSeek back 30 seconds."), std::string::npos);
  EXPECT_NE(keys.find(".B Left\nSeek back 5 seconds."), std::string::npos);
  EXPECT_EQ(keys.find("Shift+Space"), std::string::npos);
}

TEST(ManPage, NamesKeysAsTheKeyboardShowsThem) {
  using namespace DuiLib;
  const std::pair<unsigned, const char*> cases[] = {
      {VK_RETURN, "Enter"}, {VK_F8, "F8"}, {'M', "M"}, {VK_OEM_4, "["}, {0xFF, ""}};
  for (const auto& [key, name] : cases) EXPECT_EQ(KeyName(key), name) << key;
}

TEST(ManPage, TurnsTheHelpTextIntoSynopsisOptionsAndParagraphs) {
  const std::string page = ManPage(
      "Usage: korvane [FILE...]\n"
      "       korvane --help\n"
      "\n"
      "Plays clips given\n"
      "on the command line.\n"
      "--info   tells of a clip\n"
      "         and its track.\n"
      "--info and --export need no display.\n"
      ".hidden \\n\n",
      "1.2.3");
  EXPECT_EQ(page.rfind(".TH KORVANE 1 \"\" \"korvane 1.2.3\"", 0), 0u);
  EXPECT_NE(page.find(".SH SYNOPSIS\nkorvane [FILE...]\n.br\nkorvane \\-\\-help\n"),
            std::string::npos);
  EXPECT_NE(page.find(".PP\nPlays clips given on the command line.\n"), std::string::npos);
  EXPECT_NE(page.find(".TP\n.B \\-\\-info\ntells of a clip and its track.\n"), std::string::npos);
  EXPECT_NE(page.find(".PP\n\\-\\-info and \\-\\-export need no display. .hidden \\en\n"),
            std::string::npos);
  EXPECT_NE(page.find(".SH KEYS\n"), std::string::npos);
}

}  // namespace
}  // namespace korvane
