// The real program indexing the folder it opens: the progress shows in the playlist header while
// the clips are indexed in the background, every clip ends up in the index under the user's cache
// folder, and no indexer is left once the window has closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "index/index_reader.h"
#include "program_driver.h"

namespace korvane::test {
namespace {

// Processes whose command line mentions `text`.
int ProcessesMentioning(const std::string& text) {
  int found = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "cmdline", std::ios::binary);
    std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    found += line.find(text) != std::string::npos;
  }
  return found;
}

TEST(ProgramIndex, OpeningAFolderIndexesEveryClipWithItsProgressShown) {
  PrivateDisplay display;
  if (display.name().empty()) GTEST_SKIP() << "Xvfb cannot be started here";
  TempDir clips;
  std::vector<std::string> paths;
  for (int i = 0; i < 12; ++i) {
    const std::string name = "clip_" + std::to_string(10 + i) + ".mp4";
    std::filesystem::copy_file(i == 5 ? NoSubtitleClip() : DefaultClip(), clips.path() / name);
    paths.push_back(clips.str() + name);
  }
  ProgramRun run(display.name());
  const std::string db = run.home().str() + ".cache/korvane/index.sqlite";
  ASSERT_TRUE(run.Start({paths[3]}));

  // A fast machine indexes the whole folder between two writes of the probe: the header's last
  // running text is what it keeps. The run counts the clips without a current row, so the clip
  // that plays may be done before the folder's run begins (11) or be part of it (12).
  const std::regex progress("Indexing [0-9]+ / 1[12]");
  ProbeState s = run.WaitFor(
      [&](const ProbeState& p) { return std::regex_match(p.Str("indexProgressSeen"), progress); },
      60000);
  EXPECT_TRUE(std::regex_match(s.Str("indexProgressSeen"), progress))
      << "English by default: " << s.json;
  s = run.WaitFor(
      [&](const ProbeState& p) {
        // On a fast machine the index may be done before the player has started.
        return p.Str("indexProgress").empty() && p.Int("state") == 3 &&
               CIndexReader(db).GetClips(paths).size() == paths.size();
      },
      120000);
  CIndexReader reader(db);
  ASSERT_EQ(reader.GetClips(paths).size(), paths.size()) << s.json;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const ClipSummary clip = reader.GetClip(paths[i]);
    EXPECT_EQ(clip.status, i == 5 ? ClipStatus::NoTelemetry : ClipStatus::Indexed) << paths[i];
    EXPECT_EQ(clip.pointCount, i == 5 ? 0 : 600) << paths[i];
  }
  EXPECT_EQ(s.Int("state"), 3) << "playback goes on: " << s.json;

  ASSERT_TRUE(run.Close());
  EXPECT_EQ(run.exitCode(), 0);
  EXPECT_EQ(ProcessesMentioning(db), 0) << "an indexer outlived the program";
}

}  // namespace
}  // namespace korvane::test
