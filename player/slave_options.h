// Command line of the slave-mode player: MPlayer's option spelling read into one record, and the
// mapping of MPlayer's output names onto libmpv's. Pure: no I/O.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane::player {

// The playback speeds the player takes, as MPlayer bounds them; others are held to these.
constexpr double kMinSpeed = 0.01;
constexpr double kMaxSpeed = 100.0;

struct PlayerOptions {
  std::string file;         // the file to play; empty only with listAudioDevices
  std::int64_t wid = 0;     // window to draw into; 0 = none
  std::string videoOutput;  // MPlayer's -vo value; empty = libmpv's default
  std::string audioOutput;  // MPlayer's -ao value (with suboptions); empty = default
  bool slave = false;       // read commands from standard input
  bool quiet = false;
  bool verbose = false;           // -v: libmpv's detailed log on standard error
  bool identify = false;          // print the ID_ lines
  std::optional<int> volume;      // 0..100
  std::optional<bool> mute;       // -muteset
  std::optional<int> subtitleId;  // -sid, counted from 0
  std::optional<double> speed;    // -speed, held to kMinSpeed..kMaxSpeed
  bool keepAspect = true;         // -nokeepaspect clears it
  bool listAudioDevices = false;  // -list-audio-devices: print the devices and end
};

// Reads argv[1..]. Returns nullopt and fills `error` for an unknown option, an option without its
// value, a bad number (a speed that is not a finite number included), or no file (unless
// -list-audio-devices is given).
std::optional<PlayerOptions> ParseCommandLine(const std::vector<std::string>& args,
                                              std::string& error);

// libmpv's "vo" list for an MPlayer video output name: directx… → x11, gl… → gpu then x11, the
// rest unchanged (suboptions after ':' dropped), each followed by libmpv's automatic fallback.
// Empty stays empty.
std::string MapVideoOutput(const std::string& mplayerName);

// True for an OpenGL output ("gl…") with the suboption "force-pbo": libmpv's gpu output is then
// told to upload through pixel buffer objects, as the settings window's names promise.
bool RequestsPbo(const std::string& mplayerName);

struct AudioChoice {
  std::string ao;                  // libmpv's "ao" value; empty = libmpv's default order
  std::optional<int> deviceIndex;  // index into the -list-audio-devices list
};
// libmpv's audio settings for an MPlayer audio output: "dsound[:device=N]" → default output and
// device N, "win32" → alsa, the rest unchanged (suboptions dropped). A device number that is not
// a number is ignored.
AudioChoice MapAudioOutput(const std::string& mplayerName);

// The name of device `index` in the output of -list-audio-devices ("index<TAB>name<TAB>
// description" lines). nullopt when no line has that index.
std::optional<std::string> AudioDeviceName(const std::string& listing, int index);

}  // namespace korvane::player
