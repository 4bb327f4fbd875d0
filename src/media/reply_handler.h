// What one reply line of the player means for the controller: the fields it sets, the state it
// moves to, the notification it asks for and whether a subtitle is to be handed on. Pure: no I/O,
// no locking, so every reply rule is testable on its own.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "media/player_state.h"

namespace korvane {

// The controller's values that replies set.
struct ReplyFields {
  double length = 0.0;
  double aspect = 0.0;
  int videoWidth = 0;
  int videoHeight = 0;
  int position = 0;           // whole seconds, as the display shows them
  double timePosition = 0.0;  // the same moment in decimal seconds
  // Set by a seek until the answer to its time query arrives: time answers and subtitles still
  // on their way from before the seek describe the old moment and are dropped.
  bool seekAnswerPending = false;
  int staleAnswersDropped = 0;  // time answers dropped while waiting
  double speed = 0.0;           // the player's answer to a speed question; 0 before one came
  int droppedFrames = -1;       // the player's answer to a dropped-frames question; -1 before
  std::string screenshotName;
  std::string subtitleLine;
};

struct ReplyOutcome {
  int notification = 0;                 // a PlayerNotification, 0 for none
  std::optional<PlayerState> newState;  // the state the reply moves to
  bool deliverSubtitle = false;         // hand fields.subtitleLine to the line callback
};

// How many time answers a seek may drop while it waits for its own: more than the polls that can
// be on their way, so a player that never answers the query cannot silence the position for good.
constexpr int kMaxStaleTimeAnswers = 4;

// Applies one reply line (without its line break). Prefixes are compared without regard to
// case, the first match of the reply table wins; a line matching none changes nothing. A length
// that is negative or beyond an int of seconds counts as unknown (0); a screenshot name that is
// no plain file name is no screenshot.
ReplyOutcome ApplyReplyLine(std::string_view line, ReplyFields& fields);

// C's atoi and atof without their locale and overflow traps: leading blanks, an optional sign,
// the leading number; the rest is ignored. No number (or one out of range) gives 0.
int LeadingInt(std::string_view text);
double LeadingDouble(std::string_view text);

}  // namespace korvane
