// CDuiTripsWnd: the modal list of the trips of a folder ("Trips.xml"): one row per trip, sortable
// by any column, under it the folder's camera clock offset, and how many trips there are and how
// many clips are in none. A double click or Enter on a row closes the window with 1 and chosen()
// naming the trip; the import button asks for a GPX file and, given one, closes the window with
// kTripsImportTrack and trackToImport() naming it (the window imports nothing itself); Escape and
// the close button close it with another code and neither. Apply (or Enter in the offset's field)
// sets the offset and lists the trips again as they read with it.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "framework/list_view.h"
#include "framework/xml_wnd.h"
#include "settings/application_context.h"
#include "tracks/trip_rows.h"

namespace korvane {

inline constexpr char kTripsSkin[] = "Trips.xml";
// The code the window closes with when the user chose a GPX file to import.
inline constexpr DuiLib::UINT kTripsImportTrack = 2;

// The folder's camera clock offset as it stands, and what Apply does with a new one: stores it and
// answers the trips as they read with it, or nullopt with the reason when it cannot be stored.
// Without `apply` the offset's line is not shown.
struct TripsClockOffset {
  int seconds = 0;
  // Stores the offset and gives the trips as it makes them; nullopt, with why in the interface's
  // words in `error`, when it could not be stored.
  std::function<std::optional<TripList>(int seconds, std::string& error)> apply;
};

class CDuiTripsWnd : public CXMLWnd {
 public:
  CDuiTripsWnd(const ApplicationContext& context, TripList trips, TripsClockOffset clock = {})
      : CXMLWnd(kTripsSkin),
        context_(context),
        trips_(std::move(trips)),
        clock_(std::move(clock)) {}

  const char* GetWindowClassName() const override { return "TripsWnd"; }
  void InitWindow() override;
  void Notify(DuiLib::TNotifyUI& msg) override;
  void OnClick(DuiLib::TNotifyUI& msg) override;
  DuiLib::LRESULT ResponseDefaultKeyEvent(DuiLib::WPARAM wParam) override;
  DuiLib::LRESULT MessageHandler(DuiLib::UINT uMsg, DuiLib::WPARAM wParam, DuiLib::LPARAM lParam,
                                 bool& bHandled) override;

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
  // The rows and the summary line from trips_.
  void ShowTrips();
  // Takes the offset typed in its field: refused with a message (nothing changes) unless it reads
  // as one (ParseClockOffset), else stored and the trips listed again.
  void ApplyClockOffset();
  std::string Text(const char* key) const;

  const ApplicationContext& context_;
  TripList trips_;
  TripsClockOffset clock_;
  DuiLib::CListViewUI* list_ = nullptr;
  int chosen_ = -1;
  std::string trackToImport_;
};

}  // namespace korvane
