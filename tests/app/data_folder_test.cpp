#include "app/data_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    context.programFolder = temp.str() + "程序 folder/";
    defaults = context.programFolder + "conf/TotalConfig/";
    Spit(defaults + "Velmora.ini", "[MPlayer]\nVolume=40\n");
    Spit(defaults + "extra/notes.txt", "notes");
    documents = temp.str() + "My Documents";
    fs::create_directories(documents);
  }
  void ExpectFallback() {
    EXPECT_EQ(context.dataFolder, context.programFolder + "Screencut/");
    EXPECT_EQ(context.settingsPath, context.programFolder + "conf/TotalConfig/Velmora.ini");
  }
  std::string UserConf() const { return documents + "/KORVANE/conf/"; }

  test::TempDir temp;
  ApplicationContext context;
  std::string defaults;
  std::string documents;
};

TEST_F(DataFolder, FirstStartCopiesTheWholeDefaultConfiguration) {
  PrepareDataFolderIn(context, documents);
  EXPECT_EQ(context.dataFolder, documents + "/KORVANE/");
  EXPECT_EQ(context.settingsPath, documents + "/KORVANE//conf/Velmora.ini");
  EXPECT_EQ(Slurp(context.settingsPath), "[MPlayer]\nVolume=40\n") << "doubled / is harmless";
  EXPECT_EQ(Slurp(UserConf() + "extra/notes.txt"), "notes");
}

TEST_F(DataFolder, LaterStartsKeepUserChangesAndRestoreWhatIsMissing) {
  PrepareDataFolderIn(context, documents);
  Spit(UserConf() + "Velmora.ini", "[MPlayer]\nVolume=70\n");
  fs::remove(UserConf() + "extra/notes.txt");
  Spit(defaults + "added later.ini", "new");

  ApplicationContext next;
  next.programFolder = context.programFolder;
  PrepareDataFolderIn(next, documents);
  EXPECT_EQ(next.settingsPath, context.settingsPath);
  EXPECT_EQ(Slurp(UserConf() + "Velmora.ini"), "[MPlayer]\nVolume=70\n");
  EXPECT_EQ(Slurp(UserConf() + "extra/notes.txt"), "notes");
  EXPECT_EQ(Slurp(UserConf() + "added later.ini"), "new");
}

TEST_F(DataFolder, EmptyOrMissingDefaultsFallBack) {
  fs::remove_all(defaults);
  fs::create_directories(defaults);
  PrepareDataFolderIn(context, documents);
  ExpectFallback();

  fs::remove_all(context.programFolder + "conf");
  context.dataFolder = context.settingsPath = "";
  PrepareDataFolderIn(context, documents);
  ExpectFallback();
}

TEST_F(DataFolder, DocumentsFolderThatCannotServeFallsBack) {
  for (const std::string& missing : {std::string(), temp.str() + "nowhere"}) {
    PrepareDataFolderIn(context, missing);
    ExpectFallback();
  }
  // A data folder that cannot be made (a file in its place) stops even root.
  Spit(documents + "/KORVANE", "not a folder");
  PrepareDataFolderIn(context, documents);
  ExpectFallback();
  // And so does a documents path below a regular file.
  PrepareDataFolderIn(context, documents + "/KORVANE/docs");
  ExpectFallback();
  // Folder permissions stop everyone but root.
  if (geteuid() != 0) {
    const std::string readOnly = temp.str() + "read-only documents";
    fs::create_directories(readOnly);
    chmod(readOnly.c_str(), 0500);
    PrepareDataFolderIn(context, readOnly);
    chmod(readOnly.c_str(), 0700);
    ExpectFallback();
  }
}

TEST_F(DataFolder, UsesTheXdgDocumentsFolder) {
  const char* savedHome = getenv("HOME");
  const std::string home = savedHome ? savedHome : "";
  const char* savedConfig = getenv("XDG_CONFIG_HOME");
  const std::string config = savedConfig ? savedConfig : "";
  setenv("HOME", temp.str().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (temp.str() + "cfg").c_str(), 1);
  Spit(temp.str() + "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/My Documents\"\n");
  PrepareDataFolder(context);
  savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
  savedConfig ? setenv("XDG_CONFIG_HOME", config.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(context.dataFolder, temp.str() + "My Documents/KORVANE/");
}

TEST_F(DataFolder, CopyFolderTreeResults) {
  const std::string target = temp.str() + "target";
  EXPECT_EQ(CopyFolderTree("", target, true), 0);
  EXPECT_EQ(CopyFolderTree(temp.str() + "none", target, true), 0);
  EXPECT_EQ(CopyFolderTree(defaults, temp.str() + "no/such/parent", true), 0);
  // Without trailing slashes too.
  EXPECT_NE(CopyFolderTree(context.programFolder + "conf/TotalConfig", target, true), 0);
  EXPECT_EQ(Slurp(target + "/extra/notes.txt"), "notes");
  EXPECT_NE(CopyFolderTree(defaults, target, true), 0) << "everything there already counts";
}

TEST_F(DataFolder, AnEmptySubfolderStopsTheCopy) {
  // The walk is in name order: "a empty" comes before "extra" and "Velmora.ini" sorts first.
  fs::create_directories(defaults + "a empty");
  const std::string target = temp.str() + "target";
  EXPECT_EQ(CopyFolderTree(defaults, target, true), 0);
  EXPECT_TRUE(fs::exists(target + "/Velmora.ini"));
  EXPECT_FALSE(fs::exists(target + "/extra"));
}

TEST_F(DataFolder, CopiesOfReadOnlyDefaultsAreWritable) {
  chmod((defaults + "Velmora.ini").c_str(), 0444);
  PrepareDataFolderIn(context, documents);
  struct stat info {};
  ASSERT_EQ(stat(context.settingsPath.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0600, 0600u);
}

}  // namespace
}  // namespace korvane
