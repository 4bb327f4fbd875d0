#include "map/page_message.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <string>

namespace korvane {

namespace {

constexpr std::size_t kMaxFields = 8;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A flat JSON object whose values are all numbers, read strictly: any other value, an escape in a
// key, a repeated key or trailing text makes it no object at all.
class NumberObjectReader {
 public:
  explicit NumberObjectReader(std::string_view text) : text_(text) {}

  std::optional<std::map<std::string, double>> Read() {
    std::map<std::string, double> fields;
    if (!Take('{')) return std::nullopt;
    if (!Take('}')) {
      do {
        std::string key;
        double value = 0;
        if (!Key(key) || !Take(':') || !Number(value)) return std::nullopt;
        if (!fields.emplace(std::move(key), value).second || fields.size() > kMaxFields) {
          return std::nullopt;
        }
      } while (Take(','));
      if (!Take('}')) return std::nullopt;
    }
    SkipBlanks();
    if (at_ != text_.size()) return std::nullopt;
    return fields;
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && IsBlank(text_[at_])) ++at_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Key(std::string& key) {
    if (!Take('"')) return false;
    const std::size_t end = text_.find('"', at_);
    if (end == std::string_view::npos) return false;
    key.assign(text_.substr(at_, end - at_));
    at_ = end + 1;
    return key.find('\\') == std::string::npos;
  }
  // JSON's number grammar; from_chars alone would also take "inf", "nan" and hex.
  bool Number(double& value) {
    SkipBlanks();
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    const std::size_t digits = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    if (at_ == digits || (text_[digits] == '0' && at_ - digits > 1)) return false;
    if (at_ < text_.size() && text_[at_] == '.') {
      const std::size_t fraction = ++at_;
      while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
      if (at_ == fraction) return false;
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      const std::size_t exponent = at_;
      while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
      if (at_ == exponent) return false;
    }
    const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + at_, value);
    return ec == std::errc() && end == text_.data() + at_ && std::isfinite(value);
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<PageEvent> ValidatePageMessage(std::string_view name, std::string_view json,
                                             std::uint32_t routeId, std::uint32_t overviewSet) {
  PageEvent event;
  if (name == "routeClick") {
    event.kind = PageEventKind::RouteClick;
  } else if (name == "routeHover") {
    event.kind = PageEventKind::RouteHover;
  } else if (name == "routeLeave") {
    event.kind = PageEventKind::RouteLeave;
  } else if (name == "overviewClick") {
    event.kind = PageEventKind::OverviewClick;
  } else if (name == "overviewToggle") {
    event.kind = PageEventKind::OverviewToggle;
  } else if (name == "trackChoice") {
    event.kind = PageEventKind::TrackChoice;
  } else {
    return std::nullopt;
  }
  const auto fields = NumberObjectReader(json).Read();
  if (!fields) return std::nullopt;
  constexpr double kLargest = std::numeric_limits<std::int32_t>::max();
  if (event.kind == PageEventKind::OverviewToggle || event.kind == PageEventKind::TrackChoice) {
    const auto on = fields->find(event.kind == PageEventKind::TrackChoice ? "gpx" : "on");
    if (on == fields->end() || (on->second != 0 && on->second != 1)) return std::nullopt;
    event.on = on->second == 1;
    return event;
  }
  if (event.kind == PageEventKind::OverviewClick) {
    const auto set = fields->find("set");
    const auto clip = fields->find("clip");
    if (overviewSet == 0 || set == fields->end() ||
        set->second != static_cast<double>(overviewSet) || clip == fields->end() ||
        !(clip->second >= 0 && clip->second <= kLargest) ||
        clip->second != static_cast<double>(static_cast<std::int32_t>(clip->second))) {
      return std::nullopt;
    }
    event.clip = static_cast<std::uint32_t>(clip->second);
  } else {
    const auto route = fields->find("route");
    if (route == fields->end() || route->second != static_cast<double>(routeId)) {
      return std::nullopt;
    }
    if (event.kind == PageEventKind::RouteLeave) return event;
  }
  const auto time = fields->find("t");
  if (time == fields->end() || !(time->second >= 0 && time->second <= kLargest)) {
    return std::nullopt;
  }
  event.timeMs = static_cast<std::int32_t>(time->second);
  return event;
}

}  // namespace korvane
