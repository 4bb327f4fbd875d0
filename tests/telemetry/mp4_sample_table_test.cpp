// The sample table reader: the sample clip's subtitle track and a camera's GPMF track against
// what ffprobe says of their packets, and hand-built tables for the layouts and faults firmware
// writes (several chunk runs, 64-bit offsets, compact sizes, counts past their box, samples
// outside the file).
#include "telemetry/mp4_sample_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/command_output.h"
#include "support/mp4_bytes.h"
#include "support/mp4_data_track.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {
namespace {

std::string Table(const std::vector<std::vector<std::uint64_t>>& rows, int bytes = 4) {
  std::string s = Be(rows.size(), 4);
  for (const auto& row : rows) {
    for (std::uint64_t v : row) s += Be(v, bytes);
  }
  return s;
}

// A file of `payload` bytes of media data, then a `moov` with one `meta` track of format
// "gpmd", timescale 1000, whose sample table boxes are `stbl`.
std::string FileWith(const std::string& stbl, std::size_t payload = 4000) {
  const std::string mdat = Box("mdat", std::string(payload, 'x'));
  const std::string stsd = FullBox("stsd", Be(1, 4) + Box("gpmd", std::string(8, '\0')));
  const std::string minf = Box("minf", Box("stbl", stsd + stbl));
  const std::string mdia = Box("mdia", FullBox("mdhd", Be(0, 8) + Be(1000, 4) + Be(9000, 4)) +
                                           FullBox("hdlr", Be(0, 4) + "meta" + Be(0, 12)) + minf);
  const std::string trak = Box("trak", FullBox("tkhd", Be(0, 8) + Be(7, 4)) + mdia);
  return mdat + Box("moov", trak);
}

struct Bytes {
  std::string file;
  ReadAtFn readAt() const {
    return MemoryReadAt({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  }
};

struct Case {
  const char* name;
  std::string stbl;
  std::vector<std::vector<std::uint64_t>> samples;  // offset, size, start, duration
  const char* problem;                              // a part of it; "" for none
};

class Mp4SampleTableTest : public ::testing::TestWithParam<Case> {};

TEST_P(Mp4SampleTableTest, PlacesEverySampleTheTableHolds) {
  const Case& c = GetParam();
  const Bytes bytes{FileWith(c.stbl)};
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(bytes.file.size(), bytes.readAt(), [](const Mp4TrackHeader&) { return true; });
  ASSERT_EQ(tracks.size(), 1u);
  const Mp4Track& t = tracks[0];
  EXPECT_EQ(t.header.id, 7u);
  EXPECT_TRUE(t.header.HandlerIs("meta"));
  EXPECT_TRUE(t.header.FormatIs("gpmd"));
  EXPECT_EQ(t.header.timescale, 1000u);
  EXPECT_EQ(t.header.duration, 9000u);
  std::vector<std::vector<std::uint64_t>> got;
  for (const Mp4Sample& s : t.samples) got.push_back({s.offset, s.size, s.start, s.duration});
  EXPECT_EQ(got, c.samples);
  if (*c.problem == '\0') {
    EXPECT_EQ(t.problem, "");
  } else {
    EXPECT_NE(t.problem.find(c.problem), std::string::npos) << t.problem;
  }
}

const std::string kSizes = FullBox("stsz", Be(0, 4) + Table({{100}, {200}, {300}, {400}, {500}}));
const std::string kTimes = FullBox("stts", Table({{2, 1000}, {3, 500}}));

INSTANTIATE_TEST_SUITE_P(
    Tables, Mp4SampleTableTest,
    ::testing::Values(
        // Two samples in the first chunk, then one a chunk.
        Case{"ChunkRuns",
             kSizes + kTimes + FullBox("stsc", Table({{1, 2, 1}, {2, 1, 1}})) +
                 FullBox("stco", Table({{16}, {1000}, {2000}, {3000}})),
             {{16, 100, 0, 1000},
              {116, 200, 1000, 1000},
              {1000, 300, 2000, 500},
              {2000, 400, 2500, 500},
              {3000, 500, 3000, 500}},
             ""},
        Case{"WideOffsetsAndOneSize",
             FullBox("stsz", Be(50, 4) + Be(3, 4)) + FullBox("stts", Table({{3, 100}})) +
                 FullBox("stsc", Table({{1, 3, 1}})) + FullBox("co64", Table({{40}}, 8)),
             {{40, 50, 0, 100}, {90, 50, 100, 100}, {140, 50, 200, 100}},
             ""},
        Case{"CompactSizes",
             FullBox("stz2", std::string(3, '\0') + "\x10" + Be(2, 4) + Be(7, 2) + Be(9, 2)) +
                 FullBox("stts", Table({{2, 10}})) + FullBox("stsc", Table({{1, 1, 1}})) +
                 FullBox("stco", Table({{20}, {30}})),
             {{20, 7, 0, 10}, {30, 9, 10, 10}},
             ""},
        // Times end early: the last duration goes on.
        Case{"ShortTimeTable",
             FullBox("stsz", Be(10, 4) + Be(3, 4)) + FullBox("stts", Table({{1, 40}})) +
                 FullBox("stsc", Table({{1, 1, 1}})) + FullBox("stco", Table({{8}, {18}, {28}})),
             {{8, 10, 0, 40}, {18, 10, 40, 40}, {28, 10, 80, 40}},
             ""},
        Case{"CountPastTheBox",
             FullBox("stsz", Be(0, 4) + Be(1'000'000, 4) + Be(10, 4) + Be(20, 4)) +
                 FullBox("stts", Table({{2, 1}})) + FullBox("stsc", Table({{1, 1, 1}})) +
                 FullBox("stco", Table({{8}, {18}})),
             {{8, 10, 0, 1}, {18, 20, 1, 1}},
             "the stsz lists more entries than it holds"},
        Case{"SamplesOutsideTheFile",
             FullBox("stsz", Be(10, 4) + Be(3, 4)) + FullBox("stts", Table({{3, 1}})) +
                 FullBox("stsc", Table({{1, 1, 1}})) +
                 FullBox("stco", Table({{8}, {0xfffffff0}, {4004}})),
             {{8, 10, 0, 1}, {4004, 10, 2, 1}},
             "samples outside the file were dropped"},
        // A run that goes back ends the table there; a run of 4 billion samples holds only
        // the samples stsz lists.
        Case{"RunsOutOfOrder",
             FullBox("stsz", Be(10, 4) + Be(2, 4)) + FullBox("stts", Table({{2, 1}})) +
                 FullBox("stsc", Table({{1, 0xffffffff, 1}, {1, 1, 1}})) +
                 FullBox("stco", Table({{8}})),
             {{8, 10, 0, 1}, {18, 10, 1, 1}},
             "the stsc chunks are out of order"},
        Case{"NoChunks",
             kSizes + kTimes + FullBox("stsc", Table({{1, 1, 1}})),
             {},
             "the chunks hold fewer samples than stsz lists"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Mp4SampleTableTest, ReadsOnlyTheTablesOfTheTracksWanted) {
  const Bytes bytes{FileWith(kSizes + kTimes + FullBox("stsc", Table({{1, 5, 1}})) +
                             FullBox("stco", Table({{16}})))};
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(bytes.file.size(), bytes.readAt(),
                    [](const Mp4TrackHeader& h) { return h.FormatIs("tx3g"); });
  ASSERT_EQ(tracks.size(), 1u);
  EXPECT_TRUE(tracks[0].header.FormatIs("gpmd"));
  EXPECT_TRUE(tracks[0].samples.empty());
}

struct RealTrack {
  const char* name;
  std::string path;
  const char* stream;  // ffprobe's stream specifier for the track
  const char* format;
  // Samples the table lists after the last one ffprobe shows: ffmpeg ends the last cue of a
  // subtitle track with an empty sample (its 2-byte length and no text).
  std::size_t emptyAfter;
};

// A real file's telemetry track, sample by sample as ffprobe reads it, without the video's tables.
void ExpectAgreesWithFfprobe(const RealTrack& c) {
  if (!std::filesystem::exists(c.path)) GTEST_SKIP() << "no " << c.path;
  const std::string probe =
      CommandOutput("ffprobe -v error -select_streams " + std::string(c.stream) +
                    " -show_entries packet=pts_time,pos,size -of csv=p=0 '" + c.path + "'");
  if (probe.empty()) GTEST_SKIP() << "ffprobe gives nothing for " << c.path;
  CMp4File file(c.path);
  ASSERT_TRUE(file.open());
  const std::vector<Mp4Track> tracks = ReadMp4Tracks(
      file.size(), file.readAt(), [&](const Mp4TrackHeader& h) { return h.FormatIs(c.format); });
  const Mp4Track* track = nullptr;
  for (const Mp4Track& t : tracks) {
    if (!t.samples.empty()) track = &t;
  }
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->problem, "");
  std::istringstream lines(probe);
  std::string line;
  std::size_t i = 0;
  for (; std::getline(lines, line); ++i) {
    double pts = 0;
    unsigned long long size = 0, pos = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%llu,%llu", &pts, &size, &pos), 3) << line;
    ASSERT_LT(i, track->samples.size());
    const Mp4Sample& s = track->samples[i];
    EXPECT_EQ(s.offset, pos) << i;
    EXPECT_EQ(s.size, size) << i;
    EXPECT_NEAR(static_cast<double>(track->StartMs(s)), pts * 1000, 1) << i;
  }
  ASSERT_EQ(i + c.emptyAfter, track->samples.size());
  for (; i < track->samples.size(); ++i) EXPECT_EQ(track->samples[i].size, 2u);
  EXPECT_LT(file.bytesRead(), file.size() / 4);
}

class Mp4RealTrackTest : public ::testing::TestWithParam<RealTrack> {};

TEST_P(Mp4RealTrackTest, AgreesWithFfprobe) {
  ExpectAgreesWithFfprobe(GetParam());
}

// The tests' own clip writer, which the readers' generated clips come from, against ffprobe:
// samples of several sizes in two runs of durations, after a video that plays.
TEST(Mp4SampleTableTest, ATrackAddedToAClipReadsAsFfprobeReadsIt) {
  TempDir dir;
  DataTrack track;
  track.timescale = 90000;
  for (int i = 0; i < 12; ++i) {
    track.samples.push_back({std::string(40 + 7 * i, char('a' + i)), i < 8 ? 90000u : 45000u});
  }
  const std::string clip = dir.str() + "with track.mp4";
  ASSERT_TRUE(WriteClipWithDataTrack(SamplePath("mixed/no_gps.mp4"), clip, track));
  ExpectAgreesWithFfprobe({"Written", clip, "d", "gpmd", 0});
  EXPECT_EQ(CommandOutput("ffprobe -v error -select_streams v -count_frames -show_entries "
                          "stream=nb_read_frames -of csv=p=0 '" +
                          clip + "'"),
            CommandOutput("ffprobe -v error -select_streams v -count_frames -show_entries "
                          "stream=nb_read_frames -of csv=p=0 '" +
                          SamplePath("mixed/no_gps.mp4") + "'"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, Mp4RealTrackTest,
    ::testing::Values(RealTrack{"SampleClipCues", DefaultClip(), "s", "tx3g", 1},
                      // A camera's own file: GPMF samples in chunks between the video's.
                      RealTrack{"KarmaGpmf", SourceDir() + "/../shared/corpus/gopro-gpmf/karma.mp4",
                                "3", "gpmd", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::test
