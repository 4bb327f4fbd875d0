// Texts of the slave commands the controller writes to the player, one line each. Pure.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Longest command text that may be sent (the line break makes 63 bytes).
constexpr std::size_t kMaxCommandLength = 62;

// The bytes to write for one command: the text and one line feed. nullopt for a text longer than
// kMaxCommandLength or one holding a line break (it would be read as two commands).
std::optional<std::string> CommandLine(std::string_view text);

std::string VolumeCommand(int volume);  // "volume N 1", absolute
std::string MuteCommand(bool mute);     // "mute 1" / "mute 0"

// `value` written with `decimals` decimals and a point whatever the locale.
std::string DecimalText(double value, int decimals);

// "pausing_keep seek S 2": an absolute seek to `seconds`, written with three decimals and a point
// whatever the locale, that leaves a paused player paused and a playing one playing.
std::string SeekCommand(double seconds);
// "pausing_keep_force speed_set S": the playback speed as a factor, two decimals. A paused picture
// stays as it is (MPlayer's plain "pausing_keep" shows the next frame before it pauses again).
std::string SpeedCommand(double speed);
// Asked after a speed change: the speed the player now plays at ("ANS_speed=").
inline constexpr const char* kSpeedQuery = "pausing_keep_force get_property speed";
// How many frames the player has dropped since its start ("ANS_DROPPED_FRAMES="), for the figures.
inline constexpr const char* kDroppedFramesQuery = "pausing_keep_force get_dropped_frames";
// One frame forward or back, the player paused afterwards. The step back is the shipped player's
// own; MPlayer ignores it.
inline constexpr const char* kFrameStepCommand = "pausing_keep frame_step";
inline constexpr const char* kFrameBackStepCommand = "pausing_keep frame_back_step";
// Asked right after a seek or a frame step, in this order: the time of the new moment, whose answer
// ("ANS_time_pos=") no poll ever gets and so tells the answers after the seek from those before
// it, then the subtitle shown there. Neither resumes a paused player.
inline constexpr const char* kSeekTimeQuery = "pausing_keep_force get_property time_pos";
inline constexpr const char* kSeekSubtitleQuery = "pausing_keep_force sub_log_static";

}  // namespace korvane
