// Arbitrary bytes as a line of tab-separated escaped fields (the indexer's protocol, the data
// folder's record files): no crash, and any text written as one field reads back whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/field_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto fields = SplitFields(text); fields && fields->empty()) std::abort();
  const std::string line = JoinFields({text, text});
  if (line.empty() || line.back() != '\n') std::abort();
  const auto back = SplitFields(std::string_view(line).substr(0, line.size() - 1));
  if (!back || back->size() != 2 || (*back)[0] != text || (*back)[1] != text) std::abort();
  return 0;
}
