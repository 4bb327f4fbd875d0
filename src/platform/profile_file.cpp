#include "platform/profile_file.h"

#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/profile_text.h"
#include "platform/small_file.h"

namespace korvane {

namespace {

// Writes from different threads must not interleave their read-change-replace steps.
std::mutex g_writeMutex;

// No settings or language file comes near this; anything larger is not one.
constexpr std::int64_t kMaxProfileBytes = 16 << 20;

std::optional<std::string> FindValue(const std::string& path, std::string_view section,
                                     std::string_view key) {
  auto text = ReadSmallFile(path, kMaxProfileBytes);
  if (!text) return std::nullopt;
  auto value = FindProfileValue(*text, section, key);
  if (!value) return std::nullopt;
  return CutToChars(*value, kProfileValueMaxChars);
}

}  // namespace

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
  auto value = FindValue(path, section, key);
  return value ? *value : std::string(defaultValue);
}

int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int defaultValue) {
  auto value = FindValue(path, section, key);
  if (!value || value->empty()) return defaultValue;
  return LeadingInteger(*value);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  std::lock_guard lock(g_writeMutex);
  std::string text;
  if (access(path.c_str(), F_OK) == 0) {
    auto existing = ReadSmallFile(path, kMaxProfileBytes);
    if (!existing) return false;  // never replace a file we could not read
    text = std::move(*existing);
  }
  auto changed = SetProfileValue(text, section, key, value);
  if (!changed) return false;
  if (*changed == text && !text.empty()) return true;
  return ReplaceFile(path, *changed);
}

}  // namespace korvane
