// The camera logs' field splitter: as many fields as asked for, the rest not looked at, and
// empty fields kept where the commas say.
#include "telemetry/log_fields.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace korvane::test {
namespace {

TEST(LogFields, ALineSplitsIntoAtMostTheFieldsAskedFor) {
  struct Case {
    std::string_view line;
    std::size_t room;
    std::vector<std::string_view> fields;
  };
  const Case cases[] = {
      {"a,b,c", 5, {"a", "b", "c"}},
      {"a,b,c", 2, {"a", "b"}},
      {"a,b,", 2, {"a", "b"}},
      {"a,b,", 3, {"a", "b", ""}},
      {",,", 5, {"", "", ""}},
      {"", 3, {""}},
      {"abc", 0, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> out(c.room);
    out.resize(SplitLogFields(c.line, out));
    EXPECT_EQ(out, c.fields) << c.line << " into " << c.room;
  }
}

}  // namespace
}  // namespace korvane::test
