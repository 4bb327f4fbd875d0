#include "settings/settings_store.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "platform/profile_file.h"
#include "settings/localization.h"

namespace korvane {

std::string ReadSettingString(const ApplicationContext& context, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
  return ReadProfileString(context.settingsPath, section, key, defaultValue);
}

int ReadSettingInt(const ApplicationContext& context, std::string_view section,
                   std::string_view key, int defaultValue) {
  return ReadProfileInt(context.settingsPath, section, key, defaultValue);
}

bool WriteSettingString(const ApplicationContext& context, std::string_view section,
                        std::string_view key, std::string_view value) {
  return WriteProfileString(context.settingsPath, section, key, value);
}

bool WriteSettingInt(const ApplicationContext& context, std::string_view section,
                     std::string_view key, int value) {
  return WriteSettingString(context, section, key, std::to_string(value));
}

void LoadSettings(ApplicationContext& context) {
  Settings& s = context.settings;
  auto text = [&](const char* key, const char* fallback) {
    return ReadSettingString(context, kSettingsSection, key, fallback);
  };
  auto number = [&](const char* key, int fallback) {
    return ReadSettingInt(context, kSettingsSection, key, fallback);
  };
  s.languageFile = text(kKeyLanguage, kDefaultLanguage);
  RebuildLanguagePath(context);
  s.locale = text(kKeyLocale, kDefaultLocale);
  s.videoOutput = text(kKeyVideoOutput, kDefaultVideoOutput);
  s.audioOutput = text(kKeyAudioOutput, kDefaultAudioOutput);
  s.soundDevice = number(kKeySoundDevice, kDefaultSoundDevice);
  s.volume = number(kKeyVolume, kDefaultVolume);
  // A missing key turns these off, although the record starts with both on.
  s.snapshotPreview = number(kKeySnapshotPreview, 0) != 0;
  s.cleanTip = number(kKeyCleanTip, 0) != 0;
  s.snapshotStamp = number(kKeySnapshotStamp, 0) != 0;
  s.stampedCopy = number(kKeyStampedCopy, 0) != 0;
  s.eventThresholdG = ParseEventThreshold(text(kKeyEventThreshold, ""));
  s.eventFlipY = number(kKeyEventFlipY, 0) != 0;
  s.routeBySpeed = !EqualsIgnoringAsciiCase(text(kKeyRouteColour, ""), kRouteColourPlain);
  s.speedUnit = SpeedUnitFromValue(text(kKeySpeedUnit, ""));
  s.pictureCorner = text(kKeyPictureCorner, kDefaultPictureCorner);
  s.pictureWidthPercent = number(kKeyPictureWidth, kDefaultPictureWidthPercent);
}

double ParseEventThreshold(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
      !std::isfinite(value) || value < kMinEventThresholdG || value > kMaxEventThresholdG) {
    return kDefaultEventThresholdG;
  }
  return value;
}

}  // namespace korvane
