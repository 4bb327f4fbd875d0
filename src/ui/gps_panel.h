// The GPS panel's texts: date-time, longitude, latitude and speed of the current moment and the
// position status, composed from the language's captions and the live telemetry record.
// Pure text work on the view's texts and flags; the labels are refreshed by the caller.
#pragma once
#include <string>

#include "telemetry/telemetry_record.h"
#include "telemetry/telemetry_text.h"
#include "ui/view_manager.h"

namespace korvane {

struct GpsFlags {
  int& shown;  // 1 once a report has been shown after start-up
  int& valid;  // 1 while the shown line had a position
};

// Every value from the record (the speed in `unit`), every label as caption + value, status
// "GPS"; flags set.
void ShowTelemetryTexts(ViewTexts& texts, GpsFlags flags, const TelemetryRecord& record,
                        SpeedUnit unit = SpeedUnit::Kmh);
// The speed value again in `unit`: the last speed shown, or 0 before any. The caller recomposes
// the labels.
void ShowSpeedIn(ViewTexts& texts, SpeedUnit unit);
// Status "no GPS"; the four labels become their bare captions; the values are kept.
void ShowNoGpsTexts(ViewTexts& texts, GpsFlags flags);
// The status label as the flags say: bare caption until a report was shown.
std::string ComposeStatusLabel(const ViewTexts& texts, int gpsShown, int gpsValid);
// After new captions were read: the four labels from the new captions and the values held, and
// the status label.
void RecomposeLabels(ViewTexts& texts, int gpsShown, int gpsValid);

}  // namespace korvane
