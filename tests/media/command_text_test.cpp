// The controller's outgoing texts: the player's argument vector and the slave command lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/player_command_line.h"
#include "media/slave_commands.h"
#include "media/subtitle_poll.h"

namespace korvane {
namespace {

using Args = std::vector<std::string>;

PlayerLaunch StartupLaunch() {
  PlayerLaunch launch;
  launch.mediaPath = "/home/u/Videos/my drive 'one'.mp4";
  launch.videoWindow = 4194311;
  launch.videoOutput = "directx:noaccel";
  launch.audioOutput = "dsound";
  launch.volume = 40;
  launch.extraArguments = "-sid 0 -idx -nokeepaspect";
  return launch;
}

TEST(PlayerArguments, StartupConfigurationInDocumentedOrder) {
  EXPECT_EQ(BuildPlayerArguments(StartupLaunch()),
            (Args{"/home/u/Videos/my drive 'one'.mp4", "-wid", "4194311", "-vo", "directx:noaccel",
                  "-slave", "-quiet", "-identify", "-ao", "dsound:device=0", "-volume", "40",
                  "-muteset", "0", "-sid", "0", "-idx", "-nokeepaspect"}));
}

TEST(PlayerArguments, NoWindowNoExtrasMutedWithOtherOutput) {
  PlayerLaunch launch = StartupLaunch();
  launch.videoWindow = 0;
  launch.extraArguments = "";
  launch.audioOutput = "win32";
  launch.soundDevice = 3;
  launch.muted = true;
  EXPECT_EQ(BuildPlayerArguments(launch),
            (Args{launch.mediaPath, "-vo", "directx:noaccel", "-slave", "-quiet", "-identify",
                  "-ao", "win32", "-volume", "40", "-muteset", "1"}));
}

class DirectSoundRule : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(DirectSoundRule, DeviceFormOnlyForDsoundInAnyCase) {
  PlayerLaunch launch = StartupLaunch();
  launch.audioOutput = GetParam().first;
  launch.soundDevice = 2;
  const Args args = BuildPlayerArguments(launch);
  EXPECT_EQ(args[9], GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Outputs, DirectSoundRule,
                         testing::Values(std::pair{"dsound", "dsound:device=2"},
                                         std::pair{"DSound", "dsound:device=2"},
                                         std::pair{"DSOUND", "dsound:device=2"},
                                         std::pair{"dsound ", "dsound "},
                                         std::pair{"dsound:device=1", "dsound:device=1"},
                                         std::pair{"null", "null"}, std::pair{"", ""}));

TEST(PlayerArguments, ExtrasSplitAtSpacesWithoutEmptyWords) {
  EXPECT_EQ(SplitAtSpaces("  -sid 0   -idx "), (Args{"-sid", "0", "-idx"}));
  EXPECT_EQ(SplitAtSpaces(""), Args{});
  EXPECT_EQ(SplitAtSpaces("   "), Args{});
}

TEST(SlaveCommands, FormattedOneLineEach) {
  EXPECT_EQ(VolumeCommand(40), "volume 40 1");
  EXPECT_EQ(SeekCommand(125), "pausing_keep seek 125.000 2");
  EXPECT_EQ(SeekCommand(12.3456), "pausing_keep seek 12.346 2");
  EXPECT_EQ(CommandLine(kSeekTimeQuery), "pausing_keep_force get_property time_pos\n");
  EXPECT_EQ(CommandLine(kSeekSubtitleQuery), "pausing_keep_force sub_log_static\n");
  EXPECT_EQ(MuteCommand(true), "mute 1");
  EXPECT_EQ(MuteCommand(false), "mute 0");
  EXPECT_EQ(CommandLine("pause"), "pause\n");
}

TEST(SlaveCommands, RefusesWhatCannotBeOneCommand) {
  EXPECT_EQ(CommandLine(std::string(62, 'a')), std::string(62, 'a') + "\n");
  EXPECT_EQ(CommandLine(std::string(63, 'a')), std::nullopt);
  EXPECT_EQ(CommandLine("quit\nmute 1"), std::nullopt);
}

TEST(SubtitlePollClock, EveryHalfSecondAndNeverWhilePaused) {
  SubtitlePollClock clock;
  EXPECT_TRUE(clock.Due(false, 1000));
  EXPECT_FALSE(clock.Due(false, 1500));
  EXPECT_TRUE(clock.Due(false, 1501));
  EXPECT_FALSE(clock.Due(true, 5000));
  EXPECT_FALSE(clock.Due(true, 9000));
  EXPECT_FALSE(clock.Due(false, 9400));  // the interval restarts at the pause
  EXPECT_TRUE(clock.Due(false, 9501));
}

TEST(SubtitlePollClock, WakesTheReaderWhenThePollIsDue) {
  SubtitlePollClock clock;
  EXPECT_EQ(clock.MsUntilDue(false, 1000, 50), 0u);  // never polled: at once
  clock.Due(false, 1000);
  EXPECT_EQ(clock.MsUntilDue(false, 1000, 50), 50u);
  EXPECT_EQ(clock.MsUntilDue(false, 1480, 50), 21u);
  EXPECT_TRUE(clock.Due(false, 1501));
  EXPECT_EQ(clock.MsUntilDue(false, 0xFFFFFFFFu, 50), 0u);  // long overdue, even across a wrap
  EXPECT_EQ(clock.MsUntilDue(true, 1600, 50), 50u);
}

TEST(SubtitlePollClock, SurvivesTheTickWrap) {
  SubtitlePollClock clock;
  EXPECT_TRUE(clock.Due(false, 0xFFFFFF00u));
  EXPECT_FALSE(clock.Due(false, 0x00000010u));  // 272 ms later, across the wrap
  EXPECT_TRUE(clock.Due(false, 0x00000200u));
}

TEST(SubtitlePollClock, PausedFromTheStartPollsAfterResumeInterval) {
  SubtitlePollClock clock;
  EXPECT_FALSE(clock.Due(true, 100));
  EXPECT_FALSE(clock.Due(false, 200));
  EXPECT_TRUE(clock.Due(false, 601));
}

}  // namespace
}  // namespace korvane
