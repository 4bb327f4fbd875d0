#include "export/track_writers.h"

#include <cmath>
#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "export/clip_report.h"
#include "platform/json_text.h"

namespace korvane {
namespace {

constexpr char kIndent[] = "  ";
constexpr char kTracksMark[] = "tracks";
constexpr char kCreator[] = "KORVANE";

// A point's UTC time: whole seconds as ever, a receiver's 10 Hz fix with its milliseconds.
std::string UtcMsText(std::int64_t utcMs) {
  if (utcMs % 1000 == 0) return UtcText(utcMs / 1000);
  return SourceTimeText(utcMs, SourceClock::Receiver);
}

// A document of the skeleton of the output with a comment where the tracks go, printed once and
// cut there: the tracks, each printed from a document of its own, go between the halves.
class CXmlTrackWriter : public CTrackWriter {
 public:
  void Begin(std::ostream& out) override {
    pugi::xml_document skeleton;
    pugi::xml_node declaration = skeleton.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    BuildRoot(skeleton).append_child(pugi::node_comment).set_value(kTracksMark);
    std::ostringstream text;
    skeleton.save(text, kIndent, pugi::format_indent, pugi::encoding_utf8);
    const std::string printed = text.str();
    const std::string mark = std::string("<!--") + kTracksMark + "-->";
    const std::size_t at = printed.find(mark);
    const std::size_t lineStart = printed.rfind('\n', at) + 1;
    const std::size_t lineEnd = printed.find('\n', at);
    out << printed.substr(0, lineStart);
    tail_ = lineEnd == std::string::npos ? std::string() : printed.substr(lineEnd + 1);
  }
  void Write(std::ostream& out, const ExportTrack& track) override {
    pugi::xml_document doc;
    BuildTrack(doc, track);
    for (pugi::xml_node node : doc.children()) {
      node.print(out, kIndent, pugi::format_indent, pugi::encoding_utf8, Depth());
    }
  }
  void End(std::ostream& out) override { out << tail_; }

 protected:
  virtual pugi::xml_node BuildRoot(pugi::xml_document& doc) = 0;  // returns the tracks' parent
  virtual void BuildTrack(pugi::xml_node parent, const ExportTrack& track) = 0;
  virtual unsigned Depth() const = 0;  // depth of the tracks' parent's children

 private:
  std::string tail_;
};

void AppendText(pugi::xml_node parent, const char* name, const std::string& text) {
  parent.append_child(name).text().set(text.c_str());
}

class CGpxWriter : public CXmlTrackWriter {
 protected:
  pugi::xml_node BuildRoot(pugi::xml_document& doc) override {
    pugi::xml_node gpx = doc.append_child("gpx");
    gpx.append_attribute("version") = "1.1";
    gpx.append_attribute("creator") = kCreator;
    gpx.append_attribute("xmlns") = "http://www.topografix.com/GPX/1/1";
    gpx.append_attribute("xmlns:gpxtpx") =
        "http://www.garmin.com/xmlschemas/TrackPointExtension/v2";
    gpx.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    gpx.append_attribute("xsi:schemaLocation") =
        "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd "
        "http://www.garmin.com/xmlschemas/TrackPointExtension/v2 "
        "http://www.garmin.com/xmlschemas/TrackPointExtensionv2.xsd";
    return gpx;
  }
  void BuildTrack(pugi::xml_node parent, const ExportTrack& track) override {
    pugi::xml_node trk = parent.append_child("trk");
    AppendText(trk, "name", track.name);
    for (const ExportClip& clip : track.clips) {
      pugi::xml_node segment = trk.append_child("trkseg");
      for (const ExportPoint& p : clip.points) {
        pugi::xml_node point = segment.append_child("trkpt");
        point.append_attribute("lat") = FixedText(p.latitude, 7).c_str();
        point.append_attribute("lon") = FixedText(p.longitude, 7).c_str();
        if (std::isfinite(p.altitudeM)) AppendText(point, "ele", FixedText(p.altitudeM, 1));
        AppendText(point, "time", UtcMsText(p.utcTimeMs));
        pugi::xml_node extension =
            point.append_child("extensions").append_child("gpxtpx:TrackPointExtension");
        AppendText(extension, "gpxtpx:speed", FixedText(p.speedKmh / 3.6, 3));
      }
    }
  }
  unsigned Depth() const override { return 1; }
};

class CKmlWriter : public CXmlTrackWriter {
 protected:
  pugi::xml_node BuildRoot(pugi::xml_document& doc) override {
    pugi::xml_node kml = doc.append_child("kml");
    kml.append_attribute("xmlns") = "http://www.opengis.net/kml/2.2";
    kml.append_attribute("xmlns:gx") = "http://www.google.com/kml/ext/2.2";
    pugi::xml_node document = kml.append_child("Document");
    AppendText(document, "name", kCreator);
    return document;
  }
  void BuildTrack(pugi::xml_node parent, const ExportTrack& track) override {
    pugi::xml_node placemark = parent.append_child("Placemark");
    AppendText(placemark, "name", track.name);
    pugi::xml_node gxTrack = placemark.append_child("gx:Track");
    for (const ExportClip& clip : track.clips) {
      for (const ExportPoint& p : clip.points) AppendText(gxTrack, "when", UtcMsText(p.utcTimeMs));
    }
    for (const ExportClip& clip : track.clips) {
      for (const ExportPoint& p : clip.points) {
        // The altitude "0" as ever where it is unknown.
        const std::string altitude =
            std::isfinite(p.altitudeM) && p.altitudeM != 0 ? FixedText(p.altitudeM, 1) : "0";
        AppendText(gxTrack, "gx:coord",
                   FixedText(p.longitude, 7) + " " + FixedText(p.latitude, 7) + " " + altitude);
      }
    }
  }
  unsigned Depth() const override { return 2; }
};

class CCsvWriter : public CTrackWriter {
 public:
  void Begin(std::ostream& out) override { out << kCsvHeader << '\n'; }
  void Write(std::ostream& out, const ExportTrack& track) override {
    for (const ExportClip& clip : track.clips) {
      const std::string name = CsvField(clip.name);
      for (const ExportPoint& p : clip.points) {
        out << name << ',' << p.mediaMs << ',' << UtcMsText(p.utcTimeMs) << ','
            << FixedText(p.latitude, 7) << ',' << FixedText(p.longitude, 7) << ','
            << FixedText(p.speedKmh, 2) << ',';
        if (clip.hasGSensor) {
          out << FixedText(p.gX, 4) << ',' << FixedText(p.gY, 4) << ',' << FixedText(p.gZ, 4);
        } else {
          out << ",,";  // a source without a G-sensor: empty, not readings
        }
        out << ',' << (std::isfinite(p.altitudeM) ? FixedText(p.altitudeM, 1) : std::string())
            << '\n';
      }
    }
  }
  void End(std::ostream&) override {}
};

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::unique_ptr<CTrackWriter> MakeTrackWriter(ExportFormat format) {
  switch (format) {
    case ExportFormat::Kml:
      return std::make_unique<CKmlWriter>();
    case ExportFormat::Csv:
      return std::make_unique<CCsvWriter>();
    case ExportFormat::Gpx:
      break;
  }
  return std::make_unique<CGpxWriter>();
}

}  // namespace korvane
