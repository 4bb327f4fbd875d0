// The extractor's argument vector: `-i <input> <extra arguments> unix:<socket>`, and where the
// extractor, its default arguments and its socket live.
#pragma once
#include <string>
#include <vector>

namespace korvane {

// Under the program folder (which ends in "/").
constexpr const char* kExtractorRelativePath = "FFMpeg/ffmpeg";
// ffmpeg converts the camera's mov_text track to SRT text; "-scodec copy" cannot write mov_text as
// SRT and makes ffmpeg fail at once. "-flush_packets 0" lets ffmpeg fill its output buffer instead
// of writing every cue by itself, which made a whole-file extraction about a third slower.
constexpr const char* kExtractorArguments = "-y -vn -an -scodec srt -f srt -flush_packets 0";
constexpr const char* kExtractorSocketName = "DVRFFMpegPipe";

// The arguments after the program name. The input is passed as a "file:" URL so that no name is
// taken for an option ("-clip.mp4"), standard input ("-") or another protocol ("http:x.mp4").
// `extraArguments` is split at spaces, empty pieces dropped. Never fails.
std::vector<std::string> BuildExtractorArguments(const std::string& inputPath,
                                                 const std::string& extraArguments,
                                                 const std::string& socketPath);

// "<RuntimeFolder()>/DVRFFMpegPipe".
std::string DefaultExtractorSocketPath();

}  // namespace korvane
