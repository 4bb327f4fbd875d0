// The main window's modal windows: the snapshot preview or snapshot-folder note, the export's
// note, the trips, the settings window and the clear confirmation, each created over the main
// window, centred and run modally.
#pragma once
#include <optional>
#include <string>

#include "platform/window_message.h"
#include "settings/application_context.h"
#include "tracks/trip_rows.h"
#include "ui/trips_wnd.h"

namespace korvane {

// The preview of the picture (width/height 0: read from the file) or, without preview, the note
// of where it was saved.
void ShowSnapshotWindow(ApplicationContext& context, WindowHandle parent, const std::string& path,
                        int width, int height, bool preview);
// The note after an export: `title` over `text` (the file written, or why nothing was).
void ShowExportNote(ApplicationContext& context, WindowHandle parent, const std::string& title,
                    const std::string& text);
// What the user chose in the trips window (which also sets the folder's camera clock offset): a
// trip to play, or a GPX file to import for the folder, or neither.
struct TripsChoice {
  std::optional<TripRow> trip;
  std::string trackToImport;
};
TripsChoice ShowTripsWindow(ApplicationContext& context, WindowHandle parent, TripList trips,
                            TripsClockOffset clock);
// What the settings window's modal loop returned: 1 after OK.
int ShowSettingsWindow(ApplicationContext& context, WindowHandle parent);
// What the clear confirmation returned: 1 when the user wants the list cleared.
int ShowClearTipWindow(ApplicationContext& context, WindowHandle parent);

}  // namespace korvane
