// The texts a map page shows of its own (the notice that tiles cannot be fetched, the tooltip of
// the every-route toggle, the two buttons of the track choice; legends join the table as pages gain
// them): which language key fills which page text, and the JSON object the page function
// "setPageTexts" takes.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "settings/application_context.h"

namespace korvane {

struct PageTextKey {
  const char* pageName;     // the name in the page's text table
  const char* languageKey;  // in the language files' "Map_Interface" section
};

inline constexpr std::array<PageTextKey, 5> kPageTextKeys{{
    {"tilesUnavailable", "IDS_TILESUNAVAILABLE"},
    {"speedLegend", "IDS_SPEEDLEGEND"},
    {"allRoutes", "IDS_ALLROUTES"},
    {"cameraTrack", "IDS_CAMERATRACK"},
    {"gpxTrack", "IDS_GPXTRACK"},
}};

// {"tilesUnavailable":"…"} in table order, each text JSON-escaped. A text `lookup` gives as empty
// is left out, so the page keeps its own English one; no text at all gives "{}".
std::string ComposePageTexts(const std::function<std::string(std::string_view)>& lookup);

// The page texts of the current language file, each falling back to the English file.
std::string PageTextsOf(const ApplicationContext& context);

}  // namespace korvane
