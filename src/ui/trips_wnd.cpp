#include "ui/trips_wnd.h"

#include "dialogs/dialog_support.h"
#include "framework/file_dialog.h"
#include "settings/localization.h"

namespace korvane {

using namespace DuiLib;

namespace {

struct ColumnText {
  const char* key;
  UINT align;
};
constexpr char kImportButton[] = "TripsImportGpxButton";

// In the order of TripCells.
constexpr ColumnText kColumns[] = {
    {"IDS_TRIPDATE", DT_LEFT},      {"IDS_TRIPTIME", DT_LEFT},      {"IDS_TRIPCLIPS", DT_RIGHT},
    {"IDS_TRIPDISTANCE", DT_RIGHT}, {"IDS_TRIPDURATION", DT_RIGHT}, {"IDS_TRIPAVERAGE", DT_RIGHT},
    {"IDS_TRIPMAXIMUM", DT_RIGHT},
};

}  // namespace

std::string CDuiTripsWnd::SummaryText(const TripList& trips, std::string_view tripsCaption,
                                      std::string_view noTelemetry, std::string_view notIndexed) {
  // A caption ending in a full-width colon takes its number without a space.
  const auto count = [](std::string_view caption, std::size_t n) {
    const bool wide = caption.ends_with("\uFF1A");
    return std::string(caption) + (wide ? "" : " ") + std::to_string(n);
  };
  std::string text = count(tripsCaption, trips.trips.size());
  if (trips.withoutTelemetry > 0) {
    text += " \u00B7 " + count(noTelemetry, static_cast<std::size_t>(trips.withoutTelemetry));
  }
  if (trips.notIndexed > 0) {
    text += " \u00B7 " + count(notIndexed, static_cast<std::size_t>(trips.notIndexed));
  }
  return text;
}

void CDuiTripsWnd::InitWindow() {
  const auto text = [this](const char* key) {
    return ReadLanguageTextOrEnglish(context_, kTripInterfaceSection, key);
  };
  SetControlText(m_PaintManager, "TripsTitleLabel", text("IDS_TRIPS"));
  SetControlText(
      m_PaintManager, "TripsSummaryLabel",
      SummaryText(trips_, text("IDS_TRIPCOUNT"), text("IDS_NOTELEMETRY"), text("IDS_NOTINDEXED")));
  SetControlText(m_PaintManager, kImportButton, text("IDS_IMPORTGPX"));
  list_ = dynamic_cast<CListViewUI*>(m_PaintManager.FindControl("TripList"));
  if (list_ == nullptr) return;
  std::vector<ListViewColumn> columns;
  for (const ColumnText& column : kColumns) columns.push_back({text(column.key), column.align});
  list_->SetColumns(std::move(columns));
  for (std::size_t i = 0; i < trips_.trips.size(); ++i) {
    const std::vector<std::string> cells = TripCells(trips_.trips[i]);
    const std::vector<double> keys = TripSortKeys(trips_.trips[i]);
    ListViewRow row;
    row.tag = i;
    for (std::size_t c = 0; c < cells.size(); ++c) {
      row.cells.push_back({cells[c], c < keys.size() ? std::optional(keys[c]) : std::nullopt});
    }
    list_->AddRow(std::move(row));
  }
  list_->SelectRow(0);
  m_PaintManager.SetFocus(list_);
}

void CDuiTripsWnd::Choose(int row) {
  const ListViewRow* chosen = list_ != nullptr ? list_->GetRowAt(row) : nullptr;
  if (chosen == nullptr) return;
  chosen_ = static_cast<int>(chosen->tag);
  Close(1);
}

void CDuiTripsWnd::AskForTrack() {
  OpenFileRequest request;
  request.owner = GetHWND();
  request.title = ReadLanguageTextOrEnglish(context_, kTripInterfaceSection, "IDS_IMPORTGPX");
  request.filterText = "GPX";
  request.filterPattern = "*.gpx";
  std::string path;
  if (!ShowOpenFileDialog(request, path)) return;
  trackToImport_ = std::move(path);
  Close(kTripsImportTrack);
}

void CDuiTripsWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_ITEMACTIVATE && msg.pSender == list_) {
    Choose(static_cast<int>(msg.wParam));
    return;
  }

  CXMLWnd::Notify(msg);
}

void CDuiTripsWnd::OnClick(TNotifyUI& msg) {
  if (msg.pSender != nullptr && msg.pSender->GetName() == kImportButton) {
    AskForTrack();
    return;
  }
  CXMLWnd::OnClick(msg);
}

LRESULT CDuiTripsWnd::ResponseDefaultKeyEvent(WPARAM wParam) {
  if (wParam == VK_RETURN) {
    if (list_ != nullptr) Choose(list_->GetCurSel());
    return 1;
  }
  return CXMLWnd::ResponseDefaultKeyEvent(wParam);
}

const TripRow* CDuiTripsWnd::chosen() const {
  if (chosen_ < 0 || chosen_ >= static_cast<int>(trips_.trips.size())) return nullptr;
  return &trips_.trips[static_cast<std::size_t>(chosen_)];
}

}  // namespace korvane
