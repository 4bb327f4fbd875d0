// The open dialog's filter text as Qt's file dialog reads it.
#include <gtest/gtest.h>

#include "framework/file_dialog.h"

namespace DuiLib {
namespace {

struct FilterCase {
  const char* text;
  const char* pattern;
  const char* expected;
};

class DialogNameFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(DialogNameFilterTest, GivesOneParenthesisedPatternList) {
  OpenFileRequest request;
  request.filterText = GetParam().text;
  request.filterPattern = GetParam().pattern;
  EXPECT_EQ(DialogNameFilter(request), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogNameFilterTest,
    ::testing::Values(FilterCase{"Video files(*.mp4)", "*.mp4", "Video files(*.mp4)"},
                      FilterCase{"Video files", "*.mp4", "Video files (*.mp4)"},
                      FilterCase{"Видео(*.mp4;*.avi)", "*.mp4;*.avi", "Видео(*.mp4 *.avi)"},
                      FilterCase{"Clips", "", "Clips (*)"}, FilterCase{"", "*.mp4", " (*.mp4)"}));

TEST(ParseOpenFilterTest, ReadsTextAndPatternOfTheWindowsForm) {
  const char buffer[] = "Video files(*.mp4)\0*.mp4\0";
  const OpenFileRequest request = ParseOpenFilter(buffer, sizeof buffer);
  EXPECT_EQ(request.filterText, "Video files(*.mp4)");
  EXPECT_EQ(request.filterPattern, "*.mp4");
  EXPECT_EQ(DialogNameFilter(request), "Video files(*.mp4)");
}

}  // namespace
}  // namespace DuiLib

namespace DuiLib {
namespace {

TEST(SaveFileDialog, AddsTheChosenFiltersExtensionOnlyToANameWithoutOne) {
  EXPECT_EQ(WithPatternExtension("/out/drive", "*.gpx"), "/out/drive.gpx");
  EXPECT_EQ(WithPatternExtension("/out/drive.kml", "*.gpx"), "/out/drive.kml");
  EXPECT_EQ(WithPatternExtension("/out.d/drive", "*.csv"), "/out.d/drive.csv");
  EXPECT_EQ(WithPatternExtension("/out/drive", "*"), "/out/drive");
  EXPECT_EQ(WithPatternExtension("/out/drive", "*.*"), "/out/drive");
}

}  // namespace
}  // namespace DuiLib
