#include "telemetry/blackvue_files.h"

#include <algorithm>

namespace korvane {
namespace {

constexpr std::size_t kRecordBytes = 10;
constexpr std::uint32_t kEndMark = 0xFFFFFFFFu;

std::uint32_t Be32(std::string_view b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

std::int16_t Be16(std::string_view b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) << 8 |
                                   static_cast<unsigned char>(b[at + 1]));
}

bool Digits(std::string_view text) {
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return false;
  }
  return true;
}

}  // namespace

BlackVueGLog DecodeBlackVue3gf(std::string_view bytes) {
  BlackVueGLog log;
  std::size_t at = 0;
  for (; at + 4 <= bytes.size(); at += kRecordBytes) {
    if (Be32(bytes, at) == kEndMark) {
      log.endMark = true;
      return log;
    }
    if (at + kRecordBytes > bytes.size()) break;
    BlackVueGSample& s = log.samples.emplace_back();
    s.offsetMs = Be32(bytes, at);
    for (std::size_t axis = 0; axis < 3; ++axis) {
      s.g[axis] = static_cast<float>(Be16(bytes, at + 4 + 2 * axis) / kBlackVueCountsPerG);
    }
  }
  log.oddTail = at < bytes.size();
  return log;
}

BlackVueBoxes BlackVueFreeBoxChildren(std::string_view payload) {
  // The camera's boxes, as its files have them.
  constexpr std::string_view kTypes[] = {"cprt", "sttm", "ptnm", "ptrh", "thum", "gps ", "3gf "};
  BlackVueBoxes boxes;
  for (std::size_t at = 0; at + 8 <= payload.size();) {
    const std::uint32_t size = Be32(payload, at);
    const std::string_view type = payload.substr(at + 4, 4);
    if (at == 0) {
      boxes.found = std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
      if (!boxes.found) break;
    }
    if (size < 8 || size > payload.size() - at) break;
    const std::string_view data = payload.substr(at + 8, size - 8);
    if (type == "gps ") {
      boxes.gps = data.substr(0, data.find_last_not_of('\0') + 1);
    } else if (type == "3gf ") {
      boxes.g3gf = data;
    }
    at += size;
  }
  return boxes;
}

std::vector<std::string> BlackVueLogStems(std::string_view clipStem) {
  // "YYYYMMDD_HHMMSS_" then one or two capital letters.
  constexpr std::size_t kPrefix = 16;
  if (clipStem.size() < kPrefix + 1 || clipStem.size() > kPrefix + 2) return {};
  if (!Digits(clipStem.substr(0, 8)) || clipStem[8] != '_' || !Digits(clipStem.substr(9, 6)) ||
      clipStem[15] != '_') {
    return {};
  }
  for (const char ch : clipStem.substr(kPrefix)) {
    if (ch < 'A' || ch > 'Z') return {};
  }
  std::vector<std::string> stems;
  if (clipStem.size() == kPrefix + 2) stems.emplace_back(clipStem.substr(0, kPrefix + 1));
  stems.emplace_back(clipStem);
  return stems;
}

}  // namespace korvane
