// The text of one subtitle cue as the demuxer hands it over, reduced to the telemetry line the
// program's parser reads. Pure, no I/O.
#pragma once
#include <string_view>

namespace korvane {

// The text of a mov_text (3GPP timed text) sample: a 16-bit big-endian length, that many bytes of
// text, then optional style boxes, which are dropped. A length beyond the sample is cut to the
// sample; a sample shorter than the length field has no text.
std::string_view MovTextCueText(std::string_view sample);

// The line handed to the parser: the cue text cut to 127 bytes, as the extraction pipeline and the
// live path cut theirs.
std::string_view TelemetryLineOf(std::string_view cueText);

}  // namespace korvane
