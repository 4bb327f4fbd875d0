// A BlackVue recording's logs beside the clip as a telemetry source: the fixes of its GPS log
// (.gps) with the accelerometer of its .3gf, either of which may be missing.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "telemetry/blackvue_files.h"
#include "telemetry/nmea_track.h"
#include "telemetry/telemetry_source.h"

namespace korvane {

inline constexpr std::string_view kBlackVueSource = "blackvue";
inline constexpr std::string_view kBlackVueClipSource = "blackvue-mp4";
// A .3gf is a few hundred kB an hour; a larger one is read up to this.
inline constexpr std::size_t kMaxBlackVue3gfBytes = std::size_t{16} << 20;

// The clip's .gps log, else its .3gf (BlackVueLogStems); nullopt for a clip not named as the
// camera names them or without either beside it.
std::optional<std::string> FindBlackVueSidecar(const std::string& clipPath);

// Puts on each fix the strongest of the samples from its time up to the next fix's (the last
// fix: a second); both count
// from the recording's start. A fix without a sample keeps no G values. True when one got some.
bool AddBlackVueG(std::vector<NmeaFix>& fixes, std::vector<BlackVueGSample> samples);

class CBlackVueSidecarSource : public ITelemetrySource {
 public:
  explicit CBlackVueSidecarSource(std::size_t maxBytes = kMaxNmeaBytes) : maxBytes_(maxBytes) {}
  std::string_view name() const override { return kBlackVueSource; }
  // Not present without either log. Fixes come from the .gps, timed from its earliest fix, which
  // is where the .3gf's offsets start too; a .3gf alone gives no records (it has no position).
  // The reason says what was cut short or unread.
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::size_t maxBytes_;
};

// The same two logs inside the clip, in its top-level `free` box (BlackVueFreeBoxChildren), found
// by seeks over the top-level boxes; only that box is read, never the video.
class CBlackVueInClipSource : public ITelemetrySource {
 public:
  explicit CBlackVueInClipSource(std::size_t maxBytes = kMaxBlackVue3gfBytes)
      : maxBytes_(maxBytes) {}
  std::string_view name() const override { return kBlackVueClipSource; }
  // Not present without the box or with no GPS log in it (a box larger than the bound is not
  // read).
  TelemetryRead Read(const std::string& clipPath, const RecordSink& onRecord) override;

 private:
  std::size_t maxBytes_;
};

}  // namespace korvane
