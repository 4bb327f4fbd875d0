#include "export/stamped_copy.h"

#include <algorithm>
#include <string_view>

#include "export/save_command.h"

namespace korvane {
namespace {

std::string Escaped(const std::string& text, const char* special) {
  std::string out;
  for (const char c : text) {
    if (std::string_view(special).find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string FilterGraphPath(const std::string& path) {
  return Escaped(Escaped(path, "\\':"), "\\'[],;");
}

std::vector<std::string> StampedArguments(const StampedFiles& files) {
  if (files.savedPath.empty() || files.stampPath.empty() || files.outputPath.empty() ||
      files.channels < 1) {
    return {};
  }
  // A quarter of the main picture's width, even as the encoder needs; one below the other.
  const int small = files.width > 0 ? std::max(2, files.width / 4 / 2 * 2) : 480;
  const std::string margin = files.width > 0 ? std::to_string(std::max(8, files.width / 80)) : "24";
  std::string graph = "[0:v:0]ass=filename=" + FilterGraphPath(files.stampPath) + "[m0]";
  for (int i = 1; i < files.channels; ++i) {
    const std::string n = std::to_string(i);
    const std::string previous = "[m" + std::to_string(i - 1) + "]";
    graph += ";[0:v:" + n + "]scale=" + std::to_string(small) + ":-2[s" + n + "];" + previous +
             "[s" + n + "]overlay=x=main_w-overlay_w-" + margin + ":y=" + margin + "+" +
             std::to_string(i - 1) + "*(overlay_h+" + margin + ")[m" + n + "]";
  }
  std::vector<std::string> args = {"-hide_banner",
                                   "-nostdin",
                                   "-loglevel",
                                   "error",
                                   "-y",
                                   "-i",
                                   files.savedPath,
                                   "-filter_complex",
                                   graph,
                                   "-map",
                                   "[m" + std::to_string(files.channels - 1) + "]"};
  if (files.hasAudio) args.insert(args.end(), {"-map", "0:a:0", "-c:a", "copy"});
  // The telemetry track goes along, so the copy plays with route and panel too.
  args.insert(args.end(),
              {"-map", "0:s?", "-c:s", "copy", "-c:v", "libx264", "-preset", "superfast", "-crf",
               "23", "-pix_fmt", "yuv420p", "-f", "mp4", files.outputPath});
  return args;
}

std::string StampedBeside(const std::string& mp4Path) {
  std::string name = BesideGpx(mp4Path);
  name.resize(name.size() - 4);  // ".gpx"
  return name + " stamped.mp4";
}

}  // namespace korvane
