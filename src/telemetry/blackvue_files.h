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

// The stems a BlackVue clip's logs may have, most likely first: a clip named
// "20260718_060329_NF" (date, time, recording mode, camera) shares "20260718_060329_N" with the
// other cameras of its moment, or has logs of its own stem. Empty for a stem not named so.
std::vector<std::string> BlackVueLogStems(std::string_view clipStem);

}  // namespace korvane
