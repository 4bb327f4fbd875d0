#include "telemetry/gpmf_klv.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "telemetry/mp4_boxes.h"

namespace korvane {
namespace {

constexpr std::size_t kHeaderSize = 8;

// The size of one field of a simple type; 0 for a type that is not a number.
std::size_t FieldSize(char type) {
  switch (type) {
    case 'b':
    case 'B':
      return 1;
    case 's':
    case 'S':
      return 2;
    case 'l':
    case 'L':
    case 'f':
    case 'q':
      return 4;
    case 'j':
    case 'J':
    case 'd':
    case 'Q':
      return 8;
    default:
      return 0;
  }
}

double FieldValue(char type, const std::uint8_t* p) {
  const std::uint64_t raw = ReadBigEndian(p, static_cast<int>(FieldSize(type)));
  switch (type) {
    case 'b':
      return static_cast<std::int8_t>(raw);
    case 's':
      return static_cast<std::int16_t>(raw);
    case 'l':
      return static_cast<std::int32_t>(raw);
    case 'j':
      return static_cast<double>(static_cast<std::int64_t>(raw));
    case 'f':
      return std::bit_cast<float>(static_cast<std::uint32_t>(raw));
    case 'd':
      return std::bit_cast<double>(raw);
    case 'q':
      return static_cast<std::int32_t>(raw) / 65536.0;
    case 'Q':
      return static_cast<double>(static_cast<std::int64_t>(raw)) / 4294967296.0;
    default:
      return static_cast<double>(raw);
  }
}

}  // namespace

bool GpmfItem::Is(std::string_view k) const {
  return k.size() == 4 && std::memcmp(key, k.data(), 4) == 0;
}

std::string_view GpmfItem::text() const {
  const auto* chars = reinterpret_cast<const char*>(data.data());
  const std::string_view all(chars, data.size());
  return all.substr(0, all.find('\0'));
}

void ForEachGpmfItem(std::span<const std::uint8_t> bytes, std::string& problem,
                     const std::function<bool(const GpmfItem&)>& visit) {
  std::size_t at = 0;
  while (bytes.size() - at >= kHeaderSize) {
    const std::uint8_t* p = bytes.data() + at;
    if (ReadBigEndian(p, 4) == 0) return;
    GpmfItem item;
    std::memcpy(item.key, p, 4);
    item.type = static_cast<char>(p[4]);
    item.structSize = p[5];
    item.repeat = static_cast<std::uint16_t>(ReadBigEndian(p + 6, 2));
    const std::size_t size = std::size_t{item.structSize} * item.repeat;
    if (size > bytes.size() - at - kHeaderSize) {
      NoteMp4Problem(problem, "a GPMF item runs past its sample");
      return;
    }
    item.data = bytes.subspan(at + kHeaderSize, size);
    if (!visit(item)) return;
    // Padded to 32 bits; the padding of the last item may be missing.
    at += kHeaderSize + std::min((size + 3) & ~std::size_t{3}, bytes.size() - at - kHeaderSize);
  }
}

std::size_t GpmfFieldCount(const GpmfItem& item, std::string_view complexType) {
  if (item.type == '?') {
    std::size_t bytes = 0;
    for (const char t : complexType) {
      const std::size_t size = FieldSize(t);
      if (size == 0) return 0;
      bytes += size;
    }
    return bytes == item.structSize ? complexType.size() : 0;
  }
  const std::size_t size = FieldSize(item.type);
  if (size == 0 || item.structSize % size != 0) return 0;
  return item.structSize / size;
}

std::vector<double> GpmfNumbers(const GpmfItem& item, std::string_view complexType) {
  const std::size_t fields = GpmfFieldCount(item, complexType);
  std::vector<double> values;
  if (fields == 0) return values;
  values.reserve(fields * item.repeat);
  const std::uint8_t* p = item.data.data();
  for (std::size_t row = 0; row < item.repeat; ++row) {
    for (std::size_t f = 0; f < fields; ++f) {
      const char type = item.type == '?' ? complexType[f] : item.type;
      values.push_back(FieldValue(type, p));
      p += FieldSize(type);
    }
  }
  return values;
}

bool ApplyGpmfScale(std::vector<double>& values, std::size_t fields,
                    const std::vector<double>& scale) {
  if (fields == 0 || (scale.size() != 1 && scale.size() != fields)) return false;
  for (const double s : scale) {
    if (s == 0 || !std::isfinite(s)) return false;
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] /= scale.size() == 1 ? scale[0] : scale[i % fields];
  }
  return true;
}

}  // namespace korvane
