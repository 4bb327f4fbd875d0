#include "media/reply_handler.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/ascii_text.h"

namespace korvane {
namespace {

// Skips what atoi/atof skip and a '+' that from_chars does not take.
std::string_view NumberStart(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  text.remove_prefix(i);
  if (!text.empty() && text[0] == '+' && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
  return text;
}

void SetPosition(std::string_view value, ReplyFields& fields) {
  // atoi semantics for the display: "12.9" is second 12.
  fields.position = LeadingInt(value);
  fields.timePosition = LeadingDouble(value);
}

// A name the player wrote into its working folder (the snapshot folder): a plain file name. One
// that reaches elsewhere ("../x", "a/b") would have the snapshot windows show another file.
bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

}  // namespace

double LeadingDouble(std::string_view text) {
  text = NumberStart(text);
  double value = 0.0;
  auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  return ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

int LeadingInt(std::string_view text) {
  text = NumberStart(text);
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || value > std::numeric_limits<int>::max() ||
      value < std::numeric_limits<int>::min()) {
    return 0;
  }
  return static_cast<int>(value);
}

ReplyOutcome ApplyReplyLine(std::string_view line, ReplyFields& fields) {
  ReplyOutcome outcome;
  auto after = [&](std::string_view prefix) { return line.substr(prefix.size()); };

  if (constexpr std::string_view p = "ID_SUBTITLE_LOG="; StartsWithIgnoringAsciiCase(line, p)) {
    const std::string_view text = after(p);
    if (fields.seekAnswerPending) {
      // The subtitle of the moment before a seek.
    } else if (text.empty()) {
      outcome.notification = kPlayerNoSubtitle;
    } else {
      // Kept whole: a cut telemetry line would parse into wrong values.
      fields.subtitleLine.assign(text);
      outcome.deliverSubtitle = true;
    }
  } else if (constexpr std::string_view p = "ANS_TIME_POSITION=";
             StartsWithIgnoringAsciiCase(line, p)) {
    if (fields.seekAnswerPending && fields.staleAnswersDropped < kMaxStaleTimeAnswers) {
      ++fields.staleAnswersDropped;
    } else {
      fields.seekAnswerPending = false;
      SetPosition(after(p), fields);
      outcome.notification = kPlayerPosition;
    }
  } else if (constexpr std::string_view p = "ANS_time_pos="; StartsWithIgnoringAsciiCase(line, p)) {
    // The answer to a seek's own time query: the new moment.
    fields.seekAnswerPending = false;
    SetPosition(after(p), fields);
    outcome.notification = kPlayerPosition;
  } else if (constexpr std::string_view p = "ANS_speed="; StartsWithIgnoringAsciiCase(line, p)) {
    fields.speed = LeadingDouble(after(p));
  } else if (constexpr std::string_view p = "ANS_DROPPED_FRAMES=";
             StartsWithIgnoringAsciiCase(line, p)) {
    fields.droppedFrames = LeadingInt(after(p));
  } else if (constexpr std::string_view p = "ID_VIDEO_WIDTH=";
             StartsWithIgnoringAsciiCase(line, p)) {
    fields.videoWidth = LeadingInt(after(p));
  } else if (constexpr std::string_view p = "ID_VIDEO_HEIGHT=";
             StartsWithIgnoringAsciiCase(line, p)) {
    fields.videoHeight = LeadingInt(after(p));
  } else if (constexpr std::string_view p = "ID_VIDEO_ASPECT=";
             StartsWithIgnoringAsciiCase(line, p)) {
    fields.aspect = LeadingDouble(after(p));
    if (fields.aspect == 0.0) {
      // Without a height the aspect stays unknown (0) rather than infinite.
      fields.aspect = fields.videoHeight > 0
                          ? static_cast<double>(fields.videoWidth) / fields.videoHeight
                          : 0.0;
    }
    outcome.notification = kPlayerAspect;
  } else if (constexpr std::string_view p = "ID_LENGTH="; StartsWithIgnoringAsciiCase(line, p)) {
    // The window counts the length in whole seconds of an int; beyond that, or below 0, it is
    // unknown.
    const double length = LeadingDouble(after(p));
    fields.length = length >= 0.0 && length < static_cast<double>(std::numeric_limits<int>::max())
                        ? length
                        : 0.0;
  } else if (StartsWithIgnoringAsciiCase(line, "Starting playback")) {
    outcome.newState = PlayerState::Playing;
    outcome.notification = kPlayerStarted;
  } else if (constexpr std::string_view p = "*** screenshot ";
             StartsWithIgnoringAsciiCase(line, p)) {
    const std::string_view rest = after(p);
    const std::size_t open = rest.find('\'');
    const std::size_t close = open == std::string_view::npos ? open : rest.find('\'', open + 1);
    fields.screenshotName.clear();
    if (close != std::string_view::npos &&
        IsPlainFileName(rest.substr(open + 1, close - open - 1))) {
      fields.screenshotName.assign(rest.substr(open + 1, close - open - 1));
      outcome.notification = kPlayerScreenshot;
    }
  } else if (StartsWithIgnoringAsciiCase(line, "ID_EXIT=QUIT")) {
    outcome.newState = PlayerState::Stopping;
    outcome.notification = kPlayerQuit;
  } else if (StartsWithIgnoringAsciiCase(line, "ID_EXIT=EOF")) {
    outcome.newState = PlayerState::Stopping;
    outcome.notification = kPlayerEndOfFile;
  }
  return outcome;
}

}  // namespace korvane
