// The Novatek family's GPS blocks: the block decoder on each layout and its bad values, the file
// walker on broken boxes and indexes, its bounded reads, and the corpus files pinned to fixes
// decoded by hand from their bytes (the corpus lies beside the source tree; without it those
// tests are skipped).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "support/file_text.h"
#include "support/freegps_clip.h"
#include "support/mp4_bytes.h"
#include "support/sample_paths.h"
#include "telemetry/civil_date.h"
#include "telemetry/freegps_block.h"
#include "telemetry/freegps_file.h"
#include "telemetry/nmea_sentence.h"

namespace korvane::test {
namespace {

std::int64_t Ms(std::int64_t y, unsigned mo, unsigned d, unsigned h, unsigned mi, unsigned s) {
  return SecondsFromCivil({y, mo, d, h, mi, s}) * 1000;
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

ReadAtFn Over(const std::string& file, std::uint64_t* bytesRead = nullptr) {
  return [&file, bytesRead](std::uint64_t at, std::span<std::uint8_t> out) -> std::size_t {
    if (out.empty()) ADD_FAILURE() << "a read of no bytes at " << at;
    if (at >= file.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(out.size(), file.size() - at);
    std::memcpy(out.data(), file.data() + at, n);
    if (bytesRead != nullptr) *bytesRead += n;
    return n;
  };
}

std::string Ftyp() {
  return Box("ftyp", "isom" + std::string(4, '\0'));
}
std::string GpsIndex(const std::vector<std::pair<std::uint64_t, std::uint64_t>>& entries,
                     std::uint64_t count) {
  std::string p = Be32(0x101) + Be32(count);
  for (const auto& [offset, size] : entries) p += Be32(offset) + Be32(size);
  return Box("gps ", p);
}
void PutFloat(std::string& b, std::size_t at, float v) {
  const auto u = std::bit_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(u >> (8 * i));
}

BlockFix Start() {
  BlockFix f;
  f.year = 2026, f.month = 5, f.day = 18, f.hour = 8, f.minute = 30, f.second = 0;
  return f;
}
std::string Drive(int n) {
  std::string blocks;
  for (int i = 0; i < n; ++i) blocks += NovatekBlock(DriveFix(Start(), i));
  return blocks;
}

// ---- the block decoder ----

struct BlockCase {
  const char* name;
  std::string block;
  FreeGpsLayout layout;
  bool hasTime;
  bool fix;
};

std::string WithFloat(std::string block, std::size_t at, float v) {
  PutFloat(block, at, v);
  return block;
}
std::string WithByte(std::string block, std::size_t at, char v) {
  block[at] = v;
  return block;
}

class FreeGpsBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(FreeGpsBlockTest, ReadsWhatTheBlockHolds) {
  const BlockCase& c = GetParam();
  const FreeGpsFix f = DecodeFreeGpsBlock(Bytes(c.block));
  EXPECT_EQ(f.layout, c.layout);
  EXPECT_EQ(f.hasTime, c.hasTime);
  EXPECT_EQ(f.fix, c.fix);
}

BlockFix Month(int month, int day) {
  BlockFix f = Start();
  f.month = month;
  f.day = day;
  return f;
}
BlockFix Void() {
  BlockFix f = Start();
  f.status = 'V';
  return f;
}
const std::string kGood = NovatekBlock(Start());
// A block holding a sentence after zeros, as Vantrue writes it.
std::string NmeaBlock(const std::string& sentence) {
  std::string b = kGood.substr(0, 12) + std::string(92, '\0') + sentence + "\r\n";
  return b + std::string(256 - b.size(), '\0');
}
const std::string kRmc =
    FormatNmeaSentence("GNRMC,180617.000,A,5000.00000,N,03000.00000,E,10.0,45.0,070625,,,A");
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeGpsBlockTest,
    ::testing::Values(
        BlockCase{"Good", kGood, FreeGpsLayout::Novatek, true, true},
        BlockCase{"VoidStatus", NovatekBlock(Void()), FreeGpsLayout::Novatek, true, false},
        BlockCase{"NanLatitude", WithFloat(kGood, 76, kNan), FreeGpsLayout::Novatek, true, false},
        BlockCase{"InfiniteLongitude", WithFloat(kGood, 80, -kInf), FreeGpsLayout::Novatek, true,
                  false},
        BlockCase{"MinutesPastSixty", WithFloat(kGood, 76, 5061.0f), FreeGpsLayout::Novatek, true,
                  false},
        BlockCase{"LatitudePastNinety", WithFloat(kGood, 76, 9100.0f), FreeGpsLayout::Novatek, true,
                  false},
        BlockCase{"NanSpeedKeepsTheFix", WithFloat(kGood, 84, kNan), FreeGpsLayout::Novatek, true,
                  true},
        BlockCase{"MonthThirteen", NovatekBlock(Month(13, 1)), FreeGpsLayout::Novatek, false, true},
        BlockCase{"FebruaryThirtieth", NovatekBlock(Month(2, 30)), FreeGpsLayout::Novatek, false,
                  true},
        BlockCase{"HugeYear", WithByte(kGood, 63, '\x7f'), FreeGpsLayout::Novatek, false, true},
        BlockCase{"NmeaSentence", NmeaBlock(kRmc), FreeGpsLayout::VantrueNmea, true, true},
        BlockCase{"NmeaBadChecksum", NmeaBlock(kRmc.substr(0, kRmc.size() - 2) + "00"),
                  FreeGpsLayout::VantrueNmea, false, false},
        BlockCase{"NmeaCutAtTheEnd", NmeaBlock("").substr(0, 104) + "$GNR", FreeGpsLayout::Unknown,
                  false, false},
        BlockCase{"NoMark", WithByte(kGood, 5, 'X'), FreeGpsLayout::Unknown, false, false},
        BlockCase{"TruncatedBeforeTheRecord", kGood.substr(0, 80), FreeGpsLayout::Unknown, false,
                  false},
        BlockCase{"OnlyTheMark", kGood.substr(0, 12), FreeGpsLayout::Unknown, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FreeGpsBlockTest, GivesTheFixInSignedDegreesAndKmh) {
  BlockFix f = Start();
  f.latitude = -33.8568;
  f.longitude = -151.2153;
  f.knots = 10.0f;
  f.heading = 271.5f;
  const FreeGpsFix fix = DecodeFreeGpsBlock(Bytes(NovatekBlock(f)));
  ASSERT_TRUE(fix.fix);
  EXPECT_EQ(fix.timeMs, Ms(2026, 5, 18, 8, 30, 0));
  EXPECT_NEAR(fix.latitude, -33.8568, 1e-5);
  EXPECT_NEAR(fix.longitude, -151.2153, 1e-5);
  EXPECT_NEAR(fix.speedKmh, 18.52, 1e-4);
  EXPECT_NEAR(fix.headingDeg, 271.5, 1e-4);
}

// ---- the file walker ----

struct FileCase {
  const char* name;
  std::string file;
  int records;
  int fixes;
  bool fromIndex;
  const char* problem;  // a part of the problem text; "" for none
};

class FreeGpsFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(FreeGpsFileTest, FindsTheBlocksItCanAndSaysWhatWasWrong) {
  const FileCase& c = GetParam();
  const FreeGpsBlockList list = FindFreeGpsBlocks(c.file.size(), Over(c.file));
  const FreeGpsTrack track = ReadFreeGpsFile(c.file.size(), Over(c.file), 0);
  EXPECT_EQ(static_cast<int>(track.records.size()), c.records);
  EXPECT_EQ(track.fixes, c.fixes);
  EXPECT_EQ(list.fromIndex, c.fromIndex);
  if (*c.problem == '\0') {
    EXPECT_EQ(track.problem, "");
  } else {
    EXPECT_NE(track.problem.find(c.problem), std::string::npos) << track.problem;
  }
}

const std::string kMoov = Box("moov", Box("mvhd", std::string(100, '\0')));
// ftyp, then the blocks in an mdat, listed by the moov's index.
std::string Indexed(int n, std::uint64_t count) {
  const std::string ftyp = Ftyp();
  const std::string blocks = Drive(n);
  std::vector<std::pair<std::uint64_t, std::uint64_t>> entries;
  for (int i = 0; i < n; ++i) entries.emplace_back(ftyp.size() + 8 + 256 * i, 256);
  return ftyp + Box("mdat", blocks) + Box("moov", GpsIndex(entries, count));
}
// An index whose entries lie at `offset`, before top-level blocks.
std::string IndexAt(std::uint64_t offset) {
  return Ftyp() + Box("moov", GpsIndex({{offset, 256}}, 1)) + Drive(3);
}
std::string WithSizeField(std::string file, std::size_t at, std::uint64_t size) {
  const std::string b = Be32(size);
  file.replace(at, 4, b);
  return file;
}
std::string Times(const std::vector<int>& seconds, const std::vector<char>& status) {
  std::string blocks;
  for (std::size_t i = 0; i < seconds.size(); ++i) {
    BlockFix f = DriveFix(Start(), seconds[i]);
    f.status = status[i];
    blocks += NovatekBlock(f);
  }
  return Ftyp() + blocks + kMoov;
}
const std::size_t kFtyp = Ftyp().size();
const std::string kMdat64 =
    Be32(1) + "mdat" + std::string(4, '\0') + Be32(16 + 1000) + std::string(1000, 'v');

INSTANTIATE_TEST_SUITE_P(
    Cases, FreeGpsFileTest,
    ::testing::Values(
        FileCase{"TopLevelFreeBoxes", Ftyp() + Drive(3) + kMoov, 3, 3, false, ""},
        FileCase{"IndexIntoTheMdat", Indexed(3, 3), 3, 3, true, ""},
        FileCase{"IndexClaimingAMillionBlocks", Indexed(3, 1'000'000), 3, 3, true,
                 "more blocks than it holds"},
        FileCase{"IndexWithoutEntriesFallsBackToTheScan",
                 Ftyp() + Box("moov", GpsIndex({}, 0)) + Drive(3), 3, 3, false, ""},
        FileCase{"IndexOutsideTheFileFallsBackToTheScan", IndexAt(1'000'000'000), 3, 3, false,
                 "outside the file"},
        FileCase{"IndexPointingAtItself", IndexAt(kFtyp + 8), 3, 3, false, "over the index"},
        FileCase{"SizePastTheEndIsCut", WithSizeField(Ftyp() + Drive(3), kFtyp + 512, 1'000'000), 3,
                 3, false, "past the end"},
        FileCase{"SizeZeroRunsToTheEnd", WithSizeField(Ftyp() + Drive(3), kFtyp + 512, 0), 3, 3,
                 false, ""},
        FileCase{"SizeBelowTheHeaderEndsTheWalk", WithSizeField(Ftyp() + Drive(3), kFtyp + 256, 4),
                 1, 1, false, "below its header"},
        FileCase{"SixtyFourBitSizeIsSkipped", Ftyp() + kMdat64 + Drive(3) + kMoov, 3, 3, false, ""},
        FileCase{"TruncatedLastBlock", (Ftyp() + Drive(3)).substr(0, kFtyp + 512 + 60), 2, 2, false,
                 "past the end"},
        FileCase{"VoidStretchHasNoPositions", Times({0, 1, 2, 3}, {'V', 'V', 'A', 'A'}), 4, 2,
                 false, ""},
        FileCase{"NoBlocks", Ftyp() + kMoov, 0, 0, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FreeGpsFileTest, TimesBlocksByTheirOrderAndKeepsTheFirstOfARepeatedSecond) {
  const std::string file = Times({0, 1, 1, 2}, {'A', 'A', 'A', 'A'});
  const FreeGpsTrack track = ReadFreeGpsFile(file.size(), Over(file), 0);
  ASSERT_EQ(track.records.size(), 3u);
  EXPECT_EQ(track.records[1].mediaTimeMs, 1000);
  EXPECT_EQ(track.records[2].mediaTimeMs, 3000);
  EXPECT_NEAR(track.records[1].latitude, 50.4501, 1e-5);  // the first block of second 1
  EXPECT_EQ(track.records[2].second, 2);
}

// A 3 GB clip whose blocks lie in its mdat every 16 MB: only box headers, the index and the
// blocks are read, never the video.
TEST(FreeGpsFileTest, ReadsTheIndexAndTheBlocksButNeverTheVideo) {
  constexpr int kBlocks = 180;
  constexpr std::uint64_t kSpacing = 16ull << 20, kMdat = 1024, kMdatSize = 3ull << 30;
  std::map<std::uint64_t, std::string> parts;  // the file's bytes that are not zeros
  parts[0] = Ftyp();
  parts[kFtyp] = Be32(1) + "mdat" + Be32(kMdatSize >> 32) + Be32(kMdatSize & 0xffffffff);
  std::vector<std::pair<std::uint64_t, std::uint64_t>> entries;
  for (int i = 0; i < kBlocks; ++i) {
    const std::uint64_t at = kMdat + kSpacing * i;
    parts[at] = NovatekBlock(DriveFix(Start(), i));
    entries.emplace_back(at, 256);
  }
  const std::string moov =
      Box("moov", Box("mvhd", std::string(100, '\0')) + GpsIndex(entries, entries.size()));
  const std::uint64_t fileSize = kFtyp + kMdatSize + moov.size();
  parts[kFtyp + kMdatSize] = moov;
  std::uint64_t bytesRead = 0;
  const ReadAtFn readAt = [&](std::uint64_t at, std::span<std::uint8_t> out) -> std::size_t {
    const std::size_t n = std::min<std::uint64_t>(out.size(), fileSize - std::min(at, fileSize));
    std::memset(out.data(), 0, n);
    for (const auto& [offset, bytes] : parts) {
      const std::uint64_t lo = std::max(offset, at), hi = std::min(offset + bytes.size(), at + n);
      if (lo < hi) std::memcpy(out.data() + (lo - at), bytes.data() + (lo - offset), hi - lo);
    }
    bytesRead += n;
    return n;
  };
  const FreeGpsTrack track = ReadFreeGpsFile(fileSize, readAt, 0);
  EXPECT_EQ(track.fixes, kBlocks);
  EXPECT_EQ(track.problem, "");
  EXPECT_LE(bytesRead, 2 * 256 * kBlocks + moov.size());
}

// ---- the corpus ----

std::string CorpusDir() {
  return SourceDir() + "/../shared/corpus/";
}

struct Expected {
  std::int32_t mediaMs;
  std::int64_t timeMs;
  double latitude, longitude, speedKmh;
};

struct CorpusCase {
  const char* name;
  const char* file;
  int records, fixes;
  Expected first, last;  // fixes, with the position to the float's precision
};

class FreeGpsCorpusTest : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(FreeGpsCorpusTest, GivesTheFixesDecodedByHand) {
  const CorpusCase& c = GetParam();
  const std::string path = CorpusDir() + c.file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no corpus at " << CorpusDir();
  const std::string bytes = ReadFileText(path);
  constexpr std::int64_t kStart = 1'783'850'132'000;  // for the blocks without a time
  const FreeGpsTrack track = ReadFreeGpsFile(bytes.size(), Over(bytes), kStart);
  EXPECT_EQ(static_cast<int>(track.records.size()), c.records);
  ASSERT_EQ(track.fixes, c.fixes);
  std::vector<TelemetryRecord> fixes;
  for (const TelemetryRecord& r : track.records) {
    if (r.valid) fixes.push_back(r);
  }
  for (const auto& [got, want] : {std::pair{fixes.front(), c.first}, {fixes.back(), c.last}}) {
    EXPECT_EQ(got.mediaTimeMs, want.mediaMs);
    const std::int64_t timeMs =
        SecondsFromCivil({got.year, got.month, got.day, got.hour, got.minute, got.second}) * 1000;
    EXPECT_EQ(timeMs, want.timeMs);
    EXPECT_NEAR(got.latitude, want.latitude, 1e-5);
    EXPECT_NEAR(got.longitude, want.longitude, 1e-5);
    EXPECT_NEAR(got.speedKmh, want.speedKmh, 1e-3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FreeGpsCorpusTest,
    ::testing::Values(
        // Time at 48, ANE at 72: 15:37:57..59 on 2021-10-13, 48.590 and 49.193 knots.
        CorpusCase{"TwoEDrive730",
                   "novatek-freegps/2e-drive-730.mp4",
                   3,
                   3,
                   {0, Ms(2021, 10, 13, 15, 37, 57), 50.0, 30.0, 48.59 * 1.852},
                   {2000, Ms(2021, 10, 13, 15, 37, 59), 50.0 + 0.0122 / 60, 30.0 + 0.012 / 60,
                    49.193 * 1.852}},
        // Four V00 blocks (11:22:01..04, the receiver's UTC), then the camera's local time from
        // 14:22:05; 14:22:06 is written three times and kept once.
        CorpusCase{"ViofoA119Mini2ColdStart",
                   "novatek-freegps/viofo-a119-mini2-coldstart.mp4",
                   6,
                   2,
                   {4000, Ms(2026, 4, 6, 14, 22, 5), 50.0, 30.0, 3.39 * 1.852},
                   {5000, Ms(2026, 4, 6, 14, 22, 6), 50.0 + 0.0059 / 60, 30.0 + 0.0061 / 60,
                    10.38 * 1.852}},
        // $GNRMC 180617..180619 on 070625 at 10 knots.
        CorpusCase{"VantrueN2x",
                   "vantrue-freegps-nmea/vantrue-n2x.mp4",
                   3,
                   3,
                   {0, Ms(2025, 6, 7, 18, 6, 17), 50.0, 30.0, 18.52},
                   {2000, Ms(2025, 6, 7, 18, 6, 19), 50.0 + 0.012 / 60, 30.0 + 0.012 / 60, 18.52}},
        // Twelve indexed blocks, int32 degrees * 1e7 stepping 0.0002° north, no time, no speed.
        CorpusCase{"SeventyMaiEmbedded",
                   "70mai/70mai-embedded-real-anonymized.mp4",
                   12,
                   12,
                   {0, 1'783'850'132'000, 50.0, 30.0, 0.0},
                   {11000, 1'783'850'143'000, 50.0022, 30.0, 0.0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane::test
