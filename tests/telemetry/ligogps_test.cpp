// The LIGOGPS family: the line decoder on its fields and impossible values, the trailer walk on
// generated trailers and their faults (a trailer of 2 GB of zeros, lines of 1 MB, sizes that
// point anywhere), and the corpus files pinned to what was decoded by hand from their bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "corpus_sidecar.h"
#include "source_read.h"
#include "support/dashcam_track_bytes.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/ligogps_trailer.h"

namespace korvane::test {
namespace {

const std::string kLine =
    "2026/08/03 11:34:53 N:48.100000 W:002.100000 19.0 km/h x:0.00 y:0.00 z:0.00 A:212.0 "
    "H:173.0 M:0.0";

struct LineCase {
  const char* name;
  std::string line;
  bool reads;
};

class LigoGpsLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LigoGpsLineTest, ReadsOnlyRealMomentsAndPositions) {
  EXPECT_EQ(DecodeLigoGpsLine(GetParam().line).has_value(), GetParam().reads);
}

std::string With(const std::string& from, const std::string& to) {
  std::string s = kLine;
  return s.replace(s.find(from), from.size(), to);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LigoGpsLineTest,
    ::testing::Values(LineCase{"AsWritten", kLine, true},
                      LineCase{"SouthEast", With("N:48.1", "S:48.1").replace(32, 1, "E"), true},
                      LineCase{"TagsLeftOut", kLine.substr(0, 54), true},
                      LineCase{"FebruaryThirtieth", With("08/03", "02/30"), false},
                      LineCase{"MonthThirteen", With("08/03", "13/03"), false},
                      LineCase{"HourTwentyFour", With("11:34", "24:34"), false},
                      LineCase{"LatitudePastThePole", With("N:48.1", "N:98.1"), false},
                      LineCase{"NoHemisphere", With("N:48.1", "Q:48.1"), false},
                      LineCase{"NegativeSpeed", With(" 19.0", " -19.0"), false},
                      LineCase{"NoUnit", With("km/h", "mph"), false},
                      LineCase{"BadTagValue", With("A:212.0", "A:high"), false},
                      LineCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LigoGpsLineSignTest, WestIsNegativeAndZeroZeroIsNoFix) {
  EXPECT_DOUBLE_EQ(DecodeLigoGpsLine(kLine)->longitude, -2.1);
  EXPECT_TRUE(DecodeLigoGpsLine(kLine)->fix);
  EXPECT_FALSE(DecodeLigoGpsLine(With("N:48.100000 W:002.100000", "N:0.0 E:0.0"))->fix);
}

std::span<const std::uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::vector<std::string> Drive(int seconds) {
  std::vector<std::string> lines;
  for (int s = 0; s < seconds; ++s) lines.push_back(LigoGpsDriveLine(s));
  return lines;
}

struct TrailerCase {
  const char* name;
  std::string trailer;
  LigoGpsKind kind;
  int records, skipped;
  const char* problem;
};

class LigoGpsTrailerTest : public ::testing::TestWithParam<TrailerCase> {};

TEST_P(LigoGpsTrailerTest, FindsTheBlockByItsEndAndReadsItsLinesBounded) {
  const TrailerCase& c = GetParam();
  const std::string file = ReadFileText(SamplePath("mixed/no_gps.mp4")) + c.trailer;
  std::uint64_t read = 0;
  const ReadAtFn memory = MemoryReadAt(Span(file));
  const LigoGpsTrack track =
      ReadLigoGpsFile(file.size(), [&](std::uint64_t at, std::span<std::uint8_t> out) {
        read += out.size();
        return memory(at, out);
      });
  EXPECT_EQ(track.kind, c.kind);
  EXPECT_EQ(static_cast<int>(track.records.size()), c.records);
  EXPECT_EQ(track.skipped, c.skipped);
  EXPECT_NE(track.problem.find(c.problem), std::string::npos) << track.problem;
  // Box headers, the block's ends and 256 bytes a line at most: never the whole trailer.
  EXPECT_LE(read, 4096u + 256u * static_cast<unsigned>(track.lines)) << c.name;
}

std::string Broken(std::string trailer, std::size_t at, std::uint32_t value) {
  PutBe(trailer, at, value);
  return trailer;
}

const std::string kFive = LigoGpsTrailer(Drive(5));

INSTANTIATE_TEST_SUITE_P(
    Trailers, LigoGpsTrailerTest,
    ::testing::Values(
        TrailerCase{"AsWritten", kFive, LigoGpsKind::Plain, 5, 0, ""},
        TrailerCase{"PlainBlockAlone", LigoGpsBlock(Drive(3), true), LigoGpsKind::Plain, 3, 0, ""},
        TrailerCase{"EncryptedBlockOnly", LigoGpsBlock({"x"}, false), LigoGpsKind::Encrypted, 0, 0,
                    ""},
        TrailerCase{"OneBadLine", LigoGpsTrailer({LigoGpsDriveLine(0), "2026/13/40 junk"}),
                    LigoGpsKind::Plain, 1, 1, ""},
        TrailerCase{
            "LinesOfOneMegabyte",
            LigoGpsTrailer({std::string(1 << 20, '7'), std::string(1 << 20, '7')}, (1 << 20) + 4),
            LigoGpsKind::Plain, 0, 2, ""},
        // The count sets the slot size, so a count that lies leaves no line to read.
        TrailerCase{"MoreLinesThanItHolds", Broken(kFive, kFive.size() - 5 * 132 - 12, 900'000),
                    LigoGpsKind::Plain, 0, 132, "more lines than it holds"},
        TrailerCase{"SizePointingIntoTheMovie", Broken(kFive, kFive.size() - 4, 1'000'000),
                    LigoGpsKind::None, 0, 0, ""},
        TrailerCase{"SizeAtNoBlock", Broken(kFive, kFive.size() - 4, 100), LigoGpsKind::None, 0, 0,
                    ""},
        TrailerCase{"NoTrailer", "", LigoGpsKind::None, 0, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LigoGpsZerosTest, ATrailerOfTwoGigabytesOfZerosIsRefusedByItsLastBytes) {
  TempDir dir;
  const std::string clip = dir.str() + "zeros.mp4";
  std::filesystem::copy_file(SamplePath("mixed/no_gps.mp4"), clip);
  const auto size = std::filesystem::file_size(clip);
  std::filesystem::resize_file(clip, size + (2ull << 30));  // sparse: no disk used
  const CMp4File file(clip);
  const LigoGpsTrack track = ReadLigoGpsFile(file.size(), file.readAt());
  EXPECT_EQ(track.kind, LigoGpsKind::None);
  EXPECT_LT(file.bytesRead(), 8192u);
}

constexpr const char* kBeferich = "ligogps/beferich-j18-trailer-real-anonymized.mp4";

// 180 lines in 132-byte slots after an encrypted block; 11:36:24 is written twice and 11:35:16
// not at all, as the camera wrote them. Decoded by hand from the bytes.
TEST(LigoGpsCorpusTest, TheBeferichTrailerGivesItsOneHundredEightyLines) {
  KORVANE_NEED_CORPUS(kBeferich);
  const CMp4File file(CorpusFile(kBeferich));
  const LigoGpsTrack track = ReadLigoGpsFile(file.size(), file.readAt());
  EXPECT_EQ(track.kind, LigoGpsKind::Plain);
  EXPECT_EQ(track.lines, 180);
  EXPECT_EQ(track.fixes, 180);
  EXPECT_EQ(track.skipped, 0);
  EXPECT_FALSE(track.gValues);
  ASSERT_EQ(track.records.size(), 180u);
  const TelemetryRecord& first = track.records.front();
  EXPECT_EQ(first.mediaTimeMs, 0);
  EXPECT_EQ(CivilOf(first), std::make_tuple(2026, 8, 3, 11, 34, 53));
  EXPECT_DOUBLE_EQ(first.latitude, 48.1);
  EXPECT_DOUBLE_EQ(first.longitude, -2.1);
  EXPECT_FLOAT_EQ(first.speedKmh, 19.0f);
  EXPECT_FLOAT_EQ(first.altitudeM, 212.0f);
  EXPECT_FLOAT_EQ(first.headingDeg, 173.0f);
  const TelemetryRecord& last = track.records.back();
  EXPECT_EQ(last.mediaTimeMs, 179'000);
  EXPECT_EQ(std::make_tuple(+last.hour, +last.minute, +last.second), std::make_tuple(11, 37, 52));
  EXPECT_DOUBLE_EQ(last.latitude, 48.100179);
  EXPECT_DOUBLE_EQ(last.longitude, -2.100179);
  EXPECT_FLOAT_EQ(last.speedKmh, 29.0f);
  EXPECT_FLOAT_EQ(last.altitudeM, 230.0f);
  EXPECT_FLOAT_EQ(last.headingDeg, 159.0f);
  EXPECT_LT(file.bytesRead(), 32'000u);  // of 2.4 MB
}

TEST(LigoGpsCorpusTest, TheEncryptedKindsAreRecognisedNotRead) {
  for (const char* name : {"ligogps/carcam-4ch-front.mp4", "ligogps/juscar-real-anonymized.TS"}) {
    KORVANE_NEED_CORPUS(name);
    const CMp4File file(CorpusFile(name));
    const LigoGpsTrack track = ReadLigoGpsFile(file.size(), file.readAt());
    EXPECT_EQ(track.kind, LigoGpsKind::Encrypted) << name;
    EXPECT_TRUE(track.records.empty()) << name;
  }
}

}  // namespace
}  // namespace korvane::test
