// The notice a finished save of a stretch puts up in the window: where the file went, that the
// cancel left nothing, or why it failed, in the interface language.
#pragma once
#include <string>

#include "export/save_job.h"
#include "settings/application_context.h"

namespace korvane {

// The language-file key of a failure's reason; nullptr for SaveFailure::None and for
// SaveFailure::NotWritten, whose reason is the write's own (WriteFailureText).
const char* SaveFailureKey(SaveFailure failure);

// "Saving failed: a clip of the stretch cannot be read: 20260518_083700_NR.mp4", or for a save
// kept without its stamped copy "Stretch saved to: … incident.mp4; the stamped copy could not be
// made: the disk is full". A key missing
// from the language file falls back to English.
std::string SaveOutcomeText(const ApplicationContext& context, const SaveResult& result);

}  // namespace korvane
