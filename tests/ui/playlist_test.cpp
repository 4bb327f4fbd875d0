// The list rules on their own: entries, current index, sorting, file types and folder listing.
#include "ui/playlist.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"
#include "ui/playlist_files.h"

namespace korvane {
namespace {

std::vector<std::string> Names(const Playlist& list) {
  std::vector<std::string> names;
  for (const auto& entry : list.entries()) names.push_back(entry->fileName);
  return names;
}

Playlist ListOf(std::initializer_list<const char*> names) {
  Playlist list;
  for (const char* name : names) list.AddEntry(std::string("/clips/") + name, name);
  return list;
}

TEST(Playlist, AddEntryAppendsAndRefusesTheSamePath) {
  Playlist list;
  EXPECT_EQ(list.AddEntry("/a/x.mp4", "x.mp4"), 0);
  EXPECT_EQ(list.AddEntry("/a/y.mp4", "y.mp4"), 1);
  EXPECT_EQ(list.AddEntry("/a/x.mp4", "x.mp4"), -1);
  // Two names that differ only in case are two files here.
  EXPECT_EQ(list.AddEntry("/a/X.mp4", "X.mp4"), 2);
  EXPECT_EQ(list.count(), 3);
  EXPECT_EQ(list.FindEntry("/a/X.mp4"), 2);
  EXPECT_EQ(list.FindEntry("/a/z.mp4"), -1);
}

TEST(Playlist, RemovedPathCanBeAddedAgain) {
  Playlist list = ListOf({"a.mp4", "b.mp4"});
  EXPECT_EQ(list.RemoveEntry(0), 1);
  EXPECT_EQ(list.AddEntry("/clips/a.mp4", "a.mp4"), 1);
  list.ClearEntries();
  EXPECT_EQ(list.AddEntry("/clips/a.mp4", "a.mp4"), 0);
}

struct RemoveCase {
  int count;
  int current;
  int index;
  int result;
  int currentAfter;
  int countAfter;
};

void PrintTo(const RemoveCase& c, std::ostream* os) {
  *os << "count " << c.count << ", current " << c.current << ", remove " << c.index;
}

class PlaylistRemove : public testing::TestWithParam<RemoveCase> {};

TEST_P(PlaylistRemove, MovesCurrentByTheRules) {
  const RemoveCase& c = GetParam();
  Playlist list;
  for (int i = 0; i < c.count; ++i) list.AddEntry("/f/" + std::to_string(i), std::to_string(i));
  list.SetCurrent(c.current);
  EXPECT_EQ(list.RemoveEntry(c.index), c.result);
  EXPECT_EQ(list.current(), c.currentAfter);
  EXPECT_EQ(list.count(), c.countAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlaylistRemove,
    testing::Values(RemoveCase{0, -1, 0, 1, -1, 0},    // empty: 1, nothing done
                    RemoveCase{3, 1, 3, 0, 1, 3},      // past the end
                    RemoveCase{3, 1, -1, 0, 1, 3},     // negative
                    RemoveCase{3, 2, 0, 1, 1, 2},      // before current: current follows its entry
                    RemoveCase{3, 0, 2, 1, 0, 2},      // after current: unchanged
                    RemoveCase{3, 1, 1, 1, 1, 2},      // current, not last: the next one moves in
                    RemoveCase{3, 2, 2, 1, 1, 2},      // current and last: the new last one
                    RemoveCase{1, 0, 0, 1, -1, 0},     // the only entry
                    RemoveCase{3, -1, 1, 1, -1, 2}));  // no current entry

TEST(Playlist, CurrentPathAndSetCurrentBounds) {
  Playlist list = ListOf({"a.mp4", "b.mp4"});
  std::string path = "untouched";
  EXPECT_EQ(list.GetCurrentPath(path), 0);
  EXPECT_EQ(path, "untouched");
  EXPECT_EQ(list.SetCurrent(1), 1);
  EXPECT_EQ(list.GetCurrentPath(path), 1);
  EXPECT_EQ(path, "/clips/b.mp4");
  EXPECT_EQ(list.SetCurrent(2), -1);
  EXPECT_EQ(list.SetCurrent(-5), -1);
  list.SetCurrent(0);
  list.ClearEntries();
  EXPECT_EQ(list.current(), -1);
  EXPECT_EQ(list.count(), 0);
}

TEST(Playlist, CurrentChannelsStartWithTheOneThatPlaysThenGoByChannel) {
  Playlist list = ListOf({"2021_0105_101500_0003I.mp4", "2021_0105_101500_0002R.MP4", "other.mp4",
                          "2021_0105_101500_0001F.MP4"});
  EXPECT_TRUE(list.CurrentChannelPaths().empty());
  list.SetCurrent(1);
  EXPECT_EQ(list.CurrentChannelPaths(),
            (std::vector<std::string>{"/clips/2021_0105_101500_0001F.MP4",
                                      "/clips/2021_0105_101500_0002R.MP4",
                                      "/clips/2021_0105_101500_0003I.mp4"}));
  list.SetCurrent(2);
  EXPECT_EQ(list.CurrentChannelPaths(), (std::vector<std::string>{"/clips/other.mp4"}));
}

TEST(Playlist, SortsByCodeUnitsAndKeepsTheCurrentEntry) {
  Playlist list =
      ListOf({"a.mp4", "中文 片段.mp4", "B.mp4", "it's \"q\".mp4", "a b.mp4", "_x.mp4"});
  list.SetCurrent(0);  // a.mp4
  list.SortByName();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"B.mp4", "_x.mp4", "a b.mp4", "a.mp4",
                                                   "it's \"q\".mp4", "中文 片段.mp4"}));
  EXPECT_EQ(list.entries()[list.current()]->fileName, "a.mp4");
}

TEST(PlaylistFiles, SupportedExtensionsFromTheSettingsValue) {
  EXPECT_EQ(ParseSupportedExtensions("MP4"), std::vector<std::string>{"MP4"});
  EXPECT_EQ(ParseSupportedExtensions("mp4;AVI;xyz"), (std::vector<std::string>{"mp4", "AVI"}));
  EXPECT_EQ(ParseSupportedExtensions(";;mkv;;MoD;"), (std::vector<std::string>{"mkv", "MoD"}));
  EXPECT_TRUE(ParseSupportedExtensions("").empty());
  EXPECT_TRUE(ParseSupportedExtensions("mp 4;.mp4;mp4x").empty());

  std::vector<std::string> supported = ParseSupportedExtensions("mp4;AVI;xyz");
  for (const char* ext : {"mp4", "MP4", "Mp4", "avi", "AVI"}) {
    EXPECT_TRUE(IsSupportedExtension(supported, ext)) << ext;
  }
  for (const char* ext : {"xyz", "", "mp", "mp4 ", "mkv"}) {
    EXPECT_FALSE(IsSupportedExtension(supported, ext)) << ext;
  }
}

TEST(PlaylistFiles, OpenFilterShowsThePatternAfterTheCaption) {
  OpenFilter filter = MakeOpenFilter("Video files", "*.mp4");
  EXPECT_EQ(filter.displayText, "Video files(*.mp4)");
  EXPECT_EQ(filter.pattern, "*.mp4");
  // A caption of any length fits: the filter is not a fixed buffer.
  std::string longCaption(300, 'x');
  EXPECT_EQ(MakeOpenFilter(longCaption, "*.mp4;*.avi").displayText, longCaption + "(*.mp4;*.avi)");
}

TEST(PlaylistFiles, OnlySupportedNamesWithADotAreAdded) {
  Playlist list;
  // The name without a dot follows a supported one, so a leftover extension would show.
  std::vector<std::string> names = {"a.MP4", "mp4", "b.mp4.part", "c.Mp4", "dmp4", ".mp4", "e.avi"};
  EXPECT_EQ(AddSupportedFiles(list, "/d/", names, {"MP4"}), 3);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.MP4", "c.Mp4", ".mp4"}));
  EXPECT_EQ(list.entries()[0]->path, "/d/a.MP4");
  EXPECT_EQ(AddSupportedFiles(list, "/d/", names, {"MP4"}), 0);
}

TEST(PlaylistFiles, ListFolderGivesRegularFilesOnly) {
  test::TempDir dir;
  std::ofstream(dir.path() / "one.mp4");
  std::ofstream(dir.path() / "two words 中.MP4");
  std::filesystem::create_directory(dir.path() / "sub.mp4");
  std::filesystem::create_symlink(dir.path() / "one.mp4", dir.path() / "link.mp4");
  std::filesystem::create_symlink(dir.path() / "gone.mp4", dir.path() / "dangling.mp4");
  auto names = ListFolder(dir.str());
  ASSERT_TRUE(names.has_value());
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, (std::vector<std::string>{"link.mp4", "one.mp4", "two words 中.MP4"}));
}

TEST(PlaylistFiles, ListFolderFailsForWhatIsNoFolder) {
  test::TempDir dir;
  std::ofstream(dir.path() / "file");
  EXPECT_FALSE(ListFolder(dir.str() + "missing/").has_value());
  EXPECT_FALSE(ListFolder(dir.str() + "file/").has_value());
}

}  // namespace
}  // namespace korvane
