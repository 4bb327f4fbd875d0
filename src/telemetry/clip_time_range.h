// When a clip was recorded, to match a track from another device to it by time: the camera's own
// times when the clip has them, else the creation time in its MP4 header, else a date and time in
// its file name, else its modification time minus its duration (a camera closes a file when it
// stops writing it). Which of them was used is kept, for the log.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

enum class ClipTimeBasis { CameraClock, CreationTime, FileName, ModificationTime };

// For the log: "camera clock", "MP4 creation time", "file name", "modification time".
std::string_view ClipTimeBasisText(ClipTimeBasis basis);

struct ClipTimeFacts {
  std::optional<std::int64_t> cameraStartUtcMs;   // the first camera time, its zone applied
  std::optional<std::int64_t> creationTimeUtcMs;  // Mp4CreationTime
  // FileNameDateTime as placed in UTC by the caller (ClipTimeFactsOfFile: as written, no zone).
  std::optional<std::int64_t> fileNameUtcMs;
  std::int64_t modifiedUtcMs = 0;
  std::int64_t durationMs = 0;
};

struct ClipTimeRange {
  std::int64_t startUtcMs = 0;
  std::int64_t durationMs = 0;
  ClipTimeBasis basis = ClipTimeBasis::ModificationTime;
};

// The clip's range from the first fact it has, in the order above.
ClipTimeRange ClipTimeRangeOf(const ClipTimeFacts& facts);

// The moment that dates a track whose records give a day but no month (the clip's own times
// aside): the date-time in its name, else its header's creation time, else its modification
// time less its duration, and which of them it is.
ClipTimeRange ClipDateOf(const ClipTimeFacts& facts);

// The date and time a camera wrote into a file name, in seconds on its clock since 1970: the
// first run of 14 digits, YYYYMMDD then HHMMSS, with at most one '_', '-', '.' or space between
// any two groups of them (20260518_063000, 2026_0518_063000, 2026-05-18_06-30-00, 20260518063000).
// nullopt when there is none that names a real moment from 1990 on.
std::optional<std::int64_t> FileNameDateTime(std::string_view fileName);

// The creation time of the MP4 (QuickTime) file at `path` from its movie header (moov/mvhd), in
// ms since 1970 UTC. nullopt when the file has none, says 0 (not set) or cannot be read; only
// the box headers on the way are read, never the media data.
std::optional<std::int64_t> Mp4CreationTime(const std::string& path);
// The duration in that movie header in ms; 0 when it has none or says none.
std::int64_t Mp4DurationMs(const std::string& path);

// The facts of the clip file at `path` that has no camera times: its header's creation time and
// duration, the date-time in its name (taken as UTC: the camera's zone is not applied) and its
// modification time.
ClipTimeFacts ClipTimeFactsOfFile(const std::string& path);

// The first box of `type` among the boxes from `offset` to `end` of an MP4 file, by seeks: its
// body's range. False when there is none, or a box's size runs past `end`.
bool FindMp4Box(std::ifstream& in, std::uint64_t offset, std::uint64_t end, const char* type,
                std::uint64_t& bodyOffset, std::uint64_t& bodyEnd);

}  // namespace korvane
