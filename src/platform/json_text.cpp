#include "platform/json_text.h"

#include <charconv>
#include <cstdio>

namespace korvane {

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

std::string FixedText(double value, int decimals) {
  char text[400];  // DBL_MAX in fixed notation, with the decimals
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? std::string(text, result.ptr) : "nan";
}

}  // namespace korvane
