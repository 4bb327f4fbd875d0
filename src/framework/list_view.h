// CListViewUI: a multi-column list (a report view) that draws itself: a header of column titles
// and rows of text cells, one selected row, a row under the mouse, sorting by a click on a column's
// title (a second click on the same title turns the order round) and its own vertical scrolling.
//
// Rows keep the tag their owner gave them, so the owner maps a row back to its data whatever the
// order on screen. Row positions below are positions on screen (after sorting).
//
// Notifications (sender: the list): "itemselect" when the user moves the selection (wParam the
// row), "itemactivate" on a double click or Enter on a row (wParam the row), "headerclick" after a
// click on a title has sorted the rows (wParam the column).
//
// Skin attributes: "columnwidths" ("150,90,…"; columns without a width share what is left),
// "headerheight", "itemheight", "headerbkcolor", "headertextcolor", "itemtextcolor",
// "itemhotbkcolor", "itemselectedbkcolor", "itemaltbkcolor", "linecolor", "scrollbarcolor" (ARGB),
// "font", "headerfont" (font ids); the rest as any control. Malformed values are ignored.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "framework/ui_control.h"

namespace DuiLib {

inline constexpr const char* DUI_MSGTYPE_HEADERCLICK = "headerclick";

struct ListViewColumn {
  std::string title;
  UINT align = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT
};

struct ListViewCell {
  std::string text;
  // Sorts the column by number when both cells compared have one; otherwise the texts compare.
  std::optional<double> sortKey;
};

struct ListViewRow {
  std::vector<ListViewCell> cells;  // a missing cell reads as empty
  std::uintptr_t tag = 0;
  std::string toolTip = {};  // shown over the row; empty: the list's own tip, if any
};

// The order of `rows` sorted by `column`: indexes into `rows`, ascending (or descending), equal
// cells keeping their order. A column no row has sorts nothing (the identity order).
std::vector<int> SortedRowOrder(std::span<const ListViewRow> rows, int column, bool descending);

// The widths of `count` columns across `total` pixels: the given widths in order, the columns
// past them (or given 0) sharing what is left, never below 0.
std::vector<int> ColumnWidths(std::span<const int> given, int count, int total);

class CListViewUI : public CControlUI {
 public:
  CListViewUI();

  const char* GetClass() const override { return "ListViewUI"; }
  void* GetInterface(std::string_view name) override;

  void SetColumns(std::vector<ListViewColumn> columns);
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  // Adds the row where the current sort puts it; returns its position.
  int AddRow(ListViewRow row);
  void RemoveAllRows();
  int GetRowCount() const { return static_cast<int>(order_.size()); }
  // The row at the position; null when out of range.
  const ListViewRow* GetRowAt(int row) const;

  // Sorts by the column (out of range: nothing happens); the selection stays on its row.
  void SortBy(int column, bool descending);
  int GetSortColumn() const { return sortColumn_; }  // -1: in the order added
  bool IsSortDescending() const { return descending_; }

  // Selects the row and scrolls it into view; false (selection unchanged) when out of range.
  // Raises no notification: only the user's changes do.
  bool SelectRow(int row);
  int GetCurSel() const { return curSel_; }

  int GetScrollPos() const { return scrollY_; }
  void SetScrollPos(int y);
  int GetScrollRange() const;

  // Geometry in window coordinates, for hit tests (and the tests).
  RECT GetHeaderRect() const;
  RECT GetRowRect(int row) const;  // empty when out of range
  int RowAt(POINT pt) const;       // -1 outside the rows
  int ColumnAt(int x) const;       // -1 outside the columns
  // The tip of the row under `pt`, else the list's.
  CDuiString GetToolTipAt(POINT pt) const override;

  void SetAttribute(std::string_view name, std::string_view value) override;
  void DoEvent(TEventUI& event) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;

 private:
  RECT Inner() const;     // inside the border
  RECT ListRect() const;  // below the header, left of the scroll bar
  std::vector<int> Edges() const;
  void Resort();
  void MoveSelection(int row);
  void Notify(const char* type, WPARAM wParam);
  void PaintHeader(HDC hDC, const std::vector<int>& edges);
  void PaintRow(HDC hDC, int row, const std::vector<int>& edges);

  std::vector<ListViewColumn> columns_;
  std::vector<int> givenWidths_;
  std::vector<ListViewRow> rows_;  // in the order added
  std::vector<int> order_;         // position on screen → index into rows_
  int sortColumn_ = -1;
  bool descending_ = false;
  int curSel_ = -1;
  int hot_ = -1;
  int scrollY_ = 0;
  int headerHeight_ = 30;
  int itemHeight_ = 28;
  int font_ = -1;
  int headerFont_ = -1;
  DWORD headerBkColor_ = 0xFF111317;
  DWORD headerTextColor_ = 0xFF98A1AD;
  DWORD itemTextColor_ = 0xFFE3E7EC;
  DWORD hotBkColor_ = 0xFF22262D;
  DWORD selectedBkColor_ = 0xFF2A3A55;
  DWORD altBkColor_ = 0xFF1C1F25;
  DWORD lineColor_ = 0xFF2A2F37;
  DWORD scrollBarColor_ = 0x80A0A4AE;
};

}  // namespace DuiLib
