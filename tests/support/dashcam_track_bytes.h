// Bytes of two cameras' telemetry as their firmware writes it, for the tests and benchmarks of
// their readers: a Thinkware `tx3g` track (ten cues a second, an RMC in one of them) and a
// LIGOGPS trailer (an encrypted block, then the plaintext block of one line a second). Written
// from the layouts alone; nothing of the program's readers is used.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "support/mp4_bytes.h"
#include "support/mp4_data_track.h"

namespace korvane::test {

// A tx3g sample: the text's 16-bit length, then the text.
inline std::string TextCue(const std::string& text) {
  return Be(text.size(), 2) + text;
}

// "$<body>*HH" without its '$' (bare) or with it.
inline std::string RmcSentence(const std::string& body, bool bare = true) {
  unsigned sum = 0;
  for (const char c : body) sum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return (bare ? "" : "$") + body + tail;
}

// The drive both formats carry: at second `s`, 50°27' + s·0.006' N, 30°31.2' + s·0.006' E.
inline double DriveLatitude(int s) {
  return 50.0 + (27.0 + s * 0.006) / 60.0;
}
inline double DriveLongitude(int s) {
  return 30.0 + (31.2 + s * 0.006) / 60.0;
}

// A Thinkware track of `seconds` s from 2026-06-02 04:16:00 UTC: ten cues a second of 100 ms,
// each with its accelerometer reading (4 g over 512 counts: the axes read 10·s + tenth, 0 and
// 128 counts), the sixth of each second with the RMC of that second at 14 kn, course 90.
inline DataTrack ThinkwareDataTrack(int seconds) {
  DataTrack track;
  track.handler = "sbtl";
  track.format = "tx3g";
  for (int s = 0; s < seconds; ++s) {
    for (int tenth = 0; tenth < 10; ++tenth) {
      std::string text = "gsensori,4,512," + std::to_string(10 * (s % 10) + tenth) + ",000,128;";
      if (tenth == 5) {
        char body[128];
        std::snprintf(body, sizeof body,
                      "GPRMC,04%02d%02d.00,A,50%08.5f,N,030%08.5f,E,14.000,90.00,"
                      "020626,,,A",
                      16 + s / 60, s % 60, 27.0 + s * 0.006, 31.2 + s * 0.006);
        text += RmcSentence(body) + "\n;";
      }
      text += "CAR,0,0,0,0.0,0,0,0,0,0,0,0,0";
      track.samples.push_back({TextCue(text), 100});
    }
  }
  track.samples.push_back({TextCue(""), 100});  // the empty cue ffmpeg ends its tracks with
  return track;
}

// A LIGOGPS line of the drive at second `s` from 2026-08-03 11:34:00 on the camera's clock.
inline std::string LigoGpsDriveLine(int s) {
  char line[160];
  std::snprintf(line, sizeof line,
                "2026/08/03 11:%02d:%02d N:%.6f E:%.6f %d.0 km/h x:0.00 y:0.00 z:0.00 A:%d.0 "
                "H:173.0 M:0.0",
                34 + s / 60, s % 60, DriveLatitude(s), DriveLongitude(s), 20 + s % 40, 200 + s);
  return line;
}

// One block: its size, "SKIP", the mark padded to 16 bytes (a space after it when plaintext),
// the line count, each line as its number and its text NUL-padded to `slot` - 4 bytes, then
// `end` (a 4-byte mark) and the size again.
inline std::string LigoGpsBlock(const std::vector<std::string>& lines, bool plain,
                                std::size_t slot = 132, const std::string& end = "####") {
  std::string body =
      std::string("LIGOGPSINFO") + (plain ? "     " : std::string(5, '\0')) + Be32(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string text = lines[i].substr(0, slot - 4);
    text.resize(slot - 4, '\0');
    body += Be32(i + 1) + text;
  }
  const std::size_t size = 8 + body.size() + 8;
  return Be32(size) + "SKIP" + body + end + Be32(size);
}

// The trailer a camera appends after the last box: an encrypted block, then the plaintext one.
inline std::string LigoGpsTrailer(const std::vector<std::string>& lines, std::size_t slot = 132) {
  return LigoGpsBlock({std::string("\x05\xff\xff", 3)}, false, 20, "****") +
         LigoGpsBlock(lines, true, slot);
}

}  // namespace korvane::test
