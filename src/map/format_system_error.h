// Texts of the status codes a script call can end with, as the system words them.
#pragma once
#include <cstdint>
#include <string>

namespace korvane {

// The system's text for `code`, trailing line break included; "FormatMessage Netive Error" for a
// code the system has no text for.
std::string FormatSystemError(std::int32_t code);

}  // namespace korvane
