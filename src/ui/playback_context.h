// PlaybackContext: the main window's record of what plays: duration and position of the open
// file, the player controller, the live telemetry parser, the track store and the navigation
// track. One per process,
// created by the main window's start-up and kept until the process ends. The extraction pipeline
// that fills the store is owned by CPlayerFrameWnd.
#pragma once
#include "media/mplayer.h"
#include "telemetry/navigation_track.h"
#include "telemetry/telemetry_parser.h"
#include "telemetry/track_store.h"

namespace korvane {

struct PlaybackContext {
  int duration = 0;  // whole seconds of the open file; 0 when none
  int position = 0;  // whole seconds of the last time position; 0 when none
  CTelemetryParser liveParser;
  CMplayer player;
  CTrackStore trackStore;
  CNavigationTrack navigationTrack;
};

}  // namespace korvane
