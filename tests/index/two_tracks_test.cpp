// A clip with two telemetry tracks (only the second flagged as default): the player as the program
// runs it (-sid 0), ffmpeg's automatic choice and the indexer all take the first track.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "indexer_run.h"
#include "media/player_harness.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The cue texts of an SRT document: the lines after each "-->" line up to the blank line.
std::vector<std::string> SrtTexts(const std::string& srt) {
  std::vector<std::string> texts;
  std::istringstream in(srt);
  bool inText = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("-->") != std::string::npos) {
      inText = true;
    } else if (line.empty()) {
      inText = false;
    } else if (inText) {
      texts.push_back(line);
    }
  }
  return texts;
}

TEST(TwoTelemetryTracks, PlayerFfmpegAndIndexerAllReadTheFirst) {
  const std::string clip = TwoTrackClip();
  const std::vector<std::string> first = Lines(TelemetryOf(clip));
  const std::vector<std::string> second = Lines(SamplePath("two_tracks.second.telemetry.txt"));
  ASSERT_EQ(first.size(), 60u);
  ASSERT_NE(first, second);

  // ffmpeg choosing by itself, as the extraction pipeline runs it.
  const ProgramRun ffmpeg =
      RunProgram("/usr/bin/ffmpeg", {"-nostdin", "-loglevel", "error", "-i", clip, "-vn", "-an",
                                     "-scodec", "srt", "-f", "srt", "-"});
  ASSERT_EQ(ffmpeg.exitCode, 0);
  EXPECT_EQ(SrtTexts(ffmpeg.out), first);

  // The indexer.
  TempDir dir;
  const std::string db = dir.str() + "index.sqlite";
  ASSERT_EQ(IndexClips(db, {clip}).exitCode, 0);
  EXPECT_EQ(CIndexReader(db).GetPoints(clip), ParsedLines(TelemetryOf(clip)));

  // The player program under the program's own controller and arguments.
  PlayerHarness h;
  h.player.playerPath = ProgramDir() + "MPlayer/mplayer";
  h.player.mediaPath = clip;
  ASSERT_EQ(h.player.Play(), 0);
  ASSERT_TRUE(h.WaitFor(kPlayerStarted));
  for (std::size_t n = 0; n < 3; ++n) {
    const std::string line = h.WaitForLine(n);
    EXPECT_NE(std::find(first.begin(), first.end(), line), first.end()) << line;
    EXPECT_EQ(std::find(second.begin(), second.end(), line), second.end()) << line;
  }
}

}  // namespace
}  // namespace korvane::test
