// Lines of tab-separated fields in which a backslash, tab or line feed inside a field is escaped
// ("\\", "\t", "\n"), so any text (a path with any bytes) fits in one field of one line: the
// indexer's line protocol and the data folder's small record files.
#pragma once
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The fields joined by tabs, escaped, and ended with "\n".
std::string JoinFields(std::initializer_list<std::string_view> fields);

// The fields of a line without its "\n"; nullopt for a backslash that starts no known escape.
std::optional<std::vector<std::string>> SplitFields(std::string_view line);

}  // namespace korvane
