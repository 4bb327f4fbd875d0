// The shared corpus beside the source tree for the tests of the sources beside a clip: where a
// corpus file is, and a generated clip of a camera's name in a temporary folder to lay it beside.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {

inline std::string CorpusFile(const std::string& name) {
  return SourceDir() + "/../shared/corpus/" + name;
}

// A clip without telemetry of its own named `clipName` in `dir`; its path.
inline std::string ClipNamed(const TempDir& dir, const std::string& clipName) {
  const std::string clip = dir.str() + clipName;
  std::filesystem::copy_file(NoSubtitleClip(), clip);
  return clip;
}

}  // namespace korvane::test

// Skips the test when the corpus file is not there.
#define KORVANE_NEED_CORPUS(name)                                                 \
  if (!std::filesystem::exists(::korvane::test::CorpusFile(name))) {              \
    GTEST_SKIP() << "corpus file " << (name) << " is not beside the source tree"; \
  }
