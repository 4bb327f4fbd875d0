#include "platform/profile_text.h"

#include <cstdint>
#include <vector>

#include "platform/ascii_text.h"

namespace korvane {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
  const auto begin = s.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  const auto end = s.find_last_not_of(kBlanks);
  return s.substr(begin, end - begin + 1);
}

// One line of the text: where it starts, its content without the line break, and where the
// next line starts.
struct Line {
  std::size_t begin;
  std::string_view content;
  std::size_t next;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  // A byte-order mark belongs to no line's content but stays in the text untouched.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view content = text.substr(pos, end - pos);
    if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
    lines.push_back({pos, content, next});
    pos = next;
  }
  return lines;
}

// The section name of a header line, or nullopt when the line is no header.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

// The key of an entry line, or nullopt for comments, blanks and lines without "=".
std::optional<std::string_view> KeyOf(std::string_view line) {
  std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
  const auto eq = trimmed.find('=');
  if (eq == std::string_view::npos || eq == 0) return std::nullopt;
  return Trim(trimmed.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// Where the wanted section and key lie in the lines.
struct Location {
  std::optional<std::size_t> header;     // line index of the section header
  std::optional<std::size_t> entry;      // line index of the key's line
  std::optional<std::size_t> lastEntry;  // last non-blank line of the section
};

Location Locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Location at;
  bool inside = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionOf(lines[i].content)) {
      if (inside) break;  // only the first section of that name counts
      inside = EqualsIgnoringAsciiCase(*name, section);
      if (inside) at.header = at.lastEntry = i;
      continue;
    }
    if (!inside) continue;
    if (!Trim(lines[i].content).empty()) at.lastEntry = i;
    if (!at.entry) {
      auto k = KeyOf(lines[i].content);
      if (k && EqualsIgnoringAsciiCase(*k, key)) at.entry = i;
    }
  }
  return at;
}

// Ends an unfinished last line so that a line can follow; a lone "\r" at the end becomes the
// start of the break instead of part of the line's content.
void EndLastLine(std::string& text, std::string_view eol) {
  if (text.empty() || text.back() == '\n') return;
  text.append(text.back() == '\r' ? "\n" : eol);
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  const auto lines = SplitLines(text);
  const Location at = Locate(lines, Trim(section), Trim(key));
  if (!at.entry) return std::nullopt;
  return std::string(ValueOf(lines[*at.entry].content));
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  auto hasLineBreak = [](std::string_view s) { return s.find_first_of("\r\n") != s.npos; };
  if (section.empty() || key.empty() || hasLineBreak(section) || hasLineBreak(key) ||
      section.find(']') != section.npos || key.find('=') != key.npos || key.front() == ';' ||
      key.front() == '[') {
    return std::nullopt;
  }
  value = value.substr(0, value.find_first_of("\r\n"));

  const auto lines = SplitLines(text);
  const std::size_t firstBreak = text.find('\n');
  const std::string_view eol =
      (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
          ? "\r\n"
          : "\n";
  const Location at = Locate(lines, section, key);
  std::string result;
  if (at.entry) {
    const Line& line = lines[*at.entry];
    // The key keeps the spelling the file gave it; only the value changes.
    const std::string_view existingKey = *KeyOf(line.content);
    result.append(text.substr(0, line.begin));
    result.append(existingKey).append("=").append(value);
    result.append(text.substr(line.begin + line.content.size()));
    return result;
  }
  const std::string entry = std::string(key) + "=" + std::string(value) + std::string(eol);
  if (at.header) {
    const Line& last = lines[*at.lastEntry];
    result.append(text.substr(0, last.next));
    if (last.next == text.size()) EndLastLine(result, eol);
    result.append(entry);
    result.append(text.substr(last.next));
    return result;
  }
  result.append(text);
  EndLastLine(result, eol);
  result.append("[").append(section).append("]").append(eol).append(entry);
  return result;
}

std::string CutToChars(std::string_view text, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A byte that is not a continuation byte starts a character.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == maxChars) return std::string(text.substr(0, i));
      ++chars;
    }
  }
  return std::string(text);
}

int LeadingInteger(std::string_view value) {
  value = Trim(value);
  bool negative = false;
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  std::uint32_t result = 0;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    result = result * 10u + static_cast<std::uint32_t>(c - '0');
  }
  if (negative) result = 0u - result;
  return static_cast<int>(result);
}

}  // namespace korvane
