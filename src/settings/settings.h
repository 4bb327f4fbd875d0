// The options record and the names and defaults of the settings file's keys. One record lives in
// the application context for the whole run; each change is written to its key at once.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ascii_text.h"

namespace korvane {

// Every key of the program lives in this one section.
inline constexpr char kSettingsSection[] = "MPlayer";

inline constexpr char kKeyLanguage[] = "Language";
inline constexpr char kKeyLocale[] = "Locale";
inline constexpr char kKeyVideoOutput[] = "VO";
inline constexpr char kKeyAudioOutput[] = "AO";
inline constexpr char kKeySoundDevice[] = "DEVICE";
inline constexpr char kKeyVolume[] = "Volume";
inline constexpr char kKeySnapshotPreview[] = "SSPreview";
inline constexpr char kKeyCleanTip[] = "CleanTip";
inline constexpr char kKeyMap[] = "Map";
inline constexpr char kKeyAssociate[] = "Associate";
inline constexpr char kKeyFilter[] = "Filter";
// Stamp the GPS panel's line into a snapshot's bottom edge (0/1, missing: off).
inline constexpr char kKeySnapshotStamp[] = "SSStamp";
// A saved stretch gets a stamped copy beside it (0/1, missing: off).
inline constexpr char kKeyStampedCopy[] = "SaveStamped";
// The main window's normal rectangle and maximised state, written when it closes, in this order.
inline constexpr char kKeyWindowLeft[] = "WindowLeft";
inline constexpr char kKeyWindowTop[] = "WindowTop";
inline constexpr char kKeyWindowWidth[] = "WindowWidth";
inline constexpr char kKeyWindowHeight[] = "WindowHeight";
inline constexpr char kKeyWindowMaximized[] = "WindowMaximized";
// The zone of the camera's clock for exported times: "local" (the system's rules) or "+08:00".
inline constexpr char kKeyTimeZone[] = "TimeZone";

// How far (in G, as text: "0.5") an acceleration must leave its clip median to count as a driving
// event; and 1 to swap braking and acceleration for a camera mounted the other way round.
inline constexpr char kKeyEventThreshold[] = "EventThreshold";
inline constexpr char kKeyEventFlipY[] = "EventFlipY";
// How the map colours the route: "speed" (each stretch by its speed) or "plain" (one colour).
inline constexpr char kKeyRouteColour[] = "RouteColour";
inline constexpr char kRouteColourPlain[] = "plain";
// The unit speeds are shown in: "kmh" or "mph".
inline constexpr char kKeySpeedUnit[] = "SpeedUnit";

// The small pictures of a moment's other cameras: their corner ("TopLeft", "TopRight",
// "BottomLeft", "BottomRight"; anything else is the top right) and their width in percent of the
// video area's (held to 20..45 where they are laid out).
inline constexpr char kKeyPictureCorner[] = "PictureCorner";
inline constexpr char kKeyPictureWidth[] = "PictureWidth";

// Defaults when a key is missing from the file.
inline constexpr char kDefaultLanguage[] = "russian.ini";
inline constexpr char kDefaultLocale[] = "Oversea";
inline constexpr char kDefaultVideoOutput[] = "directx:noaccel";
inline constexpr char kDefaultAudioOutput[] = "dsound";
inline constexpr int kDefaultSoundDevice = 0;
inline constexpr int kDefaultVolume = 40;
inline constexpr char kDefaultFilter[] = "*.mp4 *.mov *.ts";
inline constexpr double kDefaultEventThresholdG = 0.5;
inline constexpr double kMinEventThresholdG = 0.1;
inline constexpr double kMaxEventThresholdG = 2.0;
// The file types a folder is played (and exported) with when "Associate" is missing or empty.
inline constexpr char kDefaultAssociate[] = "MP4;MOV;TS";
inline constexpr char kDefaultTimeZone[] = "local";
inline constexpr char kDefaultPictureCorner[] = "TopRight";
inline constexpr int kDefaultPictureWidthPercent = 30;

// The map kinds of the settings record (`Settings::mapKind`).
inline constexpr std::uint8_t kMapKindNone = 0;
inline constexpr std::uint8_t kMapKindBaidu = 1;
inline constexpr std::uint8_t kMapKindGoogle = 2;
inline constexpr std::uint8_t kMapKindYandex = 3;

enum class SpeedUnit : std::uint8_t { Kmh, Mph };

// The unit a settings value names: "mph" in any case is miles per hour; anything else, garbage
// or nothing included, km/h.
inline SpeedUnit SpeedUnitFromValue(std::string_view value) {
  return EqualsIgnoringAsciiCase(value, "mph") ? SpeedUnit::Mph : SpeedUnit::Kmh;
}
// The value the settings file keeps for a unit.
inline const char* SpeedUnitValue(SpeedUnit unit) {
  return unit == SpeedUnit::Mph ? "mph" : "kmh";
}

// The small pictures' corner, and the settings values naming each, in the enum's order.
enum class PictureCorner : std::uint8_t { kTopLeft, kTopRight, kBottomLeft, kBottomRight };
inline constexpr std::array<const char*, 4> kPictureCornerValues{"TopLeft", "TopRight",
                                                                 "BottomLeft", "BottomRight"};
// The corner a settings value names, in any case; any other text is the default, the top right.
inline PictureCorner PictureCornerOf(std::string_view text) {
  for (std::size_t i = 0; i < kPictureCornerValues.size(); ++i) {
    if (EqualsIgnoringAsciiCase(text, kPictureCornerValues[i])) return PictureCorner(i);
  }
  return PictureCorner::kTopRight;
}
// The share of the video area's width a small picture takes, as the layout holds it.
inline constexpr int kMinPictureWidthPercent = 20;
inline constexpr int kMaxPictureWidthPercent = 45;

// Field values hold from creation to the load, which follows at once (LoadSettings).
struct Settings {
  std::string languageFile = kDefaultLanguage;
  std::string locale = kDefaultLocale;             // "China" (exact) means inside China
  std::uint8_t mapKind = 0;                        // 1 Baidu, 2 Google, 3 Yandex; never stored
  std::string videoOutput;                         // after "-vo"; empty: the player's own
  std::string audioOutput;                         // after "-ao"; empty: the player's own
  std::int32_t soundDevice = kDefaultSoundDevice;  // meaningful with "dsound" only
  std::int32_t volume = kDefaultVolume;            // 0..100, clamped by the player
  bool snapshotPreview = true;
  bool cleanTip = true;
  bool snapshotStamp = false;
  bool stampedCopy = false;
  double eventThresholdG = kDefaultEventThresholdG;  // within kMin… kMaxEventThresholdG
  bool eventFlipY = false;
  bool routeBySpeed = true;  // "RouteColour" other than "plain"
  SpeedUnit speedUnit = SpeedUnit::Kmh;
  std::string pictureCorner = kDefaultPictureCorner;
  std::int32_t pictureWidthPercent = kDefaultPictureWidthPercent;
};

// The threshold a settings text names: a decimal number of G within kMinEventThresholdG …
// kMaxEventThresholdG, blanks around it allowed; anything else (empty, garbage, out of range,
// not finite) gives kDefaultEventThresholdG.
double ParseEventThreshold(std::string_view text);

}  // namespace korvane
