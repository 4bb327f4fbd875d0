#include "telemetry/mpeg_ts.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace korvane {
namespace {

constexpr std::uint8_t kSync = 0x47;
constexpr std::uint8_t kPrivateStream1 = 0xBD;
constexpr std::uint8_t kPrivateStream2 = 0xBF;
// Packets read at once: the file is walked in order.
constexpr std::size_t kPacketsPerRead = 4096;

struct PendingPes {
  std::vector<std::uint8_t> bytes;  // from the start code on
  bool dropped = false;             // grew past the limit
};

// Hands the PES's data after its header to `visit`; nothing for a PES that is not a private
// stream or whose header does not read.
void Deliver(std::uint16_t pid, const PendingPes& pes, std::string& problem,
             const std::function<void(const TsPes&)>& visit) {
  const std::vector<std::uint8_t>& b = pes.bytes;
  if (pes.dropped) {
    NoteMp4Problem(problem, "a private stream packet larger than a record is skipped");
    return;
  }
  if (b.size() < 6 || b[0] != 0 || b[1] != 0 || b[2] != 1) return;
  const std::uint8_t id = b[3];
  if (id != kPrivateStream1 && id != kPrivateStream2) return;
  std::size_t length = static_cast<std::size_t>(ReadBigEndian(&b[4], 2));
  std::size_t at = 6;
  // private_stream_1 carries the optional header (flags and its length); private_stream_2 none.
  if (id == kPrivateStream1) {
    if (b.size() < 9) return;
    at = 9 + b[8];
  }
  const std::size_t end = length == 0 ? b.size() : std::min(b.size(), 6 + length);
  if (at > end) return;
  visit(TsPes{pid, id, std::span(b).subspan(at, end - at)});
}

}  // namespace

bool LooksLikeMpegTs(std::uint64_t fileSize, const ReadAtFn& readAt) {
  if (fileSize < kTsPacketSize) return false;
  for (std::uint64_t at = 0; at < 3 * kTsPacketSize && at < fileSize; at += kTsPacketSize) {
    std::uint8_t sync = 0;
    if (readAt(at, std::span(&sync, 1)) != 1 || sync != kSync) return false;
  }
  return true;
}

void ForEachTsPrivatePes(std::uint64_t fileSize, const ReadAtFn& readAt, std::string& problem,
                         const std::function<void(const TsPes&)>& visit) {
  std::map<std::uint16_t, PendingPes> pending;
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(
      std::min<std::uint64_t>(fileSize / kTsPacketSize, kPacketsPerRead) * kTsPacketSize));
  for (std::uint64_t offset = 0; offset + kTsPacketSize <= fileSize;) {
    const std::size_t got = readAt(offset, chunk);
    const std::size_t packets = got / kTsPacketSize;
    if (packets == 0) break;
    for (std::size_t i = 0; i < packets; ++i) {
      const std::uint8_t* p = &chunk[i * kTsPacketSize];
      if (p[0] != kSync) {
        NoteMp4Problem(problem, "the transport stream loses its sync; read up to there");
        offset = fileSize;
        break;
      }
      const auto pid = static_cast<std::uint16_t>((p[1] & 0x1f) << 8 | p[2]);
      const bool start = (p[1] & 0x40) != 0;
      const int control = p[3] >> 4 & 3;
      std::size_t at = 4;
      if ((control & 2) != 0) at += 1 + p[4];
      if ((control & 1) == 0 || at >= kTsPacketSize) continue;
      const std::span<const std::uint8_t> payload(p + at, kTsPacketSize - at);
      if (start) {
        // A PES begins with its start code: only private streams are gathered.
        const bool isPrivate = payload.size() >= 4 && payload[0] == 0 && payload[1] == 0 &&
                               payload[2] == 1 &&
                               (payload[3] == kPrivateStream1 || payload[3] == kPrivateStream2);
        if (auto found = pending.find(pid); found != pending.end()) {
          Deliver(pid, found->second, problem, visit);
          pending.erase(found);
        }
        if (!isPrivate) continue;
        pending[pid].bytes.assign(payload.begin(), payload.end());
        continue;
      }
      const auto found = pending.find(pid);
      if (found == pending.end() || found->second.dropped) continue;
      if (found->second.bytes.size() + payload.size() > kMaxTsPrivatePes) {
        found->second.dropped = true;
        found->second.bytes.clear();
        continue;
      }
      found->second.bytes.insert(found->second.bytes.end(), payload.begin(), payload.end());
    }
    if (offset == fileSize) break;
    offset += packets * kTsPacketSize;
  }
  for (const auto& [pid, pes] : pending) Deliver(pid, pes, problem, visit);
}

}  // namespace korvane
