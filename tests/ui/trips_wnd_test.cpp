// The Trips window: the texts and sort keys of a trip's row, and the window that lets the user
// choose one.
#include "ui/trips_wnd.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "framework/UIlib.h"
#include "settings/localization.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "ui/trip_cells.h"

namespace korvane {
namespace {

// 2021-01-05 10:15:00 on the camera's clock.
constexpr std::int64_t kMorning = 1609841700;

TEST(TripCells, RowTextsAndSortKeys) {
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

// Over each row the window names the families its clips were read from, after the language's
// caption, whatever the order on screen; over the header there is no tip.
TEST_F(TripsWindowTest, EachRowsTipNamesTheFamiliesItsClipsWereReadFrom) {
  list.trips[0].sources = {"novatek", "nmea", "novatek"};
  list.trips[1].sources = {"subtitle"};
  list.trips[2].sources = {"gpmf-v2"};
  CDuiTripsWnd window(context, list);
  std::vector<std::string> tips;
  std::string headerTip = "unset";
  Run(window, [&] {
    DuiLib::CListViewUI* rows = window.list();
    ASSERT_NE(rows, nullptr);
    rows->SortBy(3, false);  // distance: the third trip first
    for (int row = 0; row < rows->GetRowCount(); ++row) {
      const DuiLib::RECT rc = rows->GetRowRect(row);
      tips.push_back(window.m_PaintManager.GetToolTipAt({(rc.left + rc.right) / 2, rc.top + 2}));
    }
    const DuiLib::RECT header = rows->GetHeaderRect();
    headerTip = window.m_PaintManager.GetToolTipAt({header.left + 5, header.top + 5});
    window.Close(0);
  });
  EXPECT_EQ(tips, (std::vector<std::string>{
                      "Read from: gpmf-v2", "Read from: Camera subtitle track",
                      "Read from: Novatek GPS blocks (Viofo, 2E, SilverStone, Vantrue, 70mai); "
                      "NMEA log beside the clip"}));
  EXPECT_EQ(headerTip, "");
}

}  // namespace
}  // namespace korvane
