#include "framework/list_view.h"

#include <QPainter>
#include <algorithm>
#include <charconv>
#include <numeric>

#include "framework/paint_manager.h"

namespace DuiLib {
namespace {

constexpr int kCellInset = 10;  // text keeps this far from its column's edges
constexpr int kScrollBarWidth = 6;
constexpr int kMinThumbHeight = 16;
constexpr int kWheelRows = 3;
constexpr int kMaxRowHeight = 400;

std::optional<int> ParseCount(std::string_view text, int max) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 0 || value > max) {
    return std::nullopt;
  }
  return value;
}

const ListViewCell* CellOf(const ListViewRow& row, int column) {
  return column < static_cast<int>(row.cells.size()) ? &row.cells[column] : nullptr;
}

// <0, 0, >0 as a sorts before, with or after b.
int CompareCells(const ListViewCell* a, const ListViewCell* b) {
  if (a != nullptr && b != nullptr && a->sortKey && b->sortKey) {
    return *a->sortKey < *b->sortKey ? -1 : (*b->sortKey < *a->sortKey ? 1 : 0);
  }
  const std::string_view ta = a != nullptr ? std::string_view(a->text) : std::string_view();
  const std::string_view tb = b != nullptr ? std::string_view(b->text) : std::string_view();
  return ta.compare(tb);
}

}  // namespace

std::vector<int> SortedRowOrder(std::span<const ListViewRow> rows, int column, bool descending) {
  std::vector<int> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  if (column < 0) return order;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int c = CompareCells(CellOf(rows[a], column), CellOf(rows[b], column));
    return descending ? c > 0 : c < 0;
  });
  return order;
}

std::vector<int> ColumnWidths(std::span<const int> given, int count, int total) {
  std::vector<int> widths(static_cast<std::size_t>(std::max(0, count)), 0);
  int used = 0;
  int shared = 0;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    widths[i] = i < given.size() ? std::max(0, given[i]) : 0;
    used += widths[i];
    shared += widths[i] == 0 ? 1 : 0;
  }
  if (shared == 0) return widths;
  const int rest = std::max(0, total - used);
  const int each = rest / shared;
  int left = shared;
  for (int& width : widths) {
    if (width != 0) continue;
    // The last shared column takes the pixels the division leaves over.
    width = --left == 0 ? rest - each * (shared - 1) : each;
  }
  return widths;
}

CListViewUI::CListViewUI() = default;

void* CListViewUI::GetInterface(std::string_view name) {
  if (name == "ListView") return this;
  return CControlUI::GetInterface(name);
}

void CListViewUI::SetColumns(std::vector<ListViewColumn> columns) {
  columns_ = std::move(columns);
  if (sortColumn_ >= GetColumnCount()) sortColumn_ = -1;
  Resort();
}

int CListViewUI::AddRow(ListViewRow row) {
  rows_.push_back(std::move(row));
  Resort();
  const int added = static_cast<int>(rows_.size()) - 1;
  return static_cast<int>(std::find(order_.begin(), order_.end(), added) - order_.begin());
}

void CListViewUI::RemoveAllRows() {
  rows_.clear();
  order_.clear();
  curSel_ = hot_ = -1;
  scrollY_ = 0;
  Invalidate();
}

const ListViewRow* CListViewUI::GetRowAt(int row) const {
  if (row < 0 || row >= GetRowCount()) return nullptr;
  return &rows_[static_cast<std::size_t>(order_[static_cast<std::size_t>(row)])];
}

void CListViewUI::SortBy(int column, bool descending) {
  if (column < 0 || column >= GetColumnCount()) return;
  sortColumn_ = column;
  descending_ = descending;
  Resort();
}

void CListViewUI::Resort() {
  const int selected = curSel_ >= 0 ? order_[static_cast<std::size_t>(curSel_)] : -1;
  order_ = SortedRowOrder(rows_, sortColumn_, descending_);
  curSel_ =
      selected < 0
          ? -1
          : static_cast<int>(std::find(order_.begin(), order_.end(), selected) - order_.begin());
  hot_ = -1;
  Invalidate();
}

bool CListViewUI::SelectRow(int row) {
  if (row < 0 || row >= GetRowCount()) return false;
  curSel_ = row;
  const RECT list = ListRect();
  const int top = row * itemHeight_;
  const int view = list.bottom - list.top;
  if (top < scrollY_) {
    SetScrollPos(top);
  } else if (top + itemHeight_ > scrollY_ + view) {
    SetScrollPos(top + itemHeight_ - view);
  }
  Invalidate();
  return true;
}

int CListViewUI::GetScrollRange() const {
  const int view = Inner().bottom - GetHeaderRect().bottom;
  return std::max(0, GetRowCount() * itemHeight_ - view);
}

void CListViewUI::SetScrollPos(int y) {
  const int clamped = std::clamp(y, 0, GetScrollRange());
  if (clamped == scrollY_) return;
  scrollY_ = clamped;
  Invalidate();
}

RECT CListViewUI::Inner() const {
  const RECT& pos = GetPos();
  const int border = std::max(0, GetBorderSize());
  return {pos.left + border, pos.top + border, std::max(pos.left + border, pos.right - border),
          std::max(pos.top + border, pos.bottom - border)};
}

RECT CListViewUI::GetHeaderRect() const {
  const RECT inner = Inner();
  return {inner.left, inner.top, inner.right, std::min(inner.bottom, inner.top + headerHeight_)};
}

RECT CListViewUI::ListRect() const {
  const RECT inner = Inner();
  RECT list{inner.left, GetHeaderRect().bottom, inner.right, inner.bottom};
  if (GetScrollRange() > 0) list.right -= kScrollBarWidth;
  return list;
}

RECT CListViewUI::GetRowRect(int row) const {
  if (row < 0 || row >= GetRowCount()) return {};
  const RECT list = ListRect();
  const int top = list.top + row * itemHeight_ - scrollY_;
  return {list.left, top, list.right, top + itemHeight_};
}

int CListViewUI::RowAt(POINT pt) const {
  const RECT list = ListRect();
  if (!PtInRect(list, pt)) return -1;
  const int row = (pt.y - list.top + scrollY_) / itemHeight_;
  return row < GetRowCount() ? row : -1;
}

CDuiString CListViewUI::GetToolTipAt(POINT pt) const {
  const ListViewRow* row = GetRowAt(RowAt(pt));
  return row != nullptr && !row->toolTip.empty() ? row->toolTip : GetToolTip();
}

std::vector<int> CListViewUI::Edges() const {
  const RECT list = ListRect();
  const std::vector<int> widths =
      ColumnWidths(givenWidths_, GetColumnCount(), list.right - list.left);
  std::vector<int> edges{list.left};
  for (const int width : widths) edges.push_back(edges.back() + width);
  return edges;
}

int CListViewUI::ColumnAt(int x) const {
  const std::vector<int> edges = Edges();
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    if (x >= edges[i] && x < edges[i + 1]) return static_cast<int>(i);
  }
  return -1;
}

void CListViewUI::SetAttribute(std::string_view name, std::string_view value) {
  const auto color = [&value](DWORD& field) { field = ParseColor(value); };
  const auto size = [&value](int& field, int max) {
    if (const std::optional<int> parsed = ParseCount(value, max); parsed && *parsed > 0) {
      field = *parsed;
    }
  };
  if (name == "columnwidths") {
    std::vector<int> widths;
    for (std::size_t start = 0; start <= value.size();) {
      std::size_t comma = value.find(',', start);
      if (comma == std::string_view::npos) comma = value.size();
      widths.push_back(ParseCount(value.substr(start, comma - start), 10000).value_or(0));
      start = comma + 1;
    }
    givenWidths_ = std::move(widths);
  } else if (name == "headerheight") {
    size(headerHeight_, kMaxRowHeight);
  } else if (name == "itemheight") {
    size(itemHeight_, kMaxRowHeight);
  } else if (name == "font" || name == "headerfont") {
    if (const std::optional<int> id = ParseCount(value, 1000)) {
      (name == "font" ? font_ : headerFont_) = *id;
    }
  } else if (name == "headerbkcolor") {
    color(headerBkColor_);
  } else if (name == "headertextcolor") {
    color(headerTextColor_);
  } else if (name == "itemtextcolor") {
    color(itemTextColor_);
  } else if (name == "itemhotbkcolor") {
    color(hotBkColor_);
  } else if (name == "itemselectedbkcolor") {
    color(selectedBkColor_);
  } else if (name == "itemaltbkcolor") {
    color(altBkColor_);
  } else if (name == "linecolor") {
    color(lineColor_);
  } else if (name == "scrollbarcolor") {
    color(scrollBarColor_);
  } else {
    CControlUI::SetAttribute(name, value);
  }
  Invalidate();
}

void CListViewUI::Notify(const char* type, WPARAM wParam) {
  if (GetManager() != nullptr) GetManager()->SendNotify(this, type, wParam);
}

void CListViewUI::MoveSelection(int row) {
  if (GetRowCount() == 0) return;
  row = std::clamp(row, 0, GetRowCount() - 1);
  if (row == curSel_) return;
  SelectRow(row);
  Notify(DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(row));
}

void CListViewUI::DoEvent(TEventUI& event) {
  const RECT list = ListRect();
  const int page = std::max(1, (list.bottom - list.top) / itemHeight_);
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      if (PtInRect(GetHeaderRect(), event.ptMouse)) {
        const int column = ColumnAt(event.ptMouse.x);
        if (column < 0) return;
        SortBy(column, column == sortColumn_ && !descending_);
        Notify(DUI_MSGTYPE_HEADERCLICK, static_cast<WPARAM>(column));
      } else if (const int row = RowAt(event.ptMouse); row >= 0) {
        MoveSelection(row);
      } else if (event.ptMouse.x >= list.right && GetScrollRange() > 0) {
        // The scroll bar: a page towards the click.
        const int view = list.bottom - list.top;
        const int thumbMiddle = list.top + view * scrollY_ / std::max(1, GetScrollRange());
        SetScrollPos(scrollY_ + (event.ptMouse.y < thumbMiddle ? -view : view));
      }
      return;
    case UIEVENT_DBLCLICK:
      if (const int row = RowAt(event.ptMouse); row >= 0) {
        SelectRow(row);
        Notify(DUI_MSGTYPE_ITEMACTIVATE, static_cast<WPARAM>(row));
      }
      return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSEENTER:
      if (const int row = RowAt(event.ptMouse); row != hot_) {
        hot_ = row;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      hot_ = -1;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
      SetScrollPos(scrollY_ + (event.wParam == 1 ? -1 : 1) * kWheelRows * itemHeight_);
      return;
    case UIEVENT_KEYDOWN:
      switch (event.chKey) {
        case VK_UP:
          return MoveSelection(curSel_ - 1);
        case VK_DOWN:
          return MoveSelection(curSel_ + 1);
        case VK_PRIOR:
          return MoveSelection(curSel_ - page);
        case VK_NEXT:
          return MoveSelection(curSel_ + page);
        case VK_HOME:
          return MoveSelection(0);
        case VK_END:
          return MoveSelection(GetRowCount() - 1);
        case VK_RETURN:
          if (curSel_ >= 0) Notify(DUI_MSGTYPE_ITEMACTIVATE, static_cast<WPARAM>(curSel_));
          return;
        default:
          break;
      }
      break;
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

void CListViewUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT clipped;
  if (hDC == nullptr || !IntersectRect(&clipped, GetPos(), rcPaint)) return;
  CControlUI::DoPaint(hDC, rcPaint);
  const std::vector<int> edges = Edges();
  const RECT list = ListRect();
  const int first = scrollY_ / itemHeight_;
  const int last = std::min(GetRowCount(), (scrollY_ + list.bottom - list.top) / itemHeight_ + 1);
  // Rows scrolled up under the header are cut at its edge; the clip goes with this paint.
  QPainter& painter = hDC->Painter();
  painter.save();
  RECT area;
  IntersectRect(&area, {list.left, list.top, Inner().right, list.bottom}, clipped);
  hDC->SetClip(area);
  for (int row = first; row < last; ++row) PaintRow(hDC, row, edges);
  if (const int range = GetScrollRange(); range > 0) {
    const int view = list.bottom - list.top;
    const int content = GetRowCount() * itemHeight_;
    const int thumb = std::min(view, std::max(kMinThumbHeight, view * view / content));
    const int top = list.top + (view - thumb) * scrollY_ / range;
    CRenderEngine::DrawRoundRect(
        hDC, {list.right + 1, top, list.right + kScrollBarWidth - 1, top + thumb}, 0, 2, 0,
        scrollBarColor_);
  }
  IntersectRect(&area, Inner(), clipped);
  hDC->SetClip(area);
  PaintHeader(hDC, edges);
  painter.restore();
}

void CListViewUI::PaintHeader(HDC hDC, const std::vector<int>& edges) {
  const RECT header = GetHeaderRect();
  CRenderEngine::DrawColor(hDC, header, headerBkColor_);
  CRenderEngine::DrawColor(hDC, {header.left, header.bottom - 1, header.right, header.bottom},
                           lineColor_);
  for (int column = 0; column < GetColumnCount(); ++column) {
    const ListViewColumn& c = columns_[static_cast<std::size_t>(column)];
    std::string title = c.title;
    if (column == sortColumn_) title += descending_ ? " \u25BC" : " \u25B2";
    const RECT cell{edges[column] + kCellInset, header.top, edges[column + 1] - kCellInset,
                    header.bottom};
    CRenderEngine::DrawText(hDC, GetManager(), cell, title, headerTextColor_, headerFont_,
                            c.align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
}

void CListViewUI::PaintRow(HDC hDC, int row, const std::vector<int>& edges) {
  const RECT rc = GetRowRect(row);
  DWORD background = row % 2 == 1 ? altBkColor_ : 0;
  if (row == hot_) background = hotBkColor_;
  if (row == curSel_) background = selectedBkColor_;
  if (background != 0) CRenderEngine::DrawColor(hDC, rc, background);
  const ListViewRow& data = *GetRowAt(row);
  for (int column = 0; column < GetColumnCount(); ++column) {
    const ListViewCell* cell = CellOf(data, column);
    if (cell == nullptr) break;
    const RECT box{edges[column] + kCellInset, rc.top, edges[column + 1] - kCellInset, rc.bottom};
    CRenderEngine::DrawText(hDC, GetManager(), box, cell->text, itemTextColor_, font_,
                            columns_[static_cast<std::size_t>(column)].align | DT_SINGLELINE |
                                DT_VCENTER | DT_END_ELLIPSIS);
  }
}

}  // namespace DuiLib
