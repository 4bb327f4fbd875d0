// Arbitrary lines as the indexer's requests and replies: no crash, and every line that parses
// formats back into a line that parses to the same request or reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "index/indexer_protocol.h"

namespace {

std::string_view WithoutEnd(const std::string& line) {
  if (line.empty() || line.back() != '\n') std::abort();
  return std::string_view(line).substr(0, line.size() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  if (const auto request = ParseRequest(line)) {
    const auto again = ParseRequest(WithoutEnd(FormatRequest(*request)));
    if (!again || again->kind != request->kind || again->path != request->path ||
        again->reason != request->reason) {
      std::abort();
    }
  }
  if (const auto reply = ParseReply(line)) {
    const auto again = ParseReply(WithoutEnd(FormatReply(*reply)));
    if (!again || again->databaseError != reply->databaseError || again->status != reply->status ||
        again->reason != reply->reason) {
      std::abort();
    }
  }
  return 0;
}
