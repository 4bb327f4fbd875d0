// The trips of a folder as the window lists them: the rows and counts built from the index's
// summaries (bad input included), their texts, and the window that lets the user choose one.
#include "ui/trip_rows.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <tuple>

#include "framework/UIlib.h"
#include "settings/localization.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "ui/trips_wnd.h"

namespace korvane {
namespace {

// 2021-01-05 10:15:00 on the camera's clock.
constexpr std::int64_t kMorning = 1609841700;

ClipSummary Clip(std::string path, std::int64_t first, std::int64_t last, double metres = 1000,
                 float maxKmh = 50, ClipStatus status = ClipStatus::Indexed, int points = 10) {
  ClipSummary clip;
  clip.path = std::move(path);
  clip.firstCameraTime = first;
  clip.lastCameraTime = last;
  clip.distanceM = metres;
  clip.maxSpeedKmh = maxKmh;
  clip.status = status;
  clip.pointCount = points;
  return clip;
}

std::vector<std::string> Paths(const std::vector<ClipSummary>& clips) {
  std::vector<std::string> paths;
  for (const ClipSummary& clip : clips) paths.push_back(clip.path);
  return paths;
}

TEST(TripList, NothingIndexedYetListsNoTripAndCountsEveryClip) {
  const std::vector<std::string> folder = {"/c/1_F.mp4", "/c/2_F.mp4", "/c/3_F.mp4"};
  const std::vector<ClipSummary> unknown = {Clip("/c/2_F.mp4", 0, 0, 0, 0, ClipStatus::Unknown)};
  const TripList list = BuildTripList(folder, unknown);
  EXPECT_TRUE(list.trips.empty());
  EXPECT_EQ(list.notIndexed, 3);
  EXPECT_EQ(list.withoutTelemetry, 0);
  EXPECT_TRUE(BuildTripList({}, {}).trips.empty());
}

TEST(TripList, ClipsWithoutUsableTelemetryAreInNoTripAndCounted) {
  const std::vector<ClipSummary> clips = {
      Clip("/c/a_F.mp4", 0, 0, 0, 0, ClipStatus::NoTelemetry, 0),
      Clip("/c/b_F.mp4", 0, 0, 0, 0, ClipStatus::Failed, 0),
      Clip("/c/c_F.mp4", 0, 0, 0, 0, ClipStatus::Indexed, 0),
      Clip("/c/d_F.mp4", 0, 0, 0, 0, ClipStatus::Indexed, 5),  // points, but no real date
      Clip("/c/e_F.mp4", kMorning, kMorning + 60),
  };
  const TripList list = BuildTripList(Paths(clips), clips);
  ASSERT_EQ(list.trips.size(), 1u);
  EXPECT_EQ(list.trips[0].clips, std::vector<std::string>{"/c/e_F.mp4"});
  EXPECT_EQ(list.withoutTelemetry, 4);
  EXPECT_EQ(list.notIndexed, 0);
}

// Summaries come in any order, some with equal or reversed times; front and rear cameras overlap
// and make trips of their own; a summary of a clip outside the folder is not listed.
TEST(TripList, TripsFollowCameraTimeWhateverTheOrderOfTheSummaries) {
  const std::vector<ClipSummary> clips = {
      Clip("/c/0103_F.mp4", kMorning + 130, kMorning + 120, 700, 80),  // last before first
      Clip("/c/0102_F.mp4", kMorning + 65, kMorning + 125, 900, 60),
      Clip("/c/0101_F.mp4", kMorning, kMorning + 60, 1000, 40),
      Clip("/c/0100_F.mp4", kMorning, kMorning + 30, 400, 30),  // same start
      Clip("/c/0101_R.mp4", kMorning, kMorning + 60, 990, 41),
      Clip("/c/0200_F.mp4", kMorning + 3600, kMorning + 3600, 0, 0),  // a trip of one point
  };
  std::vector<std::string> folder = Paths(clips);
  const TripList list = BuildTripList(folder, [&] {
    auto withStranger = clips;
    withStranger.push_back(Clip("/elsewhere/0101_F.mp4", kMorning, kMorning + 60));
    return withStranger;
  }());
  ASSERT_EQ(list.trips.size(), 3u);
  const TripRow& front = list.trips[0];
  EXPECT_EQ(front.clips, (std::vector<std::string>{"/c/0100_F.mp4", "/c/0101_F.mp4",
                                                   "/c/0102_F.mp4", "/c/0103_F.mp4"}));
  EXPECT_EQ(front.start, kMorning);
  EXPECT_EQ(front.end, kMorning + 125);
  // 0101 shares its first half with 0100 and adds only its second.
  EXPECT_DOUBLE_EQ(front.distanceM, 2500);
  EXPECT_FLOAT_EQ(front.maxSpeedKmh, 80);
  EXPECT_EQ(list.trips[1].clips, std::vector<std::string>{"/c/0101_R.mp4"});
  EXPECT_EQ(list.trips[2].clips, std::vector<std::string>{"/c/0200_F.mp4"});
  EXPECT_EQ(list.withoutTelemetry + list.notIndexed, 0);
}

// The folder's offset moves the camera's times, over midnight and the year's end both ways; a GPS
// log's receiver times stay as they are, and so do the trips.
TEST(TripList, TheClockOffsetMovesCameraTimesOnlyAndKeepsTheTrips) {
  constexpr std::int64_t kNewYearsEve = 1798759800;  // 2026-12-31 23:30:00
  std::vector<ClipSummary> clips = {Clip("/c/2330_F.mp4", kNewYearsEve, kNewYearsEve + 60),
                                    Clip("/c/2331_F.mp4", kNewYearsEve + 65, kNewYearsEve + 125),
                                    Clip("/c/2330_L.mp4", kNewYearsEve, kNewYearsEve + 60)};
  clips[2].source = TelemetrySourceKind::NmeaSidecar;
  for (const auto& [seconds, date, times] :
       {std::tuple{14 * 3600, "2027-01-01", "13:30:00 \u2013 13:32:05"},
        std::tuple{-14 * 3600, "2026-12-31", "09:30:00 \u2013 09:32:05"}}) {
    ClockOffsets offsets;
    offsets.Set("/c", seconds);
    const TripList list = BuildTripList(Paths(clips), clips, offsets);
    ASSERT_EQ(list.trips.size(), 2u);
    const bool cameraFirst = list.trips[0].clips.size() == 2;
    const TripRow& camera = list.trips[cameraFirst ? 0 : 1];
    EXPECT_EQ(camera.clips, (std::vector<std::string>{"/c/2330_F.mp4", "/c/2331_F.mp4"}));
    EXPECT_EQ(TripCells(camera)[0], date);
    EXPECT_EQ(TripCells(camera)[1], times);
    EXPECT_EQ(TripCells(list.trips[cameraFirst ? 1 : 0])[1], "23:30:00 \u2013 23:31:00");
  }
}

TEST(TripList, RowTextsAndSortKeys) {
  TripRow row;
  row.clips = {"/c/1.mp4", "/c/2.mp4", "/c/3.mp4"};
  row.start = kMorning;
  row.end = kMorning + 1030;  // 17 min 10 s
  row.distanceM = 12380;
  row.maxSpeedKmh = 88.4f;
  EXPECT_EQ(TripCells(row),
            (std::vector<std::string>{"2021-01-05", "10:15:00 \u2013 10:32:10", "3", "12.4 km",
                                      "00:17:10", "43 km/h", "88 km/h"}));
  const std::vector<double> keys = TripSortKeys(row);
  ASSERT_EQ(keys.size(), 7u);
  EXPECT_DOUBLE_EQ(keys[3], 12380);
  EXPECT_NEAR(keys[5], 43.27, 0.01);
  // One point: no time, so no average, and nothing divides by zero.
  row.end = row.start;
  EXPECT_EQ(TripCells(row)[4], "00:00:00");
  EXPECT_EQ(TripCells(row)[5], "\u2013");
  EXPECT_LT(TripSortKeys(row)[5], 0);
}

TEST(TripsWindow, SummaryLeavesOutZeroCounts) {
  TripList list;
  list.trips.resize(2);
  EXPECT_EQ(CDuiTripsWnd::SummaryText(list, "Trips:", "Without:", "Waiting:"), "Trips: 2");
  list.withoutTelemetry = 3;
  list.notIndexed = 1;
  EXPECT_EQ(CDuiTripsWnd::SummaryText(list, "Trips:", "Without:", "Waiting:"),
            "Trips: 2 \u00B7 Without: 3 \u00B7 Waiting: 1");
  EXPECT_EQ(CDuiTripsWnd::SummaryText(list, "\u884C\u7A0B\uFF1A", "x", "y"),
            "\u884C\u7A0B\uFF1A2 \u00B7 x 3 \u00B7 y 1");
}

class TripsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DuiLib::CPaintManagerUI::SetResourcePath(test::ProgramDir() + "skin/");
    context.programFolder = test::ProgramDir();
    context.settings.languageFile = "english.ini";
    RebuildLanguagePath(context);
    for (int i = 0; i < 3; ++i) {
      TripRow row;
      row.clips = {"/c/" + std::to_string(i) + ".mp4"};
      row.start = kMorning + i * 3600;
      row.end = row.start + 600;
      row.distanceM = 5000 - 2000 * i;  // the first trip is the longest
      list.trips.push_back(row);
    }
  }
  // Runs the window modally; `during` acts on it once it runs. A window still open after five
  // seconds is closed with 99.
  DuiLib::UINT Run(CDuiTripsWnd& window, const std::function<void()>& during) {
    using namespace DuiLib;
    if (window.Create(0, "TripsWnd", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 0, 0, 0) == 0) {
      return 1000;
    }
    QTimer::singleShot(0, window.GetWidget(), during);
    QTimer::singleShot(5000, window.GetWidget(), [&window] { window.Close(99); });
    return window.ShowModal();
  }

  ApplicationContext context;
  TripList list;
};

TEST_F(TripsWindowTest, DoubleClickOnASortedRowChoosesThatTrip) {
  CDuiTripsWnd window(context, list);
  const DuiLib::UINT code = Run(window, [&window] {
    DuiLib::CListViewUI* rows = window.list();
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->GetRowCount(), 3);
    EXPECT_EQ(rows->GetCurSel(), 0);
    rows->SortBy(3, false);  // distance: the shortest, the third trip, first
    const DuiLib::RECT& rc = rows->GetRowRect(0);
    const QPoint at((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    test::MouseClick(window.GetWidget(), at);
    test::SendMouse(window.GetWidget(), QEvent::MouseButtonDblClick, at, Qt::LeftButton,
                    Qt::LeftButton);
  });
  EXPECT_EQ(code, 1u);
  ASSERT_NE(window.chosen(), nullptr);
  EXPECT_EQ(window.chosen()->clips, std::vector<std::string>{"/c/2.mp4"});
}

TEST_F(TripsWindowTest, EscapeChoosesNothingAndAnEmptyListTakesEnter) {
  CDuiTripsWnd window(context, list);
  EXPECT_EQ(Run(window, [&window] { test::KeyClick(window.GetWidget(), Qt::Key_Escape); }),
            static_cast<DuiLib::UINT>(DuiLib::IDCANCEL));
  EXPECT_EQ(window.chosen(), nullptr);

  CDuiTripsWnd empty(context, TripList{});
  EXPECT_EQ(Run(empty,
                [&empty] {
                  test::KeyClick(empty.GetWidget(), Qt::Key_Return);
                  QTimer::singleShot(50, empty.GetWidget(), [&empty] { empty.Close(7); });
                }),
            7u);
  EXPECT_EQ(empty.chosen(), nullptr);
}

}  // namespace
}  // namespace korvane
