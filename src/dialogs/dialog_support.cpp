#include "dialogs/dialog_support.h"

#include "settings/settings_store.h"

namespace korvane {

DuiLib::CControlUI* SetControlText(const DuiLib::CPaintManagerUI& manager, std::string_view name,
                                   std::string_view text) {
  DuiLib::CControlUI* control = manager.FindControl(name);
  if (control != nullptr) control->SetText(text);
  return control;
}

void SwitchOffTip(ApplicationContext& context, std::string_view key, bool& field) {
  field = false;
  WriteSettingInt(context, kSettingsSection, key, 0);
}

}  // namespace korvane
