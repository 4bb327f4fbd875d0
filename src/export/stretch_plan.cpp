#include "export/stretch_plan.h"

#include <algorithm>
#include <charconv>

#include "telemetry/civil_date.h"

namespace korvane {
namespace {

std::int64_t EndOf(const StretchClip& clip) {
  return clip.startMs + clip.durationMs;
}

bool Touches(const StretchClip& clip, std::int64_t fromMs, std::int64_t toMs) {
  return clip.durationMs > 0 && clip.startMs < toMs && EndOf(clip) > fromMs;
}

// The pieces of one channel's clips, sorted by start, over [fromMs, toMs]; each moment once.
ChannelPlan PlanChannel(CameraChannel channel, std::vector<const StretchClip*> clips,
                        std::int64_t fromMs, std::int64_t toMs) {
  std::stable_sort(clips.begin(), clips.end(), [](const StretchClip* a, const StretchClip* b) {
    return a->startMs < b->startMs;
  });
  ChannelPlan plan{channel, {}, {}};
  std::int64_t covered = fromMs;
  for (const StretchClip* clip : clips) {
    const std::int64_t begin = std::max(covered, clip->startMs);
    const std::int64_t end = std::min(toMs, EndOf(*clip));
    if (begin >= end) continue;
    if (begin > covered) plan.gaps.push_back({covered - fromMs, begin - covered});
    plan.pieces.push_back({clip->path, begin - clip->startMs, end - clip->startMs, begin - fromMs});
    covered = end;
  }
  if (covered < toMs && !plan.pieces.empty())
    plan.gaps.push_back({covered - fromMs, toMs - covered});
  return plan;
}

bool ReadDigits(std::string_view text, std::int64_t& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc{} && end == text.data() + text.size() && out >= 0;
}

// "HH:MM:SS", "MM:SS" or seconds, each with an optional fraction of up to three digits.
std::optional<std::int64_t> ParseOffset(std::string_view text) {
  std::int64_t fractionMs = 0;
  if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) {
    std::string_view fraction = text.substr(dot + 1);
    if (fraction.empty() || fraction.size() > 3) return std::nullopt;
    std::int64_t digits = 0;
    if (!ReadDigits(fraction, digits)) return std::nullopt;
    for (std::size_t i = fraction.size(); i < 3; ++i) digits *= 10;
    fractionMs = digits;
    text = text.substr(0, dot);
  }
  std::int64_t seconds = 0;
  int fields = 0;
  while (!text.empty()) {
    const std::size_t colon = text.find(':');
    std::int64_t value = 0;
    if (!ReadDigits(text.substr(0, colon), value) || ++fields > 3) return std::nullopt;
    if (fields > 1 && value >= 60) return std::nullopt;
    if (value > 1'000'000) return std::nullopt;
    seconds = seconds * 60 + value;
    if (colon == std::string_view::npos) break;
    text = text.substr(colon + 1);
    if (text.empty()) return std::nullopt;
  }
  if (fields == 0) return std::nullopt;
  return seconds * 1000 + fractionMs;
}

std::optional<std::int64_t> ParseCameraTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  std::int64_t parts[6] = {};
  constexpr std::size_t kAt[6] = {0, 5, 8, 11, 14, 17};
  constexpr std::size_t kLength[6] = {4, 2, 2, 2, 2, 2};
  for (int i = 0; i < 6; ++i) {
    if (!ReadDigits(text.substr(kAt[i], kLength[i]), parts[i])) return std::nullopt;
  }
  const CivilTime t{parts[0],
                    static_cast<unsigned>(parts[1]),
                    static_cast<unsigned>(parts[2]),
                    static_cast<unsigned>(parts[3]),
                    static_cast<unsigned>(parts[4]),
                    static_cast<unsigned>(parts[5])};
  if (!IsRealCivilTime(t)) return std::nullopt;
  const std::int64_t days = DaysFromCivil(t.year, t.month, t.day);
  return ((days * 24 + t.hour) * 60 + t.minute) * 60000 + t.second * 1000;
}

}  // namespace

StretchPlan PlanStretch(std::span<const StretchClip> clips, std::int64_t fromMs,
                        std::int64_t toMs) {
  StretchPlan plan;
  if (toMs <= fromMs) {
    plan.error = toMs == fromMs ? "the stretch has no length" : "the stretch ends before it starts";
    plan.failure = toMs == fromMs ? SaveFailure::NoLength : SaveFailure::Reversed;
    return plan;
  }
  std::vector<const StretchClip*> touching;
  for (const StretchClip& clip : clips) {
    if (Touches(clip, fromMs, toMs)) touching.push_back(&clip);
  }
  if (touching.empty()) {
    plan.error = "no clip covers the stretch";
    plan.failure = SaveFailure::BeyondClips;
    return plan;
  }
  const int trip = touching.front()->trip;
  if (std::any_of(touching.begin(), touching.end(),
                  [trip](const StretchClip* c) { return c->trip != trip; })) {
    plan.error = "the stretch runs across two trips";
    plan.failure = SaveFailure::AcrossTrips;
    return plan;
  }
  const CameraChannel main =
      (*std::min_element(touching.begin(), touching.end(), [](auto* a, auto* b) {
        return a->channel < b->channel;
      }))->channel;
  // The main channel decides what is saved: the stretch is cut to the time its clips cover.
  std::int64_t first = toMs;
  std::int64_t last = fromMs;
  for (const StretchClip* clip : touching) {
    if (clip->channel != main) continue;
    first = std::min(first, std::max(fromMs, clip->startMs));
    last = std::max(last, std::min(toMs, EndOf(*clip)));
  }
  plan.fromMs = first;
  plan.toMs = last;
  for (int c = static_cast<int>(CameraChannel::Front);
       c <= static_cast<int>(CameraChannel::RightPillar); ++c) {
    const auto channel = static_cast<CameraChannel>(c);
    std::vector<const StretchClip*> own;
    for (const StretchClip* clip : touching) {
      if (clip->channel == channel) own.push_back(clip);
    }
    ChannelPlan channelPlan = PlanChannel(channel, std::move(own), first, last);
    if (!channelPlan.pieces.empty()) plan.channels.push_back(std::move(channelPlan));
  }
  return plan;
}

std::optional<StretchTime> ParseStretchTime(std::string_view text) {
  if (const std::size_t at = text.rfind('@'); at != std::string_view::npos) {
    if (at == 0) return std::nullopt;
    const auto offset = ParseOffset(text.substr(at + 1));
    if (!offset) return std::nullopt;
    return StretchTime{std::string(text.substr(0, at)), *offset};
  }
  const auto camera = ParseCameraTime(text);
  if (!camera) return std::nullopt;
  return StretchTime{{}, *camera};
}

}  // namespace korvane
