// Pieces of JSON text that every layer writes the same way: string literals, and numbers in fixed
// notation that no process locale can turn into "22,5".
#pragma once
#include <string>
#include <string_view>

namespace korvane {

// Appends `text` as a JSON string literal: quotes, backslashes and control characters escaped;
// UTF-8 passes as is.
void AppendJsonString(std::string& out, std::string_view text);

// `value` with `decimals` digits after the point ("22.5356000"); "nan" or "inf" for a value that is
// not finite, which a JSON writer must replace itself.
std::string FixedText(double value, int decimals);

}  // namespace korvane
