// What a command line asks for: the headless commands, the window's files, and the one line that
// names what is wrong with it.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace korvane {
namespace {

struct ParseCase {
  std::vector<std::string> args;
  CommandLine::Kind kind;
  std::string errorOrInput;  // Bad: a part of the error; Info and Export: the input
  bool json = false;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  for (const std::string& arg : c.args) *os << " [" << arg << "]";
}

class CommandLineParse : public testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, TakesOptionsOnlyInTheirPlaceAndNamesWhatItDoesNotKnow) {
  const ParseCase& c = GetParam();
  const CommandLine command = ParseCommandLine(c.args);
  ASSERT_EQ(command.kind, c.kind) << command.error;
  if (c.kind == CommandLine::Kind::Bad) {
    EXPECT_NE(command.error.find(c.errorOrInput), std::string::npos) << command.error;
  } else {
    EXPECT_EQ(command.input, c.errorOrInput);
  }
  EXPECT_EQ(command.json, c.json);
}

using Kind = CommandLine::Kind;
INSTANTIATE_TEST_SUITE_P(
    Args, CommandLineParse,
    testing::Values(
        ParseCase{{}, Kind::Window, ""},
        // A lone "-" and a name beginning with "--" behind "./" are files; Qt's own "-style".
        ParseCase{{"a b.mp4", "-", "./--odd.mp4", "-style", "x"}, Kind::Window, ""},
        ParseCase{{"--version"}, Kind::Version, ""}, ParseCase{{"-h"}, Kind::Help, ""},
        ParseCase{{"--info", "行车 \"记录\".mp4"}, Kind::Info, "行车 \"记录\".mp4"},
        ParseCase{{"--info", "--json", "/card/"}, Kind::Info, "/card/", true},
        ParseCase{{"--info", "/card/", "--json"}, Kind::Info, "/card/", true},
        ParseCase{{"--export", "kml", "/card/", "out.kml"}, Kind::Export, "/card/"},
        ParseCase{{"--info"}, Kind::Bad, "--info needs one clip or folder"},
        ParseCase{{"--info", "a.mp4", "b.mp4"}, Kind::Bad, "--info needs one clip or folder"},
        ParseCase{{"--verbose"}, Kind::Bad, "unknown option --verbose"},
        ParseCase{{"--"}, Kind::Bad, "unknown option --"},
        ParseCase{{"a.mp4", "--fullscreen"}, Kind::Bad, "unknown option --fullscreen"},
        ParseCase{{"--export", "gpx", "a.mp4", "--out.gpx"}, Kind::Bad, "unknown option --out"},
        ParseCase{{"a.mp4", "--info"}, Kind::Bad, "--info is out of place"},
        ParseCase{{"--json", "a.mp4"}, Kind::Bad, "--json is out of place"},
        ParseCase{{"--export", "gpx", "--json", "o"}, Kind::Bad, "--json is out of place"},
        ParseCase{{"--info", "--version", "a.mp4"}, Kind::Bad, "--version is out of place"},
        ParseCase{{"--export", "shp", "a.mp4", "o"}, Kind::Bad, "unknown export format"},
        ParseCase{{"--export", "gpx", "a.mp4"}, Kind::Bad, "--export needs"},
        ParseCase{{"--save", "/card/", "--to", "a.mp4@0:30", "--from", "2026-05-18T08:30:07", "o"},
                  Kind::Save,
                  "/card/"},
        ParseCase{
            {"--save", "/card/", "--from", "2026-05-18T08:30:07", "o"}, Kind::Bad, "--save needs"},
        ParseCase{{"--save", "/card/", "--from", "08:30", "--to", "a@1", "o"},
                  Kind::Bad,
                  "\"08:30\" is no time"},
        ParseCase{{"--save", "/card/", "--from", "a@1", "--to"}, Kind::Bad, "--to needs a time"},
        ParseCase{{"--save", "/c/", "--json", "--from", "a@1", "--to", "a@2", "o"},
                  Kind::Bad,
                  "--json is out of place"}));

TEST(CommandLineSave, KeepsBothEndsAndTheOutput) {
  const CommandLine command =
      ParseCommandLine({"--save", "a.mp4", "--from", "a.mp4@0:10", "--to", "a.mp4@0:40", "o.mp4"});
  EXPECT_EQ(command.from, "a.mp4@0:10");
  EXPECT_EQ(command.to, "a.mp4@0:40");
  EXPECT_EQ(command.output, "o.mp4");
  EXPECT_FALSE(command.stamped);
  EXPECT_TRUE(ParseCommandLine({"--save", "a.mp4", "--from", "a.mp4@0:10", "--stamped", "--to",
                                "a.mp4@0:40", "o.mp4"})
                  .stamped);
}

TEST(CommandLineSave, EachOutcomeHasItsOwnExitCode) {
  struct Case {
    const char* error;
    SaveFailure failure;
    WriteFailure writeFailure;
    SaveFailure stampedFailure;
    int exitCode;
  };
  const Case cases[] = {
      {"", SaveFailure::None, WriteFailure::Other, SaveFailure::None, 0},
      {"x", SaveFailure::AcrossTrips, WriteFailure::Other, SaveFailure::None, 1},
      {"x", SaveFailure::Other, WriteFailure::Other, SaveFailure::None, 1},
      {"x", SaveFailure::NotWritten, WriteFailure::DiskFull, SaveFailure::None, 3},
      {"x", SaveFailure::NotWritten, WriteFailure::NotAllowed, SaveFailure::None, 4},
      {"x", SaveFailure::NotWritten, WriteFailure::Other, SaveFailure::None, 5},
      // Kept without its stamped copy, whatever the copy's cause.
      {"", SaveFailure::None, WriteFailure::Other, SaveFailure::Other, 6},
      {"", SaveFailure::None, WriteFailure::DiskFull, SaveFailure::NotWritten, 6},
  };
  for (const Case& c : cases) {
    SaveResult result;
    result.error = c.error;
    result.failure = c.failure;
    result.writeFailure = c.writeFailure;
    result.stampedFailure = c.stampedFailure;
    EXPECT_EQ(SaveExitCode(result), c.exitCode) << c.exitCode;
  }
}

}  // namespace
}  // namespace korvane
