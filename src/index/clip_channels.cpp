#include "index/clip_channels.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <regex>
#include <vector>

#include "platform/path_parts.h"

namespace korvane {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

struct ChannelWord {
  const char* word;  // lower case
  CameraChannel channel;
};

// One camera family: a file-name stem whose group 1 is the moment's part of the name (the date and
// time, without a counter each channel numbers on its own) and whose group 2 names the channel.
struct FamilyRule {
  const char* family;
  std::regex stem;
  std::vector<ChannelWord> words;
};

const std::vector<FamilyRule>& Families() {
  constexpr auto icase = std::regex::ECMAScript | std::regex::icase;
  const std::vector<ChannelWord> fri = {
      {"f", CameraChannel::Front}, {"r", CameraChannel::Rear}, {"i", CameraChannel::Cabin}};
  static const std::vector<FamilyRule> families = {
      {"tesla",
       std::regex("^(.+)-(front|back|left_repeater|right_repeater|left_pillar|right_pillar)$",
                  icase),
       {{"front", CameraChannel::Front},
        {"back", CameraChannel::Rear},
        {"left_repeater", CameraChannel::LeftRepeater},
        {"right_repeater", CameraChannel::RightRepeater},
        {"left_pillar", CameraChannel::LeftPillar},
        {"right_pillar", CameraChannel::RightPillar}}},
      // 20210105_101500_NF: N(ormal), E(vent), P(arking), M(anual) — the mode stays in the moment.
      {"blackvue", std::regex("^(\\d{8}_\\d{6}_[NEPM])([FRI])$", icase), fri},
      // 2021_0105_101500_0001F or 20210105101500_000001F.
      {"viofo", std::regex("^(\\d{4}_\\d{4}_\\d{6}|\\d{14})_\\d+([FRI])$", icase), fri},
      // NO20210105-101500-000123F, its rear NO20210105-101500-000124B.
      {"70mai",
       std::regex("^([a-z]{0,3}\\d{8}-\\d{6})-\\d+([FB])$", icase),
       {{"f", CameraChannel::Front}, {"b", CameraChannel::Rear}}},
      // REC_2021_01_05_10_15_00_F: any name with a number, then "_F" or "_R".
      {"thinkware",
       std::regex("^(.*\\d.*)_([FR])$", icase),
       {{"f", CameraChannel::Front}, {"r", CameraChannel::Rear}}},
      {"words",
       std::regex("^(.+)[ _.-](front|rear)$", icase),
       {{"front", CameraChannel::Front}, {"rear", CameraChannel::Rear}}},
  };
  return families;
}

// A folder named for its channel, beside its siblings ("Normal/Front", "Normal/Back").
constexpr std::array<ChannelWord, 5> kChannelFolders = {{{"front", CameraChannel::Front},
                                                         {"back", CameraChannel::Rear},
                                                         {"rear", CameraChannel::Rear},
                                                         {"inside", CameraChannel::Cabin},
                                                         {"cabin", CameraChannel::Cabin}}};

// The name without its digits, separators that only stood between numbers counting once
// ("20210105_101500_" → "_").
std::string WithoutDigits(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c >= '0' && c <= '9') continue;
    const bool separator = c == '_' || c == '-' || c == ' ';
    if (separator && !out.empty() && out.back() == c) continue;
    out += c;
  }
  return out;
}

}  // namespace

std::optional<CameraChannel> ChannelOfFolder(std::string_view folderName) {
  const std::string name = Lower(folderName);
  for (const ChannelWord& w : kChannelFolders) {
    if (name == w.word) return w.channel;
  }
  return std::nullopt;
}

ClipMoment MomentOf(std::string_view clipPath) {
  const SplitPathResult parts = SplitPath(clipPath);
  // The folder's key: a channel folder stands for all its siblings.
  std::string folder = parts.folder;
  std::optional<CameraChannel> folderChannel;
  if (folder.size() > 1) {
    const std::size_t start = folder.find_last_of('/', folder.size() - 2) + 1;  // npos + 1 == 0
    folderChannel =
        ChannelOfFolder(std::string_view(folder).substr(start, folder.size() - 1 - start));
    if (folderChannel) folder = folder.substr(0, start) + "*/";
  }
  const std::string extension =
      parts.stem.size() == parts.fileName.size() ? std::string() : "." + Lower(parts.extension);

  ClipMoment result;
  std::smatch match;
  for (const FamilyRule& rule : Families()) {
    if (!std::regex_match(parts.stem, match, rule.stem)) continue;
    const std::string word = Lower(match.str(2));
    for (const ChannelWord& w : rule.words) {
      if (word == w.word) result.channel = w.channel;
    }
    const std::string prefix = folder + rule.family + ":";
    result.moment = prefix + match.str(1) + extension;
    result.camera = prefix + WithoutDigits(match.str(1)) + extension;
    result.named = true;
    return result;
  }
  if (folderChannel) {
    // Only the folder names the channel: the file's own name is the moment's.
    result.channel = *folderChannel;
    result.moment = folder + "words:" + parts.stem + extension;
    result.camera = folder + "words:" + WithoutDigits(parts.stem) + extension;
    result.named = true;
    return result;
  }
  result.moment = std::string(clipPath);
  result.camera = parts.folder + WithoutDigits(parts.stem) +
                  (extension.empty() ? std::string() : "." + parts.extension);
  return result;
}

std::string_view ChannelMark(CameraChannel channel) {
  switch (channel) {
    case CameraChannel::Front:
      return "F";
    case CameraChannel::Rear:
      return "R";
    case CameraChannel::Cabin:
      return "I";
    case CameraChannel::LeftRepeater:
      return "LR";
    case CameraChannel::RightRepeater:
      return "RR";
    case CameraChannel::LeftPillar:
      return "LP";
    case CameraChannel::RightPillar:
      return "RP";
  }
  return "";
}

}  // namespace korvane
