// Every telemetry source the program knows, in the order the indexer tries them, and what each
// gives: G values or not, whose clock its times are, whether it lies inside the clip or in a file
// beside it, and whether the clip plays through the extraction pipeline (its own subtitle track)
// or from the index's points. The index row stores the traits of the source it was read from, so
// the program acts on a row's traits and never on a source's name; the name is for the index, the
// machine-readable outputs and the indexer's order, the family for the user. Adding a source: its
// reader unit, one row here (its family among it), and its reader in the indexer's list
// (indexer/clip_indexer).
#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// Whose clock a source's times are: the camera's (the folder's clock offset and the TimeZone
// setting apply), a GPS receiver's UTC, or none (times count from the clip's start).
enum class SourceClock { Camera, Receiver, None };
// The stored spelling ("camera", "utc", "none"); nullopt for a text that names none.
std::string_view SourceClockText(SourceClock clock);
std::optional<SourceClock> SourceClockFromText(std::string_view text);

struct SourceTraits {
  bool gSensor = false;  // its accelerations are readings (else zeros that mean nothing)
  SourceClock clock = SourceClock::Camera;
  bool inClip = true;      // inside the clip file; else a file beside it
  bool extracted = false;  // the clip plays through the extraction pipeline and subtitle poll
  friend bool operator==(const SourceTraits&, const SourceTraits&) = default;
};

struct SourceInfo {
  std::string_view name;  // the stored spelling, as the index row and --info write it
  // What the user reads for it: the camera family or file kind, in proper names, never
  // translated ("Novatek GPS blocks (Viofo, …)").
  std::string_view family;
  SourceTraits traits;
  bool indexed = true;  // read by the indexer; an imported track is matched in the program
  // For a source in a file beside the clip: that file, when it is there now.
  std::optional<std::string> (*besideFile)(const std::string& clipPath) = nullptr;
};

// The known sources, the indexer's order first to last.
std::span<const SourceInfo> KnownSources();
// The source of that name; nullptr for a name the program does not know.
const SourceInfo* FindSource(std::string_view name);
// The traits of a known source; a default (camera clock, no G values) for another name.
SourceTraits TraitsOf(std::string_view name);
// The family of a known source; a name the program does not know (a newer indexer's) reads as
// itself, and the empty name of a clip read from none as "none".
std::string SourceFamily(std::string_view name);

struct FamilyCount {
  std::string family;
  int clips = 0;
};
// The families of `sources` (stored names, one a clip), each once in the order first met, with
// how many of the clips each has; empty for no clips.
std::vector<FamilyCount> CountFamilies(std::span<const std::string> sources);

// The sources beside `clipPath` whose file is there now, as a text for the index row ("nmea", or
// names joined by ","; empty when there is none). A row whose text differs from the clip's now
// may be stale (BesideFilesChanged).
std::string BesideFilesText(const std::string& clipPath);
// True when the files beside a clip changed (`then` from the row, `now` from BesideFilesText)
// in a way that may change what it is read from: a source that came or went is tried before the
// one the row was read from (`readFrom`, empty when it had none).
bool BesideFilesChanged(std::string_view then, std::string_view now, std::string_view readFrom);

// Names of the built-in sources, for the readers and their registrations.
inline constexpr std::string_view kSubtitleSource = "subtitle";
inline constexpr std::string_view kFreeGpsSource = "novatek";
inline constexpr std::string_view kGoProSource = "gopro";
inline constexpr std::string_view kSigmaStarSource = "sigmastar";
inline constexpr std::string_view kVueroidSource = "vueroid";
inline constexpr std::string_view kThinkwareSource = "thinkware";
inline constexpr std::string_view kLigoGpsSource = "ligogps";
inline constexpr std::string_view kNmeaSource = "nmea";
inline constexpr std::string_view kGpxSource = "gpx";

}  // namespace korvane
