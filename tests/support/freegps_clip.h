// Novatek-family GPS blocks as the cameras write them (the common layout), a clip made from an
// ffmpeg MP4 by adding a `gps ` index to its `moov` and the blocks after it, and a TS clip with
// the records in a private stream, for the tests and benchmarks of the freeGPS reader. Bytes only:
// nothing of the program's reader is used.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test {

struct BlockFix {
  int year = 2026, month = 5, day = 18, hour = 8, minute = 30, second = 0;
  char status = 'A';
  double latitude = 50.45;  // signed degrees
  double longitude = 30.52;
  float knots = 20.0f;
  float heading = 90.0f;
};

// The fix as one common-layout block of `size` bytes (size field, mark, record at 48).
std::string NovatekBlock(const BlockFix& fix, std::uint32_t size = 256);

// The fix at second `i` of a drive starting at `start` going north-east at about 50 km/h.
BlockFix DriveFix(const BlockFix& start, int i);

// Copies `mp4` (an MP4 whose `moov` is its last box, as ffmpeg writes it) to `out` with the
// blocks of `fixes` after it, listed by a `gps ` index after the `moov`'s header. False when
// the file is not such an MP4.
bool WriteFreeGpsClip(const std::string& mp4, const std::string& out,
                      const std::vector<BlockFix>& fixes);

// A PES as 188-byte transport stream packets of `pid`, the last one filled by its adaptation
// field; and a private_stream_2 PES holding `data`.
std::string TsPackets(int pid, const std::string& pes);
std::string PrivatePes(const std::string& data);

// Remuxes `mp4` into a transport stream at `out` (ffmpeg, the video copied) with the fixes'
// records (a block's bytes after its first 48) as private_stream_2 packets on PID 0x300, one a
// second of the clip among the video's packets, as cameras in TS mode write them. False when
// ffmpeg fails.
bool WriteFreeGpsTs(const std::string& mp4, const std::string& out,
                    const std::vector<BlockFix>& fixes);

}  // namespace korvane::test
