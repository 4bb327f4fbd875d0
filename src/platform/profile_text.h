// The private-profile (INI) rules on file text, with no I/O: section headers in brackets,
// key=value lines, section and key names compared without regard to ASCII case, the first
// occurrence winning, and edits that leave every other line byte-for-byte as it was.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Values longer than this many characters (code points) are cut, as a 256-character buffer
// passed with the size 255 cuts them.
constexpr std::size_t kProfileValueMaxChars = 254;

// The value of `key` in `section`, trimmed of spaces and tabs and of one pair of surrounding
// quotes, or nullopt when the section or key is absent. Garbage lines are skipped.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// `text` with `key` in `section` set to `value`: the key's line is replaced, or a line is added
// after the section's last entry, or the section is appended at the end. Line endings follow the
// text's own (CRLF when its first line ends so). A value is cut at its first line break so it can
// never create lines of its own. nullopt for a section or key that no file line could hold (empty,
// a line break, "]" in a section, "=" in a key).
std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

// The first `maxChars` code points of UTF-8 `text` (never splits a character).
std::string CutToChars(std::string_view text, std::size_t maxChars);

// The leading decimal integer of `value`: optional spaces, an optional sign, digits; wraps
// modulo 2^32 as the profile functions do. "abc" gives 0.
int LeadingInteger(std::string_view value);

}  // namespace korvane
