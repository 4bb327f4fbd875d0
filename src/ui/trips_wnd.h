// CDuiTripsWnd: the modal list of the trips of a folder ("Trips.xml"): one row per trip, sortable
// by any column, and under it how many trips there are and how many clips are in none. A double
// click or Enter on a row closes the window with 1 and chosen() naming the trip; the import button
// asks for a GPX file and, given one, closes the window with kTripsImportTrack and trackToImport()
// naming it (the window imports nothing itself); Escape and the close button close it with another
// code and neither.
#pragma once
#include "framework/list_view.h"
#include "framework/xml_wnd.h"
#include "settings/application_context.h"
#include "ui/trip_rows.h"

namespace korvane {

inline constexpr char kTripsSkin[] = "Trips.xml";
// The code the window closes with when the user chose a GPX file to import.
inline constexpr DuiLib::UINT kTripsImportTrack = 2;

class CDuiTripsWnd : public CXMLWnd {
 public:
  CDuiTripsWnd(const ApplicationContext& context, TripList trips)
      : CXMLWnd(kTripsSkin), context_(context), trips_(std::move(trips)) {}

  const char* GetWindowClassName() const override { return "TripsWnd"; }
  void InitWindow() override;
  void Notify(DuiLib::TNotifyUI& msg) override;
  void OnClick(DuiLib::TNotifyUI& msg) override;
  DuiLib::LRESULT ResponseDefaultKeyEvent(DuiLib::WPARAM wParam) override;

  // The trip chosen, or null when none was.
  const TripRow* chosen() const;
  // The GPX file chosen with the import button; empty when none was.
  const std::string& trackToImport() const { return trackToImport_; }
  DuiLib::CListViewUI* list() const { return list_; }

  // The line under the list, each count after its caption: "Trips: 4 · Clips without telemetry: 2
  // · Not indexed yet: 3", leaving out the counts that are 0 (but never the trips).
  static std::string SummaryText(const TripList& trips, std::string_view tripsCaption,
                                 std::string_view noTelemetry, std::string_view notIndexed);

 private:
  void Choose(int row);
  // The open-file dialog for *.gpx; closes the window when the user picked a file.
  void AskForTrack();

  const ApplicationContext& context_;
  TripList trips_;
  DuiLib::CListViewUI* list_ = nullptr;
  int chosen_ = -1;
  std::string trackToImport_;
};

}  // namespace korvane
