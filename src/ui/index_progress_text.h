// The background indexing's progress as the playlist header shows it: "Indexing 12 / 340".
#pragma once
#include <cstddef>
#include <string>

namespace korvane {

// `caption` (the language's "IDS_INDEXING") with the clips done and the clips of the run; empty
// when no run goes on (no clips, or all done), which hides the text.
std::string IndexProgressText(const std::string& caption, std::size_t done, std::size_t total);

}  // namespace korvane
