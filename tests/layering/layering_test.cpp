// The source tree keeps its layers: nothing includes a layer above it or outside its list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "include_layers.h"
#include "support/temp_dir.h"

namespace korvane::layering {
namespace {

std::string Describe(const std::vector<Violation>& found) {
  std::string text;
  for (const auto& v : found)
    text += v.file + ":" + std::to_string(v.line) + ": " + v.message + "\n";
  return text;
}

TEST(LayeringTest, TheSourceTreeIncludesOnlyDownward) {
  const auto found = CheckTree(KORVANE_TEST_SOURCE_DIR, ProjectRules());
  EXPECT_TRUE(found.empty()) << Describe(found);
}

TEST(LayeringTest, PlantedUpwardIncludeIsReportedWithFileAndLine) {
  test::TempDir temp;
  const std::filesystem::path root = temp.path();
  std::filesystem::create_directories(root / "src/telemetry");
  std::filesystem::create_directories(root / "src/ui");
  std::ofstream(root / "src/ui/window.h") << "#pragma once\n#include \"telemetry/track.h\"\n";
  std::ofstream(root / "src/telemetry/track.h")
      << "#pragma once\n#include <vector>\n#include \"platform/tick.h\"\n  #  include "
         "\"ui/window.h\"\n";

  const auto found = CheckTree(root, ProjectRules());
  ASSERT_EQ(found.size(), 1u) << Describe(found);
  EXPECT_EQ(found[0].file, "src/telemetry/track.h");
  EXPECT_EQ(found[0].line, 4);
  EXPECT_NE(found[0].message.find("ui/window.h"), std::string::npos);
}

struct IncludeCase {
  const char* file;
  const char* include;
  bool allowed;
};

class IncludeRuleTest : public ::testing::TestWithParam<IncludeCase> {};

TEST_P(IncludeRuleTest, FollowsTheLayerOrder) {
  const IncludeCase& c = GetParam();
  const std::string text = std::string("#include \"") + c.include + "\"\n";
  EXPECT_EQ(CheckFileIncludes(c.file, text, ProjectRules()).empty(), c.allowed)
      << c.file << " includes " << c.include;
}

INSTANTIATE_TEST_SUITE_P(
    Layers, IncludeRuleTest,
    ::testing::Values(IncludeCase{"src/framework/a.h", "settings/settings.h", false},
                      IncludeCase{"src/dialogs/a.h", "ui/main_window.h", false},
                      IncludeCase{"src/tracks/a.cpp", "map/map_loader.h", false},
                      IncludeCase{"src/ui/a.cpp", "tracks/track_feed.h", true},
                      IncludeCase{"src/settings/a.h", "telemetry/track_store.h", false},
                      IncludeCase{"src/map/a.cpp", "framework/web_browser_ui.h", true},
                      IncludeCase{"src/app/main.cpp", "ui/player_frame_wnd.h", true},
                      IncludeCase{"player/a.cpp", "media/mplayer.h", false},
                      IncludeCase{"player/a.cpp", "slave_options.h", true},
                      IncludeCase{"tests/chart/a.cpp", "ui/gps_panel.h", false},
                      IncludeCase{"tests/chart/a.cpp", "support/temp_dir.h", true},
                      IncludeCase{"src/chart/a.cpp", "support/temp_dir.h", false},
                      IncludeCase{"src/newfolder/a.cpp", "platform/tick.h", false},
                      IncludeCase{"src/ui/a.cpp", "gtest/gtest.h", true}));

}  // namespace
}  // namespace korvane::layering
