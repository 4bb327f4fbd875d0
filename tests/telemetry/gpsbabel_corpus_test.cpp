// The NMEA logs and GPX tracks of the shared corpus read as GPSBabel reads them: every fix it
// gives (its unicsv track output), with the time to the millisecond, the position to 1e-6° and
// the altitude, and no other. Logs whose checksums an anonymiser broke are held against GPSBabel
// on a copy with the checksums recomputed too. The corpus lies beside the source tree; without
// it these tests are skipped.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/civil_date.h"
#include "telemetry/gpx_track.h"
#include "telemetry/nmea_track.h"

namespace korvane::test {
namespace {

std::string CorpusDir() {
  return SourceDir() + "/../shared/corpus/";
}

// A file name as a test's name.
std::string TestName(std::string name) {
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

struct BabelFix {
  std::int64_t utcMs = 0;
  double latitude = 0.0;
  double longitude = 0.0;
  std::optional<double> altitudeM;
};

std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.emplace_back();
  return fields;
}

// "2010/04/09" and "19:02:27.696" → ms since 1970.
std::int64_t BabelTime(const std::string& date, const std::string& time) {
  const std::int64_t days = DaysFromCivil(std::stoi(date.substr(0, 4)),
                                          static_cast<unsigned>(std::stoi(date.substr(5, 2))),
                                          static_cast<unsigned>(std::stoi(date.substr(8, 2))));
  const double seconds = std::stod(time.substr(6));
  return (days * 86400 + std::stoi(time.substr(0, 2)) * 3600 + std::stoi(time.substr(3, 2)) * 60) *
             1000 +
         std::llround(seconds * 1000);
}

// GPSBabel's unicsv track: a header naming the columns, then one numbered row per fix; its
// messages (a checksum it refused) are other lines.
std::vector<BabelFix> ReadBabel(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = CsvFields(line);
  const auto column = [&](const char* name) {
    return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
  };
  std::vector<BabelFix> fixes;
  while (std::getline(in, line)) {
    if (line.empty() || !std::isdigit(static_cast<unsigned char>(line[0]))) continue;
    const std::vector<std::string> f = CsvFields(line);
    BabelFix fix;
    fix.latitude = std::stod(f.at(column("Latitude")));
    fix.longitude = std::stod(f.at(column("Longitude")));
    fix.utcMs = BabelTime(f.at(column("Date")), f.at(column("Time")));
    if (column("Altitude") < f.size() && !f[column("Altitude")].empty()) {
      fix.altitudeM = std::stod(f[column("Altitude")]);
    }
    fixes.push_back(fix);
  }
  return fixes;
}

// Each fix against GPSBabel's, by its place in the track. `altitudeLag` 1: GPSBabel gives each
// fix the altitude of the one before it (a log that writes each moment's RMC before its GGA).
template <typename Point>
void ExpectSameFixes(const std::vector<Point>& ours, const std::vector<BabelFix>& babel,
                     std::int64_t (*utcOf)(const Point&), std::size_t altitudeLag = 0) {
  ASSERT_EQ(ours.size(), babel.size());
  for (std::size_t i = 0; i < ours.size(); ++i) {
    SCOPED_TRACE("fix " + std::to_string(i + 1));
    EXPECT_EQ(utcOf(ours[i]), babel[i].utcMs);
    EXPECT_NEAR(ours[i].latitude, babel[i].latitude, 1e-6);
    EXPECT_NEAR(ours[i].longitude, babel[i].longitude, 1e-6);
    if (i < altitudeLag) continue;
    const float altitude = ours[i - altitudeLag].altitudeM;
    if (babel[i].altitudeM) {
      EXPECT_NEAR(altitude, *babel[i].altitudeM, 0.051);
    } else {
      EXPECT_TRUE(std::isnan(altitude)) << altitude;
    }
  }
}

// A copy of the log with every sentence's checksum recomputed.
std::string RepairedCopy(const std::string& path, const std::string& folder) {
  std::istringstream in(ReadFileText(path));
  std::string out;
  for (std::string line; std::getline(in, line);) {
    const std::size_t dollar = line.find('$');
    const std::size_t star = line.rfind('*');
    if (dollar != std::string::npos && star != std::string::npos && star > dollar) {
      out += line.substr(0, dollar) +
             FormatNmeaSentence(line.substr(dollar + 1, star - dollar - 1)) + line.substr(star + 3);
    } else {
      out += line;
    }
    out += '\n';
  }
  const std::string copy = folder + std::filesystem::path(path).filename().string();
  WriteFileText(copy, out);
  return copy;
}

struct CorpusLog {
  const char* file;
  bool repaired;  // against GPSBabel on a copy with the checksums recomputed
  // GPSBabel dates a moment's altitude a moment late where its RMC comes before its GGA; ours is
  // the GGA of the moment.
  std::size_t altitudeLag = 0;
};

class NmeaCorpus : public testing::TestWithParam<CorpusLog> {};

TEST_P(NmeaCorpus, GivesTheFixesGpsBabelGives) {
  const CorpusLog& c = GetParam();
  const std::string path = CorpusDir() + "nmea/" + c.file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus at " << CorpusDir();
  TempDir dir;
  const std::optional<NmeaTrack> track =
      ReadNmeaFile(c.repaired ? RepairedCopy(path, dir.str()) : path);
  const std::vector<BabelFix> babel = ReadBabel(CorpusDir() + "reference/nmea__" + c.file +
                                                (c.repaired ? ".babel-repaired-t" : ".babel-t"));
  std::vector<NmeaFix> fixes;
  if (track) {
    std::copy_if(track->fixes.begin(), track->fixes.end(), std::back_inserter(fixes),
                 [](const NmeaFix& f) { return f.valid; });
  }
  ExpectSameFixes<NmeaFix>(
      fixes, babel, [](const NmeaFix& f) { return f.cameraTime * 1000 + f.milliseconds; },
      c.altitudeLag);
}

INSTANTIATE_TEST_SUITE_P(Logs, NmeaCorpus,
                         testing::Values(CorpusLog{"MOV_0581.nmea", false},
                                         CorpusLog{"MOV_0581.nmea", true},
                                         CorpusLog{"amod3080.nmea", false},
                                         CorpusLog{"gpsbabel-subrip-input.nmea", false},
                                         CorpusLog{"gpsbabel-track.nmea", false},
                                         CorpusLog{"mivue-real-anonymized.NMEA", false},
                                         CorpusLog{"mivue-real-anonymized.NMEA", true, 1}),
                         [](const auto& info) {
                           return TestName(std::string(info.param.file) +
                                           (info.param.repaired ? "_repaired" : ""));
                         });

// GPSBabel gives nothing for a log without a date; the clip's date dates it, and the log passes
// midnight once.
TEST(NmeaCorpusLog, WithoutRmcIsDatedByTheClip) {
  const std::string path = CorpusDir() + "nmea/gpsbabel-gga-only.nmea";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus at " << CorpusDir();
  const std::int64_t clipStart = DaysFromCivil(2021, 6, 1) * 86'400'000 + 23 * 3'600'000;
  const std::optional<NmeaTrack> track = ReadNmeaFile(path, clipStart);
  ASSERT_TRUE(track);
  ASSERT_EQ(track->fixes.size(), 500u);
  EXPECT_EQ(track->badSentences, 0);
  const NmeaFix& first = track->fixes.front();
  EXPECT_EQ(first.cameraTime * 1000 + first.milliseconds, clipStart + 56 * 60'000);  // 23:56:00
  EXPECT_NEAR(first.latitude, 50 + 13.476 / 60, 1e-6);
  EXPECT_FLOAT_EQ(first.altitudeM, 468.77f);
  const NmeaFix& last = track->fixes.back();
  EXPECT_EQ(last.cameraTime * 1000 + last.milliseconds,
            DaysFromCivil(2021, 6, 2) * 86'400'000 + 4 * 60'000 + 19'000);  // 00:04:19 next day
}

class GpxCorpus : public testing::TestWithParam<const char*> {};

TEST_P(GpxCorpus, GivesThePointsGpsBabelGives) {
  const std::string path = CorpusDir() + "gpx/" + GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus at " << CorpusDir();
  std::string error;
  const std::optional<GpxTrack> track = ReadGpxFile(path, error);
  ASSERT_TRUE(track) << error;
  EXPECT_EQ(track->untimed + track->badPoints, 0);
  ExpectSameFixes<GpxPoint>(track->points,
                            ReadBabel(CorpusDir() + "reference/gpx__" + GetParam() + ".babel-t"),
                            [](const GpxPoint& p) { return p.utcMs; });
}

INSTANTIATE_TEST_SUITE_P(Tracks, GpxCorpus,
                         testing::Values("garmin-vivosmart-hr.gpx", "garmin_xt_atrk.gpx",
                                         "globalsat_gh625XT.gpx", "gpx_garmin_extensions.gpx",
                                         "mtk_logger_m241.gpx"),
                         [](const auto& info) { return TestName(info.param); });

}  // namespace
}  // namespace korvane::test
