// Whole-program runs for the e2e tests: a private Xvfb display, the real program started with its
// own HOME and runtime folder and the test probe on, the probe's state read back, and commands
// handed to the running program.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/process.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {

// An Xvfb server on the first free display number from 140 on; none when Xvfb cannot be started.
class PrivateDisplay {
 public:
  PrivateDisplay() {
    for (int n = 140; n < 200 && display_.empty(); ++n) {
      const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (std::filesystem::exists(lock) || std::filesystem::exists(socket)) continue;
      if (!Reserve(n)) continue;
      ProcessOptions o;
      o.program = "/usr/bin/Xvfb";
      o.args = {":" + std::to_string(n), "-screen", "0", "1600x900x24", "-nolisten", "tcp"};
      if (server_.Start(o) != 0) return;
      for (int i = 0; i < 100; ++i) {
        if (std::filesystem::exists(socket)) {
          // The socket may be another test's server that took the number first, while this one
          // is ending with "already active": only a server still running after a moment is ours.
          if (!server_.WaitForExit(300)) display_ = ":" + std::to_string(n);
          break;
        }
        if (server_.WaitForExit(50)) break;  // lost the race for this number
      }
      if (display_.empty()) {
        server_.Release();
        Unreserve();
      }
    }
  }
  // Asked to end, Xvfb removes its lock file and socket; killed at once it would leave them, and
  // after sixty runs every display number would look taken.
  ~PrivateDisplay() {
    if (server_.IsStarted()) {
      kill(server_.pid(), SIGTERM);
      server_.WaitForExit(3000);
    }
    server_.Release();
    Unreserve();
  }
  const std::string& name() const { return display_; }

 private:
  // Two tests started together may both find a number free and both start a server on it; the
  // loser's "already active" can come later than any wait on a loaded machine, and then both
  // programs share one screen and each test's keys reach the other's window. A lock on a file of
  // our own, taken before the server starts and held while it runs, gives every number to one
  // test only; the kernel drops it when a test dies, so nothing stale is left behind.
  bool Reserve(int n) {
    const std::string path = "/tmp/.korvane-test-display-" + std::to_string(n);
    reservation_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (reservation_ < 0) return false;
    if (flock(reservation_, LOCK_EX | LOCK_NB) == 0) return true;
    Unreserve();
    return false;
  }
  void Unreserve() {
    if (reservation_ >= 0) close(reservation_);
    reservation_ = -1;
  }

  ChildProcess server_;
  std::string display_;
  int reservation_ = -1;
};

// Runs xdotool on `display` with `args` (the real pointer and buttons of that X server); true when
// it ended with 0 within five seconds.
inline bool XdoTool(const std::string& display, const std::vector<std::string>& args) {
  ChildProcess tool;
  ProcessOptions o;
  o.program = "/usr/bin/xdotool";
  o.args = args;
  o.environment = {"DISPLAY=" + display};
  if (tool.Start(o) != 0) return false;
  return tool.WaitForExit(5000) && tool.exitCode() == 0;
}

// One value of the probe's flat JSON text: a number, a quoted string (unescaped) or a raw array
// or object text; empty when absent.
inline std::string ProbeField(const std::string& json, const std::string& key) {
  const std::string marker = "\"" + key + "\":";
  const std::size_t at = json.find(marker);
  if (at == std::string::npos) return "";
  std::size_t i = at + marker.size();
  if (i >= json.size()) return "";
  if (json[i] == '"') {
    std::string out;
    for (++i; i < json.size() && json[i] != '"'; ++i) {
      if (json[i] == '\\' && i + 1 < json.size()) ++i;
      out += json[i];
    }
    return out;
  }
  if (json[i] == '[' || json[i] == '{') {
    const char open = json[i], close = open == '[' ? ']' : '}';
    int depth = 0;
    std::size_t j = i;
    for (; j < json.size(); ++j) {
      if (json[j] == open) ++depth;
      if (json[j] == close && --depth == 0) break;
    }
    return json.substr(i, j - i + 1);
  }
  std::size_t j = i;
  while (j < json.size() && json[j] != ',' && json[j] != '}') ++j;
  return json.substr(i, j - i);
}

inline std::vector<double> Numbers(const std::string& text) {
  std::vector<double> values;
  static const std::regex number(R"(-?\d+(\.\d+)?([eE][-+]?\d+)?)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
       it != std::sregex_iterator(); ++it) {
    values.push_back(std::stod(it->str()));
  }
  return values;
}

struct ProbeState {
  std::string json;
  std::string Str(const std::string& key) const { return ProbeField(json, key); }
  double Num(const std::string& key) const {
    const std::string v = ProbeField(json, key);
    return v.empty() ? -1 : std::stod(v);
  }
  long Int(const std::string& key) const {
    const std::string v = ProbeField(json, key);
    return v.empty() ? -1 : std::stol(v);
  }
  // A field of the map page's state object; empty before the page answered.
  std::string Map(const std::string& key) const { return ProbeField(ProbeField(json, "map"), key); }
  std::vector<double> Curves() const { return Numbers(Str("curves")); }
  bool HasChart() const { return Int("chart") == 1; }
};

// The clip plays with a fix, its route of `points` points on the map and the marker on it.
inline bool PlaysRoute(const ProbeState& p, const std::string& points) {
  return p.Int("state") == 3 && p.Int("gpsValid") == 1 && p.Map("points") == points &&
         Numbers(p.Map("marker")).size() == 2;
}

// The GPS panel's labels hold `latitude` and `longitude` ("N 50") and the marker stands within
// a hundredth of a degree of `at` (latitude, longitude).
inline void ExpectFixShown(const ProbeState& s, const std::string& latitude,
                           const std::string& longitude, const std::array<double, 2>& at) {
  EXPECT_NE(s.Str("latitudeLabel").find(latitude), std::string::npos) << s.json;
  EXPECT_NE(s.Str("longitudeLabel").find(longitude), std::string::npos) << s.json;
  const std::vector<double> marker = Numbers(s.Map("marker"));
  ASSERT_EQ(marker.size(), 2u) << s.json;
  EXPECT_NEAR(marker[0], at[0], 0.01);
  EXPECT_NEAR(marker[1], at[1], 0.01);
}

// A picture of the display, to $KORVANE_SHOT followed by `suffix`, when that is set.
inline void ShootIfAsked(const std::string& display, const std::string& suffix = "") {
  const char* shot = std::getenv("KORVANE_SHOT");
  if (shot == nullptr) return;
  const std::string file = std::string(shot) + suffix;
  EXPECT_EQ(std::system(("DISPLAY=" + display + " import -window root '" + file + "'").c_str()), 0);
}

class ProgramRun {
 public:
  explicit ProgramRun(const std::string& display) : display_(display) {
    chmod(runtime_.str().c_str(), 0700);
    probe_ = runtime_.str() + "probe.json";
  }
  ~ProgramRun() { Stop(); }

  // `environment` adds NAME=VALUE entries to the program's own. A run started before (closed, as
  // a restart) is ended and its probe file removed first; home and cache stay.
  bool Start(const std::vector<std::string>& files,
             const std::vector<std::string>& environment = {}) {
    if (program_.IsStarted()) {
      program_.Release();
      std::filesystem::remove(probe_);
    }
    ProcessOptions o;
    o.program = ProgramDir() + "korvane";
    o.args = files;
    o.environment = Environment();
    o.environment.push_back("KORVANE_TEST_PROBE=" + probe_);
    o.environment.insert(o.environment.end(), environment.begin(), environment.end());
    return program_.Start(o) == 0;
  }
  // Starts the program a second time as the same user on the same display; its exit code, or -1
  // when it has not ended within `waitMs`.
  int StartSecond(const std::vector<std::string>& args, int waitMs = 20000) const {
    ProcessOptions o;
    o.program = ProgramDir() + "korvane";
    o.args = args;
    o.environment = Environment();
    ChildProcess second;
    if (second.Start(o) != 0 || !second.WaitForExit(waitMs)) return -1;
    return second.exitCode();
  }
  // Closes the main window as the user would; true when the program then ended by itself.
  bool Close(int waitMs = 15000) {
    if (!program_.IsStarted()) return true;
    Command("close window");
    return program_.WaitForExit(waitMs);
  }
  // Ends the program whatever state it is in: SIGTERM, then kill.
  void Stop() {
    if (!program_.IsStarted()) return;
    kill(program_.pid(), SIGTERM);
    if (!program_.WaitForExit(5000)) program_.Kill();
    program_.Release();
  }
  pid_t pid() const { return program_.pid(); }
  int exitCode() const { return program_.exitCode(); }
  bool Exited(int waitMs = 0) { return program_.WaitForExit(waitMs); }

  ProbeState Read() const {
    std::ifstream in(probe_);
    std::stringstream text;
    text << in.rdbuf();
    return ProbeState{text.str()};
  }
  // Polls the probe until `ready` holds; the last state either way.
  ProbeState WaitFor(const std::function<bool(const ProbeState&)>& ready, int timeoutMs) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    ProbeState state;
    do {
      state = Read();
      if (!state.json.empty() && ready(state)) return state;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return state;
  }
  // Hands one command to the program and waits until it has been taken.
  void Command(const std::string& line) const {
    const std::string path = probe_ + ".cmd";
    { std::ofstream(path + ".tmp") << line << "\n"; }
    std::filesystem::rename(path + ".tmp", path);
    for (int i = 0; i < 100 && std::filesystem::exists(path); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  // A real left double click at the screen point (x, y) of the program's display (xdotool).
  bool DoubleClick(int x, int y) const {
    ProcessOptions o;
    o.program = "/usr/bin/xdotool";
    o.args = {"mousemove",
              std::to_string(x),
              std::to_string(y),
              "sleep",
              "0.2",
              "click",
              "--repeat",
              "2",
              "--delay",
              "80",
              "1"};
    o.environment = {"DISPLAY=" + display_};
    ChildProcess tool;
    return tool.Start(o) == 0 && tool.WaitForExit(10000) && tool.exitCode() == 0;
  }
  const TempDir& home() const { return home_; }
  std::vector<std::string> Environment() const {
    return {"DISPLAY=" + display_, "HOME=" + home_.str(), "XDG_RUNTIME_DIR=" + runtime_.str(),
            "XDG_CONFIG_HOME=" + home_.str() + ".config", "QT_QPA_PLATFORM=xcb"};
  }
  std::string runtimeFolder() const { return runtime_.str(); }

 private:
  std::string display_;
  TempDir home_;
  TempDir runtime_;
  std::string probe_;
  ChildProcess program_;
};

// One telemetry line of a sample clip, as the camera wrote it.
struct TelemetryLine {
  std::string dateTime;  // "2026-05-18 08:30:00"
  std::string lonText;   // "E113 56 21.48"
  std::string latText;
  double longitude = 0, latitude = 0;
};

inline double DecimalDegrees(const std::string& text) {
  const std::vector<double> parts = Numbers(text.substr(1));
  if (parts.size() < 3) return 0;
  const double value = parts[0] + parts[1] / 60 + parts[2] / 3600;
  return text[0] == 'W' || text[0] == 'S' ? -value : value;
}

inline std::vector<TelemetryLine> ReadTelemetry(const std::string& clip) {
  std::vector<TelemetryLine> lines;
  std::ifstream in(TelemetryOf(clip));
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream parts(line);
    for (std::string f; std::getline(parts, f, '/');) fields.push_back(f);
    if (fields.size() < 3) continue;
    TelemetryLine t{fields[0], fields[1], fields[2]};
    t.longitude = DecimalDegrees(fields[1]);
    t.latitude = DecimalDegrees(fields[2]);
    lines.push_back(t);
  }
  return lines;
}

}  // namespace korvane::test
