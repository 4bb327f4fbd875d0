// The player's side of MPlayer's slave protocol: reading one command line and formatting the
// reply lines in MPlayer's spelling. Pure: no I/O.
#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace korvane::player {

struct SlaveCommand {
  enum class Kind {
    kUnknown,  // ignored silently, as MPlayer does
    kPause,
    kGetTimePos,
    kGetTimeLength,
    kSeek,    // value, type: 0 relative seconds, 1 percent, 2 absolute seconds
    kVolume,  // value, type: 0 relative, 1 absolute
    kMute,    // hasValue false: toggle
    kScreenshot,
    kQuit,  // value: exit code
    kSubLogStatic,
    kGetProperty,    // name: "volume", "mute", "pause", "time_pos", "length", "speed"
    kFrameStep,      // one frame forward, then paused
    kFrameBackStep,  // one frame back, then paused (not MPlayer's: this player's own)
    kSpeedSet,       // value: the playback speed, a factor
    // "get_dropped_frames" (this player's own): answered "ANS_DROPPED_FRAMES=N", the frames the
    // player has dropped or not shown in time since the file started, so two players of one
    // moment can be told to keep up on this machine.
    kGetDroppedFrames,
  };
  Kind kind = Kind::kUnknown;
  double value = 0.0;
  int type = 0;
  bool hasValue = false;
  std::string name;
};

// Reads one command line (without its line break). MPlayer's "pausing…" prefixes are accepted and
// dropped. A line that is empty, unknown or has a malformed number (a type or an exit code beyond
// an int included) gives kUnknown.
SlaveCommand ParseSlaveCommand(std::string_view line);

// "ANS_TIME_POSITION=12.3": one decimal, as MPlayer prints it.
std::string TimePositionReply(double seconds);
// "ANS_LENGTH=60.00".
std::string LengthAnswer(double seconds);
// "ANS_DROPPED_FRAMES=3": a whole count, negatives as 0.
std::string DroppedFramesReply(long long frames);
// "ID_LENGTH=60.00".
std::string LengthIdentification(double seconds);
// "ID_VIDEO_ASPECT=1.7778"; 0 stands for "not known yet".
std::string AspectIdentification(double aspect);
// "ID_SUBTITLE_LOG=<text>", the text's line breaks turned into spaces so that the reply stays one
// line; an empty text gives "ID_SUBTITLE_LOG=".
std::string SubtitleLogReply(std::string_view text);
// The answer to "get_property NAME" with the property's value, as MPlayer prints it:
// "ANS_volume=30.000000", "ANS_mute=yes". A name it does not know gives MPlayer's two error lines.
std::string PropertyAnswer(const std::string& name, double number);
std::string PropertyAnswer(const std::string& name, bool flag);
std::string UnknownPropertyAnswer(const std::string& name);
// "*** screenshot 'NAME' ***".
std::string ScreenshotReply(const std::string& name);

// The next free "shotNNNN.png" after `counter` (which it advances), skipping names `exists` reports
// as taken, like MPlayer's screenshot filter. Empty when all of 0001..9999 are taken.
std::string NextScreenshotName(int& counter, const std::function<bool(const std::string&)>& exists);

}  // namespace korvane::player
