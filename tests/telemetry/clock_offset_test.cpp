// The camera clock offset: what the user may type (the ±14 h bounds included), the moments it
// moves over midnight and month and year ends, and its file in the data folder, which survives
// damage and the loss of the index cache.
#include "telemetry/clock_offset.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"
#include "telemetry/clock_offset_store.h"
#include "telemetry/telemetry_record.h"

namespace korvane::test {
namespace {

struct OffsetCase {
  const char* text;
  std::optional<int> seconds;
};

void PrintTo(const OffsetCase& c, std::ostream* os) {
  *os << '[' << c.text << ']';
}

class TypedClockOffset : public testing::TestWithParam<OffsetCase> {};

TEST_P(TypedClockOffset, IsTakenOnlyWithinFourteenHours) {
  EXPECT_EQ(ParseClockOffset(GetParam().text), GetParam().seconds) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedClockOffset,
    testing::Values(OffsetCase{"+01:30:15", 5415}, OffsetCase{" 7:05 ", 25500},
                    OffsetCase{"+14:00:00", 50400}, OffsetCase{"-14:00", -50400}, OffsetCase{"", 0},
                    OffsetCase{"+14:00:01", std::nullopt}, OffsetCase{"-14:01", std::nullopt},
                    OffsetCase{"25:00", std::nullopt}, OffsetCase{"01:00:60", std::nullopt},
                    OffsetCase{"+2", std::nullopt}, OffsetCase{"+001:00", std::nullopt},
                    OffsetCase{"01:00:", std::nullopt}, OffsetCase{"01:00 junk", std::nullopt}));

// A leap day and a month end, and dates no clock can show, which stay as written.
TEST(ClockOffset, MovesAMomentOverMonthEndsAndLeavesImpossibleDatesAlone) {
  const auto shifted = [](int month, int day, int hour, int seconds) {
    TelemetryRecord r;
    r.year = 2028;
    r.month = static_cast<std::uint8_t>(month);
    r.day = static_cast<std::uint8_t>(day);
    r.hour = static_cast<std::uint8_t>(hour);
    ShiftMoment(r, seconds);
    return std::vector<int>{r.year, r.month, r.day, r.hour, r.minute, r.second};
  };
  EXPECT_EQ(shifted(2, 28, 20, 14 * 3600), (std::vector<int>{2028, 2, 29, 10, 0, 0}));
  EXPECT_EQ(shifted(3, 1, 0, -10), (std::vector<int>{2028, 2, 29, 23, 59, 50}));
  EXPECT_EQ(shifted(13, 1, 0, 3600), (std::vector<int>{2028, 13, 1, 0, 0, 0}));
  EXPECT_EQ(shifted(2, 30, 12, 3600), (std::vector<int>{2028, 2, 30, 12, 0, 0}));
}

// Stored in the data folder and read back by a new reader; the index cache beside it can go.
// Folders with odd names keep their offsets apart, and "0" removes one.
TEST(ClockOffsetStore, KeepsEachFoldersOffsetInTheDataFolderOnly) {
  TempDir data, cache;
  std::ofstream(cache.path() / "index.sqlite") << "cache";
  ClockOffsets offsets;
  std::string error;
  const std::string odd = "/media/カード/a \\b\nc\td/";
  ASSERT_TRUE(StoreClockOffset(data.str(), "/card/DCIM", 3600, offsets, error)) << error;
  ASSERT_TRUE(StoreClockOffset(data.str(), odd, -50400, offsets, error)) << error;
  ASSERT_TRUE(StoreClockOffset(data.str(), "/card/other/", 60, offsets, error)) << error;
  ASSERT_TRUE(StoreClockOffset(data.str(), "/card/other", 0, offsets, error)) << error;
  std::filesystem::remove_all(cache.path());

  const ClockOffsets read = ReadClockOffsets(data.str());
  EXPECT_EQ(read.OfClip("/card/DCIM/20260518_083000_F.mp4"), 3600);
  EXPECT_EQ(read.OfClip(odd + "x.mp4"), -50400);
  EXPECT_EQ(read.OfClip("/media/カード/a \\b/x.mp4"), 0);
  EXPECT_EQ(read.OfClip("/card/other/x.mp4"), 0);
  EXPECT_EQ(read.OfClip("/card/DCIM/sub/x.mp4"), 0) << "a folder's offset is its own";
  EXPECT_EQ(offsets.ToText(), read.ToText());
}

// A damaged file reads as no offsets (or as the lines that still read), never as garbage; a data
// folder that cannot be written is said and changes nothing.
TEST(ClockOffsetStore, DamageReadsAsNoOffsetsAndAFailedWriteChangesNothing) {
  TempDir data;
  const std::string path = ClockOffsetsPath(data.str());
  std::ofstream(path) << std::string("+01:00:00\t/a/\0\xff\xfe", 16);
  EXPECT_TRUE(ReadClockOffsets(data.str()).empty());
  std::ofstream(path) << "+99:00:00\t/a/\njunk\n+01:00\t\n-00:30\t/b/\\q\n+00:10:00\t/c/\t\n"
                         "+00:10:00\t/c/\n";
  EXPECT_EQ(ReadClockOffsets(data.str()).ToText(), "+00:10:00\t/c/\n");
  std::filesystem::resize_file(path, 2 << 20);
  EXPECT_TRUE(ReadClockOffsets(data.str()).empty()) << "far larger than any offsets file";

  ClockOffsets offsets = ClockOffsets::FromText("+00:10:00\t/c/\n");
  std::string error;
  EXPECT_FALSE(StoreClockOffset(data.str() + "missing/", "/d/", 60, offsets, error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
  EXPECT_EQ(offsets.OfFolder("/d/"), 0);
  EXPECT_EQ(offsets.OfFolder("/c/"), 600);
}

}  // namespace
}  // namespace korvane::test
