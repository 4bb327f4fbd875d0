// The registry's words for the user: every source's family, a name it does not know, and the
// families of a set of clips counted.
#include "telemetry/source_registry.h"

#include <gtest/gtest.h>

#include <ostream>
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

struct LookupCase {
  const char* name;
  const char* family;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
  *os << '"' << c.name << '"';
}

class SourceFamilyOfName : public testing::TestWithParam<LookupCase> {};

TEST_P(SourceFamilyOfName, IsTheRowsOrTheNameItself) {
  EXPECT_EQ(SourceFamily(GetParam().name), GetParam().family);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SourceFamilyOfName,
    testing::Values(LookupCase{"", "none"},
                    // A newer indexer's source, and a stored name in another case, are unknown.
                    LookupCase{"gpmf-v2", "gpmf-v2"}, LookupCase{"NMEA", "NMEA"},
                    LookupCase{"nmea", "NMEA log beside the clip"}));

TEST(CountFamilies, CountsEachFamilyOnceInTheOrderFirstMet) {
  const std::vector<std::string> sources = {"novatek", "gpmf-v2",  "",       "novatek",
                                            "gpmf-v2", "subtitle", "gpmf-v3"};
  const std::vector<FamilyCount> counts = CountFamilies(sources);
  std::vector<std::pair<std::string, int>> seen;
  for (const FamilyCount& c : counts) seen.emplace_back(c.family, c.clips);
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{SourceFamily("novatek"), 2},
                                                            {"gpmf-v2", 2},
                                                            {"none", 1},
                                                            {SourceFamily("subtitle"), 1},
                                                            {"gpmf-v3", 1}}));
  EXPECT_TRUE(CountFamilies({}).empty());
}

}  // namespace
}  // namespace korvane
