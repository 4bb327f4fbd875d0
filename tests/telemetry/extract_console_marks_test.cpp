#include "telemetry/extract_console_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

struct MarksCase {
  const char* name;
  std::vector<std::string> reads;
  bool movText;
  bool ambarella;
};

class ConsoleMarks : public testing::TestWithParam<MarksCase> {};

TEST_P(ConsoleMarks, FindsTheMarksInTheConsoleOutput) {
  ConsoleMarkScanner scanner;
  bool done = false;
  for (const std::string& read : GetParam().reads) done = scanner.Feed(read);
  EXPECT_EQ(scanner.movTextSeen(), GetParam().movText);
  EXPECT_EQ(scanner.ambarellaSeen(), GetParam().ambarella);
  EXPECT_EQ(done, GetParam().movText && GetParam().ambarella);
}

const std::string kStream = "  Stream #0:2[0x3](und): Subtitle: mov_text (tx3g / 0x67337874)\n";
const std::string kHandler = "      handler_name    : Ambarella EXT\n";

INSTANTIATE_TEST_SUITE_P(
    Reads, ConsoleMarks,
    testing::Values(
        MarksCase{"BothInOneRead", {kStream + kHandler}, true, true},
        MarksCase{"ProgressLinesEndInCarriageReturns",
                  {"size=0kB time=00:00:00.00\r" + kStream.substr(0, kStream.size() - 1) +
                   "\rsize=1kB\r      handler_name    : Ambarella EXT\r"},
                  true,
                  true},
        MarksCase{"MarkCutBetweenReads",
                  {kStream + "      handler_name    : Amba", "rella EXT\n"},
                  true,
                  true},
        MarksCase{"MarkCutInAVeryLongLine",
                  {std::string(5000, '.') + "Subtitle: mov_", "text" + std::string(10, '.') + "\n"},
                  true,
                  false},
        MarksCase{"PlainSubtitleTrack",
                  {"  Stream #0:2(und): Subtitle: mov_text\n", "handler_name : SubtitleHandler\n"},
                  true,
                  false},
        MarksCase{
            "NoSubtitleStream", {"Output file #0 does not contain any stream\n"}, false, false},
        // One line with both marks counts for the first only, as the line is taken once.
        MarksCase{"BothMarksOnOneLine", {"Subtitle: mov_text Ambarella EXT\n"}, true, false},
        MarksCase{"NothingRead", {}, false, false}),
    [](const testing::TestParamInfo<MarksCase>& info) { return std::string(info.param.name); });

TEST(ConsoleMarkScanner, ResetForgetsMarksAndPartialLine) {
  ConsoleMarkScanner scanner;
  scanner.Feed(kStream + "Ambarella");
  scanner.Reset();
  scanner.Feed(" EXT\n");
  EXPECT_FALSE(scanner.movTextSeen());
  EXPECT_FALSE(scanner.ambarellaSeen());
}

}  // namespace
}  // namespace korvane
