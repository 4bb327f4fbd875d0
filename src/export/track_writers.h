// The writers of the three export formats. They write track by track to a stream, so an export
// of a whole card holds one track in memory, never the card:
//   GPX 1.1    a <trk> per track, a <trkseg> per clip, <ele> where the altitude is known, UTC
//              <time> (with milliseconds where they are not 0) and the speed in m/s as the
//              TrackPointExtension v2 <gpxtpx:speed>;
//   KML 2.2    a Placemark per track holding one <gx:Track>: every <when>, then every <gx:coord>
//              (the altitude 0 where unknown);
//   CSV        the header kCsvHeader and one row per point, the accelerations in g and the
//              altitude (empty where unknown) last.
// XML is built and printed by pugixml. Numbers never depend on the process's locale.
#pragma once
#include <memory>
#include <ostream>

#include "export/export_format.h"
#include "export/export_track.h"

namespace korvane {

inline constexpr char kCsvHeader[] =
    "clip,media_ms,camera_time_utc,lat,lon,speed_kmh,ax_g,ay_g,az_g,alt_m";

class CTrackWriter {
 public:
  virtual ~CTrackWriter() = default;
  // Call Begin once, Write per track (none is fine), End once; the stream's state tells failures.
  virtual void Begin(std::ostream& out) = 0;
  virtual void Write(std::ostream& out, const ExportTrack& track) = 0;
  virtual void End(std::ostream& out) = 0;
};

std::unique_ptr<CTrackWriter> MakeTrackWriter(ExportFormat format);

// A CSV field as RFC 4180 wants it: quoted (quotes doubled) when it holds a comma, quote or line
// break, else as it is.
std::string CsvField(std::string_view text);

}  // namespace korvane
