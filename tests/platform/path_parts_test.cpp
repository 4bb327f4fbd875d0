// The one path splitter: folder, name, stem and extension of the paths a card holds.
#include "platform/path_parts.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(PathParts, FolderNameStemAndExtension) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
    const char* stem;
    const char* ext;
  };
  for (const Case& c :
       {Case{"/m/card/CLIP_0001.MP4", "/m/card/", "CLIP_0001.MP4", "CLIP_0001", "MP4"},
        Case{"clip.mp4", "", "clip.mp4", "clip", "mp4"},
        Case{"/m/card.v1/CLIP", "/m/card.v1/", "CLIP", "CLIP", ""},
        Case{"/m/a.b.mov", "/m/", "a.b.mov", "a.b", "mov"}, Case{"/m/", "/m/", "", "", ""},
        Case{"/m/trailing.", "/m/", "trailing.", "trailing", ""},
        Case{"/m/.gpx", "/m/", ".gpx", "", "gpx"},
        Case{"/m/\xE4\xB8\xAD \"q\".mp4", "/m/", "\xE4\xB8\xAD \"q\".mp4", "\xE4\xB8\xAD \"q\"",
             "mp4"}}) {
    const SplitPathResult parts = SplitPath(c.path);
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(parts.fileName, c.name) << c.path;
    EXPECT_EQ(parts.stem, c.stem) << c.path;
    EXPECT_EQ(parts.extension, c.ext) << c.path;
  }
}

}  // namespace
}  // namespace korvane
