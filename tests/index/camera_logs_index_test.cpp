// The indexer program on clips whose telemetry is a camera's own log beside them (BlackVue, DJI,
// Escort, 70mai), each generated beside a clip of that camera's name: the row names the source
// and its traits, holds the log's fixes, and goes stale when the log goes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "index/clip_file.h"
#include "index/index_reader.h"
#include "indexer_run.h"
#include "support/camera_log_text.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/blackvue_source.h"
#include "telemetry/dji_srt_source.h"
#include "telemetry/escort_source.h"
#include "telemetry/nmea_sentence.h"
#include "telemetry/seventymai_source.h"

namespace korvane::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFixes = 20;

std::string BlackVueGps() {
  std::string log;
  for (int s = 0; s < kFixes; ++s) {
    log += "[" + std::to_string(1784358209000 + s * 1000) + "]" +
           FormatNmeaSentence("GPRMC,0603" + TwoDigits(29 + s) +
                              ".000,A,5200.0000,N,00010.0000,W,048.0,145.2,180726,,,A") +
           "\n";
  }
  return log;
}

std::string BlackVue3gf() {
  std::string g;
  for (int i = 0; i < kFixes * 10; ++i) {
    const std::uint32_t ms = static_cast<std::uint32_t>(i * 100);
    g += {static_cast<char>(ms >> 24),
          static_cast<char>(ms >> 16),
          static_cast<char>(ms >> 8),
          static_cast<char>(ms),
          0,
          static_cast<char>(128),
          0,
          0,
          0,
          0};
  }
  return g + "\xFF\xFF\xFF\xFF";
}

std::string DjiSrt() {
  return DjiSrtText(kFixes);
}

std::string EscortMap() {
  return EscortMapText(kFixes);
}

std::string SeventyMaiLog() {
  std::string log = "$V02\n";
  for (int s = 0; s < kFixes; ++s) {
    log += std::to_string(1783850132 + s) +
           ",A,50.000000,9.000000,30,90,100,-5,-12,NO20260712-195504-000000F.MP4,0,0,0\n";
    log += std::to_string(1783850232 + s) +
           ",A,51.000000,9.000000,30,90,100,-5,-12,NO20260712-195604-000001F.MP4,0,0,0\n";
  }
  return log;
}

struct CameraLog {
  const char* name;
  const char* clip;
  std::vector<std::pair<const char*, std::function<std::string()>>> files;
  std::string_view source;
  SourceTraits traits;
};

class CameraLogIndex : public testing::TestWithParam<CameraLog> {
 protected:
  TempDir dir;
  std::string db = dir.str() + "index.sqlite";
};

TEST_P(CameraLogIndex, TheRowNamesTheCameraAndGoesStaleWhenItsLogGoes) {
  const CameraLog& c = GetParam();
  const std::string clip = dir.str() + c.clip;
  fs::copy_file(SamplePath("mixed/no_gps.mp4"), clip);
  for (const auto& [name, text] : c.files) WriteFileText(dir.str() + name, text());
  ASSERT_EQ(IndexClips(db, {clip}).exitCode, 0);
  const ClipSummary row = CIndexReader(db).GetClip(clip);
  ASSERT_EQ(row.status, ClipStatus::Indexed) << row.reason;
  EXPECT_EQ(row.source, c.source);
  EXPECT_EQ(row.traits, c.traits);
  EXPECT_EQ(row.besideFiles, c.source);
  EXPECT_EQ(row.pointCount, kFixes) << row.reason;
  EXPECT_EQ(row.reason, "");
  std::string factsError;
  EXPECT_TRUE(IsStoredRowCurrent(row, factsError)) << factsError;
  for (const auto& file : c.files) fs::remove(dir.str() + file.first);
  EXPECT_FALSE(IsStoredRowCurrent(row, factsError)) << "the log went";
}

INSTANTIATE_TEST_SUITE_P(Cameras, CameraLogIndex,
                         testing::Values(CameraLog{"BlackVue",
                                                   "20260718_060329_NF.mp4",
                                                   {{"20260718_060329_N.gps", BlackVueGps},
                                                    {"20260718_060329_N.3gf", BlackVue3gf}},
                                                   kBlackVueSource,
                                                   {true, SourceClock::Receiver, false, false}},
                                         CameraLog{"Dji",
                                                   "DJI_0001.MP4",
                                                   {{"DJI_0001.SRT", DjiSrt}},
                                                   kDjiSrtSource,
                                                   {false, SourceClock::Camera, false, false}},
                                         CameraLog{"Escort",
                                                   "MOVI0001.MP4",
                                                   {{"MOVI0001.map", EscortMap}},
                                                   kEscortSource,
                                                   {true, SourceClock::Receiver, false, false}},
                                         CameraLog{"SeventyMai",
                                                   "NO20260712-195604-000001F.MP4",
                                                   {{"GPSData000001.txt", SeventyMaiLog}},
                                                   kSeventyMaiSource,
                                                   {true, SourceClock::Receiver, false, false}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::test
