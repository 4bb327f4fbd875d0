// The driving events of one clip as the program shows them: those the indexer stored when it used
// the program's rules, else found again from the clip's full-rate points in the index.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "index/index_reader.h"
#include "telemetry/drive_event.h"

namespace korvane {

// The clip's events by `rules`, in time order. An indexed clip without events or without G
// values (a GPS log's track), or a clip the index holds as without telemetry or failed: an empty
// list. nullopt while the index does not
// hold the clip (not indexed yet, or no readable index): ask again later.
std::optional<std::vector<DriveEvent>> LoadClipEvents(CIndexReader& reader,
                                                      const std::string& clipPath,
                                                      const EventRules& rules);

}  // namespace korvane
