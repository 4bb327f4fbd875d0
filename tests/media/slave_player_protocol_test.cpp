// The player program's own side: its command line, the commands it reads, the replies it writes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "slave_options.h"
#include "slave_protocol.h"

namespace korvane::player {
namespace {

TEST(PlayerCommandLine, ReadsWhatTheControllerPasses) {
  std::string error;
  const auto options = ParseCommandLine({"/v/a b.mp4",
                                         "-wid",
                                         "77",
                                         "-vo",
                                         "directx:noaccel",
                                         "-slave",
                                         "-quiet",
                                         "-identify",
                                         "-ao",
                                         "dsound:device=2",
                                         "-volume",
                                         "140",
                                         "-muteset",
                                         "1",
                                         "-sid",
                                         "0",
                                         "-idx",
                                         "-nokeepaspect",
                                         "-speed",
                                         "1.5"},
                                        error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->file, "/v/a b.mp4");
  EXPECT_EQ(options->wid, 77);
  EXPECT_EQ(options->videoOutput, "directx:noaccel");
  EXPECT_EQ(options->audioOutput, "dsound:device=2");
  EXPECT_TRUE(options->slave && options->quiet && options->identify);
  EXPECT_EQ(options->volume, 100);
  EXPECT_EQ(options->mute, true);
  EXPECT_EQ(options->subtitleId, 0);
  EXPECT_FALSE(options->keepAspect);
  EXPECT_EQ(options->speed, 1.5);
  // Speeds beyond what the player takes are held to its bounds.
  EXPECT_EQ(ParseCommandLine({"a.mp4", "-speed", "1000"}, error)->speed, kMaxSpeed);
  EXPECT_EQ(ParseCommandLine({"a.mp4", "-speed", "-2"}, error)->speed, kMinSpeed);
}

TEST(PlayerCommandLine, RefusesWhatItCannotRead) {
  const std::vector<std::vector<std::string>> bad = {
      {},                        // no file
      {"a.mp4", "-volume"},      // value missing
      {"a.mp4", "-wid", "12x"},  // not a number
      {"a.mp4", "-frobnicate"},  // unknown option
      {"a.mp4", "b.mp4"},        // two files
      {"-", "-slave"},           // standard input is not a file here
      {"a.mp4", "-speed", "nan"},
      {"a.mp4", "-speed", "2x"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, error));
    EXPECT_FALSE(error.empty());
  }
  std::string error;
  EXPECT_TRUE(ParseCommandLine({"-list-audio-devices"}, error));
}

TEST(PlayerOutputs, MapMPlayerNamesOntoLibmpv) {
  EXPECT_EQ(MapVideoOutput("directx:noaccel"), "x11,");
  EXPECT_EQ(MapVideoOutput("DirectX"), "x11,");
  EXPECT_EQ(MapVideoOutput("gl:yuv=0:force-pbo"), "gpu,x11,");
  EXPECT_EQ(MapVideoOutput("null"), "null,");
  EXPECT_EQ(MapVideoOutput(""), "");

  EXPECT_TRUE(RequestsPbo("gl:yuv=0:force-pbo"));
  EXPECT_TRUE(RequestsPbo("GL:Force-PBO"));
  EXPECT_FALSE(RequestsPbo("gl:yuv=0"));
  EXPECT_FALSE(RequestsPbo("gl:force-pbox"));
  EXPECT_FALSE(RequestsPbo("directx:force-pbo"));
  EXPECT_FALSE(RequestsPbo("gl"));

  EXPECT_EQ(MapAudioOutput("dsound:device=2").ao, "");
  EXPECT_EQ(MapAudioOutput("dsound:device=2").deviceIndex, 2);
  EXPECT_EQ(MapAudioOutput("DSOUND").deviceIndex, std::nullopt);
  EXPECT_EQ(MapAudioOutput("dsound:device=x").deviceIndex, std::nullopt);
  EXPECT_EQ(MapAudioOutput("win32").ao, "alsa");
  EXPECT_EQ(MapAudioOutput("null").ao, "null");
  EXPECT_EQ(MapAudioOutput("pulse:foo").ao, "pulse");
}

struct CommandCase {
  const char* line;
  SlaveCommand::Kind kind;
  double value;
  int type;
  bool hasValue;
};

class SlaveCommands : public testing::TestWithParam<CommandCase> {};

TEST_P(SlaveCommands, ParseLikeMPlayer) {
  const SlaveCommand command = ParseSlaveCommand(GetParam().line);
  EXPECT_EQ(command.kind, GetParam().kind);
  if (command.kind == SlaveCommand::Kind::kUnknown) return;
  EXPECT_DOUBLE_EQ(command.value, GetParam().value);
  EXPECT_EQ(command.type, GetParam().type);
  EXPECT_EQ(command.hasValue, GetParam().hasValue);
}

using K = SlaveCommand::Kind;
INSTANTIATE_TEST_SUITE_P(
    Lines, SlaveCommands,
    testing::Values(CommandCase{"pause", K::kPause, 0, 0, false},
                    CommandCase{"pausing_keep pause", K::kPause, 0, 0, false},
                    CommandCase{"get_time_pos\r", K::kGetTimePos, 0, 0, false},
                    CommandCase{"seek 30 2", K::kSeek, 30, 2, true},
                    CommandCase{"seek -5", K::kSeek, -5, 0, true},
                    CommandCase{"volume 40 1", K::kVolume, 40, 1, true},
                    CommandCase{"mute", K::kMute, 0, 0, false},
                    CommandCase{"mute 1", K::kMute, 1, 0, true},
                    CommandCase{"screenshot 0", K::kScreenshot, 0, 0, true},
                    CommandCase{"quit 3", K::kQuit, 3, 0, true},
                    CommandCase{"  sub_log_static  ", K::kSubLogStatic, 0, 0, false},
                    CommandCase{"seek", K::kUnknown, 0, 0, false},
                    CommandCase{"seek x 2", K::kUnknown, 0, 0, false},
                    CommandCase{"GET_TIME_POS", K::kGetTimePos, 0, 0, false},
                    CommandCase{"get_time_pos 5", K::kGetTimePos, 0, 0, false},
                    CommandCase{"volume 1 1 1", K::kVolume, 1, 1, true},
                    CommandCase{"", K::kUnknown, 0, 0, false},
                    CommandCase{"loadfile /etc/passwd", K::kUnknown, 0, 0, false},
                    // Found by fuzzing: numbers the player uses as an int must fit one.
                    CommandCase{"seek 1 2147483648", K::kUnknown, 0, 0, false},
                    CommandCase{"quit -1e308", K::kUnknown, 0, 0, false},
                    CommandCase{"quit -2147483648", K::kQuit, -2147483648.0, 0, true},
                    CommandCase{"pausing_keep frame_step", K::kFrameStep, 0, 0, false},
                    CommandCase{"frame_back_step", K::kFrameBackStep, 0, 0, false},
                    CommandCase{"speed_set 1.5", K::kSpeedSet, 1.5, 0, true},
                    CommandCase{"speed_set", K::kUnknown, 0, 0, false},
                    CommandCase{"speed_set fast", K::kUnknown, 0, 0, false},
                    CommandCase{"get_dropped_frames", K::kGetDroppedFrames, 0, 0, false},
                    CommandCase{"get_dropped_frames 1", K::kGetDroppedFrames, 0, 0, false}));

TEST(PlayerReplies, SpelledAsMPlayerSpellsThem) {
  EXPECT_EQ(TimePositionReply(12.96), "ANS_TIME_POSITION=13.0");
  EXPECT_EQ(TimePositionReply(0.0), "ANS_TIME_POSITION=0.0");
  EXPECT_EQ(LengthIdentification(60.0), "ID_LENGTH=60.00");
  EXPECT_EQ(LengthAnswer(1.5), "ANS_LENGTH=1.50");
  EXPECT_EQ(DroppedFramesReply(3), "ANS_DROPPED_FRAMES=3");
  EXPECT_EQ(DroppedFramesReply(-1), "ANS_DROPPED_FRAMES=0");
  EXPECT_EQ(AspectIdentification(16.0 / 9.0), "ID_VIDEO_ASPECT=1.7778");
  EXPECT_EQ(AspectIdentification(0.0), "ID_VIDEO_ASPECT=0.0000");
  EXPECT_EQ(ScreenshotReply("shot0001.png"), "*** screenshot 'shot0001.png' ***");
  EXPECT_EQ(SubtitleLogReply(""), "ID_SUBTITLE_LOG=");
  EXPECT_EQ(SubtitleLogReply("a\nb\r\n"), "ID_SUBTITLE_LOG=a b  ");
}

TEST(PlayerReplies, ScreenshotNamesSkipTakenOnesAndNeverRepeat) {
  std::set<std::string> taken = {"shot0001.png", "shot0002.png", "shot0004.png"};
  auto exists = [&](const std::string& name) { return taken.count(name) > 0; };
  int counter = 0;
  EXPECT_EQ(NextScreenshotName(counter, exists), "shot0003.png");
  EXPECT_EQ(NextScreenshotName(counter, exists), "shot0005.png");
  counter = 9998;
  EXPECT_EQ(NextScreenshotName(counter, exists), "shot9999.png");
  EXPECT_EQ(NextScreenshotName(counter, exists), "");
}

}  // namespace
}  // namespace korvane::player
