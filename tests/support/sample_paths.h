// Paths of the generated sample clips and the program folder, passed in from the build.
#pragma once
#include <string>

namespace korvane::test {

inline std::string SamplesDir() {
  return KORVANE_TEST_SAMPLES_DIR;
}
// The program folder of the build tree, ending in "/".
inline std::string ProgramDir() {
  return KORVANE_TEST_PROGRAM_DIR;
}
inline std::string SourceDir() {
  return KORVANE_TEST_SOURCE_DIR;
}
inline std::string SamplePath(const std::string& name) {
  return SamplesDir() + "/" + name;
}

// The clips made by samples/make_samples.sh.
inline std::string DefaultClip() {
  return SamplePath("sample_drive.mp4");
}
inline std::string NoSubtitleClip() {
  return SamplePath("no_subtitles.mp4");
}
inline std::string PlainSubtitleClip() {
  return SamplePath("plain_subtitles.mp4");
}
// Two telemetry tracks of different drives; TelemetryOf gives the first one's lines.
inline std::string TwoTrackClip() {
  return SamplePath("two_tracks.mp4");
}
// A quiet drive with three known driving events: braking 0.8 G at 20 s, cornering 0.7 G at 35 s,
// an impact of 2.5 G at 50 s.
inline std::string EventsClip() {
  return SamplePath("events_drive.mp4");
}
inline std::string CuesClip(int cues) {
  return SamplePath("cues_" + std::to_string(cues) + ".mp4");
}
// A card folder of short clips named as cameras name them (make_samples.sh says which form
// trips), ending in "/".
inline std::string TripFolder() {
  return SamplePath("trip/");
}
// The telemetry lines each clip carries, one per line, as written into its subtitle track.
inline std::string TelemetryOf(const std::string& clip) {
  return clip.substr(0, clip.size() - 4) + ".telemetry.txt";
}

}  // namespace korvane::test
