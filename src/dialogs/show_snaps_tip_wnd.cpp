#include "dialogs/show_snaps_tip_wnd.h"

#include "dialogs/dialog_support.h"
#include "settings/localization.h"

namespace korvane {

using namespace DuiLib;

void CDuiShowSnapsTipWnd::InitWindow() {
  if (!title.empty()) {
    if (CControlUI* icon = m_PaintManager.FindControl("PathTitleIcon"))
      icon->SetBkImage("export.svg");
  }
  SetControlText(m_PaintManager, "PathTitleLabel",
                 !title.empty()
                     ? title
                     : ReadLanguageText(context_, kSnapshotInterfaceSection, "IDS_SAVEPATH"));
  if (CControlUI* edit = SetControlText(m_PaintManager, "PathContentEdit", savedPath)) {
    edit->SetToolTip(savedPath);
  }
  SetControlText(m_PaintManager, "ShowPathOKButton",
                 ReadLanguageText(context_, kMainInterfaceSection, "IDS_OK"));
}

void CDuiShowSnapsTipWnd::OnClick(TNotifyUI& msg) {
  if (msg.pSender != nullptr && msg.pSender->GetName() == "ShowPathOKButton") Close(1);
  CXMLWnd::OnClick(msg);
}

}  // namespace korvane
