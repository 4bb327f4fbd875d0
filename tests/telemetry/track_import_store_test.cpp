// The per-clip choices of a folder's import kept in the data folder: read back as kept, each
// folder's apart, and a damaged record taken as no choice and mended by the next choice kept.
#include "telemetry/track_import_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace korvane::test {
namespace {

TEST(ImportChoices, AreReadBackAsKeptAndADamagedRecordCountsAsNoChoiceUntilTheNextIsKept) {
  TempDir dir;
  const std::string data = dir.str() + "data";
  std::string error;
  ASSERT_TRUE(StoreImportChoice(data, "/cards/a/0001.mp4", true, error)) << error;
  ASSERT_TRUE(StoreImportChoice(data, "/cards/a/0002 é 行.mp4", true, error)) << error;
  ASSERT_TRUE(StoreImportChoice(data, "/cards/a/0001.mp4", false, error)) << error;
  EXPECT_FALSE(ImportChosen(data, "/cards/a/0001.mp4"));
  EXPECT_TRUE(ImportChosen(data, "/cards/a/0002 é 行.mp4")) << "the folder's other choice stays";
  EXPECT_FALSE(ImportChosen(data, "/cards/b/0002 é 行.mp4")) << "another folder";
  EXPECT_FALSE(StoreImportChoice(data, "/cards/a/two\nlines.mp4", true, error));

  std::filesystem::path record;
  for (const auto& entry : std::filesystem::directory_iterator(ImportsFolderOf(data))) {
    if (entry.path().extension() == ".choices") record = entry.path();
  }
  ASSERT_FALSE(record.empty());
  // Junk in place of the folder's line; then junk and a name with a folder in it before the
  // clip's name without a line end; then a record grown past any folder's.
  constexpr char kJunk[] = "\0\xff\x01junk\n0002.mp4\n";
  std::ofstream(record, std::ios::binary) << std::string(kJunk, sizeof kJunk - 1);
  EXPECT_FALSE(ImportChosen(data, "/cards/a/0002.mp4"));
  std::ofstream(record, std::ios::binary)
      << "/cards/a\n"
      << std::string("\xff\xfe\0\n", 4) << "../a/0002.mp4\n0002.mp4";
  EXPECT_TRUE(ImportChosen(data, "/cards/a/0002.mp4"));
  std::ofstream(record, std::ios::binary) << "/cards/a\n0002.mp4\n" << std::string(5u << 20, 'x');
  EXPECT_FALSE(ImportChosen(data, "/cards/a/0002.mp4"));

  ASSERT_TRUE(StoreImportChoice(data, "/cards/a/0003.mp4", true, error)) << error;
  EXPECT_TRUE(ImportChosen(data, "/cards/a/0003.mp4"));
  EXPECT_FALSE(ImportChosen(data, "/cards/a/0002.mp4")) << "what the damage hid is not made up";
  EXPECT_LT(std::filesystem::file_size(record), 100u);
}

}  // namespace
}  // namespace korvane::test
