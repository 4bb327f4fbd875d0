// The registry's words for the user: every source's family, a name it does not know, and the
// families of a set of clips counted.
#include "telemetry/source_registry.h"

#include <gtest/gtest.h>

#include <set>

namespace korvane {
namespace {

TEST(SourceFamily, EveryKnownSourceHasAFamilyOfItsOwn) {
  std::set<std::string> families;
  for (const SourceInfo& source : KnownSources()) {
    EXPECT_FALSE(source.family.empty()) << source.name;
    EXPECT_NE(source.family, source.name) << "words, not the stored name";
    EXPECT_EQ(SourceFamily(source.name), source.family);
    EXPECT_TRUE(families.insert(std::string(source.family)).second) << source.family;
  }
}

// Each family once, in the order first met, with its clips counted. A stored name is looked up as
// written: a newer indexer's source, or a name in another case, reads as itself, and no name as
// "none".
TEST(CountFamilies, CountsEachFamilyOnceInTheOrderFirstMet) {
  const std::vector<std::string> sources = {"novatek", "gpmf-v2", "",    "novatek",
                                            "gpmf-v2", "NMEA",    "nmea"};
  std::vector<std::pair<std::string, int>> seen;
  for (const FamilyCount& c : CountFamilies(sources)) seen.emplace_back(c.family, c.clips);
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{
                      {"Novatek GPS blocks (Viofo, 2E, SilverStone, Vantrue, 70mai)", 2},
                      {"gpmf-v2", 2},
                      {"none", 1},
                      {"NMEA", 1},
                      {"NMEA log beside the clip", 1}}));
  EXPECT_TRUE(CountFamilies({}).empty());
}

}  // namespace
}  // namespace korvane
