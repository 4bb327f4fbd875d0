#include "media/reply_handler.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

struct ReplyCase {
  const char* name;
  const char* line;
  int notification;
  std::optional<PlayerState> newState;
};

class ReplyTable : public testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyTable, PostsTheCodeAndMovesTheState) {
  ReplyFields fields;
  fields.videoWidth = 640;
  fields.videoHeight = 360;
  const ReplyOutcome outcome = ApplyReplyLine(GetParam().line, fields);
  EXPECT_EQ(outcome.notification, GetParam().notification);
  EXPECT_EQ(outcome.newState, GetParam().newState);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyTable,
    testing::Values(
        ReplyCase{"Started", "Starting playback...", kPlayerStarted, PlayerState::Playing},
        ReplyCase{"StartedLowerCase", "starting playback", kPlayerStarted, PlayerState::Playing},
        ReplyCase{"Quit", "ID_EXIT=QUIT", kPlayerQuit, PlayerState::Stopping},
        ReplyCase{"EndOfFile", "id_exit=eof", kPlayerEndOfFile, PlayerState::Stopping},
        ReplyCase{"Aspect", "ID_VIDEO_ASPECT=1.7778", kPlayerAspect, std::nullopt},
        ReplyCase{"Position", "ANS_TIME_POSITION=3.0", kPlayerPosition, std::nullopt},
        ReplyCase{"Width", "ID_VIDEO_WIDTH=1920", 0, std::nullopt},
        ReplyCase{"Length", "ID_LENGTH=60.00", 0, std::nullopt},
        ReplyCase{"Screenshot", "*** screenshot 'shot0001.png' ***", kPlayerScreenshot,
                  std::nullopt},
        ReplyCase{"ScreenshotWithoutQuotes", "*** screenshot shot0001.png ***", 0, std::nullopt},
        ReplyCase{"ScreenshotWithoutClosingQuote", "*** screenshot 'shot0001.png", 0, std::nullopt},
        // Found by fuzzing: a reported name must not lead out of the snapshot folder.
        ReplyCase{"ScreenshotElsewhere", "*** screenshot '../shot0001.png' ***", 0, std::nullopt},
        ReplyCase{"ScreenshotOfTheFolder", "*** screenshot '..' ***", 0, std::nullopt},
        ReplyCase{"EmptySubtitle", "ID_SUBTITLE_LOG=", kPlayerNoSubtitle, std::nullopt},
        ReplyCase{"PieceOfALine", "ayback...", 0, std::nullopt},
        ReplyCase{"PrefixInsideALine", "x Starting playback", 0, std::nullopt},
        ReplyCase{"Unrelated", "VO: [null] 640x360", 0, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyHandler, TimePositionKeepsTheWholeSeconds) {
  ReplyFields fields;
  ApplyReplyLine("ANS_TIME_POSITION=12.9", fields);
  EXPECT_EQ(fields.position, 12);
  ApplyReplyLine("ans_time_position=59.99", fields);
  EXPECT_EQ(fields.position, 59);
}

TEST(ReplyHandler, TheSpeedAndDroppedFrameAnswersAreKeptWithoutANotification) {
  ReplyFields fields;
  EXPECT_EQ(fields.droppedFrames, -1);
  EXPECT_EQ(ApplyReplyLine("ANS_speed=2.000000", fields).notification, 0);
  EXPECT_EQ(fields.speed, 2.0);
  EXPECT_EQ(ApplyReplyLine("ANS_DROPPED_FRAMES=17", fields).notification, 0);
  EXPECT_EQ(fields.droppedFrames, 17);
}

TEST(ReplyHandler, ASeekDropsWhatDescribesTheMomentBeforeItUntilItsOwnAnswer) {
  ReplyFields fields;
  fields.position = 30;  // the seek target
  fields.timePosition = 30.5;
  fields.seekAnswerPending = true;
  // Answers to polls written before the seek: the old moment.
  EXPECT_EQ(ApplyReplyLine("ID_SUBTITLE_LOG=2026-05-18 08:30:04/E113", fields).deliverSubtitle,
            false);
  EXPECT_EQ(ApplyReplyLine("ID_SUBTITLE_LOG=", fields).notification, 0);
  EXPECT_EQ(ApplyReplyLine("ANS_TIME_POSITION=4.2", fields).notification, 0);
  EXPECT_EQ(fields.position, 30);
  EXPECT_DOUBLE_EQ(fields.timePosition, 30.5);
  // The seek's own time query: the new moment, in whole and decimal seconds.
  EXPECT_EQ(ApplyReplyLine("ANS_time_pos=30.480000", fields).notification, kPlayerPosition);
  EXPECT_FALSE(fields.seekAnswerPending);
  EXPECT_EQ(fields.position, 30);
  EXPECT_DOUBLE_EQ(fields.timePosition, 30.48);
  // From then on everything counts again.
  EXPECT_TRUE(ApplyReplyLine("ID_SUBTITLE_LOG=2026-05-18 08:30:34/E113", fields).deliverSubtitle);
  EXPECT_EQ(ApplyReplyLine("ANS_TIME_POSITION=31.1", fields).notification, kPlayerPosition);
  EXPECT_EQ(fields.position, 31);
  EXPECT_DOUBLE_EQ(fields.timePosition, 31.1);
}

TEST(ReplyHandler, ASeekWhoseAnswerNeverComesSilencesOnlyAFewTimeAnswers) {
  ReplyFields fields;
  fields.seekAnswerPending = true;
  for (int i = 0; i < kMaxStaleTimeAnswers; ++i) {
    EXPECT_EQ(ApplyReplyLine("ANS_TIME_POSITION=4.0", fields).notification, 0) << i;
  }
  EXPECT_EQ(ApplyReplyLine("ANS_TIME_POSITION=5.0", fields).notification, kPlayerPosition);
  EXPECT_FALSE(fields.seekAnswerPending);
  EXPECT_EQ(fields.position, 5);
}

TEST(ReplyHandler, ZeroAspectFallsBackToWidthOverHeight) {
  ReplyFields fields;
  ApplyReplyLine("ID_VIDEO_WIDTH=1920", fields);
  ApplyReplyLine("ID_VIDEO_HEIGHT=1080", fields);
  ApplyReplyLine("ID_VIDEO_ASPECT=0.0000", fields);
  EXPECT_DOUBLE_EQ(fields.aspect, 1920.0 / 1080.0);
  ApplyReplyLine("ID_VIDEO_ASPECT=1.3333", fields);
  EXPECT_DOUBLE_EQ(fields.aspect, 1.3333);
}

TEST(ReplyHandler, ZeroAspectWithoutHeightStaysUnknown) {
  ReplyFields fields;
  fields.videoWidth = 640;
  EXPECT_EQ(ApplyReplyLine("ID_VIDEO_ASPECT=0.0000", fields).notification, kPlayerAspect);
  EXPECT_EQ(fields.aspect, 0.0);
}

TEST(ReplyHandler, SubtitleTextIsHandedOnWhole) {
  ReplyFields fields;
  const std::string text(300, 'x');
  const ReplyOutcome outcome = ApplyReplyLine("ID_SUBTITLE_LOG=" + text, fields);
  EXPECT_TRUE(outcome.deliverSubtitle);
  EXPECT_EQ(outcome.notification, 0);
  EXPECT_EQ(fields.subtitleLine, text);

  fields.subtitleLine = "kept";
  const ReplyOutcome empty = ApplyReplyLine("ID_SUBTITLE_LOG=", fields);
  EXPECT_FALSE(empty.deliverSubtitle);
  EXPECT_EQ(fields.subtitleLine, "kept");
}

TEST(ReplyHandler, ScreenshotNameIsBetweenTheFirstTwoQuotes) {
  ReplyFields fields;
  ApplyReplyLine("*** screenshot 'shot0007.png' ***", fields);
  EXPECT_EQ(fields.screenshotName, "shot0007.png");
  ApplyReplyLine("*** screenshot broken", fields);
  EXPECT_EQ(fields.screenshotName, "");
}

TEST(ReplyHandler, LengthAndSizeFollowTheLeadingNumber) {
  ReplyFields fields;
  ApplyReplyLine("ID_LENGTH=60.00", fields);
  ApplyReplyLine("ID_VIDEO_WIDTH=640px", fields);
  ApplyReplyLine("ID_VIDEO_HEIGHT=", fields);
  EXPECT_DOUBLE_EQ(fields.length, 60.0);
  EXPECT_EQ(fields.videoWidth, 640);
  EXPECT_EQ(fields.videoHeight, 0);
  // Found by fuzzing: the window turns the length into whole seconds of an int.
  for (const char* unknown : {"ID_LENGTH=1e308", "ID_LENGTH=2147483648", "ID_LENGTH=-5"}) {
    ApplyReplyLine(unknown, fields);
    EXPECT_EQ(fields.length, 0.0) << unknown;
  }
}

struct NumberCase {
  const char* text;
  int asInt;
  double asDouble;
};

class LeadingNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumbers, ReadLikeAtoiAndAtof) {
  EXPECT_EQ(LeadingInt(GetParam().text), GetParam().asInt);
  EXPECT_DOUBLE_EQ(LeadingDouble(GetParam().text), GetParam().asDouble);
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumbers,
                         testing::Values(NumberCase{"12.9", 12, 12.9}, NumberCase{" 7", 7, 7.0},
                                         NumberCase{"+3.5x", 3, 3.5}, NumberCase{"-2.5", -2, -2.5},
                                         NumberCase{"", 0, 0.0}, NumberCase{"abc", 0, 0.0},
                                         NumberCase{"nan", 0, 0.0}, NumberCase{"1e999", 1, 0.0},
                                         NumberCase{"99999999999", 0, 99999999999.0}));

}  // namespace
}  // namespace korvane
