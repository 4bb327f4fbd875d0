// Makes telemetry clips of any length the way samples/make_samples.sh does (its awk track
// generator, then ffmpeg with a tiny picture and the "Ambarella EXT" mov_text track), for tests and
// benchmarks that need more cues than the stock samples carry.
#pragma once
#include <cstdlib>
#include <string>

namespace korvane::test {

// Writes <folder>/<name>.mp4 with `cues` cues 100 ms apart and <folder>/<name>.telemetry.txt with
// their lines. `faststart` puts the index first, so ffmpeg can read the clip from a FIFO. `folder`
// must end in "/" and hold no single quote. Returns the clip's path, or "" when a tool failed.
inline std::string MakeTelemetryClip(const std::string& sourceDir, const std::string& folder,
                                     const std::string& name, int cues, bool faststart) {
  const std::string base = folder + name;
  const int seconds = cues / 10 + 1;
  const std::string command =
      "awk -v cues=" + std::to_string(cues) + " -v srt='" + base + ".srt' -v txt='" + base +
      ".telemetry.txt' -v lat0=22.5356 -v lon0=113.9393 -f '" + sourceDir +
      "/samples/telemetry_track.awk' && ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi "
      "-i color=size=16x16:rate=1:duration=" +
      std::to_string(seconds) + " -i '" + base +
      ".srt' -map 0:v -map 1:s -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:s mov_text "
      "-metadata:s:s:0 'handler_name=Ambarella EXT' " +
      (faststart ? "-movflags +faststart " : "") + "'" + base + ".mp4'";
  if (std::system(command.c_str()) != 0) return "";
  return base + ".mp4";
}

}  // namespace korvane::test
