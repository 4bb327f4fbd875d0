#include "map/page_texts.h"

#include "platform/json_text.h"
#include "settings/localization.h"

namespace korvane {

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
