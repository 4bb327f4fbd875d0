#include "settings/data_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/file_text.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

using test::ReadFileText;
using test::WriteFileText;

class DataFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    context.programFolder = temp.str() + "程序 folder/";
    defaults = context.programFolder + "conf/TotalConfig/";
    WriteFileText(defaults + "Velmora.ini", "[MPlayer]\nVolume=40\n");
    WriteFileText(defaults + "extra/notes.txt", "notes");
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
  EXPECT_EQ(ReadFileText(context.settingsPath), "[MPlayer]\nVolume=40\n")
      << "doubled / is harmless";
  EXPECT_EQ(ReadFileText(UserConf() + "extra/notes.txt"), "notes");
}

TEST_F(DataFolder, LaterStartsKeepUserChangesAndRestoreWhatIsMissing) {
  PrepareDataFolderIn(context, documents);
  WriteFileText(UserConf() + "Velmora.ini", "[MPlayer]\nVolume=70\n");
  fs::remove(UserConf() + "extra/notes.txt");
  WriteFileText(defaults + "added later.ini", "new");

  ApplicationContext next;
  next.programFolder = context.programFolder;
  PrepareDataFolderIn(next, documents);
  EXPECT_EQ(next.settingsPath, context.settingsPath);
  EXPECT_EQ(ReadFileText(UserConf() + "Velmora.ini"), "[MPlayer]\nVolume=70\n");
  EXPECT_EQ(ReadFileText(UserConf() + "extra/notes.txt"), "notes");
  EXPECT_EQ(ReadFileText(UserConf() + "added later.ini"), "new");
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

// A new account has no documents folder yet: it is made, as xdg-user-dirs would, since the
// program folder of an installed program is read-only for the user.
TEST_F(DataFolder, AMissingDocumentsFolderIsMade) {
  test::ScopedEnv env;
  env.Set("HOME", temp.str() + "new user");
  env.Set("XDG_CONFIG_HOME", temp.str() + "new user/.config");
  fs::create_directories(temp.str() + "new user");
  PrepareDataFolder(context);
  EXPECT_EQ(context.dataFolder, temp.str() + "new user/Documents/KORVANE/");
  EXPECT_EQ(ReadFileText(temp.str() + "new user/Documents/KORVANE/conf/Velmora.ini"),
            "[MPlayer]\nVolume=40\n");
  const std::string nested = temp.str() + "a/b/docs";
  PrepareDataFolderIn(context, nested);
  EXPECT_EQ(context.dataFolder, nested + "/KORVANE/");
}

TEST_F(DataFolder, DocumentsFolderThatCannotServeFallsBack) {
  PrepareDataFolderIn(context, std::string());
  ExpectFallback();
  // A data folder that cannot be made (a file in its place) stops even root.
  WriteFileText(documents + "/KORVANE", "not a folder");
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

// After the documents folder, a program folder that may not be written (an installed one) is
// never the data folder while the user's data home can serve.
TEST_F(DataFolder, AReadOnlyProgramFolderFallsBackToTheDataHome) {
  const std::string dataHome = temp.str() + "data home";
  struct Case {
    bool documentsServe;
    bool programFolderWritable;
    bool dataHomeServes;
    std::string dataFolder;
  };
  const Case cases[] = {
      {true, false, true, documents + "/KORVANE/"},
      {false, false, true, dataHome + "/korvane/"},
      {false, true, true, context.programFolder + "Screencut/"},
      {false, false, false, context.programFolder + "Screencut/"},
  };
  for (const Case& c : cases) {
    ApplicationContext run;
    run.programFolder = context.programFolder;
    PrepareDataFolderIn(run, c.documentsServe ? documents : std::string(),
                        c.dataHomeServes ? dataHome : std::string(), c.programFolderWritable);
    EXPECT_EQ(run.dataFolder, c.dataFolder) << c.documentsServe << c.programFolderWritable;
    EXPECT_EQ(UsesOwnSettingsFile(run), c.dataFolder != context.programFolder + "Screencut/");
  }
  // The data home's copy is the user's: a later start keeps a changed setting.
  WriteFileText(dataHome + "/korvane/conf/Velmora.ini", "[MPlayer]\nVolume=7\n");
  ApplicationContext next;
  next.programFolder = context.programFolder;
  PrepareDataFolderIn(next, std::string(), dataHome, false);
  EXPECT_EQ(ReadFileText(next.settingsPath), "[MPlayer]\nVolume=7\n");
  EXPECT_FALSE(fs::exists(context.programFolder + "Screencut"));
}

TEST_F(DataFolder, UsesTheXdgDocumentsFolder) {
  test::ScopedEnv env;
  env.Set("HOME", temp.str());
  env.Set("XDG_CONFIG_HOME", temp.str() + "cfg");
  WriteFileText(temp.str() + "cfg/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/My Documents\"\n");
  PrepareDataFolder(context);
  EXPECT_EQ(context.dataFolder, temp.str() + "My Documents/KORVANE/");
}

TEST_F(DataFolder, CopyFolderTreeResults) {
  const std::string target = temp.str() + "target";
  EXPECT_EQ(CopyFolderTree("", target, true), 0);
  EXPECT_EQ(CopyFolderTree(temp.str() + "none", target, true), 0);
  EXPECT_EQ(CopyFolderTree(defaults, temp.str() + "no/such/parent", true), 0);
  // Without trailing slashes too.
  EXPECT_NE(CopyFolderTree(context.programFolder + "conf/TotalConfig", target, true), 0);
  EXPECT_EQ(ReadFileText(target + "/extra/notes.txt"), "notes");
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

TEST_F(DataFolder, SomethingNotAFileInTheDefaultsFailsTheCopyWithoutWaiting) {
  ASSERT_EQ(mkfifo((defaults + "a pipe").c_str(), 0600), 0);
  PrepareDataFolderIn(context, documents);
  ExpectFallback();
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
