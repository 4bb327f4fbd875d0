#include "ui/gps_panel.h"

#include <cmath>

namespace korvane {

std::string ComposeStatusLabel(const ViewTexts& texts, int gpsShown, int gpsValid) {
  if (gpsShown == 0) return texts.statusCaption;
  return texts.statusCaption + " " + (gpsValid != 0 ? texts.gpsCaption : texts.noGpsCaption);
}

namespace {

void ComposeValueLabels(ViewTexts& t) {
  t.timeLabel = t.timeCaption + " " + t.dateTimeValue;
  t.longitudeLabel = t.longitudeCaption + t.longitudeValue;
  t.latitudeLabel = t.latitudeCaption + t.latitudeValue;
  t.speedLabel = t.speedCaption + t.speedValue;
}

void ComposeBareLabels(ViewTexts& t) {
  t.timeLabel = t.timeCaption;
  t.longitudeLabel = t.longitudeCaption;
  t.latitudeLabel = t.latitudeCaption;
  t.speedLabel = t.speedCaption;
}

}  // namespace

void ShowTelemetryTexts(ViewTexts& t, GpsFlags flags, const TelemetryRecord& r, SpeedUnit unit) {
  t.dateTimeValue = FormatDateTime(r);
  t.longitudeValue = FormatDegrees(r.lonHemisphere, r.lonDegrees, r.lonMinutes, r.lonSeconds);
  t.latitudeValue = FormatDegrees(r.latHemisphere, r.latDegrees, r.latMinutes, r.latSeconds);
  t.speedKmh = r.speedKmh;
  t.speedValue = FormatSpeed(r.speedKmh, unit);
  ComposeValueLabels(t);
  flags.shown = 1;
  flags.valid = 1;
  t.statusLabel = ComposeStatusLabel(t, 1, 1);
}

void ShowSpeedIn(ViewTexts& t, SpeedUnit unit) {
  // Before any report the value is the start-up " 0 km/h" in the new unit.
  t.speedValue = std::isnan(t.speedKmh) ? std::string(" 0 ") + SpeedUnitSymbol(unit)
                                        : FormatSpeed(t.speedKmh, unit);
}

void ShowNoGpsTexts(ViewTexts& t, GpsFlags flags) {
  flags.shown = 1;
  flags.valid = 0;
  t.statusLabel = ComposeStatusLabel(t, 1, 0);
  ComposeBareLabels(t);
}

void RecomposeLabels(ViewTexts& t, int gpsShown, int gpsValid) {
  // The values held are shown even in the no-GPS state: a language change shows the new captions
  // with the last values, as a user switching languages expects to keep seeing them.
  ComposeValueLabels(t);
  t.statusLabel = ComposeStatusLabel(t, gpsShown, gpsValid);
}

}  // namespace korvane
