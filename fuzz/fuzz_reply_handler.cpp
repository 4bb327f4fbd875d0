// Arbitrary player output through the reply reader's path: cut into lines in blocks of varying
// size, every line applied to one long-lived set of reply fields. The fields must stay what the
// controller relies on: a length it can turn into whole seconds, a finite aspect, and a screenshot
// name that stays inside the snapshot folder.
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/line_splitter.h"
#include "media/reply_handler.h"

namespace {

using namespace korvane;

void Check(const ReplyFields& f, const ReplyOutcome& outcome) {
  if (!std::isfinite(f.length) || f.length < 0 || f.length >= INT_MAX) __builtin_trap();
  if (!std::isfinite(f.aspect)) __builtin_trap();
  const std::string& shot = f.screenshotName;
  if (shot.find('/') != std::string::npos || shot == "." || shot == "..") __builtin_trap();
  if (outcome.deliverSubtitle && f.subtitleLine.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ReplyFields fields;
  LineSplitter splitter;
  auto apply = [](std::string_view line) { Check(fields, ApplyReplyLine(line, fields)); };
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first byte picks the read size, so lines are cut between reads at every place.
  const std::size_t block = size > 0 ? 1 + data[0] % 64 : 1;
  for (std::size_t at = 0; at < text.size(); at += block)
    splitter.Feed(text.substr(at, block), apply);
  splitter.Flush(apply);
  return 0;
}
