#include "index/point_blob.h"

#include <bit>
#include <cstdint>

namespace korvane {

namespace {

// Byte order is fixed rather than native so an index copied between machines still reads.
template <typename U>
void PutLittle(std::string& out, U value) {
  for (std::size_t i = 0; i < sizeof(U); ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

template <typename U>
U GetLittle(const char*& in) {
  U value = 0;
  for (std::size_t i = 0; i < sizeof(U); ++i) {
    value |= static_cast<U>(static_cast<unsigned char>(in[i])) << (8 * i);
  }
  in += sizeof(U);
  return value;
}

// Flag bits of a record's last byte.
constexpr std::uint8_t kReceiverTimeFlag = 1;

}  // namespace

std::string PackPoints(std::span<const IndexPoint> points) {
  std::string blob;
  blob.reserve(points.size() * kPackedPointSize);
  for (const IndexPoint& p : points) {
    PutLittle(blob, static_cast<std::uint32_t>(p.mediaMs));
    PutLittle(blob, static_cast<std::uint64_t>(p.timeMs));
    PutLittle(blob, std::bit_cast<std::uint64_t>(p.latitude));
    PutLittle(blob, std::bit_cast<std::uint64_t>(p.longitude));
    for (const float value : {p.speedKmh, p.gX, p.gY, p.gZ, p.altitudeM, p.headingDeg}) {
      PutLittle(blob, std::bit_cast<std::uint32_t>(value));
    }
    PutLittle(blob, static_cast<std::uint8_t>(p.receiverTime ? kReceiverTimeFlag : 0));
  }
  return blob;
}

std::optional<std::vector<IndexPoint>> UnpackPoints(std::string_view blob) {
  if (blob.size() % kPackedPointSize != 0) return std::nullopt;
  std::vector<IndexPoint> points(blob.size() / kPackedPointSize);
  const char* in = blob.data();
  for (IndexPoint& p : points) {
    p.mediaMs = static_cast<std::int32_t>(GetLittle<std::uint32_t>(in));
    p.timeMs = static_cast<std::int64_t>(GetLittle<std::uint64_t>(in));
    p.latitude = std::bit_cast<double>(GetLittle<std::uint64_t>(in));
    p.longitude = std::bit_cast<double>(GetLittle<std::uint64_t>(in));
    for (float* value : {&p.speedKmh, &p.gX, &p.gY, &p.gZ, &p.altitudeM, &p.headingDeg}) {
      *value = std::bit_cast<float>(GetLittle<std::uint32_t>(in));
    }
    p.receiverTime = (GetLittle<std::uint8_t>(in) & kReceiverTimeFlag) != 0;
  }
  return points;
}

}  // namespace korvane
