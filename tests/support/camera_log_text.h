// Generated camera logs for the tests that lay one beside a clip: a DJI subtitle file and an
// Escort trip log of `fixes` seconds, standing at one place.
#pragma once
#include <cstdio>
#include <string>

namespace korvane::test {

inline std::string TwoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// A cue a second from 2022-06-21 16:06:00 on the camera's clock at 36.6146° N 6.112° W.
inline std::string DjiSrtText(int fixes) {
  std::string srt;
  for (int s = 0; s < fixes; ++s) {
    srt += std::to_string(s + 1) + "\n00:00:" + TwoDigits(s) +
           ",000 --> 00:00:" + TwoDigits(s + 1) + ",000\n2022.06.21 16:06:" + TwoDigits(s) +
           "\nGPS(-6.1120,36.6146,16) BAROMETER:0.3M\n\n";
  }
  return srt;
}

// A line a second from 2026-05-11 00:16:00 UTC at 37° N 121° W.
inline std::string EscortMapText(int fixes) {
  std::string map;
  for (int s = 0; s < fixes; ++s) {
    map += "A,110526,0016" + TwoDigits(s) + ",3700.0000,N,12100.0000,W,117.36,0.10,-0.17,1.0;\r\n";
  }
  return map;
}

}  // namespace korvane::test
