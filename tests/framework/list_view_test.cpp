// The multi-column list: its sort and column-width rules, and the control in a skin-built window
// driven with the mouse and keys as a user would.
#include "framework/list_view.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWheelEvent>

#include "support/framework_test_window.h"

namespace DuiLib {
namespace {

using korvane::test::KeyClick;
using korvane::test::MouseClick;
using korvane::test::SendMouse;
using korvane::test::TestSkinWindow;

ListViewCell Text(std::string text) {
  return {std::move(text), std::nullopt};
}

ListViewRow Row(std::uintptr_t tag, std::vector<ListViewCell> cells) {
  return ListViewRow{std::move(cells), tag};
}

struct SortCase {
  const char* name;
  int column;
  bool descending;
  std::vector<int> expected;
};

class ListViewSort : public ::testing::TestWithParam<SortCase> {};

// Column 0: numbers with keys whose texts sort otherwise ("9 km" < "10 km" by number only);
// column 1: texts with a tie; row 3 has no second cell.
TEST_P(ListViewSort, OrdersRowsByTheColumn) {
  const std::vector<ListViewRow> rows = {
      Row(0, {{"10 km", 10.0}, Text("b")}),
      Row(1, {{"9 km", 9.0}, Text("a")}),
      Row(2, {{"9.5 km", 9.5}, Text("b")}),
      Row(3, {{"-", std::nullopt}}),
  };
  EXPECT_EQ(SortedRowOrder(rows, GetParam().column, GetParam().descending), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListViewSort,
    ::testing::Values(
        // A cell without a key compares by text with the others ("-" before digits).
        SortCase{"NumbersAscending", 0, false, {3, 1, 2, 0}},
        SortCase{"NumbersDescending", 0, true, {0, 2, 1, 3}},
        // A missing cell is empty text; equal cells keep the order added, either way round.
        SortCase{"TextsAscendingTiesStable", 1, false, {3, 1, 0, 2}},
        SortCase{"TextsDescendingTiesStable", 1, true, {0, 2, 1, 3}},
        SortCase{"NoSuchColumn", 7, false, {0, 1, 2, 3}},
        SortCase{"Unsorted", -1, false, {0, 1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListViewColumns, GivenWidthsHoldAndTheRestIsSharedToThePixel) {
  EXPECT_EQ(ColumnWidths(std::vector<int>{100, 50}, 4, 301), (std::vector<int>{100, 50, 75, 76}));
  EXPECT_EQ(ColumnWidths(std::vector<int>{0, 50}, 2, 200), (std::vector<int>{150, 50}));
  // More given than room: nothing is left to share, and nothing goes negative.
  EXPECT_EQ(ColumnWidths(std::vector<int>{300, -5}, 3, 200), (std::vector<int>{300, 0, 0}));
  EXPECT_TRUE(ColumnWidths({}, 0, 200).empty());
}

constexpr const char* kSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="400,300">
  <VerticalLayout>
    <ListView name="list" columnwidths="100,150" headerheight="30" itemheight="20"
              itemselectedbkcolor="#FF0000FF" bogus="1" font="abc"/>
  </VerticalLayout>
</Window>)";

class ListViewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(window.CreateHidden(), 0u);
    window.GetWidget()->resize(400, 300);
    window.m_PaintManager.UpdateLayout(true);
    list = static_cast<CListViewUI*>(window.Find("list"));
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->GetInterface("ListView"), nullptr);
    list->SetColumns({{"Date"}, {"Distance", DT_RIGHT}, {"Clips"}});
    for (int i = 0; i < 20; ++i) {
      // Distances 20, 19, … 1: the reverse of the order added.
      list->AddRow(
          Row(static_cast<std::uintptr_t>(100 + i), {Text("day " + std::to_string(i)),
                                                     {std::to_string(20 - i) + " km", 20.0 - i},
                                                     Text(std::to_string(i % 3))}));
    }
  }
  QPoint Middle(const RECT& rc) const {
    return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  }
  void ClickHeader(int x) { MouseClick(window.GetWidget(), QPoint(x, 15)); }
  void DoubleClick(QPoint at) {
    MouseClick(window.GetWidget(), at);
    SendMouse(window.GetWidget(), QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(window.GetWidget(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  std::vector<DuiLib::TNotifyUI> NotesOf(const std::string& type) const {
    std::vector<DuiLib::TNotifyUI> found;
    for (const auto& note : window.notes) {
      if (note.sType == type && note.pSender == list) found.push_back(note);
    }
    return found;
  }

  TestSkinWindow window{kSkin};
  CListViewUI* list = nullptr;
};

TEST_F(ListViewWindow, SkinWidthsPlaceTheColumnsAndMalformedValuesAreIgnored) {
  EXPECT_EQ(list->ColumnAt(5), 0);
  EXPECT_EQ(list->ColumnAt(120), 1);
  EXPECT_EQ(list->ColumnAt(260), 2);  // the third shares what is left
  EXPECT_EQ(list->GetRowRect(1).top - list->GetRowRect(0).top, 20);
  EXPECT_EQ(list->GetHeaderRect().bottom - list->GetHeaderRect().top, 30);
}

TEST_F(ListViewWindow, HeaderClicksSortBothWaysAndTheSelectionFollowsItsRow) {
  ASSERT_TRUE(list->SelectRow(0));  // tag 100, 20 km
  ClickHeader(150);
  EXPECT_EQ(list->GetSortColumn(), 1);
  EXPECT_FALSE(list->IsSortDescending());
  EXPECT_EQ(list->GetRowAt(0)->tag, 119u);  // 1 km
  EXPECT_EQ(list->GetRowAt(list->GetCurSel())->tag, 100u);
  ClickHeader(150);
  EXPECT_TRUE(list->IsSortDescending());
  EXPECT_EQ(list->GetRowAt(0)->tag, 100u);
  EXPECT_EQ(list->GetCurSel(), 0);
  ClickHeader(50);  // another column starts ascending again
  EXPECT_EQ(list->GetSortColumn(), 0);
  EXPECT_FALSE(list->IsSortDescending());
  ASSERT_EQ(NotesOf(DUI_MSGTYPE_HEADERCLICK).size(), 3u);
  EXPECT_EQ(NotesOf(DUI_MSGTYPE_HEADERCLICK)[2].wParam, 0u);
  // A row added now goes where the sort puts it.
  EXPECT_EQ(list->AddRow(Row(7, {Text("day 0a")})), 1);
}

TEST_F(ListViewWindow, ClickSelectsDoubleClickActivatesTheRowUnderTheMouse) {
  ClickHeader(150);  // 1 km first
  DoubleClick(Middle(list->GetRowRect(2)));
  const auto selects = NotesOf(DUI_MSGTYPE_ITEMSELECT);
  const auto activates = NotesOf(DUI_MSGTYPE_ITEMACTIVATE);
  ASSERT_EQ(selects.size(), 1u);  // the second click of the pair selects nothing new
  EXPECT_EQ(selects[0].wParam, 2u);
  ASSERT_EQ(activates.size(), 1u);
  EXPECT_EQ(activates[0].wParam, 2u);
  EXPECT_EQ(list->GetRowAt(2)->tag, 117u);
  // Below the last row and on the header nothing is activated.
  DoubleClick(QPoint(50, 15));
  EXPECT_EQ(NotesOf(DUI_MSGTYPE_ITEMACTIVATE).size(), 1u);
}

TEST_F(ListViewWindow, KeysMoveTheSelectionWithinTheRowsAndScrollItIntoView) {
  MouseClick(window.GetWidget(), Middle(list->GetRowRect(0)));  // takes the keyboard
  KeyClick(window.GetWidget(), Qt::Key_Up);
  EXPECT_EQ(list->GetCurSel(), 0);
  KeyClick(window.GetWidget(), Qt::Key_End);
  EXPECT_EQ(list->GetCurSel(), 19);
  // 20 rows of 20 px under a 30 px header in 300 px: 130 px are out of view.
  EXPECT_EQ(list->GetScrollRange(), 130);
  EXPECT_EQ(list->GetScrollPos(), 130);
  EXPECT_EQ(list->RowAt({10, 299}), 19);
  KeyClick(window.GetWidget(), Qt::Key_Home);
  EXPECT_EQ(list->GetScrollPos(), 0);
  KeyClick(window.GetWidget(), Qt::Key_Return);
  ASSERT_EQ(NotesOf(DUI_MSGTYPE_ITEMACTIVATE).size(), 1u);
  EXPECT_EQ(NotesOf(DUI_MSGTYPE_ITEMACTIVATE)[0].wParam, 0u);
  list->SetScrollPos(100000);
  EXPECT_EQ(list->GetScrollPos(), 130);
}

TEST_F(ListViewWindow, AnEmptyListTakesClicksKeysAndPaintsWithoutRows) {
  list->RemoveAllRows();
  EXPECT_EQ(list->GetRowCount(), 0);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(list->GetRowAt(0), nullptr);
  EXPECT_FALSE(list->SelectRow(0));
  DoubleClick(QPoint(50, 100));
  MouseClick(window.GetWidget(), QPoint(50, 100));
  KeyClick(window.GetWidget(), Qt::Key_Down);
  KeyClick(window.GetWidget(), Qt::Key_Return);
  EXPECT_TRUE(NotesOf(DUI_MSGTYPE_ITEMACTIVATE).empty());
  EXPECT_TRUE(NotesOf(DUI_MSGTYPE_ITEMSELECT).empty());
  EXPECT_FALSE(window.GetWidget()->grab().isNull());
}

}  // namespace
}  // namespace DuiLib
