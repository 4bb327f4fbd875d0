// What a command line asks for: the window, the help, an export, or a usage error.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CommandLine, TellsTheWindowHelpExportAndBadUsageApart) {
  using Kind = CommandLine::Kind;
  EXPECT_EQ(ParseCommandLine({}).kind, Kind::Window);
  EXPECT_EQ(ParseCommandLine({"/clips/a b.mp4"}).kind, Kind::Window);
  EXPECT_EQ(ParseCommandLine({"--help"}).kind, Kind::Help);
  EXPECT_EQ(ParseCommandLine({"-h"}).kind, Kind::Help);

  const CommandLine kml = ParseCommandLine({"--export", "KML", "/clips", "/out/t.kml"});
  EXPECT_EQ(kml.kind, Kind::Export);
  EXPECT_EQ(kml.format, ExportFormat::Kml);
  EXPECT_EQ(kml.input, "/clips");
  EXPECT_EQ(kml.output, "/out/t.kml");

  EXPECT_EQ(ParseCommandLine({"--export", "gpx", "/clips"}).kind, Kind::Bad);
  EXPECT_EQ(ParseCommandLine({"--export", "gpx", "/a", "/b", "/c"}).kind, Kind::Bad);
  const CommandLine unknown = ParseCommandLine({"--export", "shp", "/a", "/b"});
  EXPECT_EQ(unknown.kind, Kind::Bad);
  EXPECT_NE(unknown.error.find("\"shp\""), std::string::npos);
}

}  // namespace
}  // namespace korvane
