#include "export/save_command.h"

#include <cstdio>

#include "export/saved_track.h"

namespace korvane {
namespace {

std::string Seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%03lld", ms < 0 ? "-" : "",
                static_cast<long long>((ms < 0 ? -ms : ms) / 1000),
                static_cast<long long>((ms < 0 ? -ms : ms) % 1000));
  return text;
}

std::string StretchStamp(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(ms / 3'600'000),
                static_cast<long long>(ms / 60'000 % 60), static_cast<long long>(ms / 1000 % 60));
  return text;
}

// ".250": the part of a second a camera time has past its whole seconds.
std::string Millis(std::int64_t ms) {
  const std::int64_t part = (ms % 1000 + 1000) % 1000;
  char text[8];
  std::snprintf(text, sizeof text, ".%03lld", static_cast<long long>(part));
  return text;
}

// A path as a concat list quotes it: in single quotes, each single quote closed, escaped, reopened.
std::string Quoted(const std::string& path) {
  std::string out = "'";
  for (char c : path) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string ConcatList(const ChannelPlan& channel) {
  std::string list = "ffconcat version 1.0\n";
  for (std::size_t i = 0; i < channel.pieces.size(); ++i) {
    const StretchPiece& piece = channel.pieces[i];
    const std::int64_t until = i + 1 < channel.pieces.size()
                                   ? channel.pieces[i + 1].atMs
                                   : piece.atMs + piece.outMs - piece.inMs;
    list += "file " + Quoted(piece.path) + "\ninpoint " + Seconds(piece.inMs) + "\noutpoint " +
            Seconds(piece.outMs) + "\nduration " + Seconds(until - piece.atMs) + "\n";
  }
  return list;
}

std::vector<std::string> SaveArguments(const StretchPlan& plan, const SaveFiles& files) {
  if (plan.channels.empty() || files.concatLists.size() != plan.channels.size() ||
      files.outputPath.empty()) {
    return {};
  }
  std::vector<std::string> args = {"-hide_banner", "-nostdin", "-loglevel", "error", "-y"};
  for (std::size_t i = 0; i < plan.channels.size(); ++i) {
    const std::int64_t at = plan.channels[i].pieces.front().atMs;
    if (at > 0) args.insert(args.end(), {"-itsoffset", Seconds(at)});
    args.insert(args.end(), {"-f", "concat", "-safe", "0", "-i", files.concatLists[i]});
  }
  const bool cues = !files.cuesPath.empty();
  if (cues) args.insert(args.end(), {"-f", "srt", "-i", files.cuesPath});
  for (std::size_t i = 0; i < plan.channels.size(); ++i) {
    args.insert(args.end(), {"-map", std::to_string(i) + ":v:0"});
  }
  if (files.mainHasAudio) args.insert(args.end(), {"-map", "0:a:0"});
  if (cues) args.insert(args.end(), {"-map", std::to_string(plan.channels.size()) + ":s:0"});
  args.insert(args.end(), {"-c:v", "copy"});
  if (files.mainHasAudio) args.insert(args.end(), {"-c:a", files.audioToAac ? "aac" : "copy"});
  if (cues) args.insert(args.end(), {"-c:s", "mov_text"});
  for (std::size_t i = 0; i < plan.channels.size(); ++i) {
    args.insert(args.end(), {"-metadata:s:v:" + std::to_string(i),
                             "handler_name=" + std::string(ChannelMark(plan.channels[i].channel))});
  }
  args.insert(args.end(), {"-metadata", "comment=" + SaveComment(plan), "-t",
                           Seconds(plan.toMs - plan.fromMs), "-f", "mp4", files.outputPath});
  return args;
}

std::string SaveComment(const StretchPlan& plan) {
  std::string comment = "Saved by KORVANE: camera time " + CameraClockText(plan.fromMs, ':') +
                        Millis(plan.fromMs) + " to " + CameraClockText(plan.toMs, ':').substr(11) +
                        Millis(plan.toMs);
  for (const ChannelPlan& channel : plan.channels) {
    for (const StretchGap& gap : channel.gaps) {
      comment += "; no picture " + StretchStamp(gap.atMs) + " to " +
                 StretchStamp(gap.atMs + gap.lengthMs) + " (" +
                 std::string(ChannelMark(channel.channel)) + ")";
    }
  }
  return comment;
}

std::string SavedFileName(const std::string& folder, std::int64_t fromCameraMs,
                          const std::function<bool(const std::string&)>& taken) {
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  base += CameraClockText(fromCameraMs, '-') + " incident";
  for (int number = 1; number <= 1000; ++number) {
    const std::string path = base + (number == 1 ? "" : " " + std::to_string(number)) + ".mp4";
    if (!taken(path) && !taken(BesideGpx(path))) return path;
  }
  return {};
}

std::string BesideGpx(const std::string& mp4Path) {
  const std::size_t slash = mp4Path.rfind('/');
  const std::size_t dot = mp4Path.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExtension ? mp4Path.substr(0, dot) : mp4Path) + ".gpx";
}

}  // namespace korvane
