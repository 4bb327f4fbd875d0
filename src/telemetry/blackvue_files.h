// The files a BlackVue camera writes beside a recording: which names belong to a clip, and the
// decoder of its accelerometer log (.3gf). Its GPS log (.gps) is NMEA with a "[unix ms]" stamp
// before each sentence, which the NMEA sentence decoder passes over. Pure: no I/O.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// .3gf counts per g. Readings are 16-bit counts; /128 puts the standing car's vertical axis at
// about 0.95 g in the camera's own log, where /10 (as m/s²) would make it 1.2 g.
inline constexpr double kBlackVueCountsPerG = 128.0;

struct BlackVueGSample {
  std::int64_t offsetMs = 0;        // from the recording's start
  float g[3] = {0.0f, 0.0f, 0.0f};  // the three axes as written, in g
};

struct BlackVueGLog {
  std::vector<BlackVueGSample> samples;  // as written
  bool endMark = false;                  // ended by 0xFFFFFFFF; without it the data just stops
  bool oddTail = false;                  // bytes after the last whole record, left unread
};

// `bytes`: 10-byte big-endian records (time offset in ms: 32 bits; three signed 16-bit axes) up
// to an offset of 0xFFFFFFFF. Anything after the end mark is not read.
BlackVueGLog DecodeBlackVue3gf(std::string_view bytes);

// The same two logs inside a clip: children of a top-level `free` box, each a box of its own
// (32-bit size, type, data) among the camera's others.
struct BlackVueBoxes {
  bool found = false;     // the payload is the camera's (it opens with one of its boxes)
  std::string_view gps;   // the `gps ` box's NMEA text, its NUL padding cut
  std::string_view g3gf;  // the `3gf ` box's records
};

// The children of a `free` box's payload, up to the first that does not fit in it; `found` is
// read from the first box's type alone, so the payload's first 8 bytes say whose box it is.
BlackVueBoxes BlackVueFreeBoxChildren(std::string_view payload);

// The stems a BlackVue clip's logs may have, most likely first: a clip named
// "20260718_060329_NF" (date, time, recording mode, camera) shares "20260718_060329_N" with the
// other cameras of its moment, or has logs of its own stem. Empty for a stem not named so.
std::vector<std::string> BlackVueLogStems(std::string_view clipStem);

}  // namespace korvane
