// Small pieces the settings and tip windows share: putting a text on a named control, and turning
// a tip off for the rest of the run and in the settings file.
#pragma once
#include <string_view>

#include "framework/paint_manager.h"
#include "framework/ui_control.h"
#include "settings/application_context.h"

namespace korvane {

// Sets the text of the control named `name`; returns it, or null (nothing set) when absent.
DuiLib::CControlUI* SetControlText(const DuiLib::CPaintManagerUI& manager, std::string_view name,
                                   std::string_view text);

// Clears `field` and writes `key` = 0. The field is cleared even when the write fails, so the tip
// stays off for this run.
void SwitchOffTip(ApplicationContext& context, std::string_view key, bool& field);

}  // namespace korvane
