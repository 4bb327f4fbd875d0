// The operations behind the user's actions on real folders, with a recording view and host.
#include "ui/playlist_manager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "support/temp_dir.h"

namespace korvane {
namespace {

// Mirrors what a tree shows: one text per node, the playing marks and the selection.
class RecordingView : public IPlaylistView {
 public:
  void RemoveAllNodes() override {
    nodes.clear();
    playing.clear();
    ++rebuilds;
  }
  void AppendNode(const PlaylistEntry& entry) override {
    nodes.push_back(entry.fileName);
    playing.push_back(false);
  }
  void RemoveNodeAt(int index) override {
    if (!InRange(index)) return;
    nodes.erase(nodes.begin() + index);
    playing.erase(playing.begin() + index);
  }
  void SelectNode(int index) override {
    if (InRange(index)) selected = index;
  }
  void SetPlayingNode(int index, bool on) override {
    if (InRange(index)) playing[index] = on;
  }
  int GetDeleteItemIndex() const override { return deleteIndex; }

  std::vector<int> PlayingNodes() const {
    std::vector<int> marked;
    for (std::size_t i = 0; i < playing.size(); ++i) {
      if (playing[i]) marked.push_back(static_cast<int>(i));
    }
    return marked;
  }

  std::vector<std::string> nodes;
  std::vector<bool> playing;
  int selected = -1;
  int deleteIndex = -1;
  int rebuilds = 0;

 private:
  bool InRange(int index) const { return index >= 0 && index < static_cast<int>(nodes.size()); }
};

class FakeHost : public IPlaylistHost {
 public:
  std::string ReadSettingString(std::string_view key, std::string_view fallback) override {
    auto found = settings.find(std::string(key));
    return found == settings.end() ? std::string(fallback) : found->second;
  }
  void WriteSettingString(std::string_view key, std::string_view value) override {
    settings[std::string(key)] = std::string(value);
    writes.push_back(std::string(key) + "=" + std::string(value));
  }
  std::string ReadLanguageText(std::string_view key) override {
    return key == "IDS_FILTER" ? "Video files" : "";
  }
  std::optional<std::string> ChooseFile(const OpenFilter& filter) override {
    shownFilter = filter;
    return chosen;
  }
  bool AskBeforeClear() override { return askBeforeClear; }
  int ShowClearTip() override {
    ++tipsShown;
    return tipResult;
  }
  void ListChanged(const std::vector<std::string>& paths, int current) override {
    lists.push_back({paths, current});
  }

  std::map<std::string, std::string> settings;
  std::vector<std::string> writes;
  std::optional<std::string> chosen;
  OpenFilter shownFilter;
  bool askBeforeClear = false;
  int tipResult = 2;
  int tipsShown = 0;
  std::vector<std::pair<std::vector<std::string>, int>> lists;  // every ListChanged
};

void Touch(const std::filesystem::path& file) {
  std::ofstream(file).put('x');
}

class PlaylistManagerTest : public testing::Test {
 protected:
  PlaylistManagerTest() : manager(host, &view) {}

  // Loads the options with "Associate" set (or absent when value is null).
  void Configure(const char* associate) {
    if (associate != nullptr) host.settings["Associate"] = associate;
    manager.LoadPlaylistOptions();
  }

  std::string Folder(const char* name) {
    std::filesystem::create_directories(dir.path() / name);
    return dir.str() + name + "/";
  }

  std::vector<std::string> EntryNames() const {
    std::vector<std::string> names;
    for (const auto& entry : manager.playlist().entries()) names.push_back(entry->fileName);
    return names;
  }

  // The view must show the list, with the mark on the current entry only.
  void ExpectViewMatchesList() const {
    EXPECT_EQ(view.nodes, EntryNames());
    int current = manager.playlist().current();
    EXPECT_EQ(view.PlayingNodes(), current < 0 ? std::vector<int>{} : std::vector<int>{current});
  }

  std::string CurrentName() const {
    int current = manager.playlist().current();
    return current < 0 ? "" : manager.playlist().entries()[current]->fileName;
  }

  test::TempDir dir;
  FakeHost host;
  RecordingView view;
  CPlaylistManager manager;
};

TEST_F(PlaylistManagerTest, DefaultOptionsAreWrittenBackAndListTheCamerasTypesInAnyCase) {
  Configure(nullptr);
  EXPECT_EQ(host.writes, std::vector<std::string>{"Associate=MP4;MOV;TS"});
  EXPECT_EQ(manager.supportedExtensions(), (std::vector<std::string>{"MP4", "MOV", "TS"}));
  EXPECT_EQ(manager.openFilter().displayText, "Video files(*.mp4 *.mov *.ts)");
  EXPECT_EQ(manager.openFilter().pattern, "*.mp4 *.mov *.ts");

  std::string folder = Folder("card");
  for (const char* name :
       {"a.mp4", "b.MP4", "c.Mp4", "d.avi", "e.mkv", "f", "g.mp4.tmp", "h.TS", "i.mov"}) {
    Touch(folder + name);
  }
  manager.LoadFolderOf("a.mp4", folder);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"a.mp4", "b.MP4", "c.Mp4", "h.TS", "i.mov"}));
  EXPECT_EQ(CurrentName(), "a.mp4");
  ExpectViewMatchesList();
}

TEST_F(PlaylistManagerTest, EmptyFilterIsWrittenBackAndOtherFiltersKept) {
  host.settings["Filter"] = "";
  Configure("mp4;AVI;xyz");
  EXPECT_EQ(host.writes, std::vector<std::string>{"Filter=*.mp4 *.mov *.ts"});
  EXPECT_EQ(manager.supportedExtensions(), (std::vector<std::string>{"mp4", "AVI"}));

  host.settings["Filter"] = "*.mp4;*.avi";
  host.writes.clear();
  manager.LoadPlaylistOptions();
  EXPECT_TRUE(host.writes.empty());
  EXPECT_EQ(manager.openFilter().displayText, "Video files(*.mp4;*.avi)");
}

TEST_F(PlaylistManagerTest, ConfiguredTypesAreListed) {
  Configure("mp4;AVI;xyz");
  std::string folder = Folder("mixed");
  for (const char* name : {"1.mp4", "2.avi", "3.AVI", "4.xyz", "5.mkv"}) Touch(folder + name);
  manager.LoadFolderOf("2.avi", folder);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"1.mp4", "2.avi", "3.AVI"}));
  EXPECT_EQ(manager.playlist().current(), 1);
}

TEST_F(PlaylistManagerTest, SecondFileOfTheSameFolderOnlyMovesTheMark) {
  Configure(nullptr);
  std::string folder = Folder("card");
  for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) Touch(folder + name);
  manager.LoadFolderOf("a.mp4", folder);
  ASSERT_EQ(view.rebuilds, 1);
  manager.LoadFolderOf("c.mp4", folder);
  EXPECT_EQ(view.rebuilds, 1);
  EXPECT_EQ(manager.playlist().count(), 3);
  EXPECT_EQ(CurrentName(), "c.mp4");
  EXPECT_EQ(view.selected, 2);
  ExpectViewMatchesList();
}

TEST_F(PlaylistManagerTest, AnotherFolderAppendsAndInterleavesByName) {
  Configure(nullptr);
  std::string first = Folder("one");
  std::string second = Folder("two");
  for (const char* name : {"a.mp4", "c.mp4"}) Touch(first + name);
  for (const char* name : {"B.mp4", "b.mp4", "d.mp4"}) Touch(second + name);
  manager.LoadFolderOf("c.mp4", first);
  manager.LoadFolderOf("b.mp4", second);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"B.mp4", "a.mp4", "b.mp4", "c.mp4", "d.mp4"}));
  EXPECT_EQ(manager.playlist().entries()[2]->path, second + "b.mp4");
  EXPECT_EQ(manager.playlist().current(), 2);
  EXPECT_EQ(view.rebuilds, 2);
  ExpectViewMatchesList();
}

TEST_F(PlaylistManagerTest, TheHostHearsOfEveryChangeOfTheListsFilesAndOnlyThen) {
  Configure(nullptr);
  host.askBeforeClear = true;
  std::string first = Folder("one");
  std::string second = Folder("two");
  for (const char* name : {"a.mp4", "c.mp4"}) Touch(first + name);
  Touch(second + "b.mp4");
  manager.LoadFolderOf("c.mp4", first);
  manager.LoadFolderOf("a.mp4", first);  // the same files: nothing to tell
  manager.LoadFolderOf("b.mp4", second);
  using Change = std::pair<std::vector<std::string>, int>;
  ASSERT_EQ(host.lists.size(), 2u);
  EXPECT_EQ(host.lists[0], (Change{{first + "a.mp4", first + "c.mp4"}, 1}));
  EXPECT_EQ(host.lists[1], (Change{{first + "a.mp4", second + "b.mp4", first + "c.mp4"}, 1}));

  view.deleteIndex = 0;
  manager.DeleteClickedEntry();
  host.tipResult = 2;
  manager.ClearPlaylist();
  EXPECT_EQ(host.lists.size(), 2u) << "a deleted entry or a refused clear changes no folder";
  host.tipResult = 1;
  manager.ClearPlaylist();
  ASSERT_EQ(host.lists.size(), 3u);
  EXPECT_EQ(host.lists[2], (Change{{}, -1}));
}

TEST_F(PlaylistManagerTest, UnsupportedChosenFileLeavesNoCurrentButLoadsTheFolder) {
  Configure(nullptr);
  std::string folder = Folder("card");
  for (const char* name : {"a.mp4", "notes.txt"}) Touch(folder + name);
  manager.LoadFolderOf("a.mp4", folder);
  manager.LoadFolderOf("notes.txt", folder);
  EXPECT_EQ(manager.playlist().count(), 1);
  EXPECT_EQ(manager.playlist().current(), -1);
  ExpectViewMatchesList();
}

TEST_F(PlaylistManagerTest, FolderThatCannotBeListedChangesNothing) {
  Configure(nullptr);
  std::string folder = Folder("card");
  Touch(folder + "a.mp4");
  manager.LoadFolderOf("a.mp4", folder);
  Touch(dir.path() / "plain");
  manager.LoadFolderOf("x.mp4", dir.str() + "plain/");
  manager.LoadFolderOf("x.mp4", dir.str() + "missing/");
  EXPECT_EQ(manager.playlist().count(), 1);
  EXPECT_EQ(CurrentName(), "a.mp4");
  ExpectViewMatchesList();
}

TEST_F(PlaylistManagerTest, NamesWithSpacesQuotesAndCjkListAndSort) {
  Configure(nullptr);
  std::string folder = Folder("行车 记录 \"card\"");
  for (const char* name : {"行车 2.MP4", "it's a \"clip\".mp4", "Z clip.mp4", "$(rm -rf).mp4"}) {
    Touch(folder + name);
  }
  manager.LoadFolderOf("it's a \"clip\".mp4", folder);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"$(rm -rf).mp4", "Z clip.mp4",
                                                    "it's a \"clip\".mp4", "行车 2.MP4"}));
  EXPECT_EQ(CurrentName(), "it's a \"clip\".mp4");
  std::string path;
  ASSERT_EQ(manager.GetCurrentPath(path), 1);
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(PlaylistManagerTest, OpenDialogLoadsTheChosenFilesFolder) {
  Configure(nullptr);
  std::string folder = Folder("card");
  for (const char* name : {"a.mp4", "b.mp4"}) Touch(folder + name);
  EXPECT_EQ(manager.OpenFileDialog(), 0);  // cancelled
  EXPECT_EQ(manager.playlist().count(), 0);
  EXPECT_EQ(host.shownFilter.pattern, "*.mp4 *.mov *.ts");

  host.chosen = folder + "b.mp4";
  EXPECT_EQ(manager.OpenFileDialog(), 1);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"a.mp4", "b.mp4"}));
  EXPECT_EQ(CurrentName(), "b.mp4");
}

TEST_F(PlaylistManagerTest, DropLoadsTheFolderOfTheLastRegularFile) {
  Configure(nullptr);
  std::string one = Folder("one");
  std::string two = Folder("two");
  Touch(one + "a.mp4");
  Touch(two + "b.mp4");
  Touch(two + "readme.txt");
  // The supported file is in "one", but the last regular file decides the folder.
  manager.DropFiles({one + "a.mp4", two + "readme.txt", Folder("two/sub.mp4"), one + "gone.mp4"});
  EXPECT_EQ(EntryNames(), std::vector<std::string>{"b.mp4"});
  EXPECT_EQ(manager.playlist().current(), -1);
  ExpectViewMatchesList();
}

TEST_F(PlaylistManagerTest, DropWithoutSupportedRegularFileChangesNothing) {
  Configure(nullptr);
  std::string folder = Folder("one");
  Touch(folder + "a.txt");
  Touch(folder + "b.mp4");
  manager.DropFiles({folder + "a.txt", Folder("dir.mp4"), folder + "missing.mp4"});
  manager.DropFiles({});
  EXPECT_EQ(manager.playlist().count(), 0);
  manager.DropFiles({folder + "b.mp4"});
  EXPECT_EQ(CurrentName(), "b.mp4");
}

class PlaylistActionsTest : public PlaylistManagerTest {
 protected:
  void SetUp() override {
    Configure(nullptr);
    folder = Folder("card");
    for (const char* name : {"0.mp4", "1.mp4", "2.mp4", "3.mp4"}) Touch(folder + name);
  }
  void Load(const char* current) { manager.LoadFolderOf(current, folder); }
  int Delete(int index) {
    view.deleteIndex = index;
    return manager.DeleteClickedEntry();
  }
  std::string folder;
};

TEST_F(PlaylistActionsTest, NextAndPreviousStopAtTheEnds) {
  Load("2.mp4");
  EXPECT_EQ(manager.SelectNext(), 1);
  EXPECT_EQ(CurrentName(), "3.mp4");
  EXPECT_EQ(view.selected, 3);
  EXPECT_EQ(manager.SelectNext(), 0);
  EXPECT_EQ(CurrentName(), "3.mp4");
  ExpectViewMatchesList();

  Load("0.mp4");
  EXPECT_EQ(manager.SelectPrevious(), 0);
  EXPECT_EQ(manager.SelectNext(), 1);
  EXPECT_EQ(manager.SelectPrevious(), 1);
  EXPECT_EQ(CurrentName(), "0.mp4");
  ExpectViewMatchesList();
}

TEST_F(PlaylistActionsTest, NextAndPreviousNeedACurrentEntry) {
  Load("none.mp4");
  EXPECT_EQ(manager.SelectNext(), 0);
  EXPECT_EQ(manager.SelectPrevious(), 0);
  EXPECT_EQ(manager.playlist().current(), -1);
}

TEST_F(PlaylistActionsTest, ActivateMovesTheMark) {
  Load("0.mp4");
  manager.ActivateEntry(2);
  EXPECT_EQ(CurrentName(), "2.mp4");
  ExpectViewMatchesList();
  manager.ActivateEntry(-1);  // no node: ignored
  EXPECT_EQ(CurrentName(), "2.mp4");
  manager.ActivateEntry(9);
  EXPECT_EQ(manager.playlist().current(), -1);
  ExpectViewMatchesList();
}

struct DeleteCase {
  const char* current;
  int deleted;
  int result;
  const char* currentAfter;  // "" for none
};

void PrintTo(const DeleteCase& c, std::ostream* os) {
  *os << "current " << c.current << ", delete " << c.deleted;
}

class PlaylistDelete : public PlaylistActionsTest,
                       public testing::WithParamInterface<DeleteCase> {};

TEST_P(PlaylistDelete, KeepsListViewAndMarkInStep) {
  const DeleteCase& c = GetParam();
  Load(c.current);
  EXPECT_EQ(Delete(c.deleted), c.result);
  EXPECT_EQ(CurrentName(), c.currentAfter);
  ExpectViewMatchesList();
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlaylistDelete,
    testing::Values(DeleteCase{"2.mp4", 0, 0, "2.mp4"},  // before current
                    DeleteCase{"1.mp4", 3, 0, "1.mp4"},  // after current
                    DeleteCase{"1.mp4", 1, 1, "2.mp4"},  // current: the next one moves in
                    DeleteCase{"3.mp4", 3, 1, "2.mp4"},  // current and last: the new last one
                    DeleteCase{"x.mp4", 1, 0, ""},       // no current entry
                    DeleteCase{"1.mp4", 4, 0, "1.mp4"},  // stale index: nothing removed
                    DeleteCase{"1.mp4", -1, 0, "1.mp4"}));

// A two-camera card: every file is an entry with its channel's mark; the entries of the playing
// moment are marked together, any of them plays the moment's front, and next and previous go to
// another moment. Deleting a channel's entry removes only it.
TEST_F(PlaylistActionsTest, TheChannelsOfOneMomentPlayAndAreMarkedTogether) {
  const std::string card = Folder("two cameras");
  for (const char* name : {"1_F.mp4", "1_R.mp4", "2_F.mp4", "2_R.mp4", "x.mp4"}) {
    Touch(card + name);
  }
  manager.LoadFolderOf("1_R.mp4", card);  // opening a rear file opens its moment
  std::vector<std::string> marks;
  for (const auto& entry : manager.playlist().entries()) marks.push_back(entry->mark);
  EXPECT_EQ(marks, (std::vector<std::string>{"F", "R", "F", "R", ""}));
  std::string path;
  manager.GetCurrentPath(path);
  EXPECT_EQ(path, card + "1_F.mp4");
  EXPECT_EQ(view.PlayingNodes(), (std::vector<int>{0, 1}));

  EXPECT_EQ(manager.SelectNext(), 1);  // not 1's front again
  EXPECT_EQ(CurrentName(), "2_F.mp4");
  EXPECT_EQ(view.PlayingNodes(), (std::vector<int>{2, 3}));
  EXPECT_EQ(manager.SelectNext(), 1);
  EXPECT_EQ(CurrentName(), "x.mp4");
  EXPECT_EQ(manager.SelectPrevious(), 1);
  EXPECT_EQ(CurrentName(), "2_R.mp4");
  EXPECT_EQ(manager.SelectPrevious(), 1);
  EXPECT_EQ(CurrentName(), "1_R.mp4");
  EXPECT_EQ(manager.SelectPrevious(), 0);

  manager.ActivateEntry(3);
  manager.GetCurrentPath(path);
  EXPECT_EQ(path, card + "2_F.mp4");
  EXPECT_EQ(Delete(2), 0);  // the front's entry goes; its rear now plays the moment
  EXPECT_EQ(manager.playlist().count(), 4);
  manager.GetCurrentPath(path);
  EXPECT_EQ(path, card + "2_R.mp4");
  EXPECT_EQ(Delete(2), 1);
  EXPECT_EQ(CurrentName(), "x.mp4");
  EXPECT_EQ(view.PlayingNodes(), std::vector<int>{2});
}

TEST_F(PlaylistActionsTest, DeletingTheOnlyEntryLeavesNothingCurrent) {
  std::string single = Folder("single");
  Touch(single + "only.mp4");
  manager.ClearPlaylist();
  manager.LoadFolderOf("only.mp4", single);
  EXPECT_EQ(Delete(0), 1);
  EXPECT_EQ(manager.playlist().count(), 0);
  EXPECT_EQ(manager.playlist().current(), -1);
  ExpectViewMatchesList();
}

TEST_F(PlaylistActionsTest, ClearAsksOnlyWhenTheUserWantsIt) {
  Load("1.mp4");
  host.askBeforeClear = true;
  host.tipResult = 2;
  EXPECT_FALSE(manager.ClearPlaylist());
  EXPECT_EQ(host.tipsShown, 1);
  EXPECT_EQ(manager.playlist().count(), 4);
  ExpectViewMatchesList();

  host.tipResult = 1;
  EXPECT_TRUE(manager.ClearPlaylist());
  EXPECT_EQ(manager.playlist().count(), 0);
  EXPECT_TRUE(view.nodes.empty());

  Load("1.mp4");
  host.askBeforeClear = false;
  EXPECT_TRUE(manager.ClearPlaylist());
  EXPECT_EQ(host.tipsShown, 2);
  EXPECT_EQ(manager.playlist().current(), -1);
  std::string path;
  EXPECT_EQ(manager.GetCurrentPath(path), 0);
}

// A trip replaces the list in time order, which is not name order; a clip deleted since the index
// saw it is left out, and next then walks the trip.
TEST_F(PlaylistActionsTest, ClipsOfATripReplaceTheListInTheirOrderWithoutDeletedOnes) {
  Load("0.mp4");
  const std::string gone = folder + "9.mp4";
  ASSERT_EQ(manager.LoadClips(
                {folder + "3.mp4", gone, folder + "1.mp4", folder + "3.mp4", folder + "2.mp4"}),
            3);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"3.mp4", "1.mp4", "2.mp4"}));
  EXPECT_EQ(CurrentName(), "3.mp4");
  ExpectViewMatchesList();
  ASSERT_FALSE(host.lists.empty());
  EXPECT_EQ(host.lists.back().second, 0);
  EXPECT_EQ(manager.SelectNext(), 1);
  EXPECT_EQ(CurrentName(), "1.mp4");
  // A trip all of whose clips are gone leaves the list as it was.
  EXPECT_EQ(manager.LoadClips({gone}), 0);
  EXPECT_EQ(manager.LoadClips({}), 0);
  EXPECT_EQ(EntryNames(), (std::vector<std::string>{"3.mp4", "1.mp4", "2.mp4"}));
  EXPECT_EQ(CurrentName(), "1.mp4");
}

}  // namespace
}  // namespace korvane
