#include "platform/field_line.h"

namespace korvane {

std::string JoinFields(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (std::string_view field : fields) {
    if (!first) line += '\t';
    first = false;
    for (char c : field) {
      if (c == '\\') {
        line += "\\\\";
      } else if (c == '\t') {
        line += "\\t";
      } else if (c == '\n') {
        line += "\\n";
      } else {
        line += c;
      }
    }
  }
  line += '\n';
  return line;
}

std::optional<std::vector<std::string>> SplitFields(std::string_view line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\t') {
      fields.emplace_back();
    } else if (c != '\\') {
      fields.back() += c;
    } else if (i + 1 < line.size() &&
               (line[i + 1] == '\\' || line[i + 1] == 't' || line[i + 1] == 'n')) {
      const char escaped = line[++i];
      fields.back() += escaped == 't' ? '\t' : escaped == 'n' ? '\n' : '\\';
    } else {
      return std::nullopt;
    }
  }
  return fields;
}

}  // namespace korvane
