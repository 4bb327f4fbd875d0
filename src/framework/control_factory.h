// The table from skin tag names to the framework's own controls (control_factory.cpp). Own
// controls of other parts of the program are added there with one line each.
#pragma once
#include <string_view>

#include "framework/ui_control.h"

namespace DuiLib {

// A new control for the tag (exact case), or null when the table has no such tag.
CControlUI* CreateBuiltinControl(std::string_view tag);

}  // namespace DuiLib
