// A clip with two telemetry tracks (only the second flagged as default): the player program with
// the program's "-sid 0", ffmpeg's automatic choice and the indexer all take the first track.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "indexer_run.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The subtitle text the player program (started as the program starts it, "-sid 0") reports
// first after playback started; "" when none came within ten seconds.
std::string FirstSubtitleOfPlayer(const std::string& clip) {
  ChildProcess player;
  ProcessOptions options;
  options.program = ProgramDir() + "MPlayer/mplayer";
  options.args = {clip, "-vo", "null", "-ao", "null", "-slave", "-quiet", "-identify", "-sid", "0"};
  options.pipeStdin = options.pipeStdout = true;
  if (player.Start(options) != 0) return "";
  const std::string key = "ID_SUBTITLE_LOG=";
  std::string out;
  for (int turn = 0; turn < 100; ++turn) {
    player.WriteStdin("sub_log_static\n");
    while (player.WaitStdoutReadable(100)) {
      char buffer[4096];
      const ssize_t got = player.ReadStdout(buffer, sizeof buffer);
      if (got <= 0) return "";
      out.append(buffer, static_cast<std::size_t>(got));
    }
    // A complete answer with text (before playback the answer is empty).
    for (std::size_t at = out.find(key); at != std::string::npos; at = out.find(key, at + 1)) {
      const std::size_t end = out.find('\n', at);
      if (end != std::string::npos && end > at + key.size()) {
        player.WriteStdin("quit\n");
        player.WaitForExit(2000);
        return out.substr(at + key.size(), end - at - key.size());
      }
    }
  }
  return "";
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

  // The player program with the track choice the program gives it.
  const std::string line = FirstSubtitleOfPlayer(clip);
  EXPECT_NE(std::find(first.begin(), first.end(), line), first.end()) << line;
  EXPECT_EQ(std::find(second.begin(), second.end(), line), second.end()) << line;
}

}  // namespace
}  // namespace korvane::test
