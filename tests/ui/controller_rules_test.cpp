// The playback controller's rules against fake ports: switch guards, transport, keys, sliders,
// deletion, end of file and the worker messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "controller_fakes.h"
#include "telemetry/pipeline_lines.h"
#include "ui/playback_speed.h"

namespace korvane::test {
namespace {

using ::testing::ElementsAre;

class ControllerTest : public ::testing::Test, public ControllerWorld {
 protected:
  // Plays a.mp4 as if dropped, then lets the guard window pass.
  void PlayFirst() {
    DropClip("a.mp4");
    player.log.clear();
    now += 5000;
  }
  std::string Current() const {
    std::string path;
    playlist.GetCurrentPath(path);
    return path;
  }
};

TEST_F(ControllerTest, DropStartsTheDroppedClipInPlayerAndPipeline) {
  DropClip("b.mp4");
  EXPECT_EQ(player.log, std::vector<std::string>{"play " + Clip("b.mp4")});
  EXPECT_EQ(pipeline.extracted, std::vector<std::string>{Clip("b.mp4")});
  EXPECT_TRUE(view.pauseShown);
  EXPECT_EQ(view.markerResets, 1);
  EXPECT_EQ(view.routeClears, 1) << "no route of an earlier file stays on the map";
  EXPECT_EQ(texts.playTime, kIdlePlayTime);
}

struct GuardCase {
  const char* name;
  bool firstIsActivation;
  unsigned gapMs;
  bool secondIsActivation;
  bool secondTaken;
};

class SwitchGuardTest : public ControllerTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(SwitchGuardTest, SecondChangeOfItemHonoursTheGuard) {
  const GuardCase& c = GetParam();
  PlayFirst();
  auto change = [&](bool activation) {
    if (activation) {
      controller.OnItemActivate(1);
    } else {
      controller.Next();
    }
  };
  change(c.firstIsActivation);
  const std::string afterFirst = Current();
  const std::size_t startsAfterFirst = player.log.size();
  now += c.gapMs;
  change(c.secondIsActivation);
  EXPECT_EQ(player.log.size() > startsAfterFirst, c.secondTaken) << c.name;
  EXPECT_EQ(Current() != afterFirst, c.secondTaken) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, SwitchGuardTest,
    ::testing::Values(GuardCase{"activation 0.5 s after activation", true, 500, true, false},
                      GuardCase{"next 1.5 s after activation", true, 1500, false, false},
                      GuardCase{"next 2.5 s after activation", true, 2500, false, true},
                      GuardCase{"next 1.0 s after next", false, 1000, false, false},
                      GuardCase{"next 2.5 s after next", false, 2500, false, true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ControllerTest, PreviousOnFirstAndNextOnLastDoNothingButRestartTheWindow) {
  PlayFirst();
  controller.Previous();
  EXPECT_EQ(lastSwitch, now);
  EXPECT_TRUE(player.log.empty());
  now += 1500;
  controller.Next();  // inside the restarted window: ignored
  EXPECT_EQ(Current(), Clip("a.mp4"));
  now += 2500;
  controller.Next();
  EXPECT_EQ(Current(), Clip("b.mp4"));
  EXPECT_EQ(player.state(), PlayerState::Playing);
}

TEST_F(ControllerTest, TickWrapStillGuards) {
  PlayFirst();
  lastSwitch = 0xFFFFFF00u;
  now = 0x00000100u;  // 512 ms later across the wrap
  controller.Next();
  EXPECT_EQ(Current(), Clip("a.mp4"));
}

TEST_F(ControllerTest, EndOfFileGoesOnToTheNextEntryAndStopsAfterTheLast) {
  PlayFirst();
  const int clearsBefore = view.routeClears;
  controller.OnPlayerMessage(kPlayerEndOfFile);
  EXPECT_EQ(Current(), Clip("b.mp4"));
  EXPECT_EQ(player.state(), PlayerState::Playing);
  EXPECT_EQ(view.routeClears, clearsBefore + 1) << "the next file starts with an empty route";
  EXPECT_EQ(pipeline.stops, 0) << "the end of a file leaves the pipeline alone";

  controller.OnPlayerMessage(kPlayerEndOfFile);
  controller.OnPlayerMessage(kPlayerEndOfFile);  // c ends: nothing follows
  EXPECT_EQ(Current(), Clip("c.mp4"));
  EXPECT_EQ(player.state(), PlayerState::Idle);
  EXPECT_FALSE(view.pauseShown);
  EXPECT_EQ(view.progress, 0);
  EXPECT_EQ(view.progressMax, 0);
  EXPECT_EQ(texts.playTime, kIdlePlayTime);
}

TEST_F(ControllerTest, StoreIsResetOnlyWhileNoRunWritesIt) {
  PlayFirst();
  pipeline.busy_ = true;
  controller.OnPlayerMessage(kPlayerNoSubtitle);
  controller.OnPlayerMessage(kPlayerPipeFailed);
  EXPECT_EQ(view.storeResets, 0);
  pipeline.busy_ = false;
  player.SetState(PlayerState::Idle);  // a player quits on request once it was stopped
  controller.OnPlayerMessage(kPlayerQuit);
  EXPECT_EQ(view.storeResets, 1);
}

TEST_F(ControllerTest, OneSeekForSliderMapAndChartWorksPlayingOrPausedAndHoldsToTheFile) {
  PlayFirst();
  duration = 60;
  controller.Pause();
  controller.OnProgressChanged(30);  // the slider, while paused
  controller.Seek(12.345);           // a point of the route or the chart
  EXPECT_THAT(player.log, ElementsAre("pause", "seek 30", "seek 12.345"));
  EXPECT_EQ(position, 12);

  controller.Play();  // resumes
  controller.OnProgressChanged(90);
  controller.Seek(-4);
  EXPECT_THAT(player.log,
              ElementsAre("pause", "seek 30", "seek 12.345", "resume", "seek 90", "seek -4"))
      << "the player clamps to its own length";
  EXPECT_EQ(position, 0) << "held to the start";
  controller.Seek(75);
  EXPECT_EQ(position, 60) << "held to the duration";
}

TEST_F(ControllerTest, SeeksThatCannotBeCarriedOutChangeNothingButThePosition) {
  // Stopped: nothing plays, nothing is sent.
  controller.Seek(10);
  EXPECT_TRUE(player.log.empty());
  EXPECT_EQ(position, 0);
  // A file starting: not yet.
  PlayFirst();
  player.SetState(PlayerState::Starting);
  duration = 60;
  controller.Seek(10);
  EXPECT_TRUE(player.log.empty());
  EXPECT_EQ(position, 10);
  // Not a number at all.
  player.SetState(PlayerState::Playing);
  controller.Seek(std::nan(""));
  controller.Seek(HUGE_VAL);
  EXPECT_TRUE(player.log.empty());
  EXPECT_EQ(position, 10);
}

TEST_F(ControllerTest, TheChartCursorFollowsTheTimeReportsAndLeavesWithTheFile) {
  PlayFirst();
  controller.OnPlayerMessage(kPlayerStarted);
  EXPECT_LT(view.cursor, 0) << "a new file starts without a cursor";
  player.position_ = 12;
  player.timePosition_ = 12.4;
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_DOUBLE_EQ(view.cursor, 12.4);
  controller.StopRoutine();
  EXPECT_LT(view.cursor, 0);
}

TEST_F(ControllerTest, EscapeNeverClosesAndEnterEntersFullScreen) {
  EXPECT_TRUE(controller.OnDefaultKey(kKeyEscape)) << "answered here, so the base cannot close";
  EXPECT_TRUE(view.windowLog.empty());
  EXPECT_FALSE(controller.OnDefaultKey(kKeyEnter)) << "the base's Enter still runs";
  EXPECT_EQ(fullScreen, 1);
  controller.OnDefaultKey(kKeyEnter);
  EXPECT_TRUE(controller.OnDefaultKey(kKeyEscape));
  EXPECT_EQ(fullScreen, 0);
  EXPECT_THAT(view.windowLog, ElementsAre("enter", "leave"));
}

TEST_F(ControllerTest, VideoDoubleClickTogglesFullScreen) {
  controller.OnVideoDoubleClick();
  controller.OnVideoDoubleClick();
  EXPECT_THAT(view.windowLog, ElementsAre("enter", "leave"));
}

TEST_F(ControllerTest, F8TakesASnapshotOnlyWhilePlaying) {
  PlayFirst();
  controller.Pause();
  controller.OnPlayerKey({KeyAction::kSnapshot});
  EXPECT_THAT(player.log, ElementsAre("pause"));
  controller.Play();
  controller.OnPlayerKey({KeyAction::kSnapshot});
  controller.OnPlayerKey({KeyAction::kNone});
  EXPECT_THAT(player.log, ElementsAre("pause", "resume", "screenshot 0"));
}

TEST_F(ControllerTest, FrameStepsOnlyWhilePaused) {
  controller.OnPlayerKey({KeyAction::kFrameStep, 1});  // stopped
  PlayFirst();
  controller.OnPlayerKey({KeyAction::kFrameStep, 1});  // playing
  player.SetState(PlayerState::Starting);
  controller.OnPlayerKey({KeyAction::kFrameStep, -1});
  player.SetState(PlayerState::Paused);
  controller.OnPlayerKey({KeyAction::kFrameStep, -1});
  controller.OnPlayerKey({KeyAction::kFrameStep, 1});
  EXPECT_THAT(player.log, ElementsAre("frame -1", "frame +1"));
}

TEST_F(ControllerTest, SpeedKeysClimbTheLadderHeldAtItsEndsAndTheSpeedHoldsAcrossFiles) {
  const auto press = [&](int rungs, int times) {
    for (int i = 0; i < times; ++i) controller.OnPlayerKey({KeyAction::kSpeedStep, rungs});
  };
  press(1, 1);  // stopped: kept and shown for the file that starts next
  EXPECT_EQ(player.speed(), 1.5);
  EXPECT_EQ(texts.playbackSpeed, "1.5\u00d7");
  press(1, 6);
  EXPECT_EQ(player.speed(), 8.0);
  EXPECT_EQ(texts.playbackSpeed, "8\u00d7");
  press(-1, 9);
  EXPECT_EQ(player.speed(), 0.25);
  EXPECT_EQ(texts.playbackSpeed, "0.25\u00d7");
  press(1, 2);
  EXPECT_EQ(texts.playbackSpeed, "") << "nothing shown at normal speed";
  press(1, 2);
  PlayFirst();
  controller.Next();
  EXPECT_EQ(player.speed(), 2.0);
  EXPECT_EQ(texts.playbackSpeed, "2\u00d7");
  EXPECT_GE(view.refreshes, 13);
}

TEST(SpeedLadder, StepsFromTheNearestRung) {
  EXPECT_EQ(SpeedAfterSteps(3.0, 1), 4.0);  // between 2 and 4: from 2
  EXPECT_EQ(SpeedAfterSteps(0.3, -1), 0.25);
  EXPECT_EQ(SpeedAfterSteps(1.0, 100), 8.0);
  EXPECT_EQ(SpeedAfterSteps(1.0, -2147483647 - 1), 0.25);
  EXPECT_EQ(SpeedAfterSteps(100.0, 0), 8.0);
}

TEST_F(ControllerTest, DeletingThePlayingEntryWhilePausedStartsTheNextOnePlaying) {
  PlayFirst();
  controller.Pause();
  playlistView.deleteIndex = 0;
  controller.OnDeleteItem();
  EXPECT_EQ(Current(), Clip("b.mp4"));
  EXPECT_EQ(player.state(), PlayerState::Playing);
  EXPECT_TRUE(view.pauseShown);
  EXPECT_EQ(pipeline.extracted.back(), Clip("b.mp4"));
}

TEST_F(ControllerTest, DeletingAnotherEntryOrDeletingWhileIdleStartsNothing) {
  PlayFirst();
  playlistView.deleteIndex = 2;
  controller.OnDeleteItem();
  EXPECT_TRUE(player.log.empty());
  controller.StopRoutine();
  player.log.clear();
  playlistView.deleteIndex = 0;
  controller.OnDeleteItem();
  EXPECT_TRUE(player.log.empty());
}

TEST_F(ControllerTest, ClickTableNamesAreExactAndUnknownNamesAreLeftToTheBase) {
  PlayFirst();
  EXPECT_TRUE(controller.OnClick("titleBtn"));
  EXPECT_FALSE(controller.OnClick("btnpause"));
  EXPECT_FALSE(controller.OnClick("btnOpen")) << "the open action belongs to btnOpenBig";
  EXPECT_EQ(player.state(), PlayerState::Playing);
  EXPECT_TRUE(controller.OnClick("btnPause"));
  EXPECT_EQ(player.state(), PlayerState::Paused);
  EXPECT_FALSE(view.pauseShown);
  EXPECT_TRUE(controller.OnClick("btnStop"));
  EXPECT_EQ(player.state(), PlayerState::Idle);
  EXPECT_EQ(pipeline.stops, 1);
  EXPECT_TRUE(controller.OnClick("btnPlay"));
  EXPECT_EQ(player.state(), PlayerState::Playing);
}

TEST_F(ControllerTest, MuteZeroesTheSliderAndUnmuteGivesTheKeptVolumeBack) {
  controller.OnVolumeChanged(70);
  controller.OnClick("btnVolume");
  EXPECT_TRUE(player.muted());
  EXPECT_TRUE(view.muteShown);
  EXPECT_EQ(view.volumeSlider, 0);
  controller.OnClick("btnVolume");  // already muted: nothing
  controller.OnClick("btnMute");
  EXPECT_FALSE(player.muted());
  EXPECT_FALSE(view.muteShown);
  EXPECT_EQ(view.volumeSlider, 70);
}

TEST_F(ControllerTest, TimeReportsSetRangeTextsAndSlider) {
  PlayFirst();
  controller.OnPlayerMessage(kPlayerStarted);
  EXPECT_EQ(duration, 61);
  EXPECT_EQ(view.progressMax, 61);
  EXPECT_EQ(texts.playTime, "00:00:00/00:01:01");
  player.position_ = 3725;
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_EQ(texts.playTime, "01:02:05/00:01:01");
  EXPECT_EQ(view.progress, 61);
  controller.OnPlayerMessage(kPlayerAspect);
  EXPECT_DOUBLE_EQ(view.videoAspect, 16.0 / 9.0);
}

TEST_F(ControllerTest, ChunksAreConsumedOnlyFor516WhileNoStopIsRequested) {
  controller.OnPipelineMessage(kExtractorFirstChunkOrNothing);
  controller.OnPipelineMessage(kExtractorQuitFailed);
  EXPECT_EQ(view.consumed, 0);
  pipeline.stopRequested_ = true;
  controller.OnPipelineMessage(kExtractorChunkReady);
  EXPECT_EQ(view.consumed, 0);
  pipeline.stopRequested_ = false;
  controller.OnPipelineMessage(kExtractorChunkReady);
  EXPECT_EQ(view.consumed, 1);
}

TEST_F(ControllerTest, PositionReportsOfAnEarlierPlayerAreDropped) {
  PlayFirst();
  record.longitude = 113.9;
  record.latitude = 22.5;
  controller.OnPositionMessage(player.processId() - 1, 1);
  EXPECT_TRUE(view.car.empty());
  EXPECT_EQ(gpsShown, 0);
  controller.OnPositionMessage(player.processId(), 1);
  EXPECT_THAT(view.car, ElementsAre(113.9, 22.5));
  EXPECT_EQ(gpsValid, 1);
  const int chartResets = view.chartResets;
  controller.OnPositionMessage(player.processId(), 0);
  EXPECT_EQ(gpsValid, 0);
  EXPECT_EQ(view.chartResets, chartResets + 1);
}

// A clip fed from its GPS log: no extraction, no subtitle poll, the chart told there are no G
// values, the route handed over at once; the panel and the marker follow the player's time. The
// next clip with its own track plays as before.
TEST_F(ControllerTest, AFedClipSkipsExtractionAndIsShownFromItsTrackAtThePlayersTime) {
  feed.fedClips = {Clip("b.mp4")};
  DropClip("b.mp4");
  EXPECT_EQ(player.log, std::vector<std::string>{"play " + Clip("b.mp4") + " (no subtitle poll)"});
  EXPECT_TRUE(pipeline.extracted.empty());
  EXPECT_EQ(pipeline.stops, 1) << "a run of the clip before must not write the store";
  EXPECT_EQ(feed.loaded, std::vector<std::string>{Clip("b.mp4")});
  EXPECT_EQ(view.noGValues, 1);
  EXPECT_EQ(view.consumed, 1);

  player.timePosition_ = 6.0;
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_THAT(view.car, ElementsAre(-9.14, 38.72));
  EXPECT_EQ(gpsValid, 1);
  controller.OnPlayerMessage(kPlayerScreenshot);
  ASSERT_EQ(view.marks.size(), 1u) << "a snapshot carries the fed moment";
  const int markerResets = view.markerResets;
  const int chartResets = view.chartResets;
  player.timePosition_ = 9.5;  // past the record's life: a gap in the log
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_EQ(gpsValid, 0);
  EXPECT_EQ(view.markerResets, markerResets + 1);
  EXPECT_EQ(view.chartResets, chartResets) << "the no-G notice stays";

  now += 5000;
  controller.OnItemActivate(0);
  ASSERT_EQ(Current(), Clip("a.mp4"));
  EXPECT_EQ(player.log.back(), "play " + Clip("a.mp4"));
  EXPECT_EQ(pipeline.extracted, std::vector<std::string>{Clip("a.mp4")});
  EXPECT_EQ(view.noGValues, 1);
  player.timePosition_ = 6.0;
  const std::vector<double> car = view.car;
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_EQ(view.car, car) << "a clip with its own track moves the marker by its lines only";
}

// A clip the index does not know plays through the pipeline while the indexer reads it; found to
// play from another track, it moves to the feed where it is: the run stopped, the poll off, the
// route and panel from the feed, curves when its track has G values. A late read of a clip no
// longer playing changes nothing.
TEST_F(ControllerTest, AClipReadAfterItStartedMovesToTheFeedWithoutARestart) {
  feed.unreadClips = {Clip("b.mp4")};
  feed.gValues = true;
  DropClip("b.mp4");
  EXPECT_EQ(player.log, std::vector<std::string>{"play " + Clip("b.mp4")});
  EXPECT_EQ(pipeline.extracted, std::vector<std::string>{Clip("b.mp4")});
  EXPECT_EQ(feed.readsAsked, std::vector<std::string>{Clip("b.mp4")});
  const int stops = pipeline.stops;
  controller.OnClipRead();
  EXPECT_EQ(player.log.back(), "subtitle poll off");
  EXPECT_EQ(player.log.size(), 2u) << "no restart";
  EXPECT_EQ(pipeline.stops, stops + 1);
  EXPECT_EQ(feed.loaded, std::vector<std::string>{Clip("b.mp4")});
  EXPECT_EQ(view.noGValues, 0) << "its track has G values";
  EXPECT_EQ(view.consumed, 1);
  player.timePosition_ = 6.0;
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_THAT(view.car, ElementsAre(-9.14, 38.72));
  controller.OnClipRead();
  EXPECT_EQ(feed.loaded.size(), 1u) << "read once";

  now += 5000;
  controller.OnItemActivate(0);
  feed.unreadClips = {Clip("b.mp4")};
  controller.OnClipRead();
  EXPECT_EQ(pipeline.extracted.back(), Clip("a.mp4")) << "a late read of b: a's run goes on";
  EXPECT_EQ(feed.loaded.size(), 1u);
}

// The panel shows a camera time with its folder's clock offset, over midnight and the year's end
// both ways, and so does the snapshot's stamp; a clip fed from a GPS receiver's track shows the
// receiver's time as it is.
TEST_F(ControllerTest, ThePanelShowsCameraTimesWithTheFoldersClockOffset) {
  PlayFirst();
  record.minute = 30;
  record.second = 15;
  const struct {
    int year, month, day, hour, offset;
    const char* shown;
  } cases[] = {{2026, 12, 31, 23, 14 * 3600, "2027-01-01 13:30:15"},
               {2027, 1, 1, 0, -14 * 3600, "2026-12-31 10:30:15"}};
  for (const auto& c : cases) {
    record.year = c.year;
    record.month = static_cast<std::uint8_t>(c.month);
    record.day = static_cast<std::uint8_t>(c.day);
    record.hour = static_cast<std::uint8_t>(c.hour);
    clockOffsets.Set(dir.str(), c.offset);
    controller.OnPositionMessage(player.processId(), 1);
    EXPECT_TRUE(texts.timeLabel.ends_with(c.shown)) << texts.timeLabel;
  }
  controller.OnPlayerMessage(kPlayerScreenshot);
  EXPECT_EQ(view.markedHour, 10) << "the stamp of the time shown";

  player.log.clear();
  controller.ClockOffsetChanged();
  EXPECT_TRUE(player.log.empty()) << "its own times need no restart";

  feed.fedClips = {Clip("b.mp4")};
  controller.Next();
  player.timePosition_ = 6.0;
  controller.OnPlayerMessage(kPlayerPosition);
  EXPECT_TRUE(texts.timeLabel.ends_with("2026-12-31 23:00:00")) << texts.timeLabel;
  // A fed clip is read again, so an imported track is matched with the new offset.
  controller.ClockOffsetChanged();
  EXPECT_EQ(feed.loaded, (std::vector<std::string>{Clip("b.mp4"), Clip("b.mp4")}));
}

// The drop rule: a GPX track is never a clip. Dropped with a clip, the clip goes to the playlist
// and the track is imported for that clip's folder with the folder's clips; the clip on screen
// starts again when it now plays from the import, and the user is told the count. A track with
// no folder open is not imported and nothing is listed or played.
TEST_F(ControllerTest, ADroppedGpxTrackIsImportedForTheCurrentFolderAndNeverListed) {
  std::ofstream(dir.path() / "drive.GPX").put('x');
  controller.OnDropFiles({Clip("drive.GPX")});
  EXPECT_TRUE(feed.imports.empty());
  EXPECT_EQ(playlist.playlist().count(), 0);
  EXPECT_TRUE(player.log.empty());
  ASSERT_EQ(view.trackImports.size(), 1u);
  EXPECT_FALSE(view.trackImports[0].stored);

  feed.fedAfterImport = {Clip("b.mp4")};
  controller.OnDropFiles({Clip("b.mp4"), Clip("drive.GPX")});
  ASSERT_EQ(feed.imports.size(), 1u);
  EXPECT_EQ(feed.imports[0].gpxPath, Clip("drive.GPX"));
  EXPECT_EQ(feed.imports[0].clipFolder, dir.str());
  EXPECT_THAT(feed.imports[0].clips, ElementsAre(Clip("a.mp4"), Clip("b.mp4"), Clip("c.mp4")));
  EXPECT_EQ(playlist.playlist().count(), 3) << "the track is not listed";
  EXPECT_EQ(player.log, std::vector<std::string>{"play " + Clip("b.mp4") + " (no subtitle poll)"});
  ASSERT_EQ(view.trackImports.size(), 2u);
  EXPECT_EQ(view.trackImports[1].clipsWithTrack, 1);

  // Dropped alone while a.mp4 (its own track) plays: imported, a.mp4 is not started again.
  now += 5000;
  controller.OnItemActivate(0);
  player.log.clear();
  feed.fedAfterImport.clear();
  controller.OnDropFiles({Clip("drive.GPX")});
  EXPECT_EQ(feed.imports.size(), 2u);
  EXPECT_TRUE(player.log.empty());
}

// The player stopped to start the clip again from an import answers after that start: its quit,
// and the "no subtitle" of its last poll, must leave the fed clip's track, route and "no G values"
// notice, which nothing puts up again.
TEST_F(ControllerTest, TheStoppedPlayersLateAnswersLeaveAClipRestartedFromAnImportAsItWasShown) {
  PlayFirst();
  feed.fedAfterImport = {Clip("a.mp4")};
  controller.ImportTrackFile(Clip("drive.gpx"));
  ASSERT_EQ(player.log.back(), "play " + Clip("a.mp4") + " (no subtitle poll)");
  ASSERT_TRUE(view.gNotice);
  const int storeResets = view.storeResets, markerResets = view.markerResets;

  controller.OnPlayerMessage(kPlayerNoSubtitle);
  controller.OnPlayerMessage(kPlayerQuit);
  EXPECT_TRUE(view.gNotice) << "the chart still says why it has no curves";
  EXPECT_EQ(view.storeResets, storeResets);
  EXPECT_EQ(view.markerResets, markerResets);
}

// The per-clip choice of a clip with its own track in a folder with an import: shown when the clip
// starts; chosen, it is kept and the clip starts again from the player's position fed from the
// import (no extraction, no subtitle poll), and chosen back, from its own track again. A choice
// that cannot be kept changes nothing.
TEST_F(ControllerTest, ChoosingTheImportStartsTheClipAgainFromThePlayersPositionFedFromIt) {
  feed.ownTrackClips = {Clip("a.mp4")};
  PlayFirst();
  EXPECT_EQ(view.trackChoice, (TrackChoice{true, false}));
  player.timePosition_ = 3.5;
  controller.ChooseTrack(true);
  EXPECT_THAT(player.log, ElementsAre("stop", "play " + Clip("a.mp4") + " (no subtitle poll)"));
  EXPECT_EQ(feed.loaded, std::vector<std::string>{Clip("a.mp4")});
  EXPECT_EQ(view.trackChoice, (TrackChoice{true, true}));
  controller.OnPlayerMessage(kPlayerStarted);
  EXPECT_EQ(player.log.back(), "seek 3.5") << "from where it was";

  player.log.clear();
  feed.keepsChoices = false;
  controller.ChooseTrack(false);
  EXPECT_TRUE(player.log.empty()) << "not kept: not started again";
  EXPECT_EQ(view.choicesNotKept, std::vector{WriteFailure::DiskFull}) << "and the user told why";

  feed.keepsChoices = true;
  controller.ChooseTrack(false);
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop", "play " + Clip("a.mp4")}));
  EXPECT_EQ(pipeline.extracted, (std::vector<std::string>{Clip("a.mp4"), Clip("a.mp4")}));
  EXPECT_EQ(view.trackChoice, (TrackChoice{true, false}));
}

TEST_F(ControllerTest, SnapshotPausesShowsTheTipAndResumes) {
  PlayFirst();
  settings.snapshotPreview = false;
  controller.OnPlayerMessage(kPlayerScreenshot);
  EXPECT_THAT(player.log, ElementsAre("pause", "resume"));
  EXPECT_THAT(view.tips, ElementsAre("/data/shot0001.png folder"));
}

// A snapshot carries the moment the panel shows for the playing file, and nothing otherwise.
TEST_F(ControllerTest, SnapshotIsMarkedOnlyWithTheMomentShownForThePlayingFile) {
  PlayFirst();
  controller.OnPlayerMessage(kPlayerScreenshot);
  EXPECT_TRUE(view.marks.empty()) << "no telemetry shown yet";
  record.year = 2025;
  record.valid = false;  // the live parser never sets it; the message says the line parsed
  controller.OnPositionMessage(player.processId(), 1);
  record.year = 1999;  // the live worker parses on; the panel still shows 2025
  settings.snapshotStamp = true;
  controller.OnPlayerMessage(kPlayerScreenshot);
  EXPECT_THAT(view.marks, ElementsAre("/data/shot0001.png 2025 valid stamp"));
  controller.OnPositionMessage(player.processId(), 0);
  controller.OnPlayerMessage(kPlayerScreenshot);
  EXPECT_EQ(view.marks.size(), 1u) << "no position now";
  controller.OnPositionMessage(player.processId(), 1);
  controller.Next();  // another file, another player: the shown moment is the old file's
  controller.OnPlayerMessage(kPlayerScreenshot);
  ASSERT_NE(Current(), Clip("a.mp4"));
  EXPECT_EQ(view.marks.size(), 1u) << "the panel still shows the first file's moment";
}

TEST_F(ControllerTest, SettingsRecomposeTheLabelsOnlyAfterALanguageChange) {
  view.onSettings = [this] { settings.languageFile = "english.ini"; };
  view.settingsResult = 2;
  controller.OnClick("btnSetting");
  EXPECT_EQ(view.captionReloads, 0) << "cancelled";
  view.settingsResult = 1;
  settings.languageFile = "russian.ini";
  controller.OnClick("btnSetting");
  EXPECT_EQ(view.captionReloads, 1);
  view.onSettings = nullptr;
  controller.OnClick("btnSetting");
  EXPECT_EQ(view.captionReloads, 1) << "same language";
}

TEST_F(ControllerTest, AnotherSpeedUnitShowsTheSpeedAgainAndRestylesTheRoute) {
  PlayFirst();
  record.valid = true;
  record.speedKmh = 50.0f;
  controller.OnPositionMessage(player.processId(), 1);
  EXPECT_EQ(texts.speedValue, " 50.0 km/h");
  view.onSettings = [this] { settings.speedUnit = SpeedUnit::Mph; };
  controller.OnClick("btnSetting");
  EXPECT_EQ(texts.speedValue, " 31.1 mph");
  EXPECT_EQ(texts.speedLabel, texts.speedCaption + " 31.1 mph");
  EXPECT_EQ(view.routeRestyles, 1);
  EXPECT_EQ(view.captionReloads, 0) << "the language stayed";
  controller.OnPositionMessage(player.processId(), 1);
  EXPECT_EQ(texts.speedValue, " 31.1 mph") << "later reports in the new unit";
  controller.OnClick("btnSetting");  // the same unit again
  EXPECT_EQ(view.routeRestyles, 1);
}

// The small pictures are laid out again as soon as OK changed their corner or width, and only then.
TEST_F(ControllerTest, ANewPictureCornerOrWidthPlacesThePicturesAgainAtOnce) {
  struct Step {
    const char* corner;
    int width;
    int placements;
  };
  for (const Step& step : {Step{kDefaultPictureCorner, kDefaultPictureWidthPercent, 0},
                           Step{"BottomLeft", kDefaultPictureWidthPercent, 1},
                           Step{"BottomLeft", 45, 2}, Step{"BottomLeft", 45, 2}}) {
    view.onSettings = [this, step] {
      settings.pictureCorner = step.corner;
      settings.pictureWidthPercent = step.width;
    };
    controller.OnClick("btnSetting");
    EXPECT_EQ(view.picturePlacements, step.placements) << step.corner << " " << step.width;
  }
}

TEST_F(ControllerTest, ClearStopsPlaybackOnlyWhenTheListWasCleared) {
  PlayFirst();
  controller.OnClick("btnClear");
  EXPECT_EQ(player.state(), PlayerState::Idle);
  EXPECT_EQ(playlist.playlist().count(), 0);
  controller.OnClick("btnPlay");
  EXPECT_EQ(player.state(), PlayerState::Idle) << "nothing left to play";
}

TEST_F(ControllerTest, OpenStartsTheChosenFile) {
  host.chosen = Clip("c.mp4");
  controller.OnClick("btnOpenBig");
  EXPECT_EQ(player.log, std::vector<std::string>{"play " + Clip("c.mp4")});
  host.chosen.reset();
  player.log.clear();
  controller.OnClick("btnOpenBig");
  EXPECT_TRUE(player.log.empty());
}

}  // namespace
// A moment of two cameras: the front leads (polled, with the sound), the rear follows its moves
// and is ended with it.
TEST_F(ControllerTest, TheMomentsOtherChannelFollowsTheLeader) {
  const char* front = "2021_0105_101500_0001F.MP4";
  const char* rear = "2021_0105_101500_0002R.MP4";
  for (const char* name : {front, rear}) std::ofstream(dir.path() / name).put('x');
  DropClip(rear);
  EXPECT_EQ(player.log, std::vector<std::string>{"play " + Clip(front)});
  ASSERT_EQ(followerPlayers.size(), 1u);
  FakePlayer& follower = *followerPlayers[0];
  EXPECT_EQ(follower.log, std::vector<std::string>{"play " + Clip(rear) + " (no subtitle poll)"});
  EXPECT_TRUE(follower.muted());

  controller.Seek(12.0);
  controller.OnPlayerKey({KeyAction::kSpeedStep, 1});
  EXPECT_EQ(follower.log.back(), "seek 12");
  EXPECT_EQ(follower.speed(), player.speed());
  controller.Pause();
  player.timePosition_ = 12.0;
  follower.timePosition_ = 12.0;
  controller.OnPlayerMessage(kPlayerPosition);  // the leader's answer: the follower pauses too
  EXPECT_EQ(follower.state(), PlayerState::Paused);
  controller.OnPlayerKey({KeyAction::kFrameStep, 1});
  EXPECT_EQ(follower.log.back(), "frame +1");

  controller.StopRoutine();
  EXPECT_TRUE(followers.indices().empty()) << "no follower outlives the leader";
  EXPECT_TRUE(followerLog.empty());
}

// After a swap the snapshot is the main picture's: its player takes it and its file is shown,
// marked with the leader's moment (the panel's); a main channel gone from the moment leaves the
// leader's picture, and a reply whose player has gone shows nothing.
TEST_F(ControllerTest, TheSnapshotIsTakenByThePlayerOfTheMainPicture) {
  const char* front = "2021_0105_101500_0001F.MP4";
  const char* rear = "2021_0105_101500_0002R.MP4";
  for (const char* name : {front, rear}) std::ofstream(dir.path() / name).put('x');
  DropClip(front);
  ASSERT_EQ(followerPlayers.size(), 1u);
  FakePlayer& follower = *followerPlayers[0];
  follower.screenshot = "/data/shot0002.png";
  record.year = 2025;
  controller.OnPositionMessage(player.processId(), 1);
  player.log.clear();

  struct Shot {
    int main;
    const char* shown;
  };
  for (const Shot& shot : {Shot{1, "/data/shot0002.png"}, Shot{0, "/data/shot0001.png"},
                           Shot{2, "/data/shot0001.png"}}) {
    mainChannel = shot.main;
    follower.log.clear();
    controller.OnPlayerKey({KeyAction::kSnapshot});
    EXPECT_EQ(follower.log, (shot.main == 1 ? std::vector<std::string>{"screenshot 0"}
                                            : std::vector<std::string>{}))
        << "main channel " << shot.main;
    controller.OnPlayerMessage(kPlayerScreenshot);
    EXPECT_EQ(view.marks.back(), std::string(shot.shown) + " 2025 valid");
    EXPECT_EQ(view.tips.back(), std::string(shot.shown) + " preview");
  }
  EXPECT_THAT(player.log, ElementsAre("pause", "resume", "screenshot 0", "pause", "resume",
                                      "screenshot 0", "pause", "resume"))
      << "the leader holds the moment while the tip shows, and takes only its own picture";

  mainChannel = 1;
  controller.OnClick("btnSShot");
  controller.StopRoutine();  // the follower ends before its reply is handled
  controller.OnPlayerMessage(kPlayerScreenshot);
  EXPECT_EQ(view.tips.size(), 3u);
}

}  // namespace korvane::test
