#include "map/format_system_error.h"

#include "framework/web_browser_ui.h"

namespace korvane {

std::string FormatSystemError(std::int32_t code) {
  struct Entry {
    std::int32_t code;
    const char* text;
  };
  static const Entry kTexts[] = {
      {DuiLib::kScriptOk, "The operation completed successfully.\n"},
      {DuiLib::kScriptUnknownName, "Unknown name.\n"},
      {DuiLib::kScriptException, "Exception occurred.\n"},
      {DuiLib::kScriptNotLoaded,
       "The data necessary to complete this operation is not yet available.\n"},
      {DuiLib::kScriptAborted, "Operation aborted\n"},
      {DuiLib::kScriptInvalidArg, "The parameter is incorrect.\n"},
      {DuiLib::kScriptOutOfMemory,
       "Not enough memory resources are available to complete this operation.\n"},
  };
  for (const Entry& entry : kTexts) {
    if (entry.code == code) return entry.text;
  }
  return "FormatMessage Netive Error";
}

}  // namespace korvane
