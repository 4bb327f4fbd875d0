#include "ui/trips_wnd.h"

#include "dialogs/dialog_support.h"
#include "framework/file_dialog.h"
#include "framework/ui_edit.h"
#include "framework/ui_label.h"
#include "settings/localization.h"
#include "telemetry/clock_offset.h"
#include "ui/trip_cells.h"

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

// The note after Apply: the window's quiet text colour, or the close button's red for a refusal.
constexpr DWORD kNoteColor = 0xFF98A1AD;
constexpr DWORD kRefusedColor = 0xFFE5484D;

}  // namespace

std::string CDuiTripsWnd::SummaryText(const TripList& trips, std::string_view tripsCaption,
                                      std::string_view noTelemetry, std::string_view notIndexed) {
  const auto count = [](std::string_view caption, std::size_t n) {
    return Captioned(caption, std::to_string(n));
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

std::string CDuiTripsWnd::Text(const char* key) const {
  return ReadLanguageTextOrEnglish(context_, kTripInterfaceSection, key);
}

void CDuiTripsWnd::InitWindow() {
  SetControlText(m_PaintManager, "TripsTitleLabel", Text("IDS_TRIPS"));
  if (CControlUI* line = m_PaintManager.FindControl("ClockOffsetLine")) {
    line->SetVisible(static_cast<bool>(clock_.apply));
  }
  SetControlText(m_PaintManager, kImportButton, Text("IDS_IMPORTGPX"));
  SetControlText(m_PaintManager, "ClockOffsetLabel", Text("IDS_CLOCKOFFSET"));
  SetControlText(m_PaintManager, "ClockOffsetApply", Text("IDS_CLOCKAPPLY"));
  if (CControlUI* edit =
          SetControlText(m_PaintManager, "ClockOffsetEdit", ClockOffsetText(clock_.seconds))) {
    edit->SetToolTip(Text("IDS_CLOCKHINT"));
  }
  list_ = dynamic_cast<CListViewUI*>(m_PaintManager.FindControl("TripList"));
  if (list_ != nullptr) {
    std::vector<ListViewColumn> columns;
    for (const ColumnText& column : kColumns) columns.push_back({Text(column.key), column.align});
    list_->SetColumns(std::move(columns));
  }
  ShowTrips();
  if (list_ != nullptr) m_PaintManager.SetFocus(list_);
}

void CDuiTripsWnd::ShowTrips() {
  SetControlText(
      m_PaintManager, "TripsSummaryLabel",
      SummaryText(trips_, Text("IDS_TRIPCOUNT"), Text("IDS_NOTELEMETRY"), Text("IDS_NOTINDEXED")));
  if (list_ == nullptr) return;
  list_->RemoveAllRows();
  const std::string sourcesCaption = Text("IDS_TRIPSOURCES");
  for (std::size_t i = 0; i < trips_.trips.size(); ++i) {
    const std::vector<std::string> cells = TripCells(trips_.trips[i]);
    const std::vector<double> keys = TripSortKeys(trips_.trips[i]);
    ListViewRow row;
    row.tag = i;
    row.toolTip = TripSourcesTip(trips_.trips[i], sourcesCaption);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      row.cells.push_back({cells[c], c < keys.size() ? std::optional(keys[c]) : std::nullopt});
    }
    list_->AddRow(std::move(row));
  }
  list_->SelectRow(0);
}

void CDuiTripsWnd::ApplyClockOffset() {
  CControlUI* edit = m_PaintManager.FindControl("ClockOffsetEdit");
  auto* note = dynamic_cast<CLabelUI*>(m_PaintManager.FindControl("ClockOffsetNote"));
  if (edit == nullptr || !clock_.apply) return;
  const auto tell = [note](const std::string& text, bool refused) {
    if (note == nullptr) return;
    note->SetTextColor(refused ? kRefusedColor : kNoteColor);
    note->SetText(text);
  };
  const std::optional<int> seconds = ParseClockOffset(edit->GetText());
  if (!seconds) {
    tell(Text("IDS_CLOCKREFUSED"), true);
    return;
  }
  std::string error;
  std::optional<TripList> trips = clock_.apply(*seconds, error);
  if (!trips) {
    tell(Text("IDS_CLOCKNOTSAVED") + " " + error, true);
    return;
  }
  clock_.seconds = *seconds;
  trips_ = std::move(*trips);
  edit->SetText(ClockOffsetText(*seconds));
  if (auto* field = dynamic_cast<CEditUI*>(edit)) field->SetSelAll();
  ShowTrips();
  tell(Text("IDS_CLOCKAPPLIED"), false);
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
  request.title = Text("IDS_IMPORTGPX");
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
  if (msg.pSender != nullptr && msg.pSender->GetName() == "ClockOffsetApply") {
    ApplyClockOffset();
    return;
  }
  CXMLWnd::OnClick(msg);
}

LRESULT CDuiTripsWnd::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
  // Enter in the offset's field applies the offset; it must not also play the selected trip.
  if (uMsg == WM_KEYDOWN && wParam == VK_RETURN && (lParam & KEY_TEXTFIELD) != 0) {
    bHandled = true;
    ApplyClockOffset();
    return 1;
  }
  return CXMLWnd::MessageHandler(uMsg, wParam, lParam, bHandled);
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
