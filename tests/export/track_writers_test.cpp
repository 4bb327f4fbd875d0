// The three writers read back: GPX and KML by gpsbabel (the same points and times), the speed
// extension and the XML's escaping by pugixml, the CSV row by row.
#include "export/track_writers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <pugixml.hpp>
#include <sstream>

#include "support/command_output.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

constexpr std::int64_t kStart = 1779064200;  // 2026-05-18T00:30:00Z
constexpr float kNoAltitude = std::numeric_limits<float>::quiet_NaN();

ExportClip Clip(const std::string& name, int count, std::int64_t start, double lat) {
  ExportClip clip{name, {}};
  for (int i = 0; i < count; ++i) {
    clip.points.push_back(ExportPoint{i * 100, (start + i) * 1000, lat + i * 1e-4, 113.9 - i * 2e-4,
                                      kNoAltitude, 36.0f + i, i * 0.003f, 0.999f,
                                      -1.0f - i * 0.002f});
  }
  return clip;
}

std::vector<ExportTrack> SampleTracks() {
  return {ExportTrack{"trip & <drive>",
                      {Clip("a1.mp4", 5, kStart, 22.5), Clip("a2.mp4", 3, kStart + 60, 22.6)}},
          ExportTrack{"second", {Clip("b.mp4", 4, kStart + 7200, -33.9)}}};
}

std::string Written(ExportFormat format, const std::vector<ExportTrack>& tracks) {
  std::ostringstream out;
  const auto writer = MakeTrackWriter(format);
  writer->Begin(out);
  for (const ExportTrack& track : tracks) writer->Write(out, track);
  writer->End(out);
  return out.str();
}

// gpsbabel's unicsv lines of every point, "lat,lon,date,time", in file order.
std::string BabelPoints(const std::string& path, const char* format) {
  return test::CommandOutput(
      std::string("gpsbabel -t -i ") + format + " -f '" + path +
      "' -o unicsv,utc=0 -F - | tr -d '\\r' | awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) "
      "c[$i] = i; next } { print $c[\"Latitude\"] \",\" $c[\"Longitude\"] \",\" "
      "$c[\"Date\"] \",\" $c[\"Time\"] }'");
}

std::string ExpectedPoints(const std::vector<ExportTrack>& tracks) {
  std::string lines;
  for (const ExportTrack& track : tracks) {
    for (const ExportClip& clip : track.clips) {
      for (const ExportPoint& p : clip.points) {
        char line[128];
        const time_t t = p.utcTimeMs / 1000;
        tm f{};
        gmtime_r(&t, &f);
        std::snprintf(line, sizeof line, "%.6f,%.6f,%04d/%02d/%02d,%02d:%02d:%02d\n", p.latitude,
                      p.longitude, f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min,
                      f.tm_sec);
        lines += line;
      }
    }
  }
  return lines;
}

class XmlWriter : public testing::TestWithParam<ExportFormat> {};

TEST_P(XmlWriter, GpsbabelReadsBackTheSamePointsAndTimes) {
  test::TempDir dir;
  const std::string name = std::string(ExportFormatName(GetParam()));
  const std::string path = dir.str() + "out." + name;
  test::WriteFileText(path, Written(GetParam(), SampleTracks()));
  EXPECT_EQ(BabelPoints(path, name.c_str()), ExpectedPoints(SampleTracks()));

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str())) << test::ReadFileText(path);
  EXPECT_EQ(doc.select_nodes("//name[text()='trip & <drive>']").size(), 1u);
  if (GetParam() == ExportFormat::Gpx) {
    EXPECT_EQ(doc.select_nodes("/gpx/trk").size(), 2u);
    EXPECT_EQ(doc.select_nodes("/gpx/trk/trkseg").size(), 3u);
    const auto speeds = doc.select_nodes("//gpxtpx:TrackPointExtension/gpxtpx:speed");
    ASSERT_EQ(speeds.size(), 12u);
    EXPECT_NEAR(speeds[1].node().text().as_double(), 37.0 / 3.6, 5e-4);  // m/s
  } else {
    EXPECT_EQ(doc.select_nodes("//gx:Track").size(), 2u);
    EXPECT_EQ(doc.select_nodes("//gx:Track/when").size(), 12u);
    EXPECT_EQ(doc.select_nodes("//gx:Track/gx:coord").size(), 12u);
    EXPECT_EQ(doc.select_nodes("//LineString").size(), 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, XmlWriter, testing::Values(ExportFormat::Gpx, ExportFormat::Kml));

TEST(XmlWriter, NoTrackIsStillAWellFormedFile) {
  for (const ExportFormat format : {ExportFormat::Gpx, ExportFormat::Kml}) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(Written(format, {}).c_str()));
  }
}

TEST(CsvWriter, WritesTheHeaderAndOneRowPerPointWithGAndAltitudeLast) {
  const std::string csv = Written(ExportFormat::Csv, SampleTracks());
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "clip,media_ms,camera_time_utc,lat,lon,speed_kmh,ax_g,ay_g,az_g,alt_m");
  std::getline(lines, line);
  std::getline(lines, line);
  EXPECT_EQ(line,
            "a1.mp4,100,2026-05-18T00:30:01Z,22.5001000,113.8998000,37.00,0.0030,0.9990,"
            "-1.0020,");
  int rows = 2;
  while (std::getline(lines, line)) ++rows;
  EXPECT_EQ(rows, 12);
}

TEST(CsvWriter, AClipWithoutGSensorLeavesItsGColumnsEmpty) {
  ExportClip log = Clip("log.mp4", 2, kStart, 38.7);
  log.hasGSensor = false;
  const std::string csv = Written(ExportFormat::Csv, {ExportTrack{"t", {log}}});
  EXPECT_NE(csv.find("\nlog.mp4,100,2026-05-18T00:30:01Z,38.7001000,113.8998000,37.00,,,,\n"),
            std::string::npos)
      << csv;
}

// A receiver's fix at 10 Hz keeps its milliseconds, and a known altitude is written, in each
// format; an unknown one is left out (GPX), 0 (KML) or empty (CSV), as the tracks above show.
TEST(TrackWriters, MillisecondsAndAltitudeWhereKnown) {
  ExportClip clip = Clip("fix.mp4", 1, kStart, 38.7);
  clip.points[0].utcTimeMs += 250;
  clip.points[0].altitudeM = 112.5f;
  const std::vector<ExportTrack> tracks = {ExportTrack{"t", {clip}}};
  const std::string gpx = Written(ExportFormat::Gpx, tracks);
  EXPECT_NE(gpx.find("<ele>112.5</ele>"), std::string::npos) << gpx;
  EXPECT_NE(gpx.find("<time>2026-05-18T00:30:00.250Z</time>"), std::string::npos) << gpx;
  const std::string kml = Written(ExportFormat::Kml, tracks);
  EXPECT_NE(kml.find("<when>2026-05-18T00:30:00.250Z</when>"), std::string::npos) << kml;
  EXPECT_NE(kml.find("<gx:coord>113.9000000 38.7000000 112.5</gx:coord>"), std::string::npos)
      << kml;
  const std::string csv = Written(ExportFormat::Csv, tracks);
  EXPECT_NE(csv.find("\nfix.mp4,0,2026-05-18T00:30:00.250Z,38.7000000,113.9000000,36.00,0.0000,"
                     "0.9990,-1.0000,112.5\n"),
            std::string::npos)
      << csv;
}

}  // namespace
}  // namespace korvane
