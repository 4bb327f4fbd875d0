// The camera clock offsets the user set, kept in the data folder ("<data>/clock_offsets.txt"),
// never in the index cache, so deleting the cache loses none of them.
#pragma once
#include <string>

#include "telemetry/clock_offset.h"

namespace korvane {

// "<dataFolder>/clock_offsets.txt".
std::string ClockOffsetsPath(const std::string& dataFolder);

// The stored offsets; none when the file is missing, unreadable, damaged or implausibly large.
ClockOffsets ReadClockOffsets(const std::string& dataFolder);

// Sets `folder`'s offset (0 removes it) in the file as it is now, which is replaced in one step,
// and hands the offsets now stored back in `offsets`. False, with `error` (errno saying why) and
// `offsets` unchanged, when the data folder cannot be written.
bool StoreClockOffset(const std::string& dataFolder, const std::string& folder, int seconds,
                      ClockOffsets& offsets, std::string& error);

}  // namespace korvane
