// The settings window's option tables: the player's video and sound outputs with their display
// names in four languages, the speed units, the choice of tables by language file, and lookup by
// stored value.
#pragma once
#include <span>
#include <string_view>

namespace korvane {

// One combo row: the value stored in the settings and the name shown (with its leading space).
struct OptionRow {
  const char* value;
  const char* displayName;
};

using OptionTable = std::span<const OptionRow>;

struct OutputTables {
  OptionTable video;  // twelve rows
  OptionTable sound;  // two rows
};

// "chinese.ini", "big5chinese.ini" and "russian.ini" (exact, case counts) have tables of their
// own; any other name, empty or unknown included, gets the English ones.
OutputTables OutputTablesFor(std::string_view languageFile);

// Index of the first row whose value equals `value` exactly; -1 when none does.
int FindRowByValue(OptionTable table, std::string_view value);

// The driving-event thresholds the settings window offers (values as the settings key stores
// them), and the row nearest a threshold in G (the default's row for one that is not a number).
OptionTable EventThresholdRows();
int NearestThresholdRow(double thresholdG);

// The widths the small pictures are offered at, in percent of the video area's (the settings'
// range in steps of 5), and the row nearest a width (a stored one the list lacks included).
OptionTable PictureWidthRows();
int NearestPictureWidthRow(int percent);

// The speed units, by the values the settings file keeps ("SpeedUnit").
inline constexpr OptionRow kSpeedUnitRowArray[] = {{"kmh", "km/h"}, {"mph", "mph"}};
inline constexpr OptionTable kSpeedUnitRows{kSpeedUnitRowArray};

// The audio output that lets the user pick a sound card.
inline constexpr char kSoundCardOutput[] = "dsound";

}  // namespace korvane
