// The media time of a kept cue: the start time its SRT head carries ("12\n00:01:02,345 --> …").
// Pure: no I/O.
#pragma once
#include <cstdint>
#include <string_view>

namespace korvane {

// Milliseconds from the start of the clip at which the cue begins: the time before the first
// "-->" of the text, written H:MM:SS,mmm (a '.' for the comma and any number of hour digits are
// taken too). −1 when the head is missing, malformed, has minutes or seconds of 60 or more, or
// names a moment beyond what a 32-bit count of milliseconds holds.
std::int32_t CueStartMs(std::string_view cue);

}  // namespace korvane
