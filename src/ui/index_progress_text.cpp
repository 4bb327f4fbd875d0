#include "ui/index_progress_text.h"

namespace korvane {

std::string IndexProgressText(const std::string& caption, std::size_t done, std::size_t total) {
  if (total == 0 || done >= total) return "";
  return caption + " " + std::to_string(done) + " / " + std::to_string(total);
}

}  // namespace korvane
