#include "map/page_texts.h"

#include <cstdio>

#include "settings/localization.h"

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

std::string ComposePageTexts(const std::function<std::string(std::string_view)>& lookup) {
  std::string json = "{";
  for (const PageTextKey& key : kPageTextKeys) {
    const std::string text = lookup(key.languageKey);
    if (text.empty()) continue;
    if (json.size() > 1) json += ',';
    AppendJsonString(json, key.pageName);
    json += ':';
    AppendJsonString(json, text);
  }
  return json + "}";
}

std::string PageTextsOf(const ApplicationContext& context) {
  return ComposePageTexts([&context](std::string_view key) {
    return ReadLanguageTextOrEnglish(context, kMapInterfaceSection, key);
  });
}

}  // namespace korvane
